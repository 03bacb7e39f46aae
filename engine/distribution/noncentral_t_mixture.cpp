// Method. With U = sqrt(V / df), V chi-square on df degrees of freedom, g the
// density of U and Q(u) = P(U > u), P(T <= t) = E Phi(t U - lambda) for
// t > 0. Split at u0 = lambda / t, where the normal cdf crosses 1/2:
//   P(T <= t) = Q(u0) + (1/t) int_0^inf Phi(-x) [g(u0 - x/t) - g(u0 + x/t)] dx,
// (the two halves of E Phi(t U - lambda) - Q(u0) folded onto x = |t u -
// lambda|). The weight Phi(-x) is fixed, so its Gauss rules are too: 8 to 32
// nodes by the size of t^2 / (2 df) (8 from 16 on, 10 from 8, 12 from 4, 16
// from 1, 24 from 1/2, 32 below), computed once at 200 digits by
// bench/batch/gauss_rules.py. The bracket is smooth on the scale of the weight
// when s = t / sqrt(2 df), the SD of t U, is not small; g(u) = 0 for u <= 0 is
// a kink at x = lambda, where the weight is below 1e-19 for lambda >= 9. Q(u0)
// is Boost.Math's regularised incomplete gamma Q(df/2, df u0^2 / 2). The
// density is g(u) = g(1) exp(df log1pmx(u - 1) - df/2 (u - 1)^2 - log u), with
// log1pmx(d) = log(1 + d) - d summed as a series near 0 so that df times it
// keeps its digits up to df 1e7, and g(1) = df Gamma'(df/2; df/2), Boost.Math's
// gamma_p_derivative, exact to a few ulps for any df.
//
// Accuracy, against Boost.Math at 50 digits and a 50-digit integration (the
// tests): within 1.5e-15 + 2e-17 sqrt(df) absolute for s >= 1/2 and lambda >=
// 9 (1.6e-15 at df 1e4, 9e-15 at df 1e6 seen); the second part is the
// rounding of the incomplete gamma's argument df u0^2 / 2. The interval of d
// does not feel it: the cdf's slope in lambda grows as sqrt(df) too. Per evaluation 17
// to 65 density evaluations (an exp and a few operations each) and one
// incomplete gamma, about 1 us whatever lambda, where the series takes about
// 17 sqrt(lambda^2 / 2) terms in each of two sums (300 us at lambda 1000).
// The derivatives in lambda come from the same nodes (g' = g (df - 1)/u - df
// u g), at the price of a division a node; Q(u0)' = -g(u0).
//
// Far out the series summed in double loses digits (its terms' rounding
// accumulates over thousands of terms): 2.8e-12 absolute at t = 2000, df 8,
// lambda 2760, where this rule is within 6e-17 of 50 digits.

#include "noncentral_t_mixture.h"

#include <boost/math/special_functions/gamma.hpp>
#include <cmath>

#include "boost_math_policy.h"

