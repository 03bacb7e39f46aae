// Every analysis refuses what it cannot answer with a numbered error and a
// sentence, never a crash or a number: a group of fewer than 2, a score
// that is not finite, no spread, unequal pairs, differences beyond the
// double range, and settings out of range. Scores near the largest double
// that do not overflow get the same answer as the same scores scaled down.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "bootstrap_analysis.h"
#include "normal_theory_analysis.h"
#include "rank_analysis.h"
#include "score_error.h"
#include "trimmed_analysis.h"

namespace tarnwick::score_analysis {
namespace {

using Scores = std::vector<double>;
using Analysis = std::function<ScoreResult(const Scores&, const Scores&, const ScoreSettings&)>;

struct Named {
    const char* name;
    bool matched;
    Analysis run;
};

const BootstrapSettings fewReplicates{200, 1};

const Named analyses[] = {
    {"rank_independent", false, [](auto& x, auto& y, auto& s) { return rankIndependent(x, y, s); }},
    {"rank_matched", true, [](auto& x, auto& y, auto& s) { return rankMatched(x, y, s); }},
    {"yuen_independent", false, [](auto& x, auto& y, auto& s) { return yuenIndependent(x, y, s); }},
    {"yuen_matched", true, [](auto& x, auto& y, auto& s) { return yuenMatched(x, y, s); }},
    {"bootstrap_independent", false,
     [](auto& x, auto& y, auto& s) { return bootstrapIndependent(x, y, s, fewReplicates); }},
    {"bootstrap_matched", true,
     [](auto& x, auto& y, auto& s) { return bootstrapMatched(x, y, s, fewReplicates); }},
    {"normal_theory_independent", false,
     [](auto& x, auto& y, auto& s) { return normalTheoryIndependent(x, y, s); }},
    {"normal_theory_matched", true,
     [](auto& x, auto& y, auto& s) { return normalTheoryMatched(x, y, s); }},
};

const ScoreSettings usual{0.05, -1, 1, Hypothesis::equivalence};
const ScoreSettings ratio{0.05, 0.8, 1.25, Hypothesis::equivalence, Scale::ratio};
constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

struct Refusal {
    const char* name;
    Scores x, y;
    ScoreSettings settings;
    ScoreErrorNumber number;
    const char* words;  // a part of the sentence
    bool independentOnly = false, matchedOnly = false;
};

void PrintTo(const Refusal& r, std::ostream* os) { *os << r.name; }

class Refuses : public ::testing::TestWithParam<Refusal> {};

TEST_P(Refuses, WithItsNumberAndSentence) {
    const Refusal& r = GetParam();
    for (const Named& analysis : analyses) {
        if ((r.independentOnly && analysis.matched) || (r.matchedOnly && !analysis.matched))
            continue;
        SCOPED_TRACE(analysis.name);
        try {
            const ScoreResult result = analysis.run(r.x, r.y, r.settings);
            ADD_FAILURE() << "answered with p " << result.p << " and interval " << result.low
                          << ", " << result.high;
        } catch (const ScoreError& e) {
            EXPECT_EQ(e.number(), r.number) << e.description();
            EXPECT_NE(e.description().find(r.words), std::string::npos) << e.description();
        }
    }
}

const Scores three = {1.5, 2.5, 4.0};

INSTANTIATE_TEST_SUITE_P(
    AllAnalyses, Refuses,
    ::testing::Values(
        Refusal{"group_of_one",
                {2.0},
                three,
                usual,
                ScoreErrorNumber::tooFewScores,
                "at least 2 scores in group 1",
                true},
        Refusal{"empty_second_group",
                three,
                {},
                usual,
                ScoreErrorNumber::tooFewScores,
                "group 2, which has 0",
                true},
        Refusal{"one_pair",
                {2.0},
                {1.0},
                usual,
                ScoreErrorNumber::tooFewScores,
                "at least 2 pairs",
                false,
                true},
        Refusal{"unequal_pairs",
                three,
                {1, 2},
                usual,
                ScoreErrorNumber::unequalPairs,
                "group 1 has 3 scores and group 2 has 2",
                false,
                true},
        Refusal{"nan_score",
                {1, nan, 3},
                three,
                usual,
                ScoreErrorNumber::notFinite,
                "Score 2 of group 1"},
        Refusal{"infinite_score",
                three,
                {1, 2, -inf},
                usual,
                ScoreErrorNumber::notFinite,
                "Score 3 of group 2"},
        Refusal{"all_scores_equal",
                {2, 2, 2},
                {2, 2, 2},
                usual,
                ScoreErrorNumber::noSpread,
                "no spread"},
        Refusal{"each_group_constant",
                {1, 1, 1, 1},
                {5, 5, 5},
                usual,
                ScoreErrorNumber::noSpread,
                "within each group",
                true},
        Refusal{"equal_differences",
                {1, 2, 3},
                {0, 1, 2},
                usual,
                ScoreErrorNumber::noSpread,
                "same difference",
                false,
                true},
        // Differences of about 2.6e308 overflow.
        Refusal{"differences_overflow",
                {1.2e308, 1.5e308, 1.3e308},
                {-1.1e308, -1.4e308, -1.2e308},
                usual,
                ScoreErrorNumber::tooLarge,
                "beyond the range of a double"},
        Refusal{"alpha_zero", three, three, {0, -1, 1}, ScoreErrorNumber::invalidSettings, "Alpha"},
        Refusal{
            "alpha_half", three, three, {0.5, -1, 1}, ScoreErrorNumber::invalidSettings, "Alpha"},
        Refusal{
            "alpha_nan", three, three, {nan, -1, 1}, ScoreErrorNumber::invalidSettings, "Alpha"},
        Refusal{"bounds_reversed",
                three,
                three,
                {0.05, 1, -1},
                ScoreErrorNumber::invalidSettings,
                "lower bound must be less"},
        Refusal{"bounds_equal",
                three,
                three,
                {0.05, 0.5, 0.5},
                ScoreErrorNumber::invalidSettings,
                "lower bound must be less"},
        Refusal{"bound_infinite",
                three,
                three,
                {0.05, -inf, 1},
                ScoreErrorNumber::invalidSettings,
                "finite"},
        // The ratio scale: every score has a logarithm, the bounds are
        // ratios above 0, and a ratio's end stays within the doubles.
        Refusal{"ratio_zero_score",
                {1, 0, 3},
                three,
                ratio,
                ScoreErrorNumber::notPositive,
                "Score 2 of group 1 is 0: the ratio scale"},
        Refusal{"ratio_negative_zero_score",
                three,
                {1, 2, -0.0},
                ratio,
                ScoreErrorNumber::notPositive,
                "Score 3 of group 2 is 0:"},
        Refusal{"ratio_negative_score",
                three,
                {-2.5, 2, 3},
                ratio,
                ScoreErrorNumber::notPositive,
                "Score 1 of group 2 is -2.5"},
        Refusal{"ratio_nan_score",
                {1, nan, 3},
                three,
                ratio,
                ScoreErrorNumber::notFinite,
                "Score 2 of group 1 is not a finite"},
        Refusal{"ratio_bound_zero",
                three,
                three,
                {0.05, 0, 1.25, Hypothesis::equivalence, Scale::ratio},
                ScoreErrorNumber::invalidSettings,
                "ratios greater than 0"},
        Refusal{"ratio_bounds_negative",
                three,
                three,
                {0.05, -1.25, -0.8, Hypothesis::equivalence, Scale::ratio},
                ScoreErrorNumber::invalidSettings,
                "ratios greater than 0"},
        Refusal{"ratio_bounds_reversed",
                three,
                three,
                {0.05, 1.25, 0.8, Hypothesis::equivalence, Scale::ratio},
                ScoreErrorNumber::invalidSettings,
                "lower bound must be less"},
        Refusal{"ratio_bounds_meet_on_the_logs",
                three,
                three,
                {0.05, 1e300, std::nextafter(1e300, inf), Hypothesis::equivalence, Scale::ratio},
                ScoreErrorNumber::invalidSettings,
                "too close together to tell apart on the log scale"},
        // Logs near -690 against logs near +690: a ratio of about e^-1380.
        Refusal{"ratio_beyond_doubles",
                {1e-300, 2e-300, 4e-300},
                {1e300, 3e300, 2e300},
                ratio,
                ScoreErrorNumber::tooLarge,
                "beyond the range of a double"}),
    [](const auto& info) { return std::string(info.param.name); });

// Winsorising leaves 2, 2, 2, 2, 2 in both groups (matched: among the
// differences 1, 2, 2, 2, 3): only Yuen's test has no standard error; the
// others answer.
TEST(Yuen, RefusesWinsorisedScoresWithoutSpread) {
    const Scores x = {1, 2, 2, 2, 3}, y = {4, 5, 5, 5, 6}, zeros = {0, 0, 0, 0, 0};
    const auto expectRefusal = [](const std::function<ScoreResult()>& run) {
        try {
            run();
            ADD_FAILURE() << "answered";
        } catch (const ScoreError& e) {
            EXPECT_EQ(e.number(), ScoreErrorNumber::noSpread);
            EXPECT_NE(e.description().find("winsorised"), std::string::npos);
        }
    };
    expectRefusal([&] { return yuenIndependent(x, y, usual); });
    expectRefusal([&] { return yuenMatched(x, zeros, usual); });
    EXPECT_NO_THROW(normalTheoryIndependent(x, y, usual));
    EXPECT_NO_THROW(rankIndependent(x, y, usual));
    EXPECT_NO_THROW(normalTheoryMatched(x, zeros, usual));
}

// Scaling scores and bounds by a power of two is exact, so an analysis that
// neither overflows nor underflows on the way gives the very same p values
// and the interval scaled: at 2^1000 (scores near 1e301, squares far beyond
// the double range) and at 2^-1000 (squares far below the smallest double).
TEST(LargeAndTinyScores, GiveTheAnswersOfOrdinaryOnes) {
    const Scores x = {1.9, 2.3, 2.2, 3.1, 2.8, 2.0, 2.6, 3.4, 2.5, 1.7, 2.9, 2.4};
    const Scores y = {2.1, 1.8, 2.4, 2.0, 1.6, 2.7, 2.2, 1.5, 2.3, 1.9, 2.6, 2.0};
    for (const Named& analysis : analyses) {
        SCOPED_TRACE(analysis.name);
        const ScoreResult ordinary = analysis.run(x, y, {0.05, -0.4, 0.6});
        for (const int exponent : {1000, -1000}) {
            SCOPED_TRACE(exponent);
            const auto scaled = [exponent](Scores s) {
                for (double& v : s)
                    v = std::ldexp(v, exponent);
                return s;
            };
            const ScoreResult r =
                analysis.run(scaled(x), scaled(y),
                             {0.05, std::ldexp(-0.4, exponent), std::ldexp(0.6, exponent)});
            EXPECT_EQ(r.pLower, ordinary.pLower);
            EXPECT_EQ(r.pUpper, ordinary.pUpper);
            EXPECT_EQ(r.low, std::ldexp(ordinary.low, exponent));
            EXPECT_EQ(r.high, std::ldexp(ordinary.high, exponent));
            EXPECT_EQ(r.estimate, std::ldexp(ordinary.estimate, exponent));
        }
    }
}

}  // namespace
}  // namespace tarnwick::score_analysis
