// Behaviour of TDistribution that a reader of a printed t table can check:
// table rows, the exact values at t = 0, symmetry, and the refusals.

#include "t_distribution.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "run_time_error.h"

namespace tarnwick {
namespace {

const TDistribution& T() { return TDistribution::instance(); }

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double infinity = std::numeric_limits<double>::infinity();

// Rows of a printed table of Student's t, to six decimals.
struct TableRow {
    double df;
    double oneTailed5;  // upper 5% point
    double twoTailed5;  // upper 2.5% point
};

class PublishedTable : public ::testing::TestWithParam<TableRow> {};

TEST_P(PublishedTable, CriticalValuesRoundToTheTable) {
    const TableRow row = GetParam();
    EXPECT_NEAR(T().CriticalValue(0.05, row.df, 1), row.oneTailed5, 5e-7);
    EXPECT_NEAR(T().CriticalValue(0.05, row.df, 2), row.twoTailed5, 5e-7);
}

TEST_P(PublishedTable, TableValueGivesFivePercentToFiveDecimals) {
    const TableRow row = GetParam();
    EXPECT_EQ(std::round(T().TailProbability(row.twoTailed5, row.df, 2) * 1e5), 5000.0);
    EXPECT_EQ(std::round(T().TailProbability(row.oneTailed5, row.df, 1) * 1e5), 5000.0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PublishedTable,
    ::testing::Values(TableRow{1, 6.313752, 12.706205}, TableRow{2, 2.919986, 4.302653},
                      TableRow{5, 2.015048, 2.570582}, TableRow{10, 1.812461, 2.228139},
                      TableRow{18, 1.734064, 2.100922}, TableRow{30, 1.697261, 2.042272},
                      TableRow{120, 1.657651, 1.979930}),
    [](const auto& info) { return "df" + std::to_string(static_cast<int>(info.param.df)); });

class AnyDegreesOfFreedom : public ::testing::TestWithParam<double> {};

TEST_P(AnyDegreesOfFreedom, ZeroIsCertainAndTheSignDoesNotMatter) {
    const double df = GetParam();
    EXPECT_EQ(T().TailProbability(0.0, df, 2), 1.0);
    EXPECT_EQ(T().TailProbability(-0.0, df, 1), 0.5);
    for (const double t : {1e-12, 0.3, 1.7, 4.5, 60.0, 1e6}) {
        const double two = T().TailProbability(t, df, 2);
        EXPECT_EQ(T().TailProbability(-t, df, 2), two) << "t = " << t;
        EXPECT_EQ(T().TailProbability(-t, df, 1), 0.5 * two) << "t = " << t;
        EXPECT_GE(two, 0.0);
        EXPECT_LE(two, 1.0);
    }
    EXPECT_EQ(T().TailProbability(infinity, df, 2), 0.0);
    EXPECT_EQ(T().TailProbability(-infinity, df, 1), 0.0);
}

TEST_P(AnyDegreesOfFreedom, CriticalValueInvertsTheTail) {
    const double df = GetParam();
    for (const double p : {0.05, 0.001, 0.3}) {
        const double t = T().CriticalValue(p, df, 1);
        EXPECT_GT(t, 0.0);
        EXPECT_NEAR(T().TailProbability(t, df, 1) / p, 1.0, 1e-13) << "p = " << p;
        EXPECT_EQ(T().CriticalValue(2.0 * p, df, 2), t) << "p = " << p;
        // Above 1/2 the upper point lies below zero, mirrored (1 - p is rounded).
        EXPECT_NEAR(T().CriticalValue(1.0 - p, df, 1) / t, -1.0, 1e-13) << "p = " << p;
    }
    EXPECT_EQ(T().CriticalValue(1.0, df, 2), 0.0);
    EXPECT_EQ(T().CriticalValue(0.5, df, 1), 0.0);
}

INSTANTIATE_TEST_SUITE_P(Welch, AnyDegreesOfFreedom,
                         ::testing::Values(0.1, 0.75, 1.0, 3.3, 22.63, 181.13, 79260.9, 1e7,
                                           infinity),
                         [](const auto& info) {
                             std::string name = std::to_string(info.param);
                             for (char& c : name) {
                                 c = c == '.' ? '_' : c;
                             }
                             return "df" + name;
                         });

TEST(CriticalValue, FractionalDegreesOfFreedomFallBetweenWholeOnes) {
    const double at22 = T().CriticalValue(0.05, 22.0, 1);
    const double at22_5 = T().CriticalValue(0.05, 22.5, 1);
    const double at23 = T().CriticalValue(0.05, 23.0, 1);
    EXPECT_GT(at22_5, at23);
    EXPECT_LT(at22_5, at22);
}

TEST(Limits, InfiniteDegreesOfFreedomIsTheNormalDistribution) {
    // The normal upper 2.5% point is 1.95996398454005423552...
    EXPECT_NEAR(T().CriticalValue(0.025, infinity, 1), 1.959963984540054, 4e-16);
    EXPECT_NEAR(T().TailProbability(1.959963984540054, infinity, 2), 0.05, 1e-16);
    EXPECT_NEAR(T().TailProbability(3.0, 1e300, 2) / T().TailProbability(3.0, infinity, 2), 1.0,
                1e-15);
}

TEST(Limits, CauchyTailIsExactFarOut) {
    // One degree of freedom: P(T >= t) = atan(1/t) / pi, about 1 / (pi t).
    EXPECT_NEAR(T().TailProbability(1e300, 1.0, 1) * 1e300 * M_PI, 1.0, 1e-14);
    EXPECT_NEAR(T().CriticalValue(1e-300, 1.0, 1) * 1e-300 * M_PI, 1.0, 1e-14);
}

TEST(Limits, CriticalValueBeyondTheDoubleRangeIsAnOverflow) {
    // With df = 0.001 the upper 5% point is about 10^1300.
    try {
        T().CriticalValue(0.05, 0.001, 1);
        FAIL() << "no error raised";
    } catch (const RunTimeError& error) {
        EXPECT_EQ(error.number(), 6);
    }
}

// Calls that must be refused with error 5.
struct Refusal {
    const char* name;
    bool critical;  // CriticalValue(first, df, tails) rather than TailProbability
    double first;
    double df;
    std::int16_t tails;
};

class Refused : public ::testing::TestWithParam<Refusal> {};

TEST_P(Refused, WithInvalidArgument) {
    const Refusal r = GetParam();
    try {
        if (r.critical) {
            T().CriticalValue(r.first, r.df, r.tails);
        } else {
            T().TailProbability(r.first, r.df, r.tails);
        }
        FAIL() << "no error raised";
    } catch (const RunTimeError& error) {
        EXPECT_EQ(error.number(), 5);
        EXPECT_STREQ(error.what(), "Invalid procedure call or argument");
    }
}

INSTANTIATE_TEST_SUITE_P(Arguments, Refused,
                         ::testing::Values(Refusal{"tail_df_zero", false, 1.0, 0.0, 2},
                                           Refusal{"tail_df_negative", false, 1.0, -1.0, 2},
                                           Refusal{"tail_df_nan", false, 1.0, notANumber, 2},
                                           Refusal{"tail_t_nan", false, notANumber, 10.0, 2},
                                           Refusal{"tail_tails_3", false, 1.0, 10.0, 3},
                                           Refusal{"tail_tails_0", false, 1.0, 10.0, 0},
                                           Refusal{"critical_df_zero", true, 0.05, 0.0, 1},
                                           Refusal{"critical_df_nan", true, 0.05, notANumber, 1},
                                           Refusal{"critical_p_nan", true, notANumber, 10.0, 1},
                                           Refusal{"critical_p_zero", true, 0.0, 10.0, 1},
                                           Refusal{"critical_p_one_tailed_1", true, 1.0, 10.0, 1},
                                           Refusal{"critical_p_above_1", true, 1.5, 10.0, 2},
                                           Refusal{"critical_p_negative", true, -0.05, 10.0, 2},
                                           Refusal{"critical_tails_3", true, 0.05, 10.0, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarnwick
