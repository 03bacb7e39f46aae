#pragma once
// The windows are laid out in Liberation Sans, and the program carries the
// faces it uses (ui/fonts/, SIL Open Font License) instead of looking for
// them among the system's fonts.

namespace tarnwick {

// Makes the carried regular and bold faces the only fonts the application
// sees. Call once, after the QApplication is made and the resources are
// initialised, and before anything measures or draws text. What fails is
// told as a warning; the windows still open, in whatever font Qt finds.
void useCarriedFontOnly();

}  // namespace tarnwick
