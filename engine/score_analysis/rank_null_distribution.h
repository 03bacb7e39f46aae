#pragma once
// The exact permutation distributions of the two rank statistics without
// ties: the rank sum W (the Wilcoxon-Mann-Whitney statistic, 0 .. m n) of m
// scores against n, and the signed rank V (0 .. n (n + 1) / 2) of n
// differences. Meant for the small samples the exact tests are used for
// (fewer than 50 scores a group): the table has m n + 1 entries and takes
// O(m^2 n^2) additions to build.
//
// Method: the counts of arrangements by the recurrences
//   c(u; m, n) = c(u - n; m - 1, n) + c(u; m, n - 1)  (is the largest score in the first group?)
//   c(v; n) = c(v; n - 1) + c(v - n; n - 1)           (is rank n positive?)
// sums of positive terms only, so each count is within m + n roundings of
// the exact integer (signed rank: exact, as all counts are below 2^53).
// A tail is summed over the shorter side, term by term as count / total,
// the quantile found by the same running sum; these are the conventions of
// R's pwilcox, psignrank, qwilcox and qsignrank, whose answers these equal.

#include <vector>

namespace tarnwick::score_analysis {

class ExactRankNull {
public:
    static ExactRankNull rankSum(int m, int n);
    static ExactRankNull signedRank(int n);

    double lowerTail(double statistic) const;  // P(S <= statistic)
    double upperTail(double statistic) const;  // P(S >= statistic)
    // The smallest q with P(S <= q) >= p - 10 DBL_EPSILON (the allowance
    // keeps a p that equals a tail probability from stepping past it), for
    // 0 < p <= 0.5.
    long quantile(double p) const;
    long largest() const { return static_cast<long>(counts_.size()) - 1; }

private:
    explicit ExactRankNull(std::vector<double> counts);
    // P(S <= q) for whole q, summed over the shorter side.
    double atMost(long q) const;

    std::vector<double> counts_;
    double total_ = 0;
};

}  // namespace tarnwick::score_analysis
