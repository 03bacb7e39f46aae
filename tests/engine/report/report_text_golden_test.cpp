// The whole report text of a set of runs under a set of settings, against
// golden/report_texts.txt: every sentence the report writes, byte for byte.
// The runs cover both designs, both df options, a negative, a zero and no
// non-trivial difference, missing values (a negative SD, sizes below 2) and
// numbers far from 1; the settings each of their words; the ratio scale's
// texts, with their refusals and unbounded intervals, in a file of their
// own. After a deliberate
// change of wording, TARNWICK_WRITE_GOLDEN=1 rewrites the file.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "box_fixture.h"
#include "report.h"
#include "report_text.h"
#include "run_command.h"

namespace tarnwick::report {
namespace {

using settings::BoundUnits;
using settings::Hypothesis;
using settings::StandardError;
using settings::TestSettings;
using testing_support::Inputs;

const std::string goldenPath = TARNWICK_REPORT_GOLDEN "/report_texts.txt";

struct Run {
    const char* name;
    Inputs inputs;
};

std::vector<Run> runs() {
    using testing_support::matchedRun;
    using testing_support::runB;
    Inputs negativeSd = matchedRun();
    negativeSd.sdMatched = "-1.0";
    Inputs tinySizes = matchedRun();
    tinySizes.n1 = tinySizes.n2 = "1.5";
    Inputs large = runB("6000000", true);
    large.mean1 = "25000000";
    large.sd1 = "5000000";
    large.mean2 = "23000000";
    large.sd2 = "8000000";
    return {
        {"run A", Inputs{}},
        {"run B, Welch's df", runB("6", true)},
        {"run B, Student's df, difference beside the bound", runB("2", false)},
        {"matched", matchedRun()},
        {"overlap", testing_support::overlapRun()},
        {"Welch's 90% wider than 95%", testing_support::welchNinetyWiderRun()},
        {"negative non-trivial difference", Inputs{.notTrivial = "-1"}},
        {"zero non-trivial difference", Inputs{.notTrivial = "0"}},
        {"no non-trivial difference", Inputs{.notTrivial = ""}},
        {"negative SD of the difference scores", negativeSd},
        {"sizes not whole", tinySizes},
        {"large numbers", large},
        {"small numbers", Inputs{.mean1 = "0.0012",
                                 .sd1 = "0.0003",
                                 .mean2 = "0.0011",
                                 .sd2 = "0.0004",
                                 .notTrivial = "0.0002"}},
    };
}

struct Asked {
    const char* name;
    TestSettings settings;
};

std::vector<Asked> settingsAsked() {
    return {
        {"the calculator's", {}},
        {"alpha .025", {.alpha = 0.025}},
        {"bounds -1 and 2", {.bounds = settings::Bounds{-1, 2}}},
        {"bounds in SD units", {.bounds = settings::Bounds{-0.5, 0.5}, .units = BoundUnits::sd}},
        {"delta in SD units, Welch's standard error",
         {.units = BoundUnits::sd, .standardError = StandardError::welch}},
        {"minimal effect", {.hypothesis = Hypothesis::minimalEffect}},
        {"minimal effect, alpha .1, bounds -0.5 and 0.5",
         {.alpha = 0.1,
          .bounds = settings::Bounds{-0.5, 0.5},
          .hypothesis = Hypothesis::minimalEffect}},
    };
}

std::string textOf(const Inputs& in, const TestSettings& s) {
    BoxTable boxes;
    testing_support::enter(boxes, in);
    RunRecord record;
    runCommand(boxes, &record);
    const ReportInputs inputs{in.mean1,      in.sd1,      in.n1,        in.mean2,   in.sd2,  in.n2,
                              in.notTrivial, in.meanDiff, in.sdMatched, in.matched, in.welch};
    try {
        const std::optional<Report> report = makeReport(record, s);
        if (!report) return "(no report: the run did not end with results)\n";
        std::string labels = "Labels: " + conclusionLabel(report->independent.conclusion);
        if (report->matched) labels += "; " + conclusionLabel(report->matched->conclusion);
        return reportText(*report, inputs) + labels + "\n";
    } catch (const settings::SettingsError& e) {
        return std::string("(settings refused: ") + e.what() + ")\n";
    }
}

// The ratio scale's settings: its usual bounds, bounds of its own, one
// bound in SD units (refused), Welch's standard error, the minimal-effect
// test; and runs whose group 2 mean is at 0 (refused) or near it (an
// unbounded interval).
std::vector<Asked> ratioSettingsAsked() {
    using settings::Scale;
    return {
        {"ratio", {.scale = Scale::ratio}},
        {"ratio, alpha .025, bounds 0.9 and 1.1111",
         {.alpha = 0.025, .bounds = settings::Bounds{0.9, 1.1111}, .scale = Scale::ratio}},
        {"ratio, bounds in SD units", {.units = BoundUnits::sd, .scale = Scale::ratio}},
        {"ratio, Welch's standard error",
         {.standardError = StandardError::welch, .scale = Scale::ratio}},
        {"ratio, minimal effect", {.hypothesis = Hypothesis::minimalEffect, .scale = Scale::ratio}},
    };
}

std::vector<Run> ratioRuns() {
    std::vector<Run> all = runs();
    all.push_back({"group 2 mean 0", Inputs{.mean2 = "0"}});
    all.push_back(
        {"group 2 mean near 0", Inputs{.mean1 = "5", .sd1 = "2", .mean2 = "1", .sd2 = "2.5"}});
    all.push_back(
        {"group 2 mean within noise",
         Inputs{.mean1 = "0.6", .sd1 = "3", .n1 = "5", .mean2 = "0.5", .sd2 = "3", .n2 = "5"}});
    Inputs misfit = testing_support::matchedRun();
    misfit.sdMatched = "5";
    all.push_back({"matched SDs no correlation fits", misfit});
    return all;
}

std::string allTexts(const std::vector<Run>& runList, const std::vector<Asked>& askedList) {
    std::string text;
    for (const Run& run : runList)
        for (const Asked& asked : askedList)
            text += "=== " + std::string(run.name) + "; settings: " + asked.name + "\n" +
                    textOf(run.inputs, asked.settings) + "\n";
    return text;
}

void expectGolden(const std::string& now, const std::string& path) {
    if (std::getenv("TARNWICK_WRITE_GOLDEN")) {
        std::ofstream(path, std::ios::binary) << now;
        GTEST_SKIP() << "wrote " << path;
    }
    std::ifstream file(path, std::ios::binary);
    ASSERT_TRUE(file) << path;
    std::ostringstream golden;
    golden << file.rdbuf();
    // Line by line, so that a failure names the case and the line.
    std::istringstream expected(golden.str()), got(now);
    std::string want, have, heading;
    int line = 0;
    while (std::getline(expected, want)) {
        ++line;
        if (want.starts_with("=== ")) heading = want;
        ASSERT_TRUE(std::getline(got, have)) << "the text ends early, at line " << line;
        EXPECT_EQ(have, want) << heading << " (line " << line << ")";
    }
    EXPECT_FALSE(std::getline(got, have)) << "the text goes on past the golden one: " << have;
}

TEST(ReportTextGolden, EveryRunUnderEverySettingReadsAsTheGoldenText) {
    expectGolden(allTexts(runs(), settingsAsked()), goldenPath);
}

TEST(ReportTextGolden, EveryRunOnTheRatioScaleReadsAsTheGoldenText) {
    expectGolden(allTexts(ratioRuns(), ratioSettingsAsked()),
                 TARNWICK_REPORT_GOLDEN "/ratio_report_texts.txt");
}

// The one-sided questions: each of the three, each direction, a margin
// set, taken from the non-trivial difference or left to its default, in SD
// units, and on the ratio scale with its unbounded intervals.
std::vector<Asked> oneSidedSettingsAsked() {
    using settings::Better;
    using settings::Scale;
    return {
        {"non-inferiority by 0.5, alpha .025",
         {.alpha = 0.025, .hypothesis = Hypothesis::nonInferiority, .margin = -0.5}},
        {"non-inferiority, margin from delta",
         {.alpha = 0.025, .hypothesis = Hypothesis::nonInferiority}},
        {"non-superiority by 1, lower better, Welch's standard error",
         {.alpha = 0.025,
          .standardError = StandardError::welch,
          .hypothesis = Hypothesis::nonSuperiority,
          .margin = -1,
          .better = Better::lower}},
        {"superiority, default margin, alpha .05", {.hypothesis = Hypothesis::superiority}},
        {"non-inferiority by 0.25 SD, alpha .1",
         {.alpha = 0.1,
          .units = BoundUnits::sd,
          .hypothesis = Hypothesis::nonInferiority,
          .margin = -0.25}},
        {"ratio, non-inferiority, default margin",
         {.alpha = 0.025, .hypothesis = Hypothesis::nonInferiority, .scale = Scale::ratio}},
        {"ratio, non-superiority at 1.25, Welch's standard error",
         {.alpha = 0.025,
          .standardError = StandardError::welch,
          .hypothesis = Hypothesis::nonSuperiority,
          .scale = Scale::ratio,
          .margin = 1.25}},
        {"ratio, superiority by 0.9, lower better",
         {.alpha = 0.05,
          .hypothesis = Hypothesis::superiority,
          .scale = Scale::ratio,
          .margin = 0.9,
          .better = Better::lower}},
    };
}

TEST(ReportTextGolden, EveryOneSidedQuestionReadsAsTheGoldenText) {
    std::vector<report::Run> chosen;
    for (const report::Run& run : ratioRuns()) {
        const std::string name = run.name;
        if (name == "run A" || name == "run B, Welch's df" || name == "matched" ||
            name == "no non-trivial difference" || name == "negative SD of the difference scores" ||
            name == "small numbers" || name == "group 2 mean within noise" ||
            name == "group 2 mean near 0")
            chosen.push_back(run);
    }
    expectGolden(allTexts(chosen, oneSidedSettingsAsked()),
                 TARNWICK_REPORT_GOLDEN "/one_sided_report_texts.txt");
}

}  // namespace
}  // namespace tarnwick::report
