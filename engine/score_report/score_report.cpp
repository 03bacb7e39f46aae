#include "score_report.h"

#include <algorithm>
#include <cmath>

#include "apa_format.h"
#include "rank_analysis.h"
#include "score_error.h"

namespace tarnwick::score_report {
namespace {

namespace apa = report::apa;
using score_analysis::Conclusion;
using score_analysis::Hypothesis;
using score_analysis::OneSidedTest;
using score_analysis::Reference;

bool isEquivalence(const ScoreAnswers& answers) {
    return answers.settings.hypothesis == Hypothesis::equivalence;
}

std::string countWord(long count) {
    static constexpr std::string_view words[] = {"no", "one", "two", "three", "four"};
    if (count >= 0 && count < 5) return std::string(words[count]);
    return std::to_string(count);
}

// "10,000": a count people read, never type back.
std::string groupedCount(long count) {
    std::string digits = std::to_string(count);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return digits;
}

std::string plural(long count, std::string_view one, std::string_view many) {
    return groupedCount(count) + " " + std::string(count == 1 ? one : many);
}

// "a", "a and b", "a, b and c".
std::string joined(const std::vector<std::string>& items, std::string_view last = " and ") {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) text += i + 1 == items.size() ? std::string(last) : std::string(", ");
        text += items[i];
    }
    return text;
}

// The adjective the agreement sentence lists analyses by.
std::string_view analysisAdjective(Analysis analysis) {
    switch (analysis) {
        case Analysis::normal:
            return "normal-theory";
        case Analysis::rank:
            return "rank-based";
        case Analysis::trimmed:
            return "trimmed-means";
        case Analysis::bootstrap:
            break;
    }
    return "bootstrap";
}

std::string difference(const ScoreAnswers& answers) {
    return answers.label1 + " - " + answers.label2;
}

std::string rawNumber(double value, int decimals) { return apa::number(value, decimals); }

std::string boundText(double bound, int decimals) {
    return rawNumber(bound, apa::decimalsForExact(bound, decimals));
}

// An end of an interval never written as a bound it differs from; an
// unbounded end (infinite) in words.
std::string endText(const ScoreAnswers& answers, double end, int decimals) {
    if (std::isinf(end)) return end < 0 ? "-infinity" : "infinity";
    return rawNumber(end, apa::decimalsApartFrom(end, decimals,
                                                 {answers.settings.lower, answers.settings.upper}));
}

std::string statisticText(Analysis analysis, const ScoreAnswers& answers, const ScoreResult& result,
                          const OneSidedTest& test) {
    if (analysis == Analysis::rank) {
        // A count (of halves, with ties) in full and grouped, as the other
        // counts are: never in scientific notation.
        const bool whole = test.statistic == std::floor(test.statistic);
        std::string digits = apa::fixed(test.statistic, whole ? 0 : 1);
        for (auto at = static_cast<long>(whole ? digits.size() : digits.size() - 2) - 3; at > 0;
             at -= 3)
            digits.insert(static_cast<std::size_t>(at), ",");
        return std::string(answers.matched ? "V" : "W") + " = " + digits;
    }
    if (analysis == Analysis::bootstrap) return "t = " + apa::number(test.statistic, 2);
    return "t(" + apa::degreesOfFreedom(result.notes.df) + ") = " + apa::number(test.statistic, 2);
}

std::string estimateName(Analysis analysis, const ScoreAnswers& answers) {
    const std::string of = " (" + difference(answers) + ")";
    switch (analysis) {
        case Analysis::normal:
        case Analysis::bootstrap:
            return (answers.matched ? "Mean of the differences" : "Mean difference") + of;
        case Analysis::rank:
            return "Hodges-Lehmann shift" + of;
        case Analysis::trimmed:
            break;
    }
    return (answers.matched ? "20% trimmed mean of the differences"
                            : "Difference of the 20% trimmed means") +
           of;
}

