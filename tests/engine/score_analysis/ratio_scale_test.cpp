// The ratio scale: every analysis on the logs of the scores, shown as
// ratios. Against the parallel-group bioequivalence reference data sets and
// their printed 90% intervals (data/parallel_reference_intervals.txt, with
// its source), Welch's and the pooled; a paired log-scale test against the
// same numbers worked in 50 digits (what R's t.test on the logs gives:
// t.test(log(x), log(y), paired = TRUE, mu = log(0.8), alternative =
// "greater"), and for mu = log(1.25), "less"); and the rank-based and
// trimmed estimates against the median ratio and the ratio of trimmed
// geometric means formed directly from the scores.

#include <gtest/gtest.h>

#include <algorithm>
#include <boost/math/distributions/students_t.hpp>
#include <boost/multiprecision/cpp_bin_float.hpp>
#include <charconv>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "normal_theory_analysis.h"
#include "rank_analysis.h"
#include "trimmed_analysis.h"

namespace tarnwick::score_analysis {
namespace {

using Scores = std::vector<double>;

const ScoreSettings bioequivalence{0.05, 0.80, 1.25, Hypothesis::equivalence, Scale::ratio};

double number(const std::string& text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    EXPECT_TRUE(error == std::errc() && end == text.data() + text.size()) << text;
    return value;
}

// study -> {T, R} from the long table of scores.
std::map<std::string, std::pair<Scores, Scores>> referenceScores() {
    std::ifstream in(std::string(TARNWICK_TEST_DATA) + "/parallel_reference_scores.csv");
    EXPECT_TRUE(in.good());
    std::map<std::string, std::pair<Scores, Scores>> sets;
    std::string line;
    std::getline(in, line);  // study,group,score
    while (std::getline(in, line)) {
        const auto a = line.find(','), b = line.find(',', a + 1);
        auto& set = sets[line.substr(0, a)];
        (line.substr(a + 1, b - a - 1) == "T" ? set.first : set.second)
            .push_back(number(line.substr(b + 1)));
    }
    return sets;
}

struct Printed {
    std::string set;
    double point, welchLow, welchHigh, pooledLow, pooledHigh;
};

std::vector<Printed> printedIntervals() {
    std::ifstream in(std::string(TARNWICK_TEST_DATA) + "/parallel_reference_intervals.txt");
    EXPECT_TRUE(in.good());
    std::vector<Printed> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        Printed row;
        std::string p, wl, wh, pl, ph;
        fields >> row.set >> p >> wl >> wh >> pl >> ph;
        row.point = number(p);
        row.welchLow = number(wl);
        row.welchHigh = number(wh);
        row.pooledLow = number(pl);
        row.pooledHigh = number(ph);
        rows.push_back(row);
    }
    return rows;
}

// A ratio as the paper prints it: in percent, rounded to two decimals.
void expectPrinted(double ratio, double printed, const std::string& what) {
    EXPECT_LE(std::fabs(100 * ratio - printed), 0.005 + 1e-9)
        << what << ": " << 100 * ratio << "% printed as " << printed << "%";
}

TEST(RatioScale, ReproducesTheParallelReferenceDataSets) {
    const auto sets = referenceScores();
    const auto rows = printedIntervals();
    ASSERT_EQ(rows.size(), 9U);
    for (const Printed& row : rows) {
        SCOPED_TRACE(row.set);
        const auto& [t, r] = sets.at(row.set);
        ScoreSettings settings = bioequivalence;
        const ScoreResult welch = normalTheoryIndependent(t, r, settings);
        settings.standardError = StandardError::pooled;
        const ScoreResult pooled = normalTheoryIndependent(t, r, settings);
        expectPrinted(welch.estimate, row.point, "point");
        expectPrinted(pooled.estimate, row.point, "point");
        expectPrinted(welch.low, row.welchLow, "Welch's lower end");
        expectPrinted(welch.high, row.welchHigh, "Welch's upper end");
        expectPrinted(pooled.low, row.pooledLow, "the pooled lower end");
        expectPrinted(pooled.high, row.pooledHigh, "the pooled upper end");
        EXPECT_EQ(pooled.notes.df, static_cast<double>(t.size() + r.size() - 2));
        // The conclusion is the interval's: within 80-125% or not.
        const bool inside = welch.low > 0.8 && welch.high < 1.25;
        EXPECT_EQ(welch.conclusion == Conclusion::equivalent, inside);
    }
}

// The paired t test of the log ratios, worked in 50 digits.
using Big = boost::multiprecision::cpp_bin_float_50;

struct PairedOracle {
    double estimate, low, high, pLower, pUpper, df, se;
};

PairedOracle pairedOnLogs(const Scores& x, const Scores& y, double alpha, double lower,
                          double upper) {
    const auto n = static_cast<long>(x.size());
    std::vector<Big> d;
    Big sum = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        d.push_back(log(Big(x[i])) - log(Big(y[i])));
        sum += d.back();
    }
    const Big mean = sum / n;
    Big squares = 0;
    for (const Big& v : d)
        squares += (v - mean) * (v - mean);
    const Big se = sqrt(squares / (n - 1)) / sqrt(Big(n));
    const boost::math::students_t_distribution<Big> t(Big(n - 1));
    const Big tLower = (mean - log(Big(lower))) / se, tUpper = (mean - log(Big(upper))) / se;
    const Big q = quantile(complement(t, Big(alpha)));
    return {static_cast<double>(exp(mean)),
            static_cast<double>(exp(mean - q * se)),
            static_cast<double>(exp(mean + q * se)),
            static_cast<double>(cdf(complement(t, tLower))),
            static_cast<double>(cdf(t, tUpper)),
            static_cast<double>(n - 1),
            static_cast<double>(se)};
}

