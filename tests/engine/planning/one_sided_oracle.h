#pragma once
// An independent 50-digit evaluation of the power of the one test at a
// margin, for checking the planning engine (which takes one noncentral t
// tail). It integrates over the observed difference D instead: with the
// alternative above the margin m, the test rejects when
// D - m > t S sqrt(c), that is when df S^2 / sigma^2 is below
// df ((D - m) / (t s))^2, s = sigma sqrt(c), so
//
//     power = integral over D > m of
//             phi((D - delta) / s) / s  P(chi2(df) <= df ((D - m) / (t s))^2) dD,
//
// with the chi-square distribution function from Boost's incomplete gamma
// function and the t quantile from Boost's Student's t, in 50 significant
// digits. The alternative below the margin is the mirror image (delta and
// m negated). The range is cut to delta +- 14 s (the normal mass outside is
// below 1e-44) and split at delta and at m + t s; adaptive 31-point
// Gauss-Kronrod to 1e-20 relative on each piece.

#include <algorithm>
#include <boost/math/distributions/students_t.hpp>
#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <boost/multiprecision/cpp_bin_float.hpp>
#include <vector>

namespace tarnwick::plan::oracle {

using Real50 = boost::multiprecision::cpp_bin_float_50;

struct OneSidedCase {
    double alpha, margin, difference, sd;
    double designConstant, df;
    bool above;  // the alternative lies above the margin
};

inline Real50 oneSidedPower(const OneSidedCase& k) {
    const Real50 df(k.df);
    const Real50 t = boost::math::quantile(
        boost::math::complement(boost::math::students_t_distribution<Real50>(df), Real50(k.alpha)));
    const Real50 s = Real50(k.sd) * sqrt(Real50(k.designConstant));
    const Real50 m = k.above ? Real50(k.margin) : Real50(-k.margin);
    const Real50 delta = k.above ? Real50(k.difference) : Real50(-k.difference);
    const Real50 root2pi = sqrt(2 * boost::math::constants::pi<Real50>());
    const auto integrand = [&](const Real50& d) -> Real50 {
        if (d <= m) return Real50(0);
        const Real50 z = (d - delta) / s;
        const Real50 r = (d - m) / (t * s);
        return exp(-z * z / 2) / (root2pi * s) * boost::math::gamma_p(df / 2, df * r * r / 2);
    };
    const Real50 from = std::max(m, Real50(delta - 14 * s));
    const Real50 to = delta + 14 * s;
    if (!(from < to)) return Real50(0);
    std::vector<Real50> cuts = {from, to};
    for (const Real50& cut : {delta, Real50(m + t * s)}) {
        if (cut > from && cut < to) cuts.push_back(cut);
    }
    std::sort(cuts.begin(), cuts.end());
    Real50 total = 0;
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
        total += boost::math::quadrature::gauss_kronrod<Real50, 31>::integrate(
            integrand, cuts[i], cuts[i + 1], 25, Real50(1e-20));
    }
    return total;
}

}  // namespace tarnwick::plan::oracle
