#pragma once
// Yuen's test of 20% trimmed means as an equivalence test: the difference of
// the trimmed means (matched: the trimmed mean of the differences x - y),
// its standard error from the winsorised variances, both one-sided t tests
// against the bounds and the 100 (1 - 2 alpha)% interval, at Yuen's df.
//
// Each group of n is trimmed by g = floor(0.2 n) scores from each end,
// leaving h = n - 2 g; its winsorised variance s_w^2 is the sample variance
// (n - 1 denominator) after the g lowest scores are raised to the lowest one
// kept and the g highest lowered to the highest kept, and
// d = (n - 1) s_w^2 / (h (h - 1)). Independent groups: SE = sqrt(d1 + d2),
// df = (d1 + d2)^2 / (d1^2 / (h1 - 1) + d2^2 / (h2 - 1)). Matched: SE =
// sqrt(d) of the differences, df = h - 1. The t tails and points are Boost
// Math's students_t at that (non-integer) df.
//
// Accuracy: trimmed means and winsorised SDs by compensated sums (a few ulps,
// score_moments.h) of the scores less a common reference taken from the
// kept scores (score_reference.h), so p values and ends to about 1e-14 relative.

#include <span>

#include "score_result.h"
#include "score_settings.h"

namespace tarnwick::score_analysis {

// Throws ScoreError (noSpread) when no winsorised score varies in any group.
ScoreResult yuenIndependent(std::span<const double> group1, std::span<const double> group2,
                            const ScoreSettings& settings);
ScoreResult yuenMatched(std::span<const double> group1, std::span<const double> group2,
                        const ScoreSettings& settings);

}  // namespace tarnwick::score_analysis
