#include "analysis_table.h"

#include <algorithm>
#include <cmath>

#include "apa_format.h"
#include "normal_theory_analysis.h"
#include "rank_analysis.h"
#include "report_words.h"
#include "score_report.h"
#include "trimmed_analysis.h"

namespace tarnwick::score_report {
namespace {

namespace apa = report::apa;
using score_analysis::Reference;
using words::fixedText;
using words::groupedCount;
using words::plural;

// --- The statistic against a bound, as the paragraph writes it.

std::string tStatistic(const ScoreAnswers&, const ScoreResult& result, const OneSidedTest& test) {
    return "t(" + apa::degreesOfFreedom(result.notes.df) + ") = " + apa::number(test.statistic, 2);
}

std::string bootstrapStatistic(const ScoreAnswers&, const ScoreResult&, const OneSidedTest& test) {
    return "t = " + apa::number(test.statistic, 2);
}

std::string rankStatistic(const ScoreAnswers& answers, const ScoreResult&,
                          const OneSidedTest& test) {
    // A count (of halves, with ties) in full and grouped, as the other
    // counts are: never in scientific notation.
    const bool whole = test.statistic == std::floor(test.statistic);
    std::string digits = apa::fixed(test.statistic, whole ? 0 : 1);
    for (auto at = static_cast<long>(whole ? digits.size() : digits.size() - 2) - 3; at > 0;
         at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return std::string(answers.matched ? "V" : "W") + " = " + digits;
}

// --- Words the program's method column shares between analyses. Numbers in
// them are written by std::to_chars, never through the C locale.

// "df 17.78", "df 7".
std::string dfWords(double df) {
    const bool whole = df == std::floor(df) && df < 1e15;
    return "df " + fixedText(df, whole ? 0 : 2);
}

// "90%", "97.5%": up to six decimals, no trailing zeros.
std::string percentWords(double level) {
    std::string text = fixedText(level * 100, 6);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
    return text + "%";
}

// A one-sided question runs one test, at the margin.
bool oneSided(const ScoreAnswers& answers) { return score_analysis::isOneSided(answers.settings); }

// "t tests", or "t test" for a one-sided question.
std::string tests(const ScoreAnswers& answers, std::string_view name) {
    return std::string(name) + (oneSided(answers) ? " test" : " tests");
}

// The rank test on the alternative's side of a one-sided question.
const OneSidedTest& decidingTest(const ScoreAnswers& answers, const ScoreResult& result) {
    return score_analysis::sideOf(answers.settings) == score_analysis::Side::above
               ? result.notes.lower
               : result.notes.upper;
}

// --- Normal theory.

bool pooled(const ScoreAnswers& answers) {
    return !answers.matched &&
           answers.settings.standardError == score_analysis::StandardError::pooled;
}

std::string normalMethod(const ScoreAnswers& answers, const ScoreResult& result) {
    const std::string df = "df = " + apa::degreesOfFreedom(result.notes.df);
    if (answers.matched)
        return tests(answers, "Paired t") +
               ": the standard error from the SD of the differences, " + df + ".";
    if (pooled(answers))
        return tests(answers, "Student's t") + ": the pooled standard error, " + df + ".";
    return tests(answers, "Welch's t") + ": Welch's standard error, " + df + ".";
}

std::string normalColumn(const ScoreAnswers& answers, const ScoreResult& result) {
    if (answers.matched)
        return tests(answers, "Paired t") +
               " of the mean difference: SD of the differences over the square "
               "root of the number of pairs, " +
               dfWords(result.notes.df) + ".";
    if (pooled(answers))
        return tests(answers, "Student's t") +
               " of the mean difference: the pooled standard error, " + dfWords(result.notes.df) +
               ".";
    return tests(answers, "Welch's t") + " of the mean difference: Welch's standard error, " +
           dfWords(result.notes.df) + ".";
}

ScoreResult runNormal(std::span<const double> x, std::span<const double> y, bool matched,
                      const ScoreSettings& settings, const BootstrapSettings&) {
    return matched ? score_analysis::normalTheoryMatched(x, y, settings)
                   : score_analysis::normalTheoryIndependent(x, y, settings);
}

// --- Rank-based.

constexpr std::string_view normalApproximation =
    "the normal approximation with tie and continuity corrections";

std::string rankTestReason(const OneSidedTest& test, bool matched, bool oneSided) {
    std::vector<std::string> reasons;
    if (test.ties) reasons.emplace_back("tied values after the shift");
    if (test.zeros > 0)
        reasons.push_back(plural(test.zeros, "difference", "differences") + " equal to the " +
                          (oneSided ? "margin" : "bound") + " left out");
    if (reasons.empty())
        reasons.emplace_back(matched ? "more than 50 pairs" : "more than 50 scores in a group");
    return words::joined(reasons);
}

std::string rankMethod(const ScoreAnswers& answers, const ScoreResult& result) {
    const auto& notes = result.notes;
    const bool matched = answers.matched;
    std::string text = "The interval is at ";
    if (notes.interval == Reference::exact)
        text += "the exact critical value of the rank distribution.";
    else
        text += std::string(normalApproximation) + " (" +
                (notes.tiesInScores
                     ? (matched ? "tied differences" : "tied scores")
                     : (matched ? "more than 50 pairs" : "more than 50 scores in a group")) +
                ").";
    const std::string tests = matched ? "Wilcoxon signed-rank test" : "Wilcoxon-Mann-Whitney test";
    const auto how = [&](const OneSidedTest& test) {
        return test.reference == Reference::exact
                   ? std::string("exact")
                   : "by " + std::string(normalApproximation) + " (" +
                         rankTestReason(test, matched, oneSided(answers)) + ")";
    };
    if (oneSided(answers))
        return text + " The " + tests + " against the margin is " +
               how(decidingTest(answers, result)) + ".";
    const std::string lower = how(notes.lower), upper = how(notes.upper);
    if (lower == upper)
        text += " Both " + tests + "s are " + lower + ".";
    else
        text += " The " + tests + " against the lower bound is " + lower +
                "; the one against the upper bound is " + upper + ".";
    return text;
}

std::string rankReferenceWords(const OneSidedTest& test) {
    if (test.reference == Reference::exact) return "exact";
    std::string text = "normal approximation";
    if (test.ties) text += ", tied values";
    if (test.zeros > 0)
        text += ", " + std::to_string(test.zeros) +
                (test.zeros == 1 ? " zero difference dropped" : " zero differences dropped");
    return text;
}

std::string rankColumn(const ScoreAnswers& answers, const ScoreResult& result) {
    const auto& notes = result.notes;
    const std::string interval = notes.interval == Reference::exact
                                     ? "the exact critical value"
                                     : "the normal critical value (continuity and tie corrections)";
    const std::string against = oneSided(answers) ? "the margin" : "each bound";
    const std::string tests = oneSided(answers)
                                  ? rankReferenceWords(decidingTest(answers, result)) + "."
                                  : "lower bound " + rankReferenceWords(notes.lower) +
                                        "; upper bound " + rankReferenceWords(notes.upper) + ".";
    const std::string testNames = oneSided(answers) ? " test" : " tests";
    if (answers.matched) {
        const long long n = answers.n1;
        return "Hodges-Lehmann shift: the median of the " + std::to_string(n * (n + 1) / 2) +
               " Walsh averages of the differences (group 1 - group 2), with its " +
               percentWords(result.level) + " interval at " + interval + ". Wilcoxon signed-rank" +
               testNames + " of the differences less " + against + ": " + tests;
    }
    return "Hodges-Lehmann shift: the median of the " +
           std::to_string(static_cast<long long>(answers.n1) * answers.n2) +
           " pairwise differences (group 1 - group 2), with its " + percentWords(result.level) +
           " interval at " + interval + ". Wilcoxon-Mann-Whitney" + testNames +
           " of group 1 less " + against + " against group 2: " + tests;
}

ScoreResult runRank(std::span<const double> x, std::span<const double> y, bool matched,
                    const ScoreSettings& settings, const BootstrapSettings&) {
    return matched ? score_analysis::rankMatched(x, y, settings)
                   : score_analysis::rankIndependent(x, y, settings);
}

// --- Trimmed means.

std::string trimmedMethod(const ScoreAnswers& answers, const ScoreResult& result) {
    const auto& notes = result.notes;
    const std::string df = "df = " + apa::degreesOfFreedom(notes.df);
    if (answers.matched)
        return "Trimmed by " + plural(notes.trimmed1, "difference", "differences") +
               " from each end; the standard error is from the winsorised variance, " + df + ".";
    return "Trimmed from each end: " + plural(notes.trimmed1, "score", "scores") + " of " +
           answers.label1 + " and " + groupedCount(notes.trimmed2) + " of " + answers.label2 +
           "; Yuen's standard error from the winsorised variances, " + df + ".";
}

std::string trimmedFromEachEnd(long g, std::string_view what) {
    return std::to_string(g) + (g == 1 ? " score" : " scores") + " trimmed from each end of " +
           std::string(what);
}

std::string trimmedColumn(const ScoreAnswers& answers, const ScoreResult& result) {
    const auto& notes = result.notes;
    if (answers.matched)
        return "Yuen's test of the 20% trimmed mean of the differences (" +
               trimmedFromEachEnd(notes.trimmed1, "the differences") +
               "), standard error from their winsorised variance, " + dfWords(notes.df) + ".";
    return "Yuen's test of 20% trimmed means (" + trimmedFromEachEnd(notes.trimmed1, "group 1") +
           ", " + trimmedFromEachEnd(notes.trimmed2, "group 2") +
           "), standard error from the winsorised variances, Yuen's " + dfWords(notes.df) + ".";
}

ScoreResult runTrimmed(std::span<const double> x, std::span<const double> y, bool matched,
                       const ScoreSettings& settings, const BootstrapSettings&) {
    return matched ? score_analysis::yuenMatched(x, y, settings)
                   : score_analysis::yuenIndependent(x, y, settings);
}

// --- Bootstrap-t.

std::string bootstrapMethod(const ScoreAnswers&, const ScoreResult& result) {
    const auto& notes = result.notes;
    std::string text = "Studentised bootstrap with B = " + groupedCount(notes.replicates) +
                       " replicates, seed " + std::to_string(notes.seed) +
                       "; each p value is (count + 1) / (B + 1).";
    if (notes.flatReplicates > 0)
        text += " " + plural(notes.flatReplicates, "replicate", "replicates") + " had no spread.";
    return text;
}

// m + 1, where the interval's ends are the (m + 1)-th t* from each end: m the
// largest count with (m + 1) / (B + 1) < alpha (bootstrap_analysis.h).
long bootstrapEndRank(long replicates, double alpha) {
    const double b = static_cast<double>(replicates);
    long m = static_cast<long>(std::floor(alpha * (b + 1))) - 1;
    while ((static_cast<double>(m + 1) + 1) / (b + 1) < alpha)
        ++m;
    while (m >= 0 && !((static_cast<double>(m) + 1) / (b + 1) < alpha))
        --m;
    return m + 1;
}

std::string bootstrapColumn(const ScoreAnswers& answers, const ScoreResult& result) {
    const auto& notes = result.notes;
    std::string text =
        answers.matched
            ? "Studentised bootstrap of the mean difference, the pairs resampled with replacement "
              "and each replicate divided by its own SD of the differences over the square root "
              "of n: "
            : "Studentised bootstrap of the mean difference, each group resampled with "
              "replacement and each replicate divided by its own Welch standard error: ";
    text += "B = " + std::to_string(notes.replicates) + " replicates, seed " +
            std::to_string(notes.seed) + "; p values (count + 1) / (B + 1), interval ends at the " +
            words::ordinal(bootstrapEndRank(notes.replicates, answers.settings.alpha)) +
            " t* from each end";
    if (notes.flatReplicates > 0)
        text += "; " + std::to_string(notes.flatReplicates) +
                (notes.flatReplicates == 1 ? " replicate" : " replicates") + " had no spread";
    return text + ".";
}

ScoreResult runBootstrap(std::span<const double> x, std::span<const double> y, bool matched,
                         const ScoreSettings& settings, const BootstrapSettings& bootstrap) {
    return matched ? score_analysis::bootstrapMatched(x, y, settings, bootstrap)
                   : score_analysis::bootstrapIndependent(x, y, settings, bootstrap);
}

const AnalysisEntry table[] = {
    {.name = "normal",
     .title = "Normal theory",
     .adjective = "normal-theory",
     .estimateIndependent = "Mean difference",
     .estimateMatched = "Mean of the differences",
     .ratioIndependent = "Ratio of the geometric means",
     .ratioMatched = "Geometric mean of the ratios",
     .statistic = tStatistic,
     .method = normalMethod,
     .methodColumn = normalColumn,
     .run = runNormal,
     .setsRawDecimals = true},
    {.name = "rank",
     .title = "Rank-based",
     .adjective = "rank-based",
     .estimateIndependent = "Hodges-Lehmann shift",
     .estimateMatched = "Hodges-Lehmann shift",
     .ratioIndependent = "Hodges-Lehmann median ratio",
     .ratioMatched = "Hodges-Lehmann median ratio",
     .statistic = rankStatistic,
     .method = rankMethod,
     .methodColumn = rankColumn,
     .run = runRank,
     .tiesRuleOutExactInterval = true},
    {.name = "trimmed",
     .title = "Trimmed means",
     .adjective = "trimmed-means",
     .estimateIndependent = "Difference of the 20% trimmed means",
     .estimateMatched = "20% trimmed mean of the differences",
     .ratioIndependent = "Ratio of the 20% trimmed geometric means",
     .ratioMatched = "20% trimmed geometric mean of the ratios",
     .statistic = tStatistic,
     .method = trimmedMethod,
     .methodColumn = trimmedColumn,
     .run = runTrimmed},
    {.name = "bootstrap",
     .title = "Bootstrap-t",
     .adjective = "bootstrap",
     .estimateIndependent = "Mean difference",
     .estimateMatched = "Mean of the differences",
     .ratioIndependent = "Ratio of the geometric means",
     .ratioMatched = "Geometric mean of the ratios",
     .statistic = bootstrapStatistic,
     .method = bootstrapMethod,
     .methodColumn = bootstrapColumn,
     .run = runBootstrap},
};

}  // namespace

std::span<const AnalysisEntry> analysisTable() { return table; }

std::string analysisAdjectives() {
    std::vector<std::string> adjectives;
    for (const AnalysisEntry& entry : table)
        adjectives.emplace_back(entry.adjective);
    return words::joined(adjectives);
}

const AnalysisEntry* analysisNamed(std::string_view name) {
    for (const AnalysisEntry& entry : table)
        if (entry.name == name) return &entry;
    return nullptr;
}

}  // namespace tarnwick::score_report
