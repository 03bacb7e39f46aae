#include "score_reference.h"

#include <algorithm>

namespace tarnwick::score_analysis {

double commonReference(std::span<const double> x, std::span<const double> y) {
    const auto [xLow, xHigh] = std::minmax_element(x.begin(), x.end());
    const auto [yLow, yHigh] = std::minmax_element(y.begin(), y.end());
    const double low = std::min(*xLow, *yLow), high = std::max(*xHigh, *yHigh);
    return low / 2 + high / 2;
}

std::vector<double> lessReference(std::span<const double> scores, double reference) {
    std::vector<double> less(scores.size());
    for (std::size_t i = 0; i < scores.size(); ++i)
        less[i] = scores[i] - reference;
    return less;
}

}  // namespace tarnwick::score_analysis
