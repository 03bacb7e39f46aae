#include "score_shape.h"

#include <algorithm>
#include <cmath>

#include "moments.h"

namespace tarnwick::score_report {

double quantileOfSorted(std::span<const double> sorted, double p) {
    const double position = p * static_cast<double>(sorted.size() - 1);
    const auto below = static_cast<std::size_t>(std::floor(position));
    const double fraction = position - static_cast<double>(below);
    if (below + 1 >= sorted.size() || fraction == 0) return sorted[below];
    // a + f (b - a) keeps equal neighbours exactly equal, as a (1 - f) + b f may not.
    return sorted[below] + fraction * (sorted[below + 1] - sorted[below]);
}

ScoreShape scoreShape(std::span<const double> scores) {
    std::vector<double> sorted(scores.begin(), scores.end());
    std::sort(sorted.begin(), sorted.end());
    ScoreShape shape;
    shape.n = static_cast<long>(sorted.size());
    shape.minimum = sorted.front();
    shape.maximum = sorted.back();
    shape.q1 = quantileOfSorted(sorted, 0.25);
    shape.median = quantileOfSorted(sorted, 0.5);
    shape.q3 = quantileOfSorted(sorted, 0.75);
    const double reach = fenceMultiple * (shape.q3 - shape.q1);
    const double lowFence = shape.q1 - reach, highFence = shape.q3 + reach;
    shape.lowWhisker = shape.q1;
    shape.highWhisker = shape.q3;
    for (const double score : sorted) {
        if (score < lowFence || score > highFence) {
            shape.outliers.push_back(score);
            continue;
        }
        shape.lowWhisker = std::min(shape.lowWhisker, score);
        shape.highWhisker = std::max(shape.highWhisker, score);
    }
    shape.ties = std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end();

    const moments::Moments m = moments::meanAndSd(sorted);
    if (shape.n >= 3 && m.problem == moments::Problem::none && m.sd > 0) {
        // Deviations in units of the SD keep the cubes far from overflow.
        moments::CompensatedSum m2, m3;
        for (const double score : sorted) {
            const double z = (score - m.mean) / m.sd;
            m2.add(z * z);
            m3.add(z * z * z);
        }
        const double n = static_cast<double>(shape.n);
        const double second = m2.value() / n, third = m3.value() / n;
        if (second > 0)
            shape.skewness = std::sqrt(n * (n - 1)) / (n - 2) * third / std::pow(second, 1.5);
    }
    return shape;
}

}  // namespace tarnwick::score_report
