// The bioequivalence planner against an independent 50-digit Owen's Q
// (owen_q_oracle.h): the power for every design, balanced and not; the
// smallest sizes of the 2x2 crossover over the grid of the published
// tables (CV 10-40%, true ratio 0.85-1.15, power 80% and 90%) and of the
// replicate designs, each the oracle's smallest; the published sizes kept in
// published_sizes.csv; and the refusals.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include "be_plan.h"
#include "owen_q_oracle.h"

namespace tarnwick::be {
namespace {

using oracle::Real;

BeStudy study(BeDesign design, double cv, double ratio0, double lower = 0.80, double upper = 1.25,
              double alpha = 0.05) {
    BeStudy s;
    s.scale = Scale::ratio;
    s.design = design;
    s.cv = cv;
    s.ratio0 = ratio0;
    s.lower = lower;
    s.upper = upper;
    s.alpha = alpha;
    return s;
}

// Chow and Liu's additive model: T - R in units of the reference mean.
BeStudy raw(BeDesign design, double cv, double ratio0, double lower = 0.80, double upper = 1.20) {
    BeStudy s = study(design, cv, ratio0, lower, upper);
    s.scale = Scale::difference;
    return s;
}

double oraclePower(const BeStudy& s, const std::vector<long>& sizes) {
    const long total = std::accumulate(sizes.begin(), sizes.end(), 0L);
    const oracle::Case k{s.alpha,
                         s.lower,
                         s.upper,
                         s.ratio0,
                         s.cv,
                         designConstant(s.design, sizes),
                         degreesOfFreedom(s.design, total),
                         s.scale == Scale::ratio};
    return static_cast<double>(oracle::power(k));
}

struct PowerRow {
    const char* name;
    BeStudy study;
    std::vector<long> sizes;
};

std::string rowName(const testing::TestParamInfo<PowerRow>& info) { return info.param.name; }

class PowerAgainstOwensQ : public testing::TestWithParam<PowerRow> {};

TEST_P(PowerAgainstOwensQ, WithinOneInABillion) {
    const PowerRow& row = GetParam();
    const double ours = power(row.study, row.sizes);
    const double truth = oraclePower(row.study, row.sizes);
    EXPECT_NEAR(ours, truth, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    EveryDesign, PowerAgainstOwensQ,
    testing::Values(
        PowerRow{"parallel_unequal", study(BeDesign::parallel, 0.35, 0.95), {31, 29}},
        PowerRow{"paired_small", study(BeDesign::paired, 0.20, 1.00), {6}},
        PowerRow{"x2x2_smallest", study(BeDesign::crossover2x2, 0.10, 0.95), {2, 2}},
        PowerRow{"x2x2_unbalanced", study(BeDesign::crossover2x2, 0.30, 0.95), {13, 12}},
        PowerRow{"x2x2_large", study(BeDesign::crossover2x2, 0.05, 0.99), {5000, 5000}},
        PowerRow{"x3x3", study(BeDesign::latin3x3, 0.25, 1.05), {7, 7, 6}},
        PowerRow{"x3x6x3", study(BeDesign::williams3x6x3, 0.30, 0.95), {9, 9, 9, 9, 8, 8}},
        PowerRow{"x4x4", study(BeDesign::latin4x4, 0.40, 0.90), {10, 10, 10, 10}},
        PowerRow{"x2x2x3", study(BeDesign::replicate2x2x3, 0.45, 0.95), {17, 15}},
        PowerRow{"x2x2x4", study(BeDesign::replicate2x2x4, 0.50, 0.90), {12, 12}},
        PowerRow{"x2x4x4", study(BeDesign::replicate2x4x4, 0.30, 1.10), {3, 3, 2, 2}},
        PowerRow{"x2x3x3", study(BeDesign::partial2x3x3, 0.35, 0.95), {11, 11, 10}},
        PowerRow{"balaam", study(BeDesign::balaam2x4x2, 0.20, 0.95), {10, 9, 9, 9}},
        PowerRow{"repeated", study(BeDesign::repeated2x2x2r, 0.30, 0.95), {8, 8}},
        PowerRow{"ratio_outside_bounds", study(BeDesign::crossover2x2, 0.20, 1.30), {20, 20}},
        PowerRow{"narrow_bounds_alpha025",
                 study(BeDesign::crossover2x2, 0.15, 1.0, 0.90, 1 / 0.90, 0.025),
                 {30, 30}},
        PowerRow{"asymmetric_bounds", study(BeDesign::parallel, 0.25, 1.02, 0.85, 1.30), {20, 20}},
        PowerRow{"raw_2x2", raw(BeDesign::crossover2x2, 0.20, 1.05), {12, 11}},
        PowerRow{"raw_2x4x4", raw(BeDesign::replicate2x4x4, 0.30, 0.95), {5, 5, 5, 5}}),
    rowName);

// The smallest size n reaches the target by the oracle, and n less one
// subject per sequence does not (or is below the design's smallest).
void expectOraclesSmallest(const BeStudy& s, double target, const BeSizeAnswer& answer) {
    const long sequences = designConstants(s.design).sequences;
    EXPECT_EQ(answer.total % sequences, 0);
    EXPECT_GE(oraclePower(s, answer.sequenceSizes), target);
    EXPECT_NEAR(answer.power, oraclePower(s, answer.sequenceSizes), 1e-9);
    std::vector<long> fewer = answer.sequenceSizes;
    for (long& n : fewer) {
        --n;
    }
    const long total = std::accumulate(fewer.begin(), fewer.end(), 0L);
    if (fewer.front() >= 1 && degreesOfFreedom(s.design, total) >= 1) {
        EXPECT_LT(oraclePower(s, fewer), target);
    }
}

// One CV a test, so that the table's rows run side by side.
class TwoByTwoTableRow : public testing::TestWithParam<double> {};

TEST_P(TwoByTwoTableRow, EveryCellIsTheOraclesSmallest) {
    const double cv = GetParam();
    for (const double ratio0 : {0.85, 0.90, 0.95, 1.00, 1.05, 1.10, 1.15}) {
        for (const double target : {0.80, 0.90}) {
            const BeStudy s = study(BeDesign::crossover2x2, cv, ratio0);
            SCOPED_TRACE("ratio " + std::to_string(ratio0) + " target " + std::to_string(target));
            expectOraclesSmallest(s, target, smallestSize(s, target));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(CvTenToForty, TwoByTwoTableRow,
                         testing::Values(0.10, 0.15, 0.20, 0.25, 0.30, 0.35, 0.40));

// Sizes of the other designs, on both scales: a dozen and more of the
// replicate designs among them.
struct SizeRow {
    const char* name;
    BeDesign design;
    double cv, ratio0, target;
};

class OtherDesigns : public testing::TestWithParam<SizeRow> {};

TEST_P(OtherDesigns, TheOraclesSmallestOnBothScales) {
    const SizeRow& row = GetParam();
    for (const Scale scale : {Scale::ratio, Scale::difference}) {
        BeStudy s = study(row.design, row.cv, row.ratio0);
        s.scale = scale;
        SCOPED_TRACE(scale == Scale::ratio ? "ratio" : "raw");
        expectOraclesSmallest(s, row.target, smallestSize(s, row.target));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, OtherDesigns,
    testing::Values(SizeRow{"x2x2x3_cv30", BeDesign::replicate2x2x3, 0.30, 0.95, 0.80},
                    SizeRow{"x2x2x3_cv45", BeDesign::replicate2x2x3, 0.45, 0.90, 0.90},
                    SizeRow{"x2x2x4_cv30", BeDesign::replicate2x2x4, 0.30, 0.95, 0.80},
                    SizeRow{"x2x2x4_cv60", BeDesign::replicate2x2x4, 0.60, 0.95, 0.90},
                    SizeRow{"x2x4x4_cv25", BeDesign::replicate2x4x4, 0.25, 1.05, 0.80},
                    SizeRow{"x2x4x4_cv50", BeDesign::replicate2x4x4, 0.50, 0.90, 0.90},
                    SizeRow{"x2x3x3_cv30", BeDesign::partial2x3x3, 0.30, 0.95, 0.80},
                    SizeRow{"x2x3x3_cv40", BeDesign::partial2x3x3, 0.40, 1.10, 0.90},
                    SizeRow{"balaam_cv20", BeDesign::balaam2x4x2, 0.20, 0.95, 0.80},
                    SizeRow{"balaam_cv30", BeDesign::balaam2x4x2, 0.30, 1.00, 0.90},
                    SizeRow{"repeated_cv30", BeDesign::repeated2x2x2r, 0.30, 0.95, 0.80},
                    SizeRow{"repeated_cv10", BeDesign::repeated2x2x2r, 0.10, 0.95, 0.90},
                    SizeRow{"williams_cv30", BeDesign::williams3x6x3, 0.30, 0.95, 0.90},
                    SizeRow{"latin4x4_cv8", BeDesign::latin4x4, 0.08, 1.00, 0.80},
                    SizeRow{"paired_cv5", BeDesign::paired, 0.05, 1.00, 0.80},
                    SizeRow{"parallel_cv80", BeDesign::parallel, 0.80, 0.95, 0.90}),
    [](const testing::TestParamInfo<SizeRow>& info) { return std::string(info.param.name); });

TEST(SmallestSize, PublishedSizes) {
    std::ifstream file(TARNWICK_BE_DATA "/published_sizes.csv");
    ASSERT_TRUE(file) << "published_sizes.csv not found";
    std::string line;
    int rows = 0;
    bool header = true;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (header) {
            header = false;
            continue;
        }
        std::vector<std::string> cells;
        std::stringstream fields(line);
        for (std::string cell; std::getline(fields, cell, ',');) {
            cells.push_back(cell);
        }
        cells.resize(6);
        const auto design = designNamed(cells[0]);
        ASSERT_TRUE(design.has_value()) << line;
        const BeStudy s = study(*design, std::stod(cells[1]), std::stod(cells[2]));
        const BeSizeAnswer answer = smallestSize(s, std::stod(cells[3]));
        EXPECT_EQ(answer.total, std::stol(cells[4])) << line;
        if (!cells[5].empty()) {
            // Right to the printed digits: within half a unit of the last one.
            const std::size_t point = cells[5].find('.');
            const int decimals =
                point == std::string::npos ? 0 : static_cast<int>(cells[5].size() - point - 1);
            EXPECT_NEAR(answer.power, std::stod(cells[5]), 0.5 * std::pow(10.0, -decimals)) << line;
        }
        ++rows;
    }
    EXPECT_GE(rows, 2);
}

// Where power is not monotone (tiny df) the answer is the first size that
// reaches the target, found by trying the smallest sizes in turn.
TEST(SmallestSize, SmallestSizesAreTriedInTurn) {
    const BeStudy s = study(BeDesign::replicate2x2x3, 0.05, 1.0);
    const BeSizeAnswer answer = smallestSize(s, 0.5);
    for (long k = 1; k * 2 < answer.total; ++k) {
        EXPECT_LT(power(s, std::vector<long>{k, k}), 0.5) << k;
    }
    EXPECT_GE(answer.power, 0.5);
}

TEST(Power, TotalIsSplitAsEvenlyAsTheSequencesAllow) {
    const BeStudy s = study(BeDesign::crossover2x2, 0.3, 0.95);
    EXPECT_EQ(power(s, 25L), power(s, std::vector<long>{13, 12}));
}

struct RefusalRow {
    const char* name;
    BeStudy study;
    std::vector<long> sizes;  // empty: ask for the smallest size instead
    double target;
    int number;
};

std::string refusalName(const testing::TestParamInfo<RefusalRow>& info) { return info.param.name; }

class Refusals : public testing::TestWithParam<RefusalRow> {};

TEST_P(Refusals, NumberedSentence) {
    const RefusalRow& row = GetParam();
    try {
        if (row.sizes.empty()) {
            smallestSize(row.study, row.target);
        } else {
            power(row.study, row.sizes);
        }
        FAIL() << "no refusal";
    } catch (const plan::PlanError& e) {
        EXPECT_EQ(e.number(), row.number) << e.what();
        EXPECT_FALSE(std::string(e.what()).empty());
    }
}

const double nan = std::numeric_limits<double>::quiet_NaN();
const double inf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Input, Refusals,
    testing::Values(
        RefusalRow{"alpha_half",
                   study(BeDesign::crossover2x2, 0.3, 0.95, 0.8, 1.25, 0.5),
                   {6, 6},
                   0,
                   error::alpha},
        RefusalRow{"alpha_nan",
                   study(BeDesign::crossover2x2, 0.3, 0.95, 0.8, 1.25, nan),
                   {6, 6},
                   0,
                   error::alpha},
        RefusalRow{"raw_lower_infinite",
                   raw(BeDesign::crossover2x2, 0.3, 0.95, -inf, 1.2),
                   {6, 6},
                   0,
                   error::bounds},
        RefusalRow{"lower_zero",
                   study(BeDesign::crossover2x2, 0.3, 0.95, 0, 1.25),
                   {6, 6},
                   0,
                   error::bounds},
        RefusalRow{"upper_infinite",
                   study(BeDesign::crossover2x2, 0.3, 0.95, 0.8, inf),
                   {6, 6},
                   0,
                   error::bounds},
        RefusalRow{"bounds_crossed",
                   study(BeDesign::crossover2x2, 0.3, 0.95, 1.25, 0.8),
                   {6, 6},
                   0,
                   error::bounds},
        RefusalRow{"cv_zero", study(BeDesign::crossover2x2, 0, 0.95), {6, 6}, 0, error::cv},
        RefusalRow{"cv_nan", study(BeDesign::crossover2x2, nan, 0.95), {6, 6}, 0, error::cv},
        RefusalRow{
            "ratio_negative", study(BeDesign::crossover2x2, 0.3, -1), {6, 6}, 0, error::ratio0},
        RefusalRow{
            "too_few_sizes", study(BeDesign::latin3x3, 0.3, 0.95), {6, 6}, 0, error::sequences},
        RefusalRow{
            "empty_sequence", study(BeDesign::crossover2x2, 0.3, 0.95), {6, 0}, 0, error::size},
        RefusalRow{"no_df", study(BeDesign::crossover2x2, 0.3, 0.95), {1, 1}, 0, error::size},
        RefusalRow{
            "parallel_one_each", study(BeDesign::parallel, 0.3, 0.95), {1, 1}, 0, error::size},
        RefusalRow{"above_maximum",
                   study(BeDesign::crossover2x2, 0.3, 0.95),
                   {6'000'000, 6'000'000},
                   0,
                   error::sizeAboveMaximum},
        RefusalRow{"size_ratio_on_bound",
                   study(BeDesign::crossover2x2, 0.3, 0.80),
                   {},
                   0.8,
                   error::ratio0},
        RefusalRow{"size_target_alpha",
                   study(BeDesign::crossover2x2, 0.3, 0.95),
                   {},
                   0.05,
                   error::targetPower},
        RefusalRow{
            "size_target_one", study(BeDesign::crossover2x2, 0.3, 0.95), {}, 1, error::targetPower},
        RefusalRow{"size_not_reached",
                   study(BeDesign::crossover2x2, 0.3, 0.80001),
                   {},
                   0.9,
                   error::sizeNotReached}),
    refusalName);

}  // namespace
}  // namespace tarnwick::be
