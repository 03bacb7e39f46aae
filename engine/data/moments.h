#pragma once
// The mean and the sample standard deviation (n - 1 denominator) of a set of
// scores, accurate whatever their common offset.
//
// Method: the mean is a compensated (Neumaier) sum divided by n, correct to
// within an ulp or two; the SD is the corrected two-pass formula,
// sqrt((sum d^2 - (sum d)^2 / n) / (n - 1)) with d = x - mean, both sums
// compensated, so an offset such as 1e9 + small variation costs no digits
// beyond those the scores themselves carry. Relative error of the SD: a few
// ulps times a small multiple of log2(n), well within 1e-13 in the tests.

#include <span>

namespace tarnwick::data {

struct Moments {
    long n = 0;
    double mean = 0;
    double sd = 0;
};

// Throws DataError (numberTooLarge) when a sum overflows; needs n >= 2 for
// the SD (with fewer the SD is 0).
Moments meanAndSd(std::span<const double> scores);

}  // namespace tarnwick::data