void expectRelative(double got, double expected, const char* what) {
    EXPECT_NEAR(got, expected, 1e-12 * std::fabs(expected)) << what;
}

TEST(RatioScale, PairedTestOnTheLogsAgreesWithFiftyDigits) {
    // Areas under the curve of a test and a reference formulation in 12
    // subjects: geometric mean ratio near 0.95.
    const Scores test = {112.3, 98.7,  143.2, 87.9,  121.5, 104.4,
                         96.1,  133.8, 79.6,  110.2, 125.7, 91.3};
    const Scores reference = {118.9, 101.2, 139.5, 97.4,  130.1, 108.8,
                              93.7,  146.2, 85.1,  119.6, 127.4, 99.8};
    for (const double alpha : {0.05, 0.025}) {
        ScoreSettings settings = bioequivalence;
        settings.alpha = alpha;
        const ScoreResult got = normalTheoryMatched(test, reference, settings);
        const PairedOracle want = pairedOnLogs(test, reference, alpha, 0.80, 1.25);
        expectRelative(got.estimate, want.estimate, "geometric mean ratio");
        expectRelative(got.low, want.low, "lower end");
        expectRelative(got.high, want.high, "upper end");
        expectRelative(got.pLower, want.pLower, "p against 0.80");
        expectRelative(got.pUpper, want.pUpper, "p against 1.25");
        expectRelative(got.notes.standardError, want.se, "standard error of the log ratio");
        EXPECT_EQ(got.notes.df, want.df);
        EXPECT_EQ(got.conclusion, Conclusion::equivalent);
    }
}

// The 20% trimmed geometric mean: floor(0.2 n) scores off each end, the
// geometric mean of the rest.
double trimmedGeometricMean(Scores scores) {
    std::sort(scores.begin(), scores.end());
    const auto g = static_cast<std::size_t>(std::floor(0.2 * static_cast<double>(scores.size())));
    long double logSum = 0;
    for (std::size_t i = g; i < scores.size() - g; ++i)
        logSum += std::log(static_cast<long double>(scores[i]));
    return static_cast<double>(std::exp(logSum / static_cast<long double>(scores.size() - 2 * g)));
}

// The median of the n1 n2 ratios x_i / y_j (an odd count, so one of them).
double medianRatio(const Scores& x, const Scores& y) {
    Scores ratios;
    for (const double a : x)
        for (const double b : y)
            ratios.push_back(a / b);
    std::nth_element(ratios.begin(), ratios.begin() + ratios.size() / 2, ratios.end());
    return ratios[ratios.size() / 2];
}

struct EstimateCase {
    const char* name;
    Scores x, y;
};

class RatioEstimates : public ::testing::TestWithParam<EstimateCase> {};

TEST_P(RatioEstimates, AreTheRatiosOfTheScoresThemselves) {
    const EstimateCase& c = GetParam();
    const ScoreResult rank = rankIndependent(c.x, c.y, bioequivalence);
    EXPECT_NEAR(rank.estimate, medianRatio(c.x, c.y), 1e-13 * rank.estimate);
    EXPECT_LT(rank.low, rank.estimate);
    EXPECT_GT(rank.high, rank.estimate);
    const ScoreResult trimmed = yuenIndependent(c.x, c.y, bioequivalence);
    EXPECT_NEAR(trimmed.estimate, trimmedGeometricMean(c.x) / trimmedGeometricMean(c.y),
                1e-13 * trimmed.estimate);
    EXPECT_EQ(trimmed.notes.trimmed1, static_cast<long>(std::floor(0.2 * c.x.size())));
}

// Three scores against three reach no rank at .025: the sentence counts the
// values of the logs it ranked, and the interval is 0 to infinity.
TEST(RatioScale, UnboundedRankIntervalNamesTheLogs) {
    ScoreSettings settings = bioequivalence;
    settings.alpha = 0.025;
    const Scores x = {10.1, 10.7, 11.3}, y = {9.2, 9.9, 10.4};
    const ScoreResult independent = rankIndependent(x, y, settings);
    EXPECT_EQ(independent.low, 0);
    EXPECT_EQ(independent.high, HUGE_VAL);
    EXPECT_TRUE(independent.notes.unbounded.starts_with(
        "No interval from the 9 pairwise differences of the logs reaches 95%:"))
        << independent.notes.unbounded;
    const ScoreResult matched = rankMatched(x, y, settings);
    EXPECT_TRUE(matched.notes.unbounded.starts_with(
        "No interval from the 6 Walsh averages of the logs reaches 95%:"))
        << matched.notes.unbounded;
}

INSTANTIATE_TEST_SUITE_P(
    Independent, RatioEstimates,
    ::testing::Values(
        EstimateCase{"skewed", {3.1, 0.42, 8.8, 1.9, 2.4, 15.2, 1.1}, {2.2, 1.7, 0.9, 4.6, 3.3}},
        EstimateCase{"near_one",
                     {101, 98, 103, 99, 100, 97, 104, 102, 96},
                     {100, 99, 101, 98, 102, 100, 97}},
        // Ratios far from 1 and scores spanning twelve orders of magnitude.
        EstimateCase{
            "wide", {2e-6, 3e-6, 5e-6, 7e-6, 1.1e-5}, {4e6, 1e6, 9e5, 2e6, 3e5, 6e6, 8e5}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarnwick::score_analysis
