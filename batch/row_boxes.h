#pragma once
// The window's boxes for one row: the same start state and the same five
// operations as BoxTable (colours aside), kept in fixed slots found by a small hash table
// instead of a map of strings, because a row is pressed in a fresh window
// and the map's building and look-ups were a fifth of the time of a row.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "box_access.h"
#include "box_names.h"

namespace tarnwick::batch {

inline constexpr std::size_t boxCount = names::inputBoxes.size() + names::resultBoxes.size();

class RowBoxes final : public BoxAccess {
public:
    // Starts as the window does: every box empty, Independent and Student's t.

    std::string text(std::string_view box) const override { return texts_[slot(box)]; }
    void setText(std::string_view box, std::string_view text) override { texts_[slot(box)] = text; }
    // The table has no colours: the name is checked, the colour not kept.
    void setTextColour(std::string_view box, Colour) override { slot(box); }
    bool isSelected(std::string_view option) const override;
    void showMessage(std::string_view prompt, MessageIcon icon, std::string_view title) override;

    // Selects an option and clears its partner, as a click in its frame does.
    void select(std::string_view option);
    // The text of a box, to be taken away once the run is over.
    std::string& textOf(std::string_view box) { return texts_[slot(box)]; }
    const std::vector<std::string>& messages() const { return messages_; }

private:
    // Throws std::invalid_argument for a name that is not a box, as BoxTable does.
    static std::size_t slot(std::string_view box);

    std::array<std::string, boxCount> texts_;
    bool matched_ = false, welch_ = false;
    std::vector<std::string> messages_;
};

}  // namespace tarnwick::batch
