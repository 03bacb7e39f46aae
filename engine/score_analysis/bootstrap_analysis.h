#pragma once
// The studentised bootstrap (bootstrap-t) equivalence test of the mean
// difference (group 1 - group 2; matched: the mean of the differences).
//
// Each of B replicates resamples each group with replacement at its own size
// (matched: resamples the pairs, that is the differences) and studentises
// its difference by its own standard error: t* = (D* - D) / SE*, with
// Welch's SE sqrt(s1*^2 / n1 + s2*^2 / n2) for independent groups and
// s*/sqrt(n) for matched scores. A replicate whose SE is 0 (every resampled
// score equal) gets t* = +-infinity by the sign of D* - D, or 0 when D* = D,
// and is counted in the notes.
//
// With t_L = (D - lower) / SE and t_U = (D - upper) / SE from the scores
// themselves, the one-sided p values are (#{t* >= t_L} + 1) / (B + 1) against
// the lower bound and (#{t* <= t_U} + 1) / (B + 1) against the upper
// (minimal effect: the counts of the other sides). The interval is
// [D - q_hi SE, D - q_lo SE] with q_lo the (m + 1)-th smallest t* and q_hi
// the (m + 1)-th largest, m the largest count with (m + 1) / (B + 1) < alpha:
// so the interval lies inside the bounds exactly when both equivalence
// p values are below alpha (to the rounding of the two comparisons).
//
// An end whose t* is infinite (more than m replicates without spread) is
// unbounded: -inf or +inf, with MethodNotes::unbounded saying why; an end
// that overflows from finite t* is refused, as every analysis refuses it.
//
// Reproducible bit for bit on every platform and whatever the number of
// threads: replicate b draws from its own stream, xoshiro256** seeded from
// `seed` and b (replicate_stream.h), group 1's n1 indices then group 2's n2,
// by Lemire's unbiased bounded draws; sums in a fixed order (four partial
// sums by position, added pairwise); and only operations that IEEE
// arithmetic rounds one way (no std::hypot, whose last bit varies by C
// library; no contraction into fused multiply-adds, which ISO mode, the
// project's, leaves off). The replicates are shared among the cores in
// contiguous blocks. Time O(B (n1 + n2)) split among the cores: 100,000
// scores a group with B = 10,000 are 2 x 10^9 draws (bench/bootstrap).

#include <cstdint>
#include <exception>
#include <functional>
#include <span>

#include "score_result.h"
#include "score_settings.h"

namespace tarnwick::score_analysis {

// std::mt19937_64's own default seed.
inline constexpr std::uint64_t defaultBootstrapSeed = 5489;

// Told now and then how many replicates are done, on the thread that runs
// the analysis (every 2^16 scores drawn or so); answering false stops the
// analysis with BootstrapStopped. A window shows its progress with it and
// drops a run nobody waits for any more.
using BootstrapProgress = std::function<bool(long done, long replicates)>;

struct BootstrapSettings {
    long replicates = 10000;  // B: at least enough that 1 / (B + 1) < alpha, at most 10^7
    std::uint64_t seed = defaultBootstrapSeed;
    unsigned threads = 0;             // how many to draw the replicates on; 0: one per core
    BootstrapProgress progress = {};  // none: runs to the end unwatched
};

// The analysis was stopped by its progress callback: no result and no
// refusal, so it is not a ScoreError and passes through whoever collects those.
struct BootstrapStopped : std::exception {
    const char* what() const noexcept override { return "the bootstrap was stopped"; }
};

ScoreResult bootstrapIndependent(std::span<const double> group1, std::span<const double> group2,
                                 const ScoreSettings& settings,
                                 const BootstrapSettings& bootstrap = {});
ScoreResult bootstrapMatched(std::span<const double> group1, std::span<const double> group2,
                             const ScoreSettings& settings,
                             const BootstrapSettings& bootstrap = {});

}  // namespace tarnwick::score_analysis
