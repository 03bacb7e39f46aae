#pragma once
// The settings of an equivalence test on raw scores. On the difference
// scale the effect is always group 1 minus group 2 (matched scores: the
// row-wise x - y), and the bounds are in the scores' own units: a location
// shift for the rank-based analysis, a difference of trimmed means for
// Yuen's, of means otherwise. On the ratio scale the effect is group 1 over
// group 2 and the bounds are ratios: every analysis runs on the natural logs
// of the scores against ln(lower) and ln(upper) (ratio_scale.h).

#include <optional>

#include "test_settings.h"

namespace tarnwick::score_analysis {

// Equivalence (H0: the difference lies outside [lower, upper]; the two
// one-sided tests, against lower with H1 above it and against upper with H1
// below it; the test's p is the larger) or the minimal-effect test (H0:
// lower <= difference <= upper; the two tests reversed, H0 rejected when
// either is significant at alpha, so the test's p is the smaller), or a
// one-sided question (non-inferiority, non-superiority, superiority) with
// one margin: the margin is both bounds, the two tests against it are those
// of equivalence (H1 above it, H1 below it), and the one on the side of the
// alternative (settings::alternativeSide) alone decides. The one choice
// every test of two means shares.
using Hypothesis = settings::Hypothesis;
using Better = settings::Better;
using Side = settings::Side;
using Scale = settings::Scale;
using StandardError = settings::StandardError;

struct ScoreSettings {
    double alpha = 0.05;  // each one-sided test's level, 0 < alpha < 0.5
    double lower = 0;     // lower < upper; both may lie on one side of 0
    double upper = 0;     // a one-sided question: lower == upper == the margin
    Hypothesis hypothesis = Hypothesis::equivalence;
    Scale scale = Scale::difference;  // ratio: both bounds above 0
    // Normal theory, independent groups: Welch's standard error and df, or
    // the pooled variance with n1 + n2 - 2 df. The other analyses have their own.
    StandardError standardError = StandardError::welch;
    Better better = Better::higher;  // one-sided questions: which way the effect is better
};

// The settings of a one-sided question: the margin as both bounds.
ScoreSettings oneSidedSettings(double alpha, double margin, Hypothesis hypothesis, Better better,
                               Scale scale = Scale::difference,
                               StandardError standardError = StandardError::welch);

// The shared settings as these analyses take them: a two-sided question's
// `bounds` (in the scores' units, or ratios), a one-sided question's margin
// (settings.margin, which the caller has filled, marginOrDefault()).
// Nothing is checked here.
ScoreSettings scoreSettingsOf(const settings::TestSettings& settings, settings::Bounds bounds);

// A one-sided question of the shared settings as these analyses ask it,
// checked as every front end checks it (settings::check: one margin, on its
// question's side of no effect) and its margin defaulted
// (settings::marginOrDefault, from the non-trivial difference `delta` where
// a front end has one). Throws settings::SettingsError, marginMissing when
// no margin is given and none defaults.
ScoreSettings oneSidedQuestion(const settings::TestSettings& question,
                               std::optional<double> delta = std::nullopt);

// The shared settings of these: alpha, hypothesis, scale, standard error
// and better; a one-sided question's margin, a two-sided one's bounds.
settings::TestSettings testSettingsOf(const ScoreSettings& settings);

inline bool isOneSided(const ScoreSettings& settings) {
    return settings::isOneSided(settings.hypothesis);
}

// A one-sided question's margin.
inline double marginOf(const ScoreSettings& settings) { return settings.lower; }

// Where a one-sided question's alternative lies.
inline Side sideOf(const ScoreSettings& settings) {
    return settings::alternativeSide(settings.hypothesis, settings.better);
}

// Whether the tests against the bounds are the reversed ones (H1 below
// lower, above upper): the minimal-effect test's. Equivalence and the
// one-sided questions test H1 above lower and below upper.
inline bool reversedTests(const ScoreSettings& settings) {
    return settings.hypothesis == Hypothesis::minimalEffect;
}

// Throws ScoreError (invalidSettings) naming what is wrong.
void checkSettings(const ScoreSettings& settings);

// On the ratio scale: both bounds finite and above 0, lower < upper; a
// ScoreError (invalidSettings) otherwise. Nothing on the difference scale.
void checkRatioBounds(const ScoreSettings& settings);

}  // namespace tarnwick::score_analysis
