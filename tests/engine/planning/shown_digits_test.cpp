// Shown digits never claim more than is true: a power is cut down (and never
// to 1) and a found bound rounded outward to 4 significant digits. Checked on
// chosen values and, against exact decimal arithmetic, on many.

#include <gtest/gtest.h>

#include <boost/multiprecision/cpp_dec_float.hpp>
#include <charconv>
#include <cmath>
#include <random>

#include "shown_digits.h"

namespace tarnwick::plan {
namespace {

// 120 decimal digits hold every double in the ranges below exactly.
using Exact = boost::multiprecision::number<boost::multiprecision::cpp_dec_float<120>>;

double readBack(const std::string& text) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

struct Shown {
    const char* name;
    double value;
    const char* text;
};

const Shown powers[] = {
    {"cut_not_rounded", 0.90299, "0.9029"},
    {"exact_target", 0.9, "0.9000"},
    {"just_below_target", std::nextafter(0.9, 0.0), "0.8999"},
    {"almost_one", 0.99999999, "0.9999"},
    // A study of finite size is never certain: within rounding of 1 is below 1.
    {"one_in_double", 1.0, "0.9999"},
    {"next_below_one", std::nextafter(1.0, 0.0), "0.9999"},
    {"tiny", 1e-36, "0.0000"},
    {"zero", 0.0, "0.0000"},
};

const Shown bounds[] = {
    {"rounded_up_not_down", 0.65231, "0.6524"},
    {"exact_in_binary", 0.625, "0.6250"},
    {"carry_into_a_new_digit", 9.9991, "10.00"},
    {"whole_number", 3.0, "3.000"},
    {"large", 12341.0, "12350"},
    {"small", 0.00012341, "0.0001235"},
    {"half_way_goes_up", 1234.5, "1235"},
};

// The same powers as percentages with one decimal, as sentences give them.
const Shown percents[] = {
    {"cut_not_rounded", 0.90299, "90.2"},     {"exact_target", 0.9, "90.0"},
    {"just_below_target", 0.8999975, "89.9"}, {"almost_one", 0.99996, "99.9"},
    {"one_in_double", 1.0, "99.9"},           {"zero", 0.0, "0.0"},
};

class ShownPower : public ::testing::TestWithParam<Shown> {};
TEST_P(ShownPower, IsCutAtTheFourthDecimal) {
    EXPECT_EQ(powerCut(GetParam().value, 4), GetParam().text);
}
INSTANTIATE_TEST_SUITE_P(Cases, ShownPower, ::testing::ValuesIn(powers),
                         [](const auto& info) { return std::string(info.param.name); });

class ShownPercent : public ::testing::TestWithParam<Shown> {};
TEST_P(ShownPercent, IsCutAtTheFirstDecimal) {
    EXPECT_EQ(percentCut(GetParam().value, 1), GetParam().text);
}
INSTANTIATE_TEST_SUITE_P(Cases, ShownPercent, ::testing::ValuesIn(percents),
                         [](const auto& info) { return std::string(info.param.name); });

class ShownBound : public ::testing::TestWithParam<Shown> {};
TEST_P(ShownBound, IsRoundedOutwardToFourSignificantDigits) {
    EXPECT_EQ(boundRoundedOutward(GetParam().value), GetParam().text);
    EXPECT_GE(boundRoundedOutwardValue(GetParam().value), GetParam().value);
    EXPECT_EQ(boundRoundedOutwardValue(GetParam().value), readBack(GetParam().text));
}
INSTANTIATE_TEST_SUITE_P(Cases, ShownBound, ::testing::ValuesIn(bounds),
                         [](const auto& info) { return std::string(info.param.name); });

// The place value of the last of the 4 significant digits of a shown bound.
Exact lastPlace(const std::string& text) {
    const auto point = text.find('.');
    if (point == std::string::npos) {
        return boost::multiprecision::pow(Exact(10),
                                          std::max(0L, static_cast<long>(text.size()) - 4));
    }
    return boost::multiprecision::pow(Exact(10), -static_cast<long>(text.size() - point - 1));
}

TEST(ShownDigits, NeverClaimMoreThanTheExactValue) {
    std::mt19937_64 random(20261207);
    std::uniform_real_distribution<double> unit(0, 1), exponent(-6, 6);
    for (int i = 0; i < 3000; ++i) {
        const double power = unit(random);
        const std::string cut = powerCut(power, 4);
        const Exact shownPower(cut);
        EXPECT_LE(shownPower, Exact(power)) << power;
        EXPECT_GT(shownPower + Exact("0.0001"), Exact(power)) << power;

        const double bound = std::pow(10.0, exponent(random));
        const std::string outward = boundRoundedOutward(bound);
        const Exact shownBound(outward);
        EXPECT_GE(shownBound, Exact(bound)) << bound;
        EXPECT_LT(shownBound - lastPlace(outward), Exact(bound)) << bound << " " << outward;
    }
}

}  // namespace
}  // namespace tarnwick::plan
