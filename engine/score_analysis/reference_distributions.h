#pragma once
// The normal and Student's t tails and points the analyses read their p
// values and intervals from: Boost.Math in double (no promotion to long
// double), errors as NaN and errno, never thrown; a point that is not finite
// becomes ScoreError (tooLarge). Boost's students_t takes the non-integer df
// of Welch's and Yuen's tests; its tails are accurate to a few ulps for df
// >= 1 (Boost's own error tables), as are the normal tails (erfc).

namespace tarnwick::score_analysis {

double normalUpperTail(double z);       // P(Z >= z)
double normalLowerTail(double z);       // P(Z <= z)
double normalUpperPoint(double alpha);  // z with P(Z >= z) = alpha

double tUpperTail(double t, double df);  // P(T >= t)
double tLowerTail(double t, double df);  // P(T <= t)
double tUpperPoint(double alpha, double df);

}  // namespace tarnwick::score_analysis
