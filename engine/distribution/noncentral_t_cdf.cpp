// Method. For t >= 0 (t < 0 by reflection: P(T <= t; lambda) = 1 - P(T <= -t;
// -lambda)), with x = t^2 / (df + t^2), y = 1 - x and d2 = lambda^2 / 2,
//   P(T <= t) = Phi(-lambda) + 1/2 sum_j [ P_j I_x(j + 1/2, df/2)
//                                          + Q_j I_x(j + 1, df/2) ],
//   P_j = e^-d2 d2^j / j!,  Q_j = lambda e^-d2 d2^j / (sqrt 2 Gamma(j + 3/2)),
// the Poisson mixture of Benton and Krishnamoorthy (2003). The P_j half is the
// noncentral beta distribution's own series. Each half is summed outward from
// its largest weight, j = floor(d2), both ways, the incomplete beta functions
// by their three-term steps from one evaluation at the start, until a term
// falls below a double epsilon of the sum. Where x is past the crossover of
// the noncentral beta, the complements are summed instead, so that no sum
// cancels. This is the series Boost.Math's noncentral t cdf sums, term for
// term, built here on Boost.Math's public special functions only (the
// incomplete beta, its derivative, the gamma ratios), with three differences.
// The start of each sum takes the incomplete beta and its derivative from two
// public calls where Boost.Math's own takes both from one internal evaluation:
// the derivative may differ in its last few bits, so the sums do, by a few
// ulps of the value. The lower sums' start weight needs Gamma(k + 1) /
// Gamma(k + 3/2), which Boost.Math's own cdf evaluates in long double whatever
// the policy (two fifths of its time in the batch); here it is evaluated in
// double, accurate to a few ulps (a Lanczos ratio). And the Poisson weights
// step by (i + 1/2) / d2 in double, where Boost.Math forms i + 1/2 in single
// precision, which rounds it once i passes 2^24 (|lambda| above about 5,800)
// and moves its cdf by some 5e-10 there, its 50-digit evaluation too.
// Elsewhere the two agree to about 1e-16 relative (a grid in the tests,
// within 2e-15); against Boost.Math at 50 digits the error is within 2e-14
// absolute up to df 1e4; far out, the tests check against a 40-digit
// integration.

#include "noncentral_t_cdf.h"

#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <boost/math/special_functions/beta.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <boost/math/special_functions/trunc.hpp>
#include <boost/math/tools/precision.hpp>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

#include "boost_math_policy.h"

