#pragma once
// One crossover study's row of output: what was read (subjects, responses,
// the sequences), the engine's answer (the ratio T/R and its interval, the
// CVs, the one-sided p values and the conclusion), the subjects the answer
// leaves out or that lack periods, and a message when there is no answer.

#include <optional>
#include <string>
#include <vector>

#include "crossover_analysis.h"
#include "digits.h"

namespace tarnwick::crossover_program {

using crossover::CrossoverResult;
using crossover::CrossoverSettings;
using crossover::CrossoverStudy;

struct StudyAnswer {
    std::optional<CrossoverResult> result;  // none: the study has no answer
    std::string message;                    // why not
};

// Never throws for a study: what the engine refuses becomes the message.
StudyAnswer answerStudy(const CrossoverStudy& study, const CrossoverSettings& settings);

struct AnswerField {
    std::string text;
    bool number = false;
};

std::vector<std::string> answerColumns();
std::vector<AnswerField> answerFields(const CrossoverStudy& study, const StudyAnswer& answer,
                                      const CrossoverSettings& settings, Digits digits);

// The study in a few lines for people, ended by a line feed: the ratio and
// its interval in percent to two decimals, as the guidelines print them.
std::string answerText(const CrossoverStudy& study, const StudyAnswer& answer,
                       const CrossoverSettings& settings);

}  // namespace tarnwick::crossover_program
