// The effect-scale description is the only source of the report's effect
// words: on the ratio scale no sentence keeps a word of the difference's,
// except the calculator's own input names and the matched design's
// difference scores.

#include "effect_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>

#include "box_fixture.h"
#include "report.h"
#include "report_text.h"
#include "run_command.h"

namespace tarnwick::report {
namespace {

using testing_support::Inputs;

// Every phrase of the texts that names the difference, once the input
// boxes' names and the matched design's difference scores are set aside.
std::string differenceWordsIn(std::string text) {
    static const std::regex allowed(
        "non-trivial difference|difference scores|mean difference|Tarnwick report");
    text = std::regex_replace(text, allowed, "");
    static const std::regex word("[^.:;(]*\\b(difference|differences|zero|raw units)\\b[^.:;)]*");
    std::string found;
    for (std::sregex_iterator i(text.begin(), text.end(), word), end; i != end; ++i)
        found += i->str() + "\n";
    return found;
}

std::string textUnder(settings::Scale scaleSetting, const Inputs& in, settings::TestSettings s) {
    BoxTable boxes;
    testing_support::enter(boxes, in);
    RunRecord record;
    runCommand(boxes, &record);
    s.scale = scaleSetting;
    const Report report = makeReport(record, s).value();
    const EffectScale& scale = *report.scale;
    const ReportInputs inputs{in.mean1,      in.sd1,      in.n1,        in.mean2,   in.sd2,  in.n2,
                              in.notTrivial, in.meanDiff, in.sdMatched, in.matched, in.welch};
    std::string text = reportText(report, inputs);
    for (const DesignReport* r : {&report.independent, report.matched ? &*report.matched : nullptr})
        if (r) text += conclusionLabel(r->conclusion, scale) + "\n";
    return text;
}

TEST(EffectScale, EveryEffectWordComesFromTheScale) {
    Inputs different;  // different from zero, and equivalent: both conclusions' words
    different.mean1 = "12";
    Inputs negativeDelta;
    negativeDelta.notTrivial = "-1";
    const settings::TestSettings calculators{};
    const settings::TestSettings minimalEffect{.hypothesis = settings::Hypothesis::minimalEffect};
    const struct {
        Inputs inputs;
        settings::TestSettings settings;
    } cases[] = {
        {Inputs{}, calculators},
        {different, calculators},
        {Inputs{}, minimalEffect},
        {different, minimalEffect},
        {testing_support::matchedRun(), calculators},
        {testing_support::matchedRun(), minimalEffect},
        {negativeDelta, calculators},
    };
    for (const auto& c : cases) {
        const std::string difference = textUnder(settings::Scale::difference, c.inputs, c.settings);
        EXPECT_NE(differenceWordsIn(difference), "") << "the check finds the words";
        const std::string text = textUnder(settings::Scale::ratio, c.inputs, c.settings);
        EXPECT_EQ(differenceWordsIn(text), "") << text;
        EXPECT_NE(text.find("Fieller's interval for the ratio of means"), std::string::npos);
    }
}

TEST(EffectScale, TheRatioIsLoggedForItsAxis) {
    const EffectScale& scale = ratioOfMeans();
    EXPECT_EQ(scale.nullValue, 1);
    EXPECT_EQ(scale.toTestScale(1), 0);
    for (const double x : {0.8, 1.25, 3.0})
        EXPECT_NEAR(scale.fromTestScale(scale.toTestScale(x)) / x, 1, 1e-15) << x;
}

TEST(EffectScale, TheDifferenceIsItsOwnTestScale) {
    const EffectScale& scale = differenceOfMeans();
    EXPECT_EQ(scale.nullValue, 0);
    for (const double x : {-1e300, -2.5, -0.0, 0.1, 3.0, 1e-300}) {
        EXPECT_EQ(scale.toTestScale(x), x);
        EXPECT_EQ(scale.fromTestScale(x), x);
    }
    EXPECT_EQ(capitalised("the difference"), "The difference");
    EXPECT_EQ(capitalised(""), "");
}

}  // namespace
}  // namespace tarnwick::report
