#pragma once
// The words every window uses to say which of the calculator's numbers it
// took or wrote, so that a number the calculator's boxes let go wrong (30
// typed over a selection the box kept, read as 333010) is heard and seen
// before it is used: the planning window and the data window say them alike.
// Standard C++ only.

#include <string>
#include <vector>

namespace tarnwick::calculator_words {

// A box's number as read on screen: a derived SD carries every digit of a
// double, which a box needs and a sentence does not. Text that is not a
// number is quoted as it is.
std::string readableNumber(const std::string& boxText);

// "a", "a and b", "a, b, and c".
std::string listed(const std::vector<std::string>& items);

// "These are the calculator's numbers: a bound of 0.5 and an SD of 1.2.",
// or "The calculator holds no <missing>." when there are none.
std::string heldLine(const std::vector<std::string>& held, const std::string& missing);

}  // namespace tarnwick::calculator_words
