#pragma once
// A one-sided question's margin as every reader of a planning question
// settles it: the one given or the default, checked by the test settings'
// own rules, so that a margin on the wrong side of no effect is asked about
// in the question's words (settings::error::marginSide) by the window and
// the program alike.

#include <optional>

#include "test_settings.h"

namespace tarnwick::planner {

// The margin to plan with: `given`, else settings::marginOrDefault's (no
// effect for superiority, 0.80 or 1.25 on the ratio scale; none on the
// difference scale, where the planner knows no delta). `boundsGiven` says
// whether bounds were given too (refused: marginOrBounds). Throws
// settings::SettingsError for a margin that cannot be used or is missing
// (marginMissing).
double settledMargin(settings::Hypothesis hypothesis, std::optional<double> given,
                     settings::Better better, double alpha, settings::Scale scale,
                     bool boundsGiven);

// A two-sided question refuses a margin in the same words.
void refuseMargin(settings::Hypothesis hypothesis, double alpha);

}  // namespace tarnwick::planner
