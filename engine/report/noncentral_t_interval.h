#pragma once
// The confidence interval of a standardised difference from the noncentral t
// distribution, and Hedges' small-sample correction.

#include "report.h"

namespace tarnwick::report {

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

// Hedges' exact correction Gamma(df/2) / (sqrt(df/2) Gamma((df-1)/2)); missing
// for df <= 1, where it is not defined.
Value hedgesCorrection(double df);

}  // namespace tarnwick::report
