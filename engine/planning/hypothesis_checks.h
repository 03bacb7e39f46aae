#pragma once
// What each hypothesis lets a planner ask: where the true difference must lie
// for a size to exist, and which questions it has at all.

#include "plan.h"

namespace tarnwick::plan {

// Equivalence: the difference strictly inside the bounds; minimal effect:
// strictly outside them; a one-sided question: strictly on the
// alternative's side of the margin. Elsewhere the power does not rise with the size,
// so PlanError (error::difference) says where it must lie.
void checkDifferenceForSize(const Study& study);

// The smallest bound is the equivalence test's question; PlanError
// (error::hypothesis) for the minimal-effect test and the one-sided ones.
void checkAsksForBound(const Study& study);

}  // namespace tarnwick::plan
