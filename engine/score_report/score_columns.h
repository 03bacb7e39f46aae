#pragma once
// The analyses of one set of scores as machine-readable columns: for each
// entry of the analysis table, its estimate, interval, one-sided p values,
// p, conclusion and method under its own prefix ("normal_estimate"), and a
// message saying which analyses could not be made and why. Also the same
// answers as short lines of text. What tarnwick-scores writes for a study.

#include <string>
#include <vector>

#include "digits.h"
#include "score_report.h"

namespace tarnwick::score_report {

using tarnwick::Digits;

// shown: 6 significant digits; full: the shortest text that reads back to
// the same double. Never "-0"; "." in every locale.
std::string numberText(double value, Digits digits);

struct ColumnField {
    std::string text;
    bool number = false;
};

// "normal_estimate", ..., "bootstrap_method": every analysis's columns.
std::vector<std::string> analysisColumns();

// The fields under analysisColumns(); an analysis without a result leaves
// its fields empty. A one-sided question's p is its one test at the margin,
// and its p_lower and p_upper are empty.
std::vector<ColumnField> analysisFields(const ScoreAnswers& answers, Digits digits);

// Empty when every analysis has a result; the one reason when none has and
// all share it; else "trimmed: why. bootstrap: why." by the analyses' names.
std::string analysisProblems(const ScoreAnswers& answers);

// One line an analysis with a result, "  normal: estimate 0.25, 90% interval
// [...], p lower ..., p upper ..., p ...: equivalent\n".
std::string analysisLines(const ScoreAnswers& answers, Digits digits);

}  // namespace tarnwick::score_report
