// The power and smallest size of the one-sided questions (non-inferiority,
// non-superiority, superiority by a margin) against an independent 50-digit
// integral (one_sided_oracle.h integrates over the observed difference with
// the chi-square distribution function; the engine takes one noncentral t
// tail): powers within 1e-6 (in fact far closer), sizes exactly, for the
// difference of two means and every bioequivalence design on the ratio
// scale.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "be_design.h"
#include "be_plan.h"
#include "one_sided_oracle.h"
#include "plan.h"

namespace tarnwick::plan {
namespace {

using settings::Better;
using settings::Hypothesis;

constexpr Hypothesis nonInferiority = Hypothesis::nonInferiority;
constexpr Hypothesis nonSuperiority = Hypothesis::nonSuperiority;
constexpr Hypothesis superiority = Hypothesis::superiority;

struct Row {
    const char* name;
    Design design;
    Hypothesis hypothesis;
    Better better;
    double alpha, margin, difference, sd;
    long n1, n2;
};

Study studyOf(const Row& r) {
    Study s;
    s.design = r.design;
    s.hypothesis = r.hypothesis;
    s.better = r.better;
    s.alpha = r.alpha;
    s.margin = r.margin;
    s.difference = r.difference;
    s.sd = r.sd;
    return s;
}

oracle::OneSidedCase oracleCase(const Study& s, Sizes sizes) {
    const double n1 = static_cast<double>(sizes.n1), n2 = static_cast<double>(sizes.n2);
    const bool pairs = s.design == Design::matched;
    return {s.alpha,
            s.margin,
            s.difference,
            s.sd,
            pairs ? 1 / n1 : 1 / n1 + 1 / n2,
            pairs ? n1 - 1 : n1 + n2 - 2,
            settings::alternativeSide(s.hypothesis, s.better) == settings::Side::above};
}

double oraclePower(const Study& s, Sizes sizes) {
    return static_cast<double>(oracle::oneSidedPower(oracleCase(s, sizes)));
}

// Both designs, both directions, the three questions; the smallest df,
// powers near alpha, near 1 and far below alpha (the true difference on the
// null's side), unequal groups and large samples.
const Row powerRows[] = {
    {"NonInferiorityHigher", Design::independent, nonInferiority, Better::higher, 0.025, -0.5, 0, 1,
     64, 64},
    {"NonInferiorityLower", Design::independent, nonInferiority, Better::lower, 0.025, 0.5, 0, 1,
     64, 64},
    {"NonSuperiorityHigher", Design::independent, nonSuperiority, Better::higher, 0.05, 0.3, 0.1,
     0.8, 40, 55},
    {"NonSuperiorityLower", Design::matched, nonSuperiority, Better::lower, 0.05, -0.3, -0.1, 0.8,
     30, 0},
    {"SuperiorityAtNoEffect", Design::independent, superiority, Better::higher, 0.025, 0, 0.4, 1,
     100, 100},
    {"SuperiorityByAMarginLower", Design::matched, superiority, Better::lower, 0.01, -0.2, -0.9,
     1.5, 25, 0},
    {"SmallestIndependent", Design::independent, nonInferiority, Better::higher, 0.025, -1, 0, 1, 2,
     2},
    {"SmallestMatched", Design::matched, nonInferiority, Better::higher, 0.1, -1, 0.5, 1, 2, 0},
    {"OnTheMarginIsAlpha", Design::independent, nonInferiority, Better::higher, 0.025, -0.5, -0.5,
     1, 20, 20},
    {"NullSideTiny", Design::independent, nonInferiority, Better::higher, 0.025, -0.5, -1.5, 1, 30,
     30},
    {"NearlyCertain", Design::matched, nonInferiority, Better::higher, 0.025, -0.5, 0.5, 1, 60, 0},
    {"LargeSample", Design::independent, nonInferiority, Better::higher, 0.025, -0.02, 0, 1, 20000,
     20000},
    {"UnequalGroups", Design::independent, superiority, Better::higher, 0.2, 0.1, 0.35, 2, 7, 31},
};

class OneSidedPower : public testing::TestWithParam<Row> {};

TEST_P(OneSidedPower, AgreesWithTheIntegralOverTheDifference) {
    const Row& r = GetParam();
    const Study s = studyOf(r);
    const Sizes sizes{r.n1, r.n2};
    const double expected = oraclePower(s, sizes);
    const double found = power(s, sizes);
    EXPECT_NEAR(found, expected, 1e-6);
    // Far closer in fact, and tiny powers keep their relative digits.
    EXPECT_NEAR(found, expected, 1e-12 + 1e-9 * expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, OneSidedPower, testing::ValuesIn(powerRows),
                         [](const auto& info) { return std::string(info.param.name); });

// The smallest size: its power reaches the target and one fewer's does not,
// both by the oracle.
struct SizeRow {
    const char* name;
    Row row;  // n1 and n2 unused
    double target, ratio;
};

const SizeRow sizeRows[] = {
    {"NonInferiority90",
     {"", Design::independent, nonInferiority, Better::higher, 0.025, -0.5, 0, 1, 0, 0},
     0.9,
     1},
    {"NonSuperiorityMatched",
     {"", Design::matched, nonSuperiority, Better::higher, 0.05, 0.25, 0, 1, 0, 0},
     0.8,
     1},
    {"SuperiorityLowerBetter",
     {"", Design::independent, superiority, Better::lower, 0.025, 0, -1, 1.2, 0, 0},
     0.8,
     2},
    {"FewDf", {"", Design::matched, nonInferiority, Better::higher, 0.05, -2, 0, 1, 0, 0}, 0.8, 1},
};

class OneSidedSize : public testing::TestWithParam<SizeRow> {};

TEST_P(OneSidedSize, IsTheFirstToReachTheTarget) {
    const SizeRow& r = GetParam();
    const Study s = studyOf(r.row);
    const SizeAnswer found = smallestSize(s, r.target, r.ratio);
    EXPECT_GE(oraclePower(s, found.sizes), r.target);
    EXPECT_NEAR(found.power, oraclePower(s, found.sizes), 1e-9);
    if (found.sizes.n1 > 2) {
        const long fewer = found.sizes.n1 - 1;
        const Sizes smaller{fewer,
                            s.design == Design::matched ? 0 : secondGroupSize(r.ratio, fewer)};
        EXPECT_LT(oraclePower(s, smaller), r.target);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, OneSidedSize, testing::ValuesIn(sizeRows),
                         [](const auto& info) { return std::string(info.param.name); });

// Every bioequivalence design on the ratio scale: the log margin, the
// design's constant and df (be_design.h's table, written out again here).
struct BeRow {
    be::BeDesign design;
    double bk;
    int sequences, dfPerSubject, dfOffset;
};

const BeRow beRows[] = {
    {be::BeDesign::parallel, 4, 2, 1, -2},         {be::BeDesign::paired, 2, 1, 1, -1},
    {be::BeDesign::crossover2x2, 2, 2, 1, -2},     {be::BeDesign::latin3x3, 2, 3, 2, -4},
    {be::BeDesign::williams3x6x3, 2, 6, 2, -4},    {be::BeDesign::latin4x4, 2, 4, 3, -6},
    {be::BeDesign::replicate2x2x3, 1.5, 2, 2, -3}, {be::BeDesign::replicate2x2x4, 1, 2, 3, -4},
    {be::BeDesign::replicate2x4x4, 1, 4, 3, -4},   {be::BeDesign::partial2x3x3, 1.5, 3, 2, -3},
    {be::BeDesign::balaam2x4x2, 8, 4, 1, -2},      {be::BeDesign::repeated2x2x2r, 1, 2, 3, -2},
};

class OneSidedBe : public testing::TestWithParam<BeRow> {};

TEST_P(OneSidedBe, PowerAndSizeAgreeWithTheIntegral) {
    const BeRow& d = GetParam();
    for (const bool higher : {true, false}) {
        be::BeStudy s;
        s.design = d.design;
        s.hypothesis = Hypothesis::nonInferiority;
        s.better = higher ? Better::higher : Better::lower;
        s.margin = higher ? 0.80 : 1.25;
        s.ratio0 = higher ? 0.95 : 1 / 0.95;
        s.cv = 0.3;
        s.alpha = 0.025;
        const auto oracleAt = [&](long total) {
            const double n = static_cast<double>(total);
            const double sd = std::sqrt(std::log1p(s.cv * s.cv));
            return static_cast<double>(
                oracle::oneSidedPower({s.alpha, std::log(s.margin), std::log(s.ratio0), sd,
                                       d.bk / n, d.dfPerSubject * n + d.dfOffset, higher}));
        };
        const long total = 12L * d.sequences;
        EXPECT_NEAR(be::power(s, total), oracleAt(total), 1e-9);
        const be::BeSizeAnswer found = be::smallestSize(s, 0.8);
        EXPECT_EQ(found.total % d.sequences, 0);
        EXPECT_GE(oracleAt(found.total), 0.8);
        if (found.total > d.sequences * 2) {
            EXPECT_LT(oracleAt(found.total - d.sequences), 0.8);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Designs, OneSidedBe, testing::ValuesIn(beRows), [](const auto& info) {
    std::string name(be::designConstants(info.param.design).name);
    for (char& c : name)
        if (c == 'x') c = '_';
    return "d" + name;
});

// What a one-sided question cannot be asked.
TEST(OneSidedRefusals, TheTrueDifferenceOnTheNullSideHasNoSize) {
    Study s = studyOf(powerRows[0]);
    s.difference = s.margin;
    try {
        smallestSize(s, 0.8);
        FAIL() << "a size was found with the true difference on the margin";
    } catch (const PlanError& e) {
        EXPECT_EQ(e.number(), error::difference);
        EXPECT_NE(e.description().find("above the margin"), std::string::npos);
    }
    s.better = Better::lower;  // the alternative now lies below -0.5
    s.difference = 0;
    EXPECT_THROW(smallestSize(s, 0.8), PlanError);
}

TEST(OneSidedRefusals, NoBoundQuestionAndNoInfiniteMargin) {
    Study s = studyOf(powerRows[0]);
    try {
        smallestBound(s, {20, 20}, 0.8);
        FAIL() << "a bound was found for a one-sided question";
    } catch (const PlanError& e) {
        EXPECT_EQ(e.number(), error::hypothesis);
    }
    s.margin = -INFINITY;
    try {
        power(s, {20, 20});
        FAIL() << "an infinite margin was taken";
    } catch (const PlanError& e) {
        EXPECT_EQ(e.number(), error::margin);
    }
}

// The lower and upper bounds are not the one-sided question's: garbage in
// them changes nothing.
TEST(OneSidedPowerEdges, BoundsAreIgnoredAndFarNoncentralityIsCertain) {
    Study s = studyOf(powerRows[0]);
    const double p = power(s, {64, 64});
    s.lower = NAN;
    s.upper = -INFINITY;
    EXPECT_EQ(power(s, {64, 64}), p);
    s.sd = 1e-6;  // noncentrality about 1.6 million: beyond the cdf's series
    EXPECT_EQ(power(s, {64, 64}), 1.0);
    s.difference = -1;
    EXPECT_EQ(power(s, {64, 64}), 0.0);
}

}  // namespace
}  // namespace tarnwick::plan
