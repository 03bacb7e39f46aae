// The bootstrap-t analysis by what it promises: its 90% interval covers the
// true difference about 90% of the time, missing about 5% on each side,
// for normal scores with unequal SDs and for skewed (exponential) ones,
// independent and matched; the same seed gives the same numbers bit for
// bit and another seed other numbers; the interval lies inside the bounds
// exactly when both equivalence p values are below alpha; and replicates
// without spread give infinite t*, not NaN.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "bootstrap_analysis.h"
#include "replicate_stream.h"
#include "score_error.h"

namespace tarnwick::score_analysis {
namespace {

enum class Scores { normalUnequalSds, exponential };

struct CoverageCase {
    const char* name;
    Scores scores;
    bool matched;
};

void PrintTo(const CoverageCase& c, std::ostream* os) { *os << c.name; }

class Coverage : public ::testing::TestWithParam<CoverageCase> {};

// 1,000 studies of 30 a group (or 30 pairs), B = 499 each. With true
// coverage 0.90 the count covered is binomial with SD 0.0095, each side's
// misses with SD 0.0069; the bounds are 3.7 SDs wide (a false alarm about
// once in 5,000 runs). The bootstrap-t is second-order accurate, so the
// skewed scores stay close to nominal on each side as well.
TEST_P(Coverage, NinetyPercentIntervalCoversAtAboutTheNominalRate) {
    const CoverageCase& c = GetParam();
    std::mt19937_64 engine(20240607);
    std::normal_distribution<double> first(0.5, 1), second(0, 2);
    std::exponential_distribution<double> exponential(1.0);
    const double truth = c.scores == Scores::normalUnequalSds ? 0.5 : 1.0;
    const int studies = 1000;
    int covered = 0, belowLow = 0, aboveHigh = 0;
    for (int study = 0; study < studies; ++study) {
        std::vector<double> x(30), y(30);
        for (std::size_t i = 0; i < x.size(); ++i) {
            if (c.scores == Scores::normalUnequalSds) {
                x[i] = first(engine);
                y[i] = second(engine);
            } else {
                x[i] = 2 * exponential(engine);
                y[i] = exponential(engine);
            }
        }
        const ScoreSettings settings{0.05, -1, 1, Hypothesis::equivalence};
        const BootstrapSettings bootstrap{499, static_cast<std::uint64_t>(study) + 1};
        const ScoreResult r = c.matched ? bootstrapMatched(x, y, settings, bootstrap)
                                        : bootstrapIndependent(x, y, settings, bootstrap);
        if (truth < r.low)
            ++belowLow;
        else if (truth > r.high)
            ++aboveHigh;
        else
            ++covered;
    }
    EXPECT_NEAR(covered / double(studies), 0.90, 0.035);
    EXPECT_NEAR(belowLow / double(studies), 0.05, 0.025);
    EXPECT_NEAR(aboveHigh / double(studies), 0.05, 0.025);
}

INSTANTIATE_TEST_SUITE_P(
    Simulated, Coverage,
    ::testing::Values(CoverageCase{"normal_unequal_sds_independent", Scores::normalUnequalSds,
                                   false},
                      CoverageCase{"exponential_independent", Scores::exponential, false},
                      CoverageCase{"exponential_matched", Scores::exponential, true}),
    [](const auto& info) { return std::string(info.param.name); });

const std::vector<double> groupA = {4.1, 5.3, 3.8, 6.0, 5.5, 4.9, 5.1, 4.4, 6.3, 5.0, 4.7, 5.8};
const std::vector<double> groupB = {4.6, 4.0, 5.2, 4.3, 3.9, 4.8, 5.0, 4.1, 4.4, 3.6, 4.9, 4.2};

void expectSameBits(const ScoreResult& a, const ScoreResult& b) {
    EXPECT_EQ(a.estimate, b.estimate);
    EXPECT_EQ(a.low, b.low);
    EXPECT_EQ(a.high, b.high);
    EXPECT_EQ(a.pLower, b.pLower);
    EXPECT_EQ(a.pUpper, b.pUpper);
    EXPECT_EQ(a.notes.text, b.notes.text);
}

TEST(Bootstrap, SameSeedSameNumbersOtherSeedOtherNumbers) {
    const ScoreSettings settings{0.05, -0.5, 1.5, Hypothesis::equivalence};
    for (const bool matched : {false, true}) {
        SCOPED_TRACE(matched ? "matched" : "independent");
        const auto run = [&](std::uint64_t seed) {
            const BootstrapSettings bootstrap{2000, seed};
            return matched ? bootstrapMatched(groupA, groupB, settings, bootstrap)
                           : bootstrapIndependent(groupA, groupB, settings, bootstrap);
        };
        const ScoreResult first = run(defaultBootstrapSeed), again = run(defaultBootstrapSeed);
        expectSameBits(first, again);
        EXPECT_EQ(first.notes.seed, defaultBootstrapSeed);
        EXPECT_EQ(first.notes.replicates, 2000);
        const ScoreResult other = run(defaultBootstrapSeed + 1);
        EXPECT_EQ(other.estimate, first.estimate);  // the scores' own mean difference
        EXPECT_NE(other.low, first.low);
        EXPECT_NE(other.high, first.high);
        EXPECT_NE(other.notes.text, first.notes.text);  // it names the seed
    }
}

// The interval's order statistics are chosen by the very comparison the p
// values make: a bound just inside an end of the interval is rejected at
// alpha, one just outside is not (an order statistic off by one would move
// the end to the neighbouring t*, far more than these nudges).
TEST(Bootstrap, RejectsABoundExactlyWhenTheIntervalExcludesIt) {
    const BootstrapSettings bootstrap{999, 7};
    for (const bool matched : {false, true}) {
        SCOPED_TRACE(matched ? "matched" : "independent");
        const auto run = [&](double lower, double upper) {
            const ScoreSettings settings{0.05, lower, upper, Hypothesis::equivalence};
            return matched ? bootstrapMatched(groupA, groupB, settings, bootstrap)
                           : bootstrapIndependent(groupA, groupB, settings, bootstrap);
        };
        const ScoreResult r = run(-100, 100);
        const double nudge = 1e-9;
        EXPECT_LT(run(r.low - nudge, 100).pLower, 0.05);
        EXPECT_GE(run(r.low + nudge, 100).pLower, 0.05);
        EXPECT_LT(run(-100, r.high + nudge).pUpper, 0.05);
        EXPECT_GE(run(-100, r.high - nudge).pUpper, 0.05);
        EXPECT_EQ(run(r.low - nudge, r.high + nudge).conclusion, Conclusion::equivalent);
        EXPECT_EQ(run(r.low + nudge, r.high + nudge).conclusion, Conclusion::notShownEquivalent);
        // The p value one step past alpha is the smallest count's next.
        EXPECT_DOUBLE_EQ(run(r.low + nudge, 100).pLower, 50.0 / 1000);
    }
}

// A minimal effect reverses each one-sided test: the two p values at a
// bound count the replicates on either side of its t, so (without a t*
// equal to it) they add up to (B + 2) / (B + 1). Bounds close around an
// estimate far from them: a minimal effect is shown, equivalence is not.
TEST(Bootstrap, MinimalEffectReversesBothTests) {
    const BootstrapSettings bootstrap{999, 11};
    std::vector<double> lowered = groupB;
    for (double& x : lowered)
        x -= 0.5;
    for (const bool matched : {false, true}) {
        SCOPED_TRACE(matched ? "matched" : "independent");
        const auto run = [&](Hypothesis hypothesis) {
            const ScoreSettings settings{0.05, -0.1, 0.1, hypothesis};
            return matched ? bootstrapMatched(groupA, lowered, settings, bootstrap)
                           : bootstrapIndependent(groupA, lowered, settings, bootstrap);
        };
        const ScoreResult equivalence = run(Hypothesis::equivalence);
        const ScoreResult minimal = run(Hypothesis::minimalEffect);
        EXPECT_DOUBLE_EQ(equivalence.pLower + minimal.pLower, 1001.0 / 1000);
        EXPECT_DOUBLE_EQ(equivalence.pUpper + minimal.pUpper, 1001.0 / 1000);
        EXPECT_EQ(minimal.p, std::min(minimal.pLower, minimal.pUpper));
        EXPECT_GT(equivalence.estimate, 0.9);
        EXPECT_EQ(minimal.conclusion, Conclusion::beyondBounds);
        EXPECT_EQ(equivalence.conclusion, Conclusion::notShownEquivalent);
    }
}

// Two pairs: half the resamples draw one pair twice and have no spread;
// their t* are infinite with the sign of D* - D, which puts both ends of
// the 90% interval at infinity rather than at NaN.
TEST(Bootstrap, ReplicatesWithoutSpreadAreInfiniteNotNan) {
    const ScoreSettings settings{0.05, -1, 1, Hypothesis::equivalence};
    const ScoreResult r = bootstrapMatched(std::vector<double>{1, 2}, std::vector<double>{0, 0},
                                           settings, BootstrapSettings{1000, 3});
    EXPECT_NEAR(r.notes.flatReplicates, 500, 4 * std::sqrt(250.0));
    EXPECT_EQ(r.low, -HUGE_VAL);
    EXPECT_EQ(r.high, HUGE_VAL);
    EXPECT_FALSE(std::isnan(r.pLower) || std::isnan(r.pUpper));
    EXPECT_EQ(r.conclusion, Conclusion::notShownEquivalent);
}

// A replicate has no spread exactly when every score it draws is one value,
// whatever the rounding of its sums: counted here by drawing each
// replicate's indices again from its own stream (group 1's, then group 2's;
// matched: the differences') and comparing the scores drawn. The rows hold
// resamples whose spread is a rounding error's size or none at all.
struct FlatCase {
    const char* name;
    std::vector<double> group1, group2;
    bool matched;
};

void PrintTo(const FlatCase& c, std::ostream* os) { *os << c.name; }

long oracleFlat(const FlatCase& c, long replicates, std::uint64_t seed) {
    std::vector<double> d;
    for (std::size_t i = 0; c.matched && i < c.group1.size(); ++i)
        d.push_back(c.group1[i] - c.group2[i]);
    const auto constant = [](const std::vector<double>& scores, ReplicateStream& stream) {
        const auto n = static_cast<std::uint32_t>(scores.size());
        const double first = scores[stream.below(n)];
        bool same = true;
        for (std::uint32_t k = 1; k < n; ++k)
            same = scores[stream.below(n)] == first && same;
        return same;
    };
    long flat = 0;
    for (long b = 0; b < replicates; ++b) {
        ReplicateStream stream(seed, static_cast<std::uint64_t>(b));
        if (c.matched) {
            flat += constant(d, stream) ? 1 : 0;
        } else {
            const bool first = constant(c.group1, stream);
            const bool second = constant(c.group2, stream);
            flat += first && second ? 1 : 0;
        }
    }
    return flat;
}

class FlatReplicates : public ::testing::TestWithParam<FlatCase> {};

TEST_P(FlatReplicates, AreThoseThatDrawOneValueOnly) {
    const FlatCase& c = GetParam();
    const ScoreSettings settings{0.05, -1, 1, Hypothesis::equivalence};
    const BootstrapSettings bootstrap{2000, 41};
    const ScoreResult r = c.matched ? bootstrapMatched(c.group1, c.group2, settings, bootstrap)
                                    : bootstrapIndependent(c.group1, c.group2, settings, bootstrap);
    EXPECT_EQ(r.notes.flatReplicates, oracleFlat(c, bootstrap.replicates, bootstrap.seed));
}

const double ulpAboveOne = 1 + 0x1p-52;

INSTANTIATE_TEST_SUITE_P(
    Rows, FlatReplicates,
    ::testing::Values(
        FlatCase{"two_pairs", {1, 2}, {0, 0}, true},
        FlatCase{"one_ulp_apart", {1, 1, 1, ulpAboveOne}, {5, 5, 5, 5}, false},
        FlatCase{"one_ulp_apart_matched", {1, 1, ulpAboveOne}, {0, 0, 0}, true},
        FlatCase{"tenths", {0.1, 0.1, 0.3}, {0.7, 0.7, 0.7}, false},
        FlatCase{"large_offset", {1e15 + 1, 1e15 + 1, 1e15 + 2}, {1e15, 1e15, 1e15}, false},
        FlatCase{"tiny_beside_large", {-1, 1, 1e-300, 1e-300}, {0.5, 0.5, 0.5}, false},
        FlatCase{"one_far_score", {0, 0, 0, 0, 0, 1e150}, {2, 2, 2}, false},
        FlatCase{
            "all_varied", {4.1, 5.3, 3.8, 6.0, 5.5, 4.9}, {4.6, 4.0, 5.2, 4.3, 3.9, 4.8}, false}),
    [](const auto& info) { return std::string(info.param.name); });

// B must leave an order statistic for alpha: with alpha .05, (m + 1) /
// (B + 1) < .05 needs B >= 20.
TEST(Bootstrap, RefusesTooFewReplicatesForAlpha) {
    const ScoreSettings settings{0.05, -1, 1, Hypothesis::equivalence};
    for (const long b : {0L, 1L, 19L}) {
        try {
            bootstrapIndependent(groupA, groupB, settings, BootstrapSettings{b, 1});
            ADD_FAILURE() << "B = " << b << " accepted";
        } catch (const ScoreError& e) {
            EXPECT_EQ(e.number(), ScoreErrorNumber::invalidSettings);
        }
    }
    EXPECT_NO_THROW(bootstrapIndependent(groupA, groupB, settings, BootstrapSettings{20, 1}));
}

}  // namespace
}  // namespace tarnwick::score_analysis
