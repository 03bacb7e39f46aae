#pragma once
// The checks every bioequivalence planning question makes of its input, each
// failing with one numbered sentence (plan::PlanError), and the study as the
// planning engine's power integral takes it.

#include <vector>

#include "be_plan.h"
#include "power_integral.h"

namespace tarnwick::be {

// alpha, the bounds (a one-sided question's margin), the CV and the true ratio.
void checkStudy(const BeStudy& study);

// One size per sequence, none empty, at most maxTotal in all, and at least
// one residual degree of freedom.
void checkSequenceSizes(BeDesign design, const std::vector<long>& sequenceSizes);

// The bounds, the true value, the SD and a one-sided question's margin (0
// for the two-sided ones) on the scale the test is taken on: the logs, or
// the raw scale in units of the reference mean.
struct TestScale {
    double lower, upper, difference, sd, margin;
};
TestScale onTestScale(const BeStudy& study);

// The study as the power integral takes it, with the given (checked)
// sequence sizes.
plan::PowerInputs powerInputs(const BeStudy& study, const std::vector<long>& sequenceSizes);

}  // namespace tarnwick::be
