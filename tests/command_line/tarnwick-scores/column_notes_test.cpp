// What tarnwick-scores says about a table it reads other than it may look:
// column names that differ from the names it reads only in case or spaces
// (the other programs' rule), and a decimal comma it chose from the scores.
// Each row: the tables, the options, the status and standard error whole.

#include <gtest/gtest.h>

#include "batch_process.h"

namespace tarnwick::scores {
namespace {

using namespace batch::testing;

struct NoteCase {
    const char* name;
    std::string scores;
    std::string settings;  // a settings table, when not empty
    std::vector<std::string> options;
    int status;
    std::string err;  // standard error less the input's path, which stands for FILE
};

void PrintTo(const NoteCase& row, std::ostream* out) { *out << row.name; }

class Notes : public ::testing::TestWithParam<NoteCase> {};

TEST_P(Notes, SayWhatIsReadOtherwiseThanItMayLook) {
    const NoteCase& row = GetParam();
    ScratchFolder scratch;
    const auto input = scratch.path / "scores.csv";
    const auto settings = scratch.path / "settings.csv";
    writeFile(input, row.scores);
    std::vector<std::string> arguments = row.options;
    arguments.insert(arguments.end(), {"--replicates", "99", "--alpha", "0.1"});
    if (!row.settings.empty()) {
        writeFile(settings, row.settings);
        arguments.insert(arguments.end(), {"--settings", settings.string()});
    }
    arguments.push_back(input.string());
    const Outcome outcome = run(SCORES_PROGRAM, arguments);
    EXPECT_EQ(outcome.status, row.status) << outcome.err;
    std::string err = outcome.err;
    for (const auto& [path, shown] :
         {std::pair{input.string(), "FILE"}, std::pair{settings.string(), "SETTINGS"}}) {
        for (std::size_t at; (at = err.find(path)) != std::string::npos;)
            err.replace(at, path.size(), shown);
    }
    EXPECT_EQ(err, row.err);
}

const std::vector<std::string> bound = {"--bound", "2"};
const std::string longScores = "a,1,x\na,2,x\na,4,x\nb,2,y\nb,3,y\nb,5,y\n";

INSTANTIATE_TEST_SUITE_P(
    Rows, Notes,
    ::testing::Values(
        NoteCase{"CapitalStudyInALongTable", "group,score, Study \n" + longScores, "", bound, 0,
                 "tarnwick-scores: note: column \" Study \" is not the \"study\" column: the "
                 "columns tarnwick-scores reads by name are spelt in lower case without spaces\n"},
        NoteCase{"ExactNamesNoNote", "group,score,Trial\n" + longScores, "", bound, 0, ""},
        // Read as a wide table of three columns and refused: the refusal names the near miss.
        NoteCase{"CapitalNamesRefused", "Study,Group,Score\ns,a,1\n", "", bound, 2,
                 "FILE:1: a wide table has exactly two score columns (and optionally \"study\"); "
                 "a long one names \"group\" and \"score\"; \"Study\" is not \"study\", "
                 "\"Group\" is not \"group\", \"Score\" is not \"score\": names are read in "
                 "lower case without spaces\n"},
        NoteCase{"CapitalBoundInSettings", "study,x,y\ns,1,2\ns,2,4\ns,3,3\n", "study,Bound\ns,1\n",
                 bound, 0,
                 "tarnwick-scores: note: column \"Bound\" of the settings table is not the "
                 "\"bound\" column: the columns tarnwick-scores reads by name are spelt in lower "
                 "case without spaces\n"},
        NoteCase{"GuessedDecimalComma", "x;y\n1;2\n1,5;2,5\n2,25;3\n", "", bound, 0,
                 "tarnwick-scores: note: FILE:3: \"1,5\" has a decimal comma and no score a "
                 "decimal point, so \",\" is read as the decimal mark\n"},
        NoteCase{"AskedDecimalCommaNoNote",
                 "x;y\n1;2\n1,5;2,5\n2,25;3\n",
                 "",
                 {"--bound", "2", "--decimal-comma"},
                 0,
                 ""},
        NoteCase{"DecimalPointsNoNote", "x;y\n1;2\n1.5;2.5\n2.25;3\n", "", bound, 0, ""},
        // A point anywhere makes "." the mark, and the comma a bad score.
        NoteCase{"PointAfterComma", "x;y\n1,5;2\n1;2.5\n", "", bound, 2,
                 "FILE:2: the score \"1,5\" in column \"x\" is neither a number nor missing "
                 "(empty, NA, . or NaN); --decimal-comma reads a comma as the decimal mark\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// Both options apply to the settings table as they do to the scores.
TEST(SettingsTable, ReadWithTheDelimiterAndDecimalCommaOfTheOptions) {
    ScratchFolder scratch;
    const auto input = scratch.path / "scores.csv";
    const auto settings = scratch.path / "settings.csv";
    writeFile(input, "study;x;y\ns;1,5;2\ns;2;3,5\ns;3;3\n");
    writeFile(settings, "study;bound;alpha\ns;2,5;0,1\n");
    const Outcome outcome =
        run(SCORES_PROGRAM, {"--delimiter", ";", "--decimal-comma", "--replicates", "99",
                             "--settings", settings.string(), input.string()});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    const Table table = parseCsv(outcome.out);
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(table.at(0, "upper"), "2.5");
    EXPECT_EQ(table.at(0, "alpha"), "0.1");
    const Outcome help = run(SCORES_PROGRAM, {"--help"});
    for (const char* option : {"--delimiter", "--decimal-comma"}) {
        const std::size_t at = help.out.find(option);
        ASSERT_NE(at, std::string::npos) << option;
        EXPECT_NE(help.out.substr(at, help.out.find("\n  -", at + 1) - at).find("settings table"),
                  std::string::npos)
            << option << help.out;
    }
}

}  // namespace
}  // namespace tarnwick::scores
