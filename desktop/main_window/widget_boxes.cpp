#include "widget_boxes.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <stdexcept>
#include <string>
#include <utility>

#include "colour_meaning.h"
#include "look.h"

namespace tarnwick {

namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The control of that name and type that belongs to the window itself.
template <typename Control>
Control* ownControl(QWidget& window, std::string_view name) {
    for (Control* control : window.findChildren<Control*>(fromUtf8(name))) {
        if (control->window() == &window) return control;
    }
    return nullptr;
}

}  // namespace

WidgetBoxes::WidgetBoxes(QWidget& window, MessagePresenter showMessage)
    : window_(window), showMessage_(std::move(showMessage)) {}

QLineEdit& WidgetBoxes::box(std::string_view name) const {
    auto* found = ownControl<QLineEdit>(window_, name);
    if (found == nullptr) {
        throw std::out_of_range("the window has no box named " + std::string(name));
    }
    return *found;
}

std::string WidgetBoxes::text(std::string_view name) const {
    return box(name).text().toStdString();
}

void WidgetBoxes::setText(std::string_view name, std::string_view text) {
    QLineEdit& target = box(name);
    target.setText(fromUtf8(text));
    // Show a new value from its first character, as a freshly filled box does.
    target.setCursorPosition(0);
}

void WidgetBoxes::setTextColour(std::string_view name, Colour colour) {
    QLineEdit& target = box(name);
    setColour(target, QPalette::Text, colour);
    // The colour is the analysis's judgement of the value just shown; say it
    // in words too.
    target.setAccessibleDescription(colourMeaning(name, colour));
}

QAbstractButton& WidgetBoxes::option(std::string_view name) const {
    auto* found = ownControl<QAbstractButton>(window_, name);
    if (found == nullptr) {
        throw std::out_of_range("the window has no option named " + std::string(name));
    }
    return *found;
}

bool WidgetBoxes::isSelected(std::string_view name) const { return option(name).isChecked(); }

void WidgetBoxes::select(std::string_view name) {
    QAbstractButton& button = option(name);
    if (!button.isChecked()) button.click();
}

std::string WidgetBoxes::spokenName(std::string_view name) const {
    return box(name).accessibleName().toStdString();
}

void WidgetBoxes::showMessage(std::string_view prompt, MessageIcon icon, std::string_view title) {
    showedMessage_ = true;
    showMessage_(&window_, fromUtf8(prompt), icon, fromUtf8(title));
}

}  // namespace tarnwick
