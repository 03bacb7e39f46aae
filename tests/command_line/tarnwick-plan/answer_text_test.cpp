// Shown digits never claim more than is true: a power is cut down at the
// fourth decimal and a found bound rounded outward to 4 significant digits.
// Checked on chosen values and, against exact decimal arithmetic, on many.

#include <gtest/gtest.h>

#include <boost/multiprecision/cpp_dec_float.hpp>
#include <cmath>
#include <random>

#include "answer_text.h"

namespace tarnwick::planner {
namespace {

// 120 decimal digits hold every double in the ranges below exactly.
using Exact = boost::multiprecision::number<boost::multiprecision::cpp_dec_float<120>>;

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
    {"one", 1.0, "1.0000"},
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

class ShownPower : public ::testing::TestWithParam<Shown> {};
TEST_P(ShownPower, IsCutAtTheFourthDecimal) {
    EXPECT_EQ(powerCutAtFourDecimals(GetParam().value), GetParam().text);
}
INSTANTIATE_TEST_SUITE_P(Cases, ShownPower, ::testing::ValuesIn(powers),
                         [](const auto& info) { return std::string(info.param.name); });

class ShownBound : public ::testing::TestWithParam<Shown> {};
TEST_P(ShownBound, IsRoundedOutwardToFourSignificantDigits) {
    EXPECT_EQ(boundRoundedOutward(GetParam().value), GetParam().text);
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
        const std::string cut = powerCutAtFourDecimals(power);
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

// A power too small to show at one decimal is said to be under it, never
// written as 0.0% unless it is 0.
struct SentencePower {
    double power;
    const char* phrase;
};

class PowerInTheSentence : public ::testing::TestWithParam<SentencePower> {};

TEST_P(PowerInTheSentence, SaysHowSmallItIs) {
    Request request;
    request.question = Question::power;
    request.study.lower = -0.5;
    request.study.upper = 0.5;
    request.study.sd = 1;
    request.sizes = {10, 10};
    Answer shown;
    shown.sizes = request.sizes;
    shown.lower = -0.5;
    shown.upper = 0.5;
    shown.power = GetParam().power;
    const std::string sentence = answerSentence(request, shown, Digits::shown);
    EXPECT_NE(sentence.find(GetParam().phrase), std::string::npos) << sentence;
}

const SentencePower sentencePowers[] = {
    {1e-36, "under 0.1% power"},
    {0.00099, "under 0.1% power"},
    {0.001, "give 0.1% power"},
    {0, "give 0.0% power"},
    {0.90312, "give 90.3% power"},
};
INSTANTIATE_TEST_SUITE_P(Cases, PowerInTheSentence, ::testing::ValuesIn(sentencePowers));

}  // namespace
}  // namespace tarnwick::planner