namespace tarnwick {
namespace {

// Errors as errno and a NaN, everything in double (boost_math_policy.h).
using Policy = BoostMathPolicy;

#include "noncentral_t_mixture_rules.inc"

// log(1 + d) - d, to a few ulps relative. Near 0 from r = d / (2 + d):
// log(1 + d) = 2 atanh r, and 2 r - d = -d r, so no term cancels.
double log1pmx(double d) {
    if (std::fabs(d) < 0.125) {
        const double r = d / (2 + d), r2 = r * r;
        // |r| < 1/15: the terms r^(2k+1) / (2k+1) fall below 1e-17 of the sum by k = 8.
        double p = 1.0 / 17;
        for (int k = 15; k >= 3; k -= 2)
            p = p * r2 + 1.0 / k;
        return -d * r + 2 * r * r2 * p;
    }
    return std::log1p(d) - d;
}

// The density of U at its mode's neighbour 1, in logarithms; the batch asks
// for one df many times in a row.
double logDensityAtOne(double df) {
    thread_local double lastDf = 0, lastValue = 0;
    if (df != lastDf) {
        const double a = df / 2;
        lastValue = std::log(df * boost::math::gamma_p_derivative(a, a, Policy{}));
        lastDf = df;
    }
    return lastValue;
}

struct Density {
    double df, logAtOne;
    // g(u), g'(u) and g''(u) at u = 1 + d; zero at and below u = 0. Taking d
    // rather than u keeps the exponent's digits: df d is up to some 10^4.
    void at(double d, double& g, double& g1, double& g2) const {
        const double u = 1 + d;
        if (!(u > 0)) {
            g = g1 = g2 = 0;
            return;
        }
        const double l = log1pmx(d);
        g = std::exp(logAtOne + df * l - df / 2 * d * d - d - l);
        const double inverse = 1 / u;
        const double logSlope = (df - 1) * inverse - df * u;
        g1 = g * logSlope;
        g2 = g * (logSlope * logSlope - (df - 1) * inverse * inverse - df);
    }
};

template <int N>
CdfAndSlopes foldedRule(const double (&nodes)[N], const double (&weights)[N], const Density& g,
                        double t, double u0, double d0) {
    double sum = 0, sum1 = 0, sum2 = 0;
    for (int i = 0; i < N; ++i) {
        const double h = nodes[i] / t;
        double lo, lo1, lo2, hi, hi1, hi2;
        g.at(d0 - h, lo, lo1, lo2);
        g.at(d0 + h, hi, hi1, hi2);
        sum += weights[i] * (lo - hi);
        sum1 += weights[i] * (lo1 - hi1);
        sum2 += weights[i] * (lo2 - hi2);
    }
    double g0, g01, g02;
    g.at(d0, g0, g01, g02);
    const double a = g.df / 2;
    const double tail = boost::math::gamma_q(a, a * u0 * u0, Policy{});
    // d/dlambda = (1/t) d/du0.
    return {tail + sum / t, (-g0 + sum1 / t) / t, (-g01 + sum2 / t) / (t * t)};
}

}  // namespace

std::optional<CdfAndSlopes> noncentralTMixture(double t, double df, double lambda) {
    if (!(df > 0) || !std::isfinite(df) || !std::isfinite(t) || !std::isfinite(lambda))
        return std::nullopt;
    const bool reflect = t < 0;
    if (reflect) t = -t, lambda = -lambda;
    if (!(lambda >= mixtureLeast) || !(t > 0)) return std::nullopt;
    const double s2 = t * t / (2 * df);
    if (!(s2 >= 0.25)) return std::nullopt;
    const Density g{df, logDensityAtOne(df)};
    // u0 - 1 from lambda - t, which is exact when the two are close: u0 itself
    // is rounded, and df times its rounding would move the exponent by 1e-13.
    const double u0 = lambda / t, d0 = (lambda - t) / t;
    // The wider the density on the weight's scale, the smoother the bracket
    // and the fewer nodes it needs; each size from where it is within 2e-16
    // of the 32-node rule (up to 20,000 points near the .05 and .95 points in
    // each octave of t^2 / (2 df), df 3 to 1e4).
    const CdfAndSlopes r = s2 >= 16    ? foldedRule(rule8Nodes, rule8Weights, g, t, u0, d0)
                           : s2 >= 8   ? foldedRule(rule10Nodes, rule10Weights, g, t, u0, d0)
                           : s2 >= 4   ? foldedRule(rule12Nodes, rule12Weights, g, t, u0, d0)
                           : s2 >= 1   ? foldedRule(rule16Nodes, rule16Weights, g, t, u0, d0)
                           : s2 >= 0.5 ? foldedRule(rule24Nodes, rule24Weights, g, t, u0, d0)
                                       : foldedRule(rule32Nodes, rule32Weights, g, t, u0, d0);
    if (!std::isfinite(r.cdf) || !std::isfinite(r.slope) || !std::isfinite(r.curvature))
        return std::nullopt;
    // P(T <= t; lambda) = 1 - P(T <= -t; -lambda).
    if (reflect) return CdfAndSlopes{1 - r.cdf, r.slope, -r.curvature};
    return r;
}

}  // namespace tarnwick
