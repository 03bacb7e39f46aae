#include "moments.h"

#include <algorithm>
#include <cmath>

#include "data_error.h"

namespace tarnwick::data {
namespace {

// Neumaier's compensated sum: the low-order part each addition loses is kept
// in a second accumulator and added back at the end.
class CompensatedSum {
public:
    void add(double x) {
        const double t = sum_ + x;
        compensation_ += std::fabs(sum_) >= std::fabs(x) ? (sum_ - t) + x : (x - t) + sum_;
        sum_ = t;
    }
    double value() const { return sum_ + compensation_; }

private:
    double sum_ = 0, compensation_ = 0;
};

[[noreturn]] void tooLarge(const char* what) {
    throw DataError(DataErrorNumber::numberTooLarge, what);
}

// The power of two that brings the largest magnitude into [0.5, 1): scaling
// by it is exact for every score that does not fall below the subnormal
// range, and those are too small to change a sum of the others.
int scaleExponent(std::span<const double> scores) {
    double largest = 0;
    for (const double x : scores) {
        if (!std::isfinite(x))
            tooLarge("The scores are too large to summarise in double precision.");
        largest = std::max(largest, std::fabs(x));
    }
    if (largest == 0) return 0;
    int exponent = 0;
    std::frexp(largest, &exponent);
    return exponent;
}

}  // namespace

Moments meanAndSd(std::span<const double> scores) {
    Moments moments;
    moments.n = static_cast<long>(scores.size());
    if (scores.empty()) return moments;
    const int exponent = scaleExponent(scores);
    const auto scaled = [exponent](double x) { return std::ldexp(x, -exponent); };
    const double n = static_cast<double>(scores.size());
    CompensatedSum sum;
    for (const double x : scores)
        sum.add(scaled(x));
    // Every scaled score is below 1 in size, so neither this mean nor the
    // deviations below can overflow.
    const double mean = sum.value() / n;
    moments.mean = std::ldexp(mean, exponent);
    if (scores.size() < 2) return moments;

    CompensatedSum deviations, squares;
    for (const double x : scores) {
        const double d = scaled(x) - mean;
        deviations.add(d);
        squares.add(d * d);
    }
    const double correction = deviations.value() * deviations.value() / n;
    const double variance = std::max(0.0, squares.value() - correction) / (n - 1);
    moments.sd = std::ldexp(std::sqrt(variance), exponent);
    if (!std::isfinite(moments.sd))
        tooLarge("The SD of these scores is beyond the largest number a double holds.");
    return moments;
}

}  // namespace tarnwick::data
