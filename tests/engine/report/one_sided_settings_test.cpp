// The one-sided questions' settings (data/one_sided_settings.csv): the
// margin each question takes or defaults to, the side of it its alternative
// lies on, and each margin on the wrong side of no effect refused by number.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "one_sided_words.h"
#include "setting_text.h"
#include "shortest_text.h"

namespace tarnwick::settings {
namespace {

std::string outcomeOf(const std::string& hypothesis, const std::string& better,
                      const std::string& scale, const std::string& margin,
                      const std::string& delta) {
    try {
        TestSettings settings;
        settings.hypothesis = readHypothesis(hypothesis);
        settings.better = readBetter(better);
        settings.scale = readScale(scale);
        settings.margin = readMargin(margin);
        settings.alpha = defaultAlpha(settings.hypothesis);
        check(settings);
        const std::optional<double> tested = marginOrDefault(settings, numberFromText(delta));
        if (!tested) return "none";
        const Side side = alternativeSide(settings.hypothesis, settings.better);
        return number_text::shortestText(*tested) + (side == Side::above ? ";above" : ";below");
    } catch (const SettingsError& e) {
        return std::to_string(e.number());
    }
}

TEST(OneSidedSettings, EveryQuestionTakesTheMarginTheTableSays) {
    std::ifstream in(TARNWICK_REPORT_DATA "/one_sided_settings.csv");
    ASSERT_TRUE(in);
    int rows = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#' || line.starts_with("hypothesis,")) continue;
        std::istringstream fields(line);
        std::string hypothesis, better, scale, margin, delta, outcome;
        for (std::string* field : {&hypothesis, &better, &scale, &margin, &delta})
            std::getline(fields, *field, ',');
        std::getline(fields, outcome);
        EXPECT_EQ(outcomeOf(hypothesis, better, scale, margin, delta), outcome) << line;
        ++rows;
    }
    EXPECT_EQ(rows, 38);
}

// The refusal asks rather than flips: it names the margin given, its mirror
// and the question the person may have meant.
TEST(OneSidedSettings, AWrongSideMarginIsAskedAboutInTheQuestionsWords) {
    TestSettings settings;
    settings.hypothesis = Hypothesis::nonInferiority;
    settings.margin = 0.5;
    settings.alpha = oneSidedAlpha;
    try {
        check(settings);
        FAIL() << "a non-inferiority margin above 0 with larger better was accepted";
    } catch (const SettingsError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "A non-inferiority margin lies below 0 when larger effects are better (how "
                  "much worse the effect may be), and 0.5 does not: did you mean -0.5, or "
                  "superiority by 0.5?");
    }
    settings.scale = Scale::ratio;
    settings.margin = 1.25;
    try {
        check(settings);
        FAIL() << "a non-inferiority ratio margin above 1 was accepted";
    } catch (const SettingsError& e) {
        EXPECT_NE(std::string(e.what()).find("did you mean 0.8,"), std::string::npos) << e.what();
    }
}

TEST(OneSidedSettings, OnlyTheMarginsTestCanDecideWithTheOtherBoundAtTheScalesEnd) {
    const Bounds above = oneSidedBounds(-0.5, Side::above, Scale::difference);
    EXPECT_EQ(above.lower, -0.5);
    EXPECT_TRUE(std::isinf(above.upper) && above.upper > 0);
    const Bounds below = oneSidedBounds(1.25, Side::below, Scale::ratio);
    EXPECT_EQ(below.lower, 0.0);
    EXPECT_EQ(below.upper, 1.25);
    EXPECT_EQ(defaultAlpha(Hypothesis::superiority), 0.025);
    EXPECT_EQ(defaultAlpha(Hypothesis::minimalEffect), 0.05);
    EXPECT_EQ(decisionName(oneSidedDecision(Hypothesis::nonSuperiority, false)),
              "not_shown_non_superior");
    EXPECT_TRUE(rejectsNull(oneSidedDecision(Hypothesis::superiority, true)));
}

// The conclusion names the margin, the direction and the interval's end that
// decides, for each question, direction, scale and decision.
TEST(OneSidedSettings, TheConclusionNamesTheMarginAndTheEndThatDecides) {
    struct Row {
        Hypothesis hypothesis;
        Better better;
        Scale scale;
        const char* margin;
        const char* end;
        bool shown;
        const char* sentence;
    };
    const Row rows[] = {
        {Hypothesis::nonInferiority, Better::higher, Scale::difference, "-0.5", "-0.31", true,
         "not inferior by more than 0.5: the lower end of the 95% interval, -0.31, lies above "
         "-0.5"},
        {Hypothesis::nonInferiority, Better::lower, Scale::difference, "0.5", "0.62", false,
         "not shown to be not inferior by more than 0.5: the upper end of the 95% interval, "
         "0.62, does not lie below 0.5"},
        {Hypothesis::nonSuperiority, Better::higher, Scale::ratio, "1.25", "1.19", true,
         "not superior beyond the margin 1.25: the upper end of the 95% interval, 1.19, lies "
         "below 1.25"},
        {Hypothesis::superiority, Better::higher, Scale::difference, "0", "0.12", true,
         "superior: the lower end of the 95% interval, 0.12, lies above 0"},
        {Hypothesis::superiority, Better::lower, Scale::ratio, "0.9", "", false,
         "not shown to be superior beyond the margin 0.9: the 95% interval has no upper end"},
    };
    for (const Row& row : rows) {
        TestSettings settings;
        settings.hypothesis = row.hypothesis;
        settings.better = row.better;
        settings.scale = row.scale;
        settings.margin = numberFromText(row.margin);
        EXPECT_EQ(oneSidedConclusion(settings, {row.margin, row.end, "95%"}, row.shown),
                  row.sentence);
        EXPECT_EQ(readHypothesis(hypothesisWord(row.hypothesis)), row.hypothesis);
        EXPECT_EQ(readBetter(betterWord(row.better)), row.better);
    }
}

}  // namespace
}  // namespace tarnwick::settings
