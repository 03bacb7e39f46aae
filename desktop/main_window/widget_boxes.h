#pragma once
// The analysis's view of the calculator window: its boxes and option buttons,
// found by their control names, and its message boxes.

#include "box_access.h"
#include "platform.h"

class QLineEdit;
class QWidget;

namespace tarnwick {

class WidgetBoxes final : public BoxAccess {
public:
    WidgetBoxes(QWidget& window, MessagePresenter showMessage);

    std::string text(std::string_view box) const override;
    void setText(std::string_view box, std::string_view text) override;
    void setTextColour(std::string_view box, Colour colour) override;
    bool isSelected(std::string_view option) const override;
    void showMessage(std::string_view prompt, MessageIcon icon, std::string_view title) override;

    // Whether any message box was shown through these boxes.
    bool showedMessage() const { return showedMessage_; }

private:
    // Throws std::out_of_range for a name the window does not have: that is a
    // mistake in the program, not something a user can cause.
    QLineEdit& box(std::string_view name) const;

    QWidget& window_;
    MessagePresenter showMessage_;
    bool showedMessage_ = false;
};

}  // namespace tarnwick
