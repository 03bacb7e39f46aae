// tarnwick-crossover as a user runs it: its rows carry the engine's answers
// to the last digit, a study without an answer gets a message and status 1
// while the others are answered, and a table or command line it cannot use
// stops it with status 2, the file and line named, and no output file.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "batch_process.h"
#include "crossover_table.h"
#include "study_row.h"

namespace tarnwick::crossover_program {
namespace {

using namespace batch::testing;

std::vector<nlohmann::json> jsonRows(const std::string& text) {
    std::vector<nlohmann::json> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        rows.push_back(nlohmann::json::parse(line));
    return rows;
}

class CrossoverProgramAgreement : public ::testing::TestWithParam<const char*> {};

TEST_P(CrossoverProgramAgreement, FullDigitsAreTheEngines) {
    const std::string path = std::string(ENGINE_DATA) + "/" + GetParam();
    const Outcome outcome =
        run(CROSSOVER_PROGRAM, {"--response", "PK", "--digits", "full", "--format", "jsonl", path});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const std::vector<nlohmann::json> rows = jsonRows(outcome.out);
    ASSERT_EQ(rows.size(), 1u);

    crossover::CrossoverReadOptions options;
    options.response = "PK";
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    const crossover::CrossoverTable table = crossover::readCrossoverTable(file, path, options);
    std::fclose(file);
    const crossover::CrossoverResult r = crossover::analyseCrossover(table.studies[0], {});
    const nlohmann::json& row = rows[0];
    EXPECT_EQ(row["estimate"].get<double>(), r.ratio);
    EXPECT_EQ(row["ci_low"].get<double>(), r.low);
    EXPECT_EQ(row["ci_high"].get<double>(), r.high);
    EXPECT_EQ(row["df"].get<double>(), r.df);
    EXPECT_EQ(row["cv_within"].get<double>(), r.cvWithin);
    EXPECT_EQ(row["p_lower"].get<double>(), r.pLower);
    EXPECT_EQ(row["p_upper"].get<double>(), r.pUpper);
    EXPECT_EQ(row["subjects"].get<long>(), r.subjects);
    EXPECT_EQ(row["observations"].get<long>(), r.observations);
    EXPECT_EQ(row["design"].get<std::string>(), r.design);
    EXPECT_EQ(row["cv_reference"].is_null(), !r.cvReference);
}

INSTANTIATE_TEST_SUITE_P(Tables, CrossoverProgramAgreement,
                         ::testing::Values("ema_data_set_1.csv", "ema_data_set_2.csv",
                                           "own_balaam.csv", "own_trrt_rttr_missing.csv"));

TEST(CrossoverProgram, StudiesWithoutAnAnswerHaveAMessageAndTheRestAreAnswered) {
    ScratchFolder scratch;
    const auto input = scratch.path / "studies.csv";
    writeFile(input,
              "study,subject,sequence,period,treatment,response\n"
              "good,1,TR,1,T,10\ngood,1,TR,2,R,12\ngood,2,RT,1,R,9\ngood,2,RT,2,T,11\n"
              "good,3,TR,1,T,14\ngood,3,TR,2,R,13.5\n"
              "named,1,XY,1,X,10\nnamed,1,XY,2,Y,12\nnamed,2,YX,1,Y,9\nnamed,2,YX,2,X,11\n"
              "named,3,XY,1,X,13\nnamed,3,XY,2,Y,12.5\n"
              "order,1,TR,1,T,10\norder,1,TR,2,R,12\norder,2,TR,1,T,9\norder,2,TR,2,R,11\n"
              "order,3,TR,1,T,8\norder,3,TR,2,R,10\n");
    const Outcome outcome = run(CROSSOVER_PROGRAM, {"--format", "jsonl", input.string()});
    EXPECT_EQ(outcome.status, 1) << outcome.err;
    const std::vector<nlohmann::json> rows = jsonRows(outcome.out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_TRUE(rows[0]["message"].is_null());
    EXPECT_EQ(rows[0]["conclusion"], "not_shown_equivalent");
    EXPECT_NE(rows[1]["message"].get<std::string>().find("No treatment is named \"R\""),
              std::string::npos);
    EXPECT_TRUE(rows[1]["estimate"].is_null());
    EXPECT_NE(rows[2]["message"].get<std::string>().find("same order"), std::string::npos);

    // Named by --reference, the second study is answered, its test the other name.
    const Outcome named =
        run(CROSSOVER_PROGRAM, {"--format", "jsonl", "--reference", "Y", input.string()});
    const std::vector<nlohmann::json> again = jsonRows(named.out);
    ASSERT_EQ(again.size(), 3u);
    EXPECT_EQ(again[1]["test"], "X");
    EXPECT_TRUE(again[1]["message"].is_null());
    EXPECT_EQ(again[1]["df"], 1);
}

struct Refused {
    const char* name;
    const char* table;
    std::vector<std::string> arguments;
    const char* says;  // what standard error holds
};

class CrossoverProgramRefusal : public ::testing::TestWithParam<Refused> {};

TEST_P(CrossoverProgramRefusal, StopsWithStatusTwoAndNoOutputFile) {
    const Refused& c = GetParam();
    ScratchFolder scratch;
    const auto input = scratch.path / "responses.csv";
    const auto output = scratch.path / "answers.csv";
    writeFile(input, c.table);
    std::vector<std::string> arguments = c.arguments;
    arguments.insert(arguments.end(), {"-o", output.string(), input.string()});
    const Outcome outcome = run(CROSSOVER_PROGRAM, arguments);
    EXPECT_EQ(outcome.status, 2) << outcome.err;
    EXPECT_NE(outcome.err.find(c.says), std::string::npos) << outcome.err;
    EXPECT_FALSE(std::filesystem::exists(output));
}

#define GOOD "subject,sequence,period,treatment,response\n1,TR,1,T,10\n1,TR,2,R,12\n"
INSTANTIATE_TEST_SUITE_P(
    Rows, CrossoverProgramRefusal,
    ::testing::Values(
        Refused{"DuplicatedPeriod", GOOD "1,TR,2,R,13\n", {}, "responses.csv:4: subject \"1\""},
        Refused{"ZeroResponse", GOOD "2,RT,1,R,0\n", {}, "responses.csv:4: the response \"0\""},
        Refused{"OtherResponseColumn", GOOD, {"--response", "auc"}, "responses.csv:1:"},
        Refused{"LowerAlone", GOOD, {"--lower", "0.8"}, "go together"},
        Refused{"BoundNotARatio", GOOD, {"--lower", "0", "--upper", "1.25"}, "above 0"},
        Refused{"BoundsReversed", GOOD, {"--lower", "1.25", "--upper", "0.8"}, "below the upper"},
        Refused{"AlphaTooLarge", GOOD, {"--alpha", "0.5"}, "lpha"},
        Refused{"EmptyReference", GOOD, {"--reference", ""}, "--reference"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarnwick::crossover_program
