// Small rules about texts in a table: which fields the CSV output quotes,
// which numbers the JSON output may write bare, and which texts hold a decimal
// comma the note points out.

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "decimal_comma.h"
#include "output_writer.h"

namespace tarnwick::batch::testing {
namespace {

struct TextRule {
    std::string_view text;
    bool holds;
};

void PrintTo(const TextRule& c, std::ostream* out) { *out << '"' << c.text << '"'; }

struct CsvField {
    std::string_view text, written;
};

void PrintTo(const CsvField& c, std::ostream* out) { *out << '"' << c.text << '"'; }

class CsvQuoting : public ::testing::TestWithParam<CsvField> {};

// The line OutputWriter writes for a row of the one field, after the header.
std::string csvLineOf(std::string_view text) {
    std::FILE* file = std::tmpfile();
    EXPECT_NE(file, nullptr);
    if (file == nullptr) return {};
    table_io::OutputWriter writer(file, table_io::OutputFormat::csv, {"h"});
    writer.writeRow({table_io::Field{text}});
    writer.finish();
    std::rewind(file);
    std::string written;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file))
        written += static_cast<char>(c);
    std::fclose(file);
    return written.substr(2);  // after "h\n"
}

// What a writer of `format` puts in a file for columns "a" and "b".
std::string writtenAs(table_io::OutputFormat format,
                      const std::function<void(table_io::OutputWriter&)>& write) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::tmpfile(), std::fclose);
    EXPECT_NE(file, nullptr);
    if (file == nullptr) return {};
    table_io::OutputWriter writer(file.get(), format, {"a", "b"});
    write(writer);
    writer.finish();
    std::rewind(file.get());
    std::string written;
    for (int c = std::fgetc(file.get()); c != EOF; c = std::fgetc(file.get()))
        written += static_cast<char>(c);
    return written;
}

// An answer's fields as the programs give them: each says whether it is a number.
struct MarkedField {
    std::string text;
    bool number = false;
};

TEST(OutputFormats, OneWriterForTablesAndText) {
    using table_io::OutputFormat;
    const std::vector<MarkedField> row = {{"0.5", true}, {"0.5", false}};
    const auto writeRow = [&](table_io::OutputWriter& writer) { writer.writeRow(row); };
    EXPECT_EQ(writtenAs(OutputFormat::csv, writeRow), "a,b\n0.5,0.5\n");
    EXPECT_EQ(writtenAs(OutputFormat::jsonLines, writeRow), "{\"a\":0.5,\"b\":\"0.5\"}\n");
    // Text has no header: the answer's lines as they stand.
    const auto writeText = [](table_io::OutputWriter& writer) {
        writer.writeText("Study 1\n  ratio 0.5\n");
        writer.writeText("Study 2\n");
    };
    EXPECT_EQ(writtenAs(OutputFormat::text, writeText), "Study 1\n  ratio 0.5\nStudy 2\n");
    // A row where text is written, or text in a table, is the program's mistake.
    EXPECT_THROW(writtenAs(OutputFormat::text, writeRow), std::logic_error);
    EXPECT_THROW(writtenAs(OutputFormat::csv, writeText), std::logic_error);
}

TEST_P(CsvQuoting, QuotesExactlyTheFieldsThatNeedIt) {
    EXPECT_EQ(csvLineOf(GetParam().text), std::string(GetParam().written) + "\n");
}

// A comma, a quote or a line break anywhere in the field, first and last
// characters included, needs quotes; quotes inside are doubled.
const CsvField csvFields[] = {
    {"", ""},
    {"-2.23607", "-2.23607"},
    {"Study 1; pilot", "Study 1; pilot"},
    {"Study 1, pilot", "\"Study 1, pilot\""},
    {",", "\",\""},
    {"end,", "\"end,\""},
    {"say \"yes\"", "\"say \"\"yes\"\"\""},
    {"\"", "\"\"\"\""},
    {"two\nlines", "\"two\nlines\""},
    {"carriage\r", "\"carriage\r\""},
    {"tab\tinside", "tab\tinside"},
};

INSTANTIATE_TEST_SUITE_P(Cases, CsvQuoting, ::testing::ValuesIn(csvFields));

class JsonNumber : public ::testing::TestWithParam<TextRule> {};

TEST_P(JsonNumber, FollowsTheJsonGrammar) {
    EXPECT_EQ(table_io::isJsonNumber(GetParam().text), GetParam().holds);
}

// A bare text that is not a JSON number would make the line unreadable.
const TextRule jsonNumbers[] = {
    {"0", true},     {"-0", true},     {"-2.23607", true}, {"18", true},   {"1E+15", true},
    {"1e-5", true},  {"0.5e3", true},  {"", false},        {"-", false},   {"01", false},
    {"1.", false},   {".5", false},    {"1e", false},      {"1e+", false}, {"+1", false},
    {"0x1A", false}, {"inf", false},   {"NaN", false},     {"1 ", false},  {"2.5E", false},
    {"-e5", false},  {"1.5.2", false},
};

INSTANTIATE_TEST_SUITE_P(Cases, JsonNumber, ::testing::ValuesIn(jsonNumbers));

class DecimalComma : public ::testing::TestWithParam<TextRule> {};

TEST_P(DecimalComma, IsACommaBetweenTwoDigits) {
    EXPECT_EQ(table_io::hasDecimalComma(GetParam().text), GetParam().holds);
}

const TextRule decimalCommas[] = {
    {"1,5", true},  {"-0,25", true}, {"12,0e3", true}, {"1.5", false},
    {",5", false},  {"5,", false},   {"a,b", false},   {"1, 5", false},
    {"1,b", false}, {"n/a,", false}, {",", false},     {"", false},
};

INSTANTIATE_TEST_SUITE_P(Cases, DecimalComma, ::testing::ValuesIn(decimalCommas));

TEST(DecimalComma, EveryCommaBecomesAPoint) {
    std::string out = "earlier text that is replaced";
    table_io::withDecimalPoints("1,5e3,", out);
    EXPECT_EQ(out, "1.5e3.");
}

}  // namespace
}  // namespace tarnwick::batch::testing
