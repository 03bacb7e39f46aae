#include "score_report.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "apa_format.h"

namespace tarnwick::score_report {
namespace {

using score_analysis::Conclusion;
using score_analysis::Hypothesis;

// Answers made by hand: each analysis's conclusion (or none: not computed)
// and p, so that every kind of agreement can be asked for.
struct Made {
    std::optional<Conclusion> normal, rank, trimmed, bootstrap;
};

ScoreAnswers madeAnswers(const Made& made, Hypothesis hypothesis = Hypothesis::equivalence,
                         double p = 0.3) {
    ScoreAnswers answers;
    answers.outcomes = emptyOutcomes();
    answers.settings = {0.05, -1, 1, hypothesis};
    answers.n1 = answers.n2 = 20;
    const std::optional<Conclusion> conclusions[] = {made.normal, made.rank, made.trimmed,
                                                     made.bootstrap};
    for (std::size_t i = 0; i < 4; ++i) {
        if (!conclusions[i]) {
            answers.outcomes[i].problem = "Nothing left to spread.";
            continue;
        }
        ScoreResult result;
        result.conclusion = *conclusions[i];
        const bool rejected = result.conclusion == Conclusion::equivalent ||
                              result.conclusion == Conclusion::beyondBounds;
        result.p = rejected ? 0.01 : p;
        answers.outcomes[i].result = result;
    }
    // Two plain groups: no skew, no outliers, no ties.
    const std::vector<double> plain = {1, 2, 3, 4, 5};
    answers.shapes = {scoreShape(plain), scoreShape(plain)};
    return answers;
}

constexpr auto E = Conclusion::equivalent;
constexpr auto N = Conclusion::notShownEquivalent;
constexpr auto B = Conclusion::beyondBounds;
constexpr auto M = Conclusion::notShownBeyondBounds;
constexpr std::optional<Conclusion> gone = std::nullopt;

struct AgreementRow {
    const char* name;
    Made made;
    Hypothesis hypothesis;
    std::string starts;  // the first sentence, whole
};

class AgreementTest : public ::testing::TestWithParam<AgreementRow> {};

TEST_P(AgreementTest, FirstSentenceCountsAndNames) {
    const AgreementRow& row = GetParam();
    const std::string sentence = agreementSentence(madeAnswers(row.made, row.hypothesis));
    EXPECT_EQ(sentence.substr(0, row.starts.size()), row.starts) << sentence;
    // Agreement needs no explanation; a split always gets one.
    const bool split = row.starts.find(';') != std::string::npos;
    EXPECT_EQ(sentence.size() > row.starts.size(), split) << sentence;
}

INSTANTIATE_TEST_SUITE_P(
    Sentences, AgreementTest,
    ::testing::Values(
        AgreementRow{"all_four",
                     {E, E, E, E},
                     Hypothesis::equivalence,
                     "All four analyses conclude equivalence."},
        AgreementRow{"none_of_four",
                     {N, N, N, N},
                     Hypothesis::equivalence,
                     "None of the four analyses concludes equivalence."},
        AgreementRow{"one_disagrees",
                     {E, E, N, E},
                     Hypothesis::equivalence,
                     "The normal-theory, rank-based and bootstrap analyses conclude equivalence; "
                     "the trimmed-means analysis does not."},
        AgreementRow{"two_disagree",
                     {N, E, N, E},
                     Hypothesis::equivalence,
                     "The rank-based and bootstrap analyses conclude equivalence; the "
                     "normal-theory and trimmed-means analyses do not."},
        AgreementRow{"three_disagree",
                     {N, E, N, N},
                     Hypothesis::equivalence,
                     "The rank-based analysis concludes equivalence; the normal-theory, "
                     "trimmed-means and bootstrap analyses do not."},
        AgreementRow{"three_computed_agree",
                     {E, E, gone, E},
                     Hypothesis::equivalence,
                     "All three analyses with results conclude equivalence."},
        AgreementRow{"two_computed_agree",
                     {E, gone, gone, E},
                     Hypothesis::equivalence,
                     "Both analyses with results conclude equivalence."},
        AgreementRow{"two_computed_neither",
                     {N, gone, gone, N},
                     Hypothesis::equivalence,
                     "Neither of the two analyses with results concludes equivalence."},
        AgreementRow{"one_computed",
                     {gone, E, gone, gone},
                     Hypothesis::equivalence,
                     "The one analysis with results, the rank-based, concludes equivalence."},
        AgreementRow{"one_computed_not",
                     {gone, N, gone, gone},
                     Hypothesis::equivalence,
                     "The one analysis with results, the rank-based, does not conclude "
                     "equivalence."},
        AgreementRow{"minimal_effect_all",
                     {B, B, B, B},
                     Hypothesis::minimalEffect,
                     "All four analyses conclude that the difference lies beyond the bounds."},
        AgreementRow{"minimal_effect_split",
                     {M, B, M, M},
                     Hypothesis::minimalEffect,
                     "The rank-based analysis concludes that the difference lies beyond the "
                     "bounds; the normal-theory, trimmed-means and bootstrap analyses do not."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Agreement, NoResultsNoSentence) {
    EXPECT_EQ(agreementSentence(madeAnswers({gone, gone, gone, gone})), "");
}

// Where the analyses part, the sentence names what these scores show, and
// only that: no skew claimed of symmetric scores, no ties of distinct ones.
struct FactsRow {
    const char* name;
    std::vector<double> group1, group2;
    bool matched;
    double p;          // of the analyses that do not conclude
    double rejectedP;  // of those that do
    std::vector<std::string> present, absent;
};

class FactsTest : public ::testing::TestWithParam<FactsRow> {};

TEST_P(FactsTest, NamesWhatTheScoresShow) {
    const FactsRow& row = GetParam();
    ScoreAnswers answers = madeAnswers({E, N, E, E}, Hypothesis::equivalence, row.p);
    for (auto& outcome : answers.outcomes)
        if (outcome.result->conclusion == E) outcome.result->p = row.rejectedP;
    answers.matched = row.matched;
    answers.label1 = "control";
    answers.label2 = "treated";
    answers.shapes = {scoreShape(row.group1)};
    if (!row.matched) answers.shapes.push_back(scoreShape(row.group2));
    const std::string sentence = agreementSentence(answers);
    for (const std::string& words : row.present)
        EXPECT_NE(sentence.find(words), std::string::npos) << words << " in " << sentence;
    for (const std::string& words : row.absent)
        EXPECT_EQ(sentence.find(words), std::string::npos) << words << " in " << sentence;
}

INSTANTIATE_TEST_SUITE_P(
    Facts, FactsTest,
    ::testing::Values(
        FactsRow{"plain_scores",
                 {1, 2, 3, 4, 5},
                 {2, 3, 4, 5, 6},
                 false,
                 0.4,
                 0.01,
                 {"These scores show no strong skew, no scores beyond 1.5 interquartile ranges "
                  "from the quartiles and no ties, so the methods alone part them."},
                 {"Here", "skewed"}},
        FactsRow{"right_skew_and_outlier",
                 {1, 2, 3, 4, 100},
                 {2, 3, 4, 5, 6},
                 false,
                 0.4,
                 0.01,
                 {"Here control is strongly skewed to the right (skewness 2.23) and control has "
                  "1 score beyond 1.5 interquartile ranges from the quartiles."},
                 {"treated is", "tie", "no strong skew"}},
        FactsRow{"left_skew_second_group",
                 {2, 3, 4, 5, 6},
                 {-100, -4, -3, -2, -1},
                 false,
                 0.4,
                 0.01,
                 {"treated is strongly skewed to the left (skewness -2.23)",
                  "treated has 1 score beyond"},
                 {"control is"}},
        FactsRow{"ties_in_both_groups",
                 {1, 1, 2, 3, 4},
                 {2, 2, 3, 4, 5},
                 false,
                 0.4,
                 0.01,
                 {"scores tie within both groups"},
                 {"skewed"}},
        FactsRow{"ties_in_one_group",
                 {1, 2, 3, 4, 5},
                 {2, 2, 3, 4, 5},
                 false,
                 0.4,
                 0.01,
                 {"Here scores tie within treated."},
                 {"both groups"}},
        FactsRow{"matched_differences",
                 {1, 2, 3, 4, 100},
                 {},
                 true,
                 0.4,
                 0.01,
                 {"the differences are strongly skewed to the right",
                  "the differences have 1 score beyond"},
                 {"control"}},
        FactsRow{"p_values_near_alpha",
                 {1, 2, 3, 4, 5},
                 {2, 3, 4, 5, 6},
                 false,
                 0.07,
                 0.03,
                 {"Here the tests' p values lie between .030 and .070, close to alpha."},
                 {"no strong skew"}},
        FactsRow{"p_values_far_from_alpha",
                 {1, 2, 3, 4, 5},
                 {2, 3, 4, 5, 6},
                 false,
                 0.4,
                 0.01,
                 {},
                 {"close to alpha"}}),
    [](const auto& info) { return std::string(info.param.name); });

// The paragraphs of real analyses: the engine's numbers, written by the
// report's rules, and the method each used.
struct ParagraphRow {
    const char* name;
    std::vector<double> group1, group2;
    bool matched;
    Hypothesis hypothesis;
    const char* analysis;  // its name in the analysis table
    std::vector<std::string> present, absent;
    // Ratio: bounds 0.80 and 1.25; difference: -2.5 and 2.5.
    score_analysis::Scale scale = score_analysis::Scale::difference;
    score_analysis::StandardError standardError = score_analysis::StandardError::welch;
    friend void PrintTo(const ParagraphRow& row, std::ostream* out) { *out << row.name; }
};

class ParagraphTest : public ::testing::TestWithParam<ParagraphRow> {};

TEST_P(ParagraphTest, SaysNumbersAndMethod) {
    const ParagraphRow& row = GetParam();
    const bool ratio = row.scale == score_analysis::Scale::ratio;
    ScoreAnswers answers = analyseScores(row.group1, row.group2, row.matched,
                                         {0.05, ratio ? 0.8 : -2.5, ratio ? 1.25 : 2.5,
                                          row.hypothesis, row.scale, row.standardError},
                                         {2000, 7});
    answers.label1 = "A";
    answers.label2 = "B";
    const AnalysisEntry* named = analysisNamed(row.analysis);
    ASSERT_NE(named, nullptr) << row.analysis;
    const AnalysisEntry& analysis = *named;
    const std::string text = analysisParagraph(answers, analysis);
    const auto& result = answers.outcome(analysis).result;
    ASSERT_TRUE(result.has_value()) << answers.outcome(analysis).problem;
    const int decimals = rawUnitDecimals(answers);
    namespace apa = report::apa;
    for (const std::string& number : {apa::number(result->estimate, decimals),
                                      apa::pValue(result->pLower), apa::pValue(result->pUpper)})
        EXPECT_NE(text.find(number), std::string::npos) << number << " in " << text;
    EXPECT_NE(text.find(apa::percent(result->level) + "% CI"), std::string::npos) << text;
    for (const std::string& words : row.present)
        EXPECT_NE(text.find(words), std::string::npos) << words << " in " << text;
    for (const std::string& words : row.absent)
        EXPECT_EQ(text.find(words), std::string::npos) << words << " in " << text;
}

const std::vector<double> small1 = {10.1, 11.4, 9.8, 12.2, 10.9, 11.7, 10.3, 12.8};
const std::vector<double> small2 = {10.6, 11.0, 10.2, 11.9, 12.4, 10.8, 11.3, 9.9};
const std::vector<double> tied1 = {10, 11, 11, 12, 13, 13, 14, 10};
const std::vector<double> tied2 = {11, 11, 12, 12, 13, 14, 10, 12};

INSTANTIATE_TEST_SUITE_P(
    Paragraphs, ParagraphTest,
    ::testing::Values(
        ParagraphRow{"normal_welch",
                     small1,
                     small2,
                     false,
                     Hypothesis::equivalence,
                     "normal",
                     {"Normal theory. Mean difference (A - B) = ",
                      "Welch's t tests: Welch's standard error, df = ", "t(",
                      "Equivalence is shown at alpha = .05: both one-sided tests are significant."},
                     {}},
        ParagraphRow{"normal_paired",
                     small1,
                     small2,
                     true,
                     Hypothesis::equivalence,
                     "normal",
                     {"Mean of the differences (A - B)", "Paired t tests", "df = 7."},
                     {"Welch"}},
        ParagraphRow{"rank_exact",
                     small1,
                     small2,
                     false,
                     Hypothesis::equivalence,
                     "rank",
                     {"Hodges-Lehmann shift (A - B)",
                      "W = ", "the exact critical value of the rank distribution",
                      "Both Wilcoxon-Mann-Whitney tests are exact."},
                     {"normal approximation"}},
        ParagraphRow{"rank_ties_normal",
                     tied1,
                     tied2,
                     false,
                     Hypothesis::equivalence,
                     "rank",
                     {"the normal approximation with tie and continuity corrections (tied scores)"},
                     {"are exact"}},
        ParagraphRow{"rank_matched_signed",
                     small1,
                     small2,
                     true,
                     Hypothesis::equivalence,
                     "rank",
                     {"V = ", "Both Wilcoxon signed-rank tests are exact."},
                     {"Mann-Whitney"}},
        ParagraphRow{"trimmed_counts",
                     small1,
                     small2,
                     false,
                     Hypothesis::equivalence,
                     "trimmed",
                     {"Difference of the 20% trimmed means (A - B)",
                      "Trimmed from each end: 1 score of A and 1 of B", "Yuen's standard error"},
                     {"1 scores"}},
        ParagraphRow{"bootstrap_b_and_seed",
                     small1,
                     small2,
                     false,
                     Hypothesis::equivalence,
                     "bootstrap",
                     {"Bootstrap-t.", "B = 2,000 replicates, seed 7", "(count + 1) / (B + 1)"},
                     {}},
        ParagraphRow{"minimal_effect_not_shown",
                     small1,
                     small2,
                     false,
                     Hypothesis::minimalEffect,
                     "normal",
                     {"A difference beyond the bounds is not shown at alpha = .05: neither "
                      "one-sided test is significant."},
                     {"Equivalence"}},
        ParagraphRow{"normal_pooled",
                     small1,
                     small2,
                     false,
                     Hypothesis::equivalence,
                     "normal",
                     {"Student's t tests: the pooled standard error, df = 14.", "t(14) = "},
                     {"Welch"},
                     score_analysis::Scale::difference,
                     score_analysis::StandardError::pooled},
        // The ratio scale: ratios named as such, their interval in percent
        // of group 2, the bounds as entered.
        ParagraphRow{
            "ratio_normal_welch",
            small1,
            small2,
            false,
            Hypothesis::equivalence,
            "normal",
            {"Normal theory. Ratio of the geometric means (A / B) = 1.0110, 90% CI [0.9373, "
             "1.0906], 93.73% to 109.06% of B. ",
             "Against the lower bound of 0.80, t(", "against the upper bound of 1.25, ",
             "Welch's t tests"},
            {"Mean difference", " - "},
            score_analysis::Scale::ratio},
        ParagraphRow{"ratio_normal_pooled_matched_is_paired",
                     small1,
                     small2,
                     true,
                     Hypothesis::equivalence,
                     "normal",
                     {"Geometric mean of the ratios (A / B)", "Paired t tests", "df = 7."},
                     {"pooled"},
                     score_analysis::Scale::ratio,
                     score_analysis::StandardError::pooled},
        ParagraphRow{"ratio_rank_matched",
                     small1,
                     small2,
                     true,
                     Hypothesis::equivalence,
                     "rank",
                     {"Hodges-Lehmann median ratio (A / B)", "V = "},
                     {"shift"},
                     score_analysis::Scale::ratio},
        ParagraphRow{"ratio_trimmed",
                     small1,
                     small2,
                     false,
                     Hypothesis::equivalence,
                     "trimmed",
                     {"Ratio of the 20% trimmed geometric means (A / B)"},
                     {},
                     score_analysis::Scale::ratio},
        ParagraphRow{
            "ratio_minimal_effect",
            small1,
            small2,
            false,
            Hypothesis::minimalEffect,
            "bootstrap",
            {"Ratio of the geometric means (A / B)", "A ratio beyond the bounds is not shown"},
            {"difference"},
            score_analysis::Scale::ratio}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Paragraph, NotComputedSaysWhy) {
    // Each group's middle is flat: winsorised, nothing varies.
    const std::vector<double> flat1 = {5, 5, 5, 5, 5, 5, 5, 5, 5, 9};
    const std::vector<double> flat2 = {6, 6, 6, 6, 6, 6, 6, 6, 6, 1};
    const ScoreAnswers answers = analyseScores(flat1, flat2, false, {0.05, -2, 2});
    ASSERT_FALSE(answers.outcome(*analysisNamed("trimmed")).result.has_value());
    EXPECT_EQ(analysisParagraph(answers, *analysisNamed("trimmed")),
              "Trimmed means. Not computed: " + answers.outcome(*analysisNamed("trimmed")).problem);
    EXPECT_TRUE(answers.outcome(*analysisNamed("rank")).result.has_value());
    // The agreement is of the three with results.
    const std::string sentence = agreementSentence(answers);
    EXPECT_EQ(sentence.substr(0, sentence.find('.')).find("trimmed"), std::string::npos)
        << sentence;
}

TEST(ScoresLine, NamesGroupsBoundsAndAlpha) {
    // Groups of different sizes, so that each count is its own group's.
    const std::vector<double> six(small2.begin(), small2.begin() + 6);
    ScoreAnswers answers = analyseScores(small1, six, false, {0.025, -0.125, 2});
    answers.label1 = "control";
    answers.label2 = "treated";
    EXPECT_EQ(scoresLine(answers).substr(0, 65),
              "Scores: control (n = 8) and treated (n = 6), independent groups. ");
    EXPECT_NE(scoresLine(answers).find("bounds -0.125 and 2.00, alpha = .025."), std::string::npos)
        << scoresLine(answers);
    EXPECT_NE(scoreReportText(answers).find("95% CI"), std::string::npos);
}

TEST(ScoresLine, OnTheRatioScaleSaysRatioPercentAndLogs) {
    ScoreAnswers answers =
        analyseScores(small1, small2, false,
                      {0.05, 0.8, 1.25, Hypothesis::equivalence, score_analysis::Scale::ratio});
    answers.label1 = "test";
    answers.label2 = "reference";
    EXPECT_NE(scoresLine(answers).find("Equivalence test of the ratio test / reference against "
                                       "the bounds 0.80 and 1.25 (80.00% to 125.00%), alpha = "
                                       ".05. Every analysis runs on the natural logarithms"),
              std::string::npos)
        << scoresLine(answers);
    EXPECT_EQ(rawUnitDecimals(answers), 4);
}

// A one-sided question's report: the line names the question, the margin
// and the direction; each paragraph the one test and the shared sentence;
// the agreement the question; and an interval without the deciding end
// (three scores against three at .025: no rank reaches it) says so.
TEST(OneSidedReport, NamesTheQuestionMarginAndDecidingEnd) {
    const std::vector<double> x = {10.1, 10.7, 11.3}, y = {1.2, 1.9, 2.4};
    ScoreAnswers answers =
        analyseScores(x, y, false,
                      score_analysis::oneSidedSettings(0.025, -0.5, Hypothesis::nonInferiority,
                                                       score_analysis::Better::higher));
    answers.label1 = "new";
    answers.label2 = "old";
    const std::string text = scoreReportText(answers);
    for (const char* words :
         {"Non-inferiority test of the difference new - old against the margin -0.50, higher "
          "differences better, alpha = .025.",
          "Against the margin of -0.50, t(",
          "Not inferior by more than 0.50: the lower end of the 95% interval, ",
          "Not shown to be not inferior by more than 0.50: the 95% interval has no lower end.",
          "No interval from the 9 pairwise differences reaches 95%: the smallest p value the test "
          "can give, 0.05,",
          "The Wilcoxon-Mann-Whitney test against the margin is exact.",
          "the rank-based analysis does not."}) {
        EXPECT_NE(text.find(words), std::string::npos) << words << "\n" << text;
    }
    for (const char* absent : {" bound", "both one-sided tests", "p_lower"})
        EXPECT_EQ(text.find(absent), std::string::npos) << absent << "\n" << text;
    EXPECT_EQ(figureCaption(answers, analysisTable()[1]), "Rank-based: non-inferiority not shown");
    EXPECT_EQ(figureCaption(answers, analysisTable()[0]), "Normal theory: non-inferiority shown");
    EXPECT_EQ(agreementSentence(answers).substr(0, 60),
              "The normal-theory, trimmed-means and bootstrap analyses conc");
    EXPECT_NE(agreementSentence(answers).find("conclude non-inferiority against the margin -0.50;"),
              std::string::npos)
        << agreementSentence(answers);
}

// Scores strongly skewed to the right whose logs are not: the report speaks
// of the logs, which the analyses saw, and finds no skew.
TEST(Agreement, OnTheRatioScaleReadsTheShapesOfTheLogs) {
    std::vector<double> x, y;
    for (int i = 0; i < 12; ++i) {
        x.push_back(std::exp(0.5 * (i % 6)));
        y.push_back(std::exp(0.5 * (i % 6) + 0.05 * (i % 2)));
    }
    const ScoreAnswers raw = analyseScores(x, y, false, {0.05, 0.8, 1.25, Hypothesis::equivalence});
    const ScoreAnswers logs = analyseScores(
        x, y, false, {0.05, 0.8, 1.25, Hypothesis::equivalence, score_analysis::Scale::ratio});
    ASSERT_EQ(logs.shapes.size(), 2U);
    ASSERT_TRUE(raw.shapes[0].skewness && logs.shapes[0].skewness);
    EXPECT_GT(*raw.shapes[0].skewness, *logs.shapes[0].skewness);
    EXPECT_NEAR(*logs.shapes[0].skewness, 0, 1e-12);
}

}  // namespace
}  // namespace tarnwick::score_report
