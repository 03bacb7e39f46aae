// Malformed input and usage errors: status 2, a FILE:LINE: message that
// points at the bad record, and with -o no output file at all (an existing
// one left as it was).

#include <gtest/gtest.h>

#include "batch_process.h"
#include "malformed_input.h"

namespace tarnwick::batch::testing {
namespace {

using namespace std::string_literals;

std::string goodRows(int count) {
    std::string rows;
    for (int i = 0; i < count; ++i)
        rows += "s" + std::to_string(i) + ",10,2,10,9,2,10,3\n";
    return rows;
}

const std::string header = "study,mean1,sd1,n1,mean2,sd2,n2,bound\n";

const std::string megabyteName(1 << 20, 'x');

const std::string crlfHeader = "study,mean1,sd1,n1,mean2,sd2,n2,bound\r\n";
constexpr std::size_t readSize = 1 << 16;  // what the reader takes from the input at a time

const MalformedCase malformedCases[] = {
    {"quoted_field_never_closed", header + "s1,10,2,10,9,2,10,3\n\"s2,10,2\n\n10,9,2,10,3\n", 3,
     "not closed"},
    {"quote_inside_unquoted_field", header + "s\"1,10,2,10,9,2,10,3\n", 2, "quote"},
    {"text_after_closing_quote", header + "\"s1\"x,10,2,10,9,2,10,3\n", 2, "closing quote"},
    {"space_before_opening_quote", header + " \"s1\",10,2,10,9,2,10,3\n", 2, "quote"},
    {"more_fields_than_header", header + "s1,10,2,10,9,2,10,3,4\n", 2, "9 fields, the header 8"},
    {"fewer_fields_than_header", header + "s1,10,2,10,9,2,10\n", 2, "7 fields, the header 8"},
    {"bad_record_after_multiline_field_crlf",
     "study,mean1\r\n\"a\r\nb\",1\r\n\r\n\"c\r\nd\",1,2\r\n", 5, "3 fields"},
    {"invalid_utf8", header + "s\xFF,10,2,10,9,2,10,3\n", 2, "UTF-8"},
    {"nul_byte_in_a_field", header + "s1,10,2,10,9\0,2,10,3\n"s, 2, "field 5 holds a zero byte"},
    {"nul_byte_in_a_quoted_header_name", "mean1,\"sd\0\"\n"s, 1, "field 2 holds a zero byte"},
    {"megabyte_name_named_twice", megabyteName + ",mean1," + megabyteName + "\n", 1,
     "column 3 \"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx...\" (1048576 characters) is named "
     "twice"},
    {"name_with_a_line_end_named_twice", "\"a\nb\",mean1,\"a\nb\"\n", 1,
     "column 3 \"a\\nb\" is named twice"},
    {"column_named_twice", "mean1,sd1,mean1\n", 1, "named twice"},
    {"column_named_like_a_result", "study,message\n", 1, "result column"},
    {"empty_input", "", 1, "empty"},
    {"error_after_thousands_of_rows", header + goodRows(3000) + "late,1\n", 3002, "2 fields"},
    {"lone_cr_line_ends", "study,mean1\r\"a\rb\",1\r\rc,1\rlate\r", 6,
     "the row has 1 field, the header 2"},
    // The row's CR is the last byte of one read, its LF the first of the next.
    {"crlf_split_by_a_read",
     crlfHeader + std::string(readSize - 1 - crlfHeader.size() - 17, 'x') +
         ",10,2,10,9,2,10,3\r\nlate,1\r\n",
     3, "2 fields"},
    {"closing_quote_at_the_end_of_a_read",
     "mean1,b\n\"" + std::string(readSize - 10, 'x') + "\"y,1\n", 2, "closing quote"},
    {"no_column_the_analysis_reads", "Mean 1,SD1\n1,2\n", 1,
     "none of the columns the analysis reads (mean1, sd1, n1, mean2, sd2, n2, bound, mean_diff, "
     "sd_diff, design, df, alpha, lower, upper, bound_units, standard_error, hypothesis, scale, "
     "margin, better)"},
};

class MalformedInput : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedInput, StatusTwoLineNumberAndNoOutputFile) {
    expectRefusedAtItsLine(BATCH_PROGRAM, GetParam(), {"-q"});
}

INSTANTIATE_TEST_SUITE_P(Cases, MalformedInput, ::testing::ValuesIn(malformedCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLine, HelpVersionAndUsageErrors) {
    expectHelpAndVersion(BATCH_PROGRAM, "tarnwick-batch");

    EXPECT_EQ(run(BATCH_PROGRAM, {"--format", "xml"}).status, 2);
    EXPECT_EQ(run(BATCH_PROGRAM, {"--no-such-option"}).status, 2);
    EXPECT_EQ(run(BATCH_PROGRAM, {"a.csv", "b.csv"}).status, 2);
    const Outcome missing = run(BATCH_PROGRAM, {"/nonexistent/table.csv"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("/nonexistent/table.csv: cannot open"), std::string::npos);
}

TEST(CommandLine, OutputFileIsWrittenWhole) {
    expectOutputFileLikeStandardOutput(BATCH_PROGRAM, header + goodRows(3));
}

}  // namespace
}  // namespace tarnwick::batch::testing
