#pragma once
// The two-tailed probability of Student's t, the workhorse behind
// TDistribution. No argument checking: callers pass t >= 0 and df > 0.

#include <limits>

#include "double_double.h"

namespace tarnwick::numeric {

inline constexpr double sqrtPi = 1.772453850905516027298167;
inline constexpr double twoOverSqrtPi = 1.128379167095512573896159;
// Above this many degrees of freedom Student's t is taken as the normal
// distribution (see twoSidedTail).
inline constexpr double normalLimitDf = 1e30;

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
// both series below, for 1e-290 <= df <= 1e30.
DoubleDouble logSeriesScale(double df);

// A probability held by its logarithm, for the critical value. There a
// relative error e in the probability Q moves t by e Q / (2 t f(t)), which
// grows like 1 / df in the heavy tail, so a Q rounded to a double is not
// enough: the two series below carry every part in double-double, with an
// absolute error in the logarithm near 1e-19 (plus 1e-19 a log1p(t^2 / df)).
struct LogProbability {
    DoubleDouble value{std::numeric_limits<double>::quiet_NaN(), 0.0};  // NaN: not applicable
    double logSlope = 0.0;  // 2 t f(t) / Q: |d log Q / d log t|
};

// log P(|T| >= t) by the power series in x = df / (df + t^2), where x <= 1/2
// (1e-17 <= t, 1e-290 <= df <= 1e30); logScale is logSeriesScale(df).
LogProbability logTwoSidedTailBySeries(double t, double df, DoubleDouble logScale);

// log P(|T| < t) by the series in y = t^2 / (df + t^2), where y <= 1/2 and
// df y <= 200, so that the terms, rising while n < df y / 2, stay few
// (1e-17 <= t, 1e-290 <= df <= 1e30). Near t = 0 it keeps the digits that
// 1 - P(|T| >= t) loses. For df up to 400 the two series cover every t.
LogProbability logCentralProbabilityBySeries(double t, double df, DoubleDouble logScale);

}  // namespace tarnwick::numeric
