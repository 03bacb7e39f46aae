#pragma once
// The analysis of variance of a 2x2x2 crossover on the log scale, every
// subject with both periods: sequence (tested against subjects within
// sequence), subjects within sequence, period and formulation (tested
// against the residual), and the residual. From each subject's total U and
// period difference d, with n1 and n2 subjects in the sequences and
// h = 1/n1 + 1/n2:
//   sequence     (mean U1 - mean U2)^2 / (2h)                   df 1
//   subjects     sum over subjects of (U - its sequence's mean U)^2 / 2, df n - 2
//   period       (mean d1 + mean d2)^2 / (2h)                   df 1
//   formulation  (mean d1 - mean d2)^2 / (2h)                   df 1
//   residual     sum of (d - its sequence's mean d)^2 / 2       df n - 2
// the sums of squares of the fixed-effects model whatever the sequences'
// sizes (period and formulation adjusted for each other, as the unweighted
// means of the sequences do).

#include <vector>

#include "crossover_analysis.h"

namespace tarnwick::crossover {

struct TwoPeriodSubject {
    int sequence = 0;              // 0 or 1
    double first = 0, second = 0;  // the log responses of the earlier and the later period
};

// Needs at least one subject in each sequence and three in all.
std::vector<AnovaRow> twoPeriodAnova(const std::vector<TwoPeriodSubject>& subjects);

}  // namespace tarnwick::crossover
