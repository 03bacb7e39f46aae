// Reading tables of scores: what is detected in each common form, what each
// kind of bad input is told, and the text written back into the boxes.

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "data_error.h"
#include "plain_number_text.h"
#include "score_cell.h"
#include "summaries.h"

namespace tarnwick::data {
namespace {

using namespace std::string_literals;

struct ShapeCase {
    const char* name;
    std::string text;
    char delimiter;
    char decimalMark;
    bool header;
    std::vector<std::string> columnNames;
    std::size_t rows;
};

class Shape : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(Shape, IsDetected) {
    const ShapeCase& c = GetParam();
    const ScoreTable table = readScoreTable(c.text);
    EXPECT_EQ(table.delimiter, c.delimiter);
    EXPECT_EQ(table.decimalMark, c.decimalMark);
    EXPECT_EQ(table.hasHeader, c.header);
    EXPECT_EQ(table.columnNames, c.columnNames);
    EXPECT_EQ(table.rows.size(), c.rows);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, Shape,
    ::testing::Values(
        ShapeCase{"spreadsheet_copy",
                  "Before\tAfter\r\n1.5\t2\r\n3\t4.25\r\n",
                  '\t',
                  '.',
                  true,
                  {"Before", "After"},
                  2},
        ShapeCase{"semicolon_decimal_comma", "a;b\n1,5;2\n3;4,25\n", ';', ',', true, {"a", "b"}, 2},
        // Semicolons on every line but not as many on each: the commas,
        // one a line, are the delimiter.
        ShapeCase{"commas_even_semicolons_uneven",
                  "p;q,1\nr;s;t,2\n",
                  ',',
                  '.',
                  false,
                  {"Column 1", "Column 2"},
                  2},
        ShapeCase{"semicolon_decimal_point",
                  "1.5;2\n3;4,0\n",
                  ';',
                  '.',
                  false,
                  {"Column 1", "Column 2"},
                  2},
        ShapeCase{"quoted_decimal_commas_in_a_comma_table",
                  "x,y\n\"1,5\",2\n\"3,5\",4\n",
                  ',',
                  '.',
                  true,
                  {"x", "y"},
                  2},
        ShapeCase{"bom_and_quoted_header",
                  "\xEF\xBB\xBF\"pre, ms\",post\n1,2\n3,4\n",
                  ',',
                  '.',
                  true,
                  {"pre, ms", "post"},
                  2},
        ShapeCase{"long_format_without_header",
                  "A,12\nB,13\nA,14\n",
                  ',',
                  '.',
                  false,
                  {"Column 1", "Column 2"},
                  3},
        ShapeCase{"long_format_with_header",
                  "group,score\nA,12\nB,13\n",
                  ',',
                  '.',
                  true,
                  {"group", "score"},
                  2},
        // A word beside a number in the first row is a bad cell, not a name.
        ShapeCase{"stray_word_in_first_row",
                  "12,abc\n13,14\n",
                  ',',
                  '.',
                  false,
                  {"Column 1", "Column 2"},
                  2},
        ShapeCase{"unequal_lengths_short_rows_and_blank_lines",
                  "1,2\n\n3\n,,\n5,6,7\n",
                  ',',
                  '.',
                  false,
                  {"Column 1", "Column 2", "Column 3"},
                  3},
        ShapeCase{"one_column", "1\n2\n3\n", ',', '.', false, {"Column 1"}, 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Shape, HeaderChoiceOverridesDetection) {
    const std::string text = "2019,2020\n1,2\n3,4\n";
    EXPECT_FALSE(readScoreTable(text).hasHeader);
    const ScoreTable named = readScoreTable(text, HeaderRow::present);
    EXPECT_EQ(named.columnNames, (std::vector<std::string>{"2019", "2020"}));
    EXPECT_EQ(named.rows.size(), 2u);
    EXPECT_EQ(named.rows.front().row, 2);
    EXPECT_EQ(readScoreTable("a,b\n1,2\n3,4\n", HeaderRow::absent).rows.size(), 3u);
}

struct ErrorCase {
    const char* name;
    std::string text;
    Layout layout;
    DataErrorNumber number;
    long row, column;
    std::string mentions;  // a part of the description
};

class Refused : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(Refused, WithANumberedSentence) {
    const ErrorCase& c = GetParam();
    try {
        const ScoreTable table = readScoreTable(c.text);
        const Summaries ignored = summarise(table, {c.layout, 0, 1, "A", "B"});
        FAIL() << "no error; group 1 n " << ignored.group1.n;
    } catch (const DataError& error) {
        EXPECT_EQ(error.number(), c.number) << error.description();
        EXPECT_EQ(error.row(), c.row);
        EXPECT_EQ(error.column(), c.column);
        EXPECT_NE(error.description().find(c.mentions), std::string::npos) << error.description();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, Refused,
    ::testing::Values(
        ErrorCase{"decimal_comma_with_letter", "pre;post\n11,5;12\n12,5x;13\n14;15\n",
                  Layout::sideBySide, DataErrorNumber::notANumber, 3, 1,
                  "Row 3, column 1 (\"pre\"): \"12,5x\" is not a number (this table uses a "
                  "decimal comma"},
        // The bad cell is in the only column of numbers: the header row still
        // names the columns, and the error points at the cell.
        ErrorCase{"bad_cell_below_the_names", "group;score\nA;12,5\nB;12,5x\nA;13\nB;14\n",
                  Layout::longFormat, DataErrorNumber::notANumber, 3, 2,
                  "Row 3, column 2 (\"score\"): \"12,5x\""},
        ErrorCase{"word_in_second_column", "1,2\n3,4\n5,6\n7,abc\n", Layout::sideBySide,
                  DataErrorNumber::notANumber, 4, 2, "Row 4, column 2 (\"Column 2\"): \"abc\""},
        ErrorCase{"word_beside_a_missing_partner", "1,2\n3,4\n,abc\n", Layout::matched,
                  DataErrorNumber::notANumber, 3, 2, "\"abc\""},
        ErrorCase{"word_in_long_format_scores", "A,1\nB,2\nA,x1\nB,4\n", Layout::longFormat,
                  DataErrorNumber::notANumber, 3, 2, "\"x1\""},
        ErrorCase{"infinity", "1,2\ninf,4\n5,6\n", Layout::sideBySide, DataErrorNumber::notANumber,
                  2, 1, "\"inf\""},
        ErrorCase{"thousands_separator", "a,b\n\"1,500\",2\n3,4\n", Layout::sideBySide,
                  DataErrorNumber::notANumber, 2, 1, "\"1,500\""},
        ErrorCase{"beyond_a_double", "1,2\n3,1e999\n5,6\n", Layout::sideBySide,
                  DataErrorNumber::numberTooLarge, 2, 2, "too large"},
        // Each score is a double, but their spread is not.
        ErrorCase{"sd_beyond_a_double", "1.7e308,1\n-1.7e308,2\n", Layout::sideBySide,
                  DataErrorNumber::numberTooLarge, 0, 0, "SD of these scores is beyond"},
        ErrorCase{"difference_beyond_a_double", "1,2\n1e308,-1e308\n5,6\n", Layout::matched,
                  DataErrorNumber::numberTooLarge, 2, 0, "Row 2: the difference"},
        ErrorCase{"one_score_in_group_2", "1,2\n3,NA\n5,\n", Layout::sideBySide,
                  DataErrorNumber::tooFewScores, 0, 0,
                  "Group 2 (column 2 (\"Column 2\")) has 1 score"},
        ErrorCase{"one_score_in_a_named_group", "A,1\nB,2\nB,3\n", Layout::longFormat,
                  DataErrorNumber::tooFewScores, 0, 0,
                  "Group 1 (\"A\") has 1 score; at least 2 are needed for an SD."},
        ErrorCase{"one_complete_pair", "1,2\n3,NA\n.,5\n", Layout::matched,
                  DataErrorNumber::tooFewScores, 0, 0, "1 complete pair"},
        ErrorCase{"group_not_in_column", "A,1\nC,2\nA,3\n", Layout::longFormat,
                  DataErrorNumber::noSuchGroup, 0, 0, "\"B\""},
        ErrorCase{"one_column", "1\n2\n3\n", Layout::sideBySide, DataErrorNumber::tooFewColumns, 0,
                  0, "1 column"},
        ErrorCase{"empty_text", "", Layout::sideBySide, DataErrorNumber::noScores, 0, 0, "empty"},
        ErrorCase{"blank_lines_only", "\r\n\n  \n", Layout::sideBySide, DataErrorNumber::noScores,
                  0, 0, "empty"},
        ErrorCase{"names_only", "pre,post\n", Layout::sideBySide, DataErrorNumber::notANumber, 1, 1,
                  "\"pre\" is not a number"},
        ErrorCase{"unclosed_quote", "1,2\n\"3,4\n5,6\n", Layout::sideBySide,
                  DataErrorNumber::malformedTable, 2, 0, "Row 2: a quoted field is not closed"},
        ErrorCase{"utf16_with_bom",
                  "\xFF\xFE"
                  "1\0,\0"
                  "2\0\n\0"s,
                  Layout::sideBySide, DataErrorNumber::notUtf8Text, 0, 0,
                  "The text is in UTF-16, not UTF-8. Save it as CSV (UTF-8)"},
        ErrorCase{"utf16_big_endian_without_bom",
                  "\0"
                  "1\0,\0"
                  "2\0\n\0"
                  "3\0,\0"
                  "4\0\n"s,
                  Layout::sideBySide, DataErrorNumber::notUtf8Text, 0, 0, "UTF-16"},
        ErrorCase{"binary", "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x01\0"s, Layout::sideBySide,
                  DataErrorNumber::notUtf8Text, 0, 0, "binary file"},
        ErrorCase{"workbook", "PK\x03\x04\x14\0\x06\0"s, Layout::sideBySide,
                  DataErrorNumber::notUtf8Text, 0, 0, "workbook"},
        ErrorCase{"line_end_inside_a_quoted_cell", "1,2\n\"3\n4\",5\n6,7\n", Layout::sideBySide,
                  DataErrorNumber::notANumber, 2, 1, "column 1 (\"Column 1\"): \"3\\n4\" is not"},
        ErrorCase{"megabyte_cell", "1,2\n" + std::string(1 << 20, 'z') + ",3\n5,6\n",
                  Layout::sideBySide, DataErrorNumber::notANumber, 2, 1,
                  ": \"" + std::string(40, 'z') + "...\" (1048576 characters) is not a number"},
        ErrorCase{"long_column_name", std::string(100, 'h') + ",b\n1,2\nx,4\n5,6\n",
                  Layout::sideBySide, DataErrorNumber::notANumber, 3, 1,
                  "Row 3, column 1 (\"" + std::string(40, 'h') +
                      "...\" (100 characters)): \"x\" is not a number"},
        ErrorCase{"latin1_text", "pr\xE9,post\n1,2\n3,4\n", Layout::sideBySide,
                  DataErrorNumber::malformedTable, 1, 0, "not valid UTF-8"}),
    [](const auto& info) { return std::string(info.param.name); });

// What a file is, told from its first bytes: only a whole signature names
// another kind of file, in one whole sentence; bytes that merely begin like
// one are text, read or refused as text.
struct FileKindCase {
    const char* name;
    std::string bytes;
    std::string refusal;  // the whole description; empty: not refused as another kind of file
};

class FileKind : public ::testing::TestWithParam<FileKindCase> {};

TEST_P(FileKind, IsToldByItsWholeSignature) {
    const FileKindCase& c = GetParam();
    std::string refusal;
    try {
        readScoreTable(c.bytes);
    } catch (const DataError& error) {
        if (error.number() == DataErrorNumber::notUtf8Text) refusal = error.description();
    }
    EXPECT_EQ(refusal, c.refusal);
}

const std::string saveAs = " Save it as CSV (UTF-8) or copy and paste the scores.";

INSTANTIATE_TEST_SUITE_P(
    Signatures, FileKind,
    ::testing::Values(
        FileKindCase{
            "workbook", "PK\x03\x04\x14\0\x06\0"s,
            "This is a spreadsheet workbook or another archive, not a table of text." + saveAs},
        FileKindCase{"three_bytes_of_the_archive_signature", "PK\x03,1\n2,3\n4,5\n", ""},
        FileKindCase{"archive_signature_not_at_the_start", "1,PK\x03\x04\n2,3\n4,5\n", ""},
        FileKindCase{"pk_as_a_column_name", "PK,score\n2,3\n4,5\n", ""},
        FileKindCase{"utf16_little_endian",
                     "\xFF\xFE"
                     "1\0,\0"
                     "2\0\n\0"s,
                     "The text is in UTF-16, not UTF-8." + saveAs},
        FileKindCase{"utf16_big_endian",
                     "\xFE\xFF\0"
                     "1\0,\0"
                     "2\0\n"s,
                     "The text is in UTF-16, not UTF-8." + saveAs},
        FileKindCase{"one_byte_of_a_byte_order_mark",
                     "\xFF"
                     "a,b\n1,2\n3,4\n",
                     ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScoreCell, MissingSpellingsAndNumbersAroundThem) {
    for (const char* missing : {"", "  ", "NA", "na", ".", "NaN", "nan", " NA "})
        EXPECT_EQ(readScoreCell(missing).kind, CellKind::missing) << '"' << missing << '"';
    EXPECT_EQ(readScoreCell(" -1.5e2 ").value, -150);
    EXPECT_EQ(readScoreCell("+.5").value, 0.5);
    EXPECT_EQ(readScoreCell("5.").value, 5);
    EXPECT_EQ(readScoreCell("12,5", ',').value, 12.5);
    EXPECT_EQ(readScoreCell("1e-400").kind, CellKind::number);
    // Too small for a double, it reads as the zero of its sign.
    EXPECT_FALSE(std::signbit(readScoreCell("1e-400").value));
    EXPECT_TRUE(std::signbit(readScoreCell("-1e-400").value));
    for (const char* bad : {"12,5", "1.2.3", "--1", "1e", "0x10", "nan(1)", "1 2", "-", "e5"})
        EXPECT_EQ(readScoreCell(bad).kind, CellKind::notANumber) << bad;
    EXPECT_EQ(readScoreCell("12.5", ',').kind, CellKind::notANumber);
}

// A column that holds no number anywhere is a column of names (the window
// then asks whether it is the group column); one number, even among words
// and missing cells, makes it a score column.
TEST(ColumnOfNames, HoldsNoNumberInAnyRow) {
    const ScoreTable table = readScoreTable("group,score,note,mixed\nA,1,x,NA\nB,2,y,3\nA,3,,z\n");
    const std::pair<std::size_t, bool> columns[] = {
        {0, true}, {1, false}, {2, true}, {3, false}, {4, false}};
    for (const auto& [column, noNumbers] : columns)
        EXPECT_EQ(holdsNoNumbers(table, column), noNumbers) << "column " << column;
}

// What the boxes can take: digits, one point, a leading minus; and exactly
// the same double when read back.
TEST(PlainNumberText, ReadsBackExactlyWithoutAnExponent) {
    struct Row {
        double value;
        const char* text;
    };
    const Row rows[] = {{0.5, "0.5"},
                        {18, "18"},
                        {1e-5, "0.00001"},
                        {-2.5e-7, "-0.00000025"},
                        {1.2e20, "120000000000000000000"},
                        {-0.0, "0"},
                        {1000000000.1, "1000000000.1"},
                        {0.1 + 0.2, "0.30000000000000004"}};
    for (const Row& row : rows)
        EXPECT_EQ(plainNumberText(row.value), row.text);
    for (const double value : {5e-324, 1.7976931348623157e308, 1.0 / 3, -123456.789e-10}) {
        const std::string text = plainNumberText(value);
        EXPECT_EQ(text.find_first_not_of("-.0123456789"), std::string::npos) << text;
        double back = 0;
        std::from_chars(text.data(), text.data() + text.size(), back);
        EXPECT_EQ(back, value) << text;
    }
}

}  // namespace
}  // namespace tarnwick::data
