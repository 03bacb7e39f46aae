#pragma once
// The checks every question makes of its input, each failing with one
// numbered sentence (PlanError), and the design quantities of a study.

#include "plan.h"
#include "power_integral.h"

namespace tarnwick::plan {

// alpha, the SD and the assumed difference; the bounds (a one-sided
// question's margin) too when withBounds.
void checkStudy(const Study& study, bool withBounds);

// Both sizes at least 2 and at most maxSize (matched: n1 only).
void checkSizes(Design design, Sizes sizes);

// The target strictly between alpha and 1, refused in the words of the
// study's hypothesis.
void checkTargetPower(double targetPower, const Study& study);

// A one-sided question's target strictly between alpha and 1, refused in
// the question's own name; the bioequivalence planner shares it.
void checkOneSidedTarget(double targetPower, double alpha, settings::Hypothesis hypothesis);

// The study at the given (checked) sizes, as the power integral takes it.
PowerInputs powerInputs(const Study& study, Sizes sizes);

}  // namespace tarnwick::plan
