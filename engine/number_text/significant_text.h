#pragma once
// A double to a number of significant digits, for a table read by people.

#include <string>

namespace tarnwick::number_text {

// Rule: rounded to `digits` significant digits (1 to 17), trailing zeros
// dropped, an exponent below 1e-4 and from 10^digits on (std::to_chars'
// general format, so "." in every locale); a negative zero is written "0".
// With 6: "0.333333", "17.78", "1e-05", "1.23457e+06". Users: the shown
// digits of the scores' columns (score_report's score_columns, 6) and a
// planning program's target power in percent (plan_question, 10).
std::string significantText(double value, int digits);

}  // namespace tarnwick::number_text
