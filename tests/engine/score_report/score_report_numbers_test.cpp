// Numbers in a paragraph that no ordinary run shows: rank statistics of
// large groups written in full and grouped (never "8e+07"), and an
// unbounded interval written in words with the sentence that says why.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "analysis_table.h"
#include "score_report.h"

namespace tarnwick::score_report {
namespace {

const AnalysisEntry* rank() { return analysisNamed("rank"); }

ScoreAnswers rankAnswers(bool matched, double statistic, double low, double high,
                         const std::string& unbounded = {}) {
    ScoreAnswers answers;
    answers.matched = matched;
    answers.settings = {0.05, -1, 1, score_analysis::Hypothesis::equivalence};
    answers.n1 = answers.n2 = 10000;
    ScoreResult result;
    result.low = low;
    result.high = high;
    result.level = 0.9;
    result.notes.lower.statistic = result.notes.upper.statistic = statistic;
    result.notes.unbounded = unbounded;
    answers.outcomes = emptyOutcomes();
    answers.outcomes.at(static_cast<std::size_t>(rank() - analysisTable().data())).result = result;
    return answers;
}

TEST(RankStatistic, IsWrittenInFull) {
    struct Row {
        bool matched;
        double statistic;
        const char* text;
    };
    for (const Row& row : {Row{false, 80051287, "W = 80,051,287,"}, Row{false, 999, "W = 999,"},
                           Row{true, 1234567.5, "V = 1,234,567.5,"}, Row{true, 100.5, "V = 100.5,"},
                           Row{false, 4e12, "W = 4,000,000,000,000,"}}) {
        const std::string paragraph =
            analysisParagraph(rankAnswers(row.matched, row.statistic, -0.5, 0.5), *rank());
        EXPECT_NE(paragraph.find(row.text), std::string::npos) << paragraph;
        EXPECT_EQ(paragraph.find("e+"), std::string::npos) << paragraph;
    }
}

TEST(UnboundedInterval, IsWrittenInWordsWithItsReason) {
    const std::string why = "No interval from the 9 pairwise differences reaches 90%.";
    const std::string paragraph =
        analysisParagraph(rankAnswers(false, 4, -HUGE_VAL, HUGE_VAL, why), *rank());
    EXPECT_NE(paragraph.find("CI [-infinity, infinity]"), std::string::npos) << paragraph;
    EXPECT_NE(paragraph.find(why), std::string::npos) << paragraph;
    EXPECT_EQ(paragraph.find("inf,"), std::string::npos) << paragraph;
}

}  // namespace
}  // namespace tarnwick::score_report
