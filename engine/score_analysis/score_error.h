#pragma once
// What stops an analysis of raw scores: a number for programs and one
// sentence for people. Every analysis checks its settings and scores before
// computing, and throws a ScoreError rather than return a number that would
// be wrong; nothing it computes is silently replaced.

#include "numbered_error.h"

namespace tarnwick::score_analysis {

enum class ScoreErrorNumber {
    invalidSettings = 1,  // alpha outside (0, 0.5), bounds not finite or not lower < upper
                          // (ratio scale: not above 0),
                          // too few bootstrap replicates for alpha
    tooFewScores = 2,     // fewer than 2 scores in a group, or fewer than 2 pairs
    unequalPairs = 3,     // matched scores: the two groups differ in length
    notFinite = 4,        // a score that is NaN or infinite
    noSpread = 5,         // every score equal in each group (matched: every difference
                          // equal), or, for trimmed means, nothing left to spread after
                          // winsorising
    tooLarge = 6,         // a difference, sum or variance beyond the range of a double, or
                          // more than 2^31 - 1 scores in a group
    notPositive = 7,      // the ratio scale: a score of 0 or below, which has no logarithm
};

class ScoreError : public NumberedError<ScoreErrorNumber> {
public:
    using NumberedError::NumberedError;
};

}  // namespace tarnwick::score_analysis
