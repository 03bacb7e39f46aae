#pragma once
// Return and keypad Enter press the command button that has the keyboard
// focus, as Space does. No button becomes the window's default: Enter in a
// box still presses nothing.

class QWidget;

namespace tarnwick {

// For every command button of the window at the time of the call.
void letEnterPressFocusedButtons(QWidget& window);

}  // namespace tarnwick
