// Every case of data/cases.csv through every front end's words: a program's
// answer columns and sentence (the row read as a table row, at the case's
// digits) and the window's answer line and preregistration sentence (the
// same case typed into the form's boxes), or each one's refusal. The whole
// text must equal data/answers.txt (golden_file.h).

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>

#include "curve_points.h"
#include "form_request.h"
#include "golden_file.h"
#include "plan_words.h"
#include "row_request.h"
#include "setting_text.h"
#include "shortest_text.h"

namespace tarnwick::planner {
namespace {

using testing::compareWithGolden;
using testing::fileText;

// A comma separates, except inside double quotes (sizes such as "13,12").
std::vector<std::string> cellsOf(const std::string& line) {
    std::vector<std::string> cells(1);
    bool quoted = false;
    for (const char c : line) {
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            cells.emplace_back();
        } else {
            cells.back() += c;
        }
    }
    return cells;
}

using Case = std::map<std::string, std::string>;

std::vector<Case> readCases(const std::string& name = "cases.csv") {
    std::istringstream in(fileText(TEST_DATA_DIR "/" + name));
    std::string line;
    std::getline(in, line);
    const std::vector<std::string> names = cellsOf(line);
    std::vector<Case> cases;
    while (std::getline(in, line)) {
        const std::vector<std::string> cells = cellsOf(line);
        Case c;
        for (std::size_t i = 0; i < names.size(); ++i)
            c[names[i]] = i < cells.size() ? cells[i] : "";
        cases.push_back(c);
    }
    return cases;
}

RowTexts rowOf(const Case& c) {
    RowTexts texts;
    for (std::size_t i = 0; i < inputColumnCount; ++i) {
        const auto cell = c.find(std::string(inputColumnNames[i]));
        if (cell != c.end()) texts[i] = cell->second;
    }
    return texts;
}

// The question's choices as the window's buttons hold them, and its margin;
// a one-sided question's alpha box starts at .025.
void oneSidedOf(const Case& c, PlanForm& form) {
    const std::string& hypothesis = c.at("hypothesis");
    form.hypothesis = settings::readHypothesis(hypothesis);
    if (!c.count("margin")) return;
    form.margin = c.at("margin");
    form.better = settings::readBetter(c.at("better"));
    if (settings::isOneSided(form.hypothesis)) form.alpha = "0.025";
}

// The case as typed into the window; an empty optional box keeps the form's default.
PlanForm formOf(const Case& c) {
    const auto cell = [&](const char* name, const std::string& otherwise) {
        const std::string& text = c.at(name);
        return text.empty() ? otherwise : text;
    };
    PlanForm form;
    const std::string& solve = c.at("solve");
    form.question = solve == "n"       ? Question::size
                    : solve == "power" ? Question::power
                                       : Question::bound;
    form.design = c.at("design") == "matched" ? plan::Design::matched : plan::Design::independent;
    form.symmetric = c.at("lower").empty();
    oneSidedOf(c, form);
    form.sdUnits = c.at("bound_units") == "d";
    form.alpha = cell("alpha", form.alpha);
    form.bound = c.at("bound");
    form.lower = c.at("lower");
    form.upper = c.at("upper");
    form.difference = cell("difference", form.difference);
    form.sd = c.at("sd");
    form.power = cell("power", form.power);
    form.ratio = cell("ratio", form.ratio);
    form.n1 = c.at("n1");
    form.n2 = c.at("n2");
    return form;
}

std::string programWords(const Case& c) {
    try {
        const Answer a =
            answer(readRequest(rowOf(c)), c.at("digits") == "full" ? Digits::full : Digits::shown);
        std::string fields = "fields:";
        for (const std::string& field : answerFields(a))
            fields += " " + (field.empty() ? "_" : field);
        if (a.request.be) {
            fields += " |";
            for (const std::string& field : ratioAnswerFields(a))
                fields += " " + (field.empty() ? "_" : field);
        }
        if (const std::string p = oneSidedPField(a); !p.empty()) fields += " | p " + p;
        return fields + "\nprogram: " + answerSentence(a) + "\n";
    } catch (const plan::PlanError& refusal) {
        return "program refused: " + refusal.description() + "\n";
    } catch (const settings::SettingsError& refusal) {
        return "program refused: " + refusal.description() + "\n";
    }
}

// A case of the ratio scale as typed into the window: the design chosen,
// the bounds as ratios, the total for a power (the window has no sizes per
// sequence, and asks no ci or cv).
PlanForm ratioFormOf(const Case& c) {
    const auto cell = [&](const char* name, const std::string& otherwise) {
        const std::string& text = c.at(name);
        return text.empty() ? otherwise : text;
    };
    PlanForm form;
    form.ratioScale = true;
    form.question = c.at("solve") == "n" ? Question::size : Question::power;
    form.beDesign = *be::designNamed(c.at("design"));
    if (c.count("hypothesis")) {
        oneSidedOf(c, form);
        form.marginRatio = form.margin;  // empty: the question's default
        form.margin.clear();
    }
    form.alpha = cell("alpha", form.alpha);
    form.lowerRatio = cell("lower", form.lowerRatio);
    form.upperRatio = cell("upper", form.upperRatio);
    form.cv = c.at("cv");
    form.ratio0 = cell("ratio0", form.ratio0);
    form.power = cell("power", form.power);
    form.total = c.at("n");
    return form;
}

// Whether the case is a bioequivalence design's (the window's ratio scale).
bool onRatioScale(const Case& c) {
    return c.count("scale") && (!c.at("scale").empty() || be::designNamed(c.at("design")));
}

bool windowAsks(const Case& c) {
    if (!onRatioScale(c)) return c.at("solve") != "ci" && c.at("solve") != "cv";
    const std::string& solve = c.at("solve");
    return (solve == "n" || solve == "power") && c.at("scale") != "difference" &&
           c.at("sizes").empty() && (c.at("lower").empty() || !c.at("upper").empty());
}

// The window writes shown digits only.
std::string windowWords(const Case& c) {
    if (c.at("digits") == "full" || !windowAsks(c)) return "";
    try {
        const Answer a = answer(readForm(onRatioScale(c) ? ratioFormOf(c) : formOf(c)));
        return "window: " + answerLine(a) + "\npreregistration: " + preregistrationSentence(a) +
               "\n";
    } catch (const plan::PlanError& refusal) {
        return "window refused: " + refusal.description() + "\n";
    } catch (const settings::SettingsError& refusal) {
        return "window refused: " + refusal.description() + "\n";
    }
}

TEST(Answers, EveryCaseInEveryFrontEndsWords) {
    const std::vector<Case> cases = readCases();
    ASSERT_GE(cases.size(), 30u);
    std::string got;
    for (const Case& c : cases)
        got += "[" + c.at("case") + "]\n" + programWords(c) + windowWords(c);
    compareWithGolden(got, "answers.txt");
}

TEST(Answers, TheRatioScaleInEveryFrontEndsWords) {
    const std::vector<Case> cases = readCases("ratio_cases.csv");
    ASSERT_GE(cases.size(), 20u);
    std::string got;
    for (const Case& c : cases)
        got += "[" + c.at("case") + "]\n" + programWords(c) + windowWords(c);
    compareWithGolden(got, "ratio_answers.txt");
}

// Non-inferiority, non-superiority and superiority by a margin, for the
// difference of two means and the bioequivalence designs, and what they
// refuse: data/one_sided_cases.csv against data/one_sided_answers.txt.
TEST(Answers, TheOneSidedQuestionsInEveryFrontEndsWords) {
    const std::vector<Case> cases = readCases("one_sided_cases.csv");
    ASSERT_GE(cases.size(), 20u);
    std::string got;
    for (const Case& c : cases)
        got += "[" + c.at("case") + "]\n" + programWords(c) + windowWords(c);
    compareWithGolden(got, "one_sided_answers.txt");
}

// A one-sided question's curve against the true value: finite ends (the
// margin and a point beyond the true value on the alternative's side), the
// power about alpha at the margin and rising towards the alternative, for
// the difference (both directions) and the ratio.
TEST(Answers, OneSidedCurvesMarkTheMarginAndTheAlternative) {
    const std::vector<Case> cases = readCases("one_sided_cases.csv");
    for (const char* name : {"ni_power_matched", "ni_lower_better_unequal", "be_ni_size_2x2",
                             "be_ni_power_parallel_lower_better"}) {
        SCOPED_TRACE(name);
        const auto c = std::find_if(cases.begin(), cases.end(),
                                    [&](const Case& k) { return k.at("case") == name; });
        ASSERT_NE(c, cases.end());
        const Answer a = answer(readRequest(rowOf(*c)));
        const CurveData curve = curveOf(a, CurveAxis::difference);
        ASSERT_TRUE(std::isfinite(curve.lower) && std::isfinite(curve.upper));
        ASSERT_LT(curve.lower, curve.upper);
        ASSERT_GE(curve.points.size(), 10u);
        const bool above = std::isfinite(a.lower);
        const double margin = above ? a.lower : a.upper;
        EXPECT_EQ(above ? curve.lower : curve.upper, margin);
        const double alpha = a.request.be ? a.request.be->study.alpha : a.request.study.alpha;
        for (const CurvePoint& p : curve.points) {
            ASSERT_TRUE(std::isfinite(p.x) && p.power >= 0 && p.power <= 1);
            if (p.x == margin) {
                EXPECT_NEAR(p.power, alpha, 1e-9);
            }
        }
        const CurvePoint& first = curve.points.front();
        const CurvePoint& last = curve.points.back();
        EXPECT_LT(above ? first.power : last.power, alpha);
        EXPECT_GT(above ? last.power : first.power, a.power);
    }
}

// A power too small to show at one decimal is said to be under it, never
// written as 0.0% unless it is 0; one all but certain is never 100%.
TEST(Answers, PowersAtTheEdgesOfTheirDigits) {
    Answer a;
    a.request.question = Question::power;
    a.request.study.lower = -0.5;
    a.request.study.upper = 0.5;
    a.sizes = {10, 10};
    a.lower = -0.5;
    a.upper = 0.5;
    std::string got;
    for (const double power : {1e-36, 0.00099, 0.001, 0.0, 0.90312, 0.99999999, 1.0}) {
        a.power = power;
        a.digits = Digits::shown;
        got += "[" + table_io::shortestText(power) + "]\nprogram: " + answerSentence(a) +
               "\nfields: " + answerFields(a)[3] + "\nwindow: " + answerLine(a) + "\n";
    }
    compareWithGolden(got, "power_edges.txt");
}

}  // namespace
}  // namespace tarnwick::planner
