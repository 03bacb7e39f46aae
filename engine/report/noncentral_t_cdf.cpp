// Method. For t >= 0 (t < 0 by reflection: P(T <= t; lambda) = 1 - P(T <= -t;
// -lambda)), with x = t^2 / (df + t^2), y = 1 - x and d2 = lambda^2 / 2,
//   P(T <= t) = Phi(-lambda) + 1/2 sum_j [ P_j I_x(j + 1/2, df/2)
//                                          + Q_j I_x(j + 1, df/2) ],
//   P_j = e^-d2 d2^j / j!,  Q_j = lambda e^-d2 d2^j / (sqrt 2 Gamma(j + 3/2)),
// the Poisson mixture of Benton and Krishnamoorthy (2003). The P_j half is the
// noncentral beta distribution, taken from Boost.Math (boost::math::detail,
// where its noncentral t uses it too). The Q_j half is summed here outward
// from the largest weight, j = floor(d2), both ways, the incomplete beta
// functions by their three-term steps from one evaluation at the start, until
// a term falls below a double epsilon of the sum. Where x is past the
// crossover of the noncentral beta, the complements are summed instead, so
// that no sum cancels. This is the series Boost.Math's noncentral t cdf sums,
// term for term, with two differences. The lower sums' start weight needs
// Gamma(k + 1) / Gamma(k + 3/2), which Boost.Math's own cdf evaluates in long
// double whatever the policy (two fifths of its time in the batch); here it
// is evaluated in double, accurate to a few ulps (a Lanczos ratio). And the
// Poisson weights step by (i + 1/2) / d2 in double, where Boost.Math forms
// i + 1/2 in single precision, which rounds it once i passes 2^24 (|lambda|
// above about 5,800) and moves its cdf by some 5e-10 there, its 50-digit
// evaluation too. Elsewhere the two agree to about 1e-16 relative (a grid in
// the tests); far out, the tests check against a 40-digit integration.

#include "noncentral_t_cdf.h"

#include <boost/math/distributions/non_central_beta.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <boost/math/special_functions/beta.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

#include "boost_policy.h"

namespace tarnwick::report {
namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double epsilon = std::numeric_limits<double>::epsilon();
constexpr std::uintmax_t maximumTerms = 1000000;
// Room above the start index for twice the most terms a sum may take.
constexpr double largestStartIndex = 2147483647.0 - 2 * static_cast<double>(maximumTerms);

struct MixtureStart {
    int k;         // the index of the largest Poisson weight, at least 1
    double pois;   // Q_k
    double beta;   // I_x(k + 1, df/2), or its complement
    double xterm;  // the step from one beta to the next
};

// Q_k and the incomplete beta at k, where the sums start. A k of 0 is raised
// to 1: summing down from 0 can cancel badly for tiny lambda and huge df. The
// upper sums take Q_k directly from its formula while d2^k and k! are within
// range, the lower ones always from the Poisson density and the gamma ratio.
MixtureStart startOfMixture(double v, double delta, double x, double y, bool complement) {
    const Policy pol;
    const double d2 = delta * delta / 2;
    MixtureStart s{};
    s.k = boost::math::itrunc(d2, pol);
    if (s.k == 0) s.k = 1;
    const double k = s.k;
    const double logMax = boost::math::tools::log_max_value<double>();
    if (complement && s.k < static_cast<int>(boost::math::max_factorial<double>::value) &&
        d2 < logMax && std::log(d2) * s.k < logMax) {
        s.pois = std::exp(-d2);
        s.pois *= std::pow(d2, k);
        s.pois /= boost::math::tgamma(k + 1 + 0.5, pol);
        s.pois *= delta / std::numbers::sqrt2;
    } else {
        s.pois = boost::math::gamma_p_derivative(k + 1, d2, pol) *
                 boost::math::tgamma_delta_ratio(k + 1, 0.5, pol) * delta / std::numbers::sqrt2;
    }
    // ibeta_imp gives the incomplete beta and its prefix x^a y^b / B(a, b) in one evaluation.
    s.beta =
        x < y ? boost::math::detail::ibeta_imp(k + 1, v / 2, x, pol, complement, true, &s.xterm)
              : boost::math::detail::ibeta_imp(v / 2, k + 1, y, pol, !complement, true, &s.xterm);
    s.xterm *= y / (v / 2 + k);
    return s;
}

// The Q_j half of P(T <= t) (without its factor 1/2) added to init:
// backwards from k first, the stable direction, then forwards.
double lowerQHalf(double v, double delta, double x, double y, double init) {
    const double d2 = delta * delta / 2;
    MixtureStart s = startOfMixture(v, delta, x, y, false);
    if (s.pois == 0) return init;
    double pois = s.pois, beta = s.beta, xterm = s.xterm;
    double poisf = pois, betaf = beta, xtermf = xterm;
    double sum = init;
    if (xterm == 0 && beta == 0) return init;
    double lastTerm = 0;
    std::uintmax_t count = 0;  // the terms summed, both ways
    for (int i = s.k; i >= 0; --i) {
        const double term = beta * pois;
        sum += term;
        // Not on the first term: k may have been raised from 0.
        if (std::fabs(lastTerm) > std::fabs(term) && std::fabs(term / sum) < epsilon) break;
        lastTerm = term;
        pois *= (i + 0.5) / d2;
        beta += xterm;
        xterm *= i / (x * (v / 2 + i - 1));
        ++count;
    }
    lastTerm = 0;
    for (int i = s.k + 1;; ++i) {
        poisf *= d2 / (i + 0.5);
        xtermf *= (x * (v / 2 + i - 1)) / i;
        betaf -= xtermf;
        const double term = poisf * betaf;
        sum += term;
        if (std::fabs(lastTerm) >= std::fabs(term) && std::fabs(term / sum) < epsilon) break;
        lastTerm = term;
        if (++count > maximumTerms) return notANumber;
    }
    return sum;
}

// The same half of P(T > t), with the complements of the incomplete betas,
// both directions in one loop.
double upperQHalf(double v, double delta, double x, double y, double init) {
    const double d2 = delta * delta / 2;
    MixtureStart s = startOfMixture(v, delta, x, y, true);
    if (s.pois == 0) return init;
    double pois = s.pois, beta = s.beta, xterm = s.xterm;
    double poisf = pois, betaf = beta, xtermf = xterm;
    double sum = init;
    if (xterm == 0 && beta == 0) return init;
    double lastTerm = 0;
    std::uintmax_t count = 0;
    for (int i = s.k + 1, j = s.k;; ++i, --j) {
        poisf *= d2 / (i + 0.5);
        xtermf *= (x * (v / 2 + i - 1)) / i;
        betaf += xtermf;
        double term = poisf * betaf;
        if (j >= 0) {
            term += beta * pois;
            pois *= (j + 0.5) / d2;
            beta -= xterm;
            xterm *= j / (x * (v / 2 + j - 1));
        }
        sum += term;
        if (std::fabs(lastTerm) > std::fabs(term) && std::fabs(term / sum) < epsilon) break;
        lastTerm = term;
        if (count > maximumTerms) return notANumber;
        ++count;
    }
    return sum;
}

double standardNormalCdf(double z) {
    return boost::math::cdf(boost::math::normal_distribution<double, Policy>(), z);
}

}  // namespace

