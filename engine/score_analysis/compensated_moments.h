#pragma once
// Means and sample standard deviations (n - 1 denominator) of raw scores,
// accurate whatever their common offset and scale.
//
// Method: Neumaier's compensated sum for the mean (within an ulp or two of
// the exact mean of the doubles); the corrected two-pass formula for the SD,
// sqrt((sum e^2 - (sum e)^2 / n) / (n - 1)) with e = x - mean, both sums
// compensated and every e scaled by the power of two at or above the largest
// |e|, so that squares neither overflow nor underflow. Relative error of the
// SD: a few ulps times a small multiple of log2(n).

#include <span>

namespace tarnwick::score_analysis {

class CompensatedSum {
public:
    void add(double x);
    double value() const { return sum_ + compensation_; }

private:
    double sum_ = 0, compensation_ = 0;
};

struct Moments {
    double mean = 0;
    double sd = 0;  // 0 with fewer than 2 scores
};

// Throws ScoreError (tooLarge) when the mean or a deviation from it is
// beyond the range of a double. Needs at least one score. Equal scores have
// their value as mean and an SD of exactly 0.
Moments meanAndSd(std::span<const double> scores);

}  // namespace tarnwick::score_analysis
