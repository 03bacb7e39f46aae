#pragma once
// A bioequivalence design's answer in words and fields (plan_words.h says
// whose they are): the design named with its sequences, the CV with its
// kind, the bounds as ratios and, where the rule is the regulators', in
// percent to two decimals.

#include <array>
#include <string>

#include "plan_answer.h"

namespace tarnwick::planner {

// "a 2x2 crossover (TR/RT)", "a parallel-group design".
std::string designWords(be::BeDesign design);

// "within-subject" for crossover and paired designs, "total" for parallel
// groups: the CV a design's power and interval are taken with.
std::string cvKind(be::BeDesign design);

std::array<std::string, 6> beAnswerFields(const Answer& answer);
std::array<std::string, 7> beRatioFields(const Answer& answer);
std::string beAnswerSentence(const Answer& answer);
std::string beAnswerLine(const Answer& answer);
std::string bePreregistrationSentence(const Answer& answer);
std::string beOneSidedP(const Answer& answer);

}  // namespace tarnwick::planner