double noncentralTCdf(double t, double df, double lambda) {
    if (!(df > 0) || !std::isfinite(lambda) || std::isnan(t)) return notANumber;
    const Policy pol;
    if (lambda == 0)
        return boost::math::cdf(boost::math::students_t_distribution<double, Policy>(df), t);
    if (std::isinf(df))
        return boost::math::cdf(boost::math::normal_distribution<double, Policy>(lambda, 1), t);
    const double v = df;
    double delta = lambda;
    bool invert = false;
    if (t < 0) {
        t = -t;
        delta = -delta;
        invert = true;
    }
    // So little noncentrality for the df that a shifted central t is exact to a double.
    if (std::fabs(delta / (4 * v)) < epsilon) {
        const double shifted =
            boost::math::cdf(boost::math::students_t_distribution<double, Policy>(v), t - delta);
        return invert ? 1 - shifted : shifted;
    }
    const double x = t * t / (v + t * t);
    const double y = v / (v + t * t);
    const double d2 = delta * delta;
    // The sums start at index d2 / 2 and count in int: beyond |lambda| of about
    // 65,000 they would overflow it.
    if (!(d2 / 2 < largestStartIndex)) return notANumber;
    const double a = 0.5;
    const double b = v / 2;
    const double c = a + b + d2 / 2;
    // The crossover of the noncentral beta: below it the lower sums, above it the upper.
    const double cross = 1 - (b / c) * (1 + d2 / (2 * c * c));
    double result = 0;
    if (x < cross) {
        if (x != 0) {
            result = boost::math::detail::non_central_beta_p(a, b, d2, x, y, pol);
            result = lowerQHalf(v, delta, x, y, result);
            result /= 2;
        }
        result += standardNormalCdf(-delta);
    } else {
        invert = !invert;
        if (x != 0) {
            result = boost::math::detail::non_central_beta_q(a, b, d2, x, y, pol);
            result = upperQHalf(v, delta, x, y, result);
            result /= 2;
        } else {
            result = boost::math::cdf(boost::math::complement(
                boost::math::normal_distribution<double, Policy>(), -delta));
        }
    }
    return invert ? 1 - result : result;
}

}  // namespace tarnwick::report
