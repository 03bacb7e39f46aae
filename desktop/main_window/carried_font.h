#pragma once
// The windows are laid out in Liberation Sans, and the program carries the
// faces it uses (desktop/main_window/fonts/, SIL Open Font License) instead of looking for
// them among the system's fonts.

namespace tarnwick {

// Adds the carried regular and bold faces to the fonts the application sees.
// The system's fonts stay available, for the characters Liberation Sans lacks
// (a file name in another script in a file dialog). Call once, after the
// QApplication is made and the resources are initialised, and before
// anything measures or draws text. What fails is told as a warning; the
// windows still open, in whatever font Qt finds.
void addCarriedFont();

// Reads the system's font configuration and font caches, 10 to 15 ms of
// every start that Qt would otherwise spend at the first text it measures.
// Safe to run on a second thread while the QApplication is made; join that
// thread before addCarriedFont.
void loadSystemFontConfiguration();

}  // namespace tarnwick
