#pragma once
// A crossover study's report in words, line by line, for every front end
// that shows it: what was read, the ratio T/R and its 100(1 - 2 alpha)%
// interval in percent against the limits, both one-sided p values, the
// conclusion, the df and within-subject CVs, the 2x2x2 analysis of variance,
// the geometric means by sequence and period, the subjects left out and
// why, and the captions of the picture of each subject's ratio. Percent to
// two decimals, as the guidelines print them; the tables are aligned for a
// fixed-width font.

#include <string>
#include <vector>

#include "crossover_analysis.h"
#include "crossover_study.h"
#include "subject_ratio.h"

namespace tarnwick::crossover_report {

using crossover::CrossoverResult;
using crossover::CrossoverSettings;
using crossover::CrossoverStudy;

// "11 subjects, 22 responses, sequences RT|TR, T against R": what the
// analysis used.
std::string studyLine(const CrossoverStudy& study, const CrossoverResult& result);

// "90% CI 91.20% to 116.94% within 80.00% to 125.00%: equivalent": the
// answer in one line, for a screen reader or a status line.
std::string answerLine(const CrossoverResult& result, const CrossoverSettings& settings);

// The whole report, one string a line, paragraphs separated by empty lines.
std::vector<std::string> reportLines(const CrossoverStudy& study, const CrossoverResult& result,
                                     const CrossoverSettings& settings);

// The lines joined, each ended by a line feed.
std::string reportText(const CrossoverStudy& study, const CrossoverResult& result,
                       const CrossoverSettings& settings);

// The words of the picture of each subject's ratio on a log axis, grouped by
// sequence, with the interval and the limits.
struct FigureWords {
    std::string title;
    std::vector<std::string> sequenceCaptions;  // one a sequence of the study, in its order
    std::string intervalCaption;                // the row of the interval
    std::string axisTitle;
    std::vector<std::string> legend;  // short lines, each drawn as it is
};
FigureWords figureWords(const CrossoverStudy& study, const CrossoverResult& result,
                        const CrossoverSettings& settings,
                        const std::vector<crossover::SubjectRatio>& ratios);

// A ratio in percent to two decimals: "103.27%".
std::string percentText(double ratio);
// The interval's level in percent: "90" for alpha 0.05.
std::string levelText(const CrossoverSettings& settings);

}  // namespace tarnwick::crossover_report
