#pragma once
// A one-sided question's decision and its interval's deciding end must say
// the same: the test at the margin is significant exactly when the end on
// the alternative's side lies strictly beyond the margin. Both come from the
// same critical value, yet their roundings can part where the end sits
// within an ulp or two of the margin; the test's decision then wins, and
// the end is moved to the margin or to the next double beyond it.

#include "test_settings.h"

namespace tarnwick::report {

// The end (finite) held to the decision: beyond the margin on `side` (above
// or below it) exactly when `shown`.
double endHeldToDecision(double end, double margin, settings::Side side, bool shown);

}  // namespace tarnwick::report
