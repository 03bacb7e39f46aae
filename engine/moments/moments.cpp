#include "moments.h"

#include <algorithm>
#include <cmath>

namespace tarnwick::moments {

void CompensatedSum::add(double x) {
    const double t = sum_ + x;
    compensation_ += std::fabs(sum_) >= std::fabs(x) ? (sum_ - t) + x : (x - t) + sum_;
    sum_ = t;
}

Moments meanAndSd(std::span<const double> scores) {
    Moments moments;
    if (scores.empty()) return moments;
    double smallest = scores.front(), largest = scores.front(), magnitude = 0;
    for (const double x : scores) {
        if (!std::isfinite(x)) {
            moments.problem = Problem::scoreNotFinite;
            return moments;
        }
        smallest = std::min(smallest, x);
        largest = std::max(largest, x);
        magnitude = std::max(magnitude, std::fabs(x));
    }
    if (smallest == largest) {
        moments.mean = smallest;
        return moments;
    }
    // Scaling by this power of two is exact for every score that does not
    // fall below the subnormal range, and those are too small to change a
    // sum of the others.
    int exponent = 0;
    std::frexp(magnitude, &exponent);
    const auto scaled = [exponent](double x) { return std::ldexp(x, -exponent); };
    const double n = static_cast<double>(scores.size());
    CompensatedSum sum;
    for (const double x : scores)
        sum.add(scaled(x));
    // Every scaled score is below 1 in size, so neither this mean nor the
    // deviations below can overflow.
    const double mean = sum.value() / n;
    moments.mean = std::ldexp(mean, exponent);

    CompensatedSum deviations, squares;
    for (const double x : scores) {
        const double d = scaled(x) - mean;
        deviations.add(d);
        squares.add(d * d);
    }
    const double correction = deviations.value() * deviations.value() / n;
    const double variance = std::max(0.0, squares.value() - correction) / (n - 1);
    moments.sd = std::ldexp(std::sqrt(variance), exponent);
    if (!std::isfinite(moments.sd)) moments.problem = Problem::sdBeyondDouble;
    return moments;
}

}  // namespace tarnwick::moments
