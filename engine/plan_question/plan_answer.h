#pragma once
// A planning question answered, in the numbers every front end writes.
//
// The one rule for what is derived: every number beside a found bound is the
// number at that bound as written. With shown digits a found bound is rounded
// outward once, from the root the engine found, to 4 significant digits
// (shown_digits.h), and the power is the power at that written bound, not at
// the root; with full digits the bound is the root itself and the power its
// own. So a reader who plans with the bound as printed gets the power printed.

#include <string>
#include <vector>

#include "be_reported.h"
#include "digits.h"
#include "plan_question.h"

namespace tarnwick::planner {

using tarnwick::Digits;

struct Answer {
    Request request;
    Digits digits = Digits::shown;
    plan::Sizes sizes;  // given, or found (n2 = 0 for a matched design)
    // The raw bounds used: given, or found as written; a one-sided question's
    // margin on its side and the other end infinite.
    double lower = 0, upper = 0;
    double power = 0;  // the power at those sizes and bounds
    // Question::bound: the root the engine found (the bounds are -root and
    // +root) and the positive bound as written, in raw units and, for bounds
    // in SD units, in multiples of the SD (each rounded outward from the root).
    double root = 0;
    std::string foundBound, foundBoundInSd;
    // A bioequivalence design's question: the sizes per sequence (given or
    // found), the interval from reported numbers (Question::interval) and the
    // CV a published interval implies (Question::cv).
    std::vector<long> sequenceSizes;
    be::ReportedInterval interval;
    double cv = 0;
};

// Throws plan::PlanError (RequestError among them) when the question has no
// answer.
Answer answer(const Request& request, Digits digits = Digits::shown);

// n1 + n2, or the number of pairs; for a bioequivalence design, the
// subjects of every sequence.
long totalSize(const Answer& answer);

}  // namespace tarnwick::planner
