#include "study_row.h"

#include "crossover_error.h"
#include "crossover_report.h"
#include "shortest_text.h"
#include "significant_text.h"

namespace tarnwick::crossover_program {
namespace {

std::string joined(const std::vector<std::string>& names, const char* between) {
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : between) + name;
    return text;
}

std::string percent(double ratio) { return crossover_report::percentText(ratio); }

}  // namespace

StudyAnswer answerStudy(const CrossoverStudy& study, const CrossoverSettings& settings) {
    StudyAnswer answer;
    try {
        answer.result = crossover::analyseCrossover(study, settings);
    } catch (const crossover::CrossoverError& error) {
        answer.message = error.description();
    }
    return answer;
}

std::vector<std::string> answerColumns() {
    return {"study",        "subjects", "observations", "missing", "design", "test",
            "reference",    "estimate", "ci_low",       "ci_high", "df",     "cv_within",
            "cv_reference", "p_lower",  "p_upper",      "alpha",   "lower",  "upper",
            "conclusion",   "left_out", "incomplete",   "message"};
}

std::vector<AnswerField> answerFields(const CrossoverStudy& study, const StudyAnswer& answer,
                                      const CrossoverSettings& settings, Digits digits) {
    const auto number = [&](double value) {
        return AnswerField{digits == Digits::full ? number_text::shortestText(value)
                                                  : number_text::significantText(value, 6),
                           true};
    };
    const auto count = [](long value) { return AnswerField{std::to_string(value), true}; };
    const AnswerField none{"", true};
    const std::optional<CrossoverResult>& r = answer.result;
    std::vector<AnswerField> fields = {
        {study.name, false},
        count(r ? r->subjects : static_cast<long>(study.subjects.size())),
        count(r ? r->observations : static_cast<long>(study.observations.size())),
        count(study.missing),
        {crossover::designOf(study), false},
        {study.testName, false},
        {study.referenceName, false},
        r ? number(r->ratio) : none,
        r ? number(r->low) : none,
        r ? number(r->high) : none,
        r ? AnswerField{number_text::shortestText(r->df), true} : none,
        r ? number(r->cvWithin) : none,
        r && r->cvReference ? number(*r->cvReference) : none,
        r ? number(r->pLower) : none,
        r ? number(r->pUpper) : none,
        AnswerField{number_text::shortestText(settings.alpha), true},
        AnswerField{number_text::shortestText(settings.bounds.lower), true},
        AnswerField{number_text::shortestText(settings.bounds.upper), true},
        {r ? std::string(decisionName(r->decision)) : std::string(), false},
        {r ? joined(r->leftOut, " ") : std::string(), false},
        {joined(study.incomplete, " "), false},
        {answer.message, false},
    };
    return fields;
}

std::string answerText(const CrossoverStudy& study, const StudyAnswer& answer,
                       const CrossoverSettings& settings) {
    if (!answer.result)
        return (study.name.empty() ? std::string() : "Study " + study.name + ": ") +
               answer.message + "\n";
    // The window's two lines, then what a table row holds beside them.
    const CrossoverResult& r = *answer.result;
    std::string text =
        crossover_report::studyLine(study, r) + "\n  " + crossover_report::answerLine(r, settings) +
        "\n  df " + number_text::shortestText(r.df) + ", within-subject CV " + percent(r.cvWithin);
    if (r.cvReference) text += ", reference's CV " + percent(*r.cvReference);
    text += ", p (ratio <= " + percent(settings.bounds.lower) + ") " +
            number_text::significantText(r.pLower, 4) +
            ", p (ratio >= " + percent(settings.bounds.upper) + ") " +
            number_text::significantText(r.pUpper, 4) + "\n";
    if (!r.leftOut.empty())
        text += "  left out (without both formulations): " + joined(r.leftOut, ", ") + "\n";
    if (!study.incomplete.empty())
        text += "  lacking periods: " + joined(study.incomplete, ", ") + "\n";
    return text;
}

}  // namespace tarnwick::crossover_program
