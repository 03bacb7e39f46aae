#include "study_answer.h"

#include <charconv>
#include <cmath>

#include "score_error.h"
#include "shortest_text.h"

namespace tarnwick::scores {
namespace {

using namespace score_analysis;

constexpr std::string_view resultColumns[] = {"estimate", "ci_low", "ci_high",    "p_lower",
                                              "p_upper",  "p",      "conclusion", "method"};

}  // namespace

std::string_view analysisName(Analysis analysis) {
    switch (analysis) {
        case Analysis::normal:
            return "normal";
        case Analysis::rank:
            return "rank";
        case Analysis::trimmed:
            return "trimmed";
        case Analysis::bootstrap:
            break;
    }
    return "bootstrap";
}

StudyAnswer answerStudy(const Study& study, Design design,
                        const std::optional<ScoreSettings>& settings,
                        const std::string& settingsProblem, const BootstrapSettings& bootstrap) {
    StudyAnswer answer;
    answer.settings = settings;
    if (!study.problem.empty()) {
        answer.message = study.problem;
        return answer;
    }
    if (!settings) {
        answer.message = settingsProblem;
        return answer;
    }
    // Each analysis stands alone: trimmed means may have nothing left to
    // spread where the ranks still answer, and the row says which failed.
    std::vector<std::pair<Analysis, std::string>> failures;
    for (Analysis analysis : analyses) {
        try {
            answer.results[static_cast<std::size_t>(analysis)] =
                runAnalysis(analysis, study.group1, study.group2, design == Design::matched,
                            *settings, bootstrap);
        } catch (const ScoreError& error) {
            failures.emplace_back(analysis, error.description());
        }
    }
    bool oneReason = failures.size() == analyses.size();
    for (const auto& failure : failures)
        oneReason = oneReason && failure.second == failures.front().second;
    if (oneReason) {
        answer.message = failures.front().second;
        return answer;
    }
    for (const auto& [analysis, description] : failures) {
        if (!answer.message.empty()) answer.message += " ";
        answer.message += std::string(analysisName(analysis)) + ": " + description;
    }
    return answer;
}

std::string numberText(double value, Digits digits) {
    if (value == 0) value = 0;  // no "-0"
    if (digits == Digits::full) return table_io::shortestText(value);
    char buffer[32];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    return std::string(buffer, end.ptr);
}

std::vector<std::string> answerColumns() {
    std::vector<std::string> columns = {"study",    "group1",   "group2", "n1",    "n2",
                                        "missing1", "missing2", "alpha",  "lower", "upper"};
    for (Analysis analysis : analyses) {
        for (std::string_view column : resultColumns)
            columns.push_back(std::string(analysisName(analysis)) + "_" + std::string(column));
    }
    columns.emplace_back("message");
    return columns;
}

std::vector<AnswerField> answerFields(const Study& study, const StudyAnswer& answer,
                                      Digits digits) {
    const auto count = [](std::size_t n) { return AnswerField{std::to_string(n), true}; };
    // An unbounded interval end (infinite) has no number: an empty field, null
    // in JSON Lines; the method column says why.
    const auto number = [&](double value) {
        return AnswerField{std::isfinite(value) ? numberText(value, digits) : std::string(), true};
    };
    std::vector<AnswerField> fields = {{study.name},
                                       {study.label1},
                                       {study.label2},
                                       count(study.group1.size()),
                                       count(study.group2.size()),
                                       count(static_cast<std::size_t>(study.missing1)),
                                       count(static_cast<std::size_t>(study.missing2))};
    if (answer.settings) {
        fields.push_back(number(answer.settings->alpha));
        fields.push_back(number(answer.settings->lower));
        fields.push_back(number(answer.settings->upper));
    } else {
        fields.resize(fields.size() + 3);
    }
    for (const auto& result : answer.results) {
        if (!result) {
            fields.resize(fields.size() + std::size(resultColumns));
            continue;
        }
        for (double value : {result->estimate, result->low, result->high, result->pLower,
                             result->pUpper, result->p})
            fields.push_back(number(value));
        fields.push_back({std::string(conclusionName(result->conclusion))});
        fields.push_back({result->notes.text});
    }
    fields.push_back({answer.message});
    return fields;
}

std::string answerText(const Study& study, const StudyAnswer& answer, Digits digits) {
    const auto number = [&](double value) {
        if (std::isinf(value)) return std::string(value < 0 ? "-infinity" : "infinity");
        return numberText(value, digits);
    };
    std::string text = study.name.empty() ? std::string("scores") : "study " + study.name;
    text += ": " + study.label1 + " n " + std::to_string(study.group1.size()) + " (missing " +
            std::to_string(study.missing1) + "), " + study.label2 + " n " +
            std::to_string(study.group2.size()) + " (missing " + std::to_string(study.missing2) +
            ")";
    if (answer.settings) {
        text += ", bounds " + number(answer.settings->lower) + " and " +
                number(answer.settings->upper) + ", alpha " + number(answer.settings->alpha);
    }
    text += "\n";
    for (Analysis analysis : analyses) {
        const auto& result = answer.results[static_cast<std::size_t>(analysis)];
        if (!result) continue;
        text += "  " + std::string(analysisName(analysis)) + ": estimate " +
                number(result->estimate) + ", " + numberText(100 * result->level, Digits::shown) +
                "% interval [" + number(result->low) + ", " + number(result->high) + "], p lower " +
                number(result->pLower) + ", p upper " + number(result->pUpper) + ", p " +
                number(result->p) + ": " + std::string(conclusionName(result->conclusion)) + "\n";
        if (!result->notes.unbounded.empty()) text += "    " + result->notes.unbounded + "\n";
    }
    if (!answer.message.empty()) text += "  not answered: " + answer.message + "\n";
    return text;
}

}  // namespace tarnwick::scores
