// Tables the program must refuse whole, and command lines it must refuse:
// status 2, the file and line named, and with -o no file at all.

#include <gtest/gtest.h>

#include <filesystem>

#include "batch_process.h"

namespace tarnwick::scores {
namespace {

using namespace batch::testing;

struct Malformed {
    const char* name;
    const char* table;
    std::vector<std::string> arguments;
    const char* where;  // what standard error starts with, after the file's name
    const char* says;   // a part of the description
};

class MalformedTable : public ::testing::TestWithParam<Malformed> {};

TEST_P(MalformedTable, StopsWithFileLineAndNoOutputFile) {
    const Malformed& row = GetParam();
    ScratchFolder scratch;
    const auto input = scratch.path / "scores.csv";
    const auto output = scratch.path / "answers.csv";
    writeFile(input, row.table);
    std::vector<std::string> arguments = row.arguments;
    arguments.insert(arguments.end(), {"-o", output.string(), input.string()});
    const Outcome outcome = run(SCORES_PROGRAM, arguments);
    EXPECT_EQ(outcome.status, 2) << outcome.err;
    EXPECT_EQ(outcome.err.rfind(input.string() + row.where, 0), 0u) << outcome.err;
    EXPECT_NE(outcome.err.find(row.says), std::string::npos) << outcome.err;
    EXPECT_FALSE(std::filesystem::exists(output));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path),
                            std::filesystem::directory_iterator()),
              1)
        << "a temporary file was left behind";
}

const std::vector<std::string> bound = {"--bound", "1"};
const std::vector<std::string> matched = {"--bound", "1", "--design", "matched"};

INSTANTIATE_TEST_SUITE_P(
    Rows, MalformedTable,
    ::testing::Values(
        Malformed{"Empty", "", bound, ":1:", "empty"},
        Malformed{"WordAmongScores", "group,score\na,1\na,2\nb,x\nb,3\n", bound, ":4:", "\"x\""},
        Malformed{"InfinityIsNoScore", "group,score\na,1\na,inf\n", bound, ":3:", "\"inf\""},
        Malformed{"HugeScore", "group,score\na,1\na,1e999\n", bound, ":3:", "range"},
        Malformed{"DecimalCommaInCommaTableHinted", "a;b\n1,5;2.5\n", bound,
                  ":2:", "--decimal-comma"},
        Malformed{"WideScoreBadLaterInStudy", "study,x,y\ns,1,2\ns,2,3\nt,1,?\n", bound,
                  ":4:", "\"y\""},
        Malformed{"DecimalCommaSplitsAWideRow", "x,y\n1.5,2\n1,5,2\n", bound,
                  ":3:", "3 fields, the header names 2"},
        Malformed{"ExtraFieldInLongRow", "group,score\na,1\nb,2,3\n", bound, ":3:", "3 fields"},
        Malformed{"GroupWithoutScore", "study,group,value\ns,a,1\n", bound, ":1:", "\"score\""},
        Malformed{"ScoreWithoutGroup", "score,other\n1,2\n", bound, ":1:", "\"group\""},
        Malformed{"OneColumnOnly", "x\n1\n2\n", bound, ":1:", "two score columns"},
        Malformed{"ThreeWideColumns", "x,y,z\n1,2,3\n", bound, ":1:", "exactly two"},
        Malformed{"ColumnTwice", "group,score,score\na,1,2\n", bound, ":1:", "twice"},
        Malformed{"EmptyGroup", "group,score\na,1\n ,2\n", bound, ":3:", "group"},
        Malformed{"MatchedLongWithoutPair", "group,score\na,1\nb,2\n", matched, ":1:", "\"pair\""},
        Malformed{"PairInWideTable", "pair,x,y\n1,2,3\n", bound, ":1:", "long table"},
        Malformed{"PairTwiceInGroup", "pair,group,score\np1,a,1\np2,a,2\np1,b,3\np1,a,4\n", matched,
                  ":5:", "line 2"},
        Malformed{"EmptyPair", "pair,group,score\np1,a,1\n,b,2\n", matched, ":3:", "pair"},
        Malformed{"QuoteNeverCloses", "group,score\na,1\na,\"2\nb,3\n", bound, ":3:", ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct Usage {
    const char* name;
    std::vector<std::string> arguments;
    const char* says;
};

class UsageErrors : public ::testing::TestWithParam<Usage> {};

TEST_P(UsageErrors, StopWithStatusTwoBeforeWritingAnything) {
    const Usage& row = GetParam();
    ScratchFolder scratch;
    const auto input = scratch.path / "scores.csv";
    const auto output = scratch.path / "answers.csv";
    writeFile(input, "group,score\na,1\na,2\nb,2\nb,4\n");
    std::vector<std::string> arguments = row.arguments;
    arguments.insert(arguments.end(), {"-o", output.string(), input.string()});
    const Outcome outcome = run(SCORES_PROGRAM, arguments);
    EXPECT_EQ(outcome.status, 2) << outcome.err;
    EXPECT_NE(outcome.err.find(row.says), std::string::npos) << outcome.err;
    EXPECT_FALSE(std::filesystem::exists(output));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, UsageErrors,
    ::testing::Values(
        Usage{"NoBounds", {}, "give the bounds"},
        Usage{"BoundAndLower", {"--bound", "1", "--lower", "-1"}, "not both"},
        Usage{"LowerAlone", {"--lower", "-1"}, "go together"},
        Usage{"BoundNotANumber", {"--bound", "one"}, "\"one\""},
        Usage{"BoundWithDecimalComma", {"--bound", "0,5"}, "\"0,5\""},
        Usage{"NegativeBound", {"--bound", "-1"}, "must lie above 0"},
        Usage{"AlphaTooLarge", {"--bound", "1", "--alpha", "0.5"}, "lpha"},
        Usage{"ReplicatesZero", {"--bound", "1", "--replicates", "0"}, "replicates"},
        Usage{"UnknownDesign", {"--bound", "1", "--design", "paired"}, "design"},
        Usage{"SettingsFileMissing", {"--settings", "/nonexistent/s.csv"}, "/nonexistent/s.csv"},
        Usage{"SettingsTwiceForAStudy",
              {"--settings", SETTINGS_TWICE},
              ":3: the study \"s\" has a second row"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarnwick::scores
