// Method. cdf(t; df, lambda) of the noncentral t falls as lambda rises, so
// each end is the one root of cdf(t; df, lambda) = target. The search starts
// from the approximation of Abramowitz and Stegun 26.7.10, cdf ~ Phi((t (1 -
// 1/(4 df)) - lambda) / sqrt(1 + t^2 / (2 df))): its root, then one Newton
// step with that approximation's slope, then secant steps, kept inside the
// bracket (bisection otherwise) once the root is bracketed. It stops when a
// step is below 1e-10 relative to max(1, |lambda|), not at full precision:
// the last step is then the error of the one before, and the secant's order
// (1.6) leaves the result well inside 1e-10 (the 50-digit oracle test
// measures it). Typically 2 to 5 evaluations per end, each a few
// microseconds. Boost.Math evaluates the cdf in double (no promotion to long
// double: the tolerance needs far fewer digits than the cdf carries, and it
// halves the time). It reports its errors through errno and a NaN under this
// policy, never by throwing; anything thrown all the same is caught and the
// end left missing.
//
// Hedges' correction: Gamma(a) / Gamma(a + 1/2), a = (df - 1) / 2, from
// boost::math::tgamma_delta_ratio, which is accurate to a few ulps for all a
// (a Lanczos ratio, with no cancellation of large log-gamma values).

#include "noncentral_t_interval.h"

#include <algorithm>
#include <boost/math/distributions/non_central_t.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <cmath>
#include <exception>
#include <numbers>

namespace tarnwick::report {
namespace {

namespace policies = boost::math::policies;
using Policy = policies::policy<policies::domain_error<policies::errno_on_error>,
                                policies::pole_error<policies::errno_on_error>,
                                policies::overflow_error<policies::errno_on_error>,
                                policies::evaluation_error<policies::errno_on_error>,
                                policies::rounding_error<policies::errno_on_error>,
                                policies::indeterminate_result_error<policies::errno_on_error>,
                                policies::promote_double<false>>;
using NoncentralT = boost::math::non_central_t_distribution<double, Policy>;

constexpr double relativeTolerance = 1e-10;
constexpr int maximumSteps = 100;

const std::string noConvergence = "the noncentral t interval did not converge";

Value solveEnd(double t, double df, double target, double start, double centre, double spread) {
    const auto excess = [&](double lambda) {
        return boost::math::cdf(NoncentralT(df, lambda), t) - target;
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
        if (bracketed && !(x2 > lo && x2 < hi)) x2 = lo + (hi - lo) / 2;
        // Unbracketed, the secant may not leap more than a few spreads.
        if (!bracketed) x2 = x1 + std::clamp(x2 - x1, -4 * spread, 4 * spread);
        const double scale = std::fmax(1.0, std::fabs(x2));
        if (std::fabs(x2 - x1) <= relativeTolerance * scale) return Value::of(x2);
        x0 = x1, f0 = f1, x1 = x2;
    }
    return Value::missing(noConvergence);
}

}  // namespace

NoncentralityInterval noncentralityInterval(double t, double df, double confidence) {
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
        return {solveEnd(t, df, 1 - tail, centre - z * spread, centre, spread),
                solveEnd(t, df, tail, centre + z * spread, centre, spread)};
    } catch (const std::exception&) {
        return {Value::missing(noConvergence), Value::missing(noConvergence)};
    }
}

Value hedgesCorrection(double df) {
    if (!(df > 1)) return Value::missing("Hedges' correction needs more than 1 degree of freedom");
    try {
        const double ratio = boost::math::tgamma_delta_ratio((df - 1) / 2, 0.5, Policy{});
        const double correction = 1 / (std::sqrt(df / 2) * ratio);
        if (std::isfinite(correction) && correction > 0) return Value::of(correction);
    } catch (const std::exception&) {
    }
    return Value::missing("Hedges' correction could not be computed");
}

}  // namespace tarnwick::report
