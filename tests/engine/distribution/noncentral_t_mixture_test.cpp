// The far-out noncentral t cdf and its derivatives in lambda against Boost.Math
// at 50 digits (whose Poisson steps stay exact below |lambda| of about 4,100,
// where i + 1/2 still fits a float), and beyond that against a 50-digit
// integration of the same mixture by another rule.

#include "noncentral_t_mixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <boost/math/distributions/non_central_t.hpp>
#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <boost/math/special_functions/erf.hpp>
#include <boost/multiprecision/cpp_bin_float.hpp>
#include <cmath>
#include <iostream>
#include <limits>
#include <string>

namespace tarnwick {
namespace {

using Real = boost::multiprecision::cpp_bin_float_50;

Real oracleCdf(double t, double df, const Real& lambda) {
    return cdf(boost::math::non_central_t_distribution<Real>(Real(df), lambda), Real(t));
}

struct Study {
    const char* name;
    double t, df;
};

class MixtureAgainstFiftyDigits : public ::testing::TestWithParam<Study> {};

// Each study at noncentralities about its .05 and .95 points and further out
// in both tails (cdf from about 1e-3 to 1 - 1e-3), where the interval's search goes.
// The bound: 1.5e-15 absolute, plus what the rounding of the incomplete
// gamma's argument df u0^2 / 2 moves it by, about 2e-17 sqrt(df).
double bound(double df) { return 1.5e-15 + 2e-17 * std::sqrt(df); }

TEST_P(MixtureAgainstFiftyDigits, WithinTheBound) {
    const Study s = GetParam();
    const double spread = std::sqrt(1 + s.t * s.t / (2 * s.df));
    double largest = 0;
    for (const double away : {-3.0, -1.645, -1.0, 1.0, 1.645, 3.0}) {
        const double lambda = s.t * (1 - 1 / (4 * s.df)) + away * spread;
        // Beyond 4,090 the oracle's own steps are rounded; the other side of
        // zero is the series' (the next test and the cdf's own).
        if (std::fabs(lambda) < mixtureLeast || std::fabs(lambda) > 4090 || lambda * s.t < 0)
            continue;
        const auto ours = noncentralTMixture(s.t, s.df, lambda);
        ASSERT_TRUE(ours) << "lambda " << lambda;
        const double error =
            static_cast<double>(abs(Real(ours->cdf) - oracleCdf(s.t, s.df, Real(lambda))));
        EXPECT_LT(error, bound(s.df)) << "lambda " << lambda;
        largest = std::max(largest, error);
    }
    std::cout << s.name << ": largest absolute error " << largest << '\n';
}

INSTANTIATE_TEST_SUITE_P(
    Grid, MixtureAgainstFiftyDigits,
    ::testing::Values(
        // t^2 / (2 df) just above 1/4 and just above 1: the two rules' edges.
        Study{"longRuleEdge", 16, 500}, Study{"shortRuleEdge", 32, 500}, Study{"fewDfNear", 12, 3},
        Study{"fewDfFar", 900, 3}, Study{"sixDf", 28, 6}, Study{"moderate", 60, 52},
        Study{"moderateNegative", -60, 52}, Study{"manyDf", 120, 10000},
        Study{"manyDfNegative", -120, 10000}, Study{"largest", 2800, 30},
        Study{"largestNegative", -2000, 8}, Study{"twentyThousandDf", 250, 20000},
        // Just above the edges of the smaller rules, where each is at
        // its least exact: 24 nodes from 1/2, 12 from 4, 10 from 8, 8 from 16.
        Study{"rule24Edge", 22.4, 500}, Study{"rule12Edge", -63.3, 500},
        Study{"rule10Edge", 89.5, 500}, Study{"rule8Edge", -126.5, 500},
        Study{"rule8EdgeFewDf", 17.9, 10}, Study{"rule10EdgeManyDf", 400.1, 1e4}),
    [](const auto& info) { return std::string(info.param.name); });

// Beyond |lambda| 4,100 the truth is the mixture E Phi(t U - lambda)
// integrated at 50 digits by adaptive Gauss-Kronrod over the density of U,
// on a range that holds all but 1e-30 of it.
Real integratedCdf(double t, double df, double lambda) {
    const Real a = Real(df) / 2;
    const Real logNorm = log(Real(2)) + a * log(a) - boost::math::lgamma(a);
    const auto integrand = [&](const Real& u) {
        const Real g = exp(logNorm + (2 * a - 1) * log(u) - a * u * u);
        return g * boost::math::erfc(-(t * u - lambda) / sqrt(Real(2))) / 2;
    };
    const Real centre = Real(lambda) / t, width = Real(12) / t;
    return boost::math::quadrature::gauss_kronrod<Real, 61>::integrate(
               integrand, centre - width, centre + width, 15, Real("1e-40")) +
           boost::math::gamma_q(a, a * (centre + width) * (centre + width));
}

struct FarPoint {
    const char* name;
    double t, df, lambda;
};

class MixtureFarOut : public ::testing::TestWithParam<FarPoint> {};

TEST_P(MixtureFarOut, AgreesWithAFiftyDigitIntegration) {
    const FarPoint p = GetParam();
    const auto ours = noncentralTMixture(p.t, p.df, p.lambda);
    ASSERT_TRUE(ours);
    const double truth = static_cast<double>(integratedCdf(p.t, p.df, p.lambda));
    EXPECT_NEAR(ours->cdf, truth, bound(p.df));
}

INSTANTIATE_TEST_SUITE_P(
    Points, MixtureFarOut,
    ::testing::Values(FarPoint{"matchedSmallSd", 4000, 398, 4230.7151549566906},
                      FarPoint{"upperTail", 5000, 999999, 4993.9},
                      FarPoint{"lowerTail", 5000, 999999, 5006}, FarPoint{"fewDf", 20000, 20, 7500},
                      FarPoint{"fewDfUpper", 20000, 20, 15000}),
    [](const auto& info) { return std::string(info.param.name); });

// The derivatives steer Halley's steps: a wrong sign or factor would still
// converge, slowly, so they are checked against the oracle's differences.
TEST(NoncentralTMixture, SlopesAreTheOraclesDifferences) {
    struct Point {
        double t, df, lambda;
    };
    for (const Point p :
         {Point{40, 30, 37}, Point{-300, 6, -200}, Point{15, 200, 14}, Point{2000, 8, 2760}}) {
        const auto ours = noncentralTMixture(p.t, p.df, p.lambda);
        ASSERT_TRUE(ours);
        const Real h("1e-10"), x(p.lambda);
        const Real up = oracleCdf(p.t, p.df, x + h), mid = oracleCdf(p.t, p.df, x),
                   down = oracleCdf(p.t, p.df, x - h);
        const double slope = static_cast<double>((up - down) / (2 * h));
        const double curvature = static_cast<double>((up - 2 * mid + down) / (h * h));
        EXPECT_NEAR(ours->slope, slope, 1e-9 * std::fabs(slope)) << p.t << ", " << p.df;
        EXPECT_NEAR(ours->curvature, curvature, 1e-6 * std::fabs(curvature) + 1e-15)
            << p.t << ", " << p.df;
    }
}

struct Outside {
    const char* name;
    double t, df, lambda;
};

class MixtureOutsideItsRange : public ::testing::TestWithParam<Outside> {};

TEST_P(MixtureOutsideItsRange, LeavesItToTheSeries) {
    const Outside o = GetParam();
    EXPECT_FALSE(noncentralTMixture(o.t, o.df, o.lambda));
}

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Cases, MixtureOutsideItsRange,
    ::testing::Values(Outside{"lambdaBelowNine", 9, 6, 8.99}, Outside{"oppositeSigns", 50, 6, -50},
                      Outside{"oppositeSignsNegativeT", -50, 6, 50},
                      // t^2 / (2 df) below 1/4: the density is the narrow factor.
                      Outside{"narrowDensity", 20, 801, 20}, Outside{"zeroT", 0, 6, 20},
                      Outside{"infiniteDf", 50, inf, 50}, Outside{"zeroDf", 50, 0, 50},
                      Outside{"notANumberT", nan, 6, 50}, Outside{"infiniteLambda", 50, 6, inf}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarnwick
