#pragma once
// Planning a bioequivalence study: the exact power of the two one-sided
// tests of the ratio of geometric means on the log scale, for any design of
// be_design.h, and the smallest total size that reaches a target power.
//
// Equivalence is concluded when the 100(1 - 2 alpha)% interval of
// exp(mean log T - mean log R) lies strictly inside (lower, upper). On the
// log scale that is the planning engine's test of a difference: bounds
// log(lower) and log(upper), true difference log(ratio0), SD
// s = sqrt(log(1 + CV^2)), design constant bk / S^2 * sum 1 / n_i and the
// design's df; the power is the planning engine's exact integral (Owen's Q
// written as one integral over the sample SD), never an approximation.
//
// The older tables of the literature (Chow & Liu's additive model) plan on
// the raw scale instead: the difference of the means T - R in units of the
// reference mean, bounds lower - 1 and upper - 1 (-0.20 and +0.20 for
// 0.80-1.20), true difference ratio0 - 1, and the CV itself as the SD in
// those units. Scale::difference asks that.

#include <vector>

#include "be_design.h"
#include "plan.h"

namespace tarnwick::be {

// Where the test is taken: on the logs (the ratio of geometric means) or on
// the raw scale in units of the reference mean.
enum class Scale { ratio, difference };

struct BeStudy {
    BeDesign design = BeDesign::crossover2x2;
    Scale scale = Scale::ratio;
    // The CV as a fraction (0.30 for 30%): within-subject for crossover and
    // paired designs, total for parallel groups.
    double cv = 0.3;
    double ratio0 = 0.95;  // the true ratio T / R (of geometric means on the ratio scale)
    double lower = 0.80,
           upper = 1.25;  // the bounds as ratios, lower < upper (ratio scale: 0 < lower)
    double alpha = 0.05;  // each one-sided test's level, 0 < alpha < 0.5
    // A one-sided question (settings::isOneSided) takes one margin as a ratio
    // (0.80 for non-inferiority with a higher ratio better; on the raw scale
    // likewise in units of the reference mean) in place of the bounds, which
    // are then not used, and the direction in which a larger ratio is
    // better. Its power is the one test at the margin (log margin on the
    // ratio scale), the noncentral t tail of power_integral.h.
    settings::Hypothesis hypothesis = settings::Hypothesis::equivalence;
    double margin = 0.80;
    settings::Better better = settings::Better::higher;
};

// The numbers of the refusals here, thrown as plan::PlanError so that one
// catch serves all planning; this room's own range, 441 to 459.
namespace error {
constexpr int alpha = 441;   // alpha outside (0, 0.5)
constexpr int bounds = 442;  // a bound not positive and finite, or lower >= upper
constexpr int cv = 443;      // the CV not positive and finite
constexpr int ratio0 =
    444;  // the true ratio not positive and finite; for a size, outside the bounds
constexpr int sequences = 445;         // not one size per sequence
constexpr int size = 446;              // a sequence without subjects, or no residual df
constexpr int sizeAboveMaximum = 447;  // more than maxTotal subjects
constexpr int targetPower = 448;       // the target outside (alpha, 1)
constexpr int sizeNotReached = 449;    // no size up to maxTotal reaches the target
constexpr int margin = 452;  // a one-sided question's margin not positive and finite (ratio scale)
}  // namespace error

// The largest total number of subjects a study may have or a search go to.
constexpr long maxTotal = 10'000'000;

// s = sqrt(log(1 + CV^2)), the log-scale SD of a CV, without the loss of
// digits of log at small CV.
double logScaleSd(double cv);

// The power with the given subjects per sequence (one size per sequence, in
// the order of the design's sequences). The true ratio may lie anywhere,
// even outside the bounds (the power is then below alpha). Throws
// plan::PlanError for input that has no answer.
double power(const BeStudy& study, const std::vector<long>& sequenceSizes);

// The power with n subjects in all, split as evenly as the sequences allow.
double power(const BeStudy& study, long totalSize);

struct BeSizeAnswer {
    long total = 0;
    std::vector<long> sequenceSizes;  // all equal: whole sequences
    double power = 0;                 // the power at that size
};

// The smallest total size, a multiple of the number of sequences, whose power
// reaches targetPower. Throws plan::PlanError when the input has no answer
// or no size up to maxTotal reaches the target.
BeSizeAnswer smallestSize(const BeStudy& study, double targetPower);

}  // namespace tarnwick::be
