#pragma once
// Student's t distribution: the two functions the equivalence analysis needs.

#include <cstdint>

namespace tarnwick {

class TDistribution {
public:
    // The one shared instance, created on first use and kept until the program ends.
    static const TDistribution& instance();

    // Probability that a t variable with df degrees of freedom (df > 0, not
    // necessarily whole) is at least |t| in magnitude when tails is 2, or at
    // least |t| (upper tail only) when tails is 1. t and -t give the same result;
    // t = 0 gives exactly 1 (two tails) and infinite |t| gives 0. Infinite df
    // (like any df above 1e30) is the normal distribution.
    // Throws RunTimeError 5 for df <= 0, a NaN argument, or tails not 1 or 2.
    double TailProbability(double t, double df, std::int16_t tails) const;

    // The positive t whose tails-tailed probability is p: with tails 1 the upper
    // p point, with tails 2 the upper p/2 point. p = 1 with tails 2 gives 0;
    // with tails 1 a p above 1/2 gives the (negative) upper p point.
    // Throws RunTimeError 5 for df <= 0, p outside (0, 1) (p <= 1 for tails 2),
    // NaN, or tails not 1 or 2, and RunTimeError 6 for a point beyond the
    // double range (tiny df with small p).
    double CriticalValue(double p, double df, std::int16_t tails) const;

private:
    TDistribution() = default;
};

}  // namespace tarnwick
