#pragma once
// One study's answers, from the engine's scores report, and the study's row
// of output: the groups, sizes, missing counts and settings, then the
// report's columns for every analysis, then a message saying what could not
// be computed and why.

#include <optional>
#include <string>
#include <vector>

#include "bootstrap_analysis.h"
#include "digits.h"
#include "score_columns.h"
#include "score_report.h"
#include "study_table.h"

namespace tarnwick::scores {

using data::Study;
using tarnwick::Design;
using tarnwick::Digits;

struct StudyAnswer {
    std::optional<score_analysis::ScoreSettings> settings;  // none: not valid
    std::optional<score_report::ScoreAnswers> answers;      // none: the study was not analysed
    std::string message;                                    // empty when every analysis answered
    bool answered() const { return message.empty(); }
};

// `settings` is none when the study's settings are not valid, and
// `settingsProblem` then says why.
StudyAnswer answerStudy(const Study& study, Design design,
                        const std::optional<score_analysis::ScoreSettings>& settings,
                        const std::string& settingsProblem,
                        const score_analysis::BootstrapSettings& bootstrap);

// The output's columns and one study's fields, numbers marked as such.
// With `question`, the settings' columns go on with the study's
// `hypothesis`, a one-sided question's `margin` and `better` (its `lower`
// and `upper` empty), a two-sided question's bounds (its `margin` and
// `better` empty); without, they are as before one-sided questions, for
// outputs that ask none.
std::vector<std::string> answerColumns(bool question = false);
using AnswerField = score_report::ColumnField;
std::vector<AnswerField> answerFields(const Study& study, const StudyAnswer& answer, Digits digits,
                                      bool question = false);

// The study as a few lines of text, ended by a line feed.
std::string answerText(const Study& study, const StudyAnswer& answer, Digits digits);

}  // namespace tarnwick::scores
