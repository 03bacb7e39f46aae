// The density of u = S / sigma for a sample SD S with df degrees of freedom.
//
// df u^2 has the chi-square density with df degrees of freedom, so with
// a = df / 2 and e = u^2 - 1 = v (2 + v) for u = 1 + v,
//
//     f(u) = (2 / u) K(a) exp(a (log(1 + e) - e)),  K(a) = a^a e^-a / Gamma(a).
//
// Written this way nothing large cancels: the naive form multiplies
// u^(df - 1) by exp(-df u^2 / 2) and divides by Gamma(df / 2), terms near
// exp(+-10^7) at df = 2 10^7 whose logarithms lose seven digits when they are
// added. Here the exponent a (log(1 + e) - e) is small wherever the density
// matters, because log(1 + e) - e is evaluated without cancellation, and
// K(a) = sqrt(a / (2 pi)) exp(-stirling(a)) with the Stirling error
// stirling(a) = log Gamma(a) - (a - 1/2) log a + a - log(2 pi) / 2 taken from
// its asymptotic series for a >= 15 (six terms, truncation below 3e-16) and
// K(a) directly for smaller a. Below u = 1/2 the exponent is
// a (2 log u + 1 - u^2), the same quantity without the rounding error that
// forming u^2 - 1 would carry into log(1 + e) there. Relative error a few ulps wherever the
// density is at least 1e-300 of its peak.

#include "sd_ratio_density.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tarnwick::plan {
namespace {

// exp(-cut) is far below the 1e-12 the power must reach; the probability
// outside the interval it sets is about exp(-cut) / sqrt(cut).
constexpr double cut = 40;

double stirlingError(double a) {
    const double inverse = 1 / a;
    const double inverse2 = inverse * inverse;
    return inverse *
           (1.0 / 12 -
            inverse2 *
                (1.0 / 360 -
                 inverse2 * (1.0 / 1260 -
                             inverse2 * (1.0 / 1680 -
                                         inverse2 * (1.0 / 1188 - inverse2 * 691.0 / 360360)))));
}

double logConstant(double a) {
    // The factor 2 of (2 / u) is folded in.
    if (a < 15) {
        return std::log(2 * std::pow(a, a) * std::exp(-a) / std::tgamma(a));
    }
    return std::log(2.0) + 0.5 * std::log(a / (2 * std::numbers::pi)) - stirlingError(a);
}

// The e > 0 where a (log(1 + e) - e) = -cut. The function is concave and
// decreasing in e, so Newton's steps from a start beyond the root fall
// monotonically onto it; x + sqrt(2 x), x = cut / a, is beyond it.
double upperEdge(double a) {
    const double x = cut / a;
    double e = x + std::sqrt(2 * x);
    for (int step = 0; step < 6; ++step) {
        const double g = log1pMinusX(e) + x;
        e -= g / (-e / (1 + e));
    }
    return e;
}

// The e in (-1, 0) with the same property: concave and increasing, so
// Newton's steps from a start below the root rise onto it.
double lowerEdge(double a) {
    const double x = cut / a;
    double e = std::max(-std::sqrt(2 * x), -(1 - std::exp(-x - 1)));
    for (int step = 0; step < 6; ++step) {
        const double g = log1pMinusX(e) + x;
        const double slope = -e / (1 + e);
        if (!(g < 0) || !(slope > 0)) {
            break;
        }
        e -= g / slope;
    }
    return std::max(e, -1.0);
}

}  // namespace

// log(1 + x) = 2 atanh(s) with s = x / (2 + x), and 2 s - x = -x s, so
// log(1 + x) - x = -x s + 2 (s^3 / 3 + s^5 / 5 + ...). For |x| <= 1/4,
// |s| <= 1/7 and twelve terms leave less than 1e-20 relative; beyond that the
// plain difference loses at most three bits.
double log1pMinusX(double x) {
    if (std::fabs(x) > 0.25) {
        return std::log1p(x) - x;
    }
    const double s = x / (2 + x);
    const double s2 = s * s;
    double sum = 0;
    for (int k = 25; k >= 3; k -= 2) {
        sum = s2 * (sum + 1.0 / k);
    }
    return -x * s + 2 * s * sum;
}

SdRatioDensity::SdRatioDensity(double df)
    : shape_(df / 2),
      logConstant_(logConstant(shape_)),
      lowest_(std::sqrt(1 + lowerEdge(shape_)) - 1),
      highest_(std::sqrt(1 + upperEdge(shape_)) - 1) {}

double SdRatioDensity::atOffset(double v) const {
    const double u = 1 + v;
    // Below u = 1/2, u^2 - 1 would carry an absolute rounding error that
    // log(1 + e) magnifies by 1 / u^2; there log(u^2) is taken directly.
    const double exponent = v < -0.5 ? 2 * std::log(u) - v * (2 + v) : log1pMinusX(v * (2 + v));
    return std::exp(logConstant_ + shape_ * exponent) / u;
}

}  // namespace tarnwick::plan
