#pragma once
// A planning answer in words and fields, for every front end: the columns
// of a program's table, the program's one sentence, and the window's answer
// line and sentence to paste into a preregistration.
//
// Shown digits (the default) follow the rule every front end shares
// (shown_digits.h): a power cut, never rounded up (0.9029 in a column, 90.2%
// in words), found bounds as the answer wrote them (plan_answer.h). Sizes
// are whole numbers. A program writes given bounds as they were read and
// full digits as the shortest text that reads back to the same double; the
// window writes given bounds as a manuscript does ("0.50").

#include <array>
#include <string>

#include "plan_answer.h"

namespace tarnwick::planner {

// plan_n1, plan_n2 (empty for a matched design), plan_total, plan_power,
// plan_lower, plan_upper: the answer columns but the message.
std::array<std::string, 6> answerFields(const Answer& answer);

// plan_sizes, plan_ci_low, plan_ci_high, plan_p_lower, plan_p_upper,
// plan_conclusion, plan_cv (plan_columns.h): a bioequivalence design's
// answer, all empty for the difference of two means. Shown digits: the
// interval's ends as ratios to four decimals (percent to two, the rule the
// conclusion is taken on), p values and the CV to 4 significant digits.
std::array<std::string, 7> ratioAnswerFields(const Answer& answer);

// p (plan_columns.h): the one-sided test's p value of a one-sided question
// from reported numbers (solve ci), to 4 significant digits with shown
// digits; empty for every other answer.
std::string oneSidedPField(const Answer& answer);

// A program's sentence: "124 per group (248 in all), the fewest reaching 90%
// power, give 90.3% power to show equivalence within ±0.5."
std::string answerSentence(const Answer& answer);

// The window's answer line: "124 per group (248 in all) give 90.3% power".
std::string answerLine(const Answer& answer);

// The plan in one sentence, e.g. "To have 90% power to conclude equivalence
// with bounds of -0.50 and 0.50 (raw units) at α = .05 in two one-sided
// tests, assuming a true difference of 0 and an SD of 1.20, we will recruit
// 124 participants per group (248 in all)."
std::string preregistrationSentence(const Answer& answer);

// A power as a percentage with one decimal, cut (shown_digits.h), so that a
// power just short of a target never reads as reaching it ("89.9%", not
// "90.0%"), nor one short of certainty as 100%.
std::string percent(double power);

// A target power as typed, as a percentage: 0.9 is "90%", 0.925 "92.5%".
std::string targetPercent(double power);

// A count with thousands separated by commas: "85,639".
std::string count(long n);

}  // namespace tarnwick::planner
