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
    // An entry drawn uniformly from the whole matrix.
    double draw(std::mt19937_64& engine) const {
        return x[uniformIndex(engine, x.size())] - y[uniformIndex(engine, y.size())];
    }
};

struct WalshMatrix {
    std::span<const double> halves;
    Index rows() const { return static_cast<Index>(halves.size()); }
    Index columns() const { return static_cast<Index>(halves.size()); }
    Index first(Index i) const { return i; }  // i <= j: each average once
    double value(Index i, Index j) const { return halves[i] + halves[j]; }
    // An average drawn from all n (n + 1) / 2, each of them with
    // probability 2 / n^2 but those with i = j, which have 1 / n^2: close
    // enough to uniform for choosing pivots.
    double draw(std::mt19937_64& engine) const {
        return halves[uniformIndex(engine, halves.size())] +
               halves[uniformIndex(engine, halves.size())];
    }
};

template <class Matrix>
Index entries(const Matrix& m) {
    Index total = 0;
    for (Index i = 0; i < m.rows(); ++i)
        total += m.columns() - m.first(i);
    return total;
}

// The rows' ends for `inside`, known to lie between lowEnds and highEnds,
// written to `ends` (may be null); returns how many entries satisfy `inside`.
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

// The ends for "<= v1" and "<= v2" (v1 <= v2) in one pass, both known to lie
// between lowEnds and highEnds; the counts are returned in c1 and c2.
template <class Matrix>
void walkTwo(const Matrix& m, double v1, double v2, const std::vector<Index>& lowEnds,
             const std::vector<Index>& highEnds, std::vector<Index>& ends1,
             std::vector<Index>& ends2, Index& c1, Index& c2) {
    Index j1 = m.columns(), j2 = m.columns();
    c1 = c2 = 0;
    for (Index i = 0; i < m.rows(); ++i) {
        const Index floor = lowEnds[i], ceiling = highEnds[i], first = m.first(i);
        j2 = std::min(j2, ceiling);
        while (j2 > floor && m.value(i, j2 - 1) > v2)
            --j2;
        j1 = std::min(j1, j2);
        while (j1 > floor && m.value(i, j1 - 1) > v1)
            --j1;
        ends1[i] = j1;
        ends2[i] = j2;
        c1 += std::max(j1, first) - first;
        c2 += std::max(j2, first) - first;
    }
}

template <class Matrix>
Index countAtMost(const Matrix& m, double t) {
    return walk(
        m, [t](double v) { return v <= t; }, nullptr, nullptr, nullptr);
}

// The smallest entry greater than t (HUGE_VAL when there is none).
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

constexpr Index largestSample = 65536;
// Fixed, so that the same scores always take the same path; the result does
// not depend on it.
constexpr std::uint64_t pivotSeed = 0x5eed5e1ec7;

struct Selected {
    double kth = 0;
    double next = 0;  // the (k + 1)-th, when asked for and k < entries
};

