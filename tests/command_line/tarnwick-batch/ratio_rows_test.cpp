// The scale column: a blank or "difference" row is the row without the
// column, byte for byte; a ratio row's interval and bound columns hold
// ratios and its standardised columns are empty; its refusals are messages.
// The whole output against data/ratio-rows-results.csv (TARNWICK_WRITE_GOLDEN=1
// rewrites it after a deliberate change).

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "batch_process.h"
#include "man_page_examples.h"

namespace tarnwick::batch::testing {
namespace {

const std::filesystem::path ratioRows = TEST_DATA_DIR "/ratio-rows.csv";
const std::filesystem::path ratioResults = TEST_DATA_DIR "/ratio-rows-results.csv";

TEST(RatioRows, ReadAsTheGoldenResults) {
    const Outcome outcome = run(BATCH_PROGRAM, {"--digits", "full", ratioRows.string()});
    EXPECT_EQ(outcome.status, 1) << "some rows are refused";
    if (std::getenv("TARNWICK_WRITE_GOLDEN")) {
        std::ofstream(ratioResults, std::ios::binary) << outcome.out;
        GTEST_SKIP() << "wrote " << ratioResults;
    }
    EXPECT_EQ(outcome.out, readFile(ratioResults));
}

TEST(RatioRows, RatioRowsHoldRatiosAndNoStandardisedEffect) {
    const Table t = parseCsv(run(BATCH_PROGRAM, {"--digits", "full", ratioRows.string()}).out);
    std::size_t ratioRowsSeen = 0;
    for (std::size_t row = 0; row < t.rows.size(); ++row) {
        const std::string& study = t.at(row, "study");
        if (t.at(row, "scale") != "ratio" || !t.at(row, "message").empty()) continue;
        ++ratioRowsSeen;
        for (const char* prefix : {"ind_", "matched_"}) {
            const std::string p = prefix;
            if (t.at(row, p + "conclusion").empty()) continue;
            for (const char* column :
                 {"d", "d_ci_tost_low", "d_ci_tost_high", "g", "bound_d_low", "bound_d_high",
                  "sensitivity_bound_80", "sensitivity_bound_90"})
                EXPECT_EQ(t.at(row, p + column), "") << study << " " << p << column;
            const double lower = std::stod(t.at(row, p + "lower"));
            const double upper = std::stod(t.at(row, p + "upper"));
            EXPECT_GT(lower, 0) << study;
            EXPECT_LT(lower, upper) << study;
            if (t.at(row, p + "ci_tost_low").empty()) continue;  // an unbounded interval
            const double low = std::stod(t.at(row, p + "ci_tost_low"));
            const double high = std::stod(t.at(row, p + "ci_tost_high"));
            EXPECT_LE(std::stod(t.at(row, p + "ci_test_low")), low) << study;
            EXPECT_GE(std::stod(t.at(row, p + "ci_test_high")), high) << study;
        }
    }
    EXPECT_EQ(ratioRowsSeen, 7u);
    // One bound alone: the other is its reciprocal.
    for (std::size_t row = 0; row < t.rows.size(); ++row) {
        const std::string& study = t.at(row, "study");
        if (study == "lower alone") {
            EXPECT_EQ(t.at(row, "ind_upper"), "1.1111111111111112");
        } else if (study == "upper alone") {
            EXPECT_EQ(t.at(row, "ind_lower"), "0.8");
        }
    }
}

TEST(RatioRows, DifferenceRowsAreTheRowsWithoutTheColumn) {
    const Table with = parseCsv(run(BATCH_PROGRAM, {ratioRows.string()}).out);
    // The same table without its scale column.
    std::ifstream in(ratioRows);
    std::string without;
    for (std::string line; std::getline(in, line);)
        without += line.substr(0, line.rfind(',')) + "\n";
    ScratchFolder scratch;
    const std::filesystem::path withoutPath = scratch.path / "without.csv";
    std::ofstream(withoutPath, std::ios::binary) << without;
    const Table old = parseCsv(run(BATCH_PROGRAM, {withoutPath.string()}).out);
    for (std::size_t row = 0; row < with.rows.size(); ++row) {
        if (with.at(row, "scale") == "ratio") continue;
        if (with.at(row, "scale") == "log") {
            EXPECT_NE(with.at(row, "message").find("scale must be difference or ratio"),
                      std::string::npos);
            continue;
        }
        for (const std::string& column : old.columns)
            EXPECT_EQ(with.at(row, column), old.at(row, column)) << with.at(row, "study") << column;
    }
}

TEST(BatchManPage, ExamplesPrintWhatThePageShows) {
    const std::vector<Example> examples = manPageExamples(MAN_PAGE);
    ASSERT_GE(examples.size(), 1u) << "the page's examples were not found";
    ScratchFolder scratch;
    for (const Example& example : examples) {
        SCOPED_TRACE(example.command);
        int status = -1;
        EXPECT_EQ(
            runInFolder(scratch.path, example.command, "tarnwick-batch", BATCH_PROGRAM, status),
            example.output);
        EXPECT_EQ(status, 0);
    }
}

}  // namespace
}  // namespace tarnwick::batch::testing