std::string conclusionSentence(const ScoreAnswers& answers, const ScoreResult& result) {
    const double alpha = answers.settings.alpha;
    const std::string at = " at alpha = " + apa::level(alpha);
    const bool lowerSignificant = result.pLower < alpha, upperSignificant = result.pUpper < alpha;
    std::string which;
    if (lowerSignificant && upperSignificant)
        which = "both one-sided tests are significant";
    else if (lowerSignificant)
        which = isEquivalence(answers) ? "the test against the upper bound is not significant"
                                       : "the test against the lower bound is significant";
    else if (upperSignificant)
        which = isEquivalence(answers) ? "the test against the lower bound is not significant"
                                       : "the test against the upper bound is significant";
    else
        which = "neither one-sided test is significant";
    switch (result.conclusion) {
        case Conclusion::equivalent:
            return "Equivalence is shown" + at + ": " + which + ".";
        case Conclusion::notShownEquivalent:
            return "Equivalence is not shown" + at + ": " + which + ".";
        case Conclusion::beyondBounds:
            return "A difference beyond the bounds is shown" + at + ": " + which + ".";
        case Conclusion::notShownBeyondBounds:
            break;
    }
    return "A difference beyond the bounds is not shown" + at + ": " + which + ".";
}

std::string rankTestReason(const OneSidedTest& test, bool matched) {
    std::vector<std::string> reasons;
    if (test.ties) reasons.emplace_back("tied values after the shift");
    if (test.zeros > 0)
        reasons.push_back(plural(test.zeros, "difference", "differences") +
                          " equal to the bound left out");
    if (reasons.empty())
        reasons.emplace_back(matched ? "more than 50 pairs" : "more than 50 scores in a group");
    return joined(reasons);
}

constexpr std::string_view normalApproximation =
    "the normal approximation with tie and continuity corrections";

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
        return test.reference == Reference::exact ? std::string("exact")
                                                  : "by " + std::string(normalApproximation) +
                                                        " (" + rankTestReason(test, matched) + ")";
    };
    const std::string lower = how(notes.lower), upper = how(notes.upper);
    if (lower == upper)
        text += " Both " + tests + "s are " + lower + ".";
    else
        text += " The " + tests + " against the lower bound is " + lower +
                "; the one against the upper bound is " + upper + ".";
    return text;
}

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

std::string bootstrapMethod(const ScoreResult& result) {
    const auto& notes = result.notes;
    std::string text = "Studentised bootstrap with B = " + groupedCount(notes.replicates) +
                       " replicates, seed " + std::to_string(notes.seed) +
                       "; each p value is (count + 1) / (B + 1).";
    if (notes.flatReplicates > 0)
        text += " " + plural(notes.flatReplicates, "replicate", "replicates") + " had no spread.";
    return text;
}

std::string normalMethod(const ScoreAnswers& answers, const ScoreResult& result) {
    const std::string df = "df = " + apa::degreesOfFreedom(result.notes.df);
    if (answers.matched)
        return "Paired t tests: the standard error from the SD of the differences, " + df + ".";
    return "Welch's t tests: Welch's standard error, " + df + ".";
}

std::string shapeName(const ScoreAnswers& answers, std::size_t index) {
    if (answers.matched) return "the differences";
    return index == 0 ? answers.label1 : answers.label2;
}

// What in these scores may part the analyses, each a clause.
std::vector<std::string> partingFacts(const ScoreAnswers& answers,
                                      const std::vector<double>& parting) {
    std::vector<std::string> facts;
    for (std::size_t i = 0; i < answers.shapes.size(); ++i) {
        const ScoreShape& shape = answers.shapes[i];
        if (shape.skewness && std::fabs(*shape.skewness) >= strongSkew)
            facts.push_back(shapeName(answers, i) + (answers.matched ? " are" : " is") +
                            " strongly skewed to the " + (*shape.skewness > 0 ? "right" : "left") +
                            " (skewness " + apa::number(*shape.skewness, 2) + ")");
    }
    for (std::size_t i = 0; i < answers.shapes.size(); ++i) {
        const long outliers = static_cast<long>(answers.shapes[i].outliers.size());
        if (outliers > 0)
            facts.push_back(shapeName(answers, i) + (answers.matched ? " have " : " has ") +
                            plural(outliers, "score", "scores") +
                            " beyond 1.5 interquartile ranges from the quartiles");
    }
    std::vector<std::string> tied;
    for (std::size_t i = 0; i < answers.shapes.size(); ++i)
        if (answers.shapes[i].ties) tied.push_back(shapeName(answers, i));
    if (!tied.empty()) {
        std::string fact = answers.matched
                               ? "some differences tie"
                               : "scores tie within " +
                                     (tied.size() == 2 ? std::string("both groups") : tied.front());
        const auto& rank = answers.outcome(Analysis::rank).result;
        if (rank && rank->notes.tiesInScores && rank->notes.interval == Reference::normal &&
            answers.n1 <= score_analysis::exactRankLimit &&
            answers.n2 <= score_analysis::exactRankLimit)
            fact += ", so the rank-based interval uses the normal approximation";
        facts.push_back(fact);
    }
    if (!parting.empty()) {
        const double alpha = answers.settings.alpha;
        const auto [low, high] = std::minmax_element(parting.begin(), parting.end());
        if (*low >= alpha / 2 && *high <= 2 * alpha)
            facts.push_back("the tests' p values lie between " +
                            apa::pValue(*low, alpha).substr(4) + " and " +
                            apa::pValue(*high, alpha).substr(4) + ", close to alpha");
    }
    return facts;
}

}  // namespace

