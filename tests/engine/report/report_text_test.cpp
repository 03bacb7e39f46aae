// The report's text: APA numbers, labels by null hypothesis, which interval is
// which, and the same "." in every locale.

#include "report_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <locale>
#include <string>
#include <vector>

#include "apa_format.h"
#include "box_fixture.h"
#include "box_table.h"
#include "run_command.h"

namespace tarnwick::report {
namespace {

using testing_support::Inputs;
using testing_support::runB;

std::string textOf(const Inputs& in) {
    BoxTable boxes;
    testing_support::enter(boxes, in);
    RunRecord record;
    runCommand(boxes, &record);
    const ReportInputs inputs{in.mean1,      in.sd1,      in.n1,        in.mean2,   in.sd2,  in.n2,
                              in.notTrivial, in.meanDiff, in.sdMatched, in.matched, in.welch};
    return reportText(makeReport(record).value(), inputs);
}

TEST(ApaFormat, WritesNumbersAsManuscriptsDo) {
    struct Row {
        std::string got, expected;
    };
    const std::vector<Row> rows = {
        {apa::pValue(0.019124), "p = .019"},
        {apa::pValue(0.00099), "p < .001"},
        {apa::pValue(0.001), "p = .001"},
        {apa::pValue(0.99961), "p > .999"},
        // A p value that rounds onto .05 shows its side of it.
        {apa::pValue(0.0495), "p = .0495"},
        {apa::pValue(0.0499975), "p = .049998"},
        {apa::pValue(0.0500004), "p = .0500004"},
        {apa::pValue(0.05), "p = .050"},
        {apa::pValue(0.0504), "p = .0504"},
        {apa::pValue(0.0506), "p = .051"},
        {apa::fixed(-0.004, 2), "0.00"},
        {apa::number(999999.994, 2), "999999.99"},
        {apa::number(-1118033988.7, 2), "-1.12e+09"},
        {apa::number(1e6, 1), "1.0e+06"},
        {apa::degreesOfFreedom(2e6), "2.00e+06"},
        {apa::degreesOfFreedom(1e6), "1.00e+06"},
        {apa::degreesOfFreedom(999999), "999999"},
        {std::to_string(apa::decimalsApartFrom(2.999007, 2, {-3, 3})), "3"},
        {std::to_string(apa::decimalsApartFrom(-2.99999, 2, {-3, 3})), "5"},
        {std::to_string(apa::decimalsApartFrom(3, 2, {-3, 3})), "2"},
        {std::to_string(apa::decimalsForExact(0.125, 2)), "3"},
        {std::to_string(apa::decimalsForExact(0.1, 2)), "2"},
        // A shown number: two decimals, more up to four significant digits.
        {std::to_string(apa::decimalsToSignificant(1.5, 2, 4)), "2"},
        {std::to_string(apa::decimalsToSignificant(0.125, 2, 4)), "3"},
        {std::to_string(apa::decimalsToSignificant(2.1023804, 2, 4)), "3"},
        {std::to_string(apa::decimalsToSignificant(-2.1023804, 2, 4)), "3"},
        {std::to_string(apa::decimalsToSignificant(0.00012345, 2, 4)), "7"},
        {std::to_string(apa::decimalsToSignificant(12345.678, 2, 4)), "2"},
        {std::to_string(apa::decimalsToSignificant(0.2 + 0.1, 2, 4)), "2"},
        {std::to_string(apa::decimalsToSignificant(2.1000001, 2, 4)), "2"},
        {std::to_string(apa::decimalsToSignificant(0.0250001, 2, 4)), "3"},
        {std::to_string(apa::decimalsToSignificant(1.23456e7, 1, 4)), "3"},
        {std::to_string(apa::decimalsToSignificant(0, 2, 4)), "2"},
        {std::to_string(apa::decimalsToSignificant(NAN, 2, 4)), "2"},
        {apa::fixed(-2.236, 2), "-2.24"},
        {apa::degreesOfFreedom(18), "18"},
        {apa::degreesOfFreedom(22.0126), "22.01"},
        {std::to_string(apa::rawDecimals(0.894)), "2"},
        {std::to_string(apa::rawDecimals(0.0031)), "4"},
        // A scale that is no positive number (its logarithm no integer) gives 2.
        {std::to_string(apa::rawDecimals(0)), "2"},
        {std::to_string(apa::rawDecimals(INFINITY)), "2"},
        {std::to_string(apa::rawDecimals(NAN)), "2"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.got, row.expected);
}

TEST(ReportText, RunAReadsAsAnApaWriteUp) {
    const std::string text = textOf({});
    for (const char* part :
         {"Inputs: group 1 mean 10, SD 2, n 10; group 2 mean 9, SD 2, n 10; non-trivial "
          "difference 3; independent samples; Student's df option.",
          "bounds are -3.00 and 3.00 in raw units, from the non-trivial difference entered (3)",
          "d = -1.50 and 1.50", "pooled standard error (s delta = 0.89) whatever df option",
          "(H0: difference >= 3.00): t(18) = -2.24, p = .019",
          "(H0: difference <= -3.00): t(18) = 4.47, p < .001",
          "the one-sided test with the larger p, against the upper bound) is significant, t(18) "
          "= -2.24, p = .019: the 90% CI of the difference, [-0.55, 2.55], lies inside",
          "not significant, t(18) = 1.12, p = .278, 95% CI of the difference [-0.88, 2.88]",
          "Cohen's d = 0.50, 90% CI [-0.25, 1.24]; Hedges' g = 0.48",
          "Conclusion: equivalent and not different from zero."})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
}

// Each row: a run and parts its text must hold word for word, so that a
// changed number, label or sentence shows.
struct TextRow {
    const char* name;
    Inputs inputs;
    std::vector<std::string> parts;
    std::vector<std::string> absent = {};  // parts it must not hold
};

void PrintTo(const TextRow& row, std::ostream* out) { *out << row.name; }

class ReportTextRows : public testing::TestWithParam<TextRow> {};

TEST_P(ReportTextRows, HoldEveryPart) {
    const std::string text = textOf(GetParam().inputs);
    for (const std::string& part : GetParam().parts)
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
    for (const std::string& part : GetParam().absent)
        EXPECT_EQ(text.find(part), std::string::npos) << part << "\n" << text;
}

const Inputs matchedRun = testing_support::matchedRun();

INSTANTIATE_TEST_SUITE_P(
    Report, ReportTextRows,
    testing::Values(
        TextRow{
            "RunA",
            {},
            {"is D = 1.00; the pooled SD is 2.00.", "here Student's df, 18 (critical t 1.734)",
             "Two one-sided t tests (TOST, alpha = .05) compare the difference with each bound. "
             "Both divide by the pooled standard error (s delta = 0.89) whatever",
             "Independent samples (Student's t)\n",
             // Found bounds rounded outward (2.72248 and 3.06114), never narrower.
             "80% power to conclude equivalence within bounds of -2.723 and 2.723, and 90% "
             "power within -3.062 and 3.062, if"},
            {"no room between the bounds", "lower bound lies above", "could not be computed"}},
        TextRow{"Matched",
                matchedRun,
                {"Matched samples (paired t)\nThe mean of the difference scores is D = -0.60, "
                 "with an SD of the difference scores of 1.0 over 25 pairs.",
                 "they are d_z = -1.00 and 1.00",
                 "SD / sqrt(N) = 0.20, and use N - 1 = 24 df (critical t 1.711)",
                 "(H0: difference >= 1.00): t(24) = -8.00, p < .001",
                 "(H0: difference <= -1.00): t(24) = 2.00, p = .028",
                 "against the lower bound) is significant, t(24) = 2.00, p = .028: the 90% CI of "
                 "the difference, [-0.94, -0.26], lies inside",
                 "(the paired t test) is significant, t(24) = -3.00, p = .006, 95% CI of the "
                 "difference [-1.01, -0.19]",
                 "Cohen's d_z = -0.60, 90% CI [-0.95, -0.24]; Hedges' g_z = -0.58.",
                 "Conclusion: equivalent, and different from zero."},
                {"opposite sign"}},
        TextRow{"WelchDf",
                runB("6", true),
                {"Independent samples (Welch's t)\n", "here Welch's df, 22.01 (critical t 1.717)",
                 "(Welch's t test, unpooled standard error and Welch's df) is not significant, "
                 "t(22.01) = 0.85, p = .404, 95% CI of the difference [-2.87, 6.87]",
                 "with these group sizes and the pooled SD (with Student's n1 + n2 - 2 df, not "
                 "the Welch df of the tests above), the two one-sided tests"}},
        TextRow{"StudentDfWhereWelchDiffers",
                runB("6", false),
                {"here Student's df, 33 (critical t 1.692)",
                 "(Student's t test, pooled standard error and n1 + n2 - 2 df) is not significant, "
                 "t(33) = 0.91, p = .370, 95% CI of the difference [-2.48, 6.48]",
                 "with these group sizes and the pooled SD, the two one-sided tests"}},
        TextRow{"DifferentNotEquivalent",
                {.mean1 = "15", .notTrivial = "1"},
                {"is significant, t(18) = 6.71, p < .001, 95% CI of the difference [4.12, 7.88]",
                 "Conclusion: different from zero and not equivalent."}},
        TextRow{"TwoPairs",
                {.n1 = "2", .meanDiff = "1", .sdMatched = "1", .matched = true},
                {"Hedges' g_z could not be computed because Hedges' correction needs more than 1 "
                 "degree of freedom."}},
        TextRow{"BoundZero",
                {.notTrivial = "0"},
                {"The equivalence bounds are 0.00 and 0.00 in raw units",
                 "A non-trivial difference of 0 leaves no room between the bounds, so the verdict "
                 "is non-trivial whatever the data."}},
        TextRow{"FractionalSizes",
                {.n1 = "2.5"},
                {"Cohen's d = 0.50 (its 90% CI could not be computed because the sizes are not "
                 "whole numbers of at least 2); Hedges' g could not be computed because"}},
        // Rounded to 2 decimals, p would read .050 and an interval end 3.00.
        TextRow{"PJustBelowFive",
                {.mean1 = "11.8791446", .mean2 = "10", .notTrivial = "4"},
                {"is significant, t(18) = 2.10, p = .049998, 95% CI of the difference [0.00002, "
                 "3.75827]"}},
        TextRow{"EndJustInsideTheBound",
                {.mean1 = "11.448006", .mean2 = "10"},
                {"p = .0499: the 90% CI of the difference, [-0.103, 2.999], lies inside the bounds",
                 "Conclusion: equivalent and not different from zero."}},
        TextRow{"EndJustOutsideTheBound",
                {.mean1 = "11.450006", .mean2 = "10"},
                {"p = .0501: the 90% CI of the difference, [-0.101, 3.001], does not lie inside",
                 "Conclusion: inconclusive."}},
        TextRow{"BoundAsEntered",
                {.notTrivial = "2.125"},
                {"bounds are -2.125 and 2.125 in raw units", "(H0: difference >= 2.125)"}},
        TextRow{"HugeBound",
                {.notTrivial = "1e308"},
                {"bounds are -1.00e+308 and 1.00e+308", "they are d = -5.00e+307 and 5.00e+307",
                 "(H0: difference >= 1.00e+308): t(18) = -1.12e+308, p < .001"}},
        TextRow{"NegativeSdOfTheDifferences",
                {.notTrivial = "2", .meanDiff = "1", .sdMatched = "-2", .matched = true},
                {"standardised by the SD of the difference scores they could not be computed "
                 "because the standard deviation is negative.",
                 "(the paired t test) is not significant, t(9) = -1.58, p = .148, 95% CI of the "
                 "difference [-0.43, 2.43]; its t has the opposite sign to the difference because "
                 "the SD of the difference scores entered is negative."}},
        // Sizes just above 1: df 0.0036, where the upper 2.5% point of t overflows.
        TextRow{"TinyDfLeavesNo95Interval",
                {.n1 = "1.0018", .n2 = "1.0018"},
                {"; the 95% CI of the difference could not be computed because the t "
                 "distribution could not give the critical value (Overflow)."}},
        TextRow{"HugeDifferenceKeepsItsEndsApart",
                {.mean1 = "1e7", .mean2 = "1"},
                {"D = 1.00e+07", "95% CI of the difference [9.999997e+06, 1.000000e+07]"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReportText, LabelsEveryConclusionAndSaysWhichRunItIs) {
    EXPECT_EQ(conclusionLabel(Conclusion::equivalent), "equivalent");
    EXPECT_EQ(conclusionLabel(Conclusion::equivalentAndDifferent),
              "equivalent, but different from zero");
    EXPECT_EQ(conclusionLabel(Conclusion::different), "different, not equivalent");
    EXPECT_EQ(conclusionLabel(Conclusion::inconclusive), "inconclusive");
    EXPECT_EQ(conclusionLabel(std::nullopt), "no bounds");
    ReportInputs inputs;
    EXPECT_EQ(runLine(inputs), "Report of the last run that ended with results.");
    inputs.boxesChangedSince = true;
    EXPECT_EQ(runLine(inputs),
              "Report of the last run that ended with results. The boxes have been changed "
              "since: the calculator's results and verdict are still those of this run, whose "
              "inputs follow.");
    // A run stopped since says more: the boxes are surely not this run's.
    inputs.latestRunStopped = true;
    EXPECT_EQ(runLine(inputs),
              "This is the report of an earlier run; the latest run stopped with a message.");
}

// A one-sided p that could not be computed is said so in words; the
// equivalence test is then reported by the one-sided test whose p is known.
TEST(ReportText, SaysWhichPCouldNotBeComputed) {
    struct Row {
        const char* name;
        Value EquivalenceTest::*missing;
        std::string oneSided, equivalence;
    };
    const std::string because =
        "p could not be computed because the t distribution could not give the p value "
        "(Overflow).";
    const Row rows[] = {
        {"upper", &EquivalenceTest::pUpper,
         "Against the upper bound (H0: difference >= 3.00): t(18) = -2.24, " + because,
         "against the lower bound) is significant, t(18) = 4.47, p < .001"},
        {"lower", &EquivalenceTest::pLower,
         "Against the lower bound (H0: difference <= -3.00): t(18) = 4.47, " + because,
         "against the upper bound) is significant, t(18) = -2.24, p = .019"}};
    for (const Row& row : rows) {
        BoxTable boxes;
        testing_support::enter(boxes, {});
        RunRecord record;
        runCommand(boxes, &record);
        Report report = makeReport(record).value();
        Value& p = (*report.independent.equivalence).*row.missing;
        p.value.reset();
        p.whyMissing = "the t distribution could not give the p value (Overflow)";
        const std::string text = reportText(report, ReportInputs{});
        EXPECT_NE(text.find(row.oneSided), std::string::npos) << row.name << "\n" << text;
        EXPECT_NE(text.find(row.equivalence), std::string::npos) << row.name << "\n" << text;
    }
}

TEST(ReportText, NamesWelchDfAndTheRealButNegligibleDifference) {
    const std::string welch = textOf(runB("6", true));
    EXPECT_NE(welch.find("here Welch's df, 22.01"), std::string::npos) << welch;
    EXPECT_NE(welch.find("Welch's t test, unpooled standard error"), std::string::npos);
    const std::string matched = textOf(
        {.n1 = "30", .notTrivial = "1", .meanDiff = "0.5", .sdMatched = "1", .matched = true});
    EXPECT_NE(matched.find("Matched samples (paired t)"), std::string::npos) << matched;
    EXPECT_NE(matched.find("a real but negligible difference"), std::string::npos);
    EXPECT_NE(matched.find("p < .001"), std::string::npos);
}

TEST(ReportText, SaysTheSensitivityIsNotPostHocPower) {
    const std::string text = textOf({});
    EXPECT_NE(text.find("not post-hoc power of the observed difference"), std::string::npos);
    EXPECT_NE(text.find("80% power to conclude equivalence within bounds of -"), std::string::npos);
    EXPECT_NE(text.find("if the true difference were 0."), std::string::npos);
}

TEST(ReportText, SaysWhenTheBoundsLeaveNoRoom) {
    EXPECT_NE(textOf({.notTrivial = "0"}).find("no room between the bounds"), std::string::npos);
    EXPECT_NE(textOf({.notTrivial = "-3"}).find("lower bound lies above the upper one"),
              std::string::npos);
}

TEST(ReportText, SaysWhyThereIsNoEquivalenceTestWithoutABound) {
    const std::string text = textOf({.notTrivial = ""});
    EXPECT_NE(text.find("non-trivial difference not entered"), std::string::npos);
    EXPECT_NE(text.find("no equivalence test and no conclusion"), std::string::npos);
    EXPECT_EQ(text.find("Conclusion:"), std::string::npos);
    EXPECT_NE(text.find("Cohen's d = 0.50"), std::string::npos);
}

TEST(ReportText, UsesAPointAndAnAsciiMinusInAGermanLocale) {
    const std::string english = textOf({});
    const char* german = std::setlocale(LC_ALL, "de_DE.UTF-8");
    if (german == nullptr) GTEST_SKIP() << "no German locale installed";
    std::locale::global(std::locale("de_DE.UTF-8"));
    const std::string text = textOf({});
    std::locale::global(std::locale::classic());
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(text, english);
    for (const unsigned char c : text)
        EXPECT_LT(c, 0x80) << "non-ASCII in the text";
}

}  // namespace
}  // namespace tarnwick::report
