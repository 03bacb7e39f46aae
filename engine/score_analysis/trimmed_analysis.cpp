#include "trimmed_analysis.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "ratio_scale.h"
#include "score_checks.h"
#include "score_error.h"
#include "score_moments.h"
#include "score_reference.h"
#include "score_sort.h"
#include "t_tests.h"

namespace tarnwick::score_analysis {
namespace {

struct Trimmed {
    double mean = 0;
    double rootD = 0;  // sqrt(d) = s_w sqrt((n - 1) / (h (h - 1))), which cannot overflow
    long g = 0, h = 0;
};

// The scores kept after trimming floor(0.2 n) from each end of sorted ones.
std::span<const double> keptScores(const std::vector<double>& sorted) {
    const std::size_t g = sorted.size() / 5;
    return std::span<const double>(sorted).subspan(g, sorted.size() - 2 * g);
}

// The trimmed mean and winsorised spread of sorted scores, less `reference`
// (0 for none): the scores are winsorised first, so that only the kept
// scores, never those trimmed away, are ever subtracted from.
Trimmed trim(std::vector<double> sorted, double reference = 0) {
    Trimmed t;
    const long n = static_cast<long>(sorted.size());
    t.g = n / 5;  // floor(0.2 n), in whole numbers
    t.h = n - 2 * t.g;
    const std::span<const double> kept = keptScores(sorted);
    const double lowest = kept.front(), highest = kept.back();
    for (double& x : sorted)
        x = std::clamp(x, lowest, highest) - reference;
    t.mean = meanAndSd(keptScores(sorted)).mean;
    const double sw = meanAndSd(sorted).sd;
    const double h = static_cast<double>(t.h);
    t.rootD = sw * std::sqrt((static_cast<double>(n) - 1) / (h * (h - 1)));
    return t;
}

const char* const noWinsorisedSpread =
    "After 20% of the scores are trimmed from each end, the winsorised scores do not vary, so "
    "the trimmed means have no standard error.";

std::string trimmedWords(long g, const char* what) {
    return std::to_string(g) + (g == 1 ? " score" : " scores") + " trimmed from each end of " +
           what;
}

ScoreResult independent(std::span<const double> group1, std::span<const double> group2,
                        const ScoreSettings& settings) {
    checkSettings(settings);
    checkIndependent(group1, group2);
    // Less a common reference taken from the kept scores alone, so that
    // scores trimmed away change nothing.
    std::vector<double> sorted1 = sortedCopy(group1), sorted2 = sortedCopy(group2);
    const double reference = commonReference(keptScores(sorted1), keptScores(sorted2));
    const Trimmed t1 = trim(std::move(sorted1), reference),
                  t2 = trim(std::move(sorted2), reference);
    const double se = std::hypot(t1.rootD, t2.rootD);
    if (se == 0) throw ScoreError(ScoreErrorNumber::noSpread, noWinsorisedSpread);
    finiteOrTooLarge(se, "the standard error");
    const double df = combinedDf(t1.rootD, static_cast<double>(t1.h - 1), t2.rootD,
                                 static_cast<double>(t2.h - 1));
    const double estimate = finiteOrTooLarge(t1.mean - t2.mean, "the difference of trimmed means");
    ScoreResult result = tTests(estimate, se, df, settings);
    result.notes.trimmed1 = t1.g;
    result.notes.trimmed2 = t2.g;
    result.notes.text = "Yuen's test of 20% trimmed means (" + trimmedWords(t1.g, "group 1") +
                        ", " + trimmedWords(t2.g, "group 2") +
                        "), standard error from the winsorised variances, Yuen's " + dfText(df) +
                        ".";
    return result;
}

ScoreResult matched(std::span<const double> group1, std::span<const double> group2,
                    const ScoreSettings& settings) {
    checkSettings(settings);
    std::vector<double> d = matchedDifferences(group1, group2);
    sortScores(d);
    const Trimmed t = trim(std::move(d));
    if (t.rootD == 0) throw ScoreError(ScoreErrorNumber::noSpread, noWinsorisedSpread);
    const double df = static_cast<double>(t.h - 1);
    ScoreResult result =
        tTests(t.mean, finiteOrTooLarge(t.rootD, "the standard error"), df, settings);
    result.notes.trimmed1 = t.g;
    result.notes.text = "Yuen's test of the 20% trimmed mean of the differences (" +
                        trimmedWords(t.g, "the differences") +
                        "), standard error from their winsorised variance, " + dfText(df) + ".";
    return result;
}

}  // namespace

ScoreResult yuenIndependent(std::span<const double> group1, std::span<const double> group2,
                            const ScoreSettings& settings) {
    return onItsScale(group1, group2, settings, independent);
}

ScoreResult yuenMatched(std::span<const double> group1, std::span<const double> group2,
                        const ScoreSettings& settings) {
    return onItsScale(group1, group2, settings, matched);
}

}  // namespace tarnwick::score_analysis
