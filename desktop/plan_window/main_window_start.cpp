#include "main_window_start.h"

#include <cmath>
#include <optional>

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

}  // namespace tarnwick::planner
