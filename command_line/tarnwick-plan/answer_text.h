#pragma once
// An answer as the texts of the table's columns, and as one sentence.
//
// Shown digits (the default) follow the rule every front end shares
// (shown_digits.h): a power cut at the fourth decimal, found bounds rounded
// outward to 4 significant digits. Sizes are whole numbers and given bounds
// are written as they were read. Full digits are the shortest text that
// reads back to the same double.

#include <array>
#include <string>

#include "digits.h"
#include "plan_answer.h"
#include "plan_request.h"

namespace tarnwick::planner {

using tarnwick::Digits;

// plan_n1, plan_n2 (empty for a matched design), plan_total, plan_power,
// plan_lower, plan_upper.
std::array<std::string, 6> answerFields(const Request& request, const Answer& answer,
                                        Digits digits);

// "124 per group (248 in all), the fewest reaching 90% power, give 90.3% power
// to show equivalence within ±0.5."
std::string answerSentence(const Request& request, const Answer& answer, Digits digits);

}  // namespace tarnwick::planner
