// The crossover analysis against the printed results of the regulator's
// reference data (data/README.md) and against a 50-digit dummy-variable
// oracle on full, partial, two-period and incomplete designs; what must not
// change it (one subject's scale, subjects without both formulations); and
// the studies it must refuse.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "crossover_analysis.h"
#include "crossover_error.h"
#include "crossover_test_support.h"

namespace tarnwick::crossover {
namespace {

using namespace testing;

double rounded(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

double halfOfSixthDigit(double printed) {
    return 0.5 * std::pow(10.0, std::floor(std::log10(std::fabs(printed))) - 5);
}

std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream cells(line);
    for (std::string cell; std::getline(cells, cell, ',');)
        fields.push_back(cell);
    return fields;
}

TEST(CrossoverPublished, ReproducesThePrintedDigits) {
    std::istringstream rows(dataFile("published_results.csv"));
    std::string line;
    std::getline(rows, line);
    int checked = 0;
    while (std::getline(rows, line)) {
        const std::vector<std::string> f = fieldsOf(line);
        SCOPED_TRACE(f[0]);
        const CrossoverResult r = analyseCrossover(studyOf(dataFile(f[0]), f[1]), {});
        EXPECT_EQ(rounded(100 * r.ratio, 2), std::stod(f[2]));
        EXPECT_EQ(rounded(100 * r.low, 2), std::stod(f[3]));
        EXPECT_EQ(rounded(100 * r.high, 2), std::stod(f[4]));
        ASSERT_TRUE(r.cvReference);
        EXPECT_EQ(rounded(100 * *r.cvReference, 2), std::stod(f[5]));
        EXPECT_EQ(r.df, std::stod(f[6]));
        // Printed to six significant digits (padded with zeros to eight decimals).
        EXPECT_NEAR(r.difference, std::stod(f[7]), halfOfSixthDigit(std::stod(f[7])));
        EXPECT_NEAR(r.standardError, std::stod(f[8]), halfOfSixthDigit(std::stod(f[8])));
        EXPECT_NEAR(r.residualMs * r.df, std::stod(f[9]), 5e-9);
        EXPECT_EQ(r.decision, TostDecision::equivalent);  // 107.11-124.89 inside 80-125
        ++checked;
    }
    EXPECT_GE(checked, 1);
}

struct OracleCase {
    const char* name;
    std::function<std::string()> table;
    const char* reference;
    bool replicate;
    bool twoPeriods;
};

class CrossoverOracle : public ::testing::TestWithParam<OracleCase> {};

TEST_P(CrossoverOracle, AgreesWithTheDummyVariableModel) {
    const OracleCase& c = GetParam();
    const CrossoverStudy study = studyOf(c.table(), c.reference);
    const CrossoverResult r = analyseCrossover(study, {});
    const OracleFit full = oracleFit(oracleRows(study));
    EXPECT_NEAR(r.difference, full.estimate, 1e-13 + 1e-12 * std::fabs(full.estimate));
    EXPECT_NEAR(r.standardError, full.se, 1e-12 * full.se);
    EXPECT_EQ(r.df, full.df);
    EXPECT_NEAR(r.residualMs, full.residualSs / full.df, 1e-12 * full.residualSs / full.df);
    ASSERT_EQ(r.cvReference.has_value(), c.replicate);
    if (c.replicate) {
        const OracleFit own = oracleFit(oracleRows(study, true), {.formulation = false});
        EXPECT_EQ(r.dfReference, own.df);
        EXPECT_NEAR(*r.cvReference, cvOfLogVariance(own.residualSs / own.df), 1e-12);
    }
    ASSERT_EQ(r.anova.size(), c.twoPeriods ? 5u : 0u);
    if (c.twoPeriods) {
        const std::vector<OracleRow> rows = oracleRows(study);
        const auto ssWithout = [&](Terms terms) {
            return oracleFit(rows, terms).residualSs - full.residualSs;
        };
        const double tolerance = 1e-10 * full.residualSs;
        EXPECT_NEAR(r.anova[3].ss, ssWithout({.formulation = false}), tolerance);
        EXPECT_NEAR(r.anova[2].ss, ssWithout({.periods = false}), tolerance);
        EXPECT_NEAR(r.anova[0].ss + r.anova[1].ss, ssWithout({.subjects = false}), tolerance);
        EXPECT_NEAR(r.anova[4].ss, full.residualSs, tolerance);
        // The formulation's F is the square of the fit's t.
        const double t = r.difference / r.standardError;
        EXPECT_NEAR(*r.anova[3].f, t * t, 1e-9 * t * t);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Designs, CrossoverOracle,
    ::testing::Values(
        OracleCase{"FullReplicateWithMissingPeriods", [] { return dataFile("ema_data_set_1.csv"); },
                   "R", true, false},
        OracleCase{"FormulationsSwapped", [] { return dataFile("ema_data_set_1.csv"); }, "T", true,
                   false},
        OracleCase{"PartialReplicate", [] { return dataFile("ema_data_set_2.csv"); }, "R", true,
                   false},
        OracleCase{"ThreePeriodFullReplicate",
                   [] { return firstPeriods(dataFile("ema_data_set_1.csv"), 3); }, "R", true,
                   false},
        OracleCase{"TwoByTwoFromTheFirstPeriods",
                   [] { return firstPeriods(dataFile("ema_data_set_1.csv"), 2); }, "R", false,
                   true},
        OracleCase{"TwoByTwoUnbalanced", [] { return dataFile("own_2x2x2_unbalanced.csv"); }, "R",
                   false, true},
        OracleCase{"BalaamsDesign", [] { return dataFile("own_balaam.csv"); }, "R", true, true},
        OracleCase{"SwitchbackWithHoles", [] { return dataFile("own_trrt_rttr_missing.csv"); }, "R",
                   true, false}),
    [](const auto& info) { return std::string(info.param.name); });

// Multiplying one subject's responses by 10^6 adds a constant to its logs,
// which its own level absorbs; adding subjects without both formulations
// adds nothing to the contrast.
struct Unchanging {
    const char* name;
    std::function<std::string(std::string)> edit;
    std::vector<std::string> leftOut;
};

class CrossoverUnchanged : public ::testing::TestWithParam<Unchanging> {};

TEST_P(CrossoverUnchanged, LeavesTheEstimateAndIntervalAlone) {
    const std::string original = dataFile("own_2x2x2_unbalanced.csv");
    const CrossoverResult before = analyseCrossover(studyOf(original), {});
    const CrossoverResult after = analyseCrossover(studyOf(GetParam().edit(original)), {});
    EXPECT_NEAR(after.difference, before.difference, 1e-13);
    EXPECT_NEAR(after.low, before.low, 1e-13);
    EXPECT_NEAR(after.high, before.high, 1e-13);
    EXPECT_NEAR(after.cvWithin, before.cvWithin, 1e-13);
    EXPECT_EQ(after.df, before.df);
    EXPECT_EQ(after.subjects, before.subjects);
    EXPECT_EQ(after.leftOut, GetParam().leftOut);
}

std::string timesAMillion(std::string table, const std::string& row, const std::string& value) {
    const std::size_t at = table.find(row + value);
    return table.replace(at + row.size(), value.size(), value + "e6");
}

INSTANTIATE_TEST_SUITE_P(
    Edits, CrossoverUnchanged,
    ::testing::Values(Unchanging{"OneSubjectTimesAMillion",
                                 [](std::string t) {
                                     return timesAMillion(timesAMillion(t, "a3,1,TR,T,", "77.0"),
                                                          "a3,2,TR,R,", "81.9");
                                 },
                                 {}},
                      Unchanging{"SubjectWithTheTestOnly",
                                 [](std::string t) { return t + "c1,1,TR,T,500\nc1,2,TR,R,NA\n"; },
                                 {"c1"}},
                      Unchanging{"SubjectWithTheReferenceOnly",
                                 [](std::string t) { return t + "c2,2,RT,T,\nc2,1,RT,R,0.002\n"; },
                                 {"c2"}},
                      Unchanging{"SubjectWithNothing",
                                 [](std::string t) { return t + "c3,1,RT,R,NA\nc3,2,RT,T,.\n"; },
                                 {"c3"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CrossoverTests, BoundsAtTheIntervalsEndsGiveAlpha) {
    const CrossoverStudy study = studyOf(dataFile("ema_data_set_2.csv"));
    for (const double alpha : {0.05, 0.025, 0.1}) {
        const CrossoverResult r = analyseCrossover(study, {alpha, {0.8, 1.25}});
        const CrossoverResult atEnds = analyseCrossover(study, {alpha, {r.low, r.high}});
        EXPECT_NEAR(atEnds.pLower, alpha, 1e-10 * alpha);
        EXPECT_NEAR(atEnds.pUpper, alpha, 1e-10 * alpha);
        // Narrower bounds around the estimate: both p values rise above alpha.
        const CrossoverResult inside =
            analyseCrossover(study, {alpha, {r.ratio / 1.001, r.ratio * 1.001}});
        EXPECT_GT(inside.pLower, alpha);
        EXPECT_GT(inside.pUpper, alpha);
        EXPECT_EQ(inside.decision, TostDecision::notShownEquivalent);
    }
}

struct Refused {
    const char* name;
    const char* table;
    CrossoverSettings settings;
    const char* reference;
    int number;
};

class CrossoverRefusal : public ::testing::TestWithParam<Refused> {};

TEST_P(CrossoverRefusal, ThrowsItsNumber) {
    const Refused& c = GetParam();
    const CrossoverStudy study = studyOf(c.table, c.reference);
    try {
        analyseCrossover(study, c.settings);
        ADD_FAILURE() << "no refusal";
    } catch (const CrossoverError& e) {
        EXPECT_EQ(e.number(), c.number) << e.what();
    } catch (const settings::SettingsError& e) {
        EXPECT_EQ(e.number(), c.number) << e.what();
    }
}

constexpr const char* threeSubjects =
    "subject,period,sequence,treatment,PK\n1,1,TR,T,10\n1,2,TR,R,12\n2,1,RT,R,9\n"
    "2,2,RT,T,11\n3,1,TR,T,14\n3,2,TR,R,13\n";

INSTANTIATE_TEST_SUITE_P(
    Studies, CrossoverRefusal,
    ::testing::Values(
        Refused{"OneOrderOnly",
                "subject,period,sequence,treatment,PK\n1,1,TR,T,10\n1,2,TR,R,12\n2,1,TR,T,9\n"
                "2,2,TR,R,11\n3,1,TR,T,14\n3,2,TR,R,13\n",
                {},
                "R",
                error::confounded},
        Refused{"NoResidualDf",
                "subject,period,sequence,treatment,PK\n1,1,TR,T,10\n1,2,TR,R,12\n2,1,RT,R,9\n"
                "2,2,RT,T,11\n",
                {},
                "R",
                error::noResidual},
        Refused{"ExactFit",
                "subject,period,sequence,treatment,PK\n1,1,TR,T,10\n1,2,TR,R,5\n2,1,RT,R,9\n"
                "2,2,RT,T,18\n3,1,TR,T,14\n3,2,TR,R,7\n",
                {},
                "R",
                error::noSpread},
        Refused{"NoSuchReference", threeSubjects, {}, "Ref", error::noReference},
        Refused{"NoSubjectWithBoth",
                "subject,period,sequence,treatment,PK\n1,1,TR,T,10\n1,2,TR,R,NA\n2,1,RT,R,9\n"
                "2,2,RT,T,NA\n",
                {},
                "R",
                error::noContrast},
        Refused{"BoundNotARatio",
                threeSubjects,
                {0.05, {-0.2, 1.25}},
                "R",
                settings::error::ratioBound},
        Refused{"AlphaAboveAHalf", threeSubjects, {0.6, {0.8, 1.25}}, "R", settings::error::alpha},
        Refused{
            "BoundsReversed", threeSubjects, {0.05, {1.25, 0.8}}, "R", settings::error::bounds}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarnwick::crossover
