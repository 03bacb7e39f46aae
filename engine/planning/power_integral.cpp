// The exact power of the two one-sided tests, by one integral over the
// sample SD.
//
// Let D be the observed difference of the means and S the pooled SD (or the
// SD of the difference scores), with df degrees of freedom, c the design
// constant and t = t(1 - alpha, df). Equivalence is concluded when
// L + t S sqrt(c) < D < U - t S sqrt(c). D is normal with mean delta and SD
// sigma sqrt(c), independent of S, and u = S / sigma has df u^2 distributed as
// chi-square with df degrees of freedom. Conditioning on u,
//
//     power = integral over 0 < u < u* of
//             [Phi(A - t u) - Phi(B + t u)] f(u) du,
//
//     A = (U - delta) / (sigma sqrt c),  B = (L - delta) / (sigma sqrt c),
//     u* = (A - B) / (2 t) = (U - L) / (2 t sigma sqrt c),
//
// where f is the density of u (sd_ratio_density.cpp) and the bracket is
// positive exactly below u*. This is Owen's Q difference written out as one
// integral. The range is cut to the interval where f is above exp(-40) of its
// scale (the mass outside is below 1e-17) and to u < u*; on what is left the
// integrand is smooth (at large df f is a narrow bell near u = 1). When u*
// lies below that interval the whole of (0, u*) is integrated, so tiny powers
// keep their relative accuracy.
//
// The integral is taken over v = u - 1, so that at large df, where f is a
// bell of width 1 / sqrt(2 df) about u = 1, the quadrature nodes keep their
// digits relative to that width (nodes in u would carry rounding errors of
// 1e-16, which is 1e-12 of the width at df = 2 10^7 and moved the power by
// 1e-13).
//
// Quadrature: globally adaptive 21-point Gauss-Kronrod (Boost.Math's nodes
// and weights). The range is first split where the integrand changes
// character (v = 0, the mode of f, and the two places where A - t u and
// B + t u cross 0); then the panel with the largest Kronrod-Gauss difference
// is halved until the differences sum to at most 1e-12 or there are 64
// panels. That difference overstates the Kronrod result's error by orders of
// magnitude for smooth integrands: against a 50-digit evaluation of a
// different integral (over D, with the chi-square distribution function) the
// absolute error was below 5e-16 on the cases checked from 2 to 10^7 per
// group (tests/engine/planning holds it to 1e-12 from 2 to 10^6),
// with about 20 to 300 evaluations of the integrand.
//
// The bracket is a difference of normal tail areas taken from erfc on the
// side where neither loses digits.
//
// The minimal-effect test reverses the one-sided tests: it rejects when
// D < L - t S sqrt(c) or D > U + t S sqrt(c). For every S the two regions are
// disjoint (L < U), so their probabilities add, and conditioning on u,
//
//     power = integral over u > 0 of [Phi(B - t u) + Phi(-A - t u)] f(u) du,
//
// with no u* (each term is positive for every u). The same quadrature takes
// it over the same interval of v, split at v = 0 and where
// B - t u and A + t u cross 0; each term is one normal tail from erfc, so
// tiny terms keep their digits.
//
// The one-sided questions need no integral of this file: their power is one
// noncentral t tail (one_sided_power.cpp).

#include "power_integral.h"

#include <algorithm>
#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "plan.h"
#include "run_time_error.h"
#include "sd_ratio_density.h"
#include "shortest_text.h"
#include "t_distribution.h"

