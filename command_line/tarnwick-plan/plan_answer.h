#pragma once
// A question answered by the planning engine.

#include "plan.h"
#include "plan_request.h"

namespace tarnwick::planner {

struct Answer {
    plan::Sizes sizes;            // given, or found (n2 = 0 for a matched design)
    double power = 0;             // the power at those sizes and bounds
    double lower = 0, upper = 0;  // the bounds used, or found
};

// Throws plan::PlanError when the engine refuses the question.
Answer answer(const Request& request);

// n1 + n2, or the number of pairs.
long totalSize(const Answer& answer);

}  // namespace tarnwick::planner
