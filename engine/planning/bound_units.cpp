// The conversion has no small-sample correction: d times the SD the planner
// assumes, which is the population SD the power is computed for, so (unlike
// bounds converted with an observed SD) the error rates stay the nominal ones.

#include "bound_units.h"

#include <cmath>

namespace tarnwick::plan {

Study inRawUnits(Study study, settings::BoundUnits units) {
    if (units == settings::BoundUnits::raw) {
        return study;
    }
    if (!(study.sd > 0 && std::isfinite(study.sd))) {
        throw PlanError(error::sd,
                        "Bounds in SD units need a positive finite SD to convert them with.");
    }
    study.lower *= study.sd;
    study.upper *= study.sd;
    if (std::isinf(study.lower) || std::isinf(study.upper)) {
        throw PlanError(error::bounds, "The bounds in SD units times the SD overflow.");
    }
    return study;
}

}  // namespace tarnwick::plan
