#pragma once
// The checks every analysis makes before computing, with the sentences that
// say what is wrong. Each throws ScoreError.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::score_analysis {

// At least 2 scores, every one finite. `group` names it in the sentence
// ("group 1").
void checkGroup(std::span<const double> scores, std::string_view group);

// Two independent groups, each checked, and not both without spread.
void checkIndependent(std::span<const double> x, std::span<const double> y);

// Matched scores: equal lengths, at least 2 pairs, finite scores and finite
// differences x - y that are not all equal. Returns the differences.
std::vector<double> matchedDifferences(std::span<const double> x, std::span<const double> y);

// The value itself, or ScoreError (tooLarge) saying `what` overflowed.
double finiteOrTooLarge(double value, std::string_view what);

// (estimate - bound) / se, or ScoreError (tooLarge) saying that the bound
// (`side`: "lower" or "upper") is too far from the estimate: the true
// reason when the scores are ordinary and the bound is near the largest
// double, or the bound ordinary and the standard error near the smallest.
double tStatistic(double estimate, double bound, double se, std::string_view side);

// A number as the sentences show it: the shortest text that reads back to
// it ("1e-320", "0.05").
std::string shortest(double value);

std::vector<double> sortedCopy(std::span<const double> scores);

}  // namespace tarnwick::score_analysis
