#include "score_settings.h"

#include <cmath>

#include "one_sided_words.h"
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
    if (isOneSided(settings)) {
        if (settings.lower != settings.upper)
            throw ScoreError(ScoreErrorNumber::invalidSettings,
                             "A one-sided question has one margin, not a lower and an upper "
                             "bound.");
        return;
    }
    if (!(settings.lower < settings.upper))
        throw ScoreError(ScoreErrorNumber::invalidSettings,
                         "The lower bound must be less than the upper bound.");
}

ScoreSettings oneSidedSettings(double alpha, double margin, Hypothesis hypothesis, Better better,
                               Scale scale, StandardError standardError) {
    return {alpha, margin, margin, hypothesis, scale, standardError, better};
}

ScoreSettings scoreSettingsOf(const settings::TestSettings& settings, settings::Bounds bounds) {
    if (settings::isOneSided(settings.hypothesis))
        return oneSidedSettings(settings.alpha, settings.margin.value_or(0), settings.hypothesis,
                                settings.better, settings.scale, settings.standardError);
    return {settings.alpha, bounds.lower,           bounds.upper,   settings.hypothesis,
            settings.scale, settings.standardError, settings.better};
}

ScoreSettings oneSidedQuestion(const settings::TestSettings& question,
                               std::optional<double> delta) {
    settings::check(question);
    settings::TestSettings asked = question;
    asked.margin = settings::marginOrDefault(question, delta);
    if (!asked.margin) {
        const std::string name = settings::hypothesisNoun(question.hypothesis);
        throw settings::SettingsError(
            settings::error::marginMissing,
            "A " + name + " question on the difference scale needs a margin.");
    }
    return scoreSettingsOf(asked, {});
}

settings::TestSettings testSettingsOf(const ScoreSettings& settings) {
    settings::TestSettings shared;
    shared.alpha = settings.alpha;
    shared.hypothesis = settings.hypothesis;
    shared.scale = settings.scale;
    shared.standardError = settings.standardError;
    shared.better = settings.better;
    if (isOneSided(settings))
        shared.margin = marginOf(settings);
    else
        shared.bounds = settings::Bounds{settings.lower, settings.upper};
    return shared;
}

void checkRatioBounds(const ScoreSettings& settings) {
    if (settings.scale != Scale::ratio) return;
    if (!(settings.lower > 0) || !(settings.upper > 0))
        throw ScoreError(ScoreErrorNumber::invalidSettings,
                         isOneSided(settings)
                             ? "On the ratio scale the margin must be a ratio greater than 0."
                             : "On the ratio scale both bounds must be ratios greater than 0.");
}

}  // namespace tarnwick::score_analysis
