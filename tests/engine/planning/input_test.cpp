// Input that has no answer gets its numbered sentence, never a number; and
// the searches' edges: a second group's size from a ratio, the cap, and a
// true difference outside the bounds for a plain power question.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "plan.h"

namespace tarnwick::plan {
namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

Study typical() { return Study{Design::independent, 0.05, -0.5, 0.5, 0, 1}; }

template <class Change>
Study changed(Change change) {
    Study s = typical();
    change(s);
    return s;
}

struct RefusalRow {
    const char* name;
    std::function<void()> ask;
    int number;
    const char* wordsInSentence;
};

std::string rowName(const testing::TestParamInfo<RefusalRow>& info) { return info.param.name; }

class Refusal : public testing::TestWithParam<RefusalRow> {};

TEST_P(Refusal, GivesItsNumberAndSentence) {
    const RefusalRow& row = GetParam();
    try {
        row.ask();
        FAIL() << "answered instead of refusing";
    } catch (const PlanError& e) {
        EXPECT_EQ(e.number(), row.number);
        EXPECT_NE(e.description().find(row.wordsInSentence), std::string::npos) << e.description();
        EXPECT_EQ(e.description(), e.what());
    }
}

const Sizes ten{10, 10};

std::vector<RefusalRow> refusals() {
    return {
        RefusalRow{"alpha_zero", [] { power(changed([](Study& s) { s.alpha = 0; }), ten); },
                   error::alpha, "Alpha"},
        RefusalRow{"alpha_one_half", [] { power(changed([](Study& s) { s.alpha = 0.5; }), ten); },
                   error::alpha, "Alpha"},
        RefusalRow{"alpha_nan", [] { smallestSize(changed([](Study& s) { s.alpha = nan; }), 0.8); },
                   error::alpha, "Alpha"},
        RefusalRow{"bounds_equal",
                   [] { power(changed([](Study& s) { s.lower = s.upper = 0.5; }), ten); },
                   error::bounds, "below the upper"},
        RefusalRow{
            "bounds_reversed",
            [] { smallestSize(changed([](Study& s) { std::swap(s.lower, s.upper); }), 0.8); },
            error::bounds, "below the upper"},
        RefusalRow{"bound_infinite", [] { power(changed([](Study& s) { s.upper = inf; }), ten); },
                   error::bounds, "finite"},
        RefusalRow{"sd_zero", [] { power(changed([](Study& s) { s.sd = 0; }), ten); }, error::sd,
                   "SD"},
        RefusalRow{"sd_infinite",
                   [] { smallestBound(changed([](Study& s) { s.sd = inf; }), ten, 0.8); },
                   error::sd, "SD"},
        RefusalRow{"sd_nan", [] { smallestSize(changed([](Study& s) { s.sd = nan; }), 0.8); },
                   error::sd, "SD"},
        RefusalRow{"difference_nan",
                   [] { power(changed([](Study& s) { s.difference = nan; }), ten); },
                   error::difference, "finite"},
        RefusalRow{"one_per_group",
                   [] {
                       power(typical(), {1, 10});
                   },
                   error::size, "at least 2"},
        RefusalRow{"one_pair",
                   [] {
                       power(changed([](Study& s) { s.design = Design::matched; }), {1, 0});
                   },
                   error::size, "pairs"},
        RefusalRow{"size_not_whole", [] { (void)wholeSize(12.5); }, error::size, "whole"},
        RefusalRow{"size_nan", [] { (void)wholeSize(nan); }, error::size, "whole"},
        RefusalRow{"size_above_maximum",
                   [] {
                       power(typical(), {10, maxSize + 1});
                   },
                   error::sizeAboveMaximum, "10,000,000"},
        RefusalRow{"typed_size_above_maximum", [] { (void)wholeSize(2e7); },
                   error::sizeAboveMaximum, "10,000,000"},
        RefusalRow{"target_at_alpha", [] { smallestSize(typical(), 0.05); }, error::targetPower,
                   "above alpha"},
        RefusalRow{"target_one", [] { smallestBound(typical(), ten, 1); }, error::targetPower,
                   "below 1"},
        RefusalRow{"difference_on_bound",
                   [] { smallestSize(changed([](Study& s) { s.difference = 0.5; }), 0.8); },
                   error::difference, "must lie inside the bounds"},
        RefusalRow{"difference_outside",
                   [] { smallestSize(changed([](Study& s) { s.difference = -0.7; }), 0.8); },
                   error::difference, "must lie inside the bounds"},
        RefusalRow{"ratio_zero", [] { smallestSize(typical(), 0.8, 0); }, error::ratio, "ratio"},
        RefusalRow{"ratio_nan", [] { smallestSize(typical(), 0.8, nan); }, error::ratio, "ratio"},
        RefusalRow{"ratio_beyond_the_cap", [] { smallestSize(typical(), 0.8, 1e8); }, error::ratio,
                   "too extreme"},
        RefusalRow{"no_size_up_to_the_cap",
                   [] {
                       smallestSize(changed([](Study& s) {
                                        s.lower = -1e-4;
                                        s.upper = 1e-4;
                                    }),
                                    0.8);
                   },
                   error::sizeNotReached, "10,000,000"},
    };
}

INSTANTIATE_TEST_SUITE_P(Input, Refusal, testing::ValuesIn(refusals()), rowName);

// The cap is found by doubling and one evaluation at the cap, not by walking.
TEST(SizeSearch, RefusesBeyondTheCapQuickly) {
    Study narrow = typical();
    narrow.lower = -1e-4;
    narrow.upper = 1e-4;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(smallestSize(narrow, 0.8), PlanError);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

// Just inside the cap is still answered.
TEST(SizeSearch, AnswersJustBelowTheCap) {
    Study narrow = typical();
    narrow.lower = -0.0014;
    narrow.upper = 0.0014;
    const SizeAnswer answer = smallestSize(narrow, 0.8);
    EXPECT_GT(answer.sizes.n1, 5'000'000);
    EXPECT_LE(answer.sizes.n1, maxSize);
    EXPECT_GE(answer.power, 0.8);
}

// A small ratio starts the search at the first n1 whose second group has 2.
TEST(SizeSearch, SmallRatioKeepsTheSecondGroupAtTwoOrMore) {
    Study wide = typical();
    wide.lower = -30;
    wide.upper = 30;
    const SizeAnswer answer = smallestSize(wide, 0.8, 0.1);
    EXPECT_EQ(answer.sizes, (Sizes{11, 2}));  // ceil(0.1 * 11) = 2
}

TEST(SecondGroupSize, RoundsOnlyRealFractions) {
    EXPECT_EQ(secondGroupSize(1.1, 10), 11);  // 1.1 * 10 is 11.000000000000002 in doubles
    EXPECT_EQ(secondGroupSize(1.5, 3), 5);
    EXPECT_EQ(secondGroupSize(0.5, 7), 4);
    EXPECT_EQ(secondGroupSize(1, 1234567), 1234567);
}

TEST(WholeSize, TakesWholeNumbersInRange) {
    EXPECT_EQ(wholeSize(2), 2);
    EXPECT_EQ(wholeSize(1e7), maxSize);
}

// A plain power question accepts a true difference outside the bounds; the
// power is then below alpha.
TEST(Power, DifferenceOutsideTheBoundsIsBelowAlpha) {
    Study outside = typical();
    outside.difference = 0.6;
    const double p = power(outside, {40, 40});
    EXPECT_GT(p, 0);
    EXPECT_LT(p, outside.alpha);
}

// The matched design reads n2 not at all.
TEST(Power, MatchedDesignIgnoresTheSecondSize) {
    Study pairs = typical();
    pairs.design = Design::matched;
    EXPECT_EQ(power(pairs, {30, 0}), power(pairs, {30, 7}));
}

// The bound search is about 0, so the sign of the difference does not matter.
TEST(SmallestBound, SymmetricInTheDifference) {
    Study shifted = typical();
    shifted.difference = 0.3;
    const double up = smallestBound(shifted, {40, 40}, 0.9).bound;
    shifted.difference = -0.3;
    EXPECT_NEAR(smallestBound(shifted, {40, 40}, 0.9).bound, up, 1e-12 * up);
    EXPECT_GT(up, 0.3);
}

}  // namespace
}  // namespace tarnwick::plan
