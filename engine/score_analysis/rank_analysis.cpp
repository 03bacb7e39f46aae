#include "rank_analysis.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "fixed_text.h"
#include "pairwise_selection.h"
#include "rank_null_distribution.h"
#include "rank_statistic.h"
#include "ratio_scale.h"
#include "reference_distributions.h"
#include "score_checks.h"
#include "score_reference.h"
#include "score_sort.h"

namespace tarnwick::score_analysis {
namespace {

struct OneSidedP {
    double greater = 1, less = 1;
};

// P(S <= j) under the null of a statistic over `count` values: the exact
// distribution, or the normal approximation with null mean count / 2, SD
// `sd` and a continuity correction of 1/2. Each test reads both of its p
// values from it, P(S >= s) as P(S <= count - s) by symmetry, and the
// interval its ranks, so that a test against a bound is significant exactly
// when the bound lies beyond the interval's end.
class NullTail {
public:
    explicit NullTail(const ExactRankNull& exact) : exact_(&exact) {}
    NullTail(std::int64_t count, double sd) : count_(static_cast<double>(count)), sd_(sd) {}

    double atMost(double j) const {
        if (exact_) return exact_->lowerTail(j);
        return normalLowerTail((j - count_ / 2 + 0.5) / sd_);
    }
    OneSidedP p(double statistic) const {
        const double top = exact_ ? static_cast<double>(exact_->largest()) : count_;
        return {atMost(top - statistic), atMost(statistic)};
    }

private:
    const ExactRankNull* exact_ = nullptr;
    double count_ = 0, sd_ = 1;
};

// The rank k of the interval's lower end among `count` ordered values (the
// upper end is the k-th from the top): how many whole j >= 0 have
// P(S <= j) < alpha. Against a lower bound L (no ties at it) the test's p is
// P(S <= #{values <= L}), below alpha exactly when #{values <= L} < k, that
// is when L lies below the k-th value; likewise above. k = 0: no value is
// an end at this alpha, and the interval is unbounded.
std::int64_t intervalRank(std::int64_t count, double alpha, const NullTail& tail) {
    std::int64_t low = 0, high = count;  // P(S <= count) = 1 >= alpha
    while (low < high) {
        const std::int64_t middle = low + (high - low) / 2;
        if (tail.atMost(static_cast<double>(middle)) < alpha)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

void assign(const ScoreSettings& settings, const OneSidedP& atLower, const OneSidedP& atUpper,
            ScoreResult& result) {
    if (!reversedTests(settings)) {
        result.pLower = atLower.greater;
        result.pUpper = atUpper.less;
    } else {
        result.pLower = atLower.less;
        result.pUpper = atUpper.greater;
    }
    conclude(settings, result);
}

// A level in percent to at most 2 decimals, "90%", "94.29%".
std::string percent(double level) {
    std::string text = number_text::fixedText(level * 100, 2);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
    return text + "%";
}

std::string referenceWords(const OneSidedTest& test) {
    if (test.reference == Reference::exact) return "exact";
    std::string words = "normal approximation";
    if (test.ties) words += ", tied values";
    if (test.zeros > 0) words += ", " + std::to_string(test.zeros) + " zero differences dropped";
    return words;
}

// "Wilcoxon signed-rank tests of the differences less each bound: lower
// bound exact; upper bound exact.", or for a one-sided question the one test
// that decides, "... test of the differences less the margin: exact."
std::string testWords(const ScoreSettings& settings, const char* name, const char* of,
                      const char* against, const MethodNotes& notes) {
    if (isOneSided(settings)) {
        const OneSidedTest& test = sideOf(settings) == Side::above ? notes.lower : notes.upper;
        return std::string(name) + " test " + of + " the margin" + against + ": " +
               referenceWords(test) + ".";
    }
    return std::string(name) + " tests " + of + " each bound" + against + ": lower bound " +
           referenceWords(notes.lower) + "; upper bound " + referenceWords(notes.upper) + ".";
}

std::string intervalWords(Reference reference) {
    return reference == Reference::exact ? "the exact critical value"
                                         : "the normal critical value (continuity and tie "
                                           "corrections)";
}

// The interval and estimate from the ranks, or, with no rank at this alpha,
// the median alone and an unbounded interval with the sentence that says
// why and what the widest interval from the values reaches.
template <class Values>
void setInterval(const Values& values, std::int64_t lowRank, const NullTail& tail,
                 const ScoreSettings& settings, std::string_view what, ScoreResult& result) {
    const std::int64_t count = values.size();
    if (lowRank > 0) {
        const MedianAndEnds shift = values.medianAndEnds(lowRank, count + 1 - lowRank);
        result.estimate = shift.median;
        result.low = shift.low;
        result.high = shift.high;
        return;
    }
    result.estimate = values.median();
    result.low = -HUGE_VAL;
    result.high = HUGE_VAL;
    const double smallestP = tail.atMost(0);
    result.notes.widestLevel = std::max(0.0, 1 - 2 * smallestP);
    result.notes.unbounded =
        "No interval from the " + std::to_string(count) + " " + std::string(what) + " reaches " +
        percent(1 - 2 * settings.alpha) + ": the smallest p value " +
        (isOneSided(settings) ? "the test" : "either test") + " can give, " + shortest(smallestP) +
        ", is not below alpha, so the interval is unbounded; the widest one they give, from "
        "the least to the greatest, reaches " +
        percent(result.notes.widestLevel) + ".";
}

void checkShiftable(std::span<const double> sorted, const ScoreSettings& settings,
                    std::string_view what) {
    for (const double bound : {settings.lower, settings.upper}) {
        finiteOrTooLarge(sorted.front() - bound, what);
        finiteOrTooLarge(sorted.back() - bound, what);
    }
}

ScoreResult independent(std::span<const double> group1, std::span<const double> group2,
                        const ScoreSettings& settings) {
    checkSettings(settings);
    checkIndependent(group1, group2);
    // Less a common reference where that is exact, so that a score less a
    // bound keeps the bound's digits when the scores share a large offset
    // while every pairwise difference stays the very double it was.
    const double reference = exactReference(group1, group2);
    const std::vector<double> x = sortedCopy(lessReference(group1, reference)),
                              y = sortedCopy(lessReference(group2, reference));
    finiteOrTooLarge(x.back() - y.front(), "the largest pairwise difference");
    finiteOrTooLarge(x.front() - y.back(), "the smallest pairwise difference");
    checkShiftable(x, settings, "a score of group 1 less a bound");

    const double n1 = static_cast<double>(x.size()), n2 = static_cast<double>(y.size());
    const PairwiseDifferences differences(x, y);
    const std::int64_t count = differences.size();
    const bool small = static_cast<long>(x.size()) <= exactRankLimit &&
                       static_cast<long>(y.size()) <= exactRankLimit;
    std::optional<ExactRankNull> null;
    if (small)
        null = ExactRankNull::rankSum(static_cast<int>(x.size()), static_cast<int>(y.size()));
    // The SD of W for a given sum of t^3 - t over tied groups.
    const auto sdOfW = [&](double ties) {
        return std::sqrt(n1 * n2 / 12 * ((n1 + n2 + 1) - ties / ((n1 + n2) * (n1 + n2 - 1))));
    };

    ScoreResult result;
    MethodNotes& notes = result.notes;
    const double withinTies = tieSum(x) + tieSum(y);
    notes.tiesInScores = withinTies > 0;
    const bool exactInterval = small && !notes.tiesInScores;
    notes.interval = exactInterval ? Reference::exact : Reference::normal;
    const NullTail intervalTail =
        exactInterval ? NullTail(*null) : NullTail(count, sdOfW(withinTies));
    setInterval(differences, intervalRank(count, settings.alpha, intervalTail), intervalTail,
                settings, "pairwise differences", result);

    const auto test = [&](double bound, OneSidedTest& note) {
        const RankStatistic w = rankSum(x, y, bound);
        note.statistic = w.statistic;
        note.ties = w.ties;
        const bool exact = small && !w.ties;
        note.reference = exact ? Reference::exact : Reference::normal;
        return (exact ? NullTail(*null) : NullTail(count, sdOfW(w.tieSum))).p(w.statistic);
    };
    const OneSidedP atLower = test(settings.lower, notes.lower);
    const OneSidedP atUpper = test(settings.upper, notes.upper);
    assign(settings, atLower, atUpper, result);

    notes.text =
        "Hodges-Lehmann shift: the median of the " + std::to_string(count) +
        " pairwise differences (group 1 - group 2), with its " + percent(result.level) +
        " interval at " + intervalWords(notes.interval) + ". " +
        testWords(settings, "Wilcoxon-Mann-Whitney", "of group 1 less", " against group 2", notes);
    if (!notes.unbounded.empty()) notes.text += " " + notes.unbounded;
    return result;
}

ScoreResult matched(std::span<const double> group1, std::span<const double> group2,
                    const ScoreSettings& settings) {
    checkSettings(settings);
    std::vector<double> d = matchedDifferences(group1, group2);
    sortScores(d);
    checkShiftable(d, settings, "a difference less a bound");

    const double n = static_cast<double>(d.size());
    const WalshAverages averages(d);
    const std::int64_t count = averages.size();
    const bool small = static_cast<long>(d.size()) <= exactRankLimit;
    // The SD of V over m differences for a given sum of t^3 - t.
    const auto sdOfV = [](double m, double ties) {
        return std::sqrt(m * (m + 1) * (2 * m + 1) / 24 - ties / 48);
    };

    ScoreResult result;
    MethodNotes& notes = result.notes;
    const double ties = tieSum(d);
    notes.tiesInScores = ties > 0;
    const bool exactInterval = small && !notes.tiesInScores;
    notes.interval = exactInterval ? Reference::exact : Reference::normal;
    std::optional<ExactRankNull> null;
    if (exactInterval) null = ExactRankNull::signedRank(static_cast<int>(d.size()));
    const NullTail intervalTail = exactInterval ? NullTail(*null) : NullTail(count, sdOfV(n, ties));
    setInterval(averages, intervalRank(count, settings.alpha, intervalTail), intervalTail, settings,
                "Walsh averages", result);

    const auto test = [&](double bound, OneSidedTest& note) {
        const RankStatistic v = signedRank(d, bound);
        note.statistic = v.statistic;
        note.ties = v.ties;
        note.zeros = static_cast<long>(v.zeros);
        const double m = static_cast<double>(v.n);
        if (v.n <= exactRankLimit && !v.ties && v.zeros == 0) {
            note.reference = Reference::exact;
            if (null && v.n == static_cast<std::int64_t>(d.size()))
                return NullTail(*null).p(v.statistic);
            const ExactRankNull own = ExactRankNull::signedRank(static_cast<int>(v.n));
            return NullTail(own).p(v.statistic);
        }
        note.reference = Reference::normal;
        return NullTail(v.n * (v.n + 1) / 2, sdOfV(m, v.tieSum)).p(v.statistic);
    };
    const OneSidedP atLower = test(settings.lower, notes.lower);
    const OneSidedP atUpper = test(settings.upper, notes.upper);
    assign(settings, atLower, atUpper, result);

    notes.text = "Hodges-Lehmann shift: the median of the " + std::to_string(count) +
                 " Walsh averages of the differences (group 1 - group 2), with its " +
                 percent(result.level) + " interval at " + intervalWords(notes.interval) + ". " +
                 testWords(settings, "Wilcoxon signed-rank", "of the differences less", "", notes);
    if (!notes.unbounded.empty()) notes.text += " " + notes.unbounded;
    return result;
}

}  // namespace

ScoreResult rankIndependent(std::span<const double> group1, std::span<const double> group2,
                            const ScoreSettings& settings) {
    return onItsScale(group1, group2, settings, independent);
}

ScoreResult rankMatched(std::span<const double> group1, std::span<const double> group2,
                        const ScoreSettings& settings) {
    return onItsScale(group1, group2, settings, matched);
}

}  // namespace tarnwick::score_analysis
