// An interval without ends has no numbers in the results: 3 scores against
// 3, where no rank test can reach alpha .05, leave the rank-based ends empty
// in CSV, null in JSON Lines and in words in text, each with the reason;
// the other analyses' ends stay numbers.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "batch_process.h"

namespace tarnwick::scores {
namespace {

using namespace batch::testing;

TEST(UnboundedInterval, HasNoNumbersInAnyFormat) {
    ScratchFolder scratch;
    const auto input = scratch.path / "scores.csv";
    writeFile(input, "group,score\na,1.1\na,2.7\na,3.2\nb,0.4\nb,1.9\nb,2.2\n");
    const std::vector<std::string> common = {"--bound", "2", "--replicates", "999"};
    const auto withFormat = [&](const char* format) {
        std::vector<std::string> arguments = common;
        arguments.insert(arguments.end(), {"--format", format, input.string()});
        return run(SCORES_PROGRAM, arguments);
    };

    const Outcome csv = withFormat("csv");
    const Table table = parseCsv(csv.out);
    ASSERT_EQ(table.rows.size(), 1u) << csv.out << csv.err;
    EXPECT_EQ(table.at(0, "rank_ci_low"), "");
    EXPECT_EQ(table.at(0, "rank_ci_high"), "");
    EXPECT_NE(table.at(0, "rank_method").find("unbounded"), std::string::npos);
    EXPECT_NE(table.at(0, "normal_ci_low"), "");

    const Outcome jsonl = withFormat("jsonl");
    const auto row = nlohmann::json::parse(jsonl.out.substr(0, jsonl.out.find('\n')));
    EXPECT_TRUE(row.at("rank_ci_low").is_null()) << jsonl.out;
    EXPECT_TRUE(row.at("rank_ci_high").is_null()) << jsonl.out;
    EXPECT_TRUE(row.at("normal_ci_low").is_number()) << jsonl.out;

    const Outcome text = withFormat("text");
    EXPECT_NE(text.out.find("interval [-infinity, infinity]"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("unbounded"), std::string::npos) << text.out;
    EXPECT_EQ(text.out.find("inf,"), std::string::npos) << text.out;
}

}  // namespace
}  // namespace tarnwick::scores
