#include "pairwise_selection.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "index_draw.h"

namespace tarnwick::score_analysis {
namespace {

using Index = std::int64_t;

// Row i holds value(i, j) for j = first(i) .. columns() - 1, non-decreasing
// in j; for each j, value(i, j) is non-decreasing in i as well. A row's
// "end" for a predicate that holds on a prefix of the row is how many of
// its columns, counted from 0 and ignoring first(i), satisfy it; ends are
// non-increasing down the rows, which is what makes one walk enough.
struct DifferenceMatrix {
    std::span<const double> x, y;
    Index rows() const { return static_cast<Index>(x.size()); }
    Index columns() const { return static_cast<Index>(y.size()); }
    Index first(Index) const { return 0; }
    // Column j holds y in descending order, so rows ascend.
    double value(Index i, Index j) const { return x[i] - y[y.size() - 1 - j]; }
};

struct WalshMatrix {
    std::span<const double> halves;
    Index rows() const { return static_cast<Index>(halves.size()); }
    Index columns() const { return static_cast<Index>(halves.size()); }
    Index first(Index i) const { return i; }  // i <= j: each average once
    double value(Index i, Index j) const { return halves[i] + halves[j]; }
};

template <class Matrix>
Index entries(const Matrix& m) {
    Index total = 0;
    for (Index i = 0; i < m.rows(); ++i)
        total += m.columns() - m.first(i);
    return total;
}

// The rows' ends for `inside`, known to lie between lowEnds and highEnds
// (null: 0 and columns()), written to `ends` (may be null); returns how
// many entries satisfy `inside`.
template <class Matrix, class Inside>
Index walk(const Matrix& m, Inside inside, const std::vector<Index>* lowEnds,
           const std::vector<Index>* highEnds, std::vector<Index>* ends) {
    Index j = m.columns(), count = 0;
    for (Index i = 0; i < m.rows(); ++i) {
        if (highEnds) j = std::min(j, (*highEnds)[i]);
        const Index floor = lowEnds ? (*lowEnds)[i] : 0;
        while (j > floor && !inside(m.value(i, j - 1)))
            --j;
        if (ends) (*ends)[i] = j;
        count += std::max(j, m.first(i)) - m.first(i);
    }
    return count;
}

template <class Matrix>
Index countAtMost(const Matrix& m, double t) {
    return walk(
        m, [t](double v) { return v <= t; }, nullptr, nullptr, nullptr);
}

// The smallest entry greater than t (t must be below the largest entry).
template <class Matrix>
double smallestAbove(const Matrix& m, double t) {
    std::vector<Index> ends(static_cast<std::size_t>(m.rows()));
    walk(
        m, [t](double v) { return v <= t; }, nullptr, nullptr, &ends);
    double smallest = HUGE_VAL;
    for (Index i = 0; i < m.rows(); ++i) {
        const Index j = std::max(ends[i], m.first(i));
        if (j < m.columns()) smallest = std::min(smallest, m.value(i, j));
    }
    return smallest;
}

constexpr Index sampleSize = 16384;
// Fixed, so that the same scores always take the same path; the result does
// not depend on it.
constexpr std::uint64_t pivotSeed = 0x5eed5e1ec7;

template <class Matrix>
double select(const Matrix& m, Index k) {
    const std::size_t rows = static_cast<std::size_t>(m.rows());
    // Candidates of row i: columns max(lo[i], first(i)) .. max(hi[i], first(i)) - 1,
    // the entries strictly between a and b.
    std::vector<Index> lo(rows, 0), hi(rows, m.columns());
    Index lowCount = 0;            // entries <= a
    Index highCount = entries(m);  // entries < b
    double a = -HUGE_VAL, b = HUGE_VAL;
    const Index gatherLimit = std::max<Index>(2 * (m.rows() + m.columns()), 4096);
    std::mt19937_64 engine(pivotSeed);
    std::vector<Index> belowEnds(rows), atMostEnds(rows), positions;
    std::vector<double> sample;

    const auto range = [&](std::size_t i, Index& begin, Index& end) {
        const Index first = m.first(static_cast<Index>(i));
        begin = std::max(lo[i], first);
        end = std::max(hi[i], first);
    };

    for (;;) {
        const Index candidates = highCount - lowCount;
        if (candidates <= gatherLimit) {
            std::vector<double> values;
            values.reserve(static_cast<std::size_t>(candidates));
            for (std::size_t i = 0; i < rows; ++i) {
                Index begin = 0, end = 0;
                range(i, begin, end);
                for (Index j = begin; j < end; ++j)
                    values.push_back(m.value(static_cast<Index>(i), j));
            }
            const auto nth = values.begin() + (k - lowCount - 1);
            std::nth_element(values.begin(), nth, values.end());
            return *nth;
        }

        // A sample with replacement, uniform over the candidates: sorted
        // positions in the candidates' row-by-row order, read in one sweep.
        // Never more draws than a quarter of the candidates: near the
        // gathering size a smaller sample narrows as far for less work.
        positions.resize(static_cast<std::size_t>(std::min(sampleSize, candidates / 4)));
        for (Index& p : positions)
            p = static_cast<Index>(uniformIndex(engine, static_cast<std::uint64_t>(candidates)));
        std::sort(positions.begin(), positions.end());
        sample.clear();
        Index passed = 0;
        std::size_t next = 0;
        for (std::size_t i = 0; i < rows && next < positions.size(); ++i) {
            Index begin = 0, end = 0;
            range(i, begin, end);
            while (next < positions.size() && positions[next] < passed + (end - begin)) {
                sample.push_back(m.value(static_cast<Index>(i), begin + positions[next] - passed));
                ++next;
            }
            passed += end - begin;
        }
        std::sort(sample.begin(), sample.end());

        // The target's place among the candidates, and a bracket of it in
        // the sample: the sample's count below the target is binomial with
        // SD at most sqrt(s) / 2, so 2 sqrt(s) is 4 SDs.
        const double share =
            (static_cast<double>(k - lowCount) - 0.5) / static_cast<double>(candidates);
        const double s = static_cast<double>(sample.size());
        const double margin = 2 * std::sqrt(s) + 1;
        const auto at = [&](double position) {
            const double clamped = std::clamp(position, 0.0, s - 1);
            return sample[static_cast<std::size_t>(clamped)];
        };
        for (const double v :
             {at(std::floor(share * s - margin)), at(std::ceil(share * s + margin))}) {
            if (!(v > a && v < b)) continue;
            const Index below = walk(
                m, [v](double e) { return e < v; }, &lo, &hi, &belowEnds);
            const Index atMost = walk(
                m, [v](double e) { return e <= v; }, &lo, &hi, &atMostEnds);
            if (below < k && k <= atMost) return v;
            if (k <= below) {
                b = v;
                highCount = below;
                hi.swap(belowEnds);
            } else {
                a = v;
                lowCount = atMost;
                lo.swap(atMostEnds);
            }
        }
    }
}

double midpoint(double low, double high) {
    const double sum = low + high;
    return std::isfinite(sum) ? sum / 2 : low / 2 + high / 2;
}

template <class Matrix>
double median(const Matrix& m) {
    const Index n = entries(m);
    if (n % 2 == 1) return select(m, (n + 1) / 2);
    const double low = select(m, n / 2);
    const double high = countAtMost(m, low) > n / 2 ? low : smallestAbove(m, low);
    return midpoint(low, high);
}

}  // namespace

PairwiseDifferences::PairwiseDifferences(std::span<const double> sortedX,
                                         std::span<const double> sortedY)
    : x_(sortedX), y_(sortedY) {}

std::int64_t PairwiseDifferences::size() const { return entries(DifferenceMatrix{x_, y_}); }
std::int64_t PairwiseDifferences::countAtMost(double t) const {
    return score_analysis::countAtMost(DifferenceMatrix{x_, y_}, t);
}
double PairwiseDifferences::orderStatistic(std::int64_t k) const {
    return select(DifferenceMatrix{x_, y_}, k);
}
double PairwiseDifferences::median() const {
    return score_analysis::median(DifferenceMatrix{x_, y_});
}

WalshAverages::WalshAverages(std::span<const double> sortedDifferences)
    : halves_(sortedDifferences.size()) {
    for (std::size_t i = 0; i < halves_.size(); ++i)
        halves_[i] = sortedDifferences[i] / 2;
}

std::int64_t WalshAverages::size() const { return entries(WalshMatrix{halves_}); }
std::int64_t WalshAverages::countAtMost(double t) const {
    return score_analysis::countAtMost(WalshMatrix{halves_}, t);
}
double WalshAverages::orderStatistic(std::int64_t k) const {
    return select(WalshMatrix{halves_}, k);
}
double WalshAverages::median() const { return score_analysis::median(WalshMatrix{halves_}); }

}  // namespace tarnwick::score_analysis
