#pragma once
// The planning window's question put to the planning engine, and its answer
// in the words the window shows: one line, and a sentence to paste into a
// preregistration. Standard C++ only.

#include <string>

#include "plan.h"
#include "plan_request.h"

namespace tarnwick::planner {

struct PlanAnswer {
    PlanRequest request;
    plan::Sizes sizes;  // given, or found
    double lower = 0;   // the bounds: given, or found (a found bound is rounded
    double upper = 0;   // outward to the 4 significant digits it is written with)
    double power = 0;   // at those sizes and bounds
};

// Throws plan::PlanError when the engine refuses the question.
PlanAnswer answer(const PlanRequest& request);

// "124 per group (248 in all) give 90.3% power".
std::string answerLine(const PlanAnswer& answer);

// The plan in one sentence, e.g. "To have 90% power to conclude equivalence
// with bounds of -0.50 and 0.50 (raw units) at α = .05 in two one-sided
// tests, assuming a true difference of 0 and an SD of 1.20, we will recruit
// 124 participants per group (248 in all)."
std::string preregistrationSentence(const PlanAnswer& answer);

// A power as a percentage with one decimal, cut (shown_digits.h), so that a
// power just short of a target never reads as reaching it ("89.9%", not
// "90.0%"), nor one short of certainty as 100%.
std::string percent(double power);

// A target power as a percentage, as typed: "90%", "85.5%".
std::string targetPercent(double power);

// A count with thousands separated by commas: "85,639".
std::string count(long n);

}  // namespace tarnwick::planner
