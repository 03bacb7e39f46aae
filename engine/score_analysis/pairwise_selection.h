#pragma once
// Order statistics of the n1 n2 pairwise differences x_i - y_j and of the
// n (n + 1) / 2 Walsh averages (d_i + d_j) / 2, i <= j, without forming
// them: memory O(n1 + n2), expected time O((n1 + n2) log(n1 n2)) after the
// scores are sorted.
//
// Method (after Johnson and Mitchell 1978 and Monahan 1984): both sets are
// the entries of a matrix whose rows and columns are sorted, so how many
// entries are at or below a value is counted in O(n1 + n2) by walking one
// boundary down the rows. The k-th smallest is kept among the candidates in
// (a, b], with fewer than k entries at or below a and at least k at or
// below b. Each round draws s = (n1 + n2) / 4 of the candidates at random
// (1,024 <= s <= 65,536, and at most a quarter of the candidates; uniformly
// from the whole matrix at first, stratified by position after), counts at
// two sample quantiles that bracket the target's share by 4 binomial
// standard deviations, both in one walk, and narrows (a, b] to the bracket
// (or to the side beyond it when the target falls outside), a factor of
// about sqrt(s) / 4 per round. Once at most (n1 + n2) / 4 (and at least
// 4,096) candidates remain they are gathered and the k-th is found with
// nth_element. The median and an interval's two ends share the rounds
// that keep all three among the candidates (Selection::narrowAround). A
// million scores per group take four rounds a rank, the median and both
// ends about 0.4 s of CPU time together on the benchmark's machine
// (bench/score_analysis).
//
// The result is exactly the entry a full sort would give: every entry is
// the one double expression x_i - y_j (d_i / 2 + d_j / 2, which equals the
// rounded (d_i + d_j) / 2 but cannot overflow), evaluated the same way when
// counting and when gathering. Ties of any multiplicity are handled.

#include <cstdint>
#include <span>
#include <vector>

namespace tarnwick::score_analysis {

struct MedianAndEnds {
    double median = 0;
    double low = 0, high = 0;  // the lowRank-th and highRank-th smallest
};

// The differences x_i - y_j. The scores must be sorted ascending, finite,
// with every difference finite, and must outlive this object.
class PairwiseDifferences {
public:
    PairwiseDifferences(std::span<const double> sortedX, std::span<const double> sortedY);

    std::int64_t size() const;
    std::int64_t countAtMost(double t) const;     // how many differences are <= t
    double orderStatistic(std::int64_t k) const;  // the k-th smallest, 1 <= k <= size()
    // The median: the middle difference, or the mean of the two middle ones.
    double median() const;
    // The median and two order statistics, which share the rounds that
    // narrow them all (for an interval around the median, the first two or
    // three of four at a million scores per group).
    MedianAndEnds medianAndEnds(std::int64_t lowRank, std::int64_t highRank) const;

private:
    std::span<const double> x_, y_;
};

// The Walsh averages of the differences d, sorted ascending and finite. The
// halves are kept, so d may go away.
class WalshAverages {
public:
    explicit WalshAverages(std::span<const double> sortedDifferences);

    std::int64_t size() const;
    std::int64_t countAtMost(double t) const;
    double orderStatistic(std::int64_t k) const;
    double median() const;
    MedianAndEnds medianAndEnds(std::int64_t lowRank, std::int64_t highRank) const;

private:
    std::vector<double> halves_;
};

}  // namespace tarnwick::score_analysis
