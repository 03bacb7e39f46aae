#pragma once
// The ratio scale: an analysis of the ratio group 1 / group 2 is the same
// analysis of the natural logs of the scores against ln(lower) and
// ln(upper), its estimate and interval ends taken back by exp. So the
// normal-theory estimate is the ratio of the geometric means (matched: the
// geometric mean of the ratios), the rank-based one the median ratio (the
// Hodges-Lehmann shift of the logs), the trimmed one the ratio of trimmed
// geometric means, the bootstrap's the normal-theory one resampled on the
// logs. p values and test statistics are those on the logs; the notes keep
// the standard error of the log ratio.
//
// A score of 0 or below has no logarithm and is refused by its position and
// group; nothing is dropped. An interval end unbounded on the logs is 0 or
// +infinity as a ratio; a finite end whose exp leaves the range of a double
// (below the smallest or above the largest) is refused, as every analysis
// refuses an end it cannot hold.

#include <span>
#include <vector>

#include "score_result.h"
#include "score_settings.h"
#include "tiny_scores.h"

namespace tarnwick::score_analysis {

// The natural logs of the scores of `group` ("group 1"). A NaN or infinite
// score passes through for the analysis's own refusal; ScoreError
// (notPositive) for the first score of 0 or below.
std::vector<double> logsOfScores(std::span<const double> scores, std::string_view group);

// The settings on the logs: bounds ln(lower) and ln(upper), the difference
// scale. Checks the ratio settings first (ScoreError invalidSettings).
ScoreSettings logScaleSettings(const ScoreSettings& ratio);

// Takes a result on the logs to the ratio scale and holds its ends to its
// p values against the ratio bounds (conclude()).
void toRatioScale(const ScoreSettings& ratio, ScoreResult& result);

// Runs `analysis` on the scale the settings ask for: as it is on the
// difference scale, on the logs on the ratio scale. Either way through
// withTinyScoresRescaled.
template <class Analysis>
ScoreResult onItsScale(std::span<const double> x, std::span<const double> y,
                       const ScoreSettings& settings, const Analysis& analysis) {
    if (settings.scale != Scale::ratio) return withTinyScoresRescaled(x, y, settings, analysis);
    const ScoreSettings logs = logScaleSettings(settings);
    const std::vector<double> lx = logsOfScores(x, "group 1"), ly = logsOfScores(y, "group 2");
    ScoreResult result = withTinyScoresRescaled(std::span<const double>(lx),
                                                std::span<const double>(ly), logs, analysis);
    toRatioScale(settings, result);
    return result;
}

}  // namespace tarnwick::score_analysis
