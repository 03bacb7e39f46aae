#pragma once
// An answer as the texts of the table's columns, and as one sentence.
//
// Shown digits (the default) never claim more than is true: a power is cut,
// not rounded, at the fourth decimal (0.90299 shows as 0.9029), and found
// bounds are rounded outward to 4 significant digits, so that the shown
// bounds, being no narrower, still reach the target. Sizes are whole numbers
// and given bounds are written as they were read. Full digits are the
// shortest text that reads back to the same double.

#include <array>
#include <string>

#include "plan_answer.h"
#include "plan_request.h"

namespace tarnwick::planner {

enum class Digits { shown, full };

// plan_n1, plan_n2 (empty for a matched design), plan_total, plan_power,
// plan_lower, plan_upper.
std::array<std::string, 6> answerFields(const Request& request, const Answer& answer,
                                        Digits digits);

// "124 per group (248 in all), the fewest reaching 90% power, give 90.3% power
// to show equivalence within ±0.5."
std::string answerSentence(const Request& request, const Answer& answer, Digits digits);

// The shown texts, for the tests.
std::string powerCutAtFourDecimals(double power);
std::string boundRoundedOutward(double bound);  // bound > 0

}  // namespace tarnwick::planner
