// The power at given sizes: the input checked, then the planning engine's
// exact integral on the log scale.

#include "be_checks.h"
#include "be_plan.h"

namespace tarnwick::be {

double power(const BeStudy& study, const std::vector<long>& sequenceSizes) {
    checkStudy(study);
    checkSequenceSizes(study.design, sequenceSizes);
    return plan::exactPower(powerInputs(study, sequenceSizes));
}

double power(const BeStudy& study, long totalSize) {
    if (totalSize < 1) {
        throw plan::PlanError(error::size, "A study needs at least one subject per sequence.");
    }
    if (totalSize > maxTotal) {
        throw plan::PlanError(error::sizeAboveMaximum,
                              "A study must not have more than 10,000,000 subjects.");
    }
    return power(study, evenSplit(study.design, totalSize));
}

}  // namespace tarnwick::be