std::string_view analysisTitle(Analysis analysis) {
    switch (analysis) {
        case Analysis::normal:
            return "Normal theory";
        case Analysis::rank:
            return "Rank-based";
        case Analysis::trimmed:
            return "Trimmed means";
        case Analysis::bootstrap:
            break;
    }
    return "Bootstrap-t";
}

ScoreAnswers analyseScores(std::span<const double> group1, std::span<const double> group2,
                           bool matched, const ScoreSettings& settings,
                           const BootstrapSettings& bootstrap) {
    ScoreAnswers answers;
    answers.matched = matched;
    answers.n1 = static_cast<long>(group1.size());
    answers.n2 = static_cast<long>(group2.size());
    answers.settings = settings;
    answers.bootstrap = bootstrap;
    for (Analysis analysis : analyses) {
        Outcome& outcome = answers.outcomes[static_cast<std::size_t>(analysis)];
        try {
            outcome.result = runAnalysis(analysis, group1, group2, matched, settings, bootstrap);
        } catch (const score_analysis::ScoreError& error) {
            outcome.problem = error.description();
        }
    }
    const auto finite = [](std::span<const double> scores) {
        return !scores.empty() &&
               std::all_of(scores.begin(), scores.end(), [](double s) { return std::isfinite(s); });
    };
    if (matched) {
        std::vector<double> d;
        for (std::size_t i = 0; i < std::min(group1.size(), group2.size()); ++i)
            d.push_back(group1[i] - group2[i]);
        if (finite(d)) answers.shapes.push_back(scoreShape(d));
    } else if (finite(group1) && finite(group2)) {
        answers.shapes.push_back(scoreShape(group1));
        answers.shapes.push_back(scoreShape(group2));
    }
    return answers;
}

int rawUnitDecimals(const ScoreAnswers& answers) {
    const auto& normal = answers.outcome(Analysis::normal).result;
    if (normal && normal->notes.standardError > 0)
        return apa::rawDecimals(normal->notes.standardError);
    // Without the t test's SE, a quarter of the narrowest interval stands in.
    double narrowest = 0;
    for (const Outcome& outcome : answers.outcomes) {
        if (!outcome.result) continue;
        const double width = outcome.result->high - outcome.result->low;
        if (width > 0 && std::isfinite(width) && (narrowest == 0 || width < narrowest))
            narrowest = width;
    }
    return apa::rawDecimals(narrowest > 0 ? narrowest / 4 : 1);
}

std::string scoresLine(const ScoreAnswers& answers) {
    const int decimals = rawUnitDecimals(answers);
    std::string text = answers.matched
                           ? "Scores: " + plural(answers.n1, "pair", "pairs") + " of " +
                                 answers.label1 + " and " + answers.label2 + "."
                           : "Scores: " + answers.label1 + " (n = " + groupedCount(answers.n1) +
                                 ") and " + answers.label2 + " (n = " + groupedCount(answers.n2) +
                                 "), independent groups.";
    text += std::string(isEquivalence(answers) ? " Equivalence test" : " Minimal-effect test") +
            " of the difference " + difference(answers) + " against the bounds " +
            boundText(answers.settings.lower, decimals) + " and " +
            boundText(answers.settings.upper, decimals) +
            ", alpha = " + apa::level(answers.settings.alpha) + ".";
    return text;
}

