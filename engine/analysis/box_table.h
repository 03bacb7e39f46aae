#pragma once
// An in-memory stand-in for the window: every box's text and text colour, the
// four option buttons, and a record of the message boxes shown. Starts in the
// window's start state. Used by the batch program (a fresh table for every
// row), the tests, the box driver and the fuzzers. Boxes sit in fixed slots
// found by a small hash table built at compile time, since a map of strings
// built for every row was a fifth of a batch row's time.

#include <array>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "box_access.h"
#include "box_names.h"

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

inline constexpr std::size_t boxCount = names::inputBoxes.size() + names::resultBoxes.size();

class BoxTable final : public BoxAccess {
public:
    BoxTable();
    // Back to the start state, keeping the texts' storage for the next run.
    void reset();

    // Each throws std::invalid_argument for a name that is not a box or an option.
    std::string text(std::string_view box) const override { return slots_[slot(box)].text; }
    void setText(std::string_view box, std::string_view text) override {
        slots_[slot(box)].text = text;
    }
    void setTextColour(std::string_view box, Colour colour) override {
        slots_[slot(box)].colour = colour;
    }
    bool isSelected(std::string_view option) const override;
    void showMessage(std::string_view prompt, MessageIcon icon, std::string_view title) override;

    Colour colour(std::string_view box) const { return slots_[slot(box)].colour; }
    // The text of a box, to be taken away (moved or swapped) once a run is over.
    std::string& textOf(std::string_view box) { return slots_[slot(box)].text; }
    // Selects an option and clears its partner, as a click in its frame does
    // (without running any click procedure).
    void select(std::string_view option);
    static bool isBox(std::string_view name);
    static bool isOption(std::string_view name);

    const std::vector<ShownMessage>& messages() const { return messages_; }
    void clearMessages() { messages_.clear(); }
    // Every box by name, built when asked, to compare whole tables.
    std::map<std::string, BoxState, std::less<>> boxes() const;

private:
    static std::size_t slot(std::string_view box);

    std::array<BoxState, boxCount> slots_;  // names::inputBoxes, then names::resultBoxes
    bool matched_ = false, welch_ = false;
    std::vector<ShownMessage> messages_;
};

}  // namespace tarnwick
