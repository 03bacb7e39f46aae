// One-sided questions against independent oracles, on seeded random
// studies at three alphas and for alternatives on both sides of the margin:
// - the normal-theory test (Welch's, the pooled and the paired) against
//   what R's t.test(x, y, mu = margin, alternative = "greater" or "less",
//   conf.level = 1 - 2 alpha) computes, worked here in 50 digits with
//   Boost.Multiprecision: p = P(T_df > t) or P(T_df < t), t = (estimate -
//   margin) / se, the interval estimate -+ t_{1 - alpha, df} se; on the
//   ratio scale the same on the logs, against log(margin);
// - the rank-based exact p against a brute-force count of every split of
//   the shifted scores (independent) or every sign pattern (matched);
// - the decision against the printed interval's deciding end.

#include <gtest/gtest.h>

#include <bit>
#include <boost/math/distributions/students_t.hpp>
#include <boost/multiprecision/cpp_bin_float.hpp>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "normal_theory_analysis.h"
#include "one_sided_words.h"
#include "rank_analysis.h"

namespace tarnwick::score_analysis {
namespace {

using Big = boost::multiprecision::cpp_bin_float_50;
using Scores = std::vector<double>;

// The questions asked, and where their margins lie (as a share of the
// margin's size: the worse side for non-inferiority, the better for the
// others) so that each is asked as a person would.
struct Question {
    Hypothesis hypothesis;
    Better better;
    double marginSign;  // on the difference scale; on the ratio scale exp(sign * size)
};
const Question questions[] = {
    {Hypothesis::nonInferiority, Better::higher, -1},
    {Hypothesis::nonInferiority, Better::lower, +1},
    {Hypothesis::nonSuperiority, Better::higher, +1},
    {Hypothesis::nonSuperiority, Better::lower, -1},
    {Hypothesis::superiority, Better::higher, +0.2},
    {Hypothesis::superiority, Better::lower, -0.2},
};
const double alphas[] = {0.005, 0.025, 0.05};

enum class Kind { welch, pooled, paired };

struct Oracle {
    double estimate, low, high, p;
};

Big mean(const std::vector<Big>& v) {
    Big sum = 0;
    for (const Big& x : v)
        sum += x;
    return sum / static_cast<long>(v.size());
}

Big variance(const std::vector<Big>& v) {
    const Big m = mean(v);
    Big squares = 0;
    for (const Big& x : v)
        squares += (x - m) * (x - m);
    return squares / static_cast<long>(v.size() - 1);
}

std::vector<Big> big(const Scores& scores, bool logs) {
    std::vector<Big> v;
    for (const double s : scores)
        v.push_back(logs ? Big(log(Big(s))) : Big(s));
    return v;
}

// What t.test computes, in 50 digits.
Oracle tTestOracle(const Scores& x, const Scores& y, Kind kind, double margin, Side side,
                   double alpha, bool ratio) {
    const std::vector<Big> a = big(x, ratio), b = big(y, ratio);
    Big estimate, se, df;
    if (kind == Kind::paired) {
        std::vector<Big> d;
        for (std::size_t i = 0; i < a.size(); ++i)
            d.push_back(a[i] - b[i]);
        estimate = mean(d);
        se = sqrt(variance(d) / static_cast<long>(d.size()));
        df = static_cast<long>(d.size() - 1);
    } else {
        const long n1 = static_cast<long>(a.size()), n2 = static_cast<long>(b.size());
        estimate = mean(a) - mean(b);
        const Big v1 = variance(a), v2 = variance(b);
        if (kind == Kind::welch) {
            const Big r1 = v1 / n1, r2 = v2 / n2;
            se = sqrt(r1 + r2);
            df = (r1 + r2) * (r1 + r2) / (r1 * r1 / (n1 - 1) + r2 * r2 / (n2 - 1));
        } else {
            df = n1 + n2 - 2;
            se = sqrt(((n1 - 1) * v1 + (n2 - 1) * v2) / df * (Big(1) / n1 + Big(1) / n2));
        }
    }
    const boost::math::students_t_distribution<Big> t(df);
    const Big mu = ratio ? Big(log(Big(margin))) : Big(margin);
    const Big statistic = (estimate - mu) / se;
    const Big p = side == Side::above ? cdf(complement(t, statistic)) : cdf(t, statistic);
    const Big q = quantile(complement(t, Big(alpha)));
    Big low = estimate - q * se, high = estimate + q * se, centre = estimate;
    if (ratio) low = exp(low), high = exp(high), centre = exp(centre);
    return {static_cast<double>(centre), static_cast<double>(low), static_cast<double>(high),
            static_cast<double>(p)};
}

void expectClose(double got, double want, double relative, const char* what) {
    EXPECT_NEAR(got, want, relative * std::fabs(want)) << what;
}

// The decision is the printed interval's: its end on the alternative's side
// beyond the margin.
void expectDecisionOfInterval(const ScoreResult& r, const ScoreSettings& s) {
    const bool above = sideOf(s) == Side::above;
    const bool beyond = above ? r.low > marginOf(s) : r.high < marginOf(s);
    EXPECT_EQ(rejectsNull(r.conclusion), beyond) << r.low << " " << r.high << " " << marginOf(s);
    EXPECT_EQ(r.conclusion, settings::oneSidedDecision(s.hypothesis, r.p < s.alpha));
    EXPECT_EQ(r.p, above ? r.pLower : r.pUpper);
}

Scores randomScores(std::mt19937_64& engine, int n, double shift, bool ratio) {
    std::normal_distribution<double> normal;
    Scores scores(static_cast<std::size_t>(n));
    for (double& s : scores)
        s = ratio ? std::exp(0.3 * normal(engine) + shift / 4) : normal(engine) + shift;
    return scores;
}

TEST(OneSidedOracle, TTestsAgreeWithFiftyDigitsOnBothScales) {
    std::mt19937_64 engine(30);
    std::uniform_int_distribution<int> size(3, 15);
    std::uniform_real_distribution<double> marginSize(0.1, 1.0), shift(-0.5, 1.0);
    int checked = 0, shown = 0;
    for (int study = 0; study < 40; ++study) {
        const bool ratio = study % 2 == 1;
        const int n1 = size(engine), n2 = size(engine);
        const Scores x = randomScores(engine, n1, shift(engine), ratio);
        const Scores y = randomScores(engine, n2, 0, ratio);
        const Scores xPaired(x.begin(), x.begin() + std::min(n1, n2));
        const Scores yPaired(y.begin(), y.begin() + std::min(n1, n2));
        const double size = ratio ? marginSize(engine) / 3 : marginSize(engine);
        for (const Question& q : questions) {
            const double margin = ratio ? std::exp(q.marginSign * size) : q.marginSign * size;
            for (const double alpha : alphas) {
                for (const Kind kind : {Kind::welch, Kind::pooled, Kind::paired}) {
                    SCOPED_TRACE("study " + std::to_string(study) + " " +
                                 std::string(settings::hypothesisWord(q.hypothesis)) + " alpha " +
                                 std::to_string(alpha) + " kind " +
                                 std::to_string(static_cast<int>(kind)));
                    const ScoreSettings s = oneSidedSettings(
                        alpha, margin, q.hypothesis, q.better,
                        ratio ? Scale::ratio : Scale::difference,
                        kind == Kind::pooled ? StandardError::pooled : StandardError::welch);
                    const bool paired = kind == Kind::paired;
                    const ScoreResult r = paired ? normalTheoryMatched(xPaired, yPaired, s)
                                                 : normalTheoryIndependent(x, y, s);
                    const Oracle want =
                        paired
                            ? tTestOracle(xPaired, yPaired, kind, margin, sideOf(s), alpha, ratio)
                            : tTestOracle(x, y, kind, margin, sideOf(s), alpha, ratio);
                    expectClose(r.estimate, want.estimate, 1e-12, "estimate");
                    expectClose(r.low, want.low, 1e-12, "lower end");
                    expectClose(r.high, want.high, 1e-12, "upper end");
                    expectClose(r.p, want.p, 1e-10, "one-sided p");
                    EXPECT_EQ(r.level, 1 - 2 * alpha);
                    expectDecisionOfInterval(r, s);
                    shown += rejectsNull(r.conclusion);
                    ++checked;
                }
            }
        }
    }
    EXPECT_EQ(checked, 40 * 6 * 3 * 3);
    // Both decisions are reached often enough to have been tested.
    EXPECT_GT(shown, checked / 10);
    EXPECT_LT(shown, checked * 9 / 10);
}

// --- The rank-based exact p by brute force.

// P(W >= w) or P(W <= w) over every split of the n1 + n2 pooled values into
// n1 and n2, W the count of pairs with the first's value above the second's.
double rankSumByCount(const Scores& x, const Scores& y, double margin, Side side) {
    Scores pooled;
    for (const double v : x)
        pooled.push_back(v - margin);
    pooled.insert(pooled.end(), y.begin(), y.end());
    const auto w = [&](unsigned mask) {
        long count = 0;
        for (std::size_t i = 0; i < pooled.size(); ++i)
            for (std::size_t j = 0; j < pooled.size(); ++j)
                if ((mask >> i & 1U) && !(mask >> j & 1U) && pooled[i] > pooled[j]) ++count;
        return count;
    };
    const unsigned observed = (1U << x.size()) - 1;
    const long wObserved = w(observed);
    long splits = 0, asExtreme = 0;
    for (unsigned mask = 0; mask < 1U << pooled.size(); ++mask) {
        if (std::popcount(mask) != static_cast<int>(x.size())) continue;
        ++splits;
        const long value = w(mask);
        asExtreme += side == Side::above ? value >= wObserved : value <= wObserved;
    }
    return static_cast<double>(asExtreme) / static_cast<double>(splits);
}

// P(V >= v) or P(V <= v) over every sign pattern of the differences less the
// margin, V the rank sum of the positive ones.
double signedRankByCount(const Scores& x, const Scores& y, double margin, Side side) {
    Scores d;
    for (std::size_t i = 0; i < x.size(); ++i)
        d.push_back(x[i] - y[i] - margin);
    std::vector<long> rank(d.size());
    for (std::size_t i = 0; i < d.size(); ++i) {
        rank[i] = 1;
        for (std::size_t j = 0; j < d.size(); ++j)
            rank[i] += std::fabs(d[j]) < std::fabs(d[i]);
    }
    const auto v = [&](unsigned positive) {
        long sum = 0;
        for (std::size_t i = 0; i < d.size(); ++i)
            if (positive >> i & 1U) sum += rank[i];
        return sum;
    };
    unsigned observed = 0;
    for (std::size_t i = 0; i < d.size(); ++i)
        if (d[i] > 0) observed |= 1U << i;
    const long vObserved = v(observed);
    long asExtreme = 0;
    const unsigned patterns = 1U << d.size();
    for (unsigned mask = 0; mask < patterns; ++mask) {
        const long value = v(mask);
        asExtreme += side == Side::above ? value >= vObserved : value <= vObserved;
    }
    return static_cast<double>(asExtreme) / static_cast<double>(patterns);
}

TEST(OneSidedOracle, RankExactPEqualsTheBruteForceCount) {
    std::mt19937_64 engine(31);
    std::uniform_int_distribution<int> size(3, 7);
    std::uniform_real_distribution<double> marginSize(0.1, 1.0), shift(-0.5, 1.0);
    int checked = 0;
    for (int study = 0; study < 40; ++study) {
        const bool ratio = study % 4 == 3;
        const int n1 = size(engine), n2 = size(engine);
        const Scores x = randomScores(engine, n1, shift(engine), ratio);
        const Scores y = randomScores(engine, n2, 0, ratio);
        const Scores xPaired(x.begin(), x.begin() + std::min(n1, n2));
        const Scores yPaired(y.begin(), y.begin() + std::min(n1, n2));
        const double size = marginSize(engine);
        // The counts on the logs, as the ratio scale runs.
        const auto onScale = [ratio](const Scores& s) {
            Scores logs;
            for (const double v : s)
                logs.push_back(ratio ? std::log(v) : v);
            return logs;
        };
        for (const Question& q : questions) {
            const double margin = ratio ? std::exp(q.marginSign * size / 3) : q.marginSign * size;
            const double shiftBy = ratio ? std::log(margin) : margin;
            for (const double alpha : alphas) {
                SCOPED_TRACE("study " + std::to_string(study) + " " +
                             std::string(settings::hypothesisWord(q.hypothesis)) + " alpha " +
                             std::to_string(alpha));
                const ScoreSettings s = oneSidedSettings(alpha, margin, q.hypothesis, q.better,
                                                         ratio ? Scale::ratio : Scale::difference);
                const ScoreResult independent = rankIndependent(x, y, s);
                const ScoreResult matched = rankMatched(xPaired, yPaired, s);
                EXPECT_EQ(independent.notes.lower.reference, Reference::exact);
                EXPECT_EQ(matched.notes.lower.reference, Reference::exact);
                expectClose(independent.p,
                            rankSumByCount(onScale(x), onScale(y), shiftBy, sideOf(s)), 1e-14,
                            "rank sum");
                expectClose(
                    matched.p,
                    signedRankByCount(onScale(xPaired), onScale(yPaired), shiftBy, sideOf(s)),
                    1e-14, "signed rank");
                expectDecisionOfInterval(independent, s);
                expectDecisionOfInterval(matched, s);
                checked += 2;
            }
        }
    }
    EXPECT_EQ(checked, 40 * 6 * 3 * 2);
}

// With so few scores that the one test cannot reach alpha, the interval has
// no end and the question is not answered, whatever the scores: 3 against 3
// give at least p = 1/20 one-sided, above .025; at .05 the end is just
// reached, as in the two-sided case.
TEST(OneSidedOracle, RankTestThatCannotReachAlphaLeavesTheIntervalUnbounded) {
    const Scores x = {10.1, 10.7, 11.3}, y = {1.2, 1.9, 2.4};
    const ScoreSettings unreachable =
        oneSidedSettings(0.025, -0.5, Hypothesis::nonInferiority, Better::higher);
    const ScoreResult r = rankIndependent(x, y, unreachable);
    EXPECT_EQ(r.p, 0.05);
    EXPECT_TRUE(std::isinf(r.low) && std::isinf(r.high));
    EXPECT_EQ(r.conclusion, Conclusion::notShownNonInferior);
    EXPECT_NE(r.notes.unbounded.find("the smallest p value the test can give, 0.05"),
              std::string::npos)
        << r.notes.unbounded;
    const ScoreResult reached = rankIndependent(
        x, y, oneSidedSettings(0.0501, -0.5, Hypothesis::nonInferiority, Better::higher));
    EXPECT_EQ(reached.conclusion, Conclusion::nonInferior);
    EXPECT_EQ(reached.low, 10.1 - 2.4);  // the least of the nine differences
}

}  // namespace
}  // namespace tarnwick::score_analysis
