// Two small rules about texts in a table: which numbers the JSON output may
// write bare, and which texts hold a decimal comma the note points out.

#include <gtest/gtest.h>

#include <string_view>

#include "decimal_comma.h"
#include "output_writer.h"

namespace tarnwick::batch::testing {
namespace {

struct TextRule {
    std::string_view text;
    bool holds;
};

void PrintTo(const TextRule& c, std::ostream* out) { *out << '"' << c.text << '"'; }

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
