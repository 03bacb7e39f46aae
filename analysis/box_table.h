#pragma once
// An in-memory stand-in for the window: every box's text and text colour, the
// four option buttons, and a record of the message boxes shown. Starts in the
// window's start state. Used by the tests, the box driver and the fuzzers.

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "box_access.h"

namespace tarnwick {

struct ShownMessage {
    std::string prompt;
    MessageIcon icon;
    std::string title;
    bool operator==(const ShownMessage&) const = default;
};

struct BoxState {
    std::string text;
    Colour colour;
    bool operator==(const BoxState&) const = default;
};

class BoxTable final : public BoxAccess {
public:
    BoxTable();

    std::string text(std::string_view box) const override;
    void setText(std::string_view box, std::string_view text) override;
    void setTextColour(std::string_view box, Colour colour) override;
    bool isSelected(std::string_view option) const override;
    void showMessage(std::string_view prompt, MessageIcon icon, std::string_view title) override;

    Colour colour(std::string_view box) const;
    // Selects an option and clears its partner, as a click in its frame does
    // (without running any click procedure).
    void select(std::string_view option);
    static bool isBox(std::string_view name);
    static bool isOption(std::string_view name);

    const std::vector<ShownMessage>& messages() const { return messages_; }
    void clearMessages() { messages_.clear(); }
    const std::map<std::string, BoxState, std::less<>>& boxes() const { return boxes_; }

private:
    BoxState& at(std::string_view box);
    const BoxState& at(std::string_view box) const;

    std::map<std::string, BoxState, std::less<>> boxes_;
    std::map<std::string, bool, std::less<>> options_;
    std::vector<ShownMessage> messages_;
};

}  // namespace tarnwick
