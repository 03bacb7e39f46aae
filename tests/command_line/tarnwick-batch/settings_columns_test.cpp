// The settings columns: a table without them gives the numbers it gave
// before they existed, under the interval columns' new names; each setting's
// words and numbers are read or refused row by row, and a refused setting
// keeps the calculator's boxes.

#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "batch_process.h"

namespace tarnwick::batch::testing {
namespace {

const std::filesystem::path calculatorStudies = TEST_DATA_DIR "/calculator-studies.csv";
const std::filesystem::path calculatorResults = TEST_DATA_DIR "/calculator-studies-results.csv";
const std::filesystem::path calculatorJsonl = TEST_DATA_DIR "/calculator-studies-results.jsonl";

// The columns as they were named before the intervals were named for their role.
std::string renamed(std::string column) {
    static const std::map<std::string, std::string> renames = {
        {"ci90_low", "ci_tost_low"},     {"ci90_high", "ci_tost_high"},
        {"ci95_low", "ci_test_low"},     {"ci95_high", "ci_test_high"},
        {"d_ci90_low", "d_ci_tost_low"}, {"d_ci90_high", "d_ci_tost_high"},
    };
    for (const std::string prefix : {"ind_", "matched_"}) {
        if (!column.starts_with(prefix)) continue;
        const auto at = renames.find(column.substr(prefix.size()));
        if (at != renames.end()) return prefix + at->second;
    }
    return column;
}

TEST(SettingsColumns, TableWithoutThemGivesTheSameNumbersAsBefore) {
    const Outcome outcome = run(BATCH_PROGRAM, {calculatorStudies.string()});
    EXPECT_EQ(outcome.status, 1) << "one row is refused";
    const Table before = parseCsv(readFile(calculatorResults));
    const Table now = parseCsv(outcome.out);
    ASSERT_EQ(now.rows.size(), before.rows.size());
    for (std::size_t row = 0; row < before.rows.size(); ++row) {
        for (std::size_t c = 0; c < before.columns.size(); ++c) {
            EXPECT_EQ(now.at(row, renamed(before.columns[c])), before.rows[row][c])
                << before.rows[row][0] << " " << before.columns[c];
        }
        for (const std::string prefix : {"ind_", "matched_"}) {
            // The bounds used are -bound and +bound; no minimal-effect p.
            EXPECT_EQ(now.at(row, prefix + "p_met"), "") << before.rows[row][0];
            if (now.at(row, prefix + "conclusion").empty()) continue;
            EXPECT_EQ(now.at(row, prefix + "upper"), now.at(row, "bound")) << before.rows[row][0];
            EXPECT_EQ(now.at(row, prefix + "lower"), "-" + now.at(row, "bound"));
        }
    }
    EXPECT_EQ(now.columns.size(), before.columns.size() + 2 * 3) << "p_met, lower, upper";
}

TEST(SettingsColumns, JsonLinesWithoutThemGiveTheSameValuesAsBefore) {
    const Outcome outcome = run(BATCH_PROGRAM, {"--format", "jsonl", calculatorStudies.string()});
    std::istringstream before(readFile(calculatorJsonl)), now(outcome.out);
    std::string beforeLine, nowLine;
    int rows = 0;
    while (std::getline(before, beforeLine)) {
        ASSERT_TRUE(std::getline(now, nowLine));
        const auto old = nlohmann::ordered_json::parse(beforeLine);
        const auto fresh = nlohmann::ordered_json::parse(nowLine);
        for (const auto& [key, value] : old.items())
            EXPECT_EQ(fresh.at(renamed(key)).dump(), value.dump()) << key;
        ++rows;
    }
    EXPECT_EQ(rows, 10);
}

struct SettingsRow {
    const char* name;
    std::string settings;  // alpha,lower,upper,bound_units,standard_error,hypothesis
    std::string design = "independent";
    int status = 0;
    std::string message = "";  // the row's message: empty, or where it starts
    std::string pMet = "";     // ind_p_met, or "*" for any number
    std::string lower = "-3", upper = "3";
    std::string conclusion = "equivalent";
};

void PrintTo(const SettingsRow& row, std::ostream* out) { *out << row.name; }

const SettingsRow settingsRows[] = {
    {.name = "AllEmpty", .settings = ",,,,,"},
    {.name = "DefaultWordsSpelt", .settings = "0.05,,,raw,pooled,equivalence"},
    {.name = "BoundsAsSet",
     .settings = ",-0.5,2.5,,,",
     .lower = "-0.5",
     .upper = "2.5",
     .conclusion = "inconclusive"},
    {.name = "BoundsInD", .settings = ",,,d,,", .lower = "-6", .upper = "6"},
    {.name = "BoundsInDAsSet",
     .settings = ",-0.25,0.5,d,,",
     .lower = "-0.5",
     .upper = "1",
     .conclusion = "inconclusive"},
    {.name = "AlphaWithSpaces", .settings = " 0.2 ,,,,,", .conclusion = "equivalent"},
    {.name = "MinimalEffect",
     .settings = ",,,,,minimal_effect",
     .pMet = "*",
     .conclusion = "inconclusive"},
    {.name = "WelchOwn", .settings = ",,,,welch,", .conclusion = "equivalent"},
    {.name = "AlphaTooLarge",
     .settings = "0.5,,,,,",
     .status = 1,
     .message = "Alpha must lie above 0 and below 0.5"},
    {.name = "AlphaNotANumber",
     .settings = "five,,,,,",
     .status = 1,
     .message = "Alpha must be a number such as 0.05, not \"five\""},
    {.name = "AlphaDecimalComma",
     .settings = "\"0,05\",,,,,",
     .status = 1,
     .message = "Alpha must be a number"},
    {.name = "LowerAlone",
     .settings = ",-1,,,,",
     .status = 1,
     .message = "The upper bound is missing: give the lower and the upper bound together."},
    {.name = "UpperNotANumber",
     .settings = ",-1,x,,,",
     .status = 1,
     .message = "The upper bound must be a number such as 0.5, not \"x\""},
    {.name = "BoundsReversed",
     .settings = ",2,-1,,,",
     .status = 1,
     .message = "The lower bound must lie below the upper bound"},
    {.name = "BoundInfinite",
     .settings = ",-1,1e999,,,",
     .status = 1,
     .message = "The upper bound must be a finite number"},
    {.name = "UnitsWord",
     .settings = ",,,sd,,",
     .status = 1,
     .message = "bound_units must be raw or d (or empty for raw), not \"sd\""},
    {.name = "StandardErrorWord",
     .settings = ",,,,Welch,",
     .status = 1,
     .message = "standard_error must be pooled or welch (or empty for pooled), not \"Welch\""},
    {.name = "HypothesisWord",
     .settings = ",,,,,minimal effect",
     .status = 1,
     .message = "hypothesis must be equivalence, minimal_effect, non_inferiority, non_superiority "
                "or superiority (or empty for equivalence)"},
    {.name = "NegativeSdInD",
     .settings = ",,,d,,",
     .design = "matched",
     .status = 1,
     .message = "Bounds in SD units need a positive SD"},
};

class SettingsColumnsRow : public ::testing::TestWithParam<SettingsRow> {};

TEST_P(SettingsColumnsRow, IsReadOrRefusedWithItsSentence) {
    const SettingsRow& row = GetParam();
    ScratchFolder scratch;
    // Run A: D = 1, pooled SD 2, ten a group, bound 3; matched: a negative SD of the differences.
    writeFile(scratch.path / "in.csv",
              "mean1,sd1,n1,mean2,sd2,n2,bound,design,mean_diff,sd_diff,alpha,lower,upper,"
              "bound_units,standard_error,hypothesis\n10,2,10,9,2,10,3," +
                  row.design + ",1,-2," + row.settings + "\n");
    const Outcome outcome = run(BATCH_PROGRAM, {(scratch.path / "in.csv").string()});
    EXPECT_EQ(outcome.status, row.status) << outcome.err;
    const Table t = parseCsv(outcome.out);
    ASSERT_EQ(t.rows.size(), 1u);
    const std::string& message = t.at(0, "message");
    EXPECT_EQ(message.rfind(row.message, 0), 0u) << message;
    EXPECT_EQ(message.empty(), row.message.empty()) << message;
    // Settings never change a box.
    EXPECT_EQ(t.at(0, "verdict"), "Difference is trivial (i.e., the samples appear equivalent).");
    EXPECT_EQ(t.at(0, "t_upper"), "-2.23607");
    if (row.status != 0) {
        for (const std::string column : {"ind_p_tost", "ind_lower", "ind_conclusion"})
            EXPECT_EQ(t.at(0, column), "") << column;
        return;
    }
    EXPECT_EQ(t.at(0, "ind_lower"), row.lower);
    EXPECT_EQ(t.at(0, "ind_upper"), row.upper);
    EXPECT_EQ(t.at(0, "ind_conclusion"), row.conclusion);
    if (row.pMet == "*") {
        EXPECT_NE(t.at(0, "ind_p_met"), "");
    } else {
        EXPECT_EQ(t.at(0, "ind_p_met"), row.pMet);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SettingsColumnsRow, ::testing::ValuesIn(settingsRows),
                         [](const auto& info) { return std::string(info.param.name); });

// The intervals' columns keep their role at any alpha: at .025 the tost
// interval is the 95% one, the ordinary test's the 97.5% one.
TEST(SettingsColumns, IntervalsFollowAlpha) {
    ScratchFolder scratch;
    writeFile(scratch.path / "in.csv",
              "mean1,sd1,n1,mean2,sd2,n2,bound,alpha\n10,2,10,9,2,10,3,\n10,2,10,9,2,10,3,0.025\n");
    const Outcome outcome = run(BATCH_PROGRAM, {(scratch.path / "in.csv").string()});
    const Table t = parseCsv(outcome.out);
    ASSERT_EQ(t.rows.size(), 2u);
    // At .05 the 95% interval; at .025 the tost interval is that same 95% one.
    EXPECT_EQ(t.at(1, "ind_ci_tost_low"), t.at(0, "ind_ci_test_low"));
    EXPECT_EQ(t.at(1, "ind_ci_tost_high"), t.at(0, "ind_ci_test_high"));
    EXPECT_LT(std::stod(t.at(1, "ind_ci_test_low")), std::stod(t.at(1, "ind_ci_tost_low")));
    EXPECT_LT(std::stod(t.at(1, "ind_d_ci_tost_low")), std::stod(t.at(0, "ind_d_ci_tost_low")));
}

}  // namespace
}  // namespace tarnwick::batch::testing
