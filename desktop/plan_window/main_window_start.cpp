#include "main_window_start.h"

#include <cmath>
#include <optional>
#include <vector>

#include "calculator_words.h"
#include "number_text.h"
#include "run_time_error.h"

namespace tarnwick::planner {
namespace {

std::optional<double> numberIn(const std::string& text) {
    try {
        const double value = textToNumber(text);
        if (std::isfinite(value)) return value;
    } catch (const RunTimeError&) {
    }
    return std::nullopt;
}

std::optional<double> sizeIn(const std::string& text) {
    const std::optional<double> n = numberIn(text);
    if (n && *n >= 2 && *n == std::floor(*n)) return n;
    return std::nullopt;
}

std::string textOf(std::optional<double> value) { return value ? numberToText(*value) : ""; }

std::optional<double> commonSd(const MainWindowTexts& t) {
    const std::optional<double> sd1 = numberIn(t.sd1), sd2 = numberIn(t.sd2);
    if (!sd1 || !sd2) return std::nullopt;
    const std::optional<double> n1 = sizeIn(t.n1), n2 = sizeIn(t.n2);
    if (n1 && n2) {
        return std::sqrt(((*n1 - 1) * *sd1 * *sd1 + (*n2 - 1) * *sd2 * *sd2) / (*n1 + *n2 - 2));
    }
    return std::sqrt((*sd1 * *sd1 + *sd2 * *sd2) / 2);
}

// Equal as numbers where both read as numbers, else as typed.
bool sameNumber(const std::string& a, const std::string& b) {
    const std::optional<double> x = numberIn(a), y = numberIn(b);
    if (x && y) return *x == *y;
    return a == b;
}

std::string shownText(const std::string& text) { return text.empty() ? "none" : text; }

// The calculator's numbers as read on screen, as every window says them.
using calculator_words::listed;
std::string readableText(const std::string& text) { return calculator_words::readableNumber(text); }

std::vector<std::string> differences(const PlanForm& here, const PlanForm& calculator) {
    std::vector<std::string> found;
    const bool matched = calculator.design == plan::Design::matched;
    if (here.design != calculator.design) {
        found.push_back(matched ? "matched pairs (here independent groups)"
                                : "independent groups (here matched pairs)");
    }
    if (!calculator.bound.empty()) {
        // The calculator's bound is raw: one typed in SD units differs from
        // it whatever the number.
        const std::string units = here.sdUnits ? " SD" : "";
        if (!here.symmetric) {
            found.push_back("bounds of -" + calculator.bound + " and " + calculator.bound +
                            " (here " + shownText(here.lower) + " and " + shownText(here.upper) +
                            units + ")");
        } else if (here.sdUnits) {
            found.push_back("a bound of " + readableText(calculator.bound) +
                            " in raw units (here " + shownText(here.bound) + " SD)");
        } else if (!sameNumber(here.bound, calculator.bound)) {
            found.push_back("a bound of " + readableText(calculator.bound) + " (here " +
                            shownText(here.bound) + ")");
        }
    }
    if (!calculator.sd.empty() && !sameNumber(here.sd, calculator.sd)) {
        found.push_back((matched ? "an SD of the difference scores of " : "an SD of ") +
                        readableText(calculator.sd) + " (here " + shownText(here.sd) + ")");
    }
    if (!calculator.n1.empty() && !sameNumber(here.n1, calculator.n1)) {
        found.push_back(
            (matched ? calculator.n1 + " pairs" : "a group 1 size of " + calculator.n1) +
            " (here " + shownText(here.n1) + ")");
    }
    if (!matched && !calculator.n2.empty() && !sameNumber(here.n2, calculator.n2)) {
        found.push_back("a group 2 size of " + readableText(calculator.n2) + " (here " +
                        shownText(here.n2) + ")");
    }
    if (!matched && !calculator.n1.empty() && !calculator.n2.empty() &&
        !sameNumber(here.ratio, calculator.ratio)) {
        found.push_back("an allocation ratio of " + readableText(calculator.ratio) + " (here " +
                        shownText(here.ratio) + ")");
    }
    return found;
}

}  // namespace

PlanForm startingForm(const MainWindowTexts& t) {
    PlanForm form;
    form.design = t.matched ? plan::Design::matched : plan::Design::independent;
    form.bound = textOf(numberIn(t.notTrivial));
    form.sd = textOf(t.matched ? numberIn(t.sdMatched) : commonSd(t));
    const std::optional<double> n1 = numberIn(t.n1), n2 = numberIn(t.n2);
    form.n1 = textOf(n1);
    form.n2 = t.matched ? "" : textOf(n2);
    // An unequal design is planned in the same proportion.
    if (!t.matched && sizeIn(t.n1) && sizeIn(t.n2)) form.ratio = numberToText(*n2 / *n1);
    return form;
}

PlanForm withCalculatorNumbers(const PlanForm& here, const PlanForm& calculator) {
    PlanForm taken = here;
    taken.design = calculator.design;
    taken.ratioScale = false;  // the calculator tests the difference of two means
    if (!calculator.bound.empty()) {
        taken.symmetric = true;
        taken.sdUnits = false;
        taken.bound = calculator.bound;
    }
    if (!calculator.sd.empty()) taken.sd = calculator.sd;
    if (!calculator.n1.empty()) taken.n1 = calculator.n1;
    if (calculator.design == plan::Design::independent && !calculator.n2.empty()) {
        taken.n2 = calculator.n2;
        if (!calculator.n1.empty()) taken.ratio = calculator.ratio;
    }
    return taken;
}

bool differsFromCalculator(const PlanForm& here, const PlanForm& calculator) {
    return here.ratioScale || !differences(here, calculator).empty();
}

std::string calculatorLine(const PlanForm& here, const PlanForm& calculator) {
    if (here.ratioScale) {
        return "The calculator tests the difference of two means; its numbers plan that, not "
               "the ratio.";
    }
    const std::vector<std::string> found = differences(here, calculator);
    if (!found.empty()) return "The calculator holds other numbers: " + listed(found) + ".";
    // Named with their values: a box the calculator's key filter let go
    // wrong (30 typed over a selection it kept) shows here before it is planned.
    const bool matched = calculator.design == plan::Design::matched;
    std::vector<std::string> held;
    if (!calculator.bound.empty()) held.push_back("a bound of " + readableText(calculator.bound));
    if (!calculator.sd.empty()) {
        held.push_back((matched ? "an SD of the difference scores of " : "an SD of ") +
                       readableText(calculator.sd));
    }
    if (!calculator.n1.empty()) {
        held.push_back(matched ? calculator.n1 + " pairs"
                       : calculator.n2.empty()
                           ? "a group 1 size of " + calculator.n1
                           : "group sizes of " + calculator.n1 + " and " + calculator.n2);
    }
    return calculator_words::heldLine(held, "bound, SD or size to plan with");
}

}  // namespace tarnwick::planner
