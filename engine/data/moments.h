#pragma once
// The mean and the sample standard deviation (n - 1 denominator) of a set of
// scores, accurate whatever their common offset and whatever their size.
//
// Method: the scores are first scaled by a power of two that brings the
// largest magnitude into [0.5, 1), which is exact and keeps every square and
// sum far from overflow (scores near 1e308) and from underflow (subnormal
// scores, whose squares would be 0). On the scaled scores the mean is a
// compensated (Neumaier) sum divided by n, correct to within an ulp or two;
// the SD is the corrected two-pass formula,
// sqrt((sum d^2 - (sum d)^2 / n) / (n - 1)) with d = x - mean, both sums
// compensated, so an offset such as 1e9 + small variation costs no digits
// beyond those the scores themselves carry. Both are scaled back at the end.
// Relative error of the SD: a few ulps times a small multiple of log2(n),
// well within 1e-13 in the tests; an SD in the subnormal range is the true
// one rounded to the precision a subnormal double has.

#include <span>

namespace tarnwick::data {

struct Moments {
    long n = 0;
    double mean = 0;
    double sd = 0;
};

// Throws DataError (numberTooLarge) when a score is not finite or the SD
// itself is beyond the largest double; needs n >= 2 for the SD (with fewer
// the SD is 0).
Moments meanAndSd(std::span<const double> scores);

}  // namespace tarnwick::data
