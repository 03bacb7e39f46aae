#pragma once
// How every front end writes a planning answer's numbers, so that the
// programs and the windows say the same and never claim more than is true.
//
// A power is cut, not rounded (0.90299 shows as 0.9029, or as 90.2%), so that
// a power just short of a target never reads as reaching it. The power of
// the two one-sided tests is below 1 for every finite study (the t statistic
// has no bound), so a computed power that is within rounding of 1, and so a
// double equal to 1, still shows as the largest cut below 1 (0.9999, 99.9%).
//
// A found bound is rounded outward to 4 significant digits, so that the shown
// bound, being no narrower than the one found, still reaches the target
// power: 1.98149 shows as 1.982. Digits are exact: the rounding is of the
// double's own decimal value, not of a product rounded again.

#include <string>

namespace tarnwick::plan {

// The power (0 <= power <= 1) as a proportion cut at `decimals` decimals
// (1 to 15): powerCut(0.90299, 4) is "0.9029".
std::string powerCut(double power, int decimals);

// The power as a percentage cut at `decimals` decimals, without the sign:
// percentCut(0.90299, 1) is "90.2".
std::string percentCut(double power, int decimals);

// A found bound (bound > 0, finite) rounded outward to 4 significant digits:
// "0.6524", "10.00", "12350". Bounds whose last digit would lie beyond 22
// decimals or above 10^15 are no planning question: their shortest text.
std::string boundRoundedOutward(double bound);

// The double that boundRoundedOutward's text reads as: never below `bound`.
double boundRoundedOutwardValue(double bound);

}  // namespace tarnwick::plan
