// The report of every study of docs/crossover/crossover.csv (a 2x2x2 pilot
// with a subject left out and a missing response, a TRT/RTR replicate) under
// the usual settings and under others, against golden/crossover_report.txt:
// every line the report writes and every caption of its picture, byte for
// byte. After a deliberate change of wording, TARNWICK_WRITE_GOLDEN=1
// rewrites the file.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "aligned_table.h"
#include "crossover_report.h"
#include "crossover_table.h"

namespace tarnwick::crossover_report {
namespace {

const std::string goldenPath = CROSSOVER_REPORT_GOLDEN "/crossover_report.txt";

std::vector<crossover::CrossoverStudy> exampleStudies() {
    std::FILE* file = std::fopen(CROSSOVER_EXAMPLE, "rb");
    EXPECT_NE(file, nullptr);
    crossover::CrossoverReadOptions options;
    options.response = "auc";
    crossover::CrossoverTable table = crossover::readCrossoverTable(file, "crossover.csv", options);
    std::fclose(file);
    return std::move(table.studies);
}

std::string wholeReport(const CrossoverStudy& study, const CrossoverSettings& settings) {
    const CrossoverResult result = crossover::analyseCrossover(study, settings);
    std::string text = reportText(study, result, settings);
    const FigureWords words = figureWords(study, result, settings, crossover::subjectRatios(study));
    text += "[answer] " + answerLine(result, settings) + "\n[figure] " + words.title + "\n";
    for (const std::string& caption : words.sequenceCaptions)
        text += "[row] " + caption + "\n";
    text += "[interval] " + words.intervalCaption + "\n[axis] " + words.axisTitle + "\n";
    for (const std::string& line : words.legend)
        text += "[legend] " + line + "\n";
    return text;
}

TEST(CrossoverReport, MatchesTheGoldenText) {
    struct Asked {
        const char* name;
        CrossoverSettings settings;
    };
    const Asked asked[] = {
        {"usual", {}},
        {"alpha 0.025, limits 0.9 to 1.1111", {0.025, {0.9, 1.1111}}},
    };
    std::string actual;
    for (const crossover::CrossoverStudy& study : exampleStudies()) {
        for (const Asked& a : asked) {
            actual += "=== " + study.name + ", " + a.name + "\n";
            actual += wholeReport(study, a.settings);
        }
    }
    if (std::getenv("TARNWICK_WRITE_GOLDEN") != nullptr) {
        std::ofstream(goldenPath, std::ios::binary) << actual;
        GTEST_SKIP() << "wrote " << goldenPath;
    }
    std::ifstream in(goldenPath, std::ios::binary);
    std::stringstream golden;
    golden << in.rdbuf();
    EXPECT_EQ(actual, golden.str());
}

// Text to the left, numbers to the right, two spaces between columns, no
// trailing spaces even where a last cell is empty.
TEST(AlignedTable, AlignsEachColumnByItsWidestCell) {
    const std::vector<std::string> lines =
        alignedTable("Caption:", {{"source"}, {"F", true}, {"p", true}},
                     {{"period", "12.5", "0.01"}, {"residual", "", ""}});
    const std::vector<std::string> expected = {"Caption:", "source       F     p",
                                               "period    12.5  0.01", "residual"};
    EXPECT_EQ(lines, expected);
}

}  // namespace
}  // namespace tarnwick::crossover_report
