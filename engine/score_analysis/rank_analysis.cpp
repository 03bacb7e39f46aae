#include "rank_analysis.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "pairwise_selection.h"
#include "rank_null_distribution.h"
#include "rank_statistic.h"
#include "reference_distributions.h"
#include "score_checks.h"
#include "score_sort.h"

namespace tarnwick::score_analysis {
namespace {

struct OneSidedP {
    double greater = 1, less = 1;
};

// The normal approximation's p values for a statistic with null mean `mean`
// and SD `sd`, corrected for continuity by 1/2 towards the mean.
OneSidedP normalP(double statistic, double mean, double sd) {
    const double z = statistic - mean;
    return {normalUpperTail((z - 0.5) / sd), normalLowerTail((z + 0.5) / sd)};
}

OneSidedP exactP(const ExactRankNull& null, double statistic) {
    return {null.upperTail(statistic), null.lowerTail(statistic)};
}

// The rank of the interval's lower end among `count` ordered values, at the
// normal critical value: the standardised statistic (S - count / 2 - 1/2) / sd
// crosses z at S = c, which the step function #{values > shift} passes at the
// (count - floor(c))-th value. Clamped to [1, count], as R clamps its root to
// the range of the values.
std::int64_t normalLowRank(std::int64_t count, double sd, double alpha) {
    const double n = static_cast<double>(count);
    const double c = n / 2 + 0.5 + normalUpperPoint(alpha) * sd;
    const double rank = n - std::floor(c);
    return static_cast<std::int64_t>(std::clamp(rank, 1.0, n));
}

void assign(const ScoreSettings& settings, const OneSidedP& atLower, const OneSidedP& atUpper,
            ScoreResult& result) {
    if (settings.hypothesis == Hypothesis::equivalence) {
        result.pLower = atLower.greater;
        result.pUpper = atUpper.less;
    } else {
        result.pLower = atLower.less;
        result.pUpper = atUpper.greater;
    }
    conclude(settings, result);
}

std::string percent(double level) {
    std::string text = std::to_string(level * 100);
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

std::string intervalWords(Reference reference) {
    return reference == Reference::exact ? "the exact critical value"
                                         : "the normal critical value (continuity and tie "
                                           "corrections)";
}

void checkShiftable(std::span<const double> sorted, const ScoreSettings& settings,
                    std::string_view what) {
    for (const double bound : {settings.lower, settings.upper}) {
        finiteOrTooLarge(sorted.front() - bound, what);
        finiteOrTooLarge(sorted.back() - bound, what);
    }
}

}  // namespace

ScoreResult rankIndependent(std::span<const double> group1, std::span<const double> group2,
                            const ScoreSettings& settings) {
    checkSettings(settings);
    checkIndependent(group1, group2);
    const std::vector<double> x = sortedCopy(group1), y = sortedCopy(group2);
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
    std::int64_t lowRank = 0;
    if (small && !notes.tiesInScores) {
        notes.interval = Reference::exact;
        lowRank = std::max(1L, null->quantile(settings.alpha));
    } else {
        notes.interval = Reference::normal;
        lowRank = normalLowRank(count, sdOfW(withinTies), settings.alpha);
    }
    const MedianAndEnds shift = differences.medianAndEnds(lowRank, count + 1 - lowRank);
    result.estimate = shift.median;
    result.low = shift.low;
    result.high = shift.high;

    const auto test = [&](double bound, OneSidedTest& note) {
        const RankStatistic w = rankSum(x, y, bound);
        note.statistic = w.statistic;
        note.ties = w.ties;
        if (small && !w.ties) {
            note.reference = Reference::exact;
            return exactP(*null, w.statistic);
        }
        note.reference = Reference::normal;
        return normalP(w.statistic, n1 * n2 / 2, sdOfW(w.tieSum));
    };
    const OneSidedP atLower = test(settings.lower, notes.lower);
    const OneSidedP atUpper = test(settings.upper, notes.upper);
    assign(settings, atLower, atUpper, result);

    notes.text = "Hodges-Lehmann shift: the median of the " + std::to_string(count) +
                 " pairwise differences (group 1 - group 2), with its " + percent(result.level) +
                 " interval at " + intervalWords(notes.interval) +
                 ". Wilcoxon-Mann-Whitney tests of group 1 less each bound against group 2: "
                 "lower bound " +
                 referenceWords(notes.lower) + "; upper bound " + referenceWords(notes.upper) + ".";
    return result;
}

ScoreResult rankMatched(std::span<const double> group1, std::span<const double> group2,
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
    std::int64_t lowRank = 0;
    if (small && !notes.tiesInScores) {
        notes.interval = Reference::exact;
        lowRank = std::max(
            1L, ExactRankNull::signedRank(static_cast<int>(d.size())).quantile(settings.alpha));
    } else {
        notes.interval = Reference::normal;
        lowRank = normalLowRank(count, sdOfV(n, ties), settings.alpha);
    }
    const MedianAndEnds shift = averages.medianAndEnds(lowRank, count + 1 - lowRank);
    result.estimate = shift.median;
    result.low = shift.low;
    result.high = shift.high;

    const auto test = [&](double bound, OneSidedTest& note) {
        const RankStatistic v = signedRank(d, bound);
        note.statistic = v.statistic;
        note.ties = v.ties;
        note.zeros = static_cast<long>(v.zeros);
        const double m = static_cast<double>(v.n);
        if (v.n <= exactRankLimit && !v.ties && v.zeros == 0) {
            note.reference = Reference::exact;
            return exactP(ExactRankNull::signedRank(static_cast<int>(v.n)), v.statistic);
        }
        note.reference = Reference::normal;
        return normalP(v.statistic, m * (m + 1) / 4, sdOfV(m, v.tieSum));
    };
    const OneSidedP atLower = test(settings.lower, notes.lower);
    const OneSidedP atUpper = test(settings.upper, notes.upper);
    assign(settings, atLower, atUpper, result);

    notes.text = "Hodges-Lehmann shift: the median of the " + std::to_string(count) +
                 " Walsh averages of the differences (group 1 - group 2), with its " +
                 percent(result.level) + " interval at " + intervalWords(notes.interval) +
                 ". Wilcoxon signed-rank tests of the differences less each bound: lower bound " +
                 referenceWords(notes.lower) + "; upper bound " + referenceWords(notes.upper) + ".";
    return result;
}

}  // namespace tarnwick::score_analysis
