#pragma once
// The checks every analysis makes before computing, with the sentences that
// say what is wrong. Each throws ScoreError.

#include <span>
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

std::vector<double> sortedCopy(std::span<const double> scores);

}  // namespace tarnwick::score_analysis
