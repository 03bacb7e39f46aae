#include "score_settings.h"

#include <cmath>

#include "score_error.h"

namespace tarnwick::score_analysis {

void checkSettings(const ScoreSettings& settings) {
    // Written as negations so that a NaN fails each test.
    if (!(settings.alpha > 0 && settings.alpha < 0.5))
        throw ScoreError(ScoreErrorNumber::invalidSettings,
                         "Alpha must be greater than 0 and less than 0.5.");
    if (!std::isfinite(settings.lower) || !std::isfinite(settings.upper))
        throw ScoreError(ScoreErrorNumber::invalidSettings, "Both bounds must be finite numbers.");
    checkRatioBounds(settings);
    if (!(settings.lower < settings.upper))
        throw ScoreError(ScoreErrorNumber::invalidSettings,
                         "The lower bound must be less than the upper bound.");
}

void checkRatioBounds(const ScoreSettings& settings) {
    if (settings.scale != Scale::ratio) return;
    if (!(settings.lower > 0) || !(settings.upper > 0))
        throw ScoreError(ScoreErrorNumber::invalidSettings,
                         "On the ratio scale both bounds must be ratios greater than 0.");
}

}  // namespace tarnwick::score_analysis
