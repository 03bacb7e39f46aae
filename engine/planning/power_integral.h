#pragma once
// The exact power of the two one-sided tests for one design, from the
// quantities the design fixes: the core that power, size and bound searches
// call.

#include "test_settings.h"

namespace tarnwick::plan {

// What the power depends on once the design and sizes are known: the
// difference of the means is normal with SD sd * sqrt(designConstant) and
// the pooled (or difference-score) SD has df degrees of freedom.
struct PowerInputs {
    double alpha = 0.05;
    double lower = -0.5, upper = 0.5;
    double difference = 0;
    double sd = 1;
    double designConstant = 1;  // 1/n1 + 1/n2, or 1/n for n pairs
    double df = 1;              // n1 + n2 - 2, or n - 1
    settings::Hypothesis hypothesis = settings::Hypothesis::equivalence;
    // A one-sided question: the margin (lower and upper are not used) and
    // the side of it the alternative lies on.
    double margin = 0;
    settings::Side side = settings::Side::above;
};

// The upper alpha point of Student's t with df degrees of freedom.
double criticalT(double alpha, double df);

// The power of the one test at the margin, P(T' > t) for the noncentral t
// T' with df and noncentrality (difference - margin) / SE (mirrored for the
// alternative below the margin), from the house noncentral t cdf.
double oneSidedPower(const PowerInputs& inputs, double criticalValue);

// The power of the study's hypothesis for the given critical value (criticalT(alpha, df)); callers
// that vary only the bounds pass the same critical value each time.
double exactPower(const PowerInputs& inputs, double criticalValue);

double exactPower(const PowerInputs& inputs);

}  // namespace tarnwick::plan
