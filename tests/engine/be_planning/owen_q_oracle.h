#pragma once
// An independent 50-digit evaluation of the power of the two one-sided tests
// for checking the bioequivalence planner, written as Owen's Q difference
// (Phillips 1990, J Pharmacokinet Biopharm 18:137-144; Owen 1965,
// Biometrika 52:437-446):
//
//     power = Q_nu(-t, delta2; 0, R) - Q_nu(t, delta1; 0, R),
//     Q_nu(t, delta; 0, R) = integral over 0 < x < R of
//                            Phi(t x / sqrt(nu) - delta) chi_nu(x) dx,
//
// chi_nu the density of the square root of a chi-square with nu df,
// delta1 = (log theta0 - log lower) / se, delta2 = (log theta0 - log upper) / se,
// se = s sqrt(c), t = t(1 - alpha, nu), R = sqrt(nu) (delta1 - delta2) / (2 t).
// On the raw scale the same with the SD the CV itself and the bounds and
// true value less 1. Unlike the engine (which integrates over u = S / sigma in double, with a
// Stirling-series density) it integrates over x itself, with the density
// from lgamma in 50 digits, each Q on its own, by Boost's 61-point
// Gauss-Kronrod to 1e-20 relative; the range is cut to sqrt(nu) +- 10,
// outside which the chi density's mass is below 1e-20 at every df (the
// tests compare to 1e-9).

#include <algorithm>
#include <boost/math/distributions/students_t.hpp>
#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <boost/math/special_functions/erf.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <boost/multiprecision/cpp_bin_float.hpp>

namespace tarnwick::be::oracle {

using Real = boost::multiprecision::cpp_bin_float_50;

struct Case {
    double alpha, lower, upper, ratio0, cv;
    double designConstant, df;
    // The raw scale in units of the reference mean: bounds lower - 1 and
    // upper - 1, true difference ratio0 - 1, SD cv.
    bool logScale = true;
};

inline Real owensQ(const Real& nu, const Real& t, const Real& delta, const Real& r) {
    const Real logNormaliser = (nu / 2 - 1) * log(Real(2)) + boost::math::lgamma(nu / 2);
    const Real rootNu = sqrt(nu);
    const Real rootHalf = sqrt(Real(0.5));
    const auto integrand = [&](const Real& x) -> Real {
        if (x <= 0) {
            return Real(0);
        }
        const Real phi = erfc(-(t * x / rootNu - delta) * rootHalf) / 2;
        return phi * exp((nu - 1) * log(x) - x * x / 2 - logNormaliser);
    };
    const Real from = std::max(Real(0), Real(rootNu - 10));
    const Real to = std::min(r, Real(rootNu + 10));
    if (!(from < to)) {
        return Real(0);
    }
    const Real mode = sqrt(std::max(Real(nu - 1), Real(0)));
    Real total = 0;
    Real left = from;
    for (const Real& cut : {mode, to}) {
        if (cut > left && cut <= to) {
            total += boost::math::quadrature::gauss_kronrod<Real, 61>::integrate(
                integrand, left, cut, 15, Real(1e-20));
            left = cut;
        }
    }
    return total;
}

inline Real power(const Case& k) {
    const Real nu(k.df);
    const Real t = boost::math::quantile(
        boost::math::complement(boost::math::students_t_distribution<Real>(nu), Real(k.alpha)));
    const Real cv(k.cv);
    Real sd = cv;
    if (k.logScale) {
        sd = sqrt(log(1 + cv * cv));
    }
    const Real se = sd * sqrt(Real(k.designConstant));
    const auto onScale = [&](double ratio) {
        return k.logScale ? Real(log(Real(ratio))) : Real(Real(ratio) - 1);
    };
    const Real theta0 = onScale(k.ratio0);
    const Real delta1 = (theta0 - onScale(k.lower)) / se;
    const Real delta2 = (theta0 - onScale(k.upper)) / se;
    const Real r = sqrt(nu) * (delta1 - delta2) / (2 * t);
    const Real p = owensQ(nu, -t, delta2, r) - owensQ(nu, t, delta1, r);
    return p > 0 ? p : Real(0);
}

}  // namespace tarnwick::be::oracle
