// The report's text: APA numbers, labels by null hypothesis, which interval is
// which, and the same "." in every locale.

#include "report_text.h"

#include <gtest/gtest.h>

#include <clocale>
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
        {apa::pValue(0.0495), "p = .050"},
        {apa::fixed(-0.004, 2), "0.00"},
        {apa::fixed(-2.236, 2), "-2.24"},
        {apa::degreesOfFreedom(18), "18"},
        {apa::degreesOfFreedom(22.0126), "22.01"},
        {std::to_string(apa::rawDecimals(0.894)), "2"},
        {std::to_string(apa::rawDecimals(0.0031)), "4"},
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
