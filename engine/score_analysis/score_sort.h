#pragma once
// Sorting finite scores ascending, in linear time for large sets: the
// analyses sort every group once, and at a million scores std::sort is a
// fifth of the rank analysis's time.
//
// Method: a least-significant-digit radix sort of the doubles' bit patterns
// mapped to unsigned keys in the same order (negative numbers' bits
// inverted, positive numbers' sign bit set), six passes of 11 bits, a pass
// skipped when every key has the same digit there. -0.0 sorts just before
// +0.0, which it equals, so equal scores stay adjacent. Below 1024 scores,
// std::sort.

#include <vector>

namespace tarnwick::score_analysis {

void sortScores(std::vector<double>& scores);

}  // namespace tarnwick::score_analysis
