#include "ratio_scale.h"

#include <cmath>
#include <string>

#include "score_checks.h"
#include "score_error.h"

namespace tarnwick::score_analysis {
namespace {

// exp of an end on the logs: an infinite end stays unbounded (0 or
// +infinity); a finite one must stay a finite ratio above 0.
double ratioEnd(double logEnd, const char* what) {
    const double ratio = std::exp(logEnd);
    if (std::isinf(logEnd)) return ratio;
    if (std::isinf(ratio) || ratio == 0)
        throw ScoreError(ScoreErrorNumber::tooLarge,
                         "The scores' ratios are too extreme: " + std::string(what) + ", exp(" +
                             shortest(logEnd) + "), is beyond the range of a double.");
    return ratio;
}

}  // namespace

std::vector<double> logsOfScores(std::span<const double> scores, std::string_view group) {
    std::vector<double> logs(scores.size());
    for (std::size_t i = 0; i < scores.size(); ++i) {
        if (scores[i] <= 0)
            throw ScoreError(ScoreErrorNumber::notPositive,
                             "Score " + std::to_string(i + 1) + " of " + std::string(group) +
                                 " is " + shortest(scores[i] == 0 ? 0.0 : scores[i]) +
                                 ": the ratio scale takes the logarithm of every score, so "
                                 "each must be greater than 0.");
        logs[i] = std::log(scores[i]);
    }
    return logs;
}

ScoreSettings logScaleSettings(const ScoreSettings& ratio) {
    checkSettings(ratio);
    ScoreSettings logs = ratio;
    logs.scale = Scale::difference;
    logs.lower = std::log(ratio.lower);
    logs.upper = std::log(ratio.upper);
    // Bounds a few ulps apart can meet on the logs: say so, rather than
    // that bounds in order are not. A one-sided question's margin is both.
    if (!isOneSided(ratio) && !(logs.lower < logs.upper))
        throw ScoreError(ScoreErrorNumber::invalidSettings,
                         "The bounds " + shortest(ratio.lower) + " and " + shortest(ratio.upper) +
                             " are too close together to tell apart on the log scale.");
    checkSettings(logs);
    return logs;
}

void toRatioScale(const ScoreSettings& ratio, ScoreResult& result) {
    result.estimate = ratioEnd(result.estimate, "the estimate");
    result.low = ratioEnd(result.low, "the interval's lower end");
    result.high = ratioEnd(result.high, "the interval's upper end");
    // The rank analyses count what they ranked, which on this scale are
    // values of the logs ("the 9 pairwise differences of the logs").
    std::string& unbounded = result.notes.unbounded;
    if (unbounded.starts_with("No interval from the ")) {
        const std::size_t reaches = unbounded.find(" reaches ");
        if (reaches != std::string::npos) unbounded.insert(reaches, " of the logs");
    }
    conclude(ratio, result);
}

}  // namespace tarnwick::score_analysis
