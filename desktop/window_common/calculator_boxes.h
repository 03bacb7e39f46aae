#pragma once
// The calculator's boxes as a window opened from it sees them: what the
// analysis reads and writes through BoxAccess, and what only a person at the
// calculator does, selecting a design and hearing a box's name. A window
// that fills the calculator writes through this and never looks for a
// control by its name, since the windows opened from the calculator are its
// children and have controls of the same names.

#include <string>
#include <string_view>

#include "box_access.h"

namespace tarnwick {

class CalculatorBoxes : public BoxAccess {
public:
    // Selects an option as a click on it does, so its own procedure runs;
    // nothing happens for an option that is selected already.
    virtual void select(std::string_view option) = 0;
    // What a screen reader calls the box ("Group 1 Mean"), in UTF-8.
    virtual std::string spokenName(std::string_view box) const = 0;
};

}  // namespace tarnwick
