// Yuen's trimmed-means test and the normal-theory t tests against R 4.2.2:
// Yuen's by its published formula written out in R (yuen_parts and yuen in
// r_oracle.R: floor(0.2 n) trimmed, winsorised variance through var, pt and
// qt at Yuen's df), the normal theory by t.test (Welch's for independent
// groups, paired for matched scores), on the published data sets of the rank
// tests and 10,000 scores a group. One-sided p values under both hypotheses,
// the 90% (or 1 - 2 alpha) interval, estimate, standard error and df.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "normal_theory_analysis.h"
#include "trimmed_analysis.h"

namespace tarnwick::score_analysis {
namespace {

const std::vector<double> permeabilityTerm = {0.80, 0.83, 1.89, 1.04, 1.45,
                                              1.38, 1.91, 1.64, 0.73, 1.46};
const std::vector<double> permeabilityEarly = {1.15, 0.88, 0.90, 0.74, 1.21};
const std::vector<double> depressionFirst = {1.83, 0.50, 1.62, 2.48, 1.68, 1.88, 1.55, 3.06, 1.30};
const std::vector<double> depressionSecond = {0.878, 0.647, 0.598, 2.05, 1.06,
                                              1.29,  1.06,  3.14,  1.29};
const std::vector<double> sleepDrug1 = {0.7, -1.6, -0.2, -1.2, -0.1, 3.4, 3.7, 0.8, 0.0, 2.0};
const std::vector<double> sleepDrug2 = {1.9, 0.8, 1.1, 0.1, -0.1, 4.4, 5.5, 1.6, 4.6, 3.4};

std::vector<double> formula(long multiplier, long modulus, long offset, double scale) {
    std::vector<double> v;
    for (long i = 1; i <= 10000; ++i)
        v.push_back(static_cast<double>((i * multiplier) % modulus + offset) / scale);
    return v;
}

enum class Analysis { yuen, normalTheory };

struct TCase {
    const char* name;
    Analysis analysis;
    bool matched;
    std::vector<double> x, y;
    double lower, upper, alpha;
    double estimate, se, df, low, high;
    // R's one-sided p values: against lower with H1 "greater", upper
    // "less" (equivalence), lower "less", upper "greater" (minimal effect).
    double pLowerGreater, pUpperLess, pLowerLess, pUpperGreater;
    long trimmed1 = 0, trimmed2 = 0;
};

void PrintTo(const TCase& c, std::ostream* os) { *os << c.name; }

// R's pt and qt against Boost's students_t, and R's mean and var against
// compensated sums: agreement to a few ulps is typical, to 1e-12 certain.
void expectRelative(double got, double expected, const char* what) {
    EXPECT_NEAR(got, expected, 1e-12 * std::fabs(expected)) << what;
}

ScoreResult run(const TCase& c, Hypothesis hypothesis) {
    const ScoreSettings settings{c.alpha, c.lower, c.upper, hypothesis};
    if (c.analysis == Analysis::yuen)
        return c.matched ? yuenMatched(c.x, c.y, settings) : yuenIndependent(c.x, c.y, settings);
    return c.matched ? normalTheoryMatched(c.x, c.y, settings)
                     : normalTheoryIndependent(c.x, c.y, settings);
}

class TBased : public ::testing::TestWithParam<TCase> {};

TEST_P(TBased, EqualsR) {
    const TCase& c = GetParam();
    const ScoreResult equivalence = run(c, Hypothesis::equivalence);
    expectRelative(equivalence.estimate, c.estimate, "estimate");
    expectRelative(equivalence.notes.standardError, c.se, "standard error");
    expectRelative(equivalence.notes.df, c.df, "df");
    expectRelative(equivalence.low, c.low, "interval, low end");
    expectRelative(equivalence.high, c.high, "interval, high end");
    expectRelative(equivalence.pLower, c.pLowerGreater, "equivalence, lower");
    expectRelative(equivalence.pUpper, c.pUpperLess, "equivalence, upper");
    EXPECT_EQ(equivalence.p, std::max(equivalence.pLower, equivalence.pUpper));
    EXPECT_EQ(equivalence.conclusion, std::max(c.pLowerGreater, c.pUpperLess) < c.alpha
                                          ? Conclusion::equivalent
                                          : Conclusion::notShownEquivalent);
    EXPECT_EQ(equivalence.notes.interval, Reference::studentT);
    EXPECT_EQ(equivalence.notes.trimmed1, c.trimmed1);
    EXPECT_EQ(equivalence.notes.trimmed2, c.trimmed2);

    const ScoreResult minimal = run(c, Hypothesis::minimalEffect);
    expectRelative(minimal.pLower, c.pLowerLess, "minimal effect, lower");
    expectRelative(minimal.pUpper, c.pUpperGreater, "minimal effect, upper");
    EXPECT_EQ(minimal.p, std::min(minimal.pLower, minimal.pUpper));
    EXPECT_EQ(minimal.low, equivalence.low);
    EXPECT_EQ(minimal.high, equivalence.high);
}

constexpr Analysis yuen = Analysis::yuen;
constexpr Analysis normalTheory = Analysis::normalTheory;

INSTANTIATE_TEST_SUITE_P(
    R, TBased,
    ::testing::Values(
        // yuen("permeability", hw_x, hw_y, -0.25, 0.35, 0.05, FALSE)
        TCase{"yuen_permeability", yuen, false, permeabilityTerm, permeabilityEarly, -0.25, 0.35,
              0.05, 0.32333333333333336, 0.2267333235322942, 6.9922200019879615,
              -0.10630269012098237, 0.75296935678764909, 0.019672621821854724, 0.45484094763536265,
              0.9803273781781453, 0.54515905236463735, 2, 1},
        // yuen("sleep", sl_1, sl_2, -2, 0.5, 0.05, FALSE)
        TCase{"yuen_sleep", yuen, false, sleepDrug1, sleepDrug2, -2, 0.5, 0.05, -1.666666666666667,
              1.0308572484426091, 8.2647085136376948, -3.5756660182149083, 0.24233268488157433,
              0.37722832440815074, 0.033820834219900488, 0.62277167559184932, 0.96617916578009955,
              2, 2},
        // yuen("three each", s3_x, s3_y, -1, 1.5, 0.05, FALSE): nothing trimmed.
        TCase{"yuen_three_each",
              yuen,
              false,
              {1.1, 2.7, 3.2},
              {0.4, 1.9, 2.2},
              -1,
              1.5,
              0.05,
              0.83333333333333348,
              0.84327404271156781,
              3.9353964700569741,
              -0.97291062785084792,
              2.6395772945175149,
              0.048247732480854712,
              0.2370535455318728,
              0.95175226751914521,
              0.76294645446812726},
        // yuen("large", big_x, big_y, -4, 1, 0.05, FALSE)
        TCase{"yuen_large", yuen, false, formula(7919, 10007, 0, 64), formula(4973, 10009, 150, 64),
              -4, 1, 0.05, -2.3764036458333351, 0.85639108220001059, 11997.999708368467,
              -3.7851503952507031, -0.96765689641596686, 0.029001378586630707,
              4.0531183807865537e-05, 0.97099862141336923, 0.99995946881619213, 2000, 2000},
        // yuen("sleep paired", sl_1, sl_2, -2, -1, 0.05, TRUE)
        TCase{"yuen_sleep_matched", yuen, true, sleepDrug1, sleepDrug2, -2, -1, 0.05,
              -1.3333333333333335, 0.18293896978682977, 5, -1.7019642068215037,
              -0.96470245984516323, 0.0074190136518130761, 0.064031227746748867,
              0.99258098634818692, 0.93596877225325115, 2},
        // yuen("depression paired", dep_x, dep_y, -0.2, 0.5, 0.05, TRUE)
        TCase{"yuen_depression_matched", yuen, true, depressionFirst, depressionSecond, -0.2, 0.5,
              0.05, 0.43028571428571427, 0.1763955391822204, 6, 0.087517380975959236,
              0.77305404759546925, 0.0058698496561195223, 0.35317590630330975, 0.99413015034388041,
              0.64682409369669025, 1},
        // t.test(hw_x, hw_y, conf.level = 0.9); t.test(hw_x, hw_y, mu = -0.25,
        // alternative = "greater"); t.test(hw_x, hw_y, mu = 0.35, alternative = "less")
        TCase{"welch_permeability", normalTheory, false, permeabilityTerm, permeabilityEarly, -0.25,
              0.35, 0.05, 0.33699999999999997, 0.16508415362407675, 12.970538443257542,
              0.044596169327166965, 0.6294038306728329, 0.0017644679467604958, 0.46921761268490636,
              0.99823553205323945, 0.53078238731509364},
        // t.test(sl_1, sl_2, ...) at mu = -2 and 0.5
        TCase{"welch_sleep", normalTheory, false, sleepDrug1, sleepDrug2, -2, 0.5, 0.05,
              -1.5800000000000001, 0.84909101723876201, 17.776473516178498, -3.0533814973316065,
              -0.10661850266839384, 0.31345362597515725, 0.012451327717733702, 0.68654637402484275,
              0.98754867228226628},
        // t.test(sl_1, sl_2, paired = TRUE, ...) at mu = -2 and -1
        TCase{"paired_sleep", normalTheory, true, sleepDrug1, sleepDrug2, -2, -1, 0.05,
              -1.5800000000000001, 0.3889587238883952, 9, -2.2930052670292835, -0.8669947329707165,
              0.15415723566909742, 0.085055885448711385, 0.84584276433090255, 0.91494411455128866},
        // t.test(dep_x, dep_y, paired = TRUE, ...) at mu = -0.2 and 0.5
        TCase{"paired_depression", normalTheory, true, depressionFirst, depressionSecond, -0.2, 0.5,
              0.05, 0.43188888888888888, 0.14228516402364152, 8, 0.16730279135896456,
              0.69647498641881322, 0.0010825265996274337, 0.32248278566331701, 0.99891747340037251,
              0.67751721433668299}),
    [](const auto& info) { return std::string(info.param.name); });

// Trimmed means ignore what lies beyond the trimmed fifth: moving the
// largest and smallest scores far out changes neither the estimate nor
// the winsorised variance (both are set by the scores kept), while the
// normal-theory test on the same scores moves.
TEST(Yuen, IgnoresScoresBeyondTheTrimmedFifth) {
    std::vector<double> x = {2.1, 2.4, 2.2, 2.9, 3.1, 2.6, 2.8, 2.5, 2.7, 3.0};
    const std::vector<double> y = {2.0, 2.3, 2.6, 2.2, 2.4, 2.9, 2.1, 2.5, 2.8, 2.7};
    const ScoreSettings settings{0.05, -0.5, 0.5, Hypothesis::equivalence};
    const ScoreResult before = yuenIndependent(x, y, settings);
    const ScoreResult welchBefore = normalTheoryIndependent(x, y, settings);
    x[0] = -1e6;  // was the smallest
    x[4] = 1e6;   // was the largest
    const ScoreResult after = yuenIndependent(x, y, settings);
    EXPECT_DOUBLE_EQ(after.estimate, before.estimate);
    EXPECT_DOUBLE_EQ(after.notes.standardError, before.notes.standardError);
    EXPECT_DOUBLE_EQ(after.p, before.p);
    EXPECT_GT(normalTheoryIndependent(x, y, settings).p, welchBefore.p + 0.4);
}

}  // namespace
}  // namespace tarnwick::score_analysis
