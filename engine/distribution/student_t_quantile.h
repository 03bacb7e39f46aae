#pragma once
// The inverse of Student's t two-tailed probability, behind
// TDistribution::CriticalValue. No argument checking: callers pass
// 0 < target < 1 and df > 0.

namespace tarnwick::numeric {

// The t > 0 with P(|T| >= t) = target; HUGE_VAL when it lies beyond the
// double range (tiny df with a small target).
double twoSidedQuantile(double target, double df);

}  // namespace tarnwick::numeric
