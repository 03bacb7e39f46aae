#pragma once
// The mean and the sample standard deviation (n - 1 denominator) of a set of
// scores, accurate whatever their common offset and whatever their size: one
// computation for every room that summarises raw scores.
//
// Method: the scores are first scaled by the power of two that brings the
// largest magnitude into [0.5, 1), which is exact and keeps every square and
// sum far from overflow (scores near 1e308) and from underflow (subnormal
// scores, whose squares would be 0). On the scaled scores the mean is a
// compensated (Neumaier) sum divided by n, correct to within an ulp or two;
// the SD is the corrected two-pass formula,
// sqrt((sum d^2 - (sum d)^2 / n) / (n - 1)) with d = x - mean, both sums
// compensated, so an offset such as 1e9 + small variation costs no digits
// beyond those the scores themselves carry. Both are scaled back at the end.
// Relative error of the SD: a few ulps times a small multiple of log2(n); an
// SD in the subnormal range is the true one rounded to the precision a
// subnormal double has. Equal scores have exactly their value as mean and an
// SD of exactly 0 (a rounded mean would give them a spread of an ulp).

#include <span>

namespace tarnwick::moments {

// Neumaier's compensated sum: the low-order part each addition loses is kept
// in a second accumulator and added back at the end.
class CompensatedSum {
public:
    void add(double x);
    double value() const { return sum_ + compensation_; }

private:
    double sum_ = 0, compensation_ = 0;
};

// Why a set of scores has no mean and SD in double precision. Each room that
// summarises scores tells it in its own error's words.
enum class Problem {
    none,
    scoreNotFinite,  // a score is infinite or not a number
    sdBeyondDouble,  // the SD itself exceeds the largest double
};

struct Moments {
    double mean = 0;                  // 0 for no scores
    double sd = 0;                    // 0 with fewer than 2 scores
    Problem problem = Problem::none;  // when not none, mean and sd mean nothing
};

Moments meanAndSd(std::span<const double> scores);

}  // namespace tarnwick::moments
