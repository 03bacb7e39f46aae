#pragma once
// Bioequivalence from the numbers a study report gives, without its data:
// the interval, the two one-sided p values and the conclusion from a point
// estimate (the ratio of geometric means), a CV and the sizes per sequence;
// and the CV that a published interval implies, for planning a new study
// from an old one.
//
// On the log scale the estimate's standard error is se = s sqrt(c), with
// s = sqrt(log(1 + CV^2)) the log-scale SD and c = bk / S^2 * sum 1 / n_i
// the design's constant for the given sizes (be_design.h), on the design's
// residual df. The CV is the within-subject one for crossover and paired
// designs and the total one for parallel groups. Then
//
//     interval     exp(log GMR -+ t(1 - alpha, df) se)
//     p lower      P(T >= (log GMR - log lower) / se)    H0: ratio <= lower
//     p upper      P(T >= (log upper - log GMR) / se)    H0: ratio >= upper
//     CV from (L, U):  se = (log U - log L) / (2 t(1 - alpha, df)),
//                      CV = sqrt(exp(se^2 / c) - 1)
//
// The conclusion follows the European guideline (EMA, Guideline on the
// Investigation of Bioequivalence, CPMP/EWP/QWP/1401/98 Rev. 1, 2010,
// section 4.1.8): the interval's ends in percent, rounded to two decimals,
// must lie within the acceptance range, the bounds likewise rounded
// (80.00-125.00%), ends on a bound included.

#include <vector>

#include "be_plan.h"

namespace tarnwick::be {

// More refusals of this room (be_plan.h has the first).
namespace error {
constexpr int estimate = 450;  // the point estimate not positive and finite
constexpr int interval = 451;  // an interval end not positive and finite, or L >= U
}  // namespace error

struct ReportedInterval {
    double low = 0, high = 0;  // the 100(1 - 2 alpha)% interval of the ratio
    double pLower = 0;         // H0: the true ratio is at or below the lower bound
    double pUpper = 0;         // H0: the true ratio is at or above the upper bound
    double df = 0;
    double standardError = 0;  // of log GMR
    // The ends and the bounds in percent rounded to two decimals, and the
    // conclusion taken on them.
    double lowPercent = 0, highPercent = 0;
    double lowerPercent = 0, upperPercent = 0;
    bool equivalent = false;
    // A one-sided question (study.hypothesis): the p value of the one test
    // at the margin, P(T >= (log GMR - log margin) / se) with the
    // alternative above it (mirrored below), and whether the interval's end
    // on that side, in percent to two decimals as above, lies on the
    // alternative's side of the margin likewise rounded (an end on it
    // included, as for the bounds). pLower, pUpper and equivalent are then those of the margin's
    // side only: the other bound is at the end of the scale.
    double pOneSided = 0;
    bool oneSidedShown = false;
};

// From the point estimate, study.cv, study.alpha, study.lower and
// study.upper (study.ratio0 and study.scale are not used: this is the ratio
// of geometric means) and the sizes per sequence. Throws plan::PlanError for
// input that has no answer.
ReportedInterval intervalFromReport(const BeStudy& study, double estimate,
                                    const std::vector<long>& sequenceSizes);

// The CV that the interval (low, high) of a study of the given design and
// sizes implies at alpha: within-subject for crossovers and paired designs,
// total for parallel groups.
double cvFromInterval(BeDesign design, double alpha, double low, double high,
                      const std::vector<long>& sequenceSizes);

// A ratio in percent rounded half away from zero to two decimals, from the
// shortest decimal text of the ratio, so that 0.80 is 80.00 and 0.800049999
// is 80.00, not a product's 80.004999...
double percentToTwoDecimals(double ratio);

}  // namespace tarnwick::be
