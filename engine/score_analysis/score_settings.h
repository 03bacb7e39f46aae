#pragma once
// The settings of an equivalence test on raw scores. On the difference
// scale the effect is always group 1 minus group 2 (matched scores: the
// row-wise x - y), and the bounds are in the scores' own units: a location
// shift for the rank-based analysis, a difference of trimmed means for
// Yuen's, of means otherwise. On the ratio scale the effect is group 1 over
// group 2 and the bounds are ratios: every analysis runs on the natural logs
// of the scores against ln(lower) and ln(upper) (ratio_scale.h).

#include "test_settings.h"

namespace tarnwick::score_analysis {

// Equivalence (H0: the difference lies outside [lower, upper]; the two
// one-sided tests, against lower with H1 above it and against upper with H1
// below it; the test's p is the larger) or the minimal-effect test (H0:
// lower <= difference <= upper; the two tests reversed, H0 rejected when
// either is significant at alpha, so the test's p is the smaller). The one
// choice every test of two means shares.
using Hypothesis = settings::Hypothesis;
using Scale = settings::Scale;
using StandardError = settings::StandardError;

struct ScoreSettings {
    double alpha = 0.05;  // each one-sided test's level, 0 < alpha < 0.5
    double lower = 0;     // lower < upper; both may lie on one side of 0
    double upper = 0;
    Hypothesis hypothesis = Hypothesis::equivalence;
    Scale scale = Scale::difference;  // ratio: both bounds above 0
    // Normal theory, independent groups: Welch's standard error and df, or
    // the pooled variance with n1 + n2 - 2 df. The other analyses have their own.
    StandardError standardError = StandardError::welch;
};

// Throws ScoreError (invalidSettings) naming what is wrong.
void checkSettings(const ScoreSettings& settings);

// On the ratio scale: both bounds finite and above 0, lower < upper; a
// ScoreError (invalidSettings) otherwise. Nothing on the difference scale.
void checkRatioBounds(const ScoreSettings& settings);

}  // namespace tarnwick::score_analysis
