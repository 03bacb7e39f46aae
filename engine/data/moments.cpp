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

double finite(double value) {
    if (!std::isfinite(value))
        throw DataError(DataErrorNumber::numberTooLarge,
                        "The scores are too large to summarise in double precision.");
    return value;
}

}  // namespace

Moments meanAndSd(std::span<const double> scores) {
    Moments moments;
    moments.n = static_cast<long>(scores.size());
    if (scores.empty()) return moments;
    const double n = static_cast<double>(scores.size());
    CompensatedSum sum;
    for (const double x : scores)
        sum.add(x);
    moments.mean = sum.value() / n;
    if (!std::isfinite(moments.mean)) {
        // Scores near the largest double: their sum overflows though their
        // mean is in range. Summing x / n costs a rounding per score.
        CompensatedSum scaled;
        for (const double x : scores)
            scaled.add(x / n);
        moments.mean = finite(scaled.value());
    }
    if (scores.size() < 2) return moments;

    CompensatedSum deviations, squares;
    for (const double x : scores) {
        const double d = finite(x - moments.mean);
        deviations.add(d);
        squares.add(d * d);
    }
    const double correction = deviations.value() * deviations.value() / n;
    const double variance = std::max(0.0, squares.value() - correction) / (n - 1);
    moments.sd = finite(std::sqrt(finite(variance)));
    return moments;
}

}  // namespace tarnwick::data
