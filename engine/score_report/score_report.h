#pragma once
// The four analyses of one set of raw scores, run side by side, and their
// report in words: a line on the scores and the question, one paragraph an
// analysis (its estimate, interval, both one-sided p values, conclusion and
// method: exact or normal ranks, the trimming, the bootstrap's B and seed),
// and a sentence on how far the analyses agree, with what the scores
// themselves show (skew, outliers, ties) where they part. One text for every
// front end that shows these analyses.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis_choice.h"
#include "bootstrap_analysis.h"
#include "score_result.h"
#include "score_settings.h"
#include "score_shape.h"

namespace tarnwick::score_report {

using score_analysis::BootstrapSettings;
using score_analysis::ScoreResult;
using score_analysis::ScoreSettings;

using score_analysis::analyses;
using score_analysis::Analysis;
using score_analysis::runAnalysis;

// "Normal theory", "Rank-based", "Trimmed means", "Bootstrap-t": the
// paragraph's and the plot's name.
std::string_view analysisTitle(Analysis analysis);

struct Outcome {
    std::optional<ScoreResult> result;
    std::string problem;  // why there is no result
};

struct ScoreAnswers {
    bool matched = false;
    std::string label1 = "group 1", label2 = "group 2";
    long n1 = 0, n2 = 0;
    ScoreSettings settings;
    BootstrapSettings bootstrap;
    std::array<Outcome, 4> outcomes;
    // Independent: each group's; matched: the differences' alone.
    std::vector<ScoreShape> shapes;
    const Outcome& outcome(Analysis analysis) const {
        return outcomes[static_cast<std::size_t>(analysis)];
    }
};

// Every analysis, each on its own: one that cannot be made (trimmed means
// with nothing left to spread) leaves the others standing. The settings are
// checked first by each analysis, so invalid ones give four problems.
ScoreAnswers analyseScores(std::span<const double> group1, std::span<const double> group2,
                           bool matched, const ScoreSettings& settings,
                           const BootstrapSettings& bootstrap = {});

// The line naming the scores and the question asked of them.
std::string scoresLine(const ScoreAnswers& answers);

// One analysis's paragraph.
std::string analysisParagraph(const ScoreAnswers& answers, Analysis analysis);

// How far the analyses that have results agree; where they part, why that
// can happen and what these scores show. Empty when none has a result.
std::string agreementSentence(const ScoreAnswers& answers);

// The whole text: the scores line, the paragraphs and the agreement, each
// its own paragraph, separated by blank lines.
std::string scoreReportText(const ScoreAnswers& answers);

// The decimals every number in raw units is written with: from the
// normal-theory standard error (or the narrowest interval) by the report's
// rule, so that no interval collapses to equal ends.
int rawUnitDecimals(const ScoreAnswers& answers);

}  // namespace tarnwick::score_report
