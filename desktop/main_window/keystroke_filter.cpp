#include "keystroke_filter.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>

namespace tarnwick {

std::optional<std::int16_t> typedCharacter(const QKeyEvent& key) {
    switch (key.key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Delete:
            // These move the focus or edit; they type nothing, whatever text
            // the platform attaches to them.
            return std::nullopt;
        default:
            break;
    }
    const Qt::KeyboardModifiers modifiers = key.modifiers();
    const bool control = (modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier);
    if (control && key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z) {
        // Ctrl+letter types control character 1 to 26. Platforms report it
        // as the letter or as the control character, so work it out here.
        return static_cast<std::int16_t>(key.key() - Qt::Key_A + 1);
    }
    const QString text = key.text();
    if (text.isEmpty()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(text.front().unicode());
}

bool isEditingShortcut(const QKeyEvent& key) {
    static const QKeySequence::StandardKey blocked[] = {
        QKeySequence::Copy, QKeySequence::Paste, QKeySequence::Cut,
        QKeySequence::Undo, QKeySequence::Redo,  QKeySequence::SelectAll,
    };
    for (const QKeySequence::StandardKey standard : blocked) {
        if (key.matches(standard)) {
            return true;
        }
    }
    return false;
}

void KeystrokeFilter::watch(QLineEdit& box, KeyPress keyPress, GotFocus gotFocus) {
    // An input method could commit text without a key press ever reaching the
    // filter; the boxes only take digits, a point and a minus sign anyway.
    box.setAttribute(Qt::WA_InputMethodEnabled, false);
    boxes_.insert(&box, Procedures{std::move(keyPress), std::move(gotFocus)});
    box.installEventFilter(this);
}

bool KeystrokeFilter::eventFilter(QObject* watched, QEvent* event) {
    const auto found = boxes_.constFind(watched);
    if (found == boxes_.constEnd()) {
        return false;
    }
    switch (event->type()) {
        case QEvent::ShortcutOverride: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (isEditingShortcut(*key)) {
                // Claim the keystroke so that it arrives as a key press,
                // where it is dropped, and is never run as a shortcut.
                key->accept();
                return true;
            }
            return false;
        }
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (isEditingShortcut(*key)) {
                return true;
            }
            const std::optional<std::int16_t> typed = typedCharacter(*key);
            if (!typed) {
                return false;
            }
            if (key->text().size() > 1) {
                // Several characters in one press (a compose sequence) cannot
                // be judged one by one against the box's text, so none pass.
                return true;
            }
            std::int16_t KeyAscii = *typed;
            found->keyPress(KeyAscii);
            return KeyAscii == 0;
        }
        case QEvent::FocusIn: {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            // Coming back from another window or from the box's own context
            // menu is not entering the box: the user's selection stays.
            if (found->gotFocus && reason != Qt::ActiveWindowFocusReason &&
                reason != Qt::PopupFocusReason) {
                found->gotFocus();
            }
            return false;
        }
        default:
            return false;
    }
}

}  // namespace tarnwick
