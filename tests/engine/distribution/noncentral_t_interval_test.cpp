// The interval of a noncentrality against Boost.Math evaluated with 50
// significant digits. Each end of the interval is checked as the root it
// must be: the oracle's cdf at our lambda, one Newton step in 50 digits (the
// slope from a central difference) gives the true root to far better than
// the 1e-12 the solver aims at, and the difference is measured against it.

#include <gtest/gtest.h>

#include <boost/math/distributions/non_central_t.hpp>
#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <boost/math/special_functions/erf.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <boost/multiprecision/cpp_bin_float.hpp>
#include <cmath>
#include <iostream>
#include <random>
#include <string>

#include "noncentral_t_interval.h"

namespace tarnwick {
namespace {

using Real = boost::multiprecision::cpp_bin_float_50;

Real oracleCdf(double t, double df, const Real& lambda) {
    return cdf(boost::math::non_central_t_distribution<Real>(Real(df), lambda), Real(t));
}

// |our lambda - true lambda| / max(1, |true lambda|).
double rootError(double t, double df, double lambda, double target) {
    const Real ours(lambda);
    const Real h("1e-12");
    const Real slope = (oracleCdf(t, df, ours + h) - oracleCdf(t, df, ours - h)) / (2 * h);
    const Real truth = ours - (oracleCdf(t, df, ours) - Real(target)) / slope;
    return static_cast<double>(abs(ours - truth) / std::max(Real(1), abs(truth)));
}

TEST(NoncentralityInterval, IsTheRootOfTheExactCdfWithin1e12) {
    double largest = 0;
    for (const double df : {1.0, 2.0, 9.0, 33.0, 398.0, 5e4}) {
        for (const double t : {-6.0, -0.7, 0.0, 1.11803398875, 3.0, 12.0, 40.0}) {
            const NoncentralityInterval interval = noncentralityInterval(t, df, 0.90);
            ASSERT_TRUE(interval.low && interval.high) << "df " << df << " t " << t;
            EXPECT_LT(*interval.low.value, *interval.high.value);
            for (const auto& [end, target] :
                 {std::pair{interval.low, 0.95}, {interval.high, 0.05}}) {
                const double error = rootError(t, df, *end.value, target);
                EXPECT_LT(error, 1e-12) << "df " << df << " t " << t << " target " << target;
                largest = std::max(largest, error);
            }
        }
    }
    std::cout << "largest relative error of lambda: " << largest << '\n';
}

// Two pairs and a large t: the low end's search starts where the cdf is 1 to
// the last bit, so its first two evaluations agree; it must then step up
// towards the root, not away from it. (Which t shows this depends on the
// cdf's last bits; this one does with Boost 1.74.)
TEST(NoncentralityInterval, FindsTheLowEndBeyondAFlatCdf) {
    const double t = std::pow(10.0, 2.25), df = 1;
    const NoncentralityInterval interval = noncentralityInterval(t, df, 0.90);
    ASSERT_TRUE(interval.low && interval.high) << interval.low.whyMissing;
    EXPECT_LT(rootError(t, df, *interval.low.value, 0.95), 1e-12);
    EXPECT_LT(rootError(t, df, *interval.high.value, 0.05), 1e-12);
}

// Random studies as the batch meets them: df from 1 to 10^4, t mostly
// within a few units of 0. Deterministic, so that a failure repeats.
TEST(NoncentralityInterval, RandomStudiesWithin1e12) {
    std::mt19937_64 random(20261207);
    std::uniform_real_distribution<double> logDf(0, 4), unit(0, 1);
    double largest = 0;
    for (int i = 0; i < 100; ++i) {
        const double df = std::round(std::pow(10.0, logDf(random)) * 4) / 4;
        const double t = (unit(random) - 0.3) * (i % 10 == 0 ? 60 : 12);
        const NoncentralityInterval interval = noncentralityInterval(t, df, 0.90);
        ASSERT_TRUE(interval.low && interval.high) << "df " << df << " t " << t;
        for (const auto& [end, target] : {std::pair{interval.low, 0.95}, {interval.high, 0.05}}) {
            const double error = rootError(t, df, *end.value, target);
            EXPECT_LT(error, 1e-12) << "df " << df << " t " << t << " target " << target;
            largest = std::max(largest, error);
        }
    }
    std::cout << "largest relative error of lambda: " << largest << '\n';
}

// Beyond |lambda| 4,090 Boost.Math's own Poisson steps are rounded, so the
// truth there is the mixture E Phi(t U - lambda) over the density of U
// integrated at 50 digits (on a range that holds all but 1e-30 of it).
Real integratedCdf(double t, double df, const Real& lambda) {
    const Real a = Real(df) / 2;
    const Real logNorm = log(Real(2)) + a * log(a) - boost::math::lgamma(a);
    const auto integrand = [&](const Real& u) {
        const Real g = exp(logNorm + (2 * a - 1) * log(u) - a * u * u);
        return g * boost::math::erfc(-(t * u - lambda) / sqrt(Real(2))) / 2;
    };
    const Real centre = lambda / t, width = Real(12) / fabs(Real(t));
    const Real lo = centre - width, hi = centre + width;
    const Real inside = boost::math::quadrature::gauss_kronrod<Real, 61>::integrate(
        integrand, lo, hi, 15, Real("1e-40"));
    // Outside the range the normal cdf is 1 on the side t u - lambda > 0: above
    // hi for t > 0, below lo for t < 0.
    return inside +
           (t > 0 ? boost::math::gamma_q(a, a * hi * hi) : boost::math::gamma_p(a, a * lo * lo));
}

double farRootError(double t, double df, double lambda, double target) {
    if (std::fabs(lambda) < 4090) return rootError(t, df, lambda, target);
    const Real ours(lambda);
    const Real h("1e-12");
    const Real slope = (integratedCdf(t, df, ours + h) - integratedCdf(t, df, ours - h)) / (2 * h);
    const Real truth = ours - (integratedCdf(t, df, ours) - Real(target)) / slope;
    return static_cast<double>(abs(ours - truth) / std::max(Real(1), abs(truth)));
}

struct LargeEffect {
    const char* name;
    double t, df;
    unsigned mostEvaluations = 5;
};

class LargeEffectInterval : public ::testing::TestWithParam<LargeEffect> {};

// Studies whose means lie many SDs apart, where the ends come from the
// far-out rule and Halley's steps from the Cornish-Fisher start: each end
// the root within 1e-12, in about two evaluations an end (the normal
// approximation's start took three); at 3 to 6 df, where U is far from
// normal, in three.
TEST_P(LargeEffectInterval, EndsAreTheRootsWithin1e12InFewEvaluations) {
    const LargeEffect s = GetParam();
    const auto before = intervalEffort().evaluations;
    const NoncentralityInterval interval = noncentralityInterval(s.t, s.df, 0.90);
    const auto evaluations = intervalEffort().evaluations - before;
    ASSERT_TRUE(interval.low && interval.high) << interval.low.whyMissing;
    EXPECT_LT(*interval.low.value, *interval.high.value);
    EXPECT_LE(evaluations, s.mostEvaluations);
    for (const auto& [end, target] : {std::pair{interval.low, 0.95}, {interval.high, 0.05}})
        EXPECT_LT(farRootError(s.t, s.df, *end.value, target), 1e-12) << "target " << target;
}

INSTANTIATE_TEST_SUITE_P(
    Grid, LargeEffectInterval,
    ::testing::Values(LargeEffect{"fewDf", 40, 3, 6}, LargeEffect{"fewDfFar", 900, 3, 6},
                      LargeEffect{"sixDfNegative", -120, 6, 6}, LargeEffect{"thirtyDf", 40, 30},
                      LargeEffect{"thirtyDfFar", 1500, 30},
                      LargeEffect{"narrowishDensity", 25, 400},
                      LargeEffect{"moderateNegative", -60, 400}, LargeEffect{"moderate", 80, 400},
                      LargeEffect{"manyDf", 75, 1e4}, LargeEffect{"manyDfNegative", -150, 1e4},
                      LargeEffect{"manyDfFarNegative", -1000, 1e4},
                      LargeEffect{"beyondTheSeriesOracle", 5000, 50},
                      LargeEffect{"beyondTheSeriesOracleNegative", -4500, 8, 6}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NoncentralityInterval, MissingWhereItCannotBeComputed) {
    for (const auto& [t, df] : {std::pair{1.0, 0.0}, {1.0, -3.0}, {INFINITY, 10.0}, {NAN, 10.0}}) {
        const NoncentralityInterval interval = noncentralityInterval(t, df, 0.90);
        EXPECT_FALSE(interval.low);
        EXPECT_FALSE(interval.low.whyMissing.empty());
        EXPECT_FALSE(interval.high);
    }
}

// Each end's search starts from the normal approximation's root for that
// end, so a few cdf evaluations find it (a batch computes one interval a row).
TEST(NoncentralityInterval, FindsBothEndsInAFewEvaluations) {
    struct Row {
        double t, df;
    };
    for (const auto& [t, df] :
         {Row{-2.24, 18}, Row{0.3, 18}, Row{2.24, 48}, Row{-8, 48}, Row{5, 200}, Row{0.5, 1e4}}) {
        const auto before = intervalEffort().evaluations;
        const NoncentralityInterval ci = noncentralityInterval(t, df, 0.9);
        ASSERT_TRUE(ci.low && ci.high) << t << ", " << df;
        EXPECT_LE(intervalEffort().evaluations - before, 10u) << "t " << t << ", df " << df;
    }
}

}  // namespace
}  // namespace tarnwick
