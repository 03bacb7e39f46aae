// The analysis driven through an in-memory window: worked runs, every way it
// ends, and what survives from one run to the next.

#include "differences.h"

#include <gtest/gtest.h>

#include <charconv>
#include <optional>
#include <string>
#include <vector>

#include "box_fixture.h"
#include "box_names.h"
#include "t_distribution.h"

namespace tarnwick {
namespace {

using testing_support::Inputs;
using testing_support::runB;
using testing_support::runWith;

constexpr const char* trivial = "Difference is trivial (i.e., the samples appear equivalent).";
constexpr const char* nonTrivial =
    "Difference is non-trivial (i.e., the samples do not appear equivalent.)";
constexpr const char* blueBox = "You Must Enter A Value In The Blue Box";

struct Shown {
    const char* box;
    const char* text;
    std::optional<Colour> colour = std::nullopt;
};

void expectShown(const BoxTable& boxes, const std::vector<Shown>& expected) {
    for (const Shown& row : expected) {
        EXPECT_EQ(boxes.text(row.box), row.text) << row.box;
        if (row.colour) {
            EXPECT_EQ(boxes.colour(row.box), *row.colour) << row.box;
        }
    }
}

void expectFrameEmpty(const BoxTable& boxes, std::size_t first, std::size_t end) {
    for (std::size_t i = first; i < end; ++i) {
        EXPECT_EQ(boxes.text(names::resultBoxes[i]), "") << names::resultBoxes[i];
    }
}
void expectIndependentEmpty(const BoxTable& boxes) { expectFrameEmpty(boxes, 0, 15); }
void expectMatchedEmpty(const BoxTable& boxes) { expectFrameEmpty(boxes, 15, 26); }

// The shortest text that reads back as exactly this double.
std::string exactText(double value) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

struct WorkedRun {
    const char* name;
    Inputs inputs;
    std::vector<Shown> expected;
    bool matchedFrameEmpty = true;
    friend void PrintTo(const WorkedRun& run, std::ostream* out) { *out << run.name; }
};

class WorkedRuns : public testing::TestWithParam<WorkedRun> {};

TEST_P(WorkedRuns, ShowTheirResults) {
    const BoxTable boxes = runWith(GetParam().inputs);
    EXPECT_TRUE(boxes.messages().empty());
    expectShown(boxes, GetParam().expected);
    if (GetParam().matchedFrameEmpty) expectMatchedEmpty(boxes);
}

// Expected texts are the exact Student t values (40-digit arithmetic) rounded to 5 decimals.
INSTANTIATE_TEST_SUITE_P(
    Analysis, WorkedRuns,
    testing::Values(
        WorkedRun{"RunA_EqualGroupsAreEquivalent",
                  Inputs{},
                  {{"TxtWelchT", "1.11803"},
                   {"TxtWelchDF", "18"},
                   {"TxtWelch2PT", "0.27825", colours::black},
                   {"TxtWelch1PT", "0.13913", colours::black},
                   {"TxtT", "1.11803"},
                   {"TxtDF", "18"},
                   {"txt2PT", "0.27825", colours::black},
                   {"txt1PT", "0.13913", colours::black},
                   {"TxtSdelta", "0.89443"},
                   {"TxtTUpper", "-2.23607", colours::blue},
                   {"TxtTLower", "4.47214", colours::blue},
                   {"TxtCrit05", "-1.73406"},
                   {"TxtCrit95", "1.73406"},
                   {"TxtDFUsed", "18"},
                   {"TxtInterpretation", trivial, colours::blue}}},
        WorkedRun{"RunB_WelchUsesFractionalDF",
                  runB("6", true),
                  {{"TxtWelchT", "0.85151"},
                   {"TxtWelchDF", "22.0126"},
                   {"TxtWelch2PT", "0.40365", colours::black},
                   {"TxtWelch1PT", "0.20183", colours::black},
                   {"TxtT", "0.90844"},
                   {"TxtDF", "33"},
                   {"txt2PT", "0.37023", colours::black},
                   {"txt1PT", "0.18512", colours::black},
                   {"TxtSdelta", "2.20158"},
                   {"TxtTUpper", "-1.81687", colours::blue},
                   {"TxtTLower", "3.63375", colours::blue},
                   {"TxtCrit05", "-1.7171"},
                   {"TxtCrit95", "1.7171"},
                   {"TxtDFUsed", "22.0126"},
                   {"TxtInterpretation", trivial, colours::blue}}},
        WorkedRun{"RunB_StudentUsesPooledDF",
                  runB(),
                  {{"TxtCrit05", "-1.69236"},
                   {"TxtCrit95", "1.69236"},
                   {"TxtDFUsed", "33"},
                   {"TxtTUpper", "-1.81687", colours::blue},
                   {"TxtInterpretation", trivial, colours::blue}}},
        WorkedRun{"RunB_TUpperExactlyZeroIsNonTrivial",
                  runB("2", true),
                  {{"TxtTUpper", "0", colours::red},
                   {"TxtTLower", "1.81687", colours::blue},
                   {"TxtInterpretation", nonTrivial, colours::red}}},
        WorkedRun{"SwappedMeansKeepTheirPValues",
                  Inputs{.mean1 = "9", .mean2 = "10"},
                  {{"TxtWelchT", "-1.11803"},
                   {"TxtT", "-1.11803"},
                   {"TxtWelch2PT", "0.27825"},
                   {"txt1PT", "0.13913"},
                   {"TxtTUpper", "-4.47214", colours::blue},
                   {"TxtTLower", "2.23607", colours::blue},
                   {"TxtInterpretation", trivial, colours::blue}}},
        WorkedRun{"ZeroNonTrivialDifferenceNeverEquivalent",
                  Inputs{.notTrivial = "0"},
                  {{"TxtTUpper", "1.11803", colours::red},
                   {"TxtTLower", "1.11803", colours::red},
                   {"TxtInterpretation", nonTrivial, colours::red}}},
        WorkedRun{"EmptyBlueBoxAsksForIt",
                  Inputs{.notTrivial = ""},
                  {{"TxtSdelta", "0.89443"},
                   {"TxtTUpper", blueBox, colours::blue},
                   {"TxtTLower", blueBox, colours::blue},
                   {"TxtCrit05", ""},
                   {"TxtCrit95", ""},
                   {"TxtDFUsed", ""},
                   {"TxtInterpretation", ""}}},
        WorkedRun{"IndependentDesignNeverReadsMatchedBoxes",
                  Inputs{.meanDiff = "-", .sdMatched = "."},
                  {{"TxtInterpretation", trivial, colours::blue}}},
        WorkedRun{"Matched_NonTrivial",
                  Inputs{.notTrivial = "2", .meanDiff = "1", .sdMatched = "2", .matched = true},
                  {{"TxtMatchedDF", "9"},
                   {"TxtMatchedT", "1.58114"},
                   {"TxtMatched2P", "0.1483", colours::red},
                   {"TxtMatched1P", "0.07415", colours::red},
                   {"TxtMatchedSDelta", "0.63246"},
                   {"TxtMatchedTUpper", "-1.58114", colours::red},
                   {"TxtMatchedTLower", "4.74342", colours::blue},
                   {"TxtMatchedCritT05", "-1.83311"},
                   {"TxtMatchedCritT95", "1.83311"},
                   {"TxtMatchedDFUsed", "9"},
                   {"TxtMatchedInterpretation", nonTrivial, colours::red}},
                  false},
        WorkedRun{"Matched_Trivial_DependsOnGroupOneSizeOnly",
                  Inputs{.n1 = "30",
                         .n2 = "12",
                         .notTrivial = "1",
                         .meanDiff = "0.5",
                         .sdMatched = "1",
                         .matched = true},
                  {{"TxtMatchedDF", "29"},
                   {"TxtMatchedT", "2.73861"},
                   {"TxtMatched2P", "0.01044", colours::red},
                   {"TxtMatched1P", "0.00522", colours::red},
                   {"TxtMatchedSDelta", "0.18257"},
                   {"TxtMatchedTUpper", "-2.73861", colours::blue},
                   {"TxtMatchedTLower", "8.21584", colours::blue},
                   {"TxtMatchedCritT05", "-1.69913"},
                   {"TxtMatchedCritT95", "1.69913"},
                   {"TxtMatchedDFUsed", "29"},
                   {"TxtMatchedInterpretation", trivial, colours::blue}},
                  false},
        WorkedRun{"Matched_NegativeMeanDifference",
                  Inputs{.notTrivial = "2", .meanDiff = "-1", .sdMatched = "2", .matched = true},
                  {{"TxtMatchedT", "-1.58114"},
                   {"TxtMatched2P", "0.1483"},
                   {"TxtMatchedTUpper", "-4.74342", colours::blue},
                   {"TxtMatchedTLower", "1.58114", colours::red}},
                  false},
        WorkedRun{"Matched_EmptyBlueBox",
                  Inputs{.notTrivial = "", .meanDiff = "1", .sdMatched = "2", .matched = true},
                  {{"TxtMatchedDF", "9"},
                   {"TxtMatchedT", "1.58114"},
                   {"TxtMatched2P", "0.1483"},
                   {"TxtMatched1P", "0.07415"},
                   {"TxtMatchedSDelta", ""},
                   {"TxtMatchedTUpper", blueBox, colours::blue},
                   {"TxtMatchedTLower", blueBox, colours::blue},
                   {"TxtMatchedCritT05", ""},
                   {"TxtMatchedCritT95", ""},
                   {"TxtMatchedDFUsed", ""},
                   {"TxtMatchedInterpretation", ""}},
                  false}),
    [](const auto& info) { return std::string(info.param.name); });

// Runs that end in one message box, with what the boxes hold afterwards.
struct MessageEnd {
    const char* name;
    Inputs inputs;
    ShownMessage message;
    bool independentResultsShown;
    friend void PrintTo(const MessageEnd& end, std::ostream* out) { *out << end.name; }
};

class MessageEnds : public testing::TestWithParam<MessageEnd> {};

TEST_P(MessageEnds, ShowOneMessage) {
    const BoxTable boxes = runWith(GetParam().inputs);
    ASSERT_EQ(boxes.messages().size(), 1u);
    EXPECT_EQ(boxes.messages().front(), GetParam().message);
    if (GetParam().independentResultsShown) {
        EXPECT_EQ(boxes.text("TxtWelchT"), "1.11803");
        EXPECT_EQ(boxes.text("TxtInterpretation"), trivial);
    } else {
        expectIndependentEmpty(boxes);
    }
    expectMatchedEmpty(boxes);
}

const ShownMessage zeroInput{
    "None of your input boxes can equal 0. Dividing by zero does very bad things to computers.",
    MessageIcon::error, "Tarnwick"};
const ShownMessage matchedMissing{
    "You must enter the mean of the difference scores and the standard deviation of the "
    "difference scores, if you selected matched samples",
    MessageIcon::information, "Input Error"};
const ShownMessage matchedZero{
    "You cannot have 0 as a mean difference or the sd of the mean difference. Computers do funny "
    "things when you try to divide by zero.",
    MessageIcon::error, "Tarnwick"};

ShownMessage errorReport(int number, const char* description, int line) {
    return {"Error " + std::to_string(number) + " (" + description +
                ") in procedure Differences, line " + std::to_string(line) + ".",
            MessageIcon::none, "Tarnwick"};
}

INSTANTIATE_TEST_SUITE_P(
    Analysis, MessageEnds,
    testing::Values(
        MessageEnd{"ZeroSD2", Inputs{.sd2 = "0"}, zeroInput, false},
        MessageEnd{"ZeroSD1WrittenWithPoint", Inputs{.sd1 = "0.0"}, zeroInput, false},
        MessageEnd{"ZeroN1", Inputs{.n1 = "0"}, zeroInput, false},
        MessageEnd{"ZeroN2", Inputs{.n2 = "00"}, zeroInput, false},
        MessageEnd{"LonePointInBlueBox", Inputs{.notTrivial = "."},
                   errorReport(13, "Type mismatch", 260), false},
        MessageEnd{"LonePointInSD1", Inputs{.sd1 = "."}, errorReport(13, "Type mismatch", 210),
                   false},
        MessageEnd{"BlanksInN2", Inputs{.n2 = " "}, errorReport(13, "Type mismatch", 240), false},
        MessageEnd{"GroupOfOne", Inputs{.n1 = "1"}, errorReport(11, "Division by zero", 360),
                   false},
        MessageEnd{"SquareOverflows", Inputs{.sd1 = "1e200"}, errorReport(6, "Overflow", 330),
                   false},
        MessageEnd{"ZeroOverZero", Inputs{.sd1 = "1e-100", .n1 = "1"},
                   errorReport(6, "Overflow", 360), false},
        // A step that both divided by zero and overflowed reports the division.
        MessageEnd{"GroupOfOneBeforeOverflowOnTheRight", Inputs{.n1 = "1", .sd2 = "1e100"},
                   errorReport(11, "Division by zero", 360), false},
        MessageEnd{"OverflowOnTheLeftBeforeGroupOfOne", Inputs{.sd1 = "1e100", .n2 = "1"},
                   errorReport(11, "Division by zero", 360), false},
        MessageEnd{"OverflowAndGroupOfOneInOneTerm", Inputs{.sd1 = "1e100", .n1 = "1"},
                   errorReport(11, "Division by zero", 360), false},
        // SD^2 and the squared variance are finite; only SD^4 overflows.
        MessageEnd{"FourthPowerAloneOverflows", Inputs{.sd1 = "1.2e77"},
                   errorReport(6, "Overflow", 360), false},
        MessageEnd{"FourthPowerAloneOverflowsOnTheRight", Inputs{.sd2 = "-1.2e77"},
                   errorReport(6, "Overflow", 360), false},
        MessageEnd{"NegativeGroupSize", Inputs{.n1 = "-10", .n2 = "20"},
                   errorReport(5, "Invalid procedure call or argument", 330), false},
        MessageEnd{"SizesCancelInWelchSE", Inputs{.n1 = "-10", .n2 = "10"},
                   errorReport(11, "Division by zero", 340), false},
        MessageEnd{"MatchedSDMissing", Inputs{.meanDiff = "1", .matched = true}, matchedMissing,
                   true},
        MessageEnd{"MatchedMeanMissing", Inputs{.sdMatched = "2", .matched = true}, matchedMissing,
                   true},
        MessageEnd{"MatchedMeanZero", Inputs{.meanDiff = "0", .sdMatched = "2", .matched = true},
                   matchedZero, true},
        MessageEnd{"MatchedMeanNegativeZero",
                   Inputs{.meanDiff = "-0", .sdMatched = "2", .matched = true}, matchedZero, true},
        MessageEnd{"MatchedSDZeroWithPoint",
                   Inputs{.meanDiff = "1", .sdMatched = "0.0", .matched = true}, matchedZero, true},
        MessageEnd{"MatchedMeanLoneMinus",
                   Inputs{.meanDiff = "-", .sdMatched = "2", .matched = true},
                   errorReport(13, "Type mismatch", 1170), true},
        MessageEnd{"MatchedSDLonePoint", Inputs{.meanDiff = "1", .sdMatched = ".", .matched = true},
                   errorReport(13, "Type mismatch", 1180), true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Differences, EqualMeansCalledDirectlyHitTheZeroCheck) {
    BoxTable boxes;
    testing_support::enter(boxes, Inputs{.mean2 = "10.0"});
    Differences(boxes);
    ASSERT_EQ(boxes.messages().size(), 1u);
    EXPECT_EQ(boxes.messages().front(), zeroInput);
}

TEST(Differences, ErrorHalfWayKeepsWhatWasWritten) {
    // SDMatched squared underflows to zero, so its standard error is 0 and the
    // one-sided t divides by it.
    const BoxTable boxes =
        runWith(Inputs{.notTrivial = "2", .meanDiff = "1", .sdMatched = "1e-200", .matched = true});
    ASSERT_EQ(boxes.messages().size(), 1u);
    EXPECT_EQ(boxes.messages().front(), errorReport(11, "Division by zero", 1310));
    expectShown(boxes, {{"TxtInterpretation", nonTrivial},
                        {"TxtMatchedDF", "9"},
                        {"TxtMatchedSDelta", "0"},
                        {"TxtMatchedTUpper", ""},
                        {"TxtMatchedInterpretation", ""}});
}

// Pasted fractional sizes can leave about 1e-7 degrees of freedom, whose 5%
// point is far beyond the largest double: reported, never shown.
struct UnshowableCriticalValue {
    const char* name;
    Inputs inputs;
    int line;
    const char* crit05Box;
    const char* interpretationBox;
    friend void PrintTo(const UnshowableCriticalValue& row, std::ostream* out) { *out << row.name; }
};

class UnshowableCriticalValues : public testing::TestWithParam<UnshowableCriticalValue> {};

TEST_P(UnshowableCriticalValues, AreReportedAtTheirLine) {
    const BoxTable boxes = runWith(GetParam().inputs);
    ASSERT_EQ(boxes.messages().size(), 1u);
    EXPECT_EQ(boxes.messages().front(), errorReport(6, "Overflow", GetParam().line));
    EXPECT_EQ(boxes.text(GetParam().crit05Box), "");
    EXPECT_EQ(boxes.text(GetParam().interpretationBox), "");
}

const Inputs pairOfOneAndATenMillionth{
    .n1 = "1.0000001", .notTrivial = "2", .meanDiff = "1", .sdMatched = "2"};

INSTANTIATE_TEST_SUITE_P(
    Analysis, UnshowableCriticalValues,
    testing::Values(UnshowableCriticalValue{"StudentDF",
                                            Inputs{.n1 = "1.5", .sd2 = "0.01", .n2 = "0.5000001"},
                                            770, "TxtCrit05", "TxtInterpretation"},
                    UnshowableCriticalValue{"WelchDF",
                                            [] {
                                                Inputs in = pairOfOneAndATenMillionth;
                                                in.welch = true;
                                                return in;
                                            }(),
                                            830, "TxtCrit05", "TxtInterpretation"},
                    UnshowableCriticalValue{"MatchedDF",
                                            [] {
                                                Inputs in = pairOfOneAndATenMillionth;
                                                in.matched = true;
                                                return in;
                                            }(),
                                            1350, "TxtMatchedCritT05", "TxtMatchedInterpretation"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Differences, TinyStudentDFIsShownUnrounded) {
    const BoxTable boxes = runWith(Inputs{.n1 = "1.5", .sd2 = "0.01", .n2 = "0.5000001"});
    EXPECT_EQ(boxes.text("TxtDF"), "9.99999998363421E-08");
    EXPECT_EQ(boxes.text("TxtTUpper"), "-0.00027");
}

// With two groups of two, SD 1 and Mean2 0, Student's t is Mean1 itself with
// 2 degrees of freedom, so a chosen t can be typed in exactly.
Inputs studentTOf(double t, const char* notTrivial = "1") {
    return Inputs{.mean1 = exactText(t),
                  .sd1 = "1",
                  .n1 = "2",
                  .mean2 = "0",
                  .sd2 = "1",
                  .n2 = "2",
                  .notTrivial = notTrivial};
}

TEST(Differences, PValueColourFollowsTheShownValue) {
    const auto& t = TDistribution::instance();
    // p = 0.049997 shows as 0.05, which is not below 0.05.
    BoxTable boxes = runWith(studentTOf(t.CriticalValue(0.049997, 2, 2)));
    EXPECT_EQ(boxes.text("txt2PT"), "0.05");
    EXPECT_EQ(boxes.colour("txt2PT"), colours::black);
    EXPECT_EQ(boxes.text("TxtWelch2PT"), "0.05");
    EXPECT_EQ(boxes.colour("TxtWelch2PT"), colours::black);
    EXPECT_EQ(boxes.colour("txt1PT"), colours::red);

    boxes = runWith(studentTOf(t.CriticalValue(0.049994, 2, 2)));
    EXPECT_EQ(boxes.text("txt2PT"), "0.04999");
    EXPECT_EQ(boxes.colour("txt2PT"), colours::red);
}

TEST(Differences, TieWithTheCriticalValueCountsAgainstEquivalence) {
    // SDelta is exactly 1 here, and c - 2c and -c + 2c are exact, so with a
    // difference of c TUpper equals Crit05 bit for bit, and with -c TLower
    // equals Crit95.
    const double c = TDistribution::instance().CriticalValue(0.05, 2, 1);
    const std::string twoC = exactText(2 * c);
    struct Tie {
        double difference;
        const char *tiedBox, *critBox, *otherBox;
    };
    for (const Tie& tie : {Tie{c, "TxtTUpper", "TxtCrit05", "TxtTLower"},
                           Tie{-c, "TxtTLower", "TxtCrit95", "TxtTUpper"}}) {
        SCOPED_TRACE(tie.tiedBox);
        const BoxTable boxes = runWith(studentTOf(tie.difference, twoC.c_str()));
        EXPECT_EQ(boxes.text(tie.tiedBox), boxes.text(tie.critBox));
        EXPECT_EQ(boxes.colour(tie.tiedBox), colours::red);
        EXPECT_EQ(boxes.colour(tie.otherBox), colours::blue);
        EXPECT_EQ(boxes.text("TxtInterpretation"), nonTrivial);
    }
}

TEST(Differences, ColoursOutliveTheirRuns) {
    BoxTable boxes;
    // A clear difference: every p value red, the upper test failing.
    testing_support::enter(boxes, Inputs{.mean1 = "20", .notTrivial = "1"});
    runCommand(boxes);
    EXPECT_EQ(boxes.colour("TxtWelch2PT"), colours::red);
    EXPECT_EQ(boxes.colour("TxtTUpper"), colours::red);
    EXPECT_EQ(boxes.colour("TxtInterpretation"), colours::red);

    // A zero check empties every box but leaves every colour.
    boxes.setText("TxtSD1", "0");
    runCommand(boxes);
    expectIndependentEmpty(boxes);
    EXPECT_EQ(boxes.colour("TxtWelch2PT"), colours::red);
    EXPECT_EQ(boxes.colour("TxtTUpper"), colours::red);
    EXPECT_EQ(boxes.colour("TxtInterpretation"), colours::red);

    // Run A sets them again.
    testing_support::enter(boxes, Inputs{});
    runCommand(boxes);
    EXPECT_EQ(boxes.colour("TxtWelch2PT"), colours::black);
    EXPECT_EQ(boxes.colour("TxtTUpper"), colours::blue);
    EXPECT_EQ(boxes.colour("TxtInterpretation"), colours::blue);
    // The matched p values are never coloured by the analysis.
    EXPECT_EQ(boxes.colour("TxtMatched2P"), colours::red);
    EXPECT_EQ(boxes.colour("TxtMatched1P"), colours::red);
}

TEST(Differences, MatchedPValuesStayRedWhateverTheirSize) {
    const BoxTable boxes = runWith(Inputs{.meanDiff = "0.001", .sdMatched = "5", .matched = true});
    EXPECT_EQ(boxes.text("TxtMatched2P"), "0.99951");
    EXPECT_EQ(boxes.colour("TxtMatched2P"), colours::red);
    EXPECT_EQ(boxes.colour("TxtMatched1P"), colours::red);
}

}  // namespace
}  // namespace tarnwick
