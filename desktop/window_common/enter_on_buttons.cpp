#include "enter_on_buttons.h"

#include <QKeyEvent>
#include <QPushButton>

namespace tarnwick {

namespace {

bool isEnter(const QKeyEvent& key) {
    const bool enterKey = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
    return enterKey && (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

class EnterPressesButton final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* button = qobject_cast<QPushButton*>(watched);
        if (button == nullptr || event->type() != QEvent::KeyPress) {
            return false;
        }
        const auto& key = *static_cast<QKeyEvent*>(event);
        if (!isEnter(key)) {
            return false;
        }
        // A held key presses once, as a held Space does.
        if (!key.isAutoRepeat()) {
            button->animateClick();
        }
        return true;
    }
};

}  // namespace

void letEnterPressFocusedButtons(QWidget& window) {
    auto* filter = new EnterPressesButton(&window);
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        button->installEventFilter(filter);
    }
}

}  // namespace tarnwick
