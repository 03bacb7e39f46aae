#pragma once
// The normal-theory equivalence test on the same scores, as the calculator
// would give it from their summaries, for comparison beside the rank-based,
// trimmed and bootstrap analyses: the mean difference, Welch's standard
// error sqrt(s1^2 / n1 + s2^2 / n2) with Welch's df for independent groups
// (or, when the settings ask for it, the pooled SD times sqrt(1/n1 + 1/n2)
// with n1 + n2 - 2 df), the paired t (SD of the differences / sqrt(n), n - 1 df) for matched
// scores; both one-sided t tests and the 100 (1 - 2 alpha)% interval.
// Summaries by compensated sums (score_moments.h) of the scores less a
// common reference (score_reference.h), so a shared offset costs no digits; t tails and points
// from Boost.Math's students_t at the (non-integer) df.

#include <span>

#include "score_result.h"
#include "score_settings.h"

namespace tarnwick::score_analysis {

ScoreResult normalTheoryIndependent(std::span<const double> group1, std::span<const double> group2,
                                    const ScoreSettings& settings);
ScoreResult normalTheoryMatched(std::span<const double> group1, std::span<const double> group2,
                                const ScoreSettings& settings);

}  // namespace tarnwick::score_analysis
