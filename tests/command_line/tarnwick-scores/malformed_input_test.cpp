// Tables the program must refuse whole, and command lines it must refuse:
// status 2, the file and line named with the whole sentence the user reads,
// and with -o no file at all.

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
    const char* says;   // the whole description after it, as the user reads it
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
    EXPECT_EQ(outcome.err, input.string() + row.where + " " + row.says + "\n");
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
        Malformed{"Empty", "", bound,
                  ":1:", "the input is empty; its first row must name the columns"},
        Malformed{"WordAmongScores", "group,score\na,1\na,2\nb,x\nb,3\n", bound, ":4:",
                  "the score \"x\" in column \"score\" is neither a number nor missing (empty, NA, "
                  ". or NaN)"},
        Malformed{"InfinityIsNoScore", "group,score\na,1\na,inf\n", bound, ":3:",
                  "the score \"inf\" in column \"score\" is neither a number nor missing (empty, "
                  "NA, . or NaN)"},
        Malformed{"HugeScore", "group,score\na,1\na,1e999\n", bound,
                  ":3:", "the score \"1e999\" in column \"score\" is beyond the range of a double"},
        Malformed{"DecimalCommaInCommaTableHinted", "a;b\n1,5;2.5\n", bound, ":2:",
                  "the score \"1,5\" in column \"a\" is neither a number nor missing (empty, NA, . "
                  "or NaN); --decimal-comma reads a comma as the decimal mark"},
        Malformed{"WideScoreBadLaterInStudy", "study,x,y\ns,1,2\ns,2,3\nt,1,?\n", bound, ":4:",
                  "the score \"?\" in column \"y\" is neither a number nor missing (empty, NA, . "
                  "or NaN)"},
        Malformed{
            "DecimalCommaSplitsAWideRow", "x,y\n1.5,2\n1,5,2\n", bound, ":3:",
            "the row has 3 fields, the header names 2; a decimal comma needs a table separated by "
            "semicolons or tabs, or quotes around the number and --decimal-comma"},
        Malformed{
            "ExtraFieldInLongRow", "group,score\na,1\nb,2,3\n", bound, ":3:",
            "the row has 3 fields, the header names 2; a decimal comma needs a table separated by "
            "semicolons or tabs, or quotes around the number and --decimal-comma"},
        Malformed{"GroupWithoutScore", "study,group,value\ns,a,1\n", bound,
                  ":1:", "a long table needs both a \"group\" and a \"score\" column"},
        Malformed{"ScoreWithoutGroup", "score,other\n1,2\n", bound,
                  ":1:", "a long table needs both a \"group\" and a \"score\" column"},
        Malformed{"OneColumnOnly", "x\n1\n2\n", bound, ":1:",
                  "the header names no two score columns: give \"group\" and \"score\" (long) or "
                  "two score columns (wide)"},
        Malformed{"ThreeWideColumns", "x,y,z\n1,2,3\n", bound, ":1:",
                  "a wide table has exactly two score columns (and optionally \"study\"); a long "
                  "one names \"group\" and \"score\""},
        Malformed{"ColumnTwice", "group,score,score\na,1,2\n", bound,
                  ":1:", "the column \"score\" appears twice"},
        Malformed{"EmptyGroup", "group,score\na,1\n ,2\n", bound,
                  ":3:", "the \"group\" cell is empty"},
        Malformed{"MatchedLongWithoutPair", "group,score\na,1\nb,2\n", matched,
                  ":1:", "matched scores in a long table need a \"pair\" column naming each pair"},
        Malformed{"PairInWideTable", "pair,x,y\n1,2,3\n", bound, ":1:",
                  "a \"pair\" column belongs to a long table, with \"group\" and \"score\"; a wide "
                  "table pairs its two columns by row"},
        Malformed{"PairTwiceInGroup", "pair,group,score\np1,a,1\np2,a,2\np1,b,3\np1,a,4\n", matched,
                  ":5:", "pair \"p1\" has a second score in group \"a\" (the first is on line 2)"},
        Malformed{"EmptyPair", "pair,group,score\np1,a,1\n,b,2\n", matched,
                  ":3:", "the \"pair\" cell is empty"},
        Malformed{"QuoteNeverCloses", "group,score\na,1\na,\"2\nb,3\n", bound,
                  ":3:", "a quoted field is not closed: the input ends inside it"}),
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
