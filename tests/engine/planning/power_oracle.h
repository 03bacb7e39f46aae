#pragma once
// An independent 50-digit evaluation of the power of the two one-sided
// tests, for checking the planning engine. It integrates over the observed
// difference D instead of the SD: given D, equivalence is concluded when
// t S sqrt(c) < m(D) = min(U - D, D - L), that is when df S^2 / sigma^2 is
// below df (m(D) / (t sigma sqrt c))^2, so
//
//     power = integral over L < D < U of
//             phi((D - delta) / s) / s  P(chi2(df) <= df (m(D) / (t s))^2) dD,
//
// s = sigma sqrt(c), with the chi-square distribution function from Boost's
// incomplete gamma function and the t quantile from Boost's Student's t, all
// in 50 significant digits. The range is cut to delta +- 14 s (the normal
// mass outside is below 1e-44) and split at the kink of m (the middle of the
// bounds), at delta and where m(D) = t s; adaptive 31-point Gauss-Kronrod to
// 1e-18 relative on each piece.
//
// At 50 digits the incomplete gamma function costs milliseconds for large
// df, so from df = 1000 on it is evaluated only where it is neither 0 nor 1
// to 1e-30: where df (m / (t s))^2 lies within 16 SDs of its mean df
// (chi-square SD sqrt(2 df); the tails beyond are below 1e-30 for these df).
// Where the distribution function is 1 the integral of the normal density is
// taken in closed form with erf; where it is 0 there is nothing to add.

#include <algorithm>
#include <boost/math/distributions/students_t.hpp>
#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <boost/math/special_functions/erf.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <boost/multiprecision/cpp_bin_float.hpp>
#include <vector>

namespace tarnwick::plan::oracle {

using Real = boost::multiprecision::cpp_bin_float_50;

struct Case {
    double alpha, lower, upper, difference, sd;
    double designConstant, df;
};

inline Real power(const Case& k) {
    const Real df(k.df);
    const Real t = boost::math::quantile(
        boost::math::complement(boost::math::students_t_distribution<Real>(df), Real(k.alpha)));
    const Real s = Real(k.sd) * sqrt(Real(k.designConstant));
    const Real h = t * s;
    const Real lower(k.lower), upper(k.upper), delta(k.difference);
    const Real root2pi = sqrt(2 * boost::math::constants::pi<Real>());
    const auto integrand = [&](const Real& d) -> Real {
        const Real m = std::min(Real(upper - d), Real(d - lower));
        if (m <= 0) {
            return Real(0);
        }
        const Real z = (d - delta) / s;
        const Real r = m / h;
        return exp(-z * z / 2) / (root2pi * s) * boost::math::gamma_p(df / 2, df * r * r / 2);
    };
    const auto quadrature = [&](Real from, Real to) {
        from = std::max(from, Real(delta - 14 * s));
        to = std::min(to, Real(delta + 14 * s));
        if (!(from < to)) {
            return Real(0);
        }
        std::vector<Real> cuts = {from, to};
        for (const Real& cut :
             {Real((lower + upper) / 2), Real(lower + h), Real(upper - h), delta}) {
            if (cut > from && cut < to) {
                cuts.push_back(cut);
            }
        }
        std::sort(cuts.begin(), cuts.end());
        Real total = 0;
        for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
            total += boost::math::quadrature::gauss_kronrod<Real, 31>::integrate(
                integrand, cuts[i], cuts[i + 1], 25, Real(1e-18));
        }
        return total;
    };
    if (k.df < 1000) {
        return quadrature(lower, upper);
    }
    // m / (t s) between these, the distribution function is neither 0 nor 1.
    const Real spread = 16 * sqrt(2 / df);
    const Real rLow = sqrt(1 - spread);
    const Real rHigh = sqrt(1 + spread);
    const Real rootHalf = sqrt(Real(0.5));
    const auto normalMass = [&](const Real& from, const Real& to) {
        return (erf((to - delta) / s * rootHalf) - erf((from - delta) / s * rootHalf)) / 2;
    };
    const Real risen = lower + h * rHigh;  // from here to upper - h rHigh, the function is 1
    const Real falling = upper - h * rHigh;
    if (risen < falling) {
        return quadrature(lower + h * rLow, risen) + normalMass(risen, falling) +
               quadrature(falling, upper - h * rLow);
    }
    return quadrature(lower + h * rLow, upper - h * rLow);
}

// The minimal-effect test, the same way: given D it rejects when
// t S sqrt c < L - D (D below L) or t S sqrt c < D - U (D above U), so
//
//     power = integral over D < L and over D > U of
//             phi((D - delta) / s) / s  P(chi2(df) <= df (m(D) / (t s))^2) dD,
//
// m(D) = L - D below and D - U above, each piece cut to delta +- 14 s. From
// df = 1000 on, the distribution function is taken as 1 where m / (t s) is
// above sqrt(1 + 16 sqrt(2 / df)), and the normal mass there in closed form.
inline Real minimalEffectPower(const Case& k) {
    const Real df(k.df);
    const Real t = boost::math::quantile(
        boost::math::complement(boost::math::students_t_distribution<Real>(df), Real(k.alpha)));
    const Real s = Real(k.sd) * sqrt(Real(k.designConstant));
    const Real h = t * s;
    const Real lower(k.lower), upper(k.upper), delta(k.difference);
    const Real root2pi = sqrt(2 * boost::math::constants::pi<Real>());
    const Real rootHalf = sqrt(Real(0.5));
    // The normal probability of D in (from, to), either end possibly far.
    const auto normalMass = [&](const Real& from, const Real& to) {
        return (erfc((from - delta) / s * rootHalf) - erfc((to - delta) / s * rootHalf)) / 2;
    };
    const auto piece = [&](Real from, Real to, bool below) {
        const auto integrand = [&](const Real& d) -> Real {
            const Real m = below ? Real(lower - d) : Real(d - upper);
            if (m <= 0) {
                return Real(0);
            }
            const Real z = (d - delta) / s;
            const Real r = m / h;
            return exp(-z * z / 2) / (root2pi * s) * boost::math::gamma_p(df / 2, df * r * r / 2);
        };
        from = std::max(from, Real(delta - 14 * s));
        to = std::min(to, Real(delta + 14 * s));
        if (!(from < to)) {
            return Real(0);
        }
        std::vector<Real> cuts = {from, to};
        for (const Real& cut : {Real(lower - h), Real(upper + h), delta}) {
            if (cut > from && cut < to) {
                cuts.push_back(cut);
            }
        }
        std::sort(cuts.begin(), cuts.end());
        Real total = 0;
        for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
            total += boost::math::quadrature::gauss_kronrod<Real, 31>::integrate(
                integrand, cuts[i], cuts[i + 1], 25, Real(1e-18));
        }
        return total;
    };
    const Real far = 40 * s + abs(delta) + abs(lower) + abs(upper);
    if (k.df < 1000) {
        return piece(lower - far, lower, true) + piece(upper, upper + far, false);
    }
    const Real spread = 16 * sqrt(2 / df);
    const Real rLow = sqrt(1 - spread);
    const Real rHigh = sqrt(1 + spread);
    return normalMass(lower - far, lower - h * rHigh) +
           piece(lower - h * rHigh, lower - h * rLow, true) +
           piece(upper + h * rLow, upper + h * rHigh, false) +
           normalMass(upper + h * rHigh, upper + far);
}

}  // namespace tarnwick::plan::oracle
