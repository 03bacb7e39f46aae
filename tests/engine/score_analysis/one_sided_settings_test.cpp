// A one-sided question of the shared settings as the raw-score analyses
// ask it: its margin given or defaulted, where its alternative lies, and
// the refusals every front end shares, by their numbers.

#include <gtest/gtest.h>

#include <optional>

#include "score_error.h"
#include "score_settings.h"

namespace tarnwick::score_analysis {
namespace {

struct Asked {
    const char* name;
    Hypothesis hypothesis;
    Better better;
    Scale scale;
    std::optional<double> margin, delta;
    std::optional<settings::Bounds> bounds;
    double wantMargin;  // when no refusal
    Side wantSide;
    int refusal = 0;  // the SettingsError's number, 0 for none
};

class OneSidedQuestion : public ::testing::TestWithParam<Asked> {};

TEST_P(OneSidedQuestion, TakesItsMarginOrIsRefused) {
    const Asked& row = GetParam();
    settings::TestSettings question;
    question.alpha = 0.025;
    question.hypothesis = row.hypothesis;
    question.better = row.better;
    question.scale = row.scale;
    question.margin = row.margin;
    question.bounds = row.bounds;
    if (row.refusal != 0) {
        try {
            oneSidedQuestion(question, row.delta);
            ADD_FAILURE() << "not refused";
        } catch (const settings::SettingsError& error) {
            EXPECT_EQ(error.number(), row.refusal) << error.description();
        }
        return;
    }
    const ScoreSettings s = oneSidedQuestion(question, row.delta);
    EXPECT_EQ(marginOf(s), row.wantMargin);
    EXPECT_EQ(s.upper, s.lower);
    EXPECT_EQ(sideOf(s), row.wantSide);
    EXPECT_NO_THROW(checkSettings(s));
    // The shared settings back again, the margin now filled.
    settings::TestSettings back = question;
    back.margin = row.wantMargin;
    EXPECT_EQ(testSettingsOf(s).margin, back.margin);
    EXPECT_EQ(testSettingsOf(s).hypothesis, back.hypothesis);
    EXPECT_EQ(testSettingsOf(s).better, back.better);
}

constexpr auto higher = Better::higher, lower = Better::lower;
constexpr auto difference = Scale::difference, ratio = Scale::ratio;
constexpr auto above = Side::above, below = Side::below;
constexpr std::optional<double> none = std::nullopt;

INSTANTIATE_TEST_SUITE_P(Rows, OneSidedQuestion,
                         ::testing::Values(Asked{"NonInferiorityFromDelta",
                                                 Hypothesis::nonInferiority,
                                                 higher,
                                                 difference,
                                                 none,
                                                 0.5,
                                                 {},
                                                 -0.5,
                                                 above},
                                           Asked{"NonInferiorityLowerBetter",
                                                 Hypothesis::nonInferiority,
                                                 lower,
                                                 difference,
                                                 none,
                                                 0.5,
                                                 {},
                                                 0.5,
                                                 below},
                                           Asked{"NonSuperiorityFromDelta",
                                                 Hypothesis::nonSuperiority,
                                                 higher,
                                                 difference,
                                                 none,
                                                 0.5,
                                                 {},
                                                 0.5,
                                                 below},
                                           Asked{"NonSuperiorityLowerBetter",
                                                 Hypothesis::nonSuperiority,
                                                 lower,
                                                 difference,
                                                 none,
                                                 0.5,
                                                 {},
                                                 -0.5,
                                                 above},
                                           Asked{"SuperiorityAtNoEffect",
                                                 Hypothesis::superiority,
                                                 higher,
                                                 difference,
                                                 none,
                                                 none,
                                                 {},
                                                 0,
                                                 above},
                                           Asked{"SuperiorityLowerBetterGiven",
                                                 Hypothesis::superiority,
                                                 lower,
                                                 difference,
                                                 -0.2,
                                                 none,
                                                 {},
                                                 -0.2,
                                                 below},
                                           Asked{"RatioNonInferiority",
                                                 Hypothesis::nonInferiority,
                                                 higher,
                                                 ratio,
                                                 none,
                                                 none,
                                                 {},
                                                 0.8,
                                                 above},
                                           Asked{"RatioNonInferiorityLowerBetter",
                                                 Hypothesis::nonInferiority,
                                                 lower,
                                                 ratio,
                                                 none,
                                                 none,
                                                 {},
                                                 1.25,
                                                 below},
                                           Asked{"RatioSuperiorityAtOne",
                                                 Hypothesis::superiority,
                                                 higher,
                                                 ratio,
                                                 none,
                                                 none,
                                                 {},
                                                 1,
                                                 above},
                                           Asked{"NoMarginNoDelta",
                                                 Hypothesis::nonInferiority,
                                                 higher,
                                                 difference,
                                                 none,
                                                 none,
                                                 {},
                                                 0,
                                                 above,
                                                 settings::error::marginMissing},
                                           Asked{"MarginOnTheWrongSide",
                                                 Hypothesis::nonInferiority,
                                                 higher,
                                                 difference,
                                                 0.5,
                                                 none,
                                                 {},
                                                 0,
                                                 above,
                                                 settings::error::marginSide},
                                           Asked{"BoundsWithAOneSidedQuestion",
                                                 Hypothesis::superiority, higher, difference, none,
                                                 none, settings::Bounds{-1, 1}, 0, above,
                                                 settings::error::marginOrBounds},
                                           Asked{"RatioMarginNotAboveZero",
                                                 Hypothesis::nonInferiority,
                                                 higher,
                                                 ratio,
                                                 -0.8,
                                                 none,
                                                 {},
                                                 0,
                                                 above,
                                                 settings::error::ratioBound}),
                         [](const auto& info) { return std::string(info.param.name); });

// The analyses' own check: a one-sided question has one margin, finite.
TEST(OneSidedSettings, AnalysesRefuseTwoBoundsOrNoFiniteMargin) {
    ScoreSettings two = oneSidedSettings(0.025, -0.5, Hypothesis::nonInferiority, Better::higher);
    two.upper = 0.5;
    EXPECT_THROW(checkSettings(two), ScoreError);
    EXPECT_THROW(
        checkSettings(oneSidedSettings(0.025, HUGE_VAL, Hypothesis::superiority, Better::higher)),
        ScoreError);
    EXPECT_THROW(checkSettings(oneSidedSettings(0.025, 0, Hypothesis::superiority, Better::higher,
                                                Scale::ratio)),
                 ScoreError);
}

}  // namespace
}  // namespace tarnwick::score_analysis
