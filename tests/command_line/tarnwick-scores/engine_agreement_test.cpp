// The program run as a user runs it, its answers compared with the engine's
// functions called directly on the scores the table holds: every layout
// must hand the analyses the very scores, in pairs where they pair, with
// the study's own settings, and print every double so it reads back equal.

#include <gtest/gtest.h>

#include <cmath>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "batch_process.h"
#include "bootstrap_analysis.h"
#include "normal_theory_analysis.h"
#include "rank_analysis.h"
#include "score_result.h"
#include "shortest_text.h"
#include "trimmed_analysis.h"

namespace tarnwick::scores {
namespace {

using namespace batch::testing;
namespace sa = score_analysis;

struct Expected {
    std::string study;
    std::vector<double> group1, group2;  // matched: in pair order
    long missing1 = 0, missing2 = 0;
    sa::ScoreSettings settings;
};

struct Agreement {
    const char* name;
    const char* table;
    std::vector<std::string> arguments;
    bool matched = false;
    std::vector<Expected> studies;
    sa::BootstrapSettings bootstrap{};
};

sa::ScoreSettings bounds(double lower, double upper, double alpha = 0.05,
                         sa::Hypothesis hypothesis = sa::Hypothesis::equivalence) {
    return {alpha, lower, upper, hypothesis};
}

std::vector<sa::ScoreResult> engineResults(const Expected& study, bool matched,
                                           const sa::BootstrapSettings& bootstrap) {
    const auto& x = study.group1;
    const auto& y = study.group2;
    const auto& s = study.settings;
    if (matched)
        return {sa::normalTheoryMatched(x, y, s), sa::rankMatched(x, y, s),
                sa::yuenMatched(x, y, s), sa::bootstrapMatched(x, y, s, bootstrap)};
    return {sa::normalTheoryIndependent(x, y, s), sa::rankIndependent(x, y, s),
            sa::yuenIndependent(x, y, s), sa::bootstrapIndependent(x, y, s, bootstrap)};
}

class EngineAgreement : public ::testing::TestWithParam<Agreement> {};

TEST_P(EngineAgreement, EveryAnalysisEqualsTheEngineOnTheSameScores) {
    const Agreement& row = GetParam();
    ScratchFolder scratch;
    const auto input = scratch.path / "scores.csv";
    writeFile(input, row.table);
    std::vector<std::string> arguments = row.arguments;
    arguments.insert(arguments.end(), {"--digits", "full", input.string()});
    const Outcome outcome = run(SCORES_PROGRAM, arguments);
    ASSERT_EQ(outcome.status, 0) << outcome.err << outcome.out;
    const Table table = parseCsv(outcome.out);
    ASSERT_EQ(table.rows.size(), row.studies.size());
    for (std::size_t i = 0; i < row.studies.size(); ++i) {
        const Expected& study = row.studies[i];
        SCOPED_TRACE(study.study);
        EXPECT_EQ(table.at(i, "study"), study.study);
        EXPECT_EQ(table.at(i, "n1"), std::to_string(study.group1.size()));
        EXPECT_EQ(table.at(i, "n2"), std::to_string(study.group2.size()));
        EXPECT_EQ(table.at(i, "missing1"), std::to_string(study.missing1));
        EXPECT_EQ(table.at(i, "missing2"), std::to_string(study.missing2));
        EXPECT_EQ(table.at(i, "lower"), table_io::shortestText(study.settings.lower));
        EXPECT_EQ(table.at(i, "upper"), table_io::shortestText(study.settings.upper));
        EXPECT_EQ(table.at(i, "alpha"), table_io::shortestText(study.settings.alpha));
        EXPECT_EQ(table.at(i, "message"), "");
        const auto results = engineResults(study, row.matched, row.bootstrap);
        const char* prefixes[] = {"normal_", "rank_", "trimmed_", "bootstrap_"};
        for (std::size_t k = 0; k < results.size(); ++k) {
            const std::string p = prefixes[k];
            const sa::ScoreResult& r = results[k];
            EXPECT_EQ(table.at(i, p + "estimate"), table_io::shortestText(r.estimate)) << p;
            // An unbounded end (infinite) is an empty field.
            const auto end = [](double e) {
                return std::isfinite(e) ? table_io::shortestText(e) : std::string();
            };
            EXPECT_EQ(table.at(i, p + "ci_low"), end(r.low)) << p;
            EXPECT_EQ(table.at(i, p + "ci_high"), end(r.high)) << p;
            EXPECT_EQ(table.at(i, p + "p_lower"), table_io::shortestText(r.pLower)) << p;
            EXPECT_EQ(table.at(i, p + "p_upper"), table_io::shortestText(r.pUpper)) << p;
            EXPECT_EQ(table.at(i, p + "p"), table_io::shortestText(r.p)) << p;
            EXPECT_EQ(table.at(i, p + "conclusion"), sa::conclusionName(r.conclusion)) << p;
            EXPECT_EQ(table.at(i, p + "method"), r.notes.text) << p;
        }
    }
}

const std::vector<double> a = {5.1, 4.9, 5.6, 5.0, 4.7, 5.3};
const std::vector<double> b = {5.2, 5.0, 5.5, 4.8, 5.4, 4.6, 5.7};

INSTANTIATE_TEST_SUITE_P(
    Rows, EngineAgreement,
    ::testing::Values(
        Agreement{"LongOneStudyNoStudyColumn",
                  "group,score\nx,5.1\ny,5.2\nx,4.9\ny,5.0\nx,5.6\ny,5.5\nx,5.0\ny,NA\n"
                  "x,4.7\ny,4.8\nx,5.3\ny,5.4\ny,4.6\ny,5.7\n",
                  {"--bound", "0.5"},
                  false,
                  {{"", a, b, 0, 1, bounds(-0.5, 0.5)}}},
        // Group 1 is the group a study names first, whatever the others do.
        Agreement{"LongStudiesInterleavedEachWithItsOwnGroupOrder",
                  "study,group,score\nS,x,1\nT,q,10\nS,y,2\nT,p,12\nS,x,1.5\nT,q,11\n"
                  "S,y,2.5\nT,p,,\nT,p,14\nS,y,3\nS,x,\n",
                  {"--lower", "-2", "--upper", "1", "--alpha", "0.1"},
                  false,
                  {{"S", {1, 1.5}, {2, 2.5, 3}, 1, 0, bounds(-2, 1, 0.1)},
                   {"T", {10, 11}, {12, 14}, 0, 1, bounds(-2, 1, 0.1)}}},
        Agreement{"WideWithMissingCellsOnEitherSide",
                  "x,y\n5.1,5.2\n4.9,5.0\n5.6,5.5\n5.0,NA\n4.7,4.8\n5.3,5.4\n,4.6\n.,5.7\n",
                  {"--bound", "0.5", "--hypothesis", "minimal_effect"},
                  false,
                  {{"", a, b, 2, 1, bounds(-0.5, 0.5, 0.05, sa::Hypothesis::minimalEffect)}}},
        Agreement{"WideSemicolonsWithDecimalCommas",
                  "study;before;after\nk;1,5;2\nk;2,25;2,5\nk;3;3,75\nk;4;4,5\n",
                  {"--bound", "2", "--design", "matched"},
                  true,
                  {{"k", {1.5, 2.25, 3, 4}, {2, 2.5, 3.75, 4.5}, 0, 0, bounds(-2, 2)}}},
        // A pair with a missing side is left out and counted on the side that lacks it.
        Agreement{"WideMatchedIncompleteRowsLeftOut",
                  "x,y\n1,2\nNA,3\n2,3.5\n4,\n3,3\n5,6.5\n",
                  {"--bound", "2", "--design", "matched"},
                  true,
                  {{"", {1, 2, 3, 5}, {2, 3.5, 3, 6.5}, 1, 1, bounds(-2, 2)}}},
        // Asked for, a decimal comma is read even in quoted fields of a comma table.
        Agreement{"DecimalCommaAskedForInQuotedFields",
                  "x,y\n\"1,5\",2\n\"2,25\",\"2,5\"\n3,\"3,75\"\n",
                  {"--bound", "2", "--decimal-comma"},
                  false,
                  {{"", {1.5, 2.25, 3}, {2, 2.5, 3.75}, 0, 0, bounds(-2, 2)}}},
        // Pairs meet by id however the rows are ordered; a pair lacking a score is left out.
        Agreement{"LongMatchedPairsById",
                  "pair,group,score\nc,pre,3.5\na,pre,1\nb,post,2.75\na,post,1.25\n"
                  "b,pre,2\nd,pre,4\nc,post,3\nd,post,4.5\ne,pre,9\ne,post,NA\n",
                  {"--bound", "1", "--design", "matched"},
                  true,
                  {{"", {3.5, 1, 2, 4}, {3, 1.25, 2.75, 4.5}, 0, 1, bounds(-1, 1)}}},
        Agreement{"SettingsTableOverOptions",
                  "study,group,score\nS,x,1\nS,x,2\nS,y,2\nS,y,4\nT,x,3\nT,x,5\nT,y,4\n"
                  "T,y,7\n",
                  {"--bound", "3", "--settings", SETTINGS_TABLE},
                  false,
                  {{"S", {1, 2}, {2, 4}, 0, 0, bounds(-1, 4, 0.05)},
                   {"T", {3, 5}, {4, 7}, 0, 0, bounds(-3, 3, 0.1)}}},
        Agreement{"SeedAndReplicates",
                  "x,y\n1,2\n2,3.5\n3,3\n4,6\n",
                  {"--bound", "2", "--seed", "42", "--replicates", "999"},
                  false,
                  {{"", {1, 2, 3, 4}, {2, 3.5, 3, 6}, 0, 0, bounds(-2, 2)}},
                  {999, 42}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(JsonLines, NumbersAreNumbersAndEmptyResultsNull) {
    ScratchFolder scratch;
    const auto input = scratch.path / "scores.csv";
    writeFile(input, "study,x,y\nok,1,2\nok,2,4\nok,3,3\nsmall,1,2\n");
    const Outcome outcome =
        run(SCORES_PROGRAM, {"--bound", "2", "--format", "jsonl", input.string()});
    ASSERT_EQ(outcome.status, 1) << outcome.err;
    std::istringstream lines(outcome.out);
    std::string line;
    ASSERT_TRUE(std::getline(lines, line));
    const auto ok = nlohmann::json::parse(line);
    EXPECT_TRUE(ok["normal_p"].is_number());
    EXPECT_EQ(ok["n1"], 3);
    EXPECT_TRUE(ok["rank_conclusion"].is_string());
    ASSERT_TRUE(std::getline(lines, line));
    const auto small = nlohmann::json::parse(line);
    EXPECT_TRUE(small["normal_p"].is_null());
    EXPECT_NE(small["message"].get<std::string>().find("at least 2"), std::string::npos);
    EXPECT_FALSE(std::getline(lines, line));
}

}  // namespace
}  // namespace tarnwick::scores
