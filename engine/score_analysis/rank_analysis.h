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
// equal. The interval's ends are the k-th order statistics of the
// differences (or Walsh averages) from each end, k the number of whole j
// with P(S <= j) < alpha, read from the very tail the tests read their p
// values from: the exact distribution (counted in whole numbers,
// rank_null_distribution.h) when the groups number at most 50 and the
// scores within each group (matched: the differences) have no ties,
// otherwise the normal approximation with the same corrections. So a test
// against a bound is significant exactly when the bound lies beyond the
// end; in the exact case k is R's qwilcox(alpha) and the ends are R's. With
// so few scores that no test can reach alpha (k = 0: 3 scores against 3 at
// alpha .05, where the smallest p is 1/20), the interval is unbounded, its
// ends infinite, and MethodNotes says why and what the widest interval from
// the values reaches; R instead raises k to 1 and reports that interval at a
// lowered level, or at the level asked for when it is just reached, beside
// tests that cannot be significant. Ties at a bound (a bound equal to a
// difference) can part the normal approximation of a test from the
// interval's; conclude() then holds the end to the test's verdict.
// Scores sharing an offset more than 2^20 times their spread are taken less
// a common reference (exactly, score_reference.h), so that a score less a
// bound keeps the bound's digits. The estimate is always the median itself
// (R reports a root of the statistic unless exact).
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
