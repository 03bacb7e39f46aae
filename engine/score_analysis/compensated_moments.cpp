#include "compensated_moments.h"

#include <algorithm>
#include <cmath>

#include "score_checks.h"

namespace tarnwick::score_analysis {

void CompensatedSum::add(double x) {
    const double t = sum_ + x;
    compensation_ += std::fabs(sum_) >= std::fabs(x) ? (sum_ - t) + x : (x - t) + sum_;
    sum_ = t;
}

Moments meanAndSd(std::span<const double> scores) {
    Moments moments;
    const auto [smallest, largest] = std::minmax_element(scores.begin(), scores.end());
    if (*smallest == *largest) {
        // Equal scores have exactly their value as mean and no spread; a
        // rounded mean would give them a spread of an ulp or so.
        moments.mean = *smallest;
        return moments;
    }
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
        moments.mean = finiteOrTooLarge(scaled.value(), "the mean");
    }
    if (scores.size() < 2) return moments;

    double farthest = 0;
    for (const double x : scores)
        farthest = std::max(farthest, std::fabs(finiteOrTooLarge(x - moments.mean, "a deviation")));
    int exponent = 0;
    std::frexp(farthest, &exponent);  // farthest < 2^exponent
    CompensatedSum deviations, squares;
    for (const double x : scores) {
        const double e = std::ldexp(x - moments.mean, -exponent);
        deviations.add(e);
        squares.add(e * e);
    }
    const double correction = deviations.value() * deviations.value() / n;
    const double variance = std::max(0.0, squares.value() - correction) / (n - 1);
    moments.sd = finiteOrTooLarge(std::ldexp(std::sqrt(variance), exponent), "the SD");
    return moments;
}

}  // namespace tarnwick::score_analysis
