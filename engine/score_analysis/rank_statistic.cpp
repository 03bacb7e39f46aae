#include "rank_statistic.h"

#include <cmath>

namespace tarnwick::score_analysis {
namespace {

double tieTerm(std::int64_t t) {
    const double d = static_cast<double>(t);
    return d * d * d - d;
}

}  // namespace

RankStatistic rankSum(std::span<const double> sortedX, std::span<const double> sortedY,
                      double shift) {
    RankStatistic result;
    std::int64_t twiceW = 0;
    std::size_t i = 0, j = 0;
    const std::size_t n1 = sortedX.size(), n2 = sortedY.size();
    while (i < n1 || j < n2) {
        const double v = i == n1   ? sortedY[j]
                         : j == n2 ? sortedX[i] - shift
                                   : std::fmin(sortedX[i] - shift, sortedY[j]);
        std::int64_t inX = 0, inY = 0;
        while (i < n1 && sortedX[i] - shift == v) {
            ++i;
            ++inX;
        }
        while (j < n2 && sortedY[j] == v) {
            ++j;
            ++inY;
        }
        // The y scores passed before this group lie below each x in it.
        const std::int64_t below = static_cast<std::int64_t>(j) - inY;
        twiceW += inX * (2 * below + inY);
        if (inX + inY > 1) {
            result.ties = true;
            result.tieSum += tieTerm(inX + inY);
        }
    }
    result.statistic = static_cast<double>(twiceW) / 2;
    return result;
}

RankStatistic signedRank(std::span<const double> sortedD, double shift) {
    RankStatistic result;
    const std::size_t n = sortedD.size();
    // Negative shifted differences occupy [0, negatives), positive ones
    // [positives, n); |e| ascends from negatives - 1 down and from positives up.
    std::size_t negatives = 0;
    while (negatives < n && sortedD[negatives] - shift < 0)
        ++negatives;
    std::size_t positives = negatives;
    while (positives < n && sortedD[positives] - shift == 0)
        ++positives;
    result.zeros = static_cast<std::int64_t>(positives - negatives);
    result.n = static_cast<std::int64_t>(n) - result.zeros;

    std::int64_t twiceV = 0, ranked = 0;
    std::size_t down = negatives, up = positives;  // next negative is down - 1
    while (down > 0 || up < n) {
        const double v = down == 0 ? sortedD[up] - shift
                         : up == n ? -(sortedD[down - 1] - shift)
                                   : std::fmin(-(sortedD[down - 1] - shift), sortedD[up] - shift);
        std::int64_t inNegative = 0, inPositive = 0;
        while (down > 0 && -(sortedD[down - 1] - shift) == v) {
            --down;
            ++inNegative;
        }
        while (up < n && sortedD[up] - shift == v) {
            ++up;
            ++inPositive;
        }
        const std::int64_t t = inNegative + inPositive;
        // The group holds ranks ranked + 1 .. ranked + t, midrank ranked + (t + 1) / 2.
        twiceV += inPositive * (2 * ranked + t + 1);
        ranked += t;
        if (t > 1) {
            result.ties = true;
            result.tieSum += tieTerm(t);
        }
    }
    result.statistic = static_cast<double>(twiceV) / 2;
    return result;
}

double tieSum(std::span<const double> sorted) {
    double sum = 0;
    for (std::size_t i = 0; i < sorted.size();) {
        std::size_t j = i + 1;
        while (j < sorted.size() && sorted[j] == sorted[i])
            ++j;
        if (j - i > 1) sum += tieTerm(static_cast<std::int64_t>(j - i));
        i = j;
    }
    return sum;
}

}  // namespace tarnwick::score_analysis
