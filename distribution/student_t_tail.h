#pragma once
// The two-tailed probability of Student's t, the workhorse behind
// TDistribution. No argument checking: callers pass t >= 0 and df > 0.

#include "double_double.h"

namespace tarnwick::numeric {

struct StudentTail {
    // P(|T| >= t).
    double probability = 0.0;
    // 2 t f(t), f the density: minus the derivative of probability with
    // respect to log t, which the critical value's Halley steps need.
    double logSlope = 0.0;
};

// t >= 0 (infinity allowed), df > 0 (infinity allowed: the normal limit, as
// is every df above 1e30, where the t tail differs from the normal one by less
// than 1e-24 wherever the probability is at least 1e-300).
StudentTail twoSidedTail(double t, double df);

// log(Gamma(df/2 + 1/2) / (Gamma(df/2 + 1) sqrt(pi))), the constant factor of
// the heavy-tail series below, for 1e-290 <= df <= 1e30.
DoubleDouble logHeavyTailScale(double df);

struct HeavyTail {
    DoubleDouble logProbability;  // log P(|T| >= t)
    double logSlope = 0.0;        // 2 t f(t) / P, minus d log P / d log t
};

// log P(|T| >= t) to about 1e-17 absolute where the tail is heavy, that is
// where df / (df + t^2) <= 0.2 (and 1e-290 <= df <= 1e30); a NaN
// logProbability elsewhere. logScale is logHeavyTailScale(df), worked out
// once by the caller. For small df a critical value magnifies errors in P by
// 1 / df, which a rounded P cannot afford.
HeavyTail logTwoSidedTailInHeavyTail(double t, double df, DoubleDouble logScale);

// P(|T| < t) = 1 - twoSidedTail(t, df).probability, but with its own relative
// accuracy, where t^2 / (df + t^2) <= 1/2 and the series is short; NaN
// elsewhere. Near t = 0 the complement loses the digits that a critical
// value for an upper-tail probability just below 1/2 needs.
double centralProbability(double t, double df);

}  // namespace tarnwick::numeric
