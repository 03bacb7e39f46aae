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
                bound, "trimmed: ", true}),
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

}  // namespace
}  // namespace tarnwick::scores
