// Method. cdf(t; df, lambda) of the noncentral t falls as lambda rises, so
// each end is the one root of cdf(t; df, lambda) = target. The search starts
// from the approximation of Abramowitz and Stegun 26.7.10, cdf ~ Phi((t (1 -
// 1/(4 df)) - lambda) / sqrt(1 + t^2 / (2 df))): its root, then one Newton
// step with that approximation's slope, then secant steps, kept inside the
// bracket (bisection otherwise) once the root is bracketed. A secant step's
// error is about C e0 e1 with C = f'' / (2 f'); the normal approximation
// gives C, so the search stops as soon as that prediction (with a margin of
// 10) is below 1e-13 relative to max(1, |lambda|), or a step is below
// 1e-12. The 50-digit oracle test measures the result within 1e-12
// (largest error seen 1.0e-13). Typically 2 or 3 evaluations per end, each a few
// microseconds. The cdf (noncentral_t_cdf.cpp) is evaluated in double: its 15
// or so digits are ample for 1e-12 in lambda. It reports its errors as a NaN,
// never by throwing; anything thrown all the same is caught and the end left
// missing.

#include "noncentral_t_interval.h"

#include <algorithm>
#include <boost/math/special_functions/gamma.hpp>
#include <cmath>
#include <exception>
#include <numbers>
#include <optional>

#include "boost_math_policy.h"
#include "noncentral_t_cdf.h"
#include "noncentral_t_mixture.h"

