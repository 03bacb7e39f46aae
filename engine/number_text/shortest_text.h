#pragma once
// A double as the shortest text that reads back to the same double.

#include <string>

namespace tarnwick::number_text {

// Rule: the fewest characters that read back to the same double, in fixed
// or exponent form, whichever is shorter (std::to_chars, so "." in every
// locale): "0.1", "1e-05", "1.2e+20", "-0", "-129250378318691536".
// For a script that reads our files and must lose nothing, a box filled from
// data, and a number a message names as it was given. Users: tarnwick-batch,
// tarnwick-plan and tarnwick-scores with --digits full (through their rooms);
// the data room's plainNumberText (before it writes out exponents); the
// settings', the planner's and the scores' checks' refusals naming alpha, a
// bound, a df or a score.
std::string shortestText(double value);

}  // namespace tarnwick::number_text

namespace tarnwick::table_io {
// The name the table programs first knew it by.
using number_text::shortestText;
}  // namespace tarnwick::table_io
