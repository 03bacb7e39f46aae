// The power at given sizes: the input checked, then the exact integral.

#include "plan.h"
#include "power_integral.h"
#include "study_checks.h"

namespace tarnwick::plan {

double power(const Study& study, Sizes sizes) {
    checkStudy(study, true);
    checkSizes(study.design, sizes);
    return exactPower(powerInputs(study, sizes));
}

}  // namespace tarnwick::plan
