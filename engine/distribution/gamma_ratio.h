#pragma once
// The ratio Gamma(a + 1/2) / Gamma(a), which normalises every t probability:
// 1 / B(a, 1/2) = Gamma(a + 1/2) / (Gamma(a) sqrt(pi)).

#include "double_double.h"

namespace tarnwick::numeric {

// Below this the ratio is reached through the recurrence from a + n >= this.
inline constexpr double gammaRatioAsymptoticFrom = 10.0;

// log(Gamma(a + 1/2) / (Gamma(a) sqrt(a))), about -1/(8a), for
// a >= gammaRatioAsymptoticFrom, to within an ulp or so of itself. Taking the
// difference of two lgamma values instead would cancel about log10(a) digits.
double logGammaHalfRatioCorrection(double a);

// Gamma(a + 1/2) / Gamma(a) for a > 0 (a not subnormal), relative error
// below 1e-17.
DoubleDouble gammaHalfRatio(double a);

}  // namespace tarnwick::numeric
