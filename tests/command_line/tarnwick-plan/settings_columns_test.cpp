// The test's settings in a planning row: which hypothesis, and bounds in raw
// or SD units. Words are read or refused by name; bounds in d are the raw
// bounds divided by the SD, so they get the raw question's answer, and the
// sentence names both; the minimal-effect sentence says what the test
// concludes from and at which levels.

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

#include "row_plan.h"
#include "row_request.h"

namespace tarnwick::planner {
namespace {

RowTexts row(const std::string& cells) {
    RowTexts texts;
    std::istringstream items(cells);
    for (std::string item; std::getline(items, item, ';');) {
        const auto equals = item.find('=');
        const std::string name = item.substr(0, equals);
        std::size_t i = 0;
        while (i < inputColumnCount && inputColumnNames[i] != name)
            ++i;
        if (i == inputColumnCount) throw std::invalid_argument("no column " + name);
        texts[i] = item.substr(equals + 1);
    }
    return texts;
}

using settings::BoundUnits;
using settings::Hypothesis;

struct Read {
    const char* name;
    const char* cells;
    Hypothesis hypothesis;
    BoundUnits units;
    double lower, upper;  // raw, as the engine is asked
};

const Read readRows[] = {
    {"defaults", "solve=n;sd=2;bound=0.5;power=0.9", Hypothesis::equivalence, BoundUnits::raw, -0.5,
     0.5},
    {"equivalence_named", "solve=n;sd=2;bound=0.5;power=0.9;hypothesis=equivalence",
     Hypothesis::equivalence, BoundUnits::raw, -0.5, 0.5},
    {"minimal_effect", "solve=n;sd=2;bound=0.5;power=0.9;difference=1;hypothesis=minimal_effect",
     Hypothesis::minimalEffect, BoundUnits::raw, -0.5, 0.5},
    {"raw_named", "solve=power;sd=2;bound=0.5;n1=10;bound_units=raw", Hypothesis::equivalence,
     BoundUnits::raw, -0.5, 0.5},
    {"d_times_the_sd", "solve=power;sd=2;bound=0.5;n1=10;bound_units=d", Hypothesis::equivalence,
     BoundUnits::sd, -1, 1},
    {"d_asymmetric_pairs",
     "solve=n;design=matched;sd=4;lower=-0.25;upper=0.5;power=0.8;bound_units=d",
     Hypothesis::equivalence, BoundUnits::sd, -1, 2},
};

class SettingsRead : public ::testing::TestWithParam<Read> {};

TEST_P(SettingsRead, ReachTheEngineAsMeant) {
    const Read& c = GetParam();
    const Request request = readRequest(row(c.cells));
    EXPECT_EQ(request.study.hypothesis, c.hypothesis);
    EXPECT_EQ(request.units, c.units);
    EXPECT_EQ(request.study.lower, c.lower);
    EXPECT_EQ(request.study.upper, c.upper);
}

INSTANTIATE_TEST_SUITE_P(Rows, SettingsRead, ::testing::ValuesIn(readRows),
                         [](const auto& info) { return std::string(info.param.name); });

// Each refusal is the row's message, never an answer.
struct Refused {
    const char* name;
    const char* cells;
    const char* message;  // a piece of it
};

const Refused refusedRows[] = {
    {"unknown_hypothesis", "solve=n;sd=1;bound=1;power=0.8;hypothesis=minimal-effect",
     "hypothesis must be equivalence, minimal_effect, non_inferiority"},
    {"hypothesis_in_capitals", "solve=n;sd=1;bound=1;power=0.8;hypothesis=Equivalence",
     "\"Equivalence\""},
    {"unknown_units", "solve=n;sd=1;bound=1;power=0.8;bound_units=sd",
     "bound_units must be raw or d"},
    {"d_with_sd_zero", "solve=power;sd=0;bound=1;n1=10;bound_units=d", "SD units"},
    {"d_overflowing", "solve=power;sd=1e200;bound=1e200;n1=10;bound_units=d", "overflow"},
    {"minimal_effect_difference_inside",
     "solve=n;sd=1;bound=0.5;difference=0.2;power=0.8;hypothesis=minimal_effect",
     "must lie outside the bounds"},
    {"minimal_effect_difference_on_a_bound_in_d",
     "solve=n;sd=2;bound=0.25;difference=0.5;power=0.8;hypothesis=minimal_effect;bound_units=d",
     "must lie outside the bounds"},
    {"minimal_effect_bound_question", "solve=bound;sd=1;power=0.8;n1=10;hypothesis=minimal_effect",
     "equivalence test"},
};

class SettingsRefused : public ::testing::TestWithParam<Refused> {};

TEST_P(SettingsRefused, GiveTheRowItsMessage) {
    const Refused& c = GetParam();
    const RowPlan planned = planRow(row(c.cells), Digits::shown);
    EXPECT_FALSE(planned.answered);
    EXPECT_NE(planned.message.find(c.message), std::string::npos) << planned.message;
    for (const std::string& field : planned.fields)
        EXPECT_EQ(field, "");
}

INSTANTIATE_TEST_SUITE_P(Rows, SettingsRefused, ::testing::ValuesIn(refusedRows),
                         [](const auto& info) { return std::string(info.param.name); });

// The same question in d and in raw units has the same answer columns.
struct SameAnswer {
    const char* name;
    const char* inD;
    const char* inRaw;
};

const SameAnswer sameRows[] = {
    {"size", "solve=n;sd=1.2;bound=0.5;power=0.9;bound_units=d",
     "solve=n;sd=1.2;bound=0.6;power=0.9"},
    {"minimal_effect_power",
     "solve=power;sd=2;bound=0.25;difference=1;n1=30;hypothesis=minimal_effect;bound_units=d",
     "solve=power;sd=2;bound=0.5;difference=1;n1=30;hypothesis=minimal_effect"},
    {"bound_question_ignores_units", "solve=bound;sd=1.2;power=0.9;n1=124;bound_units=d",
     "solve=bound;sd=1.2;power=0.9;n1=124"},
};

class BoundsInD : public ::testing::TestWithParam<SameAnswer> {};

TEST_P(BoundsInD, AnswerAsTheirRawBounds) {
    const RowPlan d = planRow(row(GetParam().inD), Digits::full);
    const RowPlan raw = planRow(row(GetParam().inRaw), Digits::full);
    ASSERT_TRUE(d.answered) << d.message;
    EXPECT_EQ(d.fields, raw.fields);
}

INSTANTIATE_TEST_SUITE_P(Rows, BoundsInD, ::testing::ValuesIn(sameRows),
                         [](const auto& info) { return std::string(info.param.name); });

// The sizes and powers in these sentences agree with the 50-digit
// evaluation of tests/engine/planning (191 per group give 0.900016, 190 give
// 0.898659; 88 give 0.902851, 87 give 0.898966; 40 pairs 0.391776).
struct Sentence {
    const char* name;
    const char* cells;
    const char* sentence;
};

const Sentence sentenceRows[] = {
    {"minimal_effect_size",
     "solve=n;sd=1;bound=0.5;difference=0.8;power=0.9;hypothesis=minimal_effect",
     "With 191 per group (382 in all), the fewest reaching 90% power, the minimal-effect test "
     "has 90.0% power to show that the difference lies beyond ±0.5 if it is 0.8: it concludes "
     "so when the 90% interval of the difference lies wholly below the lower bound or wholly "
     "above the upper one (each one-sided test at alpha 0.05)."},
    {"minimal_effect_power_d_alpha_025",
     "solve=power;sd=1.2;bound=0.5;difference=0.8;n1=30;alpha=0.025;hypothesis=minimal_effect;"
     "bound_units=d",
     "With 30 per group (60 in all), the minimal-effect test has 9.2% power to show that the "
     "difference lies beyond ±0.5 SD (±0.6 in raw units) if it is 0.8 in raw units: it concludes "
     "so when the 95% interval of the difference lies wholly below the lower bound or wholly "
     "above the upper one (each one-sided test at alpha 0.025)."},
    {"equivalence_size_d", "solve=n;sd=1.2;bound=0.5;power=0.9;bound_units=d",
     "88 per group (176 in all), the fewest reaching 90% power, give 90.2% power to show "
     "equivalence within ±0.5 SD (±0.6 in raw units)."},
    {"equivalence_found_bounds_d_both_rounded_outward",
     "solve=bound;sd=1.2;power=0.9;n1=124;bound_units=d",
     "124 per group (248 in all) give 90.0% power to show equivalence within ±0.4190 SD "
     "(±0.5028 in raw units), the narrowest symmetric bounds reaching 90% power."},
    {"asymmetric_d_pairs",
     "solve=power;design=matched;sd=4;lower=-0.25;upper=0.5;n1=40;bound_units=d",
     "40 pairs give 39.1% power to show equivalence within -0.25 and 0.5 SD (-1 and 2 in raw "
     "units)."},
};

class SettingsSentence : public ::testing::TestWithParam<Sentence> {};

TEST_P(SettingsSentence, SaysTheTestAndBothUnits) {
    const RowPlan planned = planRow(row(GetParam().cells), Digits::shown);
    ASSERT_TRUE(planned.answered) << planned.message;
    EXPECT_EQ(planned.sentence, GetParam().sentence);
}

INSTANTIATE_TEST_SUITE_P(Rows, SettingsSentence, ::testing::ValuesIn(sentenceRows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarnwick::planner
