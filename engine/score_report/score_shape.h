#pragma once
// The shape of a set of scores, as a box plot draws it and as the report
// names what may part the analyses: quartiles, whiskers, the scores beyond
// them, and the skewness.
//
// Quartiles by linear interpolation between order statistics at (n - 1) p
// (Hyndman and Fan's type 7, the default of R's quantile and of most
// spreadsheets). Whiskers reach the most extreme scores within 1.5 IQR of
// the quartiles (Tukey's fences); scores beyond them are outliers. The
// skewness is the adjusted Fisher-Pearson coefficient
// G1 = sqrt(n (n - 1)) / (n - 2) * m3 / m2^(3/2), with central moments about
// the mean (engine/moments) by compensated sums; its magnitude from 1 on is
// called strong, the common rule of thumb.

#include <optional>
#include <span>
#include <vector>

namespace tarnwick::score_report {

inline constexpr double fenceMultiple = 1.5;
inline constexpr double strongSkew = 1.0;

struct ScoreShape {
    long n = 0;
    double minimum = 0, maximum = 0;
    double q1 = 0, median = 0, q3 = 0;
    double lowWhisker = 0, highWhisker = 0;  // the extreme scores inside the fences
    std::vector<double> outliers;            // beyond the fences, in ascending order
    std::optional<double> skewness;          // none with fewer than 3 scores or no spread
    bool ties = false;                       // some score occurs more than once
};

// The p-quantile (0 <= p <= 1) of sorted scores, type 7. Needs a score.
double quantileOfSorted(std::span<const double> sorted, double p);

// Needs at least one score, every one finite.
ScoreShape scoreShape(std::span<const double> scores);

}  // namespace tarnwick::score_report
