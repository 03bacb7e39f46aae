#pragma once
// The rank-based equivalence test of a location shift (group 1 - group 2,
// in the scores' units): the Hodges-Lehmann estimate, its distribution-free
// 100 (1 - 2 alpha)% interval and the two one-sided Wilcoxon tests of the
// scores shifted by each bound.
//
// Independent groups: the estimate is the median of the n1 n2 differences
// x_i - y_j; the tests compare x - lower with y (H1: greater) and x - upper
// with y (H1: less) by the Wilcoxon-Mann-Whitney statistic W. Matched
// scores: the estimate is the median of the Walsh averages of d = x - y; the
// tests are signed-rank tests of d - lower and d - upper, differences equal
// to the bound left out. A minimal-effect hypothesis reverses both
// alternatives.
//
// Each test uses the exact null distribution when the groups (pairs left
// after dropping zeros) number fewer than 50 and no shifted values tie;
// otherwise the normal approximation with the tie correction in the variance
// and a continuity correction of 1/2 - the conventions of R's wilcox.test
// with its defaults (exact = NULL, correct = TRUE), whose p values these
// equal. The interval's ends are the order statistics of the differences (or
// Walsh averages) at the exact critical value, qwilcox(alpha) (at least 1),
// when the groups number fewer than 50 and the scores within each group
// (matched: the differences) have no ties; otherwise at the normal critical
// value with the same corrections: the k-th from each end where the
// standardised statistic crosses z(1 - alpha). These are the ends R's
// conf.int gives, exactly in the exact case; in the normal case R finds the
// same ends as roots to within its tolerance (1e-4). With so few scores
// that no order statistic reaches the level, the interval spans every
// difference (or average): the exact rank is raised to 1 as R does, the
// normal one clamped to the ends as R's two-sample root is; for matched
// scores R instead lowers the level, down to 0, and warns. The estimate is
// always the median itself (R reports a root of the statistic unless exact).
//
// Order statistics are selected without forming the differences
// (pairwise_selection.h): a million scores a group take about 0.53 s of CPU
// time, estimate, interval and both tests (bench/score_analysis).

#include <span>

#include "score_result.h"
#include "score_settings.h"

namespace tarnwick::score_analysis {

// Exact null distributions are used up to this many scores in each group
// (matched: pairs left after dropping zero differences). R's wilcox.test
// stops one short, below 50; at 50 its exact = TRUE gives the same values.
inline constexpr long exactRankLimit = 50;

ScoreResult rankIndependent(std::span<const double> group1, std::span<const double> group2,
                            const ScoreSettings& settings);

// Pairs by position: the differences are group1[i] - group2[i].
ScoreResult rankMatched(std::span<const double> group1, std::span<const double> group2,
                        const ScoreSettings& settings);

}  // namespace tarnwick::score_analysis
