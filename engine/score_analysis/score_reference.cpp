#include "score_reference.h"

#include <algorithm>
#include <cmath>

namespace tarnwick::score_analysis {

namespace {

struct Extremes {
    double low, high;
};

Extremes pooledExtremes(std::span<const double> x, std::span<const double> y) {
    const auto [xLow, xHigh] = std::minmax_element(x.begin(), x.end());
    const auto [yLow, yHigh] = std::minmax_element(y.begin(), y.end());
    return {std::min(*xLow, *yLow), std::max(*xHigh, *yHigh)};
}

}  // namespace

double commonReference(std::span<const double> x, std::span<const double> y) {
    const Extremes e = pooledExtremes(x, y);
    return e.low / 2 + e.high / 2;
}

double exactReference(std::span<const double> x, std::span<const double> y) {
    const Extremes e = pooledExtremes(x, y);
    const double r = e.low / 2 + e.high / 2;
    const bool positive = r > 0 && e.low >= r / 2 && e.high <= 2 * r;
    const bool negative = r < 0 && e.high <= r / 2 && e.low >= 2 * r;
    const bool largeOffset = std::fabs(r) > 0x1p20 * (e.high - e.low);
    return (positive || negative) && largeOffset ? r : 0;
}

std::vector<double> lessReference(std::span<const double> scores, double reference) {
    std::vector<double> less(scores.size());
    for (std::size_t i = 0; i < scores.size(); ++i)
        less[i] = scores[i] - reference;
    return less;
}

}  // namespace tarnwick::score_analysis
