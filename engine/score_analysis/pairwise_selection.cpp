#include "pairwise_selection.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <utility>

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

// The state of a selection: the candidates are the entries in (a, b], or
// (a, b) once ties at b have been set aside: in row i, the columns
// max(lo[i], first(i)) up to max(hi[i], first(i)), with lowCount entries at
// or below a and highCount up to the candidates' top. A copy goes on
// independently of the original, so several ranks can share the rounds
// that narrow them all.
template <class Matrix>
class Selection {
public:
    explicit Selection(const Matrix& m)
        : m_(m),
          rows_(static_cast<std::size_t>(m.rows())),
          total_(entries(m)),
          gatherLimit_(std::max<Index>((m.rows() + m.columns()) / 4, 4096)),
          // Sorting the sample should cost no more than a walk: about one
          // draw for every four rows and columns.
          sampleSize_(std::clamp<Index>((m.rows() + m.columns()) / 4, 1024, largestSample)),
          lo_(rows_, 0),
          hi_(rows_, m.columns()),
          highCount_(total_),
          engine_(pivotSeed) {}

    // Rounds that keep ranks first..last (lowCount < first <= last <=
    // highCount) all among the candidates, for as long as each round at
    // least halves them.
    void narrowAround(Index first, Index last) {
        while (candidates() > gatherLimit_ && last - first < candidates() / 4) {
            const Index before = candidates();
            const auto [v1, v2] = pivots(first, last);
            Index c1 = 0, c2 = 0;
            walkTwo(m_, v1, v2, lo_, hi_, ends1_, ends2_, c1, c2);
            if (c1 < first) keepAbove(c1, ends1_);
            if (c2 >= last && v2 > v1) keepAtMost(c2, ends2_);
            if (2 * candidates() > before) return;
        }
    }

    // The k-th smallest entry and, with `wantNext`, the (k + 1)-th; k must
    // be among the candidates. Leaves this selection as it is.
    Selected find(Index k, bool wantNext) const {
        Selection s = *this;
        return s.run(k, wantNext);
    }

private:
    Index candidates() const { return highCount_ - lowCount_; }

    void range(std::size_t i, Index& begin, Index& end) const {
        const Index first = m_.first(static_cast<Index>(i));
        begin = std::max(lo_[i], first);
        end = std::max(hi_[i], first);
    }

    void keepAbove(Index atMost, std::vector<Index>& ends) {
        lowCount_ = atMost;
        lo_.swap(ends);
    }
    void keepAtMost(Index atMost, std::vector<Index>& ends) {
        highCount_ = atMost;
        hi_.swap(ends);
    }

    // A sample of the candidates, sorted. At first they are the whole
    // matrix, drawn from directly; later a stratified sample, one draw in
    // each of s equal stretches of the candidates' row-by-row order, so that
    // the positions come sorted and one sweep of the rows reads them.
    // Stratified draws vary less than draws with replacement, so the
    // bracket's margin holds for both. Never more draws than a quarter of
    // the candidates: near the gathering size a smaller sample narrows as
    // far for less work.
    void drawSample() {
        const Index count = candidates();
        const Index draws = std::min(sampleSize_, count / 4);
        sample_.clear();
        if (count == total_) {
            for (Index r = 0; r < draws; ++r)
                sample_.push_back(m_.draw(engine_));
        } else {
            const double stretch = static_cast<double>(count) / static_cast<double>(draws);
            Index passed = 0, r = 0, position = 0;
            const auto nextPosition = [&] {
                const double u = static_cast<double>(engine_() >> 11) * 0x1p-53;
                return std::min(count - 1,
                                static_cast<Index>((static_cast<double>(r) + u) * stretch));
            };
            position = nextPosition();
            for (std::size_t i = 0; i < rows_ && r < draws; ++i) {
                Index begin = 0, end = 0;
                range(i, begin, end);
                while (r < draws && position < passed + (end - begin)) {
                    sample_.push_back(m_.value(static_cast<Index>(i), begin + position - passed));
                    if (++r < draws) position = std::max(position, nextPosition());
                }
                passed += end - begin;
            }
        }
        std::sort(sample_.begin(), sample_.end());
    }

