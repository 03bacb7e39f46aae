// The ratio scale's bounds as typed (data/ratio_bounds.csv): both above 0 and
// in order, one alone taken with its reciprocal, each refusal by its number.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "setting_text.h"
#include "shortest_text.h"

namespace tarnwick::settings {
namespace {

std::string outcomeOf(const std::string& lower, const std::string& upper) {
    try {
        const std::optional<Bounds> b = readBounds(lower, upper, '.', Scale::ratio);
        if (!b) return "blank";
        return number_text::shortestText(b->lower) + ";" + number_text::shortestText(b->upper);
    } catch (const SettingsError& e) {
        return std::to_string(e.number());
    }
}

TEST(RatioBounds, EveryTextReadsAsTheTableSays) {
    std::ifstream in(TARNWICK_REPORT_DATA "/ratio_bounds.csv");
    ASSERT_TRUE(in);
    int rows = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#' || line.starts_with("lower,")) continue;
        std::istringstream fields(line);
        std::string lower, upper, outcome;
        std::getline(fields, lower, ',');
        std::getline(fields, upper, ',');
        std::getline(fields, outcome);
        // "bounds": a lone lower bound above 1 is out of order with its reciprocal.
        if (outcome == "bounds") outcome = std::to_string(error::bounds);
        EXPECT_EQ(outcomeOf(lower, upper), outcome) << line;
        ++rows;
    }
    EXPECT_GT(rows, 10);
}

TEST(RatioBounds, SdUnitsAndTheDifferenceRulesStayApart) {
    TestSettings s{.bounds = Bounds{-1, 1}, .scale = Scale::ratio};
    EXPECT_THROW(check(s), SettingsError);
    s.scale = Scale::difference;
    EXPECT_NO_THROW(check(s));
    s = {.units = BoundUnits::sd, .scale = Scale::ratio};
    try {
        check(s);
        ADD_FAILURE() << "SD units accepted on the ratio scale";
    } catch (const SettingsError& e) {
        EXPECT_EQ(e.number(), error::ratioUnits);
    }
    // The difference scale still wants both bounds.
    EXPECT_THROW(readBounds("0.8", ""), SettingsError);
    EXPECT_EQ(ratioBounds({}), defaultRatioBounds);
    EXPECT_FALSE(areTheCalculators({.scale = Scale::ratio}, 3.0));
}

}  // namespace
}  // namespace tarnwick::settings
