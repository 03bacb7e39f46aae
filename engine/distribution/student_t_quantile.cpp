// The t > 0 with P(|T| >= t) = target: Halley's iteration in s = log t on
// h(s) = log(Q(t) / Q*), where Q is the upper probability P = P(|T| >= t) with
// Q* = target, or the central one C = P(|T| < t) with Q* = 1 - target.
// h' = -2 t f / P or +2 t f / C, and in both cases
// h'' = h' (1 - (df + 1) y - h'), y = t^2 / (df + t^2).
//
// The start is the leading term of the power series in the heavy tail and
// otherwise a Cornish-Fisher expansion about a normal quantile. Steps are
// kept inside a bracket (bisection otherwise) and stop once a step is below
// 1e-7, whose Halley error (cubed) is nothing; in practice after 1 to 4.
//
// What limits the result is the residual h, not the iteration: a relative
// error e in Q moves t by e Q / (2 t f(t)), and that factor reaches 1 / df in
// the heavy tail (10 at df = 0.1) and grows without bound for P as t nears 0.
// So h comes from the double-double series of student_t_tail.h, whose
// logarithms are good to about 1e-19: the series in x = df / (df + t^2) for P
// where x <= 1/2, and where y = 1 - x < 1/2 the series for C, taken as it is
// when target > 1/2 and as P = 1 - C otherwise while C / (2 t f) stays
// below 50. Only where both fail (large df and t, where the factor is below
// 1 / t^2) and in the normal limit does h come from a rounded probability.

#include "student_t_quantile.h"

#include <cmath>
#include <limits>

#include "double_double.h"
#include "gamma_ratio.h"
#include "student_t_tail.h"

namespace tarnwick::numeric {
namespace {

// P = 1 - C is taken from the central series while C / (2 t f) is below this:
// its error in t is that factor times the 1e-19 of the logarithm.
constexpr double largestCentralFactor = 50.0;

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
    const double logK = std::log(gammaHalfRatio(a).hi / (a * sqrtPi));
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

// h and h' at one t; h rises with t when Q is the central probability.
struct Residual {
    double h = std::numeric_limits<double>::quiet_NaN();
    double slope = 0.0;
    bool central = false;
};

class QuantileSearch {
public:
    QuantileSearch(double target, double df)
        : target_(target),
          df_(df),
          logTarget_(naturalLog({target, 0.0})),
          centralTarget_(twoSum(1.0, -target)),
          logCentralTarget_(naturalLog(centralTarget_)) {
        if (df >= 1e-290 && df <= normalLimitDf) {
            logScale_ = logSeriesScale(df);
        }
    }

    Residual at(double t) const {
        if (df_ > normalLimitDf) {
            return normalLimit(t);
        }
        const LogProbability upper = logTwoSidedTailBySeries(t, df_, logScale_);
        if (!std::isnan(upper.value.hi)) {
            return {(upper.value - logTarget_).hi, -upper.logSlope, false};
        }
        const LogProbability central = logCentralProbabilityBySeries(t, df_, logScale_);
        if (!std::isnan(central.value.hi)) {
            if (target_ > 0.5) {
                return {(central.value - logCentralTarget_).hi, central.logSlope, true};
            }
            if (central.logSlope * largestCentralFactor >= 1.0) {
                const DoubleDouble c = exponential(central.value);
                const DoubleDouble p = twoSum(1.0, -c.hi) + (-c.lo);
                const double density = c.hi * central.logSlope;  // 2 t f(t)
                return {std::log1p((p + (-target_)).hi / target_), -density / p.hi, false};
            }
        }
        const StudentTail tail = twoSidedTail(t, df_);
        return {std::log1p((tail.probability - target_) / target_),
                -tail.logSlope / tail.probability, false};
    }

private:
    // df above 1e30: the normal distribution, where the factor e Q / (2 t f)
    // stays below about 1.2 for min(P, C), so rounded probabilities do.
    Residual normalLimit(double t) const {
        const StudentTail tail = twoSidedTail(t, df_);
        if (target_ > 0.5) {
            const DoubleDouble root = squareRoot(twoProduct(t, t) * 0.5);
            const double c =
                std::erf(root.hi) + twoOverSqrtPi * std::exp(-root.hi * root.hi) * root.lo;
            return {std::log1p((c - centralTarget_.hi) / centralTarget_.hi), tail.logSlope / c,
                    true};
        }
        return {std::log1p((tail.probability - target_) / target_),
                -tail.logSlope / tail.probability, false};
    }

    double target_;
    double df_;
    DoubleDouble logTarget_;
    DoubleDouble centralTarget_;  // 1 - target, exactly
    DoubleDouble logCentralTarget_;
    DoubleDouble logScale_;
};

}  // namespace

double twoSidedQuantile(double target, double df) {
    double t = startingPoint(target, df);
    if (!(t <= std::numeric_limits<double>::max())) {
        // The leading term is exact to far beyond double precision out there.
        return HUGE_VAL;
    }
    const QuantileSearch search(target, df);
    double low = 0.0;
    double high = HUGE_VAL;
    for (int iteration = 0; iteration < 60; ++iteration) {
        const Residual r = search.at(t);
        if (r.central ? r.h < 0.0 : r.h > 0.0) {
            low = t;
        } else {
            high = t;
        }
        const double y = 1.0 / (1.0 + df / t / t);
        const double curvature = 1.0 - (std::isinf(df) ? t * t : (df + 1.0) * y) - r.slope;
        const double step = -2.0 * r.h / (2.0 * r.slope - r.h * curvature);
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

}  // namespace tarnwick::numeric