namespace tarnwick {
namespace {

// Errors as errno and a NaN, everything in double (boost_math_policy.h).
using Policy = BoostMathPolicy;

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double epsilon = std::numeric_limits<double>::epsilon();
constexpr std::uintmax_t maximumTerms = 1000000;
// Room above the start index for twice the most terms a sum may take.
constexpr double largestStartIndex = 2147483647.0 - 2 * static_cast<double>(maximumTerms);

// I_x(a, b), or its complement, and its derivative in x, x^(a-1) y^(b-1) /
// B(a, b), from which the three-term steps between neighbouring incomplete
// betas follow. Boost.Math's public functions take x alone and form 1 - x
// themselves, which would lose y's digits where x is near 1 (a large t): the
// smaller of x and y is passed, with a and b swapped for y (I_x(a, b) = 1 -
// I_y(b, a), and the derivative is the same in either form), so that the one
// formed is the larger, exact to an ulp.
struct IncompleteBeta {
    double value, derivative;
};
IncompleteBeta incompleteBeta(double a, double b, double x, double y, bool complement) {
    const Policy pol;
    if (x < y) {
        return {complement ? boost::math::ibetac(a, b, x, pol) : boost::math::ibeta(a, b, x, pol),
                boost::math::ibeta_derivative(a, b, x, pol)};
    }
    return {complement ? boost::math::ibeta(b, a, y, pol) : boost::math::ibetac(b, a, y, pol),
            boost::math::ibeta_derivative(b, a, y, pol)};
}

// The P_j half of P(T <= t) (without its factor 1/2): the noncentral beta
// distribution's lower tail, sum_j e^-l2 l2^j / j! I_x(a + j, b) with l2 =
// lambda / 2, backwards from the largest weight first (the stable direction)
// and then forwards. A start index of 0 is raised to 1: stepping forwards
// from 0 is unstable. NaN where the sum does not converge.
double noncentralBetaLower(double a, double b, double lambda, double x, double y) {
    const Policy pol;
    const double l2 = lambda / 2;
    int k = boost::math::itrunc(l2, pol);
    if (k == 0) k = 1;
    double pois = boost::math::gamma_p_derivative(k + 1.0, l2, pol);
    if (pois == 0) return 0;
    const IncompleteBeta start = incompleteBeta(a + k, b, x, y, false);
    double beta = start.value;
    double xterm = start.derivative * y / (a + b + k - 1);
    double poisf = pois, betaf = beta, xtermf = xterm;
    if (beta == 0 && xterm == 0) return 0;
    double sum = 0, lastTerm = 0;
    std::uintmax_t count = static_cast<std::uintmax_t>(k);
    for (int i = k; i >= 0; --i) {
        const double term = beta * pois;
        sum += term;
        if ((std::fabs(term / sum) < epsilon && lastTerm >= term) || term == 0) {
            count = static_cast<std::uintmax_t>(k - i);
            break;
        }
        pois *= i / l2;
        beta += xterm;
        xterm *= (a + i - 1) / (x * (a + b + i - 2));
        lastTerm = term;
    }
    for (int i = k + 1;; ++i) {
        poisf *= l2 / i;
        xtermf *= (x * (a + b + i - 2)) / (a + i - 1);
        betaf -= xtermf;
        const double term = poisf * betaf;
        sum += term;
        if (std::fabs(term / sum) < epsilon || term == 0) break;
        if (count + static_cast<std::uintmax_t>(i - k) > maximumTerms) return notANumber;
    }
    return sum;
}

// The same half of P(T > t): the noncentral beta distribution's upper tail,
// with the complements of the incomplete betas, forwards first (where the
// bulk of the sum lies), then backwards. Below an index of 30 the sum starts
// at 0, where it takes about as many terms anyway.
double noncentralBetaUpper(double a, double b, double lambda, double x, double y) {
    const Policy pol;
    const double l2 = lambda / 2;
    int k = boost::math::itrunc(l2, pol);
    if (k <= 30) {
        if (a + b > 1)
            k = 0;
        else if (k == 0)
            k = 1;
    }
    double pois = k == 0 ? std::exp(-l2) : boost::math::gamma_p_derivative(k + 1.0, l2, pol);
    if (pois == 0) return 0;
    const IncompleteBeta start = incompleteBeta(a + k, b, x, y, true);
    double beta = start.value;
    double xterm = start.derivative * y / (a + b + k - 1);
    double poisf = pois, betaf = beta, xtermf = xterm;
    if (beta == 0 && xterm == 0) return 0;
    double sum = 0, lastTerm = 0;
    std::uintmax_t count = 0;
    for (int i = k + 1;; ++i) {
        poisf *= l2 / i;
        xtermf *= (x * (a + b + i - 2)) / (a + i - 1);
        betaf += xtermf;
        const double term = poisf * betaf;
        sum += term;
        if (std::fabs(term / sum) < epsilon && lastTerm >= term) {
            count = static_cast<std::uintmax_t>(i - k);
            break;
        }
        if (static_cast<std::uintmax_t>(i - k) > maximumTerms) return notANumber;
        lastTerm = term;
    }
    for (int i = k; i >= 0; --i) {
        const double term = beta * pois;
        sum += term;
        if (std::fabs(term / sum) < epsilon) break;
        if (count + static_cast<std::uintmax_t>(k - i) > maximumTerms) return notANumber;
        pois *= i / l2;
        beta -= xterm;
        xterm *= (a + i - 1) / (x * (a + b + i - 2));
    }
    return sum;
}

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
    const IncompleteBeta start = incompleteBeta(k + 1, v / 2, x, y, complement);
    s.beta = start.value;
    s.xterm = start.derivative * y / (v / 2 + k);
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
            result = noncentralBetaLower(a, b, d2, x, y);
            result = lowerQHalf(v, delta, x, y, result);
            result /= 2;
        }
        result += standardNormalCdf(-delta);
    } else {
        invert = !invert;
        if (x != 0) {
            result = noncentralBetaUpper(a, b, d2, x, y);
            result = upperQHalf(v, delta, x, y, result);
            result /= 2;
        } else {
            result = boost::math::cdf(boost::math::complement(
                boost::math::normal_distribution<double, Policy>(), -delta));
        }
    }
    return invert ? 1 - result : result;
}

}  // namespace tarnwick
