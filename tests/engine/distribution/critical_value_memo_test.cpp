// The memo of critical values must be invisible: the very same double as the
// distribution computed afresh, the same refusal, whatever was asked before.

#include "critical_value_memo.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "run_time_error.h"
#include "t_distribution.h"

namespace tarnwick {
namespace {

struct Key {
    const char* name;
    double p, df;
    std::int16_t tails;
};

std::uint64_t bitsOf(double x) { return std::bit_cast<std::uint64_t>(x); }

// The error number of a call that throws, or nothing.
template <class Call>
std::optional<int> errorOf(Call call) {
    try {
        call();
    } catch (const RunTimeError& error) {
        return error.number();
    }
    return std::nullopt;
}

class SameAsAfresh : public ::testing::TestWithParam<Key> {};

// Asked twice, so that the second answer comes from the table where it is kept.
TEST_P(SameAsAfresh, BitForBitOnEveryCall) {
    const Key k = GetParam();
    const double fresh = TDistribution::instance().CriticalValue(k.p, k.df, k.tails);
    EXPECT_EQ(bitsOf(memoisedCriticalValue(k.p, k.df, k.tails)), bitsOf(fresh));
    EXPECT_EQ(bitsOf(memoisedCriticalValue(k.p, k.df, k.tails)), bitsOf(fresh));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SameAsAfresh,
    ::testing::Values(Key{"oneTailedFivePercentDf1", 0.05, 1, 1},
                      Key{"twoTailedFivePercentDf1", 0.05, 1, 2}, Key{"matchedDf7", 0.05, 7, 1},
                      Key{"studentDf392", 0.05, 392, 2}, Key{"welchDfNotWhole", 0.05, 37.618, 1},
                      Key{"tinyDfNotWhole", 0.05, 0.25, 2},
                      Key{"twoTailedCertainIsZero", 1.0, 12, 2},
                      Key{"aboveOneHalfIsNegative", 0.8, 12, 1}, Key{"hugeWholeDf", 0.05, 1e20, 1},
                      Key{"normalLimit", 0.05, 1e40, 2},
                      Key{"infiniteDf", 0.05, std::numeric_limits<double>::infinity(), 1}),
    [](const auto& info) { return std::string(info.param.name); });

// A key that differs from a kept one only in p or tails gets its own value.
TEST(CriticalValueMemo, KeepsTheKeysApart) {
    const TDistribution& t = TDistribution::instance();
    for (const double df : {4.0, 30.0, 198.0}) {
        const double one = memoisedCriticalValue(0.05, df, 1);
        EXPECT_EQ(bitsOf(memoisedCriticalValue(0.05, df, 2)), bitsOf(t.CriticalValue(0.05, df, 2)));
        EXPECT_EQ(bitsOf(memoisedCriticalValue(0.025, df, 1)),
                  bitsOf(t.CriticalValue(0.025, df, 1)));
        EXPECT_EQ(bitsOf(memoisedCriticalValue(0.05, df, 1)), bitsOf(one));
        EXPECT_EQ(bitsOf(one), bitsOf(t.CriticalValue(0.05, df, 1)));
    }
}

// More whole df than the table holds, then the first ones again: displaced
// values are computed again, never confused with their displacers.
TEST(CriticalValueMemo, DisplacedValuesAreComputedAgain) {
    const TDistribution& t = TDistribution::instance();
    for (int df = 1; df <= 6000; ++df)
        memoisedCriticalValue(0.05, df, 1);
    for (int df = 1; df <= 6000; df += 7)
        ASSERT_EQ(bitsOf(memoisedCriticalValue(0.05, df, 1)), bitsOf(t.CriticalValue(0.05, df, 1)))
            << "df = " << df;
}

struct Refusal {
    const char* name;
    double p, df;
    std::int16_t tails;
    ErrorNumber error;
};

class RefusedEveryTime : public ::testing::TestWithParam<Refusal> {};

// A refusal is never kept as a value: it is raised again on the next call, and
// a valid key asked for afterwards is unharmed.
TEST_P(RefusedEveryTime, SameErrorTwiceAndNothingKept) {
    const Refusal r = GetParam();
    const auto call = [&] { memoisedCriticalValue(r.p, r.df, r.tails); };
    const auto expected = std::optional<int>(static_cast<int>(r.error));
    EXPECT_EQ(errorOf(call), expected);
    EXPECT_EQ(errorOf(call), expected);
    EXPECT_EQ(bitsOf(memoisedCriticalValue(0.05, 10, 1)),
              bitsOf(TDistribution::instance().CriticalValue(0.05, 10, 1)));
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, RefusedEveryTime,
    ::testing::Values(Refusal{"zeroDf", 0.05, 0, 1, ErrorNumber::invalidArgument},
                      Refusal{"negativeWholeDf", 0.05, -3, 2, ErrorNumber::invalidArgument},
                      Refusal{"zeroP", 0.0, 10, 1, ErrorNumber::invalidArgument},
                      Refusal{"pOfOneOneTailed", 1.0, 10, 1, ErrorNumber::invalidArgument},
                      Refusal{"threeTails", 0.05, 10, 3, ErrorNumber::invalidArgument},
                      Refusal{"notANumberP", std::numeric_limits<double>::quiet_NaN(), 10, 1,
                              ErrorNumber::invalidArgument},
                      Refusal{"beyondTheDoubleRange", 1e-310, 1, 1, ErrorNumber::overflow}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarnwick
