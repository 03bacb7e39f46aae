#include "study_answer.h"

#include "one_sided_words.h"

namespace tarnwick::scores {

using score_report::numberText;

StudyAnswer answerStudy(const Study& study, Design design,
                        const std::optional<score_analysis::ScoreSettings>& settings,
                        const std::string& settingsProblem,
                        const score_analysis::BootstrapSettings& bootstrap) {
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
    answer.answers = score_report::analyseScores(study.group1, study.group2,
                                                 design == Design::matched, *settings, bootstrap);
    answer.answers->label1 = study.label1;
    answer.answers->label2 = study.label2;
    answer.message = score_report::analysisProblems(*answer.answers);
    return answer;
}

std::vector<std::string> answerColumns(bool question) {
    std::vector<std::string> columns = {"study",    "group1",   "group2", "n1",    "n2",
                                        "missing1", "missing2", "alpha",  "lower", "upper"};
    if (question) columns.insert(columns.end(), {"hypothesis", "margin", "better"});
    for (std::string& column : score_report::analysisColumns())
        columns.push_back(std::move(column));
    columns.emplace_back("message");
    return columns;
}

std::vector<AnswerField> answerFields(const Study& study, const StudyAnswer& answer, Digits digits,
                                      bool question) {
    const auto count = [](std::size_t n) { return AnswerField{std::to_string(n), true}; };
    const auto number = [&](double value) { return AnswerField{numberText(value, digits), true}; };
    std::vector<AnswerField> fields = {{study.name},
                                       {study.label1},
                                       {study.label2},
                                       count(study.group1.size()),
                                       count(study.group2.size()),
                                       count(static_cast<std::size_t>(study.missing1)),
                                       count(static_cast<std::size_t>(study.missing2))};
    const std::size_t settingsColumns = question ? 6 : 3;
    if (answer.settings) {
        const score_analysis::ScoreSettings& s = *answer.settings;
        const bool oneSided = score_analysis::isOneSided(s);
        fields.push_back(number(s.alpha));
        if (oneSided) {
            fields.resize(fields.size() + 2);
        } else {
            fields.push_back(number(s.lower));
            fields.push_back(number(s.upper));
        }
        if (question) {
            fields.push_back({std::string(settings::hypothesisWord(s.hypothesis))});
            if (oneSided) {
                fields.push_back(number(score_analysis::marginOf(s)));
                fields.push_back({std::string(settings::betterWord(s.better))});
            } else {
                fields.resize(fields.size() + 2);
            }
        }
    } else {
        fields.resize(fields.size() + settingsColumns);
    }
    if (answer.answers) {
        for (AnswerField& field : score_report::analysisFields(*answer.answers, digits))
            fields.push_back(std::move(field));
    } else {
        fields.resize(fields.size() + score_report::analysisColumns().size());
    }
    fields.push_back({answer.message});
    return fields;
}

std::string answerText(const Study& study, const StudyAnswer& answer, Digits digits) {
    const auto number = [&](double value) { return numberText(value, digits); };
    std::string text = study.name.empty() ? std::string("scores") : "study " + study.name;
    text += ": " + study.label1 + " n " + std::to_string(study.group1.size()) + " (missing " +
            std::to_string(study.missing1) + "), " + study.label2 + " n " +
            std::to_string(study.group2.size()) + " (missing " + std::to_string(study.missing2) +
            ")";
    if (answer.settings && score_analysis::isOneSided(*answer.settings)) {
        const score_analysis::ScoreSettings& s = *answer.settings;
        text += ", " + std::string(settings::hypothesisWord(s.hypothesis)) + " margin " +
                number(score_analysis::marginOf(s)) + " (" +
                std::string(settings::betterWord(s.better)) + " better), alpha " + number(s.alpha);
        if (s.scale == score_analysis::Scale::ratio)
            text += ", ratio " + study.label1 + " / " + study.label2 + " on the logs";
    } else if (answer.settings) {
        text += ", bounds " + number(answer.settings->lower) + " and " +
                number(answer.settings->upper) + ", alpha " + number(answer.settings->alpha);
        if (answer.settings->scale == score_analysis::Scale::ratio)
            text += ", ratio " + study.label1 + " / " + study.label2 + " on the logs";
    }
    text += "\n";
    if (answer.answers) text += score_report::analysisLines(*answer.answers, digits);
    if (!answer.message.empty()) text += "  not answered: " + answer.message + "\n";
    return text;
}

}  // namespace tarnwick::scores
