#pragma once
// Scores and bounds near the smallest doubles (1e-320, subnormal) carry few
// significant bits, and their squares and standard errors underflow: the
// analyses would answer from rounded-away digits. Every analysis is
// equivariant under scaling: multiplying the scores and the bounds by 2^k
// multiplies the estimate, the interval and the standard error by 2^k and
// leaves every p value, t statistic and rank statistic as it is; and
// scaling up by a power of two is exact. So when the largest of the scores
// and bounds in size is below 2^-500, the analysis runs on everything scaled
// up until that largest is in [0.5, 1), and its numbers in the scores'
// units are scaled back (rounded then, as any number that small must be).

#include <algorithm>
#include <cmath>
#include <span>
#include <vector>

#include "score_result.h"
#include "score_settings.h"

namespace tarnwick::score_analysis {

inline constexpr int tinyExponent = -500;

// The power of two to scale by, or 0 when none is needed (or a score or a
// bound is not finite: the analysis refuses those itself).
inline int tinyScale(std::span<const double> x, std::span<const double> y,
                     const ScoreSettings& settings) {
    double largest = std::max(std::fabs(settings.lower), std::fabs(settings.upper));
    for (const auto group : {x, y})
        for (const double v : group)
            largest = std::max(largest, std::fabs(v));
    if (!std::isfinite(largest) || largest == 0 || largest >= std::ldexp(1.0, tinyExponent))
        return 0;
    int exponent = 0;
    std::frexp(largest, &exponent);
    return -exponent;
}

template <class Analysis>
ScoreResult withTinyScoresRescaled(std::span<const double> x, std::span<const double> y,
                                   const ScoreSettings& settings, const Analysis& analysis) {
    const int k = tinyScale(x, y, settings);
    if (k == 0) return analysis(x, y, settings);
    const auto scaled = [k](std::span<const double> scores) {
        std::vector<double> s(scores.begin(), scores.end());
        for (double& v : s)
            v = std::ldexp(v, k);
        return s;
    };
    ScoreSettings up = settings;
    up.lower = std::ldexp(settings.lower, k);
    up.upper = std::ldexp(settings.upper, k);
    const std::vector<double> sx = scaled(x), sy = scaled(y);
    ScoreResult result = analysis(std::span<const double>(sx), std::span<const double>(sy), up);
    result.estimate = std::ldexp(result.estimate, -k);
    result.low = std::ldexp(result.low, -k);
    result.high = std::ldexp(result.high, -k);
    result.notes.standardError = std::ldexp(result.notes.standardError, -k);
    conclude(settings, result);  // the rounded ends against the bounds as given
    return result;
}

}  // namespace tarnwick::score_analysis
