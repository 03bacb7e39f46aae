#pragma once
// A double with a fixed number of decimals.

#include <string>

namespace tarnwick::number_text {

// Rule: exactly `decimals` decimals (0 to 80), correctly rounded from the
// double's exact value, never an exponent (std::to_chars, so "." in every
// locale): with 2, "17.78", "-0.00", "1000000.00". Users: the scores' method
// notes ("df 17.78") and the scores report's figures written to a set number
// of decimals. A manuscript's numbers have their own rule (report::apa).
std::string fixedText(double value, int decimals);

}  // namespace tarnwick::number_text