// The k-th smallest entry and, with `wantNext`, the (k + 1)-th.
//
// The candidates are the entries in (a, b], or (a, b) once ties at b have
// been set aside: in row i, the columns max(lo[i], first(i)) up to
// max(hi[i], first(i)), with lowCount entries at or below a and highCount
// up to the candidates' top; lowCount < k <= highCount throughout.
template <class Matrix>
Selected select(const Matrix& m, Index k, bool wantNext) {
    const std::size_t rows = static_cast<std::size_t>(m.rows());
    const Index total = entries(m);
    std::vector<Index> lo(rows, 0), hi(rows, m.columns());
    Index lowCount = 0, highCount = total;
    const Index gatherLimit = std::max<Index>((m.rows() + m.columns()) / 4, 4096);
    // Sorting the sample should cost no more than a walk: about one draw
    // for every four rows and columns.
    const Index sampleSize = std::clamp<Index>((m.rows() + m.columns()) / 4, 1024, largestSample);
    std::mt19937_64 engine(pivotSeed);
    std::vector<Index> ends1(rows), ends2(rows);
    std::vector<double> sample;

    const auto range = [&](std::size_t i, Index& begin, Index& end) {
        const Index first = m.first(static_cast<Index>(i));
        begin = std::max(lo[i], first);
        end = std::max(hi[i], first);
    };
    // v is the k-th and #{<= v} = atMost: the (k + 1)-th is v again or the
    // next entry above it.
    const auto answer = [&](double v, Index atMost) {
        Selected result{v, v};
        if (wantNext && k < total && k + 1 > atMost) result.next = smallestAbove(m, v);
        return result;
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
            Selected result{*nth, *nth};
            if (wantNext && k < total) {
                if (nth + 1 != values.end())
                    result.next = *std::min_element(nth + 1, values.end());
                else
                    result.next = smallestAbove(m, *nth);
            }
            return result;
        }

        // A sample of the candidates. At first they are the whole matrix,
        // drawn from directly; later a stratified sample, one draw in each
        // of s equal stretches of the candidates' row-by-row order, so that
        // the positions come sorted and one sweep of the rows reads them.
        // Stratified draws vary less than draws with replacement, so the
        // bracket's margin below holds for both. Never more draws than a
        // quarter of the candidates: near the gathering size a smaller
        // sample narrows as far for less work.
        const Index draws = std::min(sampleSize, candidates / 4);
        sample.clear();
        if (candidates == total) {
            for (Index r = 0; r < draws; ++r)
                sample.push_back(m.draw(engine));
        } else {
            const double stretch = static_cast<double>(candidates) / static_cast<double>(draws);
            Index passed = 0, r = 0, position = 0;
            const auto nextPosition = [&] {
                const double u = static_cast<double>(engine() >> 11) * 0x1p-53;
                return std::min(candidates - 1,
                                static_cast<Index>((static_cast<double>(r) + u) * stretch));
            };
            position = nextPosition();
            for (std::size_t i = 0; i < rows && r < draws; ++i) {
                Index begin = 0, end = 0;
                range(i, begin, end);
                while (r < draws && position < passed + (end - begin)) {
                    sample.push_back(m.value(static_cast<Index>(i), begin + position - passed));
                    if (++r < draws) position = std::max(position, nextPosition());
                }
                passed += end - begin;
            }
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
            return sample[static_cast<std::size_t>(std::clamp(position, 0.0, s - 1))];
        };
        const double v1 = at(std::floor(share * s - margin)),
                     v2 = at(std::ceil(share * s + margin));
        Index c1 = 0, c2 = 0;
        walkTwo(m, v1, v2, lo, hi, ends1, ends2, c1, c2);

        // Either pivot is a candidate, so each step below removes at least
        // that pivot, or else every candidate above it.
        bool moved = false;
        if (k <= c1) {
            moved = c1 < highCount;
            highCount = c1;
            hi.swap(ends1);
        } else {
            moved = true;
            lowCount = c1;
            lo.swap(ends1);
            if (v2 > v1) {
                if (k <= c2) {
                    highCount = c2;
                    hi.swap(ends2);
                } else {
                    lowCount = c2;
                    lo.swap(ends2);
                }
            }
        }
        if (moved) continue;

        // v1 is the candidates' largest value and holds the target: it is
        // the k-th unless the entries below it already reach k, in which
        // case those below it are the candidates now.
        const double v = v1;
        const Index below = walk(
            m, [v](double e) { return e < v; }, &lo, &hi, &ends1);
        if (below < k) return answer(v, highCount);
        highCount = below;
        hi.swap(ends1);
    }
}

double midpoint(double low, double high) {
    const double sum = low + high;
    return std::isfinite(sum) ? sum / 2 : low / 2 + high / 2;
}

template <class Matrix>
double median(const Matrix& m) {
    const Index n = entries(m);
    if (n % 2 == 1) return select(m, (n + 1) / 2, false).kth;
    const Selected middle = select(m, n / 2, true);
    return midpoint(middle.kth, middle.next);
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
    return select(DifferenceMatrix{x_, y_}, k, false).kth;
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
    return select(WalshMatrix{halves_}, k, false).kth;
}
double WalshAverages::median() const { return score_analysis::median(WalshMatrix{halves_}); }

}  // namespace tarnwick::score_analysis
