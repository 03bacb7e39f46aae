#pragma once
// Every analysis of one study's scores, and the study's row of output: the
// groups, sizes, missing counts and settings, then for each analysis its
// estimate, interval, one-sided p values, p, conclusion and method, then a
// message saying what could not be computed and why.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis_choice.h"
#include "bootstrap_analysis.h"
#include "score_reading.h"
#include "digits.h"
#include "score_result.h"

namespace tarnwick::scores {

using score_analysis::Analysis;
using score_analysis::analyses;

// The column prefix ("normal_") and the name in messages ("normal").
std::string_view analysisName(Analysis analysis);

struct StudyAnswer {
    std::optional<score_analysis::ScoreSettings> settings;  // none: not valid
    std::array<std::optional<score_analysis::ScoreResult>, 4> results;
    std::string message;  // empty when every analysis answered
    bool answered() const { return message.empty(); }
};

// `settings` is none when the study's settings are not valid, and
// `settingsProblem` then says why.
StudyAnswer answerStudy(const Study& study, Design design,
                        const std::optional<score_analysis::ScoreSettings>& settings,
                        const std::string& settingsProblem,
                        const score_analysis::BootstrapSettings& bootstrap);

using tarnwick::Digits;

std::string numberText(double value, Digits digits);

// The output's columns and one study's fields, numbers marked as such.
std::vector<std::string> answerColumns();
struct AnswerField {
    std::string text;
    bool number = false;
};
std::vector<AnswerField> answerFields(const Study& study, const StudyAnswer& answer, Digits digits);

// The study as a few lines of text, ended by a line feed.
std::string answerText(const Study& study, const StudyAnswer& answer, Digits digits);

}  // namespace tarnwick::scores
