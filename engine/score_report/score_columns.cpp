#include "score_columns.h"

#include <cmath>

#include "shortest_text.h"
#include "significant_text.h"

namespace tarnwick::score_report {
namespace {

constexpr std::string_view resultColumns[] = {"estimate", "ci_low", "ci_high",    "p_lower",
                                              "p_upper",  "p",      "conclusion", "method"};

// The method column stands alone: on the ratio scale it says first that
// the analysis ran on the logs and shows ratios.
std::string methodOnItsScale(const ScoreAnswers& answers, const AnalysisEntry& analysis,
                             const ScoreResult& result) {
    std::string method = analysis.methodColumn(answers, result);
    if (answers.settings.scale != score_analysis::Scale::ratio) return method;
    return "On the natural logs of the scores, estimate and interval taken back by exp as the "
           "ratio " +
           answers.label1 + " / " + answers.label2 + ": " + method;
}

}  // namespace

std::string numberText(double value, Digits digits) {
    if (value == 0) value = 0;  // no "-0"
    return digits == Digits::full ? number_text::shortestText(value)
                                  : number_text::significantText(value, 6);
}

std::vector<std::string> analysisColumns() {
    std::vector<std::string> columns;
    for (const AnalysisEntry& analysis : analysisTable()) {
        for (std::string_view column : resultColumns)
            columns.push_back(std::string(analysis.name) + "_" + std::string(column));
    }
    return columns;
}

std::vector<ColumnField> analysisFields(const ScoreAnswers& answers, Digits digits) {
    std::vector<ColumnField> fields;
    for (const Outcome& outcome : answers.outcomes) {
        const auto& result = outcome.result;
        if (!result) {
            fields.resize(fields.size() + std::size(resultColumns));
            continue;
        }
        // An unbounded interval end (infinite) has no number: an empty field,
        // null in JSON Lines; the method column says why.
        // A one-sided question's one test is in p; p_lower and p_upper,
        // the two tests of a two-sided one, are empty.
        const bool oneSided = score_analysis::isOneSided(answers.settings);
        for (double value :
             {result->estimate, result->low, result->high, oneSided ? HUGE_VAL : result->pLower,
              oneSided ? HUGE_VAL : result->pUpper, result->p})
            fields.push_back(
                {std::isfinite(value) ? numberText(value, digits) : std::string(), true});
        fields.push_back({std::string(decisionName(result->conclusion))});
        std::string method = methodOnItsScale(answers, *outcome.analysis, *result);
        if (!result->notes.unbounded.empty()) method += " " + result->notes.unbounded;
        fields.push_back({std::move(method)});
    }
    return fields;
}

std::string analysisProblems(const ScoreAnswers& answers) {
    std::vector<const Outcome*> failed;
    for (const Outcome& outcome : answers.outcomes)
        if (!outcome.result) failed.push_back(&outcome);
    if (failed.empty()) return {};
    bool oneReason = failed.size() == answers.outcomes.size();
    for (const Outcome* outcome : failed)
        oneReason = oneReason && outcome->problem == failed.front()->problem;
    if (oneReason) return failed.front()->problem;
    std::string message;
    for (const Outcome* outcome : failed) {
        if (!message.empty()) message += " ";
        message += std::string(outcome->analysis->name) + ": " + outcome->problem;
    }
    return message;
}

std::string analysisLines(const ScoreAnswers& answers, Digits digits) {
    const auto number = [&](double value) {
        if (std::isinf(value)) return std::string(value < 0 ? "-infinity" : "infinity");
        return numberText(value, digits);
    };
    std::string text;
    for (const Outcome& outcome : answers.outcomes) {
        const auto& result = outcome.result;
        if (!result) continue;
        text += "  " + std::string(outcome.analysis->name) + ": estimate " +
                number(result->estimate) + ", " + numberText(100 * result->level, Digits::shown) +
                "% interval [" + number(result->low) + ", " + number(result->high) + "], " +
                (score_analysis::isOneSided(answers.settings)
                     ? std::string()
                     : "p lower " + number(result->pLower) + ", p upper " + number(result->pUpper) +
                           ", ") +
                "p " + number(result->p) + ": " + std::string(decisionName(result->conclusion)) +
                "\n";
        if (!result->notes.unbounded.empty()) text += "    " + result->notes.unbounded + "\n";
    }
    return text;
}

}  // namespace tarnwick::score_report
