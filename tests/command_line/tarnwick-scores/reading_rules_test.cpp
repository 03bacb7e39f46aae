// How a table is read where it could be misread: a first row of numbers,
// short rows, names with spaces around them, settings cells that are not
// numbers, and cells that must not reach a message whole.

#include <gtest/gtest.h>

#include "batch_process.h"

namespace tarnwick::scores {
namespace {

using namespace batch::testing;

// --- Tables read, and how.

struct Reading {
    const char* name;
    std::string table;
    std::vector<std::string> arguments;
    std::size_t studies;
    const char *group1, *group2;  // the first study's
    const char *n1, *n2;
    friend void PrintTo(const Reading& row, std::ostream* out) { *out << row.name; }
};

class Readings : public ::testing::TestWithParam<Reading> {};

TEST_P(Readings, KeepEveryRowOfEveryStudy) {
    const Reading& row = GetParam();
    ScratchFolder scratch;
    const auto input = scratch.path / "scores.csv";
    writeFile(input, row.table);
    std::vector<std::string> arguments = row.arguments;
    arguments.insert(arguments.end(), {"--replicates", "99", "--alpha", "0.1", input.string()});
    const Outcome outcome = run(SCORES_PROGRAM, arguments);
    EXPECT_LE(outcome.status, 1) << outcome.err;
    const Table table = parseCsv(outcome.out);
    ASSERT_EQ(table.rows.size(), row.studies) << outcome.out << outcome.err;
    EXPECT_EQ(table.at(0, "group1"), row.group1);
    EXPECT_EQ(table.at(0, "group2"), row.group2);
    EXPECT_EQ(table.at(0, "n1"), row.n1);
    EXPECT_EQ(table.at(0, "n2"), row.n2);
}

const std::vector<std::string> bound = {"--bound", "1"};

INSTANTIATE_TEST_SUITE_P(
    Rows, Readings,
    ::testing::Values(
        // A first row of numbers is data, as the data window reads it.
        Reading{"NoHeader",
                "5.1,5.2\n4.9,5.0\n5.6,5.5\n5.0,4.8\n4.7,5.4\n5.3,4.6\n5.2,5.7\n5.5,5.1\n", bound,
                1, "Column 1", "Column 2", "8", "8"},
        Reading{"NoHeaderDecimalCommas", "5,1;5,2\n4,9;5,0\n5,6;5,5\n5,0;4,8\n4,7;5,4\n", bound, 1,
                "Column 1", "Column 2", "5", "5"},
        Reading{"NoHeaderFirstScoreMissing", "NA;5\n4;5\n6;5\n5;3\n", bound, 1, "Column 1",
                "Column 2", "3", "4"},
        Reading{"HeaderOfWords", "a,b\n1,2\n2,3\n3,3\n", bound, 1, "a", "b", "3", "3"},
        // Study names are trimmed as group names are: "S" and "S " are one study.
        Reading{"StudyNamesTrimmed", "study,group,score\nS,a,1\nS ,a,2\n S,b,2\nS\t,b,4\n", bound,
                1, "a", "b", "2", "2"},
        Reading{"WideStudyNamesTrimmed", "study,x,y\nS,1,2\n S ,2,4\nS,3,3\n", bound, 1, "x", "y",
                "3", "3"},
        // Empty fields after the last column, as spreadsheets save them.
        Reading{"TrailingEmptyFields", "x,y\n1,2,\n2,4,,\n3,3\n", bound, 1, "x", "y", "3", "3"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Tables refused, and how the refusal reads.

struct Refusal {
    const char* name;
    std::string table;
    std::string settings;  // a settings table, when not empty
    const char* where;     // what standard error starts with, after the file's name
    const char* says;      // a part of the description
    std::vector<std::string> options = {};  // beside the bound
    friend void PrintTo(const Refusal& row, std::ostream* out) { *out << row.name; }
};

class Refusals : public ::testing::TestWithParam<Refusal> {};

TEST_P(Refusals, NameFileAndLineAndQuoteTheCell) {
    const Refusal& row = GetParam();
    ScratchFolder scratch;
    const auto input = scratch.path / "scores.csv";
    const auto settings = scratch.path / "settings.csv";
    writeFile(input, row.table);
    std::vector<std::string> arguments = row.options;
    arguments.insert(arguments.end(), {"--bound", "1"});
    if (!row.settings.empty()) {
        writeFile(settings, row.settings);
        arguments = {"--settings", settings.string()};
    }
    arguments.push_back(input.string());
    const Outcome outcome = run(SCORES_PROGRAM, arguments);
    EXPECT_EQ(outcome.status, 2) << outcome.err;
    const std::string file = (row.settings.empty() ? input : settings).string();
    EXPECT_EQ(outcome.err.rfind(file + row.where, 0), 0u) << outcome.err;
    EXPECT_NE(outcome.err.find(row.says), std::string::npos) << outcome.err;
    // One short line: no cell whole, no control character from the table.
    EXPECT_LT(outcome.err.size(), 400u) << outcome.err;
    EXPECT_EQ(outcome.err.find('\x1b'), std::string::npos) << outcome.err;
    EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1) << outcome.err;
}

const std::string longCell(1 << 20, '7');

INSTANTIATE_TEST_SUITE_P(
    Rows, Refusals,
    ::testing::Values(
        // Rows with fewer fields than the header are not missing scores.
        Refusal{"ShortLongRow", "group,score\na,1\nb\n", "",
                ":3:", "the row has 1 field, the header names 2"},
        Refusal{"ShortWideRow", "study,x,y\ns,1,2\ns,3\n", "", ":3:", "2 fields"},
        Refusal{"WordBesideNumberInFirstRow", "x,3\n1,2\n", "", ":1:", "\"x\""},
        // Settings cells that say "missing" are not a request for the default.
        Refusal{"SettingsBoundNA", "study,x,y\ns,1,2\ns,2,3\n", "study,bound\ns,NA\n",
                ":2:", "\"NA\""},
        Refusal{"SettingsAlphaDot", "study,x,y\ns,1,2\ns,2,3\n", "study,bound,alpha\ns,1,.\n",
                ":2:", "\".\""},
        Refusal{"SettingsLowerNaN", "study,x,y\ns,1,2\ns,2,3\n", "study,lower,upper\ns,NaN,1\n",
                ":2:", "\"NaN\""},
        // Cells are quoted as the other programs quote them: escaped and cut.
        Refusal{"HugeCell", "x,y\n1,2\n" + longCell + "x,3\n", "", ":3:", "(1048577 characters)"},
        Refusal{"EscapeInCell", "x,y\n1,2\n\x1b[31mred,3\n", "", ":3:", "\\x1B[31mred"},
        Refusal{"EscapeInSettings", "study,x,y\ns,1,2\ns,2,3\n", "study,bound\ns,\x1b[2J\n",
                ":2:", "\\x1B[2J"},
        Refusal{"EscapeInPairId",
                "pair,group,score\n\x1b]0;t\x07,a,1\n\x1b]0;t\x07,a,2\n",
                "",
                ":3:",
                "\\x1B]0;t\\x07",
                {"--design", "matched"}}),
    [](const auto& info) { return std::string(info.param.name); });

// A study's message, and the note on unused settings, quote names too.
TEST(Quoting, StudyMessagesAndNotesShowNoControlCharacters) {
    ScratchFolder scratch;
    const auto input = scratch.path / "scores.csv";
    const auto settings = scratch.path / "settings.csv";
    writeFile(input, "group,score\na,1\na,2\nb,2\nb,3\n\x1b[31mc,4\n");
    writeFile(settings, "study,bound\n\x1b[5mghost,1\n,1\n");
    const Outcome outcome = run(SCORES_PROGRAM, {"--settings", settings.string(), input.string()});
    EXPECT_EQ(outcome.status, 1) << outcome.err;
    EXPECT_EQ(outcome.err.find('\x1b'), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find("\"\\x1B[5mghost\""), std::string::npos) << outcome.err;
    const Table table = parseCsv(outcome.out);
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(table.at(0, "message").find('\x1b'), std::string::npos);
    EXPECT_NE(table.at(0, "message").find("\"\\x1B[31mc\""), std::string::npos)
        << table.at(0, "message");
}

}  // namespace
}  // namespace tarnwick::scores
