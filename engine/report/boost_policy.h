#pragma once
// The report's Boost.Math calls use the engine's one policy: errors as errno
// and a NaN, everything in double.

#include "boost_math_policy.h"

namespace tarnwick::report {

using Policy = BoostMathPolicy;

}  // namespace tarnwick::report
