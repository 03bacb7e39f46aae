#pragma once
// Two groups' scores less a common reference, so that a mean difference is
// the difference of two small means rather than of two large ones: scores
// sharing an offset such as 1e15 + k / 8 (microsecond timestamps) keep the
// digits that tell the groups apart, which two separately rounded means of
// the raw scores lose (each to half an ulp of the offset).
//
// The reference is the midpoint of the pooled extremes, min / 2 + max / 2:
// every score less it is at most half the pooled range in size, so the
// subtraction cannot overflow and rounds only to the precision of the
// spread; a shift by a whole offset (exact in doubles) leaves the shifted
// scores, and so every estimate, unchanged up to that rounding. Both
// groups lose the same reference, so a difference of their means, trimmed
// means or resampled means is the difference of the raw scores'.

#include <span>
#include <vector>

namespace tarnwick::score_analysis {

double commonReference(std::span<const double> x, std::span<const double> y);

// For the rank analysis: the common reference where the scores share an
// offset more than 2^20 times their pooled range (so that a score less a
// bound would lose the bound's digits) and every score less it is exact
// (all of one sign and within a factor of 2 of it, Sterbenz's lemma); 0
// otherwise. Every pairwise difference is then the very double it was;
// and ordinary scores keep the raw arithmetic R's wilcox.test uses, whose
// ties between a score less a bound and a score of the other group (decimal
// scores and bounds) these tests then find alike.
double exactReference(std::span<const double> x, std::span<const double> y);

std::vector<double> lessReference(std::span<const double> scores, double reference);

}  // namespace tarnwick::score_analysis
