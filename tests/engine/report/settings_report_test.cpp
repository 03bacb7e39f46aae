// The report's settings beyond the numbers: which settings are refused and
// with what sentence, which count as the calculator's own, and what the text
// says under each (levels named, the notice, the minimal-effect wording).

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "apa_format.h"
#include "box_fixture.h"
#include "report.h"
#include "report_text.h"
#include "run_command.h"

namespace tarnwick::report {
namespace {

using settings::BoundUnits;
using settings::Hypothesis;
using settings::StandardError;
using settings::TestSettings;
using testing_support::Inputs;
using B = settings::Bounds;

RunRecord recordOf(const Inputs& inputs) {
    BoxTable boxes;
    testing_support::enter(boxes, inputs);
    RunRecord record;
    runCommand(boxes, &record);
    return record;
}

std::string textOf(const Inputs& in, const TestSettings& s) {
    const ReportInputs inputs{in.mean1,      in.sd1,      in.n1,        in.mean2,   in.sd2,  in.n2,
                              in.notTrivial, in.meanDiff, in.sdMatched, in.matched, in.welch};
    return reportText(makeReport(recordOf(in), s).value(), inputs);
}

const Inputs runA{};
const Inputs negativeSdMatched{.n1 = "10",
                               .n2 = "10",
                               .notTrivial = "1",
                               .meanDiff = "0.5",
                               .sdMatched = "-1",
                               .matched = true};
constexpr double inf = std::numeric_limits<double>::infinity();

TEST(ReportSettings, RefusesWhatCannotBeUsedWithOneSentence) {
    struct Row {
        const char* name;
        Inputs inputs;
        TestSettings settings;
        int number;
        const char* says;
    };
    const std::vector<Row> rows = {
        {"AlphaZero", runA, {.alpha = 0}, settings::error::alpha, "above 0 and below 0.5"},
        {"AlphaHalf", runA, {.alpha = 0.5}, settings::error::alpha, "not 0.5."},
        {"AlphaNaN", runA, {.alpha = NAN}, settings::error::alpha, "not nan."},
        {"BoundsEqual", runA, {.bounds = B{1, 1}}, settings::error::bounds, "below the upper"},
        {"BoundsReversed",
         runA,
         {.bounds = B{2, -1}},
         settings::error::bounds,
         "lower bound is 2 and the upper bound -1."},
        {"BoundInfinite", runA, {.bounds = B{-1, inf}}, settings::error::bounds, "finite"},
        {"BoundNaN", runA, {.bounds = B{NAN, 1}}, settings::error::bounds, "finite"},
        // -delta and +delta from a negative delta once any setting is not the calculator's.
        {"NegativeDeltaAtOtherAlpha",
         Inputs{.notTrivial = "-1"},
         {.alpha = 0.01},
         settings::error::bounds,
         "below the upper"},
        {"SdUnitsNegativeSd",
         negativeSdMatched,
         {.units = BoundUnits::sd},
         settings::error::sd,
         "the SD of the difference scores is -1."},
        {"SdUnitsOverflow",
         Inputs{.sd1 = "1e70", .sd2 = "1e70", .notTrivial = "1e300"},
         {.units = BoundUnits::sd},
         settings::error::bounds,
         "overflow"},
    };
    for (const Row& row : rows) {
        const RunRecord record = recordOf(row.inputs);
        ASSERT_TRUE(record.endedWithResults) << row.name;
        try {
            (void)makeReport(record, row.settings);
            ADD_FAILURE() << row.name << ": no error";
        } catch (const settings::SettingsError& e) {
            EXPECT_EQ(e.number(), row.number) << row.name;
            EXPECT_NE(e.description().find(row.says), std::string::npos)
                << row.name << ": " << e.description();
            EXPECT_TRUE(e.description().ends_with('.')) << row.name;
        }
    }
}

TEST(ReportSettings, CalculatorsOwnQuestionKeepsTheVerdictAndTheText) {
    struct Row {
        const char* name;
        Inputs inputs;
        TestSettings settings;
        bool calculators;
    };
    const std::vector<Row> rows = {
        {"Defaults", runA, {}, true},
        {"BoundsAsMinusAndPlusDelta", runA, {.bounds = B{-3, 3}}, true},
        {"BoundsShifted", runA, {.bounds = B{-3, 3.5}}, false},
        {"BoundsWithoutDelta", Inputs{.notTrivial = ""}, {.bounds = B{-3, 3}}, false},
        {"NegativeDeltaDefaults", Inputs{.notTrivial = "-1"}, {}, true},
        {"AlphaJustOff", runA, {.alpha = std::nextafter(0.05, 1.0)}, false},
        {"SdUnits", runA, {.units = BoundUnits::sd}, false},
        {"Welch", runA, {.standardError = StandardError::welch}, false},
        {"MinimalEffect", runA, {.hypothesis = Hypothesis::minimalEffect}, false},
    };
    for (const Row& row : rows) {
        const RunRecord record = recordOf(row.inputs);
        const Report report = makeReport(record, row.settings).value();
        EXPECT_EQ(report.calculatorSettings, row.calculators) << row.name;
        if (!row.calculators) continue;
        const Report plain = makeReport(record).value();
        EXPECT_EQ(textOf(row.inputs, row.settings), textOf(row.inputs, {})) << row.name;
        EXPECT_EQ(report.independent.conclusion, plain.independent.conclusion) << row.name;
    }
}

// The verdict with pooled and Welch's own standard error can differ: the
// report then follows the setting, while the calculator's stays the window's.
TEST(ReportSettings, WelchsOwnTestCanDisagreeWithTheCalculators) {
    const Inputs runB{.mean1 = "25",
                      .sd1 = "5",
                      .n1 = "20",
                      .mean2 = "23",
                      .sd2 = "8",
                      .n2 = "15",
                      .notTrivial = "6"};
    const RunRecord record = recordOf(runB);
    EXPECT_TRUE(makeReport(record)->independent.equivalence->trivial);
    const Report welch = makeReport(record, {.standardError = StandardError::welch}).value();
    EXPECT_FALSE(welch.independent.equivalence->trivial);
    EXPECT_TRUE(welch.independent.ordinary.welch);
    EXPECT_EQ(welch.independent.conclusion, Conclusion::inconclusive);
}

TEST(ReportSettings, TextNamesEachLevelAndTheSettings) {
    struct Row {
        const char* name;
        Inputs inputs;
        TestSettings settings;
        std::vector<std::string> says, neverSays;
    };
    const std::vector<Row> rows = {
        {"Alpha025",
         runA,
         {.alpha = 0.025},
         {"Tarnwick report, alpha = .025\n", "(TOST, alpha = .025)", "the 95% CI of the difference",
          "97.5% CI of the difference", "Cohen's d = 0.50, 95% CI",
          "settings differ from the calculator's: alpha = .025.",
          "the two one-sided tests at alpha = .025 would have 80% power"},
         {"90% CI", "at alpha = .05 would have"}},
        {"Alpha001",
         runA,
         {.alpha = 0.001},
         {"alpha = .001", "the 99.8% CI of the difference", "99.9% CI of the difference"},
         {}},
        {"AsymmetricRaw",
         runA,
         {.bounds = B{-0.3, 2.5}},
         {"The equivalence bounds are -0.30 and 2.50 in raw units as set for this report",
          "(H0: difference >= 2.50)", "(H0: difference <= -0.30)", "bounds of -0.3 and 2.5."},
         {"from the non-trivial difference"}},
        {"SdUnitsFromDelta",
         Inputs{.notTrivial = "0.5"},
         {.units = BoundUnits::sd},
         {"were given in SD units from the non-trivial difference entered (0.5), d = -0.50 and "
          "0.50",
          "converted with the pooled SD (2.00) they are -1.00 and 1.00 in raw units",
          "error rates are not exactly alpha"},
         {}},
        {"SdUnitsMatched",
         Inputs{.n1 = "30",
                .n2 = "30",
                .notTrivial = "1",
                .meanDiff = "0.5",
                .sdMatched = "2",
                .matched = true},
         {.bounds = B{-0.25, 0.4}, .units = BoundUnits::sd},
         {"d_z = -0.25 and 0.40; converted with the SD of the difference scores (2.00) they are "
          "-0.50 and 0.80 in raw units",
          "bounds of -0.25 and 0.4 in SD units."},
         {}},
        {"WelchOwn",
         runA,
         {.standardError = StandardError::welch},
         {"Both divide by Welch's standard error", "Independent samples (Welch's t)",
          "Welch's standard error and df for independent samples."},
         {"whatever df option is chosen"}},
        {"MinimalEffectBelow",
         Inputs{.mean1 = "6.5"},
         {.bounds = B{-0.5, 0.2}, .hypothesis = Hypothesis::minimalEffect},
         {"The bounds of the minimal-effect test are -0.50 and 0.20",
          "Against the lower bound (H0: difference >= -0.50)",
          "The minimal-effect test (the reversed one-sided test with the smaller p, against the "
          "lower bound) is significant",
          "lies below the lower bound, so differences within the bounds can be rejected.",
          "Conclusion: beyond the bounds, and different from zero."},
         {"equivalent"}},
        {"MinimalEffectInconclusive",
         runA,
         {.hypothesis = Hypothesis::minimalEffect},
         {"is not significant", "does not lie beyond either bound.",
          "Conclusion: inconclusive. The difference is neither statistically beyond the bounds "
          "nor statistically different from zero.",
          "the equivalence test's two one-sided tests at alpha = .05 would have 80% power",
          "(the minimal-effect test has no such bounds: at a true difference of 0 its null "
          "hypothesis holds)."},
         {"smaller than the bounds"}},
    };
    for (const Row& row : rows) {
        const std::string text = textOf(row.inputs, row.settings);
        for (const std::string& s : row.says)
            EXPECT_NE(text.find(s), std::string::npos) << row.name << " lacks: " << s << "\n"
                                                       << text;
        for (const std::string& s : row.neverSays)
            EXPECT_EQ(text.find(s), std::string::npos) << row.name << " has: " << s;
    }
}

// Each conclusion under settings, with "different from zero" judged at the
// report's alpha, not at .05.
TEST(ReportSettings, ReachesEachConclusionAtItsAlpha) {
    struct Row {
        const char* name;
        Inputs inputs;
        TestSettings settings;
        Conclusion conclusion;
        const char* ordinaryIs;  // "significant" or "not significant"
    };
    const Inputs pNear03{.mean1 = "11.1"};  // D = 2.1, two-tailed p about .03
    const Inputs large{.mean1 = "10.3",
                       .sd1 = "1",
                       .n1 = "500",
                       .mean2 = "10",
                       .sd2 = "1",
                       .n2 = "500",
                       .notTrivial = "0.5"};
    const auto me = Hypothesis::minimalEffect;
    const std::vector<Row> rows = {
        {"NotDifferentAtAlpha01",
         pNear03,
         {.alpha = 0.01},
         Conclusion::inconclusive,
         "is not significant"},
        {"DifferentAtAlpha05",
         pNear03,
         {.bounds = B{-3, 3.5}},
         Conclusion::different,
         "is significant"},
        {"EquivalentAndDifferent",
         large,
         {.alpha = 0.025},
         Conclusion::equivalentAndDifferent,
         "is significant"},
        {"BeyondAndDifferent",
         large,
         {.bounds = B{0.05, 0.18}, .hypothesis = me},
         Conclusion::beyondBoundsAndDifferent,
         "is significant"},
        {"BeyondNotDifferent",
         runA,
         {.bounds = B{-3, -2}, .hypothesis = me},
         Conclusion::beyondBounds,
         "is not significant"},
        {"DifferentNotBeyond",
         pNear03,
         {.hypothesis = me},
         Conclusion::differentNotBeyondBounds,
         "is significant"},
        {"DifferentNotBeyondOnlyAtAlpha05",
         pNear03,
         {.alpha = 0.01, .hypothesis = me},
         Conclusion::inconclusive,
         "is not significant"},
    };
    for (const Row& row : rows) {
        const Report report = makeReport(recordOf(row.inputs), row.settings).value();
        EXPECT_EQ(report.independent.conclusion, row.conclusion) << row.name;
        const std::string text = textOf(row.inputs, row.settings);
        EXPECT_NE(text.find(std::string("The ordinary test of no difference (Student's t test, "
                                        "pooled standard error and n1 + n2 - 2 df) ") +
                            row.ordinaryIs + ","),
                  std::string::npos)
            << row.name << "\n"
            << text;
    }
}

TEST(ApaFormat, WritesLevelsAndPercents) {
    struct Row {
        std::string got, expected;
    };
    const std::vector<Row> rows = {
        {apa::level(0.05), ".05"},
        {apa::level(0.025), ".025"},
        {apa::level(0.2), ".2"},
        {apa::level(0.001), ".001"},
        {apa::percent(0.9), "90"},
        {apa::percent(1 - 2 * 0.001), "99.8"},
        {apa::percent(1 - 0.025), "97.5"},
        {apa::percent(1 - 2 * 0.0125), "97.5"},
        {apa::pValue(0.0249, 0.025), "p = .0249"},
        {apa::pValue(0.0249), "p = .025"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.got, row.expected);
}

}  // namespace
}  // namespace tarnwick::report
