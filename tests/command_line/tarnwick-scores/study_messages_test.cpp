// Studies the analyses cannot answer: each gets its message in its own row,
// the rows around it are still answered, and the status is 1.

#include <gtest/gtest.h>

#include "batch_process.h"

namespace tarnwick::scores {
namespace {

using namespace batch::testing;

struct Refused {
    const char* name;
    const char* study;  // the rows of study "r"; study "ok" comes first, answered
    std::vector<std::string> arguments;
    const char* says;  // a part of the message
    bool someResults;  // whether some analysis still answers
};

class StudyMessages : public ::testing::TestWithParam<Refused> {};

TEST_P(StudyMessages, GetAMessageInTheirRowAndStatusOne) {
    const Refused& row = GetParam();
    ScratchFolder scratch;
    const auto input = scratch.path / "scores.csv";
    writeFile(input, std::string("study,pair,group,score\nok,1,a,1\nok,2,a,2\nok,3,a,4\nok,1,b,"
                                 "2\nok,2,b,3\nok,3,b,3\n") +
                         row.study);
    std::vector<std::string> arguments = row.arguments;
    arguments.insert(arguments.end(), {"--replicates", "999", input.string()});
    const Outcome outcome = run(SCORES_PROGRAM, arguments);
    EXPECT_EQ(outcome.status, 1) << outcome.err;
    const Table table = parseCsv(outcome.out);
    ASSERT_EQ(table.rows.size(), 2u) << outcome.out << outcome.err;
    EXPECT_EQ(table.at(0, "message"), "");
    EXPECT_NE(table.at(0, "bootstrap_p"), "");
    EXPECT_EQ(table.at(1, "study"), "r");
    EXPECT_NE(table.at(1, "message").find(row.says), std::string::npos) << table.at(1, "message");
    EXPECT_EQ(table.at(1, "normal_p") != "", row.someResults);
    EXPECT_EQ(table.at(1, "trimmed_p"), "");
}

const std::vector<std::string> bound = {"--bound", "2"};
const std::vector<std::string> matched = {"--bound", "2", "--design", "matched"};
const std::vector<std::string> ratio = {"--scale", "ratio"};
const std::vector<std::string> ratioMatched = {"--scale", "ratio", "--design", "matched"};

INSTANTIATE_TEST_SUITE_P(
    Rows, StudyMessages,
    ::testing::Values(
        Refused{"OneScoreInGroupOne", "r,1,a,1\nr,1,b,2\nr,2,b,3\n", bound, "at least 2", false},
        Refused{"OneScoreLeftAfterMissing", "r,1,a,1\nr,2,a,NA\nr,1,b,2\nr,2,b,3\n", bound,
                "at least 2", false},
        Refused{"OnlyOneGroup", "r,1,a,1\nr,2,a,2\n", bound, "at least 2", false},
        Refused{"AllScoresEqual", "r,1,a,2\nr,2,a,2\nr,1,b,2\nr,2,b,2\n", bound, "all equal",
                false},
        Refused{"EachGroupConstant", "r,1,a,2\nr,2,a,2\nr,1,b,3\nr,2,b,3\n", bound, "spread",
                false},
        Refused{"ThreeGroups", "r,1,a,1\nr,2,a,2\nr,1,b,2\nr,2,b,3\nr,3,c,4\n", bound,
                "more than two groups", false},
        Refused{"OnePairComplete", "r,1,a,1\nr,2,a,2\nr,1,b,2\n", matched, "2", false},
        Refused{"EveryDifferenceEqual", "r,1,a,1\nr,2,a,2\nr,1,b,2\nr,2,b,3\n", matched, "spread",
                false},
        Refused{"OnlyTrimmedMeansHaveNoSpread",
                "r,1,a,1\nr,2,a,1\nr,3,a,1\nr,4,a,1\nr,5,a,5\nr,1,b,2\nr,2,b,2\nr,3,b,2\n"
                "r,4,b,2\nr,5,b,9\n",
                bound, "trimmed: ", true},
        // The ratio scale takes logs: a score of 0 or below is named, never dropped.
        Refused{"RatioZeroScore", "r,1,a,1\nr,2,a,0\nr,1,b,2\nr,2,b,3\n", ratio,
                "Score 2 of group 1 is 0: the ratio scale", false},
        Refused{"RatioNegativePair", "r,1,a,1\nr,2,a,2\nr,1,b,-2\nr,2,b,3\n", ratioMatched,
                "Score 1 of group 2 is -2", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsWithoutBounds, AStudyWithoutBoundsAnywhereIsTold) {
    ScratchFolder scratch;
    const auto input = scratch.path / "scores.csv";
    const auto settings = scratch.path / "settings.csv";
    writeFile(input, "study,x,y\nok,1,2\nok,2,4\nok,3,3\nr,1,2\nr,2,4\nr,3,3\n");
    writeFile(settings, "study,bound\nok,2\nr,\n");
    const Outcome outcome = run(SCORES_PROGRAM, {"--settings", settings.string(), input.string()});
    EXPECT_EQ(outcome.status, 1) << outcome.err;
    const Table table = parseCsv(outcome.out);
    ASSERT_EQ(table.rows.size(), 2u);
    EXPECT_EQ(table.at(0, "message"), "");
    EXPECT_EQ(table.at(1, "upper"), "");
    EXPECT_NE(table.at(1, "message").find("No bounds"), std::string::npos);
}

// A study's scale from the settings table over --scale: its bounds as the
// scale reads them, and its estimates ratios or differences.
struct ScaleRow {
    const char* study;
    const char* lower;
    const char* upper;
    const char* estimate;  // normal_estimate, 6 significant digits
    bool saysLogs;         // the method column says the analysis ran on the logs
};

TEST(SettingsScale, EachStudyOnItsOwnScale) {
    ScratchFolder scratch;
    const auto input = scratch.path / "scores.csv";
    const auto settings = scratch.path / "settings.csv";
    std::string scores = "study,group,score\n";
    for (const char* study : {"d", "r", "e", "o"})
        scores +=
            std::string(study) + ",T,2\n" + study + ",T,8\n" + study + ",R,1\n" + study + ",R,4\n";
    writeFile(input, scores);
    // d: the difference scale with its symmetric bound; r: ratios, no
    // bounds (0.80 and 1.25); e: ratios, bound 0.9 (0.9 and 1/0.9); o: no row,
    // the options' difference scale and --bound.
    writeFile(settings, "study,bound,scale\nd,3,difference\nr,,ratio\ne,0.9, ratio\n");
    const Outcome outcome = run(SCORES_PROGRAM, {"--settings", settings.string(), "--bound", "5",
                                                 "--replicates", "999", input.string()});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    const Table table = parseCsv(outcome.out);
    ASSERT_EQ(table.rows.size(), 4u) << outcome.out;
    // Geometric means 4 and 2: the ratio 2; arithmetic means 5 and 2.5: the difference 2.5.
    const ScaleRow want[] = {{"d", "-3", "3", "2.5", false},
                             {"r", "0.8", "1.25", "2", true},
                             {"e", "0.9", "1.11111", "2", true},
                             {"o", "-5", "5", "2.5", false}};
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(want[i].study);
        EXPECT_EQ(table.at(i, "study"), want[i].study);
        EXPECT_EQ(table.at(i, "lower"), want[i].lower);
        EXPECT_EQ(table.at(i, "upper"), want[i].upper);
        EXPECT_EQ(table.at(i, "normal_estimate"), want[i].estimate);
        EXPECT_EQ(table.at(i, "rank_method").find("On the natural logs") == 0, want[i].saysLogs)
            << table.at(i, "rank_method");
    }
}

// A blank scale cell leaves the options' scale, whichever it is: with
// --scale ratio the study's bound is a ratio and its analyses run on the logs.
TEST(SettingsScale, ABlankCellKeepsTheOptionsScale) {
    ScratchFolder scratch;
    const auto input = scratch.path / "scores.csv";
    const auto settings = scratch.path / "settings.csv";
    writeFile(input, "study,group,score\nb,T,2\nb,T,8\nb,R,1\nb,R,4\n");
    writeFile(settings, "study,bound,scale\nb,1.25, \n");
    const Outcome outcome = run(SCORES_PROGRAM, {"--settings", settings.string(), "--scale",
                                                 "ratio", "--replicates", "99", input.string()});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    const Table table = parseCsv(outcome.out);
    ASSERT_EQ(table.rows.size(), 1u) << outcome.out;
    EXPECT_EQ(table.at(0, "lower"), "0.8");
    EXPECT_EQ(table.at(0, "upper"), "1.25");
    EXPECT_EQ(table.at(0, "normal_estimate"), "2");
    EXPECT_EQ(table.at(0, "rank_method").find("On the natural logs"), 0u)
        << table.at(0, "rank_method");
}

TEST(SettingsScale, AnUnknownScaleIsTheTablesFault) {
    ScratchFolder scratch;
    const auto input = scratch.path / "scores.csv";
    const auto settings = scratch.path / "settings.csv";
    writeFile(input, "study,x,y\nok,1,2\nok,2,4\nok,3,3\n");
    writeFile(settings, "study,scale\nok,percent\n");
    const Outcome outcome = run(SCORES_PROGRAM, {"--settings", settings.string(), input.string()});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.err.find("settings.csv:2:"), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find("percent"), std::string::npos) << outcome.err;
}

// On the ratio scale no bounds are needed (0.80 and 1.25); a symmetric bound
// is a ratio and its reciprocal; bounds of 0 or below are the command line's fault.
TEST(OptionsScale, RatioBoundsFromTheCommandLine) {
    ScratchFolder scratch;
    const auto input = scratch.path / "scores.csv";
    writeFile(input, "x,y\n2,1\n8,4\n3,2\n");
    const struct {
        std::vector<std::string> arguments;
        int status;
        const char* lower;
        const char* upper;
    } cases[] = {{{"--scale", "ratio"}, 0, "0.8", "1.25"},
                 {{"--scale", "ratio", "--bound", "1.25"}, 0, "0.8", "1.25"},
                 {{"--scale", "ratio", "--lower", "0.9", "--upper", "1.2"}, 0, "0.9", "1.2"},
                 {{"--scale", "ratio", "--lower", "-0.5", "--upper", "1.2"}, 2, "", ""},
                 {{"--scale", "percent"}, 2, "", ""},
                 {{}, 2, "", ""}};
    for (const auto& c : cases) {
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"--replicates", "999", input.string()});
        const Outcome outcome = run(SCORES_PROGRAM, arguments);
        SCOPED_TRACE(outcome.err);
        EXPECT_EQ(outcome.status, c.status);
        if (c.status != 0) continue;
        const Table table = parseCsv(outcome.out);
        EXPECT_EQ(table.at(0, "lower"), c.lower);
        EXPECT_EQ(table.at(0, "upper"), c.upper);
    }
}

}  // namespace
}  // namespace tarnwick::scores
