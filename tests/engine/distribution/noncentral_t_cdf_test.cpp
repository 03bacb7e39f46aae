// The noncentral t cdf against Boost.Math evaluated with 50 significant digits
// over both of its sums (lower and upper), both signs of t and lambda, and df
// from 1 to 1e4; and, up to df 1e7, against Boost.Math's cdf summed in double,
// which sums the same series, so that the two differ only in the last bits.

#include "noncentral_t_cdf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <boost/math/distributions/non_central_t.hpp>
#include <boost/multiprecision/cpp_bin_float.hpp>
#include <cmath>
#include <iostream>
#include <limits>
#include <string>

namespace tarnwick {
namespace {

using Real = boost::multiprecision::cpp_bin_float_50;

namespace policies = boost::math::policies;
// Boost.Math's noncentral t summed in double, as the interval used it before.
using BoostInDouble = boost::math::non_central_t_distribution<
    double, policies::policy<policies::promote_float<false>, policies::promote_double<false>>>;

constexpr double dfs[] = {1.0, 2.5, 7.0, 30.0, 198.0, 390.0, 1e4, 1e7};
constexpr double ts[] = {-8.0, -1.3, -0.2, 0.0, 0.4, 1.7, 3.1, 12.0};
constexpr double lambdas[] = {-9.5, -2.2, -1e-3, 1e-9, 0.6, 2.9, 16.0};

// The error is absolute: the series, summed in double, is exact to about
// 1e-16 absolute, not relative, far out in a tail (as Boost.Math's own is),
// and the interval needs it near .05 and .95. Up to df 1e4: beyond, the
// series in double loses digits (1e-11 at df 1e7), as Boost.Math's does.
TEST(NoncentralTCdf, AgreesWithFiftyDigitsOverTheGrid) {
    double largest = 0;
    for (const double df : dfs) {
        if (df > 1e4) continue;
        for (const double t : ts)
            for (const double lambda : lambdas) {
                const Real truth = cdf(
                    boost::math::non_central_t_distribution<Real>(Real(df), Real(lambda)), Real(t));
                const double error =
                    static_cast<double>(abs(Real(noncentralTCdf(t, df, lambda)) - truth));
                largest = std::max(largest, error);
                EXPECT_LT(error, 2e-14) << "df " << df << " t " << t << " lambda " << lambda;
            }
    }
    std::cout << "largest absolute error against 50 digits: " << largest << '\n';
}

// The two sum the same terms, but each start takes the incomplete beta's
// derivative from its own evaluation, so their roundings differ in the last
// bits: by a few ulps of the value where the two halves of the mixture add,
// by a few ulps of their larger half where they cancel (a far tail with t and
// lambda of opposite signs, where Boost.Math's own is no nearer the truth).
TEST(NoncentralTCdf, SumsTheSameSeriesAsBoostInDouble) {
    double largestRelative = 0, largestAbsolute = 0;
    for (const double df : dfs)
        for (const double t : ts)
            for (const double lambda : lambdas) {
                const double boost = cdf(BoostInDouble(df, lambda), t);
                const double ours = noncentralTCdf(t, df, lambda);
                const double absolute = std::fabs(ours - boost);
                const std::string where = "df " + std::to_string(df) + " t " + std::to_string(t) +
                                          " lambda " + std::to_string(lambda);
                const bool cancels = t * lambda < 0;
                if (cancels) {
                    largestAbsolute = std::max(largestAbsolute, absolute);
                    EXPECT_LT(absolute, 5e-16) << where;
                } else {
                    const double relative = absolute / std::max(boost, 1e-300);
                    largestRelative = std::max(largestRelative, relative);
                    EXPECT_LT(relative, 2e-15) << where;
                }
            }
    std::cout << "largest difference from Boost.Math in double: " << largestRelative
              << " relative, " << largestAbsolute << " absolute where the halves cancel\n";
}

struct FarPoint {
    const char* name;
    double t, df, lambda;
    double truth;  // mpmath, 40 digits: the chi-square mixture of normal cdfs, integrated
};

class FarNoncentrality : public ::testing::TestWithParam<FarPoint> {};

// Beyond |lambda| of about 5,800 the Poisson index passes 2^24, where a step
// (i + 1/2) / d2 formed in single precision is rounded and the cdf moves by
// 5e-10 (Boost.Math's own, at any precision); the truth comes from an
// independent method.
TEST_P(FarNoncentrality, AgreesWithAnIndependentIntegration) {
    const FarPoint p = GetParam();
    EXPECT_NEAR(noncentralTCdf(p.t, p.df, p.lambda), p.truth, 1e-11);
}

INSTANTIATE_TEST_SUITE_P(
    Points, FarNoncentrality,
    ::testing::Values(FarPoint{"upperSums", 5000, 999999, 4993.9, 0.95154813484285832963},
                      FarPoint{"lowerSums", 5000, 999999, 5006, 0.051217911897901885144},
                      FarPoint{"reflected", -5000, 999999, -5006, 0.948782088102098114856}),
    [](const auto& info) { return std::string(info.param.name); });

struct Edge {
    const char* name;
    double t, df, lambda;
    double expected;  // NaN: the result must be NaN
};

class NoncentralTCdfEdges : public ::testing::TestWithParam<Edge> {};

TEST_P(NoncentralTCdfEdges, GivesTheLimitOrNaN) {
    const Edge e = GetParam();
    const double result = noncentralTCdf(e.t, e.df, e.lambda);
    if (std::isnan(e.expected)) {
        EXPECT_TRUE(std::isnan(result)) << result;
    } else {
        EXPECT_NEAR(result, e.expected, 1e-15);
    }
}

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Edges, NoncentralTCdfEdges,
    ::testing::Values(
        // With lambda 0 the central t: P(T <= 1) on 1 df is 3/4.
        Edge{"centralOneDf", 1.0, 1.0, 0.0, 0.75},
        // At t = 0 only the normal part remains: Phi(-lambda).
        Edge{"zeroTIsPhiOfMinusLambda", 0.0, 12.0, 1.0, 0.15865525393145705},
        Edge{"zeroTNegativeLambda", 0.0, 12.0, -1.0, 0.8413447460685429},
        // Infinite df: the normal located at lambda.
        Edge{"infiniteDfIsNormal", 2.0, inf, 1.0, 0.8413447460685429},
        Edge{"zeroDf", 1.0, 0.0, 1.0, nan}, Edge{"negativeDf", 1.0, -3.0, 1.0, nan},
        Edge{"notANumberDf", 1.0, nan, 1.0, nan}, Edge{"notANumberT", nan, 5.0, 1.0, nan},
        Edge{"infiniteLambda", 1.0, 5.0, inf, nan}, Edge{"notANumberLambda", 1.0, 5.0, nan, nan},
        // Beyond the reach of the sums' int index.
        Edge{"lambdaBeyondTheSums", 70000.0, 5.0, 70000.0, nan}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarnwick
