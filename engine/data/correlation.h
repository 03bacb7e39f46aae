#pragma once
// Matched samples known only by their two SDs and the correlation r of the
// two measures: the SD of the difference scores,
// sqrt(SD1^2 + SD2^2 - 2 r SD1 SD2). The mean difference is Mean1 - Mean2.
//
// Method: the same quantity as (SD1 - SD2)^2 + 2 (1 - r) SD1 SD2, scaled by
// a power of two near the larger SD, so that r near 1 loses no digits to cancellation and no
// square overflows; a few ulps from the exact value.

namespace tarnwick::data {

// Throws DataError: an SD that is not a positive finite number, r outside
// [-1, 1], or a result that is not positive (r = 1 with equal SDs).
double sdOfDifferences(double sd1, double sd2, double r);

}  // namespace tarnwick::data
