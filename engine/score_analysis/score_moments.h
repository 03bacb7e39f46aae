#pragma once
// Means and sample standard deviations (n - 1 denominator) of raw scores, by
// the shared computation of engine/moments (exact scaling by a power of two,
// compensated sums, the corrected two-pass SD: a few ulps), told in this
// room's errors.

#include <span>

namespace tarnwick::score_analysis {

struct Moments {
    double mean = 0;
    double sd = 0;  // 0 with fewer than 2 scores
};

// Throws ScoreError (tooLarge) when the SD is beyond the range of a double,
// (notFinite) for a score that is not finite. Needs at least one score. Equal
// scores have their value as mean and an SD of exactly 0.
Moments meanAndSd(std::span<const double> scores);

}  // namespace tarnwick::score_analysis