namespace tarnwick {
namespace {

// Errors as errno and a NaN, everything in double (boost_math_policy.h).
using Policy = BoostMathPolicy;

constexpr double relativeTolerance = 1e-12;
constexpr double predictedTolerance = 1e-13;
constexpr int maximumSteps = 100;

const std::string noConvergence = "the noncentral t interval did not converge";

thread_local IntervalEffort effort;

// Far out (noncentral_t_mixture) each evaluation also gives the cdf's first
// two derivatives, so Halley's steps, whose error after a step d is about
// K |d|^3. K is measured from the last two steps (|d1| / |d0|^3, which is K
// once the steps converge), so the search stops, without evaluating again,
// when 1000 K |d|^3 is below 1e-13 relative, or a step is below 1e-12. A
// constant from the normal approximation, as the secant search uses, is not
// enough here: at df 6 the cdf in lambda is far from normal and K is many
// times 1 / spread^2. Whenever the rule does not apply at an iterate, the
// secant search takes over.
std::optional<double> halleyEnd(double t, double df, double target, double start, double spread) {
    double x = start, previous = 0;
    for (int i = 0; i < maximumSteps; ++i) {
        const auto f = noncentralTMixture(t, df, x);
        if (!f || !(f->slope < 0)) return std::nullopt;
        ++effort.evaluations;
        const double e = f->cdf - target;
        if (e == 0) return x;
        const double newton = -e / f->slope;
        const double denominator = 1 - newton * f->curvature / (2 * f->slope);
        // Far from the root Halley's correction may turn the step; then Newton's.
        double step = denominator > 0.5 ? newton / denominator : newton;
        step = std::clamp(step, -4 * spread, 4 * spread);
        x += step;
        const double scale = std::fmax(1.0, std::fabs(x));
        const double size = std::fabs(step);
        if (size <= relativeTolerance * scale) return x;
        if (previous != 0 && size < 1e-2 * previous) {
            const double k = size / (previous * previous * previous);
            if (1000 * k * size * size * size <= predictedTolerance * scale) return x;
        }
        previous = size;
    }
    return std::nullopt;
}

// Where the rule applies, the ends are quantiles of W = t U - Z (P(T <= t) =
// P(W >= lambda), U = sqrt(V / df), Z standard normal), whose cumulants are
// t^k times those of U (and 1 more in the variance): the Cornish-Fisher
// expansion to the fourth cumulant puts the start of Halley's steps about ten
// times nearer the root than the normal approximation does, so that the
// second evaluation nearly always stops the search (the stop needs the
// second step to be small). Only the start: the steps and the stop are as
// before, so this changes the count of evaluations, not the ends' accuracy.
// Beyond df 1e5 the cumulants' differences cancel, and below df 3 U is too far
// from normal for the expansion: there the normal start stays.
struct Cumulants {
    double mean, k2, k3, k4;
};
Cumulants cumulantsOfU(double df) {
    thread_local double lastDf = 0;
    thread_local Cumulants last{};
    if (df != lastDf) {
        // E U = sqrt(2/df) Gamma((df + 1)/2) / Gamma(df/2); E U^2 = 1, E U^3 =
        // (df + 1)/df E U, E U^4 = (df + 2)/df.
        const double m1 =
            std::sqrt(2 / df) / boost::math::tgamma_delta_ratio(df / 2, 0.5, Policy{});
        const double m3 = (df + 1) / df * m1, m4 = (df + 2) / df;
        const double m1s = m1 * m1;
        last = {m1, 1 - m1s, m3 - 3 * m1 + 2 * m1s * m1,
                m4 - 4 * m3 * m1 - 3 + 12 * m1s - 6 * m1s * m1s};
        lastDf = df;
    }
    return last;
}

// The lambda at which P(T <= t) is target, from the expansion; z is the
// normal quantile of 1 - target.
double cornishFisherStart(double t, double df, double z, double fallback) {
    if (!(df >= 3 && df <= 1e5)) return fallback;
    const Cumulants c = cumulantsOfU(df);
    const double mean = t * c.mean;
    const double variance = t * t * c.k2 + 1;
    const double sd = std::sqrt(variance);
    const double skew = t * t * t * c.k3 / (variance * sd);
    const double kurtosis = t * t * t * t * c.k4 / (variance * variance);
    const double z2 = z * z;
    const double w = z + (z2 - 1) * skew / 6 + (z2 - 3) * z * kurtosis / 24 -
                     (2 * z2 - 5) * z * skew * skew / 36;
    const double start = mean + sd * w;
    return std::isfinite(start) ? start : fallback;
}

// The end where P(T <= t) is target; normalQuantile is the standard normal
// quantile of 1 - target, which also places the normal approximation's start.
Value solveEnd(double t, double df, double target, double normalQuantile, double centre,
               double spread) {
    const double start = centre + normalQuantile * spread;
    if (const auto end =
            halleyEnd(t, df, target, cornishFisherStart(t, df, normalQuantile, start), spread))
        return Value::of(*end);
    const auto excess = [&](double lambda) {
        ++effort.evaluations;
        return noncentralTCdf(t, df, lambda) - target;
    };
    double x0 = start;
    double f0 = excess(x0);
    if (!std::isfinite(f0)) return Value::missing(noConvergence);
    // The first step is Newton's on the normal approximation cdf ~ Phi((t -
    // lambda) / spread), capped at a few spreads; then secant steps, kept
    // inside the bracket (bisection otherwise) once the root is bracketed.
    const double z = (centre - x0) / spread;
    const double normalSlope = std::exp(-z * z / 2) / (std::sqrt(2 * std::numbers::pi) * spread);
    double x1 = x0 + std::copysign(std::fmin(std::fabs(f0) / normalSlope, 4 * spread), f0);
    double lo = -INFINITY, hi = INFINITY;  // the bracket, once a sign change is seen
    const auto narrow = [&](double x, double fx) {
        // cdf falls as lambda rises: a positive excess lies below the root.
        if (fx > 0)
            lo = std::fmax(lo, x);
        else
            hi = std::fmin(hi, x);
    };
    narrow(x0, f0);
    for (int i = 0; i < maximumSteps; ++i) {
        const double f1 = excess(x1);
        if (!std::isfinite(f1)) return Value::missing(noConvergence);
        if (f1 == 0) return Value::of(x1);
        narrow(x1, f1);
        double x2 = f1 == f0 ? x1 + (f1 > 0 ? spread : -spread) : x1 - f1 * (x1 - x0) / (f1 - f0);
        const bool bracketed = std::isfinite(lo) && std::isfinite(hi);
        const bool bisected = bracketed && !(x2 > lo && x2 < hi);
        if (bisected) x2 = lo + (hi - lo) / 2;
        // Unbracketed, the secant may not leap more than a few spreads.
        if (!bracketed) x2 = x1 + std::clamp(x2 - x1, -4 * spread, 4 * spread);
        const double scale = std::fmax(1.0, std::fabs(x2));
        if (std::fabs(x2 - x1) <= relativeTolerance * scale) return Value::of(x2);
        // The normal approximation puts C = f'' / (2 f') at |u| / (2 spread),
        // u the standardised distance from the centre; once the steps are
        // small, the predicted error C e0 e1 stops the search one evaluation
        // before the step itself would.
        if (!bisected && std::fabs(x2 - x1) <= 1e-3 * scale) {
            const double u = std::fabs(centre - x2) / spread;
            const double curvature = 10 * (u + 1) / (2 * spread);
            if (curvature * std::fabs(x2 - x1) * std::fabs(x2 - x0) <= predictedTolerance * scale)
                return Value::of(x2);
        }
        x0 = x1, f0 = f1, x1 = x2;
    }
    return Value::missing(noConvergence);
}

}  // namespace

IntervalEffort intervalEffort() { return effort; }

NoncentralityInterval noncentralityInterval(double t, double df, double confidence) {
    ++effort.intervals;
    if (!(df > 0) || !std::isfinite(t)) {
        const std::string why =
            !(df > 0) ? "the degrees of freedom are not positive" : "the t value is not finite";
        return {Value::missing(why), Value::missing(why)};
    }
    const double tail = (1 - confidence) / 2;
    try {
        const double z = std::sqrt(2.0) * boost::math::erfc_inv(2 * tail, Policy{});
        const double centre = df >= 1 ? t * (1 - 1 / (4 * df)) : t;
        const double spread = std::sqrt(1 + t * t / (2 * df));
        return {solveEnd(t, df, 1 - tail, -z, centre, spread),
                solveEnd(t, df, tail, z, centre, spread)};
    } catch (const std::exception&) {
        return {Value::missing(noConvergence), Value::missing(noConvergence)};
    }
}

}  // namespace tarnwick
