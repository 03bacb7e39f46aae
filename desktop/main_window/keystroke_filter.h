#pragma once
// Routes every typed character of the input boxes through the box's own
// key-press procedure before the box sees it, and tells a box when the user
// enters it. A procedure discards a keystroke by setting its code to 0.

#include <QHash>
#include <QObject>
#include <cstdint>
#include <functional>
#include <optional>

class QKeyEvent;
class QLineEdit;

namespace tarnwick {

// The character code a key press types, as a 16-bit code: control keys give
// their control codes (Ctrl+V is 22, Enter 13), Backspace 8. Keys that type no
// character (arrows, Home, End, Delete, Tab, F-keys, a lone Shift) give none.
std::optional<std::int16_t> typedCharacter(const QKeyEvent& key);

// The keyboard's clipboard, undo and select-all shortcuts. Qt handles them
// before any character is typed, so they have to be stopped on their own.
bool isEditingShortcut(const QKeyEvent& key);

class KeystrokeFilter final : public QObject {
public:
    using KeyPress = std::function<void(std::int16_t& KeyAscii)>;
    using GotFocus = std::function<void()>;

    explicit KeystrokeFilter(QObject* parent) : QObject(parent) {}

    // gotFocus may be empty: not every input box reacts to being entered.
    void watch(QLineEdit& box, KeyPress keyPress, GotFocus gotFocus = {});

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Procedures {
        KeyPress keyPress;
        GotFocus gotFocus;
    };
    QHash<QObject*, Procedures> boxes_;
};

}  // namespace tarnwick
