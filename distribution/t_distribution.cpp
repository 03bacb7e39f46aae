// Student's t tail probability and critical value for the equivalence tests.
//
// Tail probability (student_t_tail.cpp): P(|T| >= |t|) = I_x(df/2, 1/2),
// x = df / (df + t^2), by its power series in x when x <= 0.2 and otherwise by
// an expansion in incomplete gamma functions whose leading term is erfc, with
// log1p(t^2 / df), Gamma(a + 1/2) / Gamma(a) and the exponentials built on them
// carried in double-double arithmetic. Against 50-digit arithmetic over df in
// [0.1, 1e7] (fractional included) and |t| up to 1e6 it stays within 5 ulps
// wherever the probability is at least 1e-300 (median under half an ulp).
//
// Critical value: Halley's iteration in log t on log P(t) = log(target). In
// the heavy tail log P is nearly linear in log t, so the steps are close to
// exact; the start is the leading term of the power series there and
// otherwise a Cornish-Fisher expansion about a normal quantile. Steps are
// kept inside a bracket (bisection otherwise) and stop after at most 60, in
// practice 1 to 4. A relative error e in P moves t by a relative
// e P / (2 t f(t)), which tends to e / df in the heavy tail, so there the
// residual is taken from log P in double-double rather than from a rounded P;
// and for upper probabilities above 1/4 it is taken from P(|T| < t), which
// keeps its digits as t nears 0 where P / (2 t f(t)) grows without bound.
// CriticalValue(0.05, df, 1) is within 2 ulps for df in [0.1, 1e7].
//
// Infinite df, and any df above 1e30, is the normal limit. A critical value
// beyond the double range (tiny df with small p) raises the overflow error,
// so that no caller ever shows an infinite t.

#include "t_distribution.h"

#include <cmath>
#include <limits>

#include "gamma_ratio.h"
#include "run_time_error.h"
#include "student_t_tail.h"

