#pragma once
// The analyses of raw scores, one entry each: every name, sentence and
// column prefix a front end shows for an analysis, and the call that runs
// it. The scores report, its figure and tarnwick-scores all read this
// table, so a new analysis is one entry here plus its computation.

#include <span>
#include <string>
#include <string_view>

#include "bootstrap_analysis.h"
#include "score_result.h"
#include "score_settings.h"

namespace tarnwick::score_report {

struct ScoreAnswers;
using score_analysis::BootstrapSettings;
using score_analysis::OneSidedTest;
using score_analysis::ScoreResult;
using score_analysis::ScoreSettings;

struct AnalysisEntry {
    // "normal": tarnwick-scores' column prefix (with "_") and its messages'
    // name for the analysis.
    std::string_view name;
    // "Normal theory": the paragraph's and the figure's name.
    std::string_view title;
    // "normal-theory": how the agreement sentence lists the analysis.
    std::string_view adjective;
    // What the estimate is, before " (group 1 - group 2)".
    std::string_view estimateIndependent, estimateMatched;
    // On the ratio scale, before " (group 1 / group 2)".
    std::string_view ratioIndependent, ratioMatched;
    // The statistic against one bound as the paragraph writes it: "t(7) = 2.10".
    std::string (*statistic)(const ScoreAnswers& answers, const ScoreResult& result,
                             const OneSidedTest& test);
    // The paragraph's closing method sentence.
    std::string (*method)(const ScoreAnswers& answers, const ScoreResult& result);
    // The method as tarnwick-scores' `method` column states it: a line that
    // stands alone, away from the paragraph.
    std::string (*methodColumn)(const ScoreAnswers& answers, const ScoreResult& result);
    // Runs the analysis; throws score_analysis::ScoreError when it cannot be
    // made. Matched scores pair by position.
    ScoreResult (*run)(std::span<const double> group1, std::span<const double> group2, bool matched,
                       const ScoreSettings& settings, const BootstrapSettings& bootstrap);
    // Its standard error sets the decimals raw units are written with.
    bool setsRawDecimals = false;
    // Tied scores force its interval off the exact distribution.
    bool tiesRuleOutExactInterval = false;
};

// Every analysis, in the order the report, the figure and the columns show them.
std::span<const AnalysisEntry> analysisTable();

// "normal-theory, rank-based, trimmed-means and bootstrap": every analysis
// by its adjective, for sentences that name them all.
std::string analysisAdjectives();

// The entry of that name, or null for a name not in the table.
const AnalysisEntry* analysisNamed(std::string_view name);

}  // namespace tarnwick::score_report