namespace tarnwick::plan {
namespace {

// Phi(a) - Phi(b) for a >= b.
double normalMass(double a, double b) {
    constexpr double r = std::numbers::sqrt2 / 2;
    if (b >= 0) {
        return 0.5 * (std::erfc(b * r) - std::erfc(a * r));
    }
    if (a <= 0) {
        return 0.5 * (std::erfc(-a * r) - std::erfc(-b * r));
    }
    return 1 - 0.5 * (std::erfc(a * r) + std::erfc(-b * r));
}

constexpr double absoluteTolerance = 1e-12;
constexpr std::size_t maxPanels = 64;
using Rule = boost::math::quadrature::gauss_kronrod<double, 21>;

struct Panel {
    double from, to, value, error;
};

template <class F>
Panel integratePanel(const F& f, double from, double to) {
    double error = 0;
    const double value = Rule::integrate(f, from, to, 0, 0, &error);
    // Without adaptation Boost reports the error of the integral mapped to
    // [-1, 1], not scaled back to the panel.
    return {from, to, value, error * 0.5 * (to - from)};
}

// Globally adaptive: always halve the panel with the largest error estimate.
template <class F>
double integrate(const F& f, const std::vector<double>& breaks) {
    std::vector<Panel> panels;
    panels.reserve(maxPanels);
    for (std::size_t i = 0; i + 1 < breaks.size(); ++i) {
        panels.push_back(integratePanel(f, breaks[i], breaks[i + 1]));
    }
    while (panels.size() < maxPanels) {
        double error = 0;
        std::size_t worst = 0;
        for (std::size_t i = 0; i < panels.size(); ++i) {
            error += panels[i].error;
            if (panels[i].error > panels[worst].error) {
                worst = i;
            }
        }
        if (error <= absoluteTolerance) {
            break;
        }
        const Panel halved = panels[worst];
        const double middle = 0.5 * (halved.from + halved.to);
        panels[worst] = integratePanel(f, halved.from, middle);
        panels.push_back(integratePanel(f, middle, halved.to));
    }
    double sum = 0;
    for (const Panel& panel : panels) {
        sum += panel.value;
    }
    return sum;
}

}  // namespace

double criticalT(double alpha, double degreesOfFreedom) {
    try {
        return TDistribution::instance().CriticalValue(alpha, degreesOfFreedom, 1);
    } catch (const RunTimeError& e) {
        // The input checks keep alpha and df in range, so what fails is a
        // critical value beyond the range of doubles; a planner gets a sentence.
        if (e.kind() != ErrorNumber::overflow) throw;
        throw PlanError(error::overflow,
                        "The critical value of t for this alpha lies beyond the "
                        "range of numbers (df = " +
                            number_text::shortestText(degreesOfFreedom) +
                            "): give a larger alpha.");
    }
}

namespace {

double minimalEffectPower(const PowerInputs& inputs, double t, double a, double b) {
    constexpr double r = std::numbers::sqrt2 / 2;
    const SdRatioDensity density(inputs.df);
    const double top = density.highestOffset();
    // At the smallest df the lower edge is u = 0 itself, where the offset
    // comes out of a square root of a rounding error, NaN or just below -1.
    const double bottom = density.lowestOffset() > -1 ? density.lowestOffset() : -1;
    const auto integrand = [&](double v) {
        const double u = 1 + v;
        const double belowLower = 0.5 * std::erfc((t * u - b) * r);
        const double aboveUpper = 0.5 * std::erfc((a + t * u) * r);
        return (belowLower + aboveUpper) * density.atOffset(v);
    };
    std::vector<double> breaks = {bottom, top};
    for (const double v : {0.0, b / t - 1, -a / t - 1}) {
        if (v > bottom && v < top) {
            breaks.push_back(v);
        }
    }
    std::sort(breaks.begin(), breaks.end());
    return std::clamp(integrate(integrand, breaks), 0.0, 1.0);
}

}  // namespace

double exactPower(const PowerInputs& inputs, double t) {
    if (settings::isOneSided(inputs.hypothesis)) {
        return oneSidedPower(inputs, t);
    }
    const double scale = inputs.sd * std::sqrt(inputs.designConstant);
    const double a = (inputs.upper - inputs.difference) / scale;
    const double b = (inputs.lower - inputs.difference) / scale;
    if (inputs.hypothesis == settings::Hypothesis::minimalEffect) {
        return minimalEffectPower(inputs, t, a, b);
    }
    const double uStar = (inputs.upper - inputs.lower) / (2 * t * scale);
    if (!(uStar > 0)) {
        return 0;
    }
    const SdRatioDensity density(inputs.df);
    const double top = std::min(uStar - 1, density.highestOffset());
    const double bottom = density.lowestOffset() < top ? density.lowestOffset() : -1;
    const auto integrand = [&](double v) {
        const double u = 1 + v;
        if (!(u < uStar)) {
            return 0.0;
        }
        return normalMass(a - t * u, b + t * u) * density.atOffset(v);
    };
    std::vector<double> breaks = {bottom, top};
    for (const double v : {0.0, a / t - 1, -b / t - 1}) {
        if (v > bottom && v < top) {
            breaks.push_back(v);
        }
    }
    std::sort(breaks.begin(), breaks.end());
    return std::clamp(integrate(integrand, breaks), 0.0, 1.0);
}

double exactPower(const PowerInputs& inputs) {
    return exactPower(inputs, criticalT(inputs.alpha, inputs.df));
}

}  // namespace tarnwick::plan
