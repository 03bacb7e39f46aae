// One-sided questions asked of tarnwick-scores by the command line and by
// the settings table's hypothesis, margin and better columns: which question
// each study is asked (the table's row over the options; a row of the other
// kind of question or scale takes none of the options' bounds or margin),
// the defaults (alpha .025, the ratio scale's 0.80 and 1.25, superiority at
// no effect), the refusals in the question's own words, and the columns
// that name the question, written only when one can be asked.

#include <gtest/gtest.h>

#include "batch_process.h"

namespace tarnwick::scores {
namespace {

using namespace batch::testing;

// Study "s": scores whose ratio and difference are both near no effect.
constexpr const char* scores =
    "study,group,score\ns,a,5.1\ns,a,4.9\ns,a,5.6\ns,a,5.0\ns,a,4.7\ns,b,5.2\ns,b,5.0\ns,b,5.5\n"
    "s,b,4.8\ns,b,5.4\n";

struct Asked {
    const char* name;
    std::vector<std::string> arguments;
    const char* settings;  // the settings table's rows for "s", after its header; none: ""
    const char* header;
    // What the study's row says: its settings' columns, or a part of its message.
    const char *alpha, *lower, *upper, *hypothesis, *margin, *better;
    const char* says = "";
};

class OneSidedSettings : public ::testing::TestWithParam<Asked> {};

TEST_P(OneSidedSettings, EachStudyIsAskedItsQuestion) {
    const Asked& row = GetParam();
    ScratchFolder scratch;
    const auto input = scratch.path / "scores.csv";
    writeFile(input, scores);
    std::vector<std::string> arguments = row.arguments;
    if (*row.settings != '\0') {
        const auto settings = scratch.path / "settings.csv";
        writeFile(settings, std::string(row.header) + "\n" + row.settings + "\n");
        arguments.insert(arguments.end(), {"--settings", settings.string()});
    }
    arguments.insert(arguments.end(), {"--replicates", "999", input.string()});
    const Outcome outcome = run(SCORES_PROGRAM, arguments);
    const Table table = parseCsv(outcome.out);
    ASSERT_EQ(table.rows.size(), 1u) << outcome.out << outcome.err;
    EXPECT_NE(table.at(0, "message").find(row.says), std::string::npos) << table.at(0, "message");
    EXPECT_EQ(outcome.status, *row.says == '\0' ? 0 : 1) << outcome.err;
    EXPECT_EQ(table.at(0, "alpha"), row.alpha);
    EXPECT_EQ(table.at(0, "lower"), row.lower);
    EXPECT_EQ(table.at(0, "upper"), row.upper);
    EXPECT_EQ(table.at(0, "hypothesis"), row.hypothesis);
    EXPECT_EQ(table.at(0, "margin"), row.margin);
    EXPECT_EQ(table.at(0, "better"), row.better);
    if (*row.says != '\0') return;
    // A one-sided question's one test is p, its p_lower and p_upper empty.
    const bool oneSided = *row.margin != '\0';
    EXPECT_NE(table.at(0, "normal_p"), "");
    EXPECT_EQ(table.at(0, "normal_p_lower").empty(), oneSided);
    EXPECT_EQ(table.at(0, "rank_p_upper").empty(), oneSided);
}

const std::vector<std::string> none = {};
const std::vector<std::string> nonInferior = {"--hypothesis", "non_inferiority", "--margin",
                                              "-0.5"};
constexpr const char* questionHeader = "study,hypothesis,margin,better,alpha,bound,scale";

INSTANTIATE_TEST_SUITE_P(
    Rows, OneSidedSettings,
    ::testing::Values(
        Asked{"OptionsAlphaDefaultsToPoint025", nonInferior, "", "", "0.025", "", "",
              "non_inferiority", "-0.5", "higher"},
        Asked{"OptionsAlphaGiven",
              {"--hypothesis", "non_superiority", "--margin", "-0.4", "--better", "lower",
               "--alpha", "0.05"},
              "",
              "",
              "0.05",
              "",
              "",
              "non_superiority",
              "-0.4",
              "lower"},
        Asked{"SuperiorityAtNoEffectByDefault",
              {"--hypothesis", "superiority"},
              "",
              "",
              "0.025",
              "",
              "",
              "superiority",
              "0",
              "higher"},
        Asked{"RatioMarginByDefault",
              {"--hypothesis", "non_inferiority", "--scale", "ratio", "--better", "lower"},
              "",
              "",
              "0.025",
              "",
              "",
              "non_inferiority",
              "1.25",
              "lower"},
        // The table's row over the options.
        Asked{"RowMarginOverOptions", nonInferior, "s,,-0.3,,,,", questionHeader, "0.025", "", "",
              "non_inferiority", "-0.3", "higher"},
        Asked{"RowBetterOverOptions", nonInferior, "s,,0.3,lower,,,", questionHeader, "0.025", "",
              "", "non_inferiority", "0.3", "lower"},
        // A two-sided row keeps its alpha at .05 and takes none of the
        // options' margin; the question's columns are still written.
        Asked{"TwoSidedRowOfOneSidedOptions", nonInferior, "s,equivalence,,,,0.5,", questionHeader,
              "0.05", "-0.5", "0.5", "equivalence", "", ""},
        Asked{"OneSidedRowOfTwoSidedOptions",
              {"--bound", "0.5"},
              "s,non_inferiority,-0.4,,,,",
              questionHeader,
              "0.025",
              "",
              "",
              "non_inferiority",
              "-0.4",
              "higher"},
        // A row on the ratio scale takes none of the options' difference margin.
        Asked{"RatioRowTakesItsOwnDefault", nonInferior, "s,,,,,,ratio", questionHeader, "0.025",
              "", "", "non_inferiority", "0.8", "higher"},
        // Refusals, each in the study's row.
        Asked{"MarginOnTheWrongSide", nonInferior, "s,,0.5,,,,", questionHeader, "", "", "", "", "",
              "", "did you mean -0.5, or superiority by 0.5?"},
        Asked{"OneSidedRowWithoutAMargin",
              {"--bound", "0.5"},
              "s,non_superiority,,,,,",
              questionHeader,
              "",
              "",
              "",
              "",
              "",
              "",
              "non-superiority question on the difference scale needs a margin"},
        Asked{"OneSidedRowWithBounds",
              {"--bound", "0.5"},
              "s,non_inferiority,,,,0.4,",
              questionHeader,
              "",
              "",
              "",
              "",
              "",
              "",
              "takes one margin, not a lower and an upper bound"},
        Asked{"MarginOfATwoSidedRow", nonInferior, "s,minimal_effect,-0.5,,,0.5,", questionHeader,
              "", "", "", "", "", "", "A margin belongs to a one-sided question"}),
    [](const auto& info) { return std::string(info.param.name); });

// The command line's own refusals, before any study is read.
TEST(OneSidedOptions, AreRefusedInTheQuestionsWords) {
    ScratchFolder scratch;
    const auto input = scratch.path / "scores.csv";
    writeFile(input, scores);
    const std::pair<std::vector<std::string>, const char*> refused[] = {
        {{"--hypothesis", "non_inferiority", "--margin", "0.5"}, "did you mean -0.5"},
        {{"--hypothesis", "non_inferiority", "--bound", "0.5"}, "takes --margin, not --bound"},
        {{"--margin", "0.5", "--bound", "0.5"}, "--margin belongs to a one-sided question"},
        {{"--hypothesis", "non_inferiority"}, "needs a margin"},
        {{"--hypothesis", "superiority", "--margin", "x"}, "must be a number such as -0.5"},
        {{"--hypothesis", "superiority", "--better", "sideways"}, "--better"},
    };
    for (const auto& [arguments, says] : refused) {
        std::vector<std::string> all = arguments;
        all.push_back(input.string());
        const Outcome outcome = run(SCORES_PROGRAM, all);
        EXPECT_EQ(outcome.status, 2) << says;
        EXPECT_NE(outcome.err.find(says), std::string::npos) << outcome.err;
        EXPECT_EQ(outcome.out, "");
    }
}

// Outputs that ask no one-sided question keep their columns as they were.
TEST(OneSidedOptions, QuestionColumnsOnlyWhenAQuestionCanBeAsked) {
    ScratchFolder scratch;
    const auto input = scratch.path / "scores.csv";
    writeFile(input, scores);
    const Outcome plain = run(SCORES_PROGRAM, {"--bound", "0.5", input.string()});
    EXPECT_EQ(plain.out.substr(0, plain.out.find('\n')).find("hypothesis"), std::string::npos);
    const Outcome asked =
        run(SCORES_PROGRAM, {"--hypothesis", "superiority", "--format", "text", input.string()});
    EXPECT_NE(asked.out.find("superiority margin 0 (higher better), alpha 0.025"),
              std::string::npos)
        << asked.out;
    EXPECT_EQ(asked.out.find("p lower"), std::string::npos) << asked.out;
}

}  // namespace
}  // namespace tarnwick::scores
