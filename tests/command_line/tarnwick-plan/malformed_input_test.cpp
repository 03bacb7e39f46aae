// Input the planner cannot use: status 2, a FILE:LINE: message that points at
// the bad record, and with -o no output file at all (an existing one left as
// it was); usage errors.

#include <gtest/gtest.h>

#include "batch_process.h"
#include "malformed_input.h"

namespace tarnwick::planner {
namespace {

using namespace std::string_literals;

using batch::testing::MalformedCase;
using batch::testing::Outcome;
using batch::testing::run;

// Power rows: one power each, so that many of them take no time.
const std::string header = "study,solve,bound,sd,n1\n";

std::string goodRows(int count) {
    std::string rows;
    for (int i = 0; i < count; ++i)
        rows += "s" + std::to_string(i) + ",power,0.5,1.2,40\n";
    return rows;
}

const MalformedCase malformedCases[] = {
    {"quoted_field_never_closed", header + goodRows(2) + "\"s2,power,0.5\n\n1.2,40\n", 4,
     "not closed"},
    {"quote_inside_unquoted_field", header + "s\"1,power,0.5,1.2,40\n", 2, "quote"},
    {"more_fields_than_header", header + goodRows(1) + "s1,power,0.5,1.2,40,9\n", 3,
     "6 fields, the header 5"},
    {"fewer_fields_after_many_rows", header + goodRows(3000) + "late,power\n", 3002,
     "2 fields, the header 5"},
    {"invalid_utf8", header + "s\xFF,power,0.5,1.2,40\n", 2, "UTF-8"},
    {"nul_byte_in_a_field", header + "s1,power,0.5\0,1.2,40\n"s, 2, "field 3 holds a zero byte"},
    {"one_field_is_one", header + "late\n", 2, "the row has 1 field, the header 5"},
    {"megabyte_name_named_twice",
     std::string(1 << 20, 'y') + ",solve,sd," + std::string(1 << 20, 'y') + "\n", 1,
     "column 4 \"yyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyy...\" (1048576 characters) is named "
     "twice"},
    {"column_named_twice", "solve,sd,solve\n", 1, "named twice"},
    {"column_named_like_an_answer", "solve,sd,plan_power\n", 1, "answer column"},
    {"message_column_in_input", "solve,sd,message\n", 1, "answer column"},
    {"no_solve_column", "study,bound,sd,power\ns1,0.5,1.2,0.8\n", 1, "no column \"solve\""},
    {"no_sd_column", "\n\nsolve,bound,SD,power\nn,0.5,1.2,0.8\n", 3, "no column \"sd\""},
    {"empty_input", "", 1, "empty"},
};

class MalformedInput : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedInput, StatusTwoLineNumberAndNoOutputFile) {
    batch::testing::expectRefusedAtItsLine(PLAN_PROGRAM, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Cases, MalformedInput, ::testing::ValuesIn(malformedCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct UsageCase {
    const char* name;
    std::vector<std::string> arguments;
    const char* complaint;
};

const UsageCase usageCases[] = {
    {"case_options_and_a_table", {"--solve", "n", "--sd", "1", "table.csv"}, "not both"},
    {"delimiter_for_one_case", {"--solve", "n", "--delimiter", ";"}, "--delimiter is for a table"},
    {"case_options_without_solve", {"--sd", "1", "--bound", "0.5"}, "--solve"},
    {"unknown_question", {"--solve", "size"}, "--solve"},
    {"unknown_format", {"--format", "xml"}, "--format"},
    {"unknown_option", {"--no-such-option"}, "no-such-option"},
    {"two_tables", {"a.csv", "b.csv"}, "b.csv"},
    {"empty_output_name", {"-o", "", "--solve", "power"}, "-o needs a file name"},
    {"missing_table", {"/nonexistent/plans.csv"}, "/nonexistent/plans.csv: cannot open"},
};

class UsageError : public ::testing::TestWithParam<UsageCase> {};

TEST_P(UsageError, StatusTwoAndWhatIsWrong) {
    const Outcome outcome = run(PLAN_PROGRAM, GetParam().arguments);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.err.find(GetParam().complaint), std::string::npos) << outcome.err;
    EXPECT_EQ(outcome.out, "");
}

INSTANTIATE_TEST_SUITE_P(Cases, UsageError, ::testing::ValuesIn(usageCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLine, HelpAndVersion) {
    batch::testing::expectHelpAndVersion(PLAN_PROGRAM, "tarnwick-plan");
}

TEST(CommandLine, OutputFileHoldsWhatStandardOutputWould) {
    batch::testing::expectOutputFileLikeStandardOutput(PLAN_PROGRAM, header + goodRows(3));
}

}  // namespace
}  // namespace tarnwick::planner
