// The minimal-effect test's power and sizes against an independent 50-digit
// evaluation (power_oracle.h integrates over the observed difference, the
// engine over the SD), its refusals, and bounds given in SD units.

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "bound_units.h"
#include "plan.h"
#include "power_oracle.h"

namespace tarnwick::plan {
namespace {

using oracle::Real;
using settings::BoundUnits;

constexpr Design independent = Design::independent;
constexpr Design matched = Design::matched;

Study reversed(Design design, double alpha, double lower, double upper, double difference,
               double sd) {
    Study s{design, alpha, lower, upper, difference, sd};
    s.hypothesis = settings::Hypothesis::minimalEffect;
    return s;
}

Sizes sizesFor(const Study& study, long n1, double ratio) {
    return study.design == matched ? Sizes{n1, 0} : Sizes{n1, secondGroupSize(ratio, n1)};
}

Real oraclePower(const Study& study, Sizes sizes) {
    const double n1 = static_cast<double>(sizes.n1);
    const double n2 = static_cast<double>(sizes.n2);
    const bool pairs = study.design == matched;
    return oracle::minimalEffectPower({study.alpha, study.lower, study.upper, study.difference,
                                       study.sd, pairs ? 1 / n1 : 1 / n1 + 1 / n2,
                                       pairs ? n1 - 1 : n1 + n2 - 2});
}

struct PowerRow {
    const char* name;
    Study study;
    Sizes sizes;
};

template <class Row>
std::string rowName(const testing::TestParamInfo<Row>& info) {
    return info.param.name;
}

class MinimalEffectPower : public testing::TestWithParam<PowerRow> {};

TEST_P(MinimalEffectPower, WithinOneInATrillionOfTheOracle) {
    const PowerRow& row = GetParam();
    const double ours = power(row.study, row.sizes);
    const Real truth = oraclePower(row.study, row.sizes);
    EXPECT_LE(abs(Real(ours) - truth), Real(1e-12))
        << "power " << ours << ", oracle " << static_cast<double>(truth);
}

INSTANTIATE_TEST_SUITE_P(
    Grid, MinimalEffectPower,
    testing::Values(
        PowerRow{"two_per_group_far_above", reversed(independent, 0.05, -0.5, 0.5, 3, 1), {2, 2}},
        PowerRow{"two_pairs_below_alpha10", reversed(matched, 0.10, -0.5, 0.5, -2, 1), {2, 0}},
        PowerRow{"three_and_five_just_above", reversed(independent, 0.05, -1, 1, 1.1, 1), {3, 5}},
        PowerRow{"inside_the_bounds", reversed(independent, 0.05, -0.5, 0.5, 0.1, 1), {40, 40}},
        PowerRow{"on_the_upper_bound", reversed(independent, 0.01, -0.5, 0.5, 0.5, 1), {30, 30}},
        PowerRow{"both_sides_count_at_narrow_bounds",
                 reversed(independent, 0.05, -0.01, 0.01, 0.02, 1),
                 {4, 4}},
        PowerRow{
            "asymmetric_bounds_below", reversed(independent, 0.05, 0.2, 0.9, -0.1, 0.7), {10, 25}},
        PowerRow{"equal_124_sd_1_2", reversed(independent, 0.05, -0.5, 0.5, 0.9, 1.2), {124, 124}},
        PowerRow{"pairs_124_alpha01", reversed(matched, 0.01, -0.3, 0.3, -0.55, 1), {124, 0}},
        PowerRow{"equal_10000_near_bound",
                 reversed(independent, 0.05, -0.1, 0.1, 0.13, 1),
                 {10000, 10000}},
        PowerRow{
            "equal_10000_far_inside", reversed(independent, 0.05, -0.5, 0.5, 0, 1), {10000, 10000}},
        PowerRow{"million_pairs_alpha10",
                 reversed(matched, 0.10, -0.002, 0.0035, 0.0055, 1),
                 {1000000, 0}}),
    rowName<PowerRow>);

// The answer is the smallest n: the oracle's power falls short at every
// smaller size checked (all of them for small answers, where power need not
// rise with n, and n - 1 otherwise) and reaches the target at n.
struct SizeRow {
    const char* name;
    Study study;
    double target;
    double ratio;
};

class MinimalEffectSize : public testing::TestWithParam<SizeRow> {};

TEST_P(MinimalEffectSize, IsTheSmallestSizeReachingTheTarget) {
    const SizeRow& row = GetParam();
    const SizeAnswer answer = smallestSize(row.study, row.target, row.ratio);
    ASSERT_EQ(answer.sizes, sizesFor(row.study, answer.sizes.n1, row.ratio));
    const Real target(row.target);
    EXPECT_GE(oraclePower(row.study, answer.sizes), target) << "at n1 = " << answer.sizes.n1;
    const long firstChecked = answer.sizes.n1 <= 12 ? 2 : answer.sizes.n1 - 1;
    for (long n1 = firstChecked; n1 < answer.sizes.n1; ++n1) {
        EXPECT_LT(oraclePower(row.study, sizesFor(row.study, n1, row.ratio)), target)
            << "at n1 = " << n1;
    }
    EXPECT_NEAR(answer.power, static_cast<double>(oraclePower(row.study, answer.sizes)), 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Grid, MinimalEffectSize,
    testing::Values(
        SizeRow{"two_pairs_already_enough", reversed(matched, 0.05, -0.5, 0.5, 20, 1), 0.8, 1},
        SizeRow{"a_few_per_group", reversed(independent, 0.05, -0.5, 0.5, 2.5, 1), 0.9, 1},
        SizeRow{"target_just_above_alpha", reversed(independent, 0.10, -0.5, 0.5, 0.6, 1), 0.12, 1},
        SizeRow{"below_the_lower_bound_ratio_2", reversed(independent, 0.01, -0.4, 0.6, -0.9, 1),
                0.8, 2},
        SizeRow{"ratio_1_1", reversed(independent, 0.05, -0.3, 0.3, 0.5, 1), 0.85, 1.1},
        SizeRow{"pairs_sd_2", reversed(matched, 0.05, -0.5, 0.5, 0.8, 2), 0.9, 1},
        // Early on each side rejects with about alpha, so power starts near
        // 2 alpha and falls before it rises: the answer lies past the fall.
        SizeRow{"past_a_long_fall", reversed(independent, 0.2, -0.01, 0.01, 0.02, 1), 0.5, 1},
        SizeRow{"two_sides_reach_it_at_two", reversed(matched, 0.2, -0.001, 0.001, 0.002, 1), 0.3,
                1},
        SizeRow{"thousands_per_group", reversed(independent, 0.05, -0.2, 0.2, 0.25, 1), 0.8, 1}),
    rowName<SizeRow>);

struct RefusalRow {
    const char* name;
    std::function<void()> ask;
    int number;
    const char* wordsInSentence;
};

class MinimalEffectRefusal : public testing::TestWithParam<RefusalRow> {};

TEST_P(MinimalEffectRefusal, GivesItsNumberAndSentence) {
    const RefusalRow& row = GetParam();
    try {
        row.ask();
        FAIL() << "answered instead of refusing";
    } catch (const PlanError& e) {
        EXPECT_EQ(e.number(), row.number);
        EXPECT_NE(e.description().find(row.wordsInSentence), std::string::npos) << e.description();
    }
}

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Input, MinimalEffectRefusal,
    testing::Values(
        RefusalRow{"size_with_difference_inside",
                   [] { smallestSize(reversed(independent, 0.05, -0.5, 0.5, 0.2, 1), 0.8); },
                   error::difference, "must lie outside the bounds"},
        RefusalRow{"size_with_difference_on_the_lower_bound",
                   [] { smallestSize(reversed(matched, 0.05, -0.5, 0.5, -0.5, 1), 0.8); },
                   error::difference, "must lie outside the bounds"},
        RefusalRow{"size_with_difference_nan",
                   [] { smallestSize(reversed(independent, 0.05, -0.5, 0.5, nan, 1), 0.8); },
                   error::difference, "finite"},
        RefusalRow{"equivalence_size_still_wants_it_inside",
                   [] {
                       smallestSize(Study{independent, 0.05, -0.5, 0.5, 0.7, 1}, 0.8);
                   },
                   error::difference, "must lie inside the bounds"},
        // The target's refusals name what this test concludes, not equivalence.
        RefusalRow{"target_at_alpha",
                   [] { smallestSize(reversed(independent, 0.05, -0.5, 0.5, 0.8, 1), 0.05); },
                   error::targetPower, "concludes that the difference lies beyond the bounds"},
        RefusalRow{"target_of_one",
                   [] { smallestSize(reversed(matched, 0.05, -0.5, 0.5, 0.8, 1), 1); },
                   error::targetPower, "certain to conclude that the difference lies beyond"},
        RefusalRow{"infinite_bound",
                   [] { smallestSize(reversed(independent, 0.05, -inf, 0.5, 0.8, 1), 0.8); },
                   error::bounds, "The bounds must be finite numbers."},
        RefusalRow{"equivalence_target_of_one_still_says_equivalence",
                   [] {
                       smallestSize(Study{independent, 0.05, -0.5, 0.5, 0, 1}, 1);
                   },
                   error::targetPower, "certain to conclude equivalence."},
        RefusalRow{"smallest_bound",
                   [] {
                       smallestBound(reversed(independent, 0.05, 0, 0, 0, 1), {20, 20}, 0.8);
                   },
                   error::hypothesis, "equivalence test"},
        RefusalRow{"no_size_up_to_the_cap",
                   [] { smallestSize(reversed(independent, 0.05, -0.5, 0.5, 0.5001, 1), 0.8); },
                   error::sizeNotReached, "10,000,000"},
        RefusalRow{"sd_units_with_sd_zero",
                   [] {
                       inRawUnits(Study{independent, 0.05, -0.5, 0.5, 0, 0}, BoundUnits::sd);
                   },
                   error::sd, "SD units"},
        RefusalRow{"sd_units_with_sd_nan",
                   [] {
                       inRawUnits(Study{independent, 0.05, -0.5, 0.5, 0, nan}, BoundUnits::sd);
                   },
                   error::sd, "SD units"},
        RefusalRow{"sd_units_overflow",
                   [] {
                       inRawUnits(Study{independent, 0.05, -1e300, 1e300, 0, 1e10}, BoundUnits::sd);
                   },
                   error::bounds, "overflow"},
        RefusalRow{"raw_units_leave_an_infinite_bound_to_the_checks",
                   [] {
                       power(inRawUnits(Study{independent, 0.05, -0.5, inf, 0, 1}, BoundUnits::raw),
                             {10, 10});
                   },
                   error::bounds, "finite"}),
    rowName<RefusalRow>);

// Bounds in SD units are the raw bounds divided by the SD: the same study
// either way, so the same power to the last bit.
struct UnitsRow {
    const char* name;
    Study inSdUnits;
    Study inRawUnits;
};

class BoundsInSdUnits : public testing::TestWithParam<UnitsRow> {};

TEST_P(BoundsInSdUnits, AskTheSameQuestionAsTheRawBounds) {
    const UnitsRow& row = GetParam();
    const Study converted = inRawUnits(row.inSdUnits, BoundUnits::sd);
    EXPECT_EQ(converted.lower, row.inRawUnits.lower);
    EXPECT_EQ(converted.upper, row.inRawUnits.upper);
    EXPECT_EQ(power(converted, {30, 30}), power(row.inRawUnits, {30, 30}));
    const Study untouched = inRawUnits(row.inSdUnits, BoundUnits::raw);
    EXPECT_EQ(untouched.lower, row.inSdUnits.lower);
    EXPECT_EQ(untouched.upper, row.inSdUnits.upper);
}

INSTANTIATE_TEST_SUITE_P(Grid, BoundsInSdUnits,
                         testing::Values(UnitsRow{"sd_2",
                                                  {independent, 0.05, -0.25, 0.25, 0.1, 2},
                                                  {independent, 0.05, -0.5, 0.5, 0.1, 2}},
                                         UnitsRow{"pairs_sd_4_asymmetric",
                                                  {matched, 0.05, -0.5, 0.25, 0, 4},
                                                  {matched, 0.05, -2, 1, 0, 4}},
                                         UnitsRow{"minimal_effect_sd_0_5",
                                                  reversed(independent, 0.1, -1, 1, 0.9, 0.5),
                                                  reversed(independent, 0.1, -0.5, 0.5, 0.9, 0.5)}),
                         rowName<UnitsRow>);

// The equivalence region (the interval inside both bounds) and the
// minimal-effect region (wholly beyond one) never overlap, so their powers
// add to at most 1, and for a difference on a bound neither exceeds alpha by
// more than the other side's share.
TEST(MinimalEffectPower, NeverOverlapsTheEquivalenceRegion) {
    for (const double difference : {-0.7, -0.5, 0.0, 0.3, 0.5, 0.9}) {
        for (const long n : {2L, 5L, 40L, 400L}) {
            Study equivalence{independent, 0.05, -0.5, 0.5, difference, 1};
            const Study minimal = reversed(independent, 0.05, -0.5, 0.5, difference, 1);
            EXPECT_LE(power(equivalence, {n, n}) + power(minimal, {n, n}), 1 + 1e-15)
                << "difference " << difference << ", n " << n;
        }
    }
}

}  // namespace
}  // namespace tarnwick::plan
