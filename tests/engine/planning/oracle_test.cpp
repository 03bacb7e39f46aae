// The planning engine against an independent 50-digit evaluation of the
// power (power_oracle.h integrates over the observed difference, the engine
// over the SD): power within 1e-12, sizes exactly, bounds within 1e-9
// relative, from 2 to 10^6 per group.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plan.h"
#include "power_oracle.h"

namespace tarnwick::plan {
namespace {

using oracle::Real;

constexpr Design independent = Design::independent;
constexpr Design matched = Design::matched;

oracle::Case oracleCase(const Study& study, Sizes sizes) {
    const double n1 = static_cast<double>(sizes.n1);
    const double n2 = static_cast<double>(sizes.n2);
    const bool pairs = study.design == matched;
    return {study.alpha,
            study.lower,
            study.upper,
            study.difference,
            study.sd,
            pairs ? 1 / n1 : 1 / n1 + 1 / n2,
            pairs ? n1 - 1 : n1 + n2 - 2};
}

Real oraclePower(const Study& study, Sizes sizes) {
    return oracle::power(oracleCase(study, sizes));
}

Study study(Design design, double alpha, double lower, double upper, double difference, double sd) {
    Study s;
    s.design = design;
    s.alpha = alpha;
    s.lower = lower;
    s.upper = upper;
    s.difference = difference;
    s.sd = sd;
    return s;
}

struct PowerRow {
    const char* name;
    Study study;
    Sizes sizes;
};

std::string rowName(const testing::TestParamInfo<PowerRow>& info) { return info.param.name; }

class PowerAgainstOracle : public testing::TestWithParam<PowerRow> {};

TEST_P(PowerAgainstOracle, WithinOneInATrillion) {
    const PowerRow& row = GetParam();
    const double ours = power(row.study, row.sizes);
    const Real truth = oraclePower(row.study, row.sizes);
    EXPECT_LE(abs(Real(ours) - truth), Real(1e-12))
        << "power " << ours << ", oracle " << static_cast<double>(truth);
}

INSTANTIATE_TEST_SUITE_P(
    Grid, PowerAgainstOracle,
    testing::Values(
        PowerRow{"two_per_group", study(independent, 0.05, -0.5, 0.5, 0, 1), {2, 2}},
        PowerRow{"three_per_group_alpha01_wide", study(independent, 0.01, -3, 3, 0, 1), {3, 3}},
        PowerRow{"two_pairs_alpha10", study(matched, 0.10, -2, 2, 0, 1), {2, 0}},
        PowerRow{"three_pairs_shifted", study(matched, 0.05, -1.5, 1.5, 0.3, 1), {3, 0}},
        PowerRow{"three_and_five_near_bound", study(independent, 0.10, -1, 1, 0.9, 1), {3, 5}},
        PowerRow{"ten_and_25_asymmetric", study(independent, 0.05, -0.3, 0.7, 0.1, 0.5), {10, 25}},
        PowerRow{"equal_124_sd_1_2", study(independent, 0.05, -0.5, 0.5, 0, 1.2), {124, 124}},
        PowerRow{
            "unequal_124_248_alpha01", study(independent, 0.01, -0.4, 0.4, 0.05, 1), {124, 248}},
        PowerRow{"pairs_124_near_bound", study(matched, 0.05, -0.5, 0.5, 0.45, 1), {124, 0}},
        PowerRow{"five_per_group_near_alpha", study(independent, 0.10, -0.3, 0.3, 0, 1), {5, 5}},
        PowerRow{
            "difference_on_bound", study(independent, 0.05, -0.02, 0.02, 0.02, 1), {10000, 10000}},
        PowerRow{
            "difference_outside_bounds", study(independent, 0.05, -0.5, 0.5, 0.7, 1), {50, 50}},
        PowerRow{"pairs_10000_near_bound", study(matched, 0.05, -0.1, 0.1, 0.08, 1), {10000, 0}},
        PowerRow{"equal_10000_alpha01_asymmetric",
                 study(independent, 0.01, -0.05, 0.08, 0.01, 1),
                 {10000, 10000}},
        PowerRow{"equal_10000_near_one", study(independent, 0.05, -0.1, 0.1, 0, 1), {10000, 10000}},
        PowerRow{"million_pairs_alpha10",
                 study(matched, 0.10, -0.002, 0.0035, 0.0003, 1),
                 {1000000, 0}}),
    rowName);

// The answer is the smallest n: the oracle's power falls short at every
// smaller size checked (all of them for small answers, n - 1 otherwise) and
// reaches the target at n.
struct SizeRow {
    const char* name;
    Study study;
    double target;
    double ratio;
};

std::string sizeRowName(const testing::TestParamInfo<SizeRow>& info) { return info.param.name; }

class SizeAgainstOracle : public testing::TestWithParam<SizeRow> {};

TEST_P(SizeAgainstOracle, IsTheSmallestSizeReachingTheTarget) {
    const SizeRow& row = GetParam();
    const SizeAnswer answer = smallestSize(row.study, row.target, row.ratio);
    const auto sizesFor = [&](long n1) {
        return row.study.design == matched ? Sizes{n1, 0}
                                           : Sizes{n1, secondGroupSize(row.ratio, n1)};
    };
    ASSERT_EQ(answer.sizes, sizesFor(answer.sizes.n1));
    const Real target(row.target);
    EXPECT_GE(oraclePower(row.study, answer.sizes), target) << "at n1 = " << answer.sizes.n1;
    const long firstChecked = answer.sizes.n1 <= 12 ? 2 : answer.sizes.n1 - 1;
    for (long n1 = firstChecked; n1 < answer.sizes.n1; ++n1) {
        EXPECT_LT(oraclePower(row.study, sizesFor(n1)), target) << "at n1 = " << n1;
    }
    EXPECT_NEAR(answer.power, static_cast<double>(oraclePower(row.study, answer.sizes)), 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Grid, SizeAgainstOracle,
    testing::Values(
        SizeRow{"example_sd_1_2_power_90", study(independent, 0.05, -0.5, 0.5, 0, 1.2), 0.9, 1},
        SizeRow{"two_pairs_already_enough", study(matched, 0.05, -20, 20, 0, 1), 0.8, 1},
        SizeRow{"target_just_above_alpha", study(independent, 0.10, -0.5, 0.5, 0, 1), 0.12, 1},
        SizeRow{"ratio_2_asymmetric_alpha01", study(independent, 0.01, -0.4, 0.6, 0.1, 1), 0.8, 2},
        SizeRow{"ratio_1_1", study(independent, 0.05, -0.3, 0.3, 0.05, 1), 0.85, 1.1},
        SizeRow{"pairs_near_bound", study(matched, 0.05, -0.5, 0.5, 0.4, 1), 0.9, 1},
        SizeRow{"ten_thousand_per_group", study(independent, 0.05, -0.041, 0.041, 0, 1), 0.8, 1}),
    sizeRowName);

// The bound is within 1e-9 of the oracle's root: the oracle's power falls
// short just below it and reaches the target just above it.
struct BoundRow {
    const char* name;
    Study study;
    Sizes sizes;
    double target;
};

std::string boundRowName(const testing::TestParamInfo<BoundRow>& info) { return info.param.name; }

class BoundAgainstOracle : public testing::TestWithParam<BoundRow> {};

TEST_P(BoundAgainstOracle, WithinOneInABillion) {
    const BoundRow& row = GetParam();
    const BoundAnswer answer = smallestBound(row.study, row.sizes, row.target);
    const auto oracleAt = [&](double bound) {
        Study s = row.study;
        s.lower = -bound;
        s.upper = bound;
        return oraclePower(s, row.sizes);
    };
    const Real target(row.target);
    EXPECT_LT(oracleAt(answer.bound * (1 - 1e-9)), target);
    EXPECT_GE(oracleAt(answer.bound * (1 + 1e-9)), target);
    EXPECT_GE(answer.power, row.target);
}

INSTANTIATE_TEST_SUITE_P(
    Grid, BoundAgainstOracle,
    testing::Values(
        BoundRow{"equal_124_power_80", study(independent, 0.05, 0, 0, 0, 1.2), {124, 124}, 0.8},
        BoundRow{"two_pairs_power_90", study(matched, 0.05, 0, 0, 0, 1), {2, 0}, 0.9},
        BoundRow{
            "about_0_not_the_difference", study(independent, 0.01, 0, 0, 0.2, 1), {10, 25}, 0.9},
        BoundRow{
            "ten_thousand_per_group", study(independent, 0.10, 0, 0, 0, 3), {10000, 10000}, 0.8}),
    boundRowName);

}  // namespace
}  // namespace tarnwick::plan
