// Summaries of raw scores against the same statistics computed in 50-digit
// arithmetic from the exact double value of every score. The tables are
// written out as text in each form the reader takes (delimiters, decimal
// commas, header or none, CRLF, byte order mark, missing-value spellings),
// so a test fails if the reading or the arithmetic loses anything.

#include <gtest/gtest.h>

#include <boost/multiprecision/cpp_bin_float.hpp>
#include <cmath>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "correlation.h"
#include "moments.h"
#include "shortest_text.h"
#include "summaries.h"

namespace tarnwick::data {
namespace {

using Real = boost::multiprecision::cpp_bin_float_50;
using Scores = std::vector<std::optional<double>>;  // nullopt: a missing cell

// A mean correct to a few ulps of the largest score's size, an SD to a few
// ulps of itself: a one-pass sum of squares is off by whole units on the
// offset data, so these bounds hold the method to what it claims.
constexpr double epsilon = 0x1p-52;
constexpr double meanBound = 4 * epsilon;
constexpr double sdBound = 64 * epsilon;

struct Oracle {
    long n = 0;
    Real mean, sd;
};

Oracle oracle(const std::vector<Real>& scores) {
    Oracle result;
    result.n = static_cast<long>(scores.size());
    Real sum = 0;
    for (const Real& x : scores)
        sum += x;
    result.mean = sum / result.n;
    Real squares = 0;
    for (const Real& x : scores)
        squares += (x - result.mean) * (x - result.mean);
    result.sd = sqrt(squares / (result.n - 1));
    return result;
}

std::vector<Real> present(const Scores& scores) {
    std::vector<Real> values;
    for (const auto& score : scores)
        if (score) values.emplace_back(*score);
    return values;
}

void expectClose(const GroupSummary& got, const Oracle& truth, const char* what) {
    SCOPED_TRACE(what);
    EXPECT_EQ(got.n, truth.n);
    const double size =
        std::max(std::fabs(static_cast<double>(truth.mean)), static_cast<double>(truth.sd));
    EXPECT_LE(std::fabs(static_cast<double>((Real(got.mean) - truth.mean) / size)), meanBound)
        << "mean " << got.mean << " against " << truth.mean;
    EXPECT_LE(std::fabs(static_cast<double>((Real(got.sd) - truth.sd) / truth.sd)), sdBound)
        << "SD " << got.sd << " against " << truth.sd;
}

struct TextForm {
    char delimiter = ',';
    char decimalMark = '.';
    bool header = false;
    const char* lineEnd = "\n";
    bool byteOrderMark = false;
    const char* missing = "";  // how a missing cell is spelled
};

std::string cellText(const std::optional<double>& score, const TextForm& form) {
    if (!score) return form.missing;
    std::string text = table_io::shortestText(*score);
    if (form.decimalMark == ',') {
        for (char& c : text)
            if (c == '.') c = ',';
    }
    return text;
}

// Two columns side by side, the shorter one ending early (its cells empty).
std::string sideBySideText(const Scores& first, const Scores& second, const TextForm& form) {
    std::string text = form.byteOrderMark ? "\xEF\xBB\xBF" : "";
    if (form.header) text += std::string("before") + form.delimiter + "after" + form.lineEnd;
    for (std::size_t i = 0; i < std::max(first.size(), second.size()); ++i) {
        if (i < first.size()) text += cellText(first[i], form);
        text += form.delimiter;
        if (i < second.size()) text += cellText(second[i], form);
        text += form.lineEnd;
    }
    return text;
}

struct Generated {
    Scores first, second;
};

// Scores around `offset` with a spread of `spread`, every `missingEvery`-th
// one missing (0: none), drawn from a fixed seed.
Scores scores(std::size_t count, double offset, double spread, std::size_t missingEvery,
              unsigned seed) {
    std::mt19937_64 engine(seed);
    std::uniform_real_distribution<double> unit(-1, 1);
    Scores result;
    for (std::size_t i = 0; i < count; ++i) {
        if (missingEvery != 0 && i % missingEvery == missingEvery - 1)
            result.emplace_back();
        else
            result.emplace_back(offset + spread * unit(engine));
    }
    return result;
}

struct SideBySideCase {
    const char* name;
    Generated data;
    TextForm form;
};

class SideBySide : public ::testing::TestWithParam<SideBySideCase> {};

TEST_P(SideBySide, EqualsTheFiftyDigitSummaries) {
    const SideBySideCase& c = GetParam();
    const ScoreTable table = readScoreTable(sideBySideText(c.data.first, c.data.second, c.form));
    EXPECT_EQ(table.hasHeader, c.form.header);
    EXPECT_EQ(table.decimalMark, c.form.decimalMark);
    const Summaries got = summarise(table, {Layout::sideBySide, 0, 1, {}, {}});
    expectClose(got.group1, oracle(present(c.data.first)), "group 1");
    expectClose(got.group2, oracle(present(c.data.second)), "group 2");
    const auto missing = [](const Scores& s) {
        return static_cast<long>(std::count(s.begin(), s.end(), std::nullopt));
    };
    EXPECT_EQ(got.group1.missing, missing(c.data.first));
    EXPECT_EQ(got.group2.missing, missing(c.data.second));
    EXPECT_FALSE(got.differences.has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Tables, SideBySide,
    ::testing::Values(SideBySideCase{"offset_1e9_comma_header",
                                     {scores(200, 1e9, 0.5, 0, 1),
                                      scores(200, 1e9 + 0.25, 0.5, 0, 2)},
                                     {',', '.', true}},
                      SideBySideCase{"offset_1e9_tab_crlf_no_header",
                                     {scores(60, 1e9, 3, 0, 3), scores(45, 1e9, 2, 0, 4)},
                                     {'\t', '.', false, "\r\n"}},
                      SideBySideCase{"missing_as_NA_unequal_lengths",
                                     {scores(37, 50, 10, 5, 5), scores(52, 47, 12, 7, 6)},
                                     {',', '.', true, "\n", false, "NA"}},
                      SideBySideCase{"missing_as_dot_tab",
                                     {scores(20, 3.5, 1, 3, 7), scores(25, 3.1, 1, 4, 8)},
                                     {'\t', '.', false, "\n", false, "."}},
                      SideBySideCase{"missing_as_NaN_with_bom",
                                     {scores(30, -12, 4, 6, 9), scores(31, -10, 4, 2, 10)},
                                     {',', '.', true, "\r\n", true, "NaN"}},
                      SideBySideCase{"decimal_comma_semicolon_header",
                                     {scores(40, 1e6, 0.125, 0, 11), scores(33, 1e6, 0.25, 8, 12)},
                                     {';', ',', true}},
                      SideBySideCase{"decimal_comma_tab_no_header_crlf",
                                     {scores(15, 7.25, 2, 0, 13), scores(9, 6.5, 2, 0, 14)},
                                     {'\t', ',', false, "\r\n"}},
                      SideBySideCase{"tiny_scores_in_exponent_form",
                                     {scores(25, 1e-7, 1e-9, 0, 15), scores(25, 2e-7, 1e-9, 0, 16)},
                                     {',', '.', false}}),
    [](const auto& info) { return std::string(info.param.name); });

// Pairs by row at a large offset, some pairs broken by a missing score.
TEST(Matched, DifferencesAndCompletePairsEqualTheFiftyDigitSummaries) {
    Scores before = scores(120, 1e9, 2, 11, 21);
    Scores after = scores(120, 1e9 + 1, 2, 13, 22);
    const TextForm form{'\t', '.', true, "\r\n", true, "NA"};
    const ScoreTable table = readScoreTable(sideBySideText(before, after, form));
    const Summaries got = summarise(table, {Layout::matched, 0, 1, {}, {}});

    std::vector<Real> first, second, differences;
    long dropped = 0;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (!before[i] || !after[i]) {
            ++dropped;
            continue;
        }
        first.emplace_back(*before[i]);
        second.emplace_back(*after[i]);
        differences.push_back(Real(*before[i]) - Real(*after[i]));
    }
    ASSERT_TRUE(got.differences.has_value());
    expectClose(*got.differences, oracle(differences), "differences");
    expectClose(got.group1, oracle(first), "group 1 over complete pairs");
    expectClose(got.group2, oracle(second), "group 2 over complete pairs");
    EXPECT_EQ(got.pairsDropped, dropped);
    EXPECT_GT(dropped, 15);
    // Each column's own missing cells, apart from the pairs they break.
    EXPECT_EQ(got.group1.missing, std::count(before.begin(), before.end(), std::nullopt));
    EXPECT_EQ(got.group2.missing, std::count(after.begin(), after.end(), std::nullopt));
    EXPECT_EQ(got.group1.n, got.group2.n);
}

// A group column and a score column, a third group that is not chosen.
TEST(LongFormat, ChosenGroupsEqualTheFiftyDigitSummaries) {
    const Scores control = scores(50, 1e9, 1, 9, 31);
    const Scores treated = scores(70, 1e9 + 0.5, 1, 0, 32);
    const Scores other = scores(10, 5, 1, 0, 33);
    std::string text = "group;score\n";
    const TextForm form{';', ',', true, "\n", false, ""};
    for (std::size_t i = 0; i < 70; ++i) {
        if (i < control.size()) text += "ctl;" + cellText(control[i], form) + "\n";
        text += " trt ;" + cellText(treated[i], form) + "\n";
        if (i < other.size()) text += "other;" + cellText(other[i], form) + "\n";
    }
    const ScoreTable table = readScoreTable(text);
    EXPECT_EQ(groupValues(table, 0), (std::vector<std::string>{"ctl", "trt", "other"}));
    const Summaries got = summarise(table, {Layout::longFormat, 0, 1, "trt", "ctl"});
    expectClose(got.group1, oracle(present(treated)), "trt");
    expectClose(got.group2, oracle(present(control)), "ctl");
    EXPECT_EQ(got.group2.missing, 5);
}

// Scores at the ends of a double's range: their squares overflow or vanish
// unless the method scales first. An SD in the subnormal range can only be
// the true one to the nearest subnormal.
struct ExtremeCase {
    const char* name;
    std::vector<double> scores;
};

class Extremes : public ::testing::TestWithParam<ExtremeCase> {};

TEST_P(Extremes, EqualTheFiftyDigitSummaries) {
    const ExtremeCase& c = GetParam();
    std::string text;
    for (const double x : c.scores)
        text += table_io::shortestText(x) + ",1\n";
    const ScoreTable table = readScoreTable(text);
    const Summaries got = summarise(table, {Layout::sideBySide, 0, 1, {}, {}});
    const Oracle truth = oracle(std::vector<Real>(c.scores.begin(), c.scores.end()));
    EXPECT_EQ(got.group1.n, truth.n);
    constexpr double subnormalStep = 0x1p-1074;
    const auto within = [&](double value, const Real& exact, const char* what) {
        const Real error = abs(Real(value) - exact);
        EXPECT_LE(static_cast<double>(error),
                  sdBound * static_cast<double>(abs(exact)) + subnormalStep)
            << what << " " << value << " against " << exact;
    };
    within(got.group1.mean, truth.mean, "mean");
    within(got.group1.sd, truth.sd, "SD");
    EXPECT_GT(got.group1.sd, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Range, Extremes,
    ::testing::Values(ExtremeCase{"near_the_largest_double", {1e308, 1e308, -1e308}},
                      ExtremeCase{"largest_double_twice_and_a_tenth_less",
                                  {1.7976931348623157e308, 1.7976931348623157e308, 1.6e308}},
                      ExtremeCase{"one_huge_one_tiny", {1e308, 1e-308}},
                      ExtremeCase{"subnormal", {1e-320, 2e-320, 3e-320}},
                      ExtremeCase{"smallest_subnormals", {0, 5e-324, 1e-323}},
                      ExtremeCase{"normal_beside_subnormal", {1e-300, 1e-320, 3e-310}},
                      ExtremeCase{"squares_underflow", {1e-170, 2e-170, 4e-170, 8e-170}}),
    [](const auto& info) { return std::string(info.param.name); });

Real oracleSdOfDifferences(double sd1, double sd2, double r) {
    const Real a = sd1, b = sd2;
    return sqrt(a * a + b * b - 2 * Real(r) * a * b);
}

TEST(Correlation, SdOfDifferencesEqualsTheFiftyDigitFormula) {
    struct Row {
        double sd1, sd2, r;
    };
    // r near 1 with near-equal SDs is where the textbook form cancels.
    const Row rows[] = {
        {1, 1, 0}, {2.5, 3.75, 0.6},      {10, 10, 0.999999},   {1, 1.0001, 0.99999999}, {4, 3, -1},
        {4, 3, 1}, {1e-200, 3e-200, 0.5}, {1e200, 2e200, 0.25}, {0.3, 0.7, -0.42}};
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.sd1 << ", " << row.sd2 << ", r " << row.r);
        const Real truth = oracleSdOfDifferences(row.sd1, row.sd2, row.r);
        const double got = sdOfDifferences(row.sd1, row.sd2, row.r);
        EXPECT_LE(std::fabs(static_cast<double>((Real(got) - truth) / truth)), 8 * epsilon);
    }
}

// A score that is not a finite number makes the mean and SD meaningless,
// wherever it stands; finite scores, however large, are summarised.
TEST(Moments, RefuseScoresThatAreNotFinite) {
    constexpr double infinity = std::numeric_limits<double>::infinity();
    const std::vector<double> notFinite[] = {{infinity, 1, 2},
                                             {1, 2, -infinity},
                                             {1, std::numeric_limits<double>::quiet_NaN(), 2},
                                             {infinity}};
    for (const std::vector<double>& scores : notFinite)
        EXPECT_EQ(moments::meanAndSd(scores).problem, moments::Problem::scoreNotFinite)
            << scores.size() << " scores";
    const moments::Moments finite = moments::meanAndSd(std::vector<double>{1e308, 1e308, 1e308});
    EXPECT_EQ(finite.problem, moments::Problem::none);
    EXPECT_EQ(finite.mean, 1e308);
}

// Equal scores have no spread at all: their mean is their value and their SD
// exactly 0, not a rounding's worth, at every magnitude (a tiny SD would let
// "no spread" checks downstream pass scores that have none).
TEST(Moments, EqualScoresHaveTheirValueAndNoSpread) {
    const std::vector<double> equal[] = {{0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1},
                                         {1e308, 1e308, 1e308},
                                         {-3e-320, -3e-320},
                                         {1e9 + 0.5, 1e9 + 0.5, 1e9 + 0.5, 1e9 + 0.5},
                                         {0, 0, 0}};
    for (const std::vector<double>& scores : equal) {
        const moments::Moments m = moments::meanAndSd(scores);
        EXPECT_EQ(m.problem, moments::Problem::none) << scores.front();
        EXPECT_EQ(m.mean, scores.front());
        EXPECT_EQ(m.sd, 0.0) << scores.front();
    }
}

}  // namespace
}  // namespace tarnwick::data
