// The one-sided questions' columns (hypothesis, margin, better): the whole
// output against data/one-sided-rows-results.csv (TARNWICK_WRITE_GOLDEN=1
// rewrites it after a deliberate change), the rules every one-sided row
// keeps, and the columns a table without margin or better keeps as before.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>

#include "batch_process.h"
#include "man_page_examples.h"

namespace tarnwick::batch::testing {
namespace {

const std::filesystem::path oneSidedRows = TEST_DATA_DIR "/one-sided-rows.csv";
const std::filesystem::path oneSidedResults = TEST_DATA_DIR "/one-sided-rows-results.csv";

TEST(OneSidedRows, ReadAsTheGoldenResults) {
    const Outcome outcome = run(BATCH_PROGRAM, {"--digits", "full", oneSidedRows.string()});
    EXPECT_EQ(outcome.status, 1) << "some rows are refused";
    if (std::getenv("TARNWICK_WRITE_GOLDEN")) {
        std::ofstream(oneSidedResults, std::ios::binary) << outcome.out;
        GTEST_SKIP() << "wrote " << oneSidedResults;
    }
    EXPECT_EQ(outcome.out, readFile(oneSidedResults));
}

// The p value in the one-sided column is the margin's test's, in its p
// column; the other bound, its p and the equivalence test's p are empty;
// the decision is shown exactly when the interval's end on the
// alternative's side lies beyond the margin.
TEST(OneSidedRows, EveryOneSidedRowKeepsItsRules) {
    const Table t = parseCsv(run(BATCH_PROGRAM, {"--digits", "full", oneSidedRows.string()}).out);
    const std::set<std::string> shownNames = {"non_inferior", "non_superior", "superior"};
    const std::set<std::string> notShownNames = {"not_shown_non_inferior", "not_shown_non_superior",
                                                 "not_shown_superior"};
    std::size_t decided = 0, shown = 0;
    for (std::size_t row = 0; row < t.rows.size(); ++row) {
        const std::string& study = t.at(row, "study");
        const std::string& hypothesis = t.at(row, "hypothesis");
        const bool oneSided = !hypothesis.empty() && hypothesis != "equivalence";
        for (const char* prefix : {"ind_", "matched_"}) {
            const std::string p = prefix;
            const std::string& conclusion = t.at(row, p + "conclusion");
            if (!oneSided || conclusion.empty()) {
                EXPECT_EQ(t.at(row, p + "p_one_sided"), "") << study;
                continue;
            }
            ++decided;
            ASSERT_TRUE(shownNames.contains(conclusion) || notShownNames.contains(conclusion))
                << study << ": " << conclusion;
            const bool above = !t.at(row, p + "lower").empty();
            EXPECT_NE(t.at(row, p + (above ? "lower" : "upper")), "") << study;
            EXPECT_EQ(t.at(row, p + (above ? "upper" : "lower")), "") << study;
            EXPECT_EQ(t.at(row, p + "p_one_sided"), t.at(row, p + (above ? "p_lower" : "p_upper")))
                << study;
            EXPECT_EQ(t.at(row, p + (above ? "p_upper" : "p_lower")), "") << study;
            EXPECT_EQ(t.at(row, p + "p_tost"), "") << study;
            const std::string& end = t.at(row, p + (above ? "ci_tost_low" : "ci_tost_high"));
            const bool isShown = shownNames.contains(conclusion);
            shown += isShown;
            if (end.empty()) {  // an unbounded interval shows nothing
                EXPECT_FALSE(isShown) << study;
                continue;
            }
            const double margin = std::stod(t.at(row, p + (above ? "lower" : "upper")));
            EXPECT_EQ(isShown, above ? std::stod(end) > margin : std::stod(end) < margin) << study;
        }
    }
    EXPECT_EQ(decided, 13u);
    EXPECT_EQ(shown, 3u);
}

// A blank alpha on a one-sided row is .025: the row reads as its twin with
// alpha .025 and better higher written out.
TEST(OneSidedRows, BlankAlphaIsTheOneSidedDefault) {
    const Table t = parseCsv(run(BATCH_PROGRAM, {"--digits", "full", oneSidedRows.string()}).out);
    ASSERT_EQ(t.at(1, "study"), "non-inferiority by 0.5 alpha blank");
    ASSERT_EQ(t.at(2, "study"), "non-inferiority by 0.5 alpha .025");
    const std::size_t firstResult = static_cast<std::size_t>(
        std::find(t.columns.begin(), t.columns.end(), "message") - t.columns.begin());
    for (std::size_t i = firstResult; i < t.columns.size(); ++i)
        EXPECT_EQ(t.rows[1][i], t.rows[2][i]) << t.columns[i];
}

// Without a margin or a better column the output has no one-sided columns,
// even for a one-sided question (its p value is then in p_lower or
// p_upper); with either, they come last.
TEST(OneSidedRows, OneSidedColumnsOnlyWhenTheTableHasMarginOrBetter) {
    ScratchFolder scratch;
    const std::string row = "10,2,10,9,2,10,3,non_inferiority\n";
    const std::string header = "mean1,sd1,n1,mean2,sd2,n2,bound,hypothesis";
    for (const auto& [extra, withColumns] :
         {std::pair{std::string(""), false}, {",margin", true}, {",better", true}}) {
        writeFile(scratch.path / "in.csv", header + extra + "\n" + row.substr(0, row.size() - 1) +
                                               (extra.empty() ? "" : ",") + "\n");
        const Outcome outcome = run(BATCH_PROGRAM, {(scratch.path / "in.csv").string()});
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        const Table t = parseCsv(outcome.out);
        ASSERT_EQ(t.rows.size(), 1u);
        EXPECT_EQ(t.at(0, "ind_conclusion"), "non_inferior") << extra;
        EXPECT_EQ(t.columns.back(), withColumns ? "matched_p_one_sided" : "matched_conclusion")
            << extra;
        if (withColumns) {
            EXPECT_EQ(t.at(0, "ind_p_one_sided"), t.at(0, "ind_p_lower")) << extra;
        }
    }
}

}  // namespace
}  // namespace tarnwick::batch::testing
