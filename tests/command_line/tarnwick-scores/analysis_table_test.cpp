// Every entry of the engine's analysis table through every front end that
// shows it: the scores report's paragraph, the figure's caption and
// tarnwick-scores' columns (run as a user runs it), against golden files in
// data/analysis-table, one a table of scores. TARNWICK_UPDATE_GOLDEN=1
// rewrites the files instead; review their diff before committing it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "batch_process.h"
#include "score_report.h"
#include "study_table.h"

namespace tarnwick::scores {
namespace {

using namespace batch::testing;
namespace sr = score_report;

struct Case {
    const char* name;  // also the golden file's name
    const char* table;
    bool matched;
    score_analysis::ScoreSettings settings;
    std::vector<std::string> arguments;  // the same settings as the program's options
};

class AnalysisTable : public ::testing::TestWithParam<Case> {};

// The program's one row of answers, column by column.
Table programAnswers(const Case& row) {
    ScratchFolder scratch;
    const auto input = scratch.path / "scores.csv";
    writeFile(input, row.table);
    std::vector<std::string> arguments = row.arguments;
    if (row.matched) arguments.insert(arguments.end(), {"--design", "matched"});
    arguments.push_back(input.string());
    const Outcome outcome = run(SCORES_PROGRAM, arguments);
    EXPECT_LE(outcome.status, 1) << outcome.err;
    return parseCsv(outcome.out);
}

sr::ScoreAnswers reportAnswers(const Case& row) {
    std::string text = row.table;
    std::FILE* stream = ::fmemopen(text.data(), text.size(), "rb");
    data::StudyReadOptions options;
    options.design = row.matched ? Design::matched : Design::independent;
    const data::StudyTable table = data::readStudyTable(stream, "scores", options);
    std::fclose(stream);
    const data::Study& study = table.studies.at(0);
    sr::ScoreAnswers answers =
        sr::analyseScores(study.group1, study.group2, row.matched, row.settings);
    answers.label1 = study.label1;
    answers.label2 = study.label2;
    return answers;
}

TEST_P(AnalysisTable, EveryEntryThroughReportFigureAndProgram) {
    const Case& row = GetParam();
    const Table program = programAnswers(row);
    ASSERT_EQ(program.rows.size(), 1u);
    const sr::ScoreAnswers answers = reportAnswers(row);
    std::string text;
    for (const sr::AnalysisEntry& analysis : sr::analysisTable()) {
        text += "== " + std::string(analysis.name) + "\n";
        text += "paragraph: " + sr::analysisParagraph(answers, analysis) + "\n";
        text += "caption: " + sr::figureCaption(answers, analysis) + "\n";
        const std::string prefix = std::string(analysis.name) + "_";
        for (const std::string& column : program.columns)
            if (column.rfind(prefix, 0) == 0) text += column + ": " + program.at(0, column) + "\n";
    }
    text += "== message: " + program.at(0, "message") + "\n";

    const std::filesystem::path golden =
        std::filesystem::path(GOLDEN_DIR) / (std::string(row.name) + ".txt");
    if (std::getenv("TARNWICK_UPDATE_GOLDEN") != nullptr) writeFile(golden, text);
    EXPECT_EQ(text, readFile(golden)) << "golden file " << golden;
}

using score_analysis::Hypothesis;
constexpr Hypothesis equivalence = Hypothesis::equivalence;

INSTANTIATE_TEST_SUITE_P(
    Golden, AnalysisTable,
    ::testing::Values(
        // Small groups, tied scores: the rank tests by the normal approximation.
        Case{"independent",
             "group,score\ncontrol,5.1\ncontrol,4.9\ncontrol,5.6\ncontrol,5.0\ncontrol,4.7\n"
             "control,5.3\ncontrol,5.2\ncontrol,5.5\ntreated,5.2\ntreated,5.0\ntreated,5.5\n"
             "treated,4.8\ntreated,5.4\ntreated,4.6\ntreated,5.7\n",
             false,
             {0.05, -0.5, 0.5, equivalence},
             {"--bound", "0.5"}},
        // One difference lies on a bound and is left out of its signed-rank test.
        Case{"matched_difference_on_a_bound",
             "before,after\n12.1,11.1\n11.4,11.0\n13.0,12.2\n10.2,10.9\n12.6,12.5\n11.8,11.2\n"
             "12.9,12.1\n11.1,11.5\n",
             true,
             {0.05, -1, 1, equivalence},
             {"--bound", "1"}},
        // The reversed tests, alpha .025 and bounds on one side of 0.
        Case{"minimal_effect",
             "x;y\n4,2;4,0\n3,9;4,1\n4,5;4,3\n4,0;3,8\n4,4;4,2\n4,1;3,7\n4,8;4,0\n",
             false,
             {0.025, -0.3, 0.6, Hypothesis::minimalEffect},
             {"--lower", "-0.3", "--upper", "0.6", "--alpha", "0.025", "--hypothesis",
              "minimal_effect"}},
        // Flat middles: the trimmed means cannot be made, the others answer.
        Case{"one_analysis_not_computed",
             "group,score\na,5\na,5\na,5\na,5\na,5\na,5\na,5\na,5\na,5\na,9\nb,6\nb,6\nb,6\nb,6\n"
             "b,6\nb,6\nb,6\nb,6\nb,6\nb,1\n",
             false,
             {0.05, -2, 2, equivalence},
             {"--bound", "2"}},
        // One-sided questions: the one test at the margin, the 95% interval's
        // deciding end, the question's own sentence and caption.
        Case{"non_inferiority",
             "group,score\ncontrol,5.1\ncontrol,4.9\ncontrol,5.6\ncontrol,5.0\ncontrol,4.7\n"
             "control,5.3\ncontrol,5.2\ncontrol,5.5\ntreated,5.2\ntreated,5.0\ntreated,5.5\n"
             "treated,4.8\ntreated,5.4\ntreated,4.6\ntreated,5.7\n",
             false,
             score_analysis::oneSidedSettings(0.025, -0.5, Hypothesis::nonInferiority,
                                              score_analysis::Better::higher),
             {"--hypothesis", "non_inferiority", "--margin", "-0.5"}},
        // Lower is better: the upper end decides, against a margin above 0.
        Case{"non_inferiority_lower_better_matched",
             "before,after\n12.1,11.1\n11.4,11.0\n13.0,12.2\n10.2,10.9\n12.6,12.5\n11.8,11.2\n"
             "12.9,12.1\n11.1,11.5\n",
             true,
             score_analysis::oneSidedSettings(0.025, 1.2, Hypothesis::nonInferiority,
                                              score_analysis::Better::lower),
             {"--hypothesis", "non_inferiority", "--margin", "1.2", "--better", "lower"}},
        // Peak concentrations, not larger by more than 25%: the default margin.
        Case{"non_superiority_ratio",
             "test,reference\n112.3,118.9\n98.7,101.2\n143.2,139.5\n87.9,97.4\n121.5,130.1\n"
             "104.4,108.8\n96.1,93.7\n133.8,146.2\n",
             true,
             score_analysis::oneSidedSettings(0.05, 1.25, Hypothesis::nonSuperiority,
                                              score_analysis::Better::higher,
                                              score_analysis::Scale::ratio),
             {"--hypothesis", "non_superiority", "--scale", "ratio", "--alpha", "0.05"}},
        // Superiority at no effect, its margin by default.
        Case{"superiority",
             "x,y\n6.1,5.0\n5.9,4.8\n6.6,5.2\n6.0,5.1\n5.7,4.9\n6.3,5.5\n",
             false,
             score_analysis::oneSidedSettings(0.025, 0, Hypothesis::superiority,
                                              score_analysis::Better::higher),
             {"--hypothesis", "superiority"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarnwick::scores
