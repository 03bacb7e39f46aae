// The rank-based analysis against R 4.2.2's wilcox.test (base package
// stats) on published and made-up data: each one-sided test's statistic and
// p value under both hypotheses, whether it was exact, the interval's ends
// and the estimate. r_oracle.R printed every number; the R call is given
// with each row.
//
// The interval's ends must equal, to the last bit, the order statistic of
// the pairwise differences (or Walsh averages) that R's interval gives: in
// the exact case R takes that order statistic itself; in the normal case
// R's root (found with tol.root = 1e-12) lies within 1e-12 of it, and the
// order statistic nearest the root is the number given. The estimate is R's
// median of all the differences formed in full, not R's reported estimate.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "rank_analysis.h"
#include "rank_null_distribution.h"
#include "score_error.h"

namespace tarnwick::score_analysis {
namespace {

struct OneSided {
    double statistic;
    Reference reference;
    double pGreater, pLess;  // R's p with alternative "greater" and "less"
};

struct RankCase {
    const char* name;
    std::vector<double> x, y;
    double lower, upper, alpha;
    double estimate, low, high;
    Reference interval;
    OneSided atLower, atUpper;
    long zerosAtLower = 0;
    // The upper bound equals R's upper end, and the equivalence test against
    // it is significant: the end is held one double below the bound, so that
    // the interval lies inside the bounds exactly as far as the tests say.
    bool heldBelowUpper = false;
};

void PrintTo(const RankCase& c, std::ostream* os) { *os << c.name; }

// Published data. Hollander and Wolfe (1973), p. 69: permeability
// constants at term (x) and at 12 to 26 weeks (y), no ties.
const std::vector<double> permeabilityTerm = {0.80, 0.83, 1.89, 1.04, 1.45,
                                              1.38, 1.91, 1.64, 0.73, 1.46};
const std::vector<double> permeabilityEarly = {1.15, 0.88, 0.90, 0.74, 1.21};
// Hollander and Wolfe (1973), p. 29: Hamilton depression scale at the first
// (x) and second (y) visit of nine patients; the differences have no ties.
const std::vector<double> depressionFirst = {1.83, 0.50, 1.62, 2.48, 1.68, 1.88, 1.55, 3.06, 1.30};
const std::vector<double> depressionSecond = {0.878, 0.647, 0.598, 2.05, 1.06,
                                              1.29,  1.06,  3.14,  1.29};
// Student (1908), from Cushny and Peebles: extra hours of sleep of ten
// patients under two drugs (R's datasets::sleep). Ties across the groups,
// and among the differences, one of which is 0.
const std::vector<double> sleepDrug1 = {0.7, -1.6, -0.2, -1.2, -0.1, 3.4, 3.7, 0.8, 0.0, 2.0};
const std::vector<double> sleepDrug2 = {1.9, 0.8, 1.1, 0.1, -0.1, 4.4, 5.5, 1.6, 4.6, 3.4};

// 10,000 scores from whole-number formulas, the same doubles in R:
// (i * multiplier) mod modulus, plus an offset, over a power of two.
std::vector<double> formula(long multiplier, long modulus, long offset, double scale) {
    std::vector<double> v;
    for (long i = 1; i <= 10000; ++i)
        v.push_back(static_cast<double>((i * multiplier) % modulus + offset) / scale);
    return v;
}

constexpr Reference exact = Reference::exact;
constexpr Reference normal = Reference::normal;

void expectP(double got, double expected, const char* what) {
    // R's pnorm and Boost's erfc, and the exact tails summed in R's order,
    // agree to a few ulps; 1e-12 leaves room without hiding a wrong
    // correction (which moves a p by far more).
    EXPECT_NEAR(got, expected, 1e-12 * expected) << what;
}

void expectSide(const OneSidedTest& got, const OneSided& expected, const char* what) {
    EXPECT_EQ(got.statistic, expected.statistic) << what;
    EXPECT_EQ(got.reference, expected.reference) << what;
}

void checkBothHypotheses(const RankCase& c, bool matched) {
    ScoreSettings settings{c.alpha, c.lower, c.upper, Hypothesis::equivalence};
    const auto run = [&] {
        return matched ? rankMatched(c.x, c.y, settings) : rankIndependent(c.x, c.y, settings);
    };
    const ScoreResult equivalence = run();
    EXPECT_EQ(equivalence.estimate, c.estimate);
    EXPECT_EQ(equivalence.low, c.low);
    EXPECT_EQ(equivalence.high, c.heldBelowUpper ? std::nextafter(c.high, -HUGE_VAL) : c.high);
    EXPECT_EQ(equivalence.notes.unbounded.empty(), std::isfinite(c.low));
    EXPECT_EQ(equivalence.notes.interval, c.interval);
    expectSide(equivalence.notes.lower, c.atLower, "test against the lower bound");
    expectSide(equivalence.notes.upper, c.atUpper, "test against the upper bound");
    EXPECT_EQ(equivalence.notes.lower.zeros, c.zerosAtLower);
    expectP(equivalence.pLower, c.atLower.pGreater, "equivalence, lower");
    expectP(equivalence.pUpper, c.atUpper.pLess, "equivalence, upper");
    const double pTost = std::max(c.atLower.pGreater, c.atUpper.pLess);
    expectP(equivalence.p, pTost, "equivalence p");
    EXPECT_EQ(equivalence.conclusion,
              pTost < c.alpha ? Conclusion::equivalent : Conclusion::notShownEquivalent);
    EXPECT_DOUBLE_EQ(equivalence.level, 1 - 2 * c.alpha);

    settings.hypothesis = Hypothesis::minimalEffect;
    const ScoreResult minimal = run();
    EXPECT_EQ(minimal.estimate, c.estimate);
    EXPECT_EQ(minimal.low, c.low);
    EXPECT_EQ(minimal.high, c.high);
    expectP(minimal.pLower, c.atLower.pLess, "minimal effect, lower");
    expectP(minimal.pUpper, c.atUpper.pGreater, "minimal effect, upper");
    const double pMinimal = std::min(c.atLower.pLess, c.atUpper.pGreater);
    expectP(minimal.p, pMinimal, "minimal-effect p");
    EXPECT_EQ(minimal.conclusion,
              pMinimal < c.alpha ? Conclusion::beyondBounds : Conclusion::notShownBeyondBounds);
}

class Independent : public ::testing::TestWithParam<RankCase> {};
TEST_P(Independent, EqualsWilcoxTest) { checkBothHypotheses(GetParam(), false); }

// Each row: wilcox.test(x, y, mu = bound, alternative = "greater" / "less")
// at both bounds, and wilcox.test(x, y, mu = 0.0123, conf.int = TRUE,
// conf.level = 1 - 2 alpha, tol.root = 1e-12) for the interval (a shift at
// which no scores tie across the groups, so that R's choice of exact or
// normal is the interval's own).
INSTANTIATE_TEST_SUITE_P(R, Independent,
                         ::testing::Values(
                             // Exact throughout: Wilcoxon rank sum exact test.
                             RankCase{"permeability_exact",
                                      permeabilityTerm,
                                      permeabilityEarly,
                                      -0.25,
                                      0.35,
                                      0.05,
                                      0.30500000000000005,
                                      -0.07999999999999996,
                                      0.71999999999999997,
                                      exact,
                                      {44, exact, 0.0096570096570096561, 0.99367299367299367},
                                      {24, exact, 0.57042957042957043, 0.47652347652347654}},
                             // qwilcox(0.05, 3, 3) is 0: no test can give p < .05 (the
                             // smallest is 1/20), so the interval is unbounded, where R
                             // raises the rank to 1 and gives [-1.1, 2.8].
                             RankCase{"three_each_exact",
                                      {1.1, 2.7, 3.2},
                                      {0.4, 1.9, 2.2},
                                      -1,
                                      1.5,
                                      0.05,
                                      0.80000000000000027,
                                      -HUGE_VAL,
                                      HUGE_VAL,
                                      exact,
                                      {8, exact, 0.10000000000000001, 0.94999999999999996},
                                      {2, exact, 0.90000000000000002, 0.20000000000000001}},
                             // Ties within the groups: normal approximation everywhere.
                             RankCase{"three_each_ties",
                                      {1, 2, 2},
                                      {1, 1, 3},
                                      -1,
                                      1.5,
                                      0.05,
                                      0,
                                      -2,
                                      1,
                                      normal,
                                      {7, normal, 0.17288929307558012, 0.92135039647485739},
                                      {0, normal, 0.98769061930959245, 0.036099098850828792}},
                             // Scores tie across the groups only when shifted by the lower
                             // bound: that test is normal, the other and the interval exact.
                             RankCase{"sleep_tie_at_lower_bound",
                                      sleepDrug1,
                                      sleepDrug2,
                                      -2,
                                      0.5,
                                      0.05,
                                      -1.3500000000000001,
                                      -3.3999999999999999,
                                      -0.10000000000000001,
                                      exact,
                                      {59, normal, 0.26010450289028098, 0.76382880627657224},
                                      {20, exact, 0.99072831193574229, 0.011615319664855269}},
                             RankCase{"sleep_alpha_025",
                                      sleepDrug1,
                                      sleepDrug2,
                                      -2,
                                      0.5,
                                      0.025,
                                      -1.3500000000000001,
                                      -3.6000000000000001,
                                      0.10000000000000001,
                                      exact,
                                      {59, normal, 0.26010450289028098, 0.76382880627657224},
                                      {20, exact, 0.99072831193574229, 0.011615319664855269}},
                             // 10,000 a group: normal approximation; no ties within groups.
                             // R's roots: -3.4374999999997375, -1.328124999999799.
                             RankCase{
                                 "large_no_ties",
                                 formula(7919, 10007, 0, 64),
                                 formula(4973, 10009, 150, 64),
                                 -4,
                                 1,
                                 0.05,
                                 -2.375,
                                 -3.4375,
                                 -1.328125,
                                 normal,
                                 {51031106.5, normal, 0.0057747092872831619, 0.9942253309699256},
                                 {47861928, normal, 0.99999991842079106, 8.158029124601032e-08}},
                             // 10,000 a group on a grid of eighths: heavy ties. R's roots:
                             // -0.24999999999981909, -2.4962316274943485e-14. R prints the
                             // lower-less and upper-greater p values as 1.
                             RankCase{"large_ties",
                                      formula(7919, 101, 0, 8),
                                      formula(31, 97, 3, 8),
                                      -1.5,
                                      0.5,
                                      0.05,
                                      -0.125,
                                      -0.25,
                                      0,
                                      normal,
                                      {60468316, normal, 2.5571623471388156e-145, 1},
                                      {45085533, normal, 1, 1.1185767980802082e-33}}),
                         [](const auto& info) { return std::string(info.param.name); });

class Matched : public ::testing::TestWithParam<RankCase> {};
TEST_P(Matched, EqualsWilcoxTest) { checkBothHypotheses(GetParam(), true); }

// Each row: wilcox.test(x, y, paired = TRUE, mu = bound, alternative = ...)
// and wilcox.test(x, y, paired = TRUE, mu = 0.0123, conf.int = TRUE,
// conf.level = 1 - 2 alpha, tol.root = 1e-12).
INSTANTIATE_TEST_SUITE_P(
    R, Matched,
    ::testing::Values(RankCase{"depression_exact",
                               depressionFirst,
                               depressionSecond,
                               -0.2,
                               0.5,
                               0.05,
                               0.46000000000000008,
                               0.17500000000000004,
                               0.7260000000000002,
                               exact,
                               {45, exact, 0.001953125, 1},
                               {19, exact, 0.673828125, 0.3671875}},
                      RankCase{"depression_alpha_10_equivalent",
                               depressionFirst,
                               depressionSecond,
                               0.1,
                               0.8,
                               0.1,
                               0.46000000000000008,
                               0.22000000000000008,
                               0.69100000000000006,
                               exact,
                               {39, exact, 0.02734375, 0.98046875},
                               {5, exact, 0.986328125, 0.01953125}},
                      // Tied differences and a zero one: normal approximation. R's roots:
                      // -2.2999999999995238, -0.99999999999987099.
                      RankCase{"sleep_ties",
                               sleepDrug1,
                               sleepDrug2,
                               -2,
                               -1,
                               0.05,
                               -1.3,
                               -2.2999999999999998,
                               -1,
                               normal,
                               {43, normal, 0.063016364688700546, 0.94865299419567728},
                               {10.5, normal, 0.96295735462141752, 0.046088496149018179},
                               0,
                               true},
                      // The lower bound equals two of the differences, which the
                      // signed-rank test leaves out.
                      RankCase{"sleep_zeros_at_lower_bound",
                               sleepDrug1,
                               sleepDrug2,
                               -1.3,
                               0.5,
                               0.05,
                               -1.3,
                               -2.2999999999999998,
                               -1,
                               normal,
                               {17, normal, 0.58318255848765888, 0.47209125662524165},
                               {0, normal, 0.99785410900636407, 0.0029446350209087406},
                               2},
                      // Three pairs: qsignrank(0.05, 3) is 0; R warns that the level is
                      // not achievable and spans all six averages, [0.7, 1]. Here the
                      // interval is unbounded: no test can give p < .05 (at least 1/8).
                      RankCase{"three_pairs_exact",
                               {1.1, 2.7, 3.2},
                               {0.4, 1.9, 2.2},
                               0,
                               1.5,
                               0.05,
                               0.82500000000000018,
                               -HUGE_VAL,
                               HUGE_VAL,
                               exact,
                               {6, exact, 0.12500000000000003, 1},
                               {0, exact, 1, 0.12500000000000003}},
                      // 10,000 pairs, two of whose differences equal each bound (R:
                      // sum(x - y == -3) and sum(x - y == 3) are 2). R's roots:
                      // -0.48437499999955802, 1.7343749999996292.
                      RankCase{"large_pairs",
                               formula(7919, 10007, 0, 64),
                               formula(3001, 10009, -40, 64),
                               -3,
                               3,
                               0.05,
                               0.625,
                               -0.484375,
                               1.734375,
                               normal,
                               {26542806, normal, 3.90156339976562e-08, 0.99999996098511579},
                               {23978039.5, normal, 0.99978011355220109, 0.00021988931669933369},
                               2}),
    [](const auto& info) { return std::string(info.param.name); });

// Where no test can reach alpha, the interval is unbounded and says what
// the widest interval from the values reaches: 1 - 2 P(S <= 0). Three pairs
// with tied differences 1, 2, 2 by the normal approximation (R lowers the
// level to 0 and gives [2, 2] with a warning: wilcox.test(c(1, 2, 2.5),
// c(0, 0, 0.5), paired = TRUE, mu = 0.0123, conf.int = TRUE, conf.level =
// 0.9)); 3 and 3 scores exactly at alpha .05 (1 - 2 / 20) and .025, whose
// level R's interval claims but cannot reach; 4 pairs (1 - 2 / 16).
TEST(Rank, IsUnboundedWhenNoTestCanReachAlpha) {
    struct Row {
        const char* name;
        bool matched;
        std::vector<double> x, y;
        double alpha, widest;
    };
    const Row rows[] = {
        // 1 - 2 Phi((0 - 3 + 1/2) / sqrt(3.375)), the tie-corrected SD of V.
        {"tied_pairs", true, {1, 2, 2.5}, {0, 0, 0.5}, 0.05, 0.8264318334440784},
        {"three_each", false, {1.1, 2.7, 3.2}, {0.4, 1.9, 2.2}, 0.05, 0.9},
        {"three_each_025", false, {1.1, 2.7, 3.2}, {0.4, 1.9, 2.2}, 0.025, 0.9},
        {"four_pairs", true, {1.1, 2.7, 3.2, 5}, {0.4, 1.9, 2.2, 1}, 0.05, 0.875},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ScoreSettings settings{row.alpha, -100, 100, Hypothesis::equivalence};
        const ScoreResult r = row.matched ? rankMatched(row.x, row.y, settings)
                                          : rankIndependent(row.x, row.y, settings);
        EXPECT_EQ(r.low, -HUGE_VAL);
        EXPECT_EQ(r.high, HUGE_VAL);
        EXPECT_NEAR(r.notes.widestLevel, row.widest, 1e-15);
        EXPECT_EQ(r.conclusion, Conclusion::notShownEquivalent);
        EXPECT_NE(r.notes.unbounded.find("unbounded"), std::string::npos);
        EXPECT_NE(r.notes.text.find(r.notes.unbounded), std::string::npos);
    }
    const ScoreResult tied =
        rankMatched(std::vector<double>{1, 2, 2.5}, std::vector<double>{0, 0, 0.5}, {0.05, -1, 3});
    EXPECT_EQ(tied.estimate, 1.75);  // the mean of the middle two of 1, 1.5, 1.5, 2, 2, 2
}

// R's pwilcox, qwilcox, psignrank and qsignrank (R 4.2.2), at the largest
// sizes the exact tests meet and at the smallest.
TEST(ExactRankNull, EqualsRsTables) {
    const ExactRankNull w49 = ExactRankNull::rankSum(49, 49);
    expectP(w49.lowerTail(900), 0.016308863525874184, "pwilcox(900, 49, 49)");
    expectP(w49.upperTail(1501), 0.016308863525874184, "pwilcox(1500, 49, 49, lower = FALSE)");
    expectP(w49.lowerTail(0), 3.9250145964816453e-29, "pwilcox(0, 49, 49)");
    EXPECT_EQ(w49.quantile(0.05), 969);
    const ExactRankNull w7by12 = ExactRankNull::rankSum(7, 12);
    expectP(w7by12.lowerTail(17), 0.017920933555608479, "pwilcox(17, 7, 12)");
    expectP(w7by12.upperTail(61), 0.059915059141065333, "pwilcox(60, 7, 12, lower = FALSE)");
    EXPECT_EQ(w7by12.quantile(0.025), 19);
    const ExactRankNull w1by30 = ExactRankNull::rankSum(1, 30);
    EXPECT_EQ(w1by30.quantile(0.001), 0);
    EXPECT_EQ(w1by30.quantile(0.2), 6);

    const ExactRankNull v49 = ExactRankNull::signedRank(49);
    expectP(v49.lowerTail(300), 0.00075176423512957069, "psignrank(300, 49)");
    expectP(v49.upperTail(901), 0.0017790398697119516, "psignrank(900, 49, lower = FALSE)");
    EXPECT_EQ(v49.quantile(0.025), 416);
    EXPECT_EQ(ExactRankNull::signedRank(10).quantile(0.05), 11);
    // alpha equal to P(V <= 0) = 2^-10 exactly: the allowance keeps q at 0.
    EXPECT_EQ(ExactRankNull::signedRank(10).quantile(0.0009765625), 0);
    EXPECT_EQ(ExactRankNull::signedRank(1).lowerTail(0), 0.5);
    EXPECT_EQ(ExactRankNull::signedRank(1).quantile(0.25), 0);
}

// Exact up to 50 scores in each group: 50 and 50 are exact, 51 and 3 are not
// (the interval's reference says so, without ties).
TEST(RankIndependent, IsExactUpToFiftyScoresAGroup) {
    const auto spaced = [](int n, double offset) {
        std::vector<double> v;
        for (int i = 0; i < n; ++i)
            v.push_back(offset + i * 1.0 / 64);
        return v;
    };
    const ScoreSettings settings{0.05, -0.1, 0.1, Hypothesis::equivalence};
    EXPECT_EQ(rankIndependent(spaced(50, 0), spaced(50, 1.0 / 128), settings).notes.interval,
              Reference::exact);
    EXPECT_EQ(rankIndependent(spaced(51, 0), spaced(3, 1.0 / 128), settings).notes.interval,
              Reference::normal);
    EXPECT_EQ(
        rankMatched(spaced(50, 0), std::vector<double>(50, 1.0 / 128), settings).notes.interval,
        Reference::exact);
    EXPECT_EQ(
        rankMatched(spaced(51, 0), std::vector<double>(51, 1.0 / 128), settings).notes.interval,
        Reference::normal);
    EXPECT_EQ(rankMatched(spaced(49, 0), spaced(49, 0.001), settings).notes.interval,
              Reference::normal);  // every difference ties
}

}  // namespace
}  // namespace tarnwick::score_analysis