    // Two sample values bracketing ranks first..last among the candidates:
    // the sample's count below a rank is binomial with SD at most sqrt(s) /
    // 2, so a margin of 2 sqrt(s) is 4 SDs.
    std::pair<double, double> pivots(Index first, Index last) {
        drawSample();
        const double count = static_cast<double>(candidates());
        const double s = static_cast<double>(sample_.size());
        const double margin = 2 * std::sqrt(s) + 1;
        const auto share = [&](Index k) {
            return (static_cast<double>(k - lowCount_) - 0.5) / count;
        };
        const auto at = [&](double position) {
            return sample_[static_cast<std::size_t>(std::clamp(position, 0.0, s - 1))];
        };
        return {at(std::floor(share(first) * s - margin)), at(std::ceil(share(last) * s + margin))};
    }

    Selected gather(Index k, bool wantNext) const {
        std::vector<double> values;
        values.reserve(static_cast<std::size_t>(candidates()));
        for (std::size_t i = 0; i < rows_; ++i) {
            Index begin = 0, end = 0;
            range(i, begin, end);
            for (Index j = begin; j < end; ++j)
                values.push_back(m_.value(static_cast<Index>(i), j));
        }
        const auto nth = values.begin() + (k - lowCount_ - 1);
        std::nth_element(values.begin(), nth, values.end());
        Selected result{*nth, *nth};
        if (wantNext && k < total_) {
            if (nth + 1 != values.end())
                result.next = *std::min_element(nth + 1, values.end());
            else
                result.next = smallestAbove(m_, *nth);
        }
        return result;
    }

    Selected run(Index k, bool wantNext) {
        for (;;) {
            if (candidates() <= gatherLimit_) return gather(k, wantNext);
            const auto [v1, v2] = pivots(k, k);
            Index c1 = 0, c2 = 0;
            walkTwo(m_, v1, v2, lo_, hi_, ends1_, ends2_, c1, c2);

            // Either pivot is a candidate, so each step below removes at
            // least that pivot, or else every candidate above it.
            bool moved = false;
            if (k <= c1) {
                moved = c1 < highCount_;
                keepAtMost(c1, ends1_);
            } else {
                moved = true;
                keepAbove(c1, ends1_);
                if (v2 > v1) {
                    if (k <= c2)
                        keepAtMost(c2, ends2_);
                    else
                        keepAbove(c2, ends2_);
                }
            }
            if (moved) continue;

            // v1 is the candidates' largest value and holds the target: it
            // is the k-th unless the entries below it already reach k, in
            // which case those below it are the candidates now.
            const double v = v1;
            const Index below = walk(
                m_, [v](double e) { return e < v; }, &lo_, &hi_, &ends1_);
            if (below < k) {
                Selected result{v, v};
                if (wantNext && k < total_ && k + 1 > highCount_)
                    result.next = smallestAbove(m_, v);
                return result;
            }
            keepAtMost(below, ends1_);
        }
    }

    Matrix m_;
    std::size_t rows_;
    Index total_, gatherLimit_, sampleSize_;
    std::vector<Index> lo_, hi_;
    Index lowCount_ = 0, highCount_;
    std::mt19937_64 engine_;
    std::vector<Index> ends1_ = std::vector<Index>(rows_), ends2_ = std::vector<Index>(rows_);
    std::vector<double> sample_;
};

template <class Matrix>
Selected select(const Matrix& m, Index k, bool wantNext) {
    return Selection<Matrix>(m).find(k, wantNext);
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

template <class Matrix>
MedianAndEnds medianAndEnds(const Matrix& m, Index lowRank, Index highRank) {
    const Index n = entries(m);
    Selection<Matrix> shared(m);
    shared.narrowAround(std::min(lowRank, n / 2), std::max(highRank, (n + 1) / 2 + 1 - n % 2));
    MedianAndEnds result;
    if (n % 2 == 1) {
        result.median = shared.find((n + 1) / 2, false).kth;
    } else {
        const Selected middle = shared.find(n / 2, true);
        result.median = midpoint(middle.kth, middle.next);
    }
    result.low = shared.find(lowRank, false).kth;
    result.high = shared.find(highRank, false).kth;
    return result;
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
MedianAndEnds PairwiseDifferences::medianAndEnds(std::int64_t lowRank,
                                                 std::int64_t highRank) const {
    return score_analysis::medianAndEnds(DifferenceMatrix{x_, y_}, lowRank, highRank);
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
MedianAndEnds WalshAverages::medianAndEnds(std::int64_t lowRank, std::int64_t highRank) const {
    return score_analysis::medianAndEnds(WalshMatrix{halves_}, lowRank, highRank);
}
double WalshAverages::median() const { return score_analysis::median(WalshMatrix{halves_}); }

}  // namespace tarnwick::score_analysis
