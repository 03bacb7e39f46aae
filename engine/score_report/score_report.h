#pragma once
// The analyses of one set of raw scores (analysis_table.h), run side by side, and their
// report in words: a line on the scores and the question, one paragraph an
// analysis (its estimate, interval, both one-sided p values, conclusion and
// method: exact or normal ranks, the trimming, the bootstrap's B and seed),
// and a sentence on how far the analyses agree, with what the scores
// themselves show (skew, outliers, ties) where they part. On the ratio scale
// (ScoreSettings::scale) the same words for the ratio group 1 / group 2: its
// estimates and ends as ratios, the ends also in percent of group 2, and the
// shapes those of the logs the analyses ran on. One text for every front end
// that shows these analyses.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis_table.h"
#include "bootstrap_analysis.h"
#include "score_result.h"
#include "score_settings.h"
#include "score_shape.h"

namespace tarnwick::score_report {

struct Outcome {
    const AnalysisEntry* analysis = nullptr;
    std::optional<ScoreResult> result;
    std::string problem;  // why there is no result
};

struct ScoreAnswers {
    bool matched = false;
    std::string label1 = "group 1", label2 = "group 2";
    long n1 = 0, n2 = 0;
    ScoreSettings settings;
    BootstrapSettings bootstrap;
    std::vector<Outcome> outcomes;  // one an entry of analysisTable(), in its order
    // Independent: each group's; matched: the differences' alone.
    std::vector<ScoreShape> shapes;
    const Outcome& outcome(const AnalysisEntry& analysis) const {
        return outcomes.at(static_cast<std::size_t>(&analysis - analysisTable().data()));
    }
};

// Outcomes for every analysis, none computed yet: for answers made by hand.
std::vector<Outcome> emptyOutcomes();

// Every analysis, each on its own: one that cannot be made (trimmed means
// with nothing left to spread) leaves the others standing. The settings are
// checked first by each analysis, so invalid ones give every analysis a problem.
ScoreAnswers analyseScores(std::span<const double> group1, std::span<const double> group2,
                           bool matched, const ScoreSettings& settings,
                           const BootstrapSettings& bootstrap = {});

// The line naming the scores and the question asked of them.
std::string scoresLine(const ScoreAnswers& answers);

// One analysis's paragraph.
std::string analysisParagraph(const ScoreAnswers& answers, const AnalysisEntry& analysis);

// The figure's caption of one analysis's interval: its title and conclusion
// in the words of the test asked ("Rank-based: equivalent"), or "not computed".
std::string figureCaption(const ScoreAnswers& answers, const AnalysisEntry& analysis);

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
