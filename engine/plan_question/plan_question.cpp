#include "plan_question.h"

#include "bound_units.h"

namespace tarnwick::planner {

void settleBoundUnits(Request& request) {
    request.typedLower = request.study.lower;
    request.typedUpper = request.study.upper;
    if (request.question != Question::bound)
        request.study = plan::inRawUnits(request.study, request.units);
}

}  // namespace tarnwick::planner
