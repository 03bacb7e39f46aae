#pragma once
// Hedges' small-sample correction of a standardised difference.

#include "value.h"

namespace tarnwick::report {

// Hedges' exact correction Gamma(df/2) / (sqrt(df/2) Gamma((df-1)/2)); missing
// for df <= 1, where it is not defined.
Value hedgesCorrection(double df);

}  // namespace tarnwick::report