namespace tarnwick {
namespace {

constexpr double sqrtPi = 1.772453850905516027298167;

void require(bool condition) {
    if (!condition) {
        throw RunTimeError(ErrorNumber::invalidArgument);
    }
}

// df > 0 is false for NaN too.
void checkDegreesOfFreedom(double df) { require(df > 0.0); }

void checkTails(std::int16_t tails) { require(tails == 1 || tails == 2); }

// Upper-tail normal quantile for 0 < q <= 0.5, only a starting point: the
// rational approximation of Abramowitz and Stegun 26.2.23 (within 4.5e-4)
// and one Halley step on erfc, which leaves about 1e-10.
double normalQuantile(double q) {
    const double w = std::sqrt(-2.0 * std::log(q));
    const double z = w - (2.515517 + w * (0.802853 + w * 0.010328)) /
                             (1.0 + w * (1.432788 + w * (0.189269 + w * 0.001308)));
    const double density = std::exp(-0.5 * z * z) / (sqrtPi * std::sqrt(2.0));
    const double excess = 0.5 * std::erfc(z / std::sqrt(2.0)) - q;
    const double newton = excess / density;
    return z + newton / (1.0 - 0.5 * z * newton);
}

double startingPoint(double target, double df) {
    if (std::isinf(df)) {
        return normalQuantile(0.5 * target);
    }
    const double a = 0.5 * df;
    // Leading term of the power series: target = K x^a, x ~ df / t^2.
    const double logK = std::log(numeric::gammaHalfRatio(a).hi / (a * sqrtPi));
    const double logHeavy = 0.5 * std::log(df) + (logK - std::log(target)) / df;
    if (logHeavy > 0.5 * std::log(df) + 0.5 * std::log(4.0)) {
        // x <= 0.2 at the estimate, where the leading term dominates.
        return std::exp(logHeavy);
    }
    const double z = normalQuantile(0.5 * target);
    const double z2 = z * z;
    const double g1 = (z2 + 1.0) * z / 4.0;
    const double g2 = ((5.0 * z2 + 16.0) * z2 + 3.0) * z / 96.0;
    const double g3 = (((3.0 * z2 + 19.0) * z2 + 17.0) * z2 - 15.0) * z / 384.0;
    const double g4 =
        ((((79.0 * z2 + 776.0) * z2 + 1482.0) * z2 - 1920.0) * z2 - 945.0) * z / 92160.0;
    const double t = z + (g1 + (g2 + (g3 + g4 / df) / df) / df) / df;
    return t > 0.0 && std::isfinite(t) ? t : std::exp(logHeavy);
}

// The t > 0 with P(|T| >= t) = target, 0 < target < 1.
//
// With s = log t this solves h(s) = 0 for h = log(P / target), P = P(|T| >= t),
// or, when the target is above 1/2, for h = log(C / (1 - target)),
// C = P(|T| < t), which keeps its digits as t approaches 0 where 1 - P cannot.
// h' = -2 t f / P or +2 t f / C, and in both cases
// h'' = h' (1 - (df + 1) y - h'), y = t^2 / (df + t^2).
double twoSidedQuantile(double target, double df) {
    double t = startingPoint(target, df);
    if (!(t <= std::numeric_limits<double>::max())) {
        // The leading term is exact to far beyond double precision out there.
        return HUGE_VAL;
    }
    const numeric::DoubleDouble logTarget = numeric::naturalLog({target, 0.0});
    const double centralTarget = 1.0 - target;          // exact when it is used
    numeric::DoubleDouble logScale{std::nan(""), 0.0};  // worked out when first needed
    double low = 0.0;
    double high = HUGE_VAL;
    for (int iteration = 0; iteration < 60; ++iteration) {
        double h = std::nan("");
        double slope = 0.0;
        bool centralForm = false;
        if (target > 0.5) {
            const double central = numeric::centralProbability(t, df);
            if (!std::isnan(central)) {
                h = std::log1p((central - centralTarget) / centralTarget);
                slope = numeric::twoSidedTail(t, df).logSlope / central;
                centralForm = true;
            }
        }
        if (std::isnan(h) && t * t >= 4.0 * df && df <= 1e30) {
            // Possibly df / (df + t^2) <= 0.2, where the heavy-tail form applies.
            if (std::isnan(logScale.hi)) {
                logScale = numeric::logHeavyTailScale(df);
            }
            const numeric::HeavyTail heavy = numeric::logTwoSidedTailInHeavyTail(t, df, logScale);
            if (!std::isnan(heavy.logProbability.hi)) {
                h = (heavy.logProbability - logTarget).hi;
                slope = -heavy.logSlope;
            }
        }
        if (std::isnan(h)) {
            const numeric::StudentTail tail = numeric::twoSidedTail(t, df);
            h = std::log1p((tail.probability - target) / target);
            slope = -tail.logSlope / tail.probability;
        }
        if (centralForm ? h < 0.0 : h > 0.0) {
            low = t;
        } else {
            high = t;
        }
        const double y = 1.0 / (1.0 + df / t / t);
        const double curvature = 1.0 - (std::isinf(df) ? t * t : (df + 1.0) * y) - slope;
        const double step = -2.0 * h / (2.0 * slope - h * curvature);
        double next = t + t * std::expm1(step);
        if (std::fabs(step) < 1e-7) {
            // Halley's error cubes each step: this one leaves nothing to correct.
            return next;
        }
        if (!(next > low && next < high)) {
            // Off the bracket (or no usable slope): bisect in log t instead.
            next = std::isinf(high) ? 4.0 * low : (low > 0.0 ? std::sqrt(low * high) : 0.25 * high);
        }
        t = next;
    }
    return t;
}

}  // namespace

const TDistribution& TDistribution::instance() {
    static const TDistribution distribution;
    return distribution;
}

double TDistribution::TailProbability(double t, double df, std::int16_t tails) const {
    checkDegreesOfFreedom(df);
    checkTails(tails);
    require(!std::isnan(t));
    const double twoSided = numeric::twoSidedTail(std::fabs(t), df).probability;
    return tails == 2 ? twoSided : 0.5 * twoSided;
}

double TDistribution::CriticalValue(double p, double df, std::int16_t tails) const {
    checkDegreesOfFreedom(df);
    checkTails(tails);
    require(p > 0.0 && (p < 1.0 || (tails == 2 && p == 1.0)));
    // The upper-tail probability sought.
    const double upper = tails == 2 ? 0.5 * p : p;
    if (upper == 0.5) {
        return 0.0;
    }
    // Above one half (only reachable one-tailed) the upper p point is below zero.
    const double t = upper > 0.5 ? -twoSidedQuantile(2.0 * (1.0 - upper), df)
                                 : twoSidedQuantile(2.0 * upper, df);
    if (std::isinf(t)) {
        throw RunTimeError(ErrorNumber::overflow);
    }
    return t;
}

}  // namespace tarnwick
