#pragma once
// The calculator window's boxes and option buttons, found by their control
// names among the window's own controls (never inside the windows opened
// from it, which have controls of the same names), and its message boxes:
// what the analysis and the data window see of it.

#include "calculator_boxes.h"
#include "platform.h"

class QAbstractButton;
class QLineEdit;
class QWidget;

namespace tarnwick {

class WidgetBoxes final : public CalculatorBoxes {
public:
    WidgetBoxes(QWidget& window, MessagePresenter showMessage);

    std::string text(std::string_view box) const override;
    void setText(std::string_view box, std::string_view text) override;
    void setTextColour(std::string_view box, Colour colour) override;
    bool isSelected(std::string_view option) const override;
    void showMessage(std::string_view prompt, MessageIcon icon, std::string_view title) override;
    void select(std::string_view option) override;
    std::string spokenName(std::string_view box) const override;

    // Whether any message box was shown through these boxes.
    bool showedMessage() const { return showedMessage_; }

private:
    // Throws std::out_of_range for a name the window does not have: that is a
    // mistake in the program, not something a user can cause.
    QLineEdit& box(std::string_view name) const;
    QAbstractButton& option(std::string_view name) const;

    QWidget& window_;
    MessagePresenter showMessage_;
    bool showedMessage_ = false;
};

}  // namespace tarnwick
