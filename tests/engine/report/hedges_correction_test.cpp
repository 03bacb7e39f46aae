// Hedges' correction against the gamma ratio evaluated with 50 significant digits.

#include "hedges_correction.h"

#include <gtest/gtest.h>

#include <boost/math/special_functions/gamma.hpp>
#include <boost/multiprecision/cpp_bin_float.hpp>

namespace tarnwick::report {
namespace {

using Real = boost::multiprecision::cpp_bin_float_50;

TEST(HedgesCorrection, MatchesTheGammaRatioIn50Digits) {
    for (const double df : {2.0, 3.0, 18.0, 33.0, 1e4, 1e6, 1e9, 1e15}) {
        const Real a = Real(df) / 2;
        const Real truth =
            exp(boost::math::lgamma(a) - boost::math::lgamma(a - Real(0.5))) / sqrt(a);
        const Value ours = hedgesCorrection(df);
        ASSERT_TRUE(ours) << df;
        EXPECT_LT(static_cast<double>(abs((Real(*ours.value) - truth) / truth)), 1e-15) << df;
    }
    EXPECT_FALSE(hedgesCorrection(1.0));
    EXPECT_FALSE(hedgesCorrection(0.5));
}

}  // namespace
}  // namespace tarnwick::report
