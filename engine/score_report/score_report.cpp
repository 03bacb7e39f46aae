#include "score_report.h"

#include <algorithm>
#include <cmath>

#include "apa_format.h"
#include "one_sided_words.h"
#include "rank_analysis.h"
#include "report_words.h"
#include "score_error.h"

namespace tarnwick::score_report {
namespace {

namespace apa = report::apa;
using score_analysis::Conclusion;
using score_analysis::Hypothesis;
using score_analysis::Reference;
using words::countWord;
using words::groupedCount;
using words::joined;
using words::plural;

bool isEquivalence(const ScoreAnswers& answers) {
    return answers.settings.hypothesis == Hypothesis::equivalence;
}

bool isOneSided(const ScoreAnswers& answers) {
    return score_analysis::isOneSided(answers.settings);
}

bool onRatios(const ScoreAnswers& answers) {
    return answers.settings.scale == score_analysis::Scale::ratio;
}

// "difference" or "ratio": what the bounds bound.
std::string effectNoun(const ScoreAnswers& answers) {
    return onRatios(answers) ? "ratio" : "difference";
}

std::string difference(const ScoreAnswers& answers) {
    return answers.label1 + (onRatios(answers) ? " / " : " - ") + answers.label2;
}

std::string estimateName(const AnalysisEntry& analysis, const ScoreAnswers& answers) {
    const std::string_view name =
        onRatios(answers)
            ? (answers.matched ? analysis.ratioMatched : analysis.ratioIndependent)
            : (answers.matched ? analysis.estimateMatched : analysis.estimateIndependent);
    return std::string(name) + " (" + difference(answers) + ")";
}

// A ratio in percent of group 2's, to two decimals: "88.14%".
std::string percentText(double ratio) {
    if (std::isinf(ratio)) return "infinity";
    return words::fixedText(100 * ratio, 2) + "%";
}

bool concludes(const ScoreResult& result) { return rejectsNull(result.conclusion); }

std::string rawNumber(double value, int decimals) { return apa::number(value, decimals); }

std::string boundText(double bound, int decimals) {
    return rawNumber(bound, apa::decimalsForExact(bound, decimals));
}

// Ratio bounds as entered, "0.80" and "1.25", beside ends to four decimals.
int boundDecimals(const ScoreAnswers& answers, int decimals) {
    return answers.settings.scale == score_analysis::Scale::ratio ? 2 : decimals;
}

// An end of an interval never written as a bound it differs from; an
// unbounded end (infinite) in words.
std::string endText(const ScoreAnswers& answers, double end, int decimals) {
    if (std::isinf(end)) return end < 0 ? "-infinity" : "infinity";
    return rawNumber(end, apa::decimalsApartFrom(end, decimals,
                                                 {answers.settings.lower, answers.settings.upper}));
}

std::string capitalised(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

// The margin as the report writes it: as a bound is written.
std::string marginText(const ScoreAnswers& answers) {
    return boundText(score_analysis::marginOf(answers.settings),
                     boundDecimals(answers, rawUnitDecimals(answers)));
}

// A one-sided question's conclusion: the shared sentence, naming the margin,
// the direction and the end of the interval that decides.
std::string oneSidedSentence(const ScoreAnswers& answers, const ScoreResult& result) {
    const bool above = score_analysis::sideOf(answers.settings) == score_analysis::Side::above;
    const double end = above ? result.low : result.high;
    const settings::OneSidedShown shown{
        marginText(answers),
        std::isinf(end) ? std::string() : endText(answers, end, rawUnitDecimals(answers)),
        apa::percent(result.level) + "%"};
    return capitalised(
               settings::oneSidedConclusion(score_analysis::testSettingsOf(answers.settings), shown,
                                            rejectsNull(result.conclusion))) +
           ".";
}

std::string conclusionSentence(const ScoreAnswers& answers, const ScoreResult& result) {
    if (isOneSided(answers)) return oneSidedSentence(answers, result);
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
            return "A " + effectNoun(answers) + " beyond the bounds is shown" + at + ": " + which +
                   ".";
        case Conclusion::notShownBeyondBounds:
            break;
        case Conclusion::nonInferior:
        case Conclusion::notShownNonInferior:
        case Conclusion::nonSuperior:
        case Conclusion::notShownNonSuperior:
        case Conclusion::superior:
        case Conclusion::notShownSuperior:
            break;  // one-sided questions have their own sentence
    }
    return "A " + effectNoun(answers) + " beyond the bounds is not shown" + at + ": " + which + ".";
}

// On the ratio scale the shapes are those of the logs, which the analyses see.
std::string shapeName(const ScoreAnswers& answers, std::size_t index) {
    if (answers.matched) return onRatios(answers) ? "the log ratios" : "the differences";
    const std::string& label = index == 0 ? answers.label1 : answers.label2;
    return onRatios(answers) ? "the logs of " + label : label;
}

bool shapeIsPlural(const ScoreAnswers& answers) { return answers.matched || onRatios(answers); }

// What in these scores may part the analyses, each a clause.
std::vector<std::string> partingFacts(const ScoreAnswers& answers,
                                      const std::vector<double>& parting) {
    std::vector<std::string> facts;
    for (std::size_t i = 0; i < answers.shapes.size(); ++i) {
        const ScoreShape& shape = answers.shapes[i];
        if (shape.skewness && std::fabs(*shape.skewness) >= strongSkew)
            facts.push_back(shapeName(answers, i) + (shapeIsPlural(answers) ? " are" : " is") +
                            " strongly skewed to the " + (*shape.skewness > 0 ? "right" : "left") +
                            " (skewness " + apa::number(*shape.skewness, 2) + ")");
    }
    for (std::size_t i = 0; i < answers.shapes.size(); ++i) {
        const long outliers = static_cast<long>(answers.shapes[i].outliers.size());
        if (outliers > 0)
            facts.push_back(shapeName(answers, i) + (shapeIsPlural(answers) ? " have " : " has ") +
                            plural(outliers, "score", "scores") +
                            " beyond 1.5 interquartile ranges from the quartiles");
    }
    std::vector<std::string> tied;
    for (std::size_t i = 0; i < answers.shapes.size(); ++i)
        if (answers.shapes[i].ties) tied.push_back(shapeName(answers, i));
    if (!tied.empty()) {
        std::string fact =
            answers.matched ? (onRatios(answers) ? "some log ratios tie" : "some differences tie")
                            : "scores tie within " +
                                  (tied.size() == 2 ? std::string("both groups") : tied.front());
        for (const Outcome& outcome : answers.outcomes) {
            const auto& result = outcome.result;
            if (outcome.analysis->tiesRuleOutExactInterval && result &&
                result->notes.tiesInScores && result->notes.interval == Reference::normal &&
                answers.n1 <= score_analysis::exactRankLimit &&
                answers.n2 <= score_analysis::exactRankLimit)
                fact += ", so the " + std::string(outcome.analysis->adjective) +
                        " interval uses the normal approximation";
        }
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

ScoreAnswers analyseScores(std::span<const double> group1, std::span<const double> group2,
                           bool matched, const ScoreSettings& settings,
                           const BootstrapSettings& bootstrap) {
    ScoreAnswers answers;
    answers.outcomes = emptyOutcomes();
    answers.matched = matched;
    answers.n1 = static_cast<long>(group1.size());
    answers.n2 = static_cast<long>(group2.size());
    answers.settings = settings;
    answers.bootstrap = bootstrap;
    for (Outcome& outcome : answers.outcomes) {
        try {
            outcome.result = outcome.analysis->run(group1, group2, matched, settings, bootstrap);
        } catch (const score_analysis::ScoreError& error) {
            outcome.problem = error.description();
        }
    }
    const auto finite = [](std::span<const double> scores) {
        return !scores.empty() &&
               std::all_of(scores.begin(), scores.end(), [](double s) { return std::isfinite(s); });
    };
    // The shapes of what the analyses see: on the ratio scale the logs,
    // when every score has one.
    std::vector<double> logs1, logs2;
    if (settings.scale == score_analysis::Scale::ratio) {
        const auto positive = [](std::span<const double> scores) {
            return std::all_of(scores.begin(), scores.end(), [](double s) { return s > 0; });
        };
        if (!positive(group1) || !positive(group2)) return answers;
        for (const double s : group1)
            logs1.push_back(std::log(s));
        for (const double s : group2)
            logs2.push_back(std::log(s));
        group1 = logs1;
        group2 = logs2;
    }
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

namespace {

constexpr int ratioDecimals = 4;

int unitDecimals(const ScoreAnswers& answers) {
    for (const Outcome& outcome : answers.outcomes) {
        const auto& result = outcome.result;
        if (outcome.analysis->setsRawDecimals && result && result->notes.standardError > 0)
            return apa::rawDecimals(result->notes.standardError);
    }
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

}  // namespace

int rawUnitDecimals(const ScoreAnswers& answers) {
    // Ratios to at least 4 decimals, so that in percent they keep the two
    // that bioequivalence reports use.
    if (onRatios(answers)) return std::max(ratioDecimals, unitDecimals(answers));
    return unitDecimals(answers);
}

std::string scoresLine(const ScoreAnswers& answers) {
    const int decimals = rawUnitDecimals(answers);
    std::string text = answers.matched
                           ? "Scores: " + plural(answers.n1, "pair", "pairs") + " of " +
                                 answers.label1 + " and " + answers.label2 + "."
                           : "Scores: " + answers.label1 + " (n = " + groupedCount(answers.n1) +
                                 ") and " + answers.label2 + " (n = " + groupedCount(answers.n2) +
                                 "), independent groups.";
    if (isOneSided(answers)) {
        const auto& s = answers.settings;
        text += " " + std::string(settings::hypothesisTitle(s.hypothesis)) + " test of the " +
                effectNoun(answers) + " " + difference(answers) + " against the margin " +
                marginText(answers);
        if (onRatios(answers)) text += " (" + percentText(score_analysis::marginOf(s)) + ")";
        text += ", " + std::string(settings::betterWord(s.better)) + " " + effectNoun(answers) +
                "s better";
    } else {
        text += std::string(isEquivalence(answers) ? " Equivalence test" : " Minimal-effect test") +
                " of the " + effectNoun(answers) + " " + difference(answers) +
                " against the bounds " +
                boundText(answers.settings.lower, boundDecimals(answers, decimals)) + " and " +
                boundText(answers.settings.upper, boundDecimals(answers, decimals));
        if (onRatios(answers))
            text += " (" + percentText(answers.settings.lower) + " to " +
                    percentText(answers.settings.upper) + ")";
    }
    text += ", alpha = " + apa::level(answers.settings.alpha) + ".";
    if (onRatios(answers))
        text +=
            " Every analysis runs on the natural logarithms of the scores; its estimate and "
            "interval are taken back by the exponential, as ratios.";
    return text;
}

std::vector<Outcome> emptyOutcomes() {
    std::vector<Outcome> outcomes;
    for (const AnalysisEntry& analysis : analysisTable())
        outcomes.push_back({&analysis, std::nullopt, {}});
    return outcomes;
}

std::string analysisParagraph(const ScoreAnswers& answers, const AnalysisEntry& analysis) {
    const Outcome& outcome = answers.outcome(analysis);
    const std::string title = std::string(analysis.title) + ". ";
    if (!outcome.result) return title + "Not computed: " + outcome.problem;
    const ScoreResult& result = *outcome.result;
    const int decimals = rawUnitDecimals(answers);
    const double alpha = answers.settings.alpha;
    std::string text = title + estimateName(analysis, answers) + " = " +
                       rawNumber(result.estimate, decimals) + ", " + apa::percent(result.level) +
                       "% CI [" + endText(answers, result.low, decimals) + ", " +
                       endText(answers, result.high, decimals) + "]";
    if (onRatios(answers))
        text += ", " + percentText(result.low) + " to " + percentText(result.high) + " of " +
                answers.label2;
    text += ". ";
    const int bounds = boundDecimals(answers, decimals);
    if (isOneSided(answers)) {
        const bool above = score_analysis::sideOf(answers.settings) == score_analysis::Side::above;
        text +=
            "Against the margin of " + marginText(answers) + ", " +
            analysis.statistic(answers, result, above ? result.notes.lower : result.notes.upper) +
            ", one-sided " + apa::pValue(result.p, alpha) + ". ";
    } else {
        text += "Against the lower bound of " + boundText(answers.settings.lower, bounds) + ", " +
                analysis.statistic(answers, result, result.notes.lower) + ", " +
                apa::pValue(result.pLower, alpha) + "; against the upper bound of " +
                boundText(answers.settings.upper, bounds) + ", " +
                analysis.statistic(answers, result, result.notes.upper) + ", " +
                apa::pValue(result.pUpper, alpha) + ". ";
    }
    text += conclusionSentence(answers, result) + " ";
    if (!result.notes.unbounded.empty()) text += result.notes.unbounded + " ";
    return text + analysis.method(answers, result);
}

std::string figureCaption(const ScoreAnswers& answers, const AnalysisEntry& analysis) {
    const auto& result = answers.outcome(analysis).result;
    std::string text = std::string(analysis.title) + ": ";
    if (!result) return text + "not computed";
    if (isOneSided(answers)) {
        const std::string shown = settings::hypothesisNoun(answers.settings.hypothesis);
        return text + (concludes(*result) ? shown + " shown" : shown + " not shown");
    }
    if (isEquivalence(answers))
        return text + (concludes(*result) ? "equivalent" : "equivalence not shown");
    return text + (concludes(*result) ? "beyond the bounds" : "not shown beyond the bounds");
}

std::string agreementSentence(const ScoreAnswers& answers) {
    const bool equivalence = isEquivalence(answers);
    std::vector<const AnalysisEntry*> shown, notShown;
    std::vector<double> parting;
    for (const Outcome& outcome : answers.outcomes) {
        const auto& result = outcome.result;
        if (!result) continue;
        (concludes(*result) ? shown : notShown).push_back(outcome.analysis);
        parting.push_back(result->p);
    }
    const long computed = static_cast<long>(shown.size() + notShown.size());
    if (computed == 0) return {};
    std::string what =
        equivalence ? "equivalence" : "that the " + effectNoun(answers) + " lies beyond the bounds";
    if (isOneSided(answers)) {
        what = settings::hypothesisNoun(answers.settings.hypothesis);
        what += " against the margin " + marginText(answers);
    }
    const std::string counted = computed == static_cast<long>(answers.outcomes.size())
                                    ? countWord(computed) + " analyses"
                                    : countWord(computed) + " analyses with results";
    if (notShown.empty()) {
        if (computed == 1)
            return "The one analysis with results, the " + std::string(shown.front()->adjective) +
                   ", concludes " + what + ".";
        return (computed == 2 ? "Both analyses with results" : "All " + counted) + " conclude " +
               what + ".";
    }
    if (shown.empty()) {
        if (computed == 1)
            return "The one analysis with results, the " +
                   std::string(notShown.front()->adjective) + ", does not conclude " + what + ".";
        return (computed == 2 ? std::string("Neither of the two analyses with results")
                              : "None of the " + counted) +
               " concludes " + what + ".";
    }
    const auto listed = [](const std::vector<const AnalysisEntry*>& list) {
        std::vector<std::string> names;
        for (const AnalysisEntry* analysis : list)
            names.emplace_back(analysis->adjective);
        return "the " + joined(names) + (list.size() == 1 ? " analysis" : " analyses");
    };
    std::string first = listed(shown);
    first[0] = 'T';
    std::string text = first + (shown.size() == 1 ? " concludes " : " conclude ") + what + "; " +
                       listed(notShown) + (notShown.size() == 1 ? " does not." : " do not.");
    text += onRatios(answers)
                ? " The analyses can part because they test different centres (geometric means, "
                  "20% trimmed geometric means, a shift of the logs' ranks) that weigh extreme "
                  "scores differently, and read their p values from different distributions."
                : " The analyses can part because they test different centres (means, 20% "
                  "trimmed means, a shift of ranks) that weigh extreme scores differently, and "
                  "read their p values from different distributions.";
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
    for (const AnalysisEntry& analysis : analysisTable())
        text += "\n\n" + analysisParagraph(answers, analysis);
    const std::string agreement = agreementSentence(answers);
    if (!agreement.empty()) text += "\n\n" + agreement;
    return text + "\n";
}

}  // namespace tarnwick::score_report
