#include "fieller.h"

#include <cmath>
#include <utility>

namespace tarnwick::report::fieller {

double Variance::at(double theta) const { return a - 2 * b * theta + c * theta * theta; }

Variance welch(double sd1, double n1, double sd2, double n2) {
    return {sd1 * sd1 / n1, 0, sd2 * sd2 / n2};
}

Variance pooled(double pooledVariance, double n1, double n2) {
    return {pooledVariance / n1, 0, pooledVariance / n2};
}

Variance matched(double sd1, double sd2, double sdDifferences, double n) {
    const double v1 = sd1 * sd1, v2 = sd2 * sd2;
    return {v1 / n, (v1 + v2 - sdDifferences * sdDifferences) / (2 * n), v2 / n};
}

double welchDf(double sd1, double n1, double sd2, double n2, double theta) {
    const double v1 = sd1 * sd1 / n1, v2 = theta * theta * sd2 * sd2 / n2;
    return (v1 + v2) * (v1 + v2) / (v1 * v1 / (n1 - 1) + v2 * v2 / (n2 - 1));
}

double tAt(double mean1, double mean2, const Variance& v, double theta) {
    return (mean1 - theta * mean2) / std::sqrt(v.at(theta));
}

// (m1 - theta m2)^2 - t^2 var(theta) <= 0 is A theta^2 - 2 B theta + C <= 0.
Interval interval(double mean1, double mean2, const Variance& v, double critical) {
    const double t2 = critical * critical;
    const double A = mean2 * mean2 - t2 * v.c;
    const double B = mean1 * mean2 - t2 * v.b;
    const double C = mean1 * mean1 - t2 * v.a;
    const double D = B * B - A * C;  // a quarter of the discriminant
    Interval out;
    if (A == 0) {
        // Linear: -2 B theta + C <= 0.
        if (B > 0) return {Shape::fromLow, C / (2 * B), 0};
        if (B < 0) return {Shape::toHigh, 0, C / (2 * B)};
        return out;  // C <= 0 whenever the variance is one (b^2 <= ac)
    }
    if (!(D > 0)) {
        // A > 0 with D = 0: the single point m1 / m2 (no variance); A < 0:
        // the quadratic is never positive.
        if (A > 0) return {Shape::bounded, B / A, B / A};
        return out;
    }
    const double q = B + std::copysign(std::sqrt(D), B);
    double r1 = q / A, r2 = q != 0 ? C / q : -r1;
    if (r1 > r2) std::swap(r1, r2);
    return {A > 0 ? Shape::bounded : Shape::outside, r1, r2};
}

std::string unboundedSentence(const Interval& i, std::string (*number)(double)) {
    switch (i.shape) {
        case Shape::bounded:
            break;
        case Shape::outside:
            return "is not one interval: it holds every ratio up to " + number(i.low) +
                   " and every ratio from " + number(i.high) +
                   " on, because the mean of group 2 is not significantly away from 0";
        case Shape::fromLow:
            return "has no upper end: it holds every ratio from " + number(i.low) +
                   " on, because the mean of group 2 is not significantly away from 0";
        case Shape::toHigh:
            return "has no lower end: it holds every ratio up to " + number(i.high) +
                   ", because the mean of group 2 is not significantly away from 0";
        case Shape::wholeLine:
            return "holds every ratio, because the mean of group 2 is not significantly away from "
                   "0";
    }
    return {};
}

}  // namespace tarnwick::report::fieller
