// The analyses on inputs that break naive arithmetic, each against an
// answer known without the analysis's own rounding:
// - scores sharing a large offset (1e15 + k / 8, 1e8 + k / 8) give the
//   answers of the same scores without it, and the estimate equals the mean
//   difference computed from the whole numbers k;
// - scores near the smallest doubles (k 2^-1064) give the p values of the
//   whole numbers k to the last bit, and the estimate and interval scaled;
// - refusals name what is out of range: a bound, alpha, or the scores;
// - the bootstrap never reports an overflowed end, and its numbers are the
//   same whatever the number of threads;
// - the exact rank distribution gives a p of 11 / 220 as 0.05 to the bit.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "bootstrap_analysis.h"
#include "normal_theory_analysis.h"
#include "rank_analysis.h"
#include "rank_null_distribution.h"
#include "score_error.h"
#include "trimmed_analysis.h"

namespace tarnwick::score_analysis {
namespace {

using Scores = std::vector<double>;
using Run = std::function<ScoreResult(const Scores&, const Scores&, const ScoreSettings&)>;

struct Named {
    const char* name;
    bool matched;
    Run run;
};

const BootstrapSettings someReplicates{999, 17};

const Named everyAnalysis[] = {
    {"normal_independent", false,
     [](auto& x, auto& y, auto& s) { return normalTheoryIndependent(x, y, s); }},
    {"trimmed_independent", false,
     [](auto& x, auto& y, auto& s) { return yuenIndependent(x, y, s); }},
    {"bootstrap_independent", false,
     [](auto& x, auto& y, auto& s) { return bootstrapIndependent(x, y, s, someReplicates); }},
    {"rank_independent", false, [](auto& x, auto& y, auto& s) { return rankIndependent(x, y, s); }},
    {"normal_matched", true,
     [](auto& x, auto& y, auto& s) { return normalTheoryMatched(x, y, s); }},
    {"trimmed_matched", true, [](auto& x, auto& y, auto& s) { return yuenMatched(x, y, s); }},
    {"bootstrap_matched", true,
     [](auto& x, auto& y, auto& s) { return bootstrapMatched(x, y, s, someReplicates); }},
    {"rank_matched", true, [](auto& x, auto& y, auto& s) { return rankMatched(x, y, s); }},
};

// Whole numbers k, as doubles, around `centre`.
std::vector<long> wholeNumbers(std::mt19937_64& engine, int n, long centre, long spread) {
    std::uniform_int_distribution<long> k(centre - spread, centre + spread);
    std::vector<long> v(static_cast<std::size_t>(n));
    for (long& x : v)
        x = k(engine);
    return v;
}

Scores asScores(const std::vector<long>& k, double offset, double unit) {
    Scores v;
    for (const long x : k)
        v.push_back(offset + static_cast<double>(x) * unit);  // exact: offset + k / 8 is a double
    return v;
}

// Twenty studies of 20 and 22 scores of the form offset + k / 8 (every one
// a double exactly, so the offset is the only difference): the estimate,
// the interval and p agree with those of k / 8 alone to 1e-9 of the spread,
// and the estimate with the exact mean difference of the k.
TEST(SharedOffset, ChangesNoAnswer) {
    std::mt19937_64 engine(31);
    for (int study = 0; study < 20; ++study) {
        const std::vector<long> k1 = wholeNumbers(engine, 20, 0, 40),
                                k2 = wholeNumbers(engine, 22, 8, 40);
        const Scores plain1 = asScores(k1, 0, 0.125), plain2 = asScores(k2, 0, 0.125);
        const ScoreSettings settings{0.05, -2.18, 2, Hypothesis::equivalence};
        for (const Named& analysis : everyAnalysis) {
            if (analysis.matched) continue;
            SCOPED_TRACE(std::string(analysis.name) + " study " + std::to_string(study));
            const ScoreResult plain = analysis.run(plain1, plain2, settings);
            if (std::string(analysis.name) == "normal_independent") {
                const double exact =
                    (static_cast<double>(std::accumulate(k1.begin(), k1.end(), 0L)) / 20 -
                     static_cast<double>(std::accumulate(k2.begin(), k2.end(), 0L)) / 22) /
                    8;
                EXPECT_NEAR(plain.estimate, exact, 1e-14);
            }
            for (const double offset : {1e15, -1e15, 1e8}) {
                SCOPED_TRACE(offset);
                const ScoreResult shifted = analysis.run(asScores(k1, offset, 0.125),
                                                         asScores(k2, offset, 0.125), settings);
                const double tolerance = 1e-9 * 5;  // the scores' spread is about 5
                EXPECT_NEAR(shifted.estimate, plain.estimate, tolerance);
                EXPECT_NEAR(shifted.low, plain.low, tolerance);
                EXPECT_NEAR(shifted.high, plain.high, tolerance);
                EXPECT_NEAR(shifted.p, plain.p, 1e-9);
                EXPECT_EQ(shifted.conclusion, plain.conclusion);
            }
        }
    }
}

// Whole numbers k times 2^-1064 are subnormal doubles exactly (1e-320 and
// around), as are the bounds: each analysis gives the p values of the k
// themselves to the last bit, and their estimate and interval scaled.
TEST(SubnormalScores, GiveTheAnswersOfWholeNumbers) {
    std::mt19937_64 engine(5);
    const std::vector<long> k1 = wholeNumbers(engine, 15, 500, 300),
                            k2 = wholeNumbers(engine, 15, 480, 300);
    const Scores whole1 = asScores(k1, 0, 1), whole2 = asScores(k2, 0, 1);
    const Scores tiny1 = asScores(k1, 0, std::ldexp(1.0, -1064)),
                 tiny2 = asScores(k2, 0, std::ldexp(1.0, -1064));
    const ScoreSettings wholeSettings{0.05, -100, 125, Hypothesis::equivalence};
    const ScoreSettings tinySettings{0.05, std::ldexp(-100.0, -1064), std::ldexp(125.0, -1064),
                                     Hypothesis::equivalence};
    for (const Named& analysis : everyAnalysis) {
        SCOPED_TRACE(analysis.name);
        const ScoreResult whole = analysis.run(whole1, whole2, wholeSettings);
        const ScoreResult tiny = analysis.run(tiny1, tiny2, tinySettings);
        EXPECT_EQ(tiny.pLower, whole.pLower);
        EXPECT_EQ(tiny.pUpper, whole.pUpper);
        EXPECT_EQ(tiny.conclusion, whole.conclusion);
        EXPECT_EQ(tiny.estimate, std::ldexp(whole.estimate, -1064));
        EXPECT_EQ(tiny.low, std::ldexp(whole.low, -1064));
        EXPECT_EQ(tiny.high, std::ldexp(whole.high, -1064));
    }
}

// What is out of range is named: a bound too far from the estimate in
// standard errors, an alpha whose critical value has no double, scores
// whose mean difference overflows. None of these is "the scores are too
// large" unless the scores are.
TEST(Refusals, NameWhatIsOutOfRange) {
    const Scores x = {4.1, 5.3, 3.8, 6.0, 5.5, 4.9}, y = {4.6, 4.0, 5.2, 4.3, 3.9, 4.8};
    struct Row {
        const char* name;
        Scores x, y;
        ScoreSettings settings;
        const char* words;
        std::vector<const char*> analyses;  // those that refuse
    };
    const Row rows[] = {
        {"bound_near_largest_double",
         x,
         y,
         {0.05, -1, 1e308},
         "upper bound 1e+308 is too far",
         {"normal_independent", "trimmed_independent", "bootstrap_independent", "normal_matched",
          "bootstrap_matched"}},
        {"alpha_1e-320_with_one_df",
         {1, 2},
         {1.5, 3.5},
         {1e-320, -1, 1},
         "Alpha 1e-320 is too small",
         {"normal_matched"}},
        {"scores_near_largest_double",
         {1.6e308, -1.6e308, 1.5e308, -1.5e308},
         {1.7e308, -1.7e308, 1.4e308, -1.0e308},
         {0.05, -1, 1},
         "beyond the range of a double",
         {"normal_independent", "bootstrap_independent"}},
    };
    for (const Row& row : rows) {
        for (const char* name : row.analyses) {
            SCOPED_TRACE(std::string(row.name) + " " + name);
            const Named& analysis =
                *std::find_if(std::begin(everyAnalysis), std::end(everyAnalysis),
                              [&](const Named& a) { return std::string(a.name) == name; });
            try {
                const ScoreResult r = analysis.run(row.x, row.y, row.settings);
                ADD_FAILURE() << "answered with interval " << r.low << ", " << r.high;
            } catch (const ScoreError& e) {
                EXPECT_EQ(e.number(), ScoreErrorNumber::tooLarge);
                EXPECT_NE(e.description().find(row.words), std::string::npos) << e.description();
                if (std::string(row.name) != "scores_near_largest_double") {
                    EXPECT_EQ(e.description().find("scores are too large"), std::string::npos)
                        << e.description();
                }
            }
        }
    }
}

// The same seed gives the same replicates on 1, 2, 3 or 8 threads.
TEST(Bootstrap, SameNumbersWhateverTheThreads) {
    std::mt19937_64 engine(3);
    std::normal_distribution<double> normal;
    Scores x(300), y(250);
    for (double& v : x)
        v = normal(engine);
    for (double& v : y)
        v = normal(engine) + 0.1;
    const ScoreSettings settings{0.05, -0.3, 0.3, Hypothesis::equivalence};
    for (const bool matched : {false, true}) {
        SCOPED_TRACE(matched ? "matched" : "independent");
        const Scores& second = matched ? Scores(y.begin(), y.end()) : y;
        Scores first = x;
        if (matched) first.resize(second.size());
        std::vector<ScoreResult> results;
        for (const unsigned threads : {1u, 2u, 3u, 8u}) {
            const BootstrapSettings bootstrap{1999, 99, threads};
            results.push_back(matched ? bootstrapMatched(first, second, settings, bootstrap)
                                      : bootstrapIndependent(first, second, settings, bootstrap));
        }
        for (const ScoreResult& r : results) {
            EXPECT_EQ(r.low, results.front().low);
            EXPECT_EQ(r.high, results.front().high);
            EXPECT_EQ(r.pLower, results.front().pLower);
            EXPECT_EQ(r.pUpper, results.front().pUpper);
        }
    }
}

// Two pairs: half the replicates have no spread and an infinite t*, so the
// 90% interval has no ends; the result says so rather than giving numbers.
TEST(Bootstrap, UnboundedIntervalIsSaidSo) {
    const ScoreResult r =
        bootstrapMatched(Scores{1, 2}, Scores{0, 0}, {0.05, -1, 1}, BootstrapSettings{1000, 3});
    EXPECT_EQ(r.low, -HUGE_VAL);
    EXPECT_EQ(r.high, HUGE_VAL);
    EXPECT_NE(r.notes.unbounded.find("no end on either side"), std::string::npos)
        << r.notes.unbounded;
    EXPECT_NE(r.notes.text.find(r.notes.unbounded), std::string::npos);
}

// C(12, 3) = 220 arrangements of 3 scores against 9; P(W <= 4) = 11 / 220
// exactly. Summed term by term in doubles it comes out an ulp below 0.05,
// so a test would be significant at alpha .05; counted whole it is 0.05.
TEST(ExactRankNull, CountsWholeArrangements) {
    const ExactRankNull w = ExactRankNull::rankSum(3, 9);
    EXPECT_EQ(w.atMost(4), 0.05);
    EXPECT_EQ(w.lowerTail(4), 0.05);
    EXPECT_EQ(w.upperTail(23), 0.05);  // by symmetry, 27 - 4
}

}  // namespace
}  // namespace tarnwick::score_analysis
