#pragma once
// Fieller's test and interval for the ratio of two normal means, mu1 / mu2,
// from the sample means and the variance of m1 - theta m2. For a ratio theta
// the statistic T(theta) = (m1 - theta m2) / SE(theta) has Student's t
// distribution on the given df when mu1 / mu2 = theta (and mu2 > 0), so
// H0: mu1 / mu2 <= theta is rejected when T(theta) is large, and
// H0: mu1 / mu2 >= theta when it is small. The interval at critical value t
// is every theta with |T(theta)| <= t: the roots of a quadratic, in closed
// form, with no search. It is one bounded interval only when m2 is clearly
// away from zero (m2^2 > t^2 var(m2)); otherwise it is the whole line, or
// the line without an interval, or a half-line, and says so.
//
// Accuracy: the roots are taken in the form that avoids cancellation
// (q = B + sign(B) sqrt(D), roots q / A and C / q), so each end is within a
// few ulps of the exact root of the double coefficients; the coefficients
// themselves carry the rounding of m1^2, m2^2 and t^2 var, a few ulps
// relative to the larger term.

#include <string>

namespace tarnwick::report::fieller {

// var(m1 - theta m2) = a - 2 b theta + c theta^2: a = var(m1), c = var(m2),
// b = cov(m1, m2) (zero for independent groups).
struct Variance {
    double a = 0, b = 0, c = 0;
    double at(double theta) const;
};

// Welch's: SD1^2/n1 and SD2^2/n2, no covariance.
Variance welch(double sd1, double n1, double sd2, double n2);
// The pooled variance sp^2 shared by both means.
Variance pooled(double pooledVariance, double n1, double n2);
// Matched pairs: var(x - theta y) / n from the two SDs and the SD of the
// differences, whose covariance is (SD1^2 + SD2^2 - SDd^2) / 2.
Variance matched(double sd1, double sd2, double sdDifferences, double n);

// Welch-Satterthwaite df of var(m1 - theta m2) for independent groups.
double welchDf(double sd1, double n1, double sd2, double n2, double theta);

// T(theta) = (m1 - theta m2) / sqrt(var(theta)).
double tAt(double mean1, double mean2, const Variance& v, double theta);

enum class Shape {
    bounded,    // [low, high]
    outside,    // (-inf, low] and [high, +inf): the line without (low, high)
    fromLow,    // [low, +inf)
    toHigh,     // (-inf, high]
    wholeLine,  // every ratio
};

struct Interval {
    Shape shape = Shape::wholeLine;
    double low = 0, high = 0;  // as the shape uses them
};

// Every theta with |T(theta)| <= critical (critical > 0).
Interval interval(double mean1, double mean2, const Variance& v, double critical);

// What an interval that is not one bounded interval is, as a sentence read
// after "The <level> interval of the ratio" (ends formatted by `number`).
std::string unboundedSentence(const Interval& interval, std::string (*number)(double));

}  // namespace tarnwick::report::fieller
