#pragma once
// The confidence interval of a noncentrality from an observed t: what the
// interval of a standardised difference (Cohen's d) is made of.

#include "value.h"

namespace tarnwick {

struct NoncentralityInterval {
    Value low, high;
};

// The noncentrality values at which the observed t is the upper and the lower
// (1 - confidence) / 2 quantile of the noncentral t with df degrees of
// freedom: for confidence .90, the lambda at which t is the .95 quantile and
// the one at which it is the .05 quantile. Either end that cannot be computed
// (df <= 0, a t that is not finite, no convergence) is missing with a reason.
NoncentralityInterval noncentralityInterval(double t, double df, double confidence);

// The work done by noncentralityInterval in this thread so far, for the
// bench: intervals asked for and noncentral t cdf evaluations made.
struct IntervalEffort {
    unsigned long long intervals = 0, evaluations = 0;
};
IntervalEffort intervalEffort();

}  // namespace tarnwick
