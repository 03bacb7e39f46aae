#pragma once
// The exact permutation distributions of the two rank statistics without
// ties: the rank sum W (the Wilcoxon-Mann-Whitney statistic, 0 .. m n) of m
// scores against n, and the signed rank V (0 .. n (n + 1) / 2) of n
// differences. Meant for the small samples the exact tests are used for
// (at most 50 scores a group): the table has m n + 1 entries and takes
// O(m^2 n^2) additions to build.
//
// Method: the counts of arrangements by the recurrences
//   c(u; m, n) = c(u - n; m - 1, n) + c(u; m, n - 1)  (is the largest score in the first group?)
//   c(v; n) = c(v; n - 1) + c(v - n; n - 1)           (is rank n positive?)
// in exact 128-bit integers (the most arrangements, C(100, 50), is below
// 2^97), and their running sums likewise. A probability P(S <= q) is the
// exact count over the exact total, each rounded to a double once and then
// divided; P(S >= s) is P(S <= top - s) by the distributions' symmetry, the
// same count and so the same double. So a p value that is exactly 11 / 220
// is 0.05 to the last bit, and a p value and an interval found from the
// same count compare with alpha alike. R's pwilcox, psignrank, qwilcox and
// qsignrank sum the same counts in doubles; their answers agree with these
// to a few ulps.

#include <vector>

namespace tarnwick::score_analysis {

class ExactRankNull {
public:
    static ExactRankNull rankSum(int m, int n);
    static ExactRankNull signedRank(int n);

    double atMost(long q) const;               // P(S <= q) for whole q: 0 below 0, 1 from top on
    double lowerTail(double statistic) const;  // P(S <= statistic)
    double upperTail(double statistic) const;  // P(S >= statistic)
    // The smallest q with P(S <= q) >= p - 10 DBL_EPSILON (the allowance
    // keeps a p that equals a tail probability from stepping past it), for
    // 0 < p <= 0.5: R's qwilcox and qsignrank.
    long quantile(double p) const;
    long largest() const { return static_cast<long>(cumulative_.size()) - 1; }

private:
    __extension__ using Count = unsigned __int128;
    explicit ExactRankNull(const std::vector<Count>& counts);

    std::vector<Count> cumulative_;  // arrangements with S <= q
};

}  // namespace tarnwick::score_analysis
