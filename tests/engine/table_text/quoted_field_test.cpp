// Fields as messages quote them: whatever a table holds, the quoted text is
// one line of printable UTF-8 of bounded length, and says how long a cut
// field was.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "csv_reader.h"
#include "quoted_field.h"

namespace tarnwick::table_io {
namespace {

using namespace std::string_literals;

struct QuotedCase {
    const char* name;
    std::string field;
    std::string quoted;
    // The field is only this many bytes at the front of `field`, as when a
    // caller quotes a piece of a longer text: nothing past it may be read.
    std::size_t viewed = std::string::npos;
};

const std::string forty(40, 'x');

const QuotedCase quotedCases[] = {
    {"empty", "", "\"\""},
    {"plain_word", "matched ", "\"matched \""},
    {"quote_inside_stays", "a\"b", "\"a\"b\""},
    {"nul_byte", "ab\0cd"s, "\"ab\\x00cd\""},
    {"line_ends_and_tab", "a\r\nb\tc", "\"a\\r\\nb\\tc\""},
    {"escape_and_delete", "\x1b[2J\x7f", "\"\\x1B[2J\\x7F\""},
    {"c1_control", "a\xC2\x85z", "\"a\\u0085z\""},
    {"no_break_space_is_printable", "a\xC2\xA0z", "\"a\xC2\xA0z\""},
    {"last_c1_control", "\xC2\x9F", "\"\\u009F\""},
    {"overlong_form", "\xE0\x80\x80", "\"\\xE0\\x80\\x80\""},
    {"character_cut_by_the_end_of_the_view", "\xE2\x82\xAC", "\"\\xE2\\x82\"", 2},
    {"bytes_that_are_not_utf8", "\xFF\xC3(", "\"\\xFF\\xC3(\""},
    {"truncated_three_byte_character", "\xE2\x82", "\"\\xE2\\x82\""},
    {"exactly_the_shown_length", forty, "\"" + forty + "\""},
    {"one_character_more", forty + "y", "\"" + forty + "...\" (41 characters)"},
    {"a_megabyte", std::string(1 << 20, 'z'),
     "\"" + std::string(40, 'z') + "...\" (1048576 characters)"},
    // Characters, not bytes, are counted and shown: no character is cut in two.
    {"cut_between_characters",
     std::string(20, 'a') +
         [] {
             std::string euros;
             for (int i = 0; i < 30; ++i)
                 euros += "\xE2\x82\xAC";
             return euros;
         }(),
     "\"" + std::string(20, 'a') +
         [] {
             std::string euros;
             for (int i = 0; i < 20; ++i)
                 euros += "\xE2\x82\xAC";
             return euros;
         }() +
         "...\" (50 characters)"},
    // Past the cut, every character is counted as those shown were: a byte
    // that is not UTF-8 as one, a character of several bytes as one.
    {"bytes_past_the_cut_counted", forty + "\xFF\xFE" + "\xE2\x82\xAC" + "\xC3",
     "\"" + forty + "...\" (44 characters)"},
    {"escapes_count_as_one_character", std::string(45, '\0'),
     "\"" +
         [] {
             std::string zeros;
             for (int i = 0; i < 40; ++i)
                 zeros += "\\x00";
             return zeros;
         }() +
         "...\" (45 characters)"},
};

class Quoted : public ::testing::TestWithParam<QuotedCase> {};

TEST_P(Quoted, IsEscapedAndCut) {
    const QuotedCase& c = GetParam();
    EXPECT_EQ(quotedField(std::string_view(c.field).substr(0, c.viewed)), c.quoted);
}

INSTANTIATE_TEST_SUITE_P(Fields, Quoted, ::testing::ValuesIn(quotedCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct CountCase {
    std::size_t count;
    const char* singular;
    const char* plural;
    const char* expected;
};

class Count : public ::testing::TestWithParam<CountCase> {};

TEST_P(Count, TakesTheRightNumber) {
    const CountCase& c = GetParam();
    EXPECT_EQ(countOf(c.count, c.singular, c.plural), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Counts, Count,
                         ::testing::Values(CountCase{0, "field", "", "0 fields"},
                                           CountCase{1, "field", "", "1 field"},
                                           CountCase{2, "field", "", "2 fields"},
                                           CountCase{1, "analysis", "analyses", "1 analysis"},
                                           CountCase{11, "analysis", "analyses", "11 analyses"}));

struct ReaderCase {
    const char* name;
    std::string input;
    long line;
    const char* complaint;  // empty: the input reads
};

const ReaderCase readerCases[] = {
    {"nul_in_an_unquoted_field", "a,b\n1,x\0y\n"s, 2, "field 2 holds a zero byte"},
    {"nul_in_a_quoted_field", "a,b\n\"x\0\",1\n"s, 2, "field 1 holds a zero byte"},
    {"nul_alone_as_the_input", "\0"s, 1, "field 1 holds a zero byte"},
    {"control_characters_other_than_nul_read", "a\x01,b\x1b\n", 0, ""},
};

class Reader : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(Reader, RefusesZeroBytes) {
    const ReaderCase& c = GetParam();
    std::FILE* input = fmemopen(const_cast<char*>(c.input.data()), c.input.size(), "r");
    ASSERT_NE(input, nullptr);
    CsvReader reader(input, "t.csv");
    CsvRecord record;
    try {
        std::size_t records = 0;
        while (reader.next(record))
            ++records;
        EXPECT_STREQ(c.complaint, "") << "read " << records << " records";
    } catch (const InputError& error) {
        EXPECT_EQ(error.line(), c.line);
        EXPECT_NE(error.description().find(c.complaint), std::string::npos) << error.description();
        EXPECT_NE(std::string(c.complaint), "");
    }
    std::fclose(input);
}

INSTANTIATE_TEST_SUITE_P(Inputs, Reader, ::testing::ValuesIn(readerCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarnwick::table_io