std::string analysisParagraph(const ScoreAnswers& answers, Analysis analysis) {
    const Outcome& outcome = answers.outcome(analysis);
    const std::string title = std::string(analysisTitle(analysis)) + ". ";
    if (!outcome.result) return title + "Not computed: " + outcome.problem;
    const ScoreResult& result = *outcome.result;
    const int decimals = rawUnitDecimals(answers);
    const double alpha = answers.settings.alpha;
    std::string text = title + estimateName(analysis, answers) + " = " +
                       rawNumber(result.estimate, decimals) + ", " + apa::percent(result.level) +
                       "% CI [" + endText(answers, result.low, decimals) + ", " +
                       endText(answers, result.high, decimals) + "]. ";
    text += "Against the lower bound of " + boundText(answers.settings.lower, decimals) + ", " +
            statisticText(analysis, answers, result, result.notes.lower) + ", " +
            apa::pValue(result.pLower, alpha) + "; against the upper bound of " +
            boundText(answers.settings.upper, decimals) + ", " +
            statisticText(analysis, answers, result, result.notes.upper) + ", " +
            apa::pValue(result.pUpper, alpha) + ". ";
    text += conclusionSentence(answers, result) + " ";
    if (!result.notes.unbounded.empty()) text += result.notes.unbounded + " ";
    switch (analysis) {
        case Analysis::normal:
            text += normalMethod(answers, result);
            break;
        case Analysis::rank:
            text += rankMethod(answers, result);
            break;
        case Analysis::trimmed:
            text += trimmedMethod(answers, result);
            break;
        case Analysis::bootstrap:
            text += bootstrapMethod(result);
            break;
    }
    return text;
}

std::string agreementSentence(const ScoreAnswers& answers) {
    const bool equivalence = isEquivalence(answers);
    std::vector<Analysis> shown, notShown;
    std::vector<double> parting;
    for (Analysis analysis : analyses) {
        const auto& result = answers.outcome(analysis).result;
        if (!result) continue;
        const bool concludes = result->conclusion == Conclusion::equivalent ||
                               result->conclusion == Conclusion::beyondBounds;
        (concludes ? shown : notShown).push_back(analysis);
        parting.push_back(result->p);
    }
    const long computed = static_cast<long>(shown.size() + notShown.size());
    if (computed == 0) return {};
    const std::string what =
        equivalence ? "equivalence" : "that the difference lies beyond the bounds";
    const std::string counted =
        computed == 4 ? "four analyses" : countWord(computed) + " analyses with results";
    if (notShown.empty()) {
        if (computed == 1)
            return "The one analysis with results, the " +
                   std::string(analysisAdjective(shown.front())) + ", concludes " + what + ".";
        return (computed == 2 ? "Both analyses with results" : "All " + counted) + " conclude " +
               what + ".";
    }
    if (shown.empty()) {
        if (computed == 1)
            return "The one analysis with results, the " +
                   std::string(analysisAdjective(notShown.front())) + ", does not conclude " +
                   what + ".";
        return (computed == 2 ? std::string("Neither of the two analyses with results")
                              : "None of the " + counted) +
               " concludes " + what + ".";
    }
    const auto listed = [](const std::vector<Analysis>& list) {
        std::vector<std::string> names;
        for (Analysis analysis : list)
            names.emplace_back(analysisAdjective(analysis));
        return "the " + joined(names) + (list.size() == 1 ? " analysis" : " analyses");
    };
    std::string first = listed(shown);
    first[0] = 'T';
    std::string text = first + (shown.size() == 1 ? " concludes " : " conclude ") + what + "; " +
                       listed(notShown) + (notShown.size() == 1 ? " does not." : " do not.");
    text +=
        " The analyses can part because they test different centres (means, 20% trimmed means, a "
        "shift of ranks) that weigh extreme scores differently, and read their p values from "
        "different distributions.";
    const std::vector<std::string> facts = partingFacts(answers, parting);
    if (facts.empty())
        text +=
            " These scores show no strong skew, no scores beyond 1.5 interquartile ranges "
            "from the quartiles and no ties, so the methods alone part them.";
    else
        text += " Here " + joined(facts) + ".";
    return text;
}

std::string scoreReportText(const ScoreAnswers& answers) {
    std::string text = scoresLine(answers);
    for (Analysis analysis : analyses)
        text += "\n\n" + analysisParagraph(answers, analysis);
    const std::string agreement = agreementSentence(answers);
    if (!agreement.empty()) text += "\n\n" + agreement;
    return text + "\n";
}

}  // namespace tarnwick::score_report
