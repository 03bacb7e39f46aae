#pragma once
// The Wilcoxon statistics of shifted samples, from scores sorted once, in
// O(n1 + n2) per shift: a shift keeps sorted scores sorted, so the combined
// ranking is a merge. Midranks for ties, as R's rank() gives them; the
// statistics are kept as whole counts of halves, exact to 2^63.

#include <cstdint>
#include <span>

namespace tarnwick::score_analysis {

struct RankStatistic {
    double statistic = 0;  // W or V
    double tieSum = 0;     // sum of t^3 - t over groups of t tied values
    bool ties = false;
    std::int64_t n = 0;      // signed rank: the differences left after dropping zeros
    std::int64_t zeros = 0;  // signed rank: differences equal to the shift
};

// W of x - shift against y: the rank sum of x - shift in the combined
// sample less n1 (n1 + 1) / 2, that is #{x_i - shift > y_j} plus half
// #{x_i - shift = y_j}; ties over the combined sample.
RankStatistic rankSum(std::span<const double> sortedX, std::span<const double> sortedY,
                      double shift);

// V of d - shift: the sum of the ranks of |d_i - shift| over the positive
// ones, after dropping those equal to 0 (Wilcoxon's convention, and R's).
RankStatistic signedRank(std::span<const double> sortedD, double shift);

// Ties among sorted scores: the sum of t^3 - t over groups of t equal ones.
double tieSum(std::span<const double> sorted);

}  // namespace tarnwick::score_analysis
