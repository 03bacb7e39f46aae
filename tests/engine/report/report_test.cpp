// The report of a run: worked examples recomputed independently (mpmath at 40
// digits, worked_examples.py), the four conclusions, values that cannot be
// computed, and agreement with the window's verdict on every worked run.

#include "report.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "box_fixture.h"
#include "box_table.h"
#include "plan.h"
#include "run_command.h"

namespace tarnwick::report {
namespace {

using testing_support::Inputs;
using testing_support::runB;

RunRecord recordOf(const Inputs& inputs) {
    BoxTable boxes;
    testing_support::enter(boxes, inputs);
    RunRecord record;
    runCommand(boxes, &record);
    return record;
}

Report reportOf(const Inputs& inputs) {
    const std::optional<Report> report = makeReport(recordOf(inputs));
    if (!report) throw std::runtime_error("the run did not end with results");
    return *report;
}

const Inputs runA{};
const Inputs runBWelch = runB("6", true);
const Inputs matchedTrivial{.n1 = "30",
                            .n2 = "12",
                            .notTrivial = "1",
                            .meanDiff = "0.5",
                            .sdMatched = "1",
                            .matched = true};

void expectNear(const Value& value, double expected, const char* what) {
    ASSERT_TRUE(value) << what << ": " << value.whyMissing;
    EXPECT_NEAR(*value.value, expected, 1e-9 * std::fmax(1.0, std::fabs(expected))) << what;
}

struct WorkedExample {
    const char* name;
    Inputs inputs;
    bool matched;
    double pUpper, pLower, ciTostLow, ciTostHigh, p2, ciTestLow, ciTestHigh, d, g, dLow, dHigh;
    Conclusion conclusion;
    friend void PrintTo(const WorkedExample& e, std::ostream* out) { *out << e.name; }
};

class WorkedExamples : public testing::TestWithParam<WorkedExample> {};

TEST_P(WorkedExamples, MatchAnIndependentComputation) {
    const WorkedExample& e = GetParam();
    const Report report = reportOf(e.inputs);
    ASSERT_EQ(report.matched.has_value(), e.matched);
    const DesignReport& r = e.matched ? *report.matched : report.independent;
    ASSERT_TRUE(r.equivalence);
    expectNear(r.equivalence->pUpper, e.pUpper, "p (upper)");
    expectNear(r.equivalence->pLower, e.pLower, "p (lower)");
    expectNear(r.equivalence->pTost, std::fmax(e.pUpper, e.pLower), "p (TOST)");
    expectNear(r.equivalence->ciTostLow, e.ciTostLow, "90% CI low");
    expectNear(r.equivalence->ciTostHigh, e.ciTostHigh, "90% CI high");
    EXPECT_NEAR(r.ordinary.p2, e.p2, 1e-12);
    expectNear(r.ordinary.ciTestLow, e.ciTestLow, "95% CI low");
    expectNear(r.ordinary.ciTestHigh, e.ciTestHigh, "95% CI high");
    expectNear(r.effect.d, e.d, "d");
    expectNear(r.effect.g, e.g, "g");
    expectNear(r.effect.dCiTostLow, e.dLow, "d CI low");
    expectNear(r.effect.dCiTostHigh, e.dHigh, "d CI high");
    EXPECT_EQ(r.conclusion, e.conclusion);
}

INSTANTIATE_TEST_SUITE_P(
    Report, WorkedExamples,
    testing::Values(WorkedExample{"RunA_Student", runA, false, 0.019124807258056929,
                                  0.00014728207768330054, -0.55099364068210833, 2.5509936406821083,
                                  0.27825275488825891, -0.87912179896260429, 2.8791217989626043,
                                  0.5, 0.47882321351185905, -0.25484235306450623,
                                  1.2413250418268763, Conclusion::equivalent},
                    WorkedExample{"RunB_Welch", runBWelch, false, 0.041439082611221841,
                                  0.00073302956611765016, -1.7803416249314656, 5.7803416249314656,
                                  0.40365283211072106, -2.8708654568774736, 6.8708654568774736,
                                  0.31029032780180612, 0.30317534704400426, -0.2573337131402867,
                                  0.87326472810849027, Conclusion::equivalent},
                    WorkedExample{"Matched", matchedTrivial, true, 0.0052186947494336624,
                                  2.3273857561608528e-9, 0.18978326650030812, 0.81021673349969188,
                                  0.010437389498867325, 0.12659386324189985, 0.87340613675810015,
                                  0.5, 0.48693749229835918, 0.1770186679864893, 0.81496627799075834,
                                  Conclusion::equivalentAndDifferent}),
    [](const auto& info) { return std::string(info.param.name); });

struct ConclusionCase {
    const char* name;
    Inputs inputs;
    std::optional<Conclusion> independent;
};

TEST(Report, ReachesEachConclusionAndNoneWithoutABound) {
    const std::vector<ConclusionCase> cases = {
        {"Equivalent", runA, Conclusion::equivalent},
        {"Different", {.mean1 = "20", .notTrivial = "1"}, Conclusion::different},
        {"EquivalentAndDifferent",
         {.mean1 = "10.5",
          .sd1 = "1",
          .n1 = "200",
          .mean2 = "10",
          .sd2 = "1",
          .n2 = "200",
          .notTrivial = "1"},
         Conclusion::equivalentAndDifferent},
        {"Inconclusive", {.notTrivial = "1"}, Conclusion::inconclusive},
        // A two-tailed p of exactly .05 (this double) is not below alpha.
        {"PExactlyAlphaIsNotDifferent",
         {.mean1 = "1.072393343958902",
          .sd1 = "1",
          .n1 = "8",
          .mean2 = "0",
          .sd2 = "1",
          .n2 = "8",
          .notTrivial = "3"},
         Conclusion::equivalent},
        {"NoBound", {.notTrivial = ""}, std::nullopt},
    };
    EXPECT_EQ(reportOf(cases[4].inputs).independent.ordinary.p2, 0.05);
    for (const ConclusionCase& c : cases) {
        const Report report = reportOf(c.inputs);
        EXPECT_EQ(report.independent.conclusion, c.independent) << c.name;
        EXPECT_EQ(report.independent.equivalence.has_value(), c.independent.has_value()) << c.name;
        EXPECT_EQ(report.independent.whyNoEquivalence.empty(), c.independent.has_value()) << c.name;
        EXPECT_TRUE(report.independent.effect.dCiTostLow) << c.name;
    }
}

TEST(Report, NoneForARunThatEndedWithAMessage) {
    EXPECT_FALSE(makeReport(recordOf({.sd2 = "0"})));
    EXPECT_FALSE(makeReport(recordOf({.matched = true})));  // matched inputs missing
    EXPECT_FALSE(makeReport(RunRecord{}));
}

TEST(Report, TinyOneSidedPIsComputedDirectlyNotAsOneMinus) {
    const Report report = reportOf({.sd1 = "0.01", .sd2 = "0.01", .notTrivial = "3"});
    const Value& pLower = report.independent.equivalence->pLower;
    ASSERT_TRUE(pLower);
    EXPECT_GT(*pLower.value, 0);
    EXPECT_LT(*pLower.value, 1e-30);
}

// A negative non-trivial difference reverses the bounds: the window always
// says non-trivial, and no interval lies between reversed bounds.
TEST(Report, NegativeBoundIsReportedAsTypedAndNeverEquivalent) {
    const Report report = reportOf({.notTrivial = "-3"});
    const EquivalenceTest& eq = *report.independent.equivalence;
    EXPECT_EQ(eq.boundLow, 3);
    EXPECT_EQ(eq.boundHigh, -3);
    EXPECT_FALSE(eq.trivial);
    EXPECT_EQ(report.independent.conclusion, Conclusion::inconclusive);
}

// Values that cannot be computed are missing with a reason; the rest stands.
TEST(Report, UncomputableValuesAreMissingWithAReason) {
    const Report fractional = reportOf({.n1 = "10.5"});
    EXPECT_TRUE(fractional.independent.effect.d);
    EXPECT_FALSE(fractional.independent.effect.g);
    EXPECT_FALSE(fractional.independent.effect.dCiTostLow.whyMissing.empty());
    EXPECT_TRUE(fractional.independent.equivalence->pTost);

    const Report negativeSD =
        reportOf({.notTrivial = "2", .meanDiff = "1", .sdMatched = "-2", .matched = true});
    EXPECT_FALSE(negativeSD.matched->effect.d);
    EXPECT_NE(negativeSD.matched->effect.d.whyMissing.find("negative"), std::string::npos);
    EXPECT_TRUE(negativeSD.matched->ordinary.ciTestLow);
    // Both standardised bounds carry the reason, each on its own.
    for (const Value* bound : {&negativeSD.matched->equivalence->boundDLow,
                               &negativeSD.matched->equivalence->boundDHigh})
        EXPECT_EQ(bound->whyMissing, "the standard deviation is negative");

    // An SD of 0 never reaches a report from a run, which refuses it; a
    // record holding one is still reported, its effect sizes missing.
    RunRecord zeroSD =
        recordOf({.notTrivial = "2", .meanDiff = "1", .sdMatched = "2", .matched = true});
    zeroSD.matched->sdMatched = 0;
    EXPECT_EQ(makeReport(zeroSD).value().matched->effect.d.whyMissing,
              "the standard deviation is not a positive number");

    const Report twoPairs =
        reportOf({.n1 = "2", .meanDiff = "1", .sdMatched = "2", .matched = true});
    EXPECT_FALSE(twoPairs.matched->effect.g);  // one df: Hedges' correction undefined
    EXPECT_TRUE(twoPairs.matched->effect.dCiTostHigh);
}

// The report never disagrees with the window: its conclusion says equivalent
// exactly when the verdict is trivial, and the 90% interval lies inside the
// bounds exactly then, except where a t value sits on its critical value.
void expectAgreesWithVerdict(const RunRecord& record, const std::string& where) {
    const std::optional<Report> report = makeReport(record);
    ASSERT_TRUE(report) << where;
    const auto check = [&](const DesignReport& r, const std::optional<OneSidedTests>& tests) {
        ASSERT_EQ(r.equivalence.has_value(), tests.has_value()) << where;
        if (!tests) return;
        const bool equivalent = r.conclusion == Conclusion::equivalent ||
                                r.conclusion == Conclusion::equivalentAndDifferent;
        EXPECT_EQ(equivalent, tests->trivial) << where;
        const EquivalenceTest& eq = *r.equivalence;
        ASSERT_TRUE(eq.ciTostLow && eq.ciTostHigh) << where;
        const bool inside =
            eq.boundLow < *eq.ciTostLow.value && *eq.ciTostHigh.value < eq.boundHigh;
        const bool onCritical = std::fabs(tests->tUpper - tests->crit05) <= 1e-15 * tests->crit95 ||
                                std::fabs(tests->tLower - tests->crit95) <= 1e-15 * tests->crit95;
        if (!onCritical) {
            EXPECT_EQ(inside, tests->trivial) << where;
        }
    };
    check(report->independent, record.independent.tests);
    if (record.matched) check(*report->matched, record.matched->tests);
}

// The sensitivity bounds are the planning engine's smallest symmetric bounds
// for the sizes and the observed SD at a true difference of 0 and the
// report's alpha: the pooled SD with Student's sizes even when Welch's df or
// Welch's own test is selected, for the matched design the SD of the
// difference scores with the pairs, and the equivalence test's bounds even
// for a minimal-effect report.
TEST(Report, SensitivityBoundsReachTheirPowerForTheObservedSdAndSizes) {
    const auto with = [](double alpha, settings::Hypothesis hypothesis,
                         settings::StandardError standardError) {
        settings::TestSettings s;
        s.alpha = alpha;
        s.hypothesis = hypothesis;
        s.standardError = standardError;
        return s;
    };
    using settings::Hypothesis;
    using settings::StandardError;
    const settings::TestSettings calculator;
    struct Case {
        const char* name;
        Inputs inputs;
        settings::TestSettings settings;
        bool matched;
        double sd;
        plan::Sizes sizes;
    };
    const double pooledB = std::sqrt((19 * 25.0 + 14 * 64.0) / 33);
    const Case cases[] = {
        {"run B with Welch's df", runBWelch, calculator, false, pooledB, {20, 15}},
        {"matched, 30 pairs", matchedTrivial, calculator, true, 1.0, {30, 0}},
        {"run B at alpha .025, Welch's own test",
         runBWelch,
         with(0.025, Hypothesis::equivalence, StandardError::welch),
         false,
         pooledB,
         {20, 15}},
        {"run B at alpha .2, the minimal-effect test",
         runB(),
         with(0.2, Hypothesis::minimalEffect, StandardError::pooled),
         false,
         pooledB,
         {20, 15}},
        {"matched, 30 pairs at alpha .001",
         matchedTrivial,
         with(0.001, Hypothesis::equivalence, StandardError::pooled),
         true,
         1.0,
         {30, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<Report> report = makeReport(recordOf(c.inputs), c.settings);
        ASSERT_TRUE(report);
        const DesignReport& design = c.matched ? *report->matched : report->independent;
        plan::Study study;
        study.design = c.matched ? plan::Design::matched : plan::Design::independent;
        study.sd = c.sd;
        study.alpha = c.settings.alpha;
        for (const auto& [value, target] : {std::pair{design.sensitivity.bound80, 0.8},
                                            std::pair{design.sensitivity.bound90, 0.9}}) {
            ASSERT_TRUE(value) << value.whyMissing;
            const double bound = *value.value;
            study.lower = -bound;
            study.upper = bound;
            EXPECT_GE(plan::power(study, c.sizes), target);
            study.lower = -bound * (1 - 1e-7);
            study.upper = bound * (1 - 1e-7);
            EXPECT_LT(plan::power(study, c.sizes), target);
        }
        EXPECT_LT(*design.sensitivity.bound80.value, *design.sensitivity.bound90.value);
    }
}

TEST(Report, SensitivityIsMissingWithAReasonForFractionalSizes) {
    Inputs fractional = runA;
    fractional.n1 = "10.5";
    const Report report = reportOf(fractional);
    EXPECT_FALSE(report.independent.sensitivity.bound80);
    EXPECT_NE(report.independent.sensitivity.bound90.whyMissing.find("whole"), std::string::npos);
}

TEST(Report, AgreesWithTheVerdictOnTheWorkedRuns) {
    const std::vector<Inputs> runs = {
        runA,
        runBWelch,
        runB(),
        runB("2", true),
        {.mean1 = "9", .mean2 = "10"},
        {.notTrivial = "0"},
        {.notTrivial = ""},
        {.meanDiff = "-", .sdMatched = "."},
        {.notTrivial = "2", .meanDiff = "1", .sdMatched = "2", .matched = true},
        matchedTrivial,
        {.notTrivial = "2", .meanDiff = "-1", .sdMatched = "2", .matched = true},
        {.notTrivial = "", .meanDiff = "1", .sdMatched = "2", .matched = true}};
    for (std::size_t i = 0; i < runs.size(); ++i)
        expectAgreesWithVerdict(recordOf(runs[i]), "worked run " + std::to_string(i));
}

// The box driver's scripted sessions, replayed: set, select and run lines.
TEST(Report, AgreesWithTheVerdictOnTheBoxDriverSessions) {
    int runs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TARNWICK_BOX_DRIVER_SESSIONS)) {
        if (entry.path().extension() != ".in") continue;
        std::ifstream in(entry.path());
        BoxTable boxes;
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            std::istringstream fields(line);
            std::string command, name, text;
            std::getline(fields, command, '\t');
            std::getline(fields, name, '\t');
            std::getline(fields, text);
            if (command == "set" && BoxTable::isBox(name)) boxes.setText(name, text);
            if (command == "select" && BoxTable::isOption(name)) boxes.select(name);
            if (command != "run") continue;
            RunRecord record;
            runCommand(boxes, &record);
            if (!record.endedWithResults) continue;
            ++runs;
            expectAgreesWithVerdict(
                record, entry.path().filename().string() + ":" + std::to_string(number));
        }
    }
    EXPECT_GE(runs, 4);
}

}  // namespace
}  // namespace tarnwick::report
