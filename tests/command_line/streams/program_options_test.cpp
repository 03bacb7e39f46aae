// Every documented option of the three programs, run through the program as a
// user runs it: pairs of runs that must answer alike (an option spelled out
// at its default, a table with another delimiter or decimal mark, bounds
// given two ways) or must not (an option that changes the answers). Each
// first run is repeated with -o, which must write exactly what standard
// output held, and with --quiet, which must change nothing but progress.
// The options each program lists in --help are those its manual page
// describes, and the other way round.

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <sstream>

#include "batch_process.h"

namespace tarnwick::batch::testing {
namespace {

namespace fs = std::filesystem;

// A run: its arguments, with IN standing for the input file and SETTINGS for
// the second file; the input is also its standard input.
struct Run {
    std::vector<std::string> arguments;
    std::string input;
    int status;  // the exit status it must end with
    Run(std::vector<std::string> arguments, std::string input = {}, int status = 0)
        : arguments(std::move(arguments)), input(std::move(input)), status(status) {}
};

enum class Relation { same, differs };

struct OptionCase {
    const char* name;
    const char* program;
    Run first, second;
    Relation relation;
    // The output is compared from the first column of this name on (the
    // answers, not the input columns copied beside them); empty: all of it.
    std::string answersFrom;
    std::string settings;  // the text of SETTINGS, if a run names it
    OptionCase(const char* name, const char* program, Run first, Run second, Relation relation,
               std::string answersFrom = {}, std::string settings = {})
        : name(name),
          program(program),
          first(std::move(first)),
          second(std::move(second)),
          relation(relation),
          answersFrom(std::move(answersFrom)),
          settings(std::move(settings)) {}
};

void PrintTo(const OptionCase& c, std::ostream* out) { *out << c.name; }

Outcome runCase(const OptionCase& c, const Run& run, const fs::path& folder,
                std::vector<std::string> extra = {}) {
    const fs::path input = folder / "in";
    const fs::path settings = folder / "settings.csv";
    writeFile(input, run.input);
    writeFile(settings, c.settings);
    std::vector<std::string> arguments;
    for (const std::string& argument : run.arguments) {
        arguments.push_back(argument == "IN"         ? input.string()
                            : argument == "SETTINGS" ? settings.string()
                                                     : argument);
    }
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return tarnwick::batch::testing::run(c.program, arguments, input);
}

// The part of a CSV output compared: every row from the named column on.
std::string answers(const std::string& output, const std::string& from) {
    if (from.empty()) return output;
    const Table table = parseCsv(output);
    std::size_t first = 0;
    while (first < table.columns.size() && table.columns[first] != from)
        ++first;
    EXPECT_LT(first, table.columns.size()) << "no column " << from << " in\n" << output;
    std::string kept;
    for (const auto& row : table.rows) {
        for (std::size_t i = first; i < row.size(); ++i)
            kept += table.columns[i] + "=" + row[i] + ";";
        kept += "\n";
    }
    return kept;
}

class ProgramOption : public ::testing::TestWithParam<OptionCase> {};

TEST_P(ProgramOption, AnswersAsDocumented) {
    const OptionCase& c = GetParam();
    ScratchFolder scratch;
    const Outcome first = runCase(c, c.first, scratch.path);
    const Outcome second = runCase(c, c.second, scratch.path);
    EXPECT_EQ(first.status, c.first.status) << first.err;
    EXPECT_EQ(second.status, c.second.status) << second.err;
    ASSERT_FALSE(first.out.empty()) << first.err;
    ASSERT_FALSE(second.out.empty()) << second.err;
    if (c.relation == Relation::same) {
        EXPECT_EQ(answers(first.out, c.answersFrom), answers(second.out, c.answersFrom));
    } else {
        EXPECT_NE(answers(first.out, c.answersFrom), answers(second.out, c.answersFrom));
    }
}

TEST_P(ProgramOption, OutputFileHoldsWhatStandardOutputWould) {
    const OptionCase& c = GetParam();
    ScratchFolder scratch;
    const Outcome printed = runCase(c, c.first, scratch.path);
    const fs::path file = scratch.path / "answers.out";
    for (const char* option : {"-o", "--output"}) {
        fs::remove(file);
        const Outcome written = runCase(c, c.first, scratch.path, {option, file.string()});
        EXPECT_EQ(written.status, printed.status) << option << ": " << written.err;
        EXPECT_EQ(written.out, "") << option;
        EXPECT_EQ(written.err, printed.err) << option;
        ASSERT_TRUE(fs::exists(file)) << option;
        EXPECT_EQ(readFile(file), printed.out) << option;
    }
    // No temporary is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch.path), {}), 3);
}

TEST_P(ProgramOption, QuietChangesNoAnswer) {
    const OptionCase& c = GetParam();
    ScratchFolder scratch;
    const Outcome loud = runCase(c, c.first, scratch.path);
    for (const char* option : {"-q", "--quiet"}) {
        const Outcome quiet = runCase(c, c.first, scratch.path, {option});
        EXPECT_EQ(quiet.status, loud.status) << option << ": " << quiet.err;
        EXPECT_EQ(quiet.out, loud.out) << option;
        EXPECT_EQ(quiet.err, loud.err) << option;
    }
}

using enum Relation;

const std::string batchTable =
    "study,mean1,sd1,n1,mean2,sd2,n2,bound\ns1,10,2,10,9,2,10,3\ns2,5,1,20,5.2,1.1,22,0.5\n";
const std::string batchSemicolons =
    "study;mean1;sd1;n1;mean2;sd2;n2;bound\ns1;10;2;10;9;2;10;3\ns2;5;1;20;5.2;1.1;22;0.5\n";
const std::string batchTabs =
    "study\tmean1\tsd1\tn1\tmean2\tsd2\tn2\tbound\ns1\t10\t2\t10\t9\t2\t10\t3\n"
    "s2\t5\t1\t20\t5.2\t1.1\t22\t0.5\n";
const std::string batchCommas =
    "study;mean1;sd1;n1;mean2;sd2;n2;bound\ns1;10;2;10;9;2;10;3\ns2;5;1;20;5,2;1,1;22;0,5\n";

const std::string planTable = "solve,bound,sd,n1,power\npower,0.5,1.2,40,\nn,0.5,1,,0.8\n";
const std::string planSemicolons = "solve;bound;sd;n1;power\npower;0.5;1.2;40;\nn;0.5;1;;0.8\n";
const std::string planTabs =
    "solve\tbound\tsd\tn1\tpower\npower\t0.5\t1.2\t40\t\nn\t0.5\t1\t\t0.8\n";
const std::string planCommas = "solve;bound;sd;n1;power\npower;0,5;1,2;40;\nn;0,5;1;;0,8\n";
const std::vector<std::string> planCase = {"--solve", "power", "--bound", "0.5",
                                           "--sd",    "1.2",   "--n1",    "40"};

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::string scoresTable =
    "study,group,score\nA,x,1\nA,x,2\nA,x,3\nA,x,4\nA,y,1.5\nA,y,2.5\nA,y,3.1\nA,y,4.2\n"
    "B,x,10\nB,x,11\nB,x,12\nB,y,10.5\nB,y,11.5\nB,y,12.2\n";
const std::string scoresSemicolons =
    "study;group;score\nA;x;1\nA;x;2\nA;x;3\nA;x;4\nA;y;1.5\nA;y;2.5\nA;y;3.1\nA;y;4.2\n"
    "B;x;10\nB;x;11\nB;x;12\nB;y;10.5\nB;y;11.5\nB;y;12.2\n";
const std::string scoresTabs =
    "study\tgroup\tscore\nA\tx\t1\nA\tx\t2\nA\tx\t3\nA\tx\t4\nA\ty\t1.5\nA\ty\t2.5\nA\ty\t3.1\n"
    "A\ty\t4.2\nB\tx\t10\nB\tx\t11\nB\tx\t12\nB\ty\t10.5\nB\ty\t11.5\nB\ty\t12.2\n";
const std::string scoresCommas =
    "study;group;score\nA;x;1\nA;x;2\nA;x;3\nA;x;4\nA;y;1,5\nA;y;2,5\nA;y;3,1\nA;y;4,2\n"
    "B;x;10\nB;x;11\nB;x;12\nB;y;10,5\nB;y;11,5\nB;y;12,2\n";
const std::string scoresWide = "before,after\n1,1.5\n2,2.75\n3,3.1\n4,4.2\n5,4.6\n6,6.9\n";

const OptionCase optionCases[] = {
    // tarnwick-batch
    {"batch_file_or_stdin", BATCH_PROGRAM, {{"IN"}, batchTable}, {{"-"}, batchTable}, same},
    {"batch_csv_is_default",
     BATCH_PROGRAM,
     {{"--format", "csv"}, batchTable},
     {{}, batchTable},
     same},
    {"batch_jsonl", BATCH_PROGRAM, {{"--format", "jsonl"}, batchTable}, {{}, batchTable}, differs},
    {"batch_shown_is_default",
     BATCH_PROGRAM,
     {{"--digits", "shown"}, batchTable},
     {{}, batchTable},
     same},
    {"batch_full_digits",
     BATCH_PROGRAM,
     {{"--digits", "full"}, batchTable},
     {{}, batchTable},
     differs},
    {"batch_semicolons",
     BATCH_PROGRAM,
     {{"--delimiter", ";"}, batchSemicolons},
     {{}, batchTable},
     same},
    {"batch_tabs", BATCH_PROGRAM, {{"--delimiter", "tab"}, batchTabs}, {{}, batchTable}, same},
    {"batch_decimal_comma",
     BATCH_PROGRAM,
     {{"--decimal-comma"}, batchCommas},
     {{}, batchTable},
     same,
     "message"},
    {"batch_decimal_comma_unasked",
     BATCH_PROGRAM,
     {{}, batchCommas, 1},
     {{}, batchTable},
     differs,
     "message"},
    // tarnwick-plan, one case
    {"plan_text_is_default",
     PLAN_PROGRAM,
     {planCase + std::vector<std::string>{"--format", "text"}},
     {planCase},
     same},
    {"plan_defaults_spelled_out",
     PLAN_PROGRAM,
     {planCase + std::vector<std::string>{"--design", "independent", "--alpha", "0.05",
                                          "--difference", "0", "--ratio", "1", "--n2", "40",
                                          "--hypothesis", "equivalence", "--bound-units", "raw",
                                          "--digits", "shown"}},
     {planCase},
     same},
    {"plan_lower_and_upper",
     PLAN_PROGRAM,
     {{"--solve", "power", "--lower", "-0.5", "--upper", "0.5", "--sd", "1.2", "--n1", "40"}},
     {planCase},
     same},
    {"plan_bound_in_sd",
     PLAN_PROGRAM,
     {{"--solve", "power", "--bound-units", "d", "--bound", "0.25", "--sd", "2", "--n1", "40",
       "--format", "csv"}},
     {{"--solve", "power", "--bound", "0.5", "--sd", "2", "--n1", "40", "--format", "csv"}},
     same,
     "plan_n1"},
    {"plan_csv",
     PLAN_PROGRAM,
     {planCase + std::vector<std::string>{"--format", "csv"}},
     {planCase},
     differs},
    {"plan_jsonl",
     PLAN_PROGRAM,
     {planCase + std::vector<std::string>{"--format", "jsonl"}},
     {planCase + std::vector<std::string>{"--format", "csv"}},
     differs},
    {"plan_full_digits",
     PLAN_PROGRAM,
     {planCase + std::vector<std::string>{"--digits", "full"}},
     {planCase},
     differs},
    {"plan_alpha",
     PLAN_PROGRAM,
     {planCase + std::vector<std::string>{"--alpha", "0.025"}},
     {planCase},
     differs},
    {"plan_difference",
     PLAN_PROGRAM,
     {planCase + std::vector<std::string>{"--difference", "0.1"}},
     {planCase},
     differs},
    {"plan_ratio",
     PLAN_PROGRAM,
     {{"--solve", "n", "--bound", "0.5", "--sd", "1", "--power", "0.8", "--ratio", "2"}},
     {{"--solve", "n", "--bound", "0.5", "--sd", "1", "--power", "0.8"}},
     differs},
    {"plan_second_size",
     PLAN_PROGRAM,
     {planCase + std::vector<std::string>{"--n2", "60"}},
     {planCase},
     differs},
    {"plan_matched",
     PLAN_PROGRAM,
     {planCase + std::vector<std::string>{"--design", "matched"}},
     {planCase},
     differs},
    {"plan_minimal_effect",
     PLAN_PROGRAM,
     {{"--solve", "n", "--hypothesis", "minimal_effect", "--bound", "0.5", "--difference", "1",
       "--sd", "1", "--power", "0.8"}},
     {{"--solve", "n", "--bound", "0.5", "--difference", "0", "--sd", "1", "--power", "0.8"}},
     differs},
    {"plan_solve_bound",
     PLAN_PROGRAM,
     {{"--solve", "bound", "--sd", "1", "--n1", "30", "--power", "0.8"}},
     {{"--solve", "n", "--bound", "0.7646", "--sd", "1", "--power", "0.8"}},
     differs},
    // tarnwick-plan, a table
    {"plan_table_file_or_stdin", PLAN_PROGRAM, {{"IN"}, planTable}, {{"-"}, planTable}, same},
    {"plan_table_csv_is_default",
     PLAN_PROGRAM,
     {{"--format", "csv", "IN"}, planTable},
     {{"IN"}, planTable},
     same},
    {"plan_table_jsonl",
     PLAN_PROGRAM,
     {{"--format", "jsonl", "IN"}, planTable},
     {{"IN"}, planTable},
     differs},
    {"plan_table_semicolons",
     PLAN_PROGRAM,
     {{"--delimiter", ";", "IN"}, planSemicolons},
     {{"IN"}, planTable},
     same},
    {"plan_table_tabs",
     PLAN_PROGRAM,
     {{"--delimiter", "tab", "IN"}, planTabs},
     {{"IN"}, planTable},
     same},
    {"plan_table_decimal_comma",
     PLAN_PROGRAM,
     {{"--decimal-comma", "IN"}, planCommas},
     {{"IN"}, planTable},
     same,
     "plan_n1"},
    {"plan_table_decimal_comma_unasked",
     PLAN_PROGRAM,
     {{"IN"}, planCommas, 1},
     {{"IN"}, planTable},
     differs,
     "plan_n1"},
    // tarnwick-scores
    {"scores_file_or_stdin",
     SCORES_PROGRAM,
     {{"--bound", "2", "IN"}, scoresTable},
     {{"--bound", "2", "-"}, scoresTable},
     same},
    {"scores_defaults_spelled_out",
     SCORES_PROGRAM,
     {{"--bound", "2", "--format", "csv", "--digits", "shown", "--alpha", "0.05", "--design",
       "independent", "--hypothesis", "equivalence", "--seed", "5489", "--replicates", "10000",
       "IN"},
      scoresTable},
     {{"--bound", "2", "IN"}, scoresTable},
     same},
    {"scores_lower_and_upper",
     SCORES_PROGRAM,
     {{"--lower", "-2", "--upper", "2", "IN"}, scoresTable},
     {{"--bound", "2", "IN"}, scoresTable},
     same},
    {"scores_settings_table",
     SCORES_PROGRAM,
     {{"--settings", "SETTINGS", "IN"}, scoresTable},
     {{"--bound", "2", "IN"}, scoresTable},
     same,
     "",
     "study,bound\nA,2\nB,2\n"},
    {"scores_settings_replace_options",
     SCORES_PROGRAM,
     {{"--bound", "1", "--alpha", "0.1", "--settings", "SETTINGS", "IN"}, scoresTable},
     {{"--bound", "2", "IN"}, scoresTable},
     same,
     "",
     "study,bound,alpha\nA,2,0.05\nB,2,0.05\n"},
    {"scores_text",
     SCORES_PROGRAM,
     {{"--bound", "2", "--format", "text", "IN"}, scoresTable},
     {{"--bound", "2", "IN"}, scoresTable},
     differs},
    {"scores_jsonl",
     SCORES_PROGRAM,
     {{"--bound", "2", "--format", "jsonl", "IN"}, scoresTable},
     {{"--bound", "2", "IN"}, scoresTable},
     differs},
    {"scores_full_digits",
     SCORES_PROGRAM,
     {{"--bound", "2", "--digits", "full", "IN"}, scoresTable},
     {{"--bound", "2", "IN"}, scoresTable},
     differs},
    {"scores_alpha",
     SCORES_PROGRAM,
     {{"--bound", "2", "--alpha", "0.1", "IN"}, scoresTable},
     {{"--bound", "2", "IN"}, scoresTable},
     differs},
    {"scores_seed",
     SCORES_PROGRAM,
     {{"--bound", "2", "--seed", "7", "IN"}, scoresTable},
     {{"--bound", "2", "IN"}, scoresTable},
     differs},
    {"scores_replicates",
     SCORES_PROGRAM,
     {{"--bound", "2", "--replicates", "999", "IN"}, scoresTable},
     {{"--bound", "2", "IN"}, scoresTable},
     differs},
    {"scores_minimal_effect",
     SCORES_PROGRAM,
     {{"--bound", "0.2", "--hypothesis", "minimal_effect", "IN"}, scoresTable},
     {{"--bound", "0.2", "IN"}, scoresTable},
     differs},
    {"scores_matched",
     SCORES_PROGRAM,
     {{"--bound", "1", "--design", "matched", "IN"}, scoresWide},
     {{"--bound", "1", "IN"}, scoresWide},
     differs},
    {"scores_semicolons",
     SCORES_PROGRAM,
     {{"--bound", "2", "--delimiter", ";", "IN"}, scoresSemicolons},
     {{"--bound", "2", "IN"}, scoresTable},
     same},
    {"scores_tabs",
     SCORES_PROGRAM,
     {{"--bound", "2", "--delimiter", "tab", "IN"}, scoresTabs},
     {{"--bound", "2", "IN"}, scoresTable},
     same},
    {"scores_decimal_comma",
     SCORES_PROGRAM,
     {{"--bound", "2", "--decimal-comma", "IN"}, scoresCommas},
     {{"--bound", "2", "IN"}, scoresTable},
     same},
};

INSTANTIATE_TEST_SUITE_P(Rows, ProgramOption, ::testing::ValuesIn(optionCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The long options of a --help text, and of a manual page's option lists
// (each item's first line after .TP).
std::set<std::string> longOptions(const std::string& text, const std::regex& line) {
    std::set<std::string> names;
    const std::regex option(R"(\\?-\\?-([a-z]+(\\?-[a-z]+)*))");
    std::istringstream lines(text);
    std::string previous;
    for (std::string current; std::getline(lines, current); previous = current) {
        if (!std::regex_search(current, line) && !(previous == ".TP")) continue;
        for (std::sregex_iterator m(current.begin(), current.end(), option), end; m != end; ++m) {
            std::string name = (*m)[1];
            name.erase(std::remove(name.begin(), name.end(), '\\'), name.end());
            names.insert(name);
        }
    }
    names.erase("help");
    names.erase("version");
    return names;
}

struct Documented {
    const char* program;
    const char* manPage;
};

void PrintTo(const Documented& d, std::ostream* out) { *out << d.program; }

class DocumentedOptions : public ::testing::TestWithParam<Documented> {};

TEST_P(DocumentedOptions, HelpListsWhatTheManualPageDescribes) {
    const Outcome help = run(GetParam().program, {"--help"});
    ASSERT_EQ(help.status, 0);
    // --help's option lines start with two spaces and a dash.
    const std::set<std::string> listed = longOptions(help.out, std::regex("^  -"));
    const std::set<std::string> described =
        longOptions(readFile(GetParam().manPage), std::regex("^\\.TP$"));
    EXPECT_GE(listed.size(), 6u);
    EXPECT_EQ(listed, described);
}

INSTANTIATE_TEST_SUITE_P(Programs, DocumentedOptions,
                         ::testing::Values(Documented{BATCH_PROGRAM, BATCH_MAN_PAGE},
                                           Documented{PLAN_PROGRAM, PLAN_MAN_PAGE},
                                           Documented{SCORES_PROGRAM, SCORES_MAN_PAGE}),
                         [](const auto& info) {
                             return fs::path(info.param.program).filename().string().substr(9);
                         });

}  // namespace
}  // namespace tarnwick::batch::testing
