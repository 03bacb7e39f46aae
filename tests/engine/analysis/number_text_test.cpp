#include "number_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "run_time_error.h"

namespace tarnwick {
namespace {

struct ReadRow {
    const char* name;
    const char* text;
    double value;
    friend void PrintTo(const ReadRow& row, std::ostream* out) { *out << row.name; }
};

class TextToNumberReads : public testing::TestWithParam<ReadRow> {};

TEST_P(TextToNumberReads, Value) {
    const double read = textToNumber(GetParam().text);
    EXPECT_EQ(read, GetParam().value);
    EXPECT_EQ(std::signbit(read), std::signbit(GetParam().value));
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, TextToNumberReads,
    testing::Values(
        ReadRow{"Decimal", "1.5", 1.5}, ReadRow{"SpacesAround", "  -3 ", -3.0},
        ReadRow{"LeadingPoint", ".5", 0.5}, ReadRow{"TrailingPoint", "5.", 5.0},
        ReadRow{"PlusSign", "+7", 7.0}, ReadRow{"LeadingZeros", "0012", 12.0},
        ReadRow{"NegativeZero", "-0", -0.0}, ReadRow{"Exponent", "2.5E-3", 0.0025},
        ReadRow{"SignedExponent", "1e+2", 100.0},
        ReadRow{"LargestDouble", "1.7976931348623157e308", std::numeric_limits<double>::max()},
        ReadRow{"UnderflowIsZero", "1e-400", 0.0},
        ReadRow{"Subnormal", "4.9406564584124654e-324", std::numeric_limits<double>::denorm_min()}),
    [](const auto& info) { return std::string(info.param.name); });

// 400 nines: far beyond the largest double without any exponent.
const std::string fourHundredNines(400, '9');

struct FailRow {
    const char* name;
    const char* text;
    ErrorNumber error;
    friend void PrintTo(const FailRow& row, std::ostream* out) { *out << row.name; }
};

class TextToNumberFails : public testing::TestWithParam<FailRow> {};

TEST_P(TextToNumberFails, WithError) {
    try {
        textToNumber(GetParam().text);
        FAIL() << "read \"" << GetParam().text << "\" as a number";
    } catch (const RunTimeError& error) {
        EXPECT_EQ(error.kind(), GetParam().error);
    }
}

INSTANTIATE_TEST_SUITE_P(
    NotNumbers, TextToNumberFails,
    testing::Values(FailRow{"Empty", "", ErrorNumber::typeMismatch},
                    FailRow{"Blanks", "   ", ErrorNumber::typeMismatch},
                    FailRow{"LoneMinus", "-", ErrorNumber::typeMismatch},
                    FailRow{"LonePoint", ".", ErrorNumber::typeMismatch},
                    FailRow{"MinusPoint", "-.", ErrorNumber::typeMismatch},
                    FailRow{"DigitBeforeMinus", "3-5", ErrorNumber::typeMismatch},
                    FailRow{"DecimalComma", "1,5", ErrorNumber::typeMismatch},
                    FailRow{"TwoPoints", "1.2.3", ErrorNumber::typeMismatch},
                    FailRow{"Infinity", "inf", ErrorNumber::typeMismatch},
                    FailRow{"NotANumber", "nan", ErrorNumber::typeMismatch},
                    FailRow{"Hexadecimal", "0x10", ErrorNumber::typeMismatch},
                    FailRow{"BareExponent", "1e", ErrorNumber::typeMismatch},
                    FailRow{"ExponentOnly", "e5", ErrorNumber::typeMismatch},
                    FailRow{"SpaceAfterSign", "- 5", ErrorNumber::typeMismatch},
                    FailRow{"TooLarge", "1e400", ErrorNumber::overflow},
                    FailRow{"TooLargeNegative", "-2e308", ErrorNumber::overflow},
                    FailRow{"ManyDigits", fourHundredNines.c_str(), ErrorNumber::overflow},
                    FailRow{"HugeExponent", "1e99999999999999999999", ErrorNumber::overflow}),
    [](const auto& info) { return std::string(info.param.name); });

struct WriteRow {
    const char* name;
    double value;
    const char* text;
    friend void PrintTo(const WriteRow& row, std::ostream* out) { *out << row.name; }
};

class NumberToTextWrites : public testing::TestWithParam<WriteRow> {};

TEST_P(NumberToTextWrites, Text) { EXPECT_EQ(numberToText(GetParam().value), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Numbers, NumberToTextWrites,
    testing::Values(WriteRow{"WholeNumber", 18, "18"}, WriteRow{"Half", 0.5, "0.5"},
                    WriteRow{"NegativeZero", -0.0, "0"},
                    WriteRow{"FifteenDigits", 1.0 / 3, "0.333333333333333"},
                    WriteRow{"RoundedAtFifteen", -2.0 / 3, "-0.666666666666667"},
                    WriteRow{"SmallestPlain", 0.00001, "0.00001"},
                    WriteRow{"BelowPlainRange", 1.5e-6, "1.5E-06"},
                    WriteRow{"LargestPlain", 999999999999999.0, "999999999999999"},
                    WriteRow{"AbovePlainRange", 1e15, "1E+15"},
                    WriteRow{"RoundsUpIntoExponentForm", 999999999999999.9, "1E+15"},
                    WriteRow{"ThreeDigitExponent", -1.25e300, "-1.25E+300"},
                    WriteRow{"FractionalDF", 22.0125973046995, "22.0125973046995"}),
    [](const auto& info) { return std::string(info.param.name); });

class ShownValueRounds : public testing::TestWithParam<WriteRow> {};

TEST_P(ShownValueRounds, Text) { EXPECT_EQ(shownValue(GetParam().value), GetParam().text); }

// Halves here are exact binary fractions, so they really are ties.
INSTANTIATE_TEST_SUITE_P(
    FifthDecimal, ShownValueRounds,
    testing::Values(WriteRow{"HalfToEvenDown", 0.015625, "0.01562"},
                    WriteRow{"HalfToEvenUp", 0.046875, "0.04688"},
                    WriteRow{"NegativeHalf", -0.984375, "-0.98438"},
                    // 0.000015 is stored a little above the half, 0.999995 a little below.
                    WriteRow{"NotQuiteHalfAbove", 0.000015, "0.00002"},
                    WriteRow{"NotQuiteHalfBelow", 0.999995, "0.99999"},
                    WriteRow{"CarryIntoUnits", 9.999996, "10"},
                    WriteRow{"TinyNegativeShowsZero", -0.000004, "0"},
                    WriteRow{"RootOfOnePointTwoFive", 1.118033988749895, "1.11803"},
                    WriteRow{"WholeNumberUnchanged", 33, "33"},
                    WriteRow{"LargeKeepsFifteenDigits", 123456789.123456789, "123456789.12346"},
                    WriteRow{"BeyondRoundingRange", 1e300, "1E+300"},
                    WriteRow{"SmallestNonZeroShown", 0.000005000000000000001, "0.00001"},
                    WriteRow{"SmallestNegativeShown", -0.00001, "-0.00001"},
                    WriteRow{"TrailingZerosOfTheDecimalsDropped", -2.50000049, "-2.5"},
                    WriteRow{"ZeroUnitsBeforeThePoint", 0.0123449, "0.01234"},
                    WriteRow{"FifteenDigitsShown", 9999999999.99999, "9999999999.99999"},
                    WriteRow{"SixteenDigitsRoundedToFifteen", 12345678901.234567,
                             "12345678901.2346"},
                    WriteRow{"RoundsUpToTenBillion", 9999999999.999996, "10000000000"}),
    [](const auto& info) { return std::string(info.param.name); });

// The standard library's fixed-precision conversion rounds the exact binary
// value, ties to even: an oracle independent of how shownValue rounds. Values
// on both sides of the fast path's limit (about 4.5e10), near-ties and their
// neighbours one ulp away (the double nearest a half is rarely exact).
TEST(NumberText, ShownValueAgreesWithExactFixedRounding) {
    const auto expected = [](double value) {
        char buffer[400];
        const auto end =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 5).ptr;
        double rounded = 0;
        std::from_chars(buffer, end, rounded);
        return numberToText(rounded);
    };
    std::mt19937_64 random(20261207);
    std::uniform_real_distribution<double> exponent(-9, 12);
    std::uniform_int_distribution<long long> hundredThousandths(0, 2'000'000'000'000LL);
    for (int i = 0; i < 100'000; ++i) {
        const double anyValue = std::pow(10.0, exponent(random)) * (i % 2 == 0 ? 1 : -1);
        const double tie = (static_cast<double>(hundredThousandths(random)) + 0.5) / 1e5;
        for (double value : {anyValue, tie, std::nextafter(tie, 0.0), std::nextafter(tie, 1e300)}) {
            ASSERT_EQ(shownValue(value), expected(value)) << std::hexfloat << value;
        }
    }
}

// A user whose locale writes "1,5" still types and reads "1.5".
TEST(NumberText, IgnoresTheGlobalLocale) {
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed (tools/install-deps makes it)";
    }
    ASSERT_EQ(std::string(std::localeconv()->decimal_point), ",");
    EXPECT_EQ(textToNumber("1.5"), 1.5);
    EXPECT_EQ(numberToText(0.25), "0.25");
    EXPECT_EQ(shownValue(2.5), "2.5");
    std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace tarnwick
