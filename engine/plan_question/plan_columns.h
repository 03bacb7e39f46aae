#pragma once
// The planner's table: the columns it reads and the columns it adds.

#include <array>
#include <string_view>

namespace tarnwick::planner {

// The columns a row of the input may fill, in the order they are listed in
// help texts and in a table made from the command line's options.
enum class InputColumn {
    solve,
    design,
    alpha,
    bound,
    lower,
    upper,
    difference,
    sd,
    power,
    ratio,
    n1,
    n2,
    hypothesis,
    margin,
    better,
    bound_units,
    // The ratio scale and the bioequivalence designs.
    scale,
    cv,
    ratio0,
    sizes,
    n,
    estimate,
    ci_lower,
    ci_upper,
};
inline constexpr std::size_t inputColumnCount = 24;
inline constexpr std::array<std::string_view, inputColumnCount> inputColumnNames = {
    "solve", "design", "alpha",  "bound", "lower",      "upper",    "difference", "sd",
    "power", "ratio",  "n1",     "n2",    "hypothesis", "margin",   "better",     "bound_units",
    "scale", "cv",     "ratio0", "sizes", "n",          "estimate", "ci_lower",   "ci_upper",
};

// The columns of the one-sided questions: a table (or a case) that names one
// of them gets the answer column p too (the one-sided test's p value, for
// solve ci), and one that names none is written as it always was.
inline constexpr std::array<InputColumn, 2> oneSidedInputColumns = {InputColumn::margin,
                                                                    InputColumn::better};
inline constexpr std::string_view oneSidedAnswerColumnName = "p";

// The columns of the ratio scale and the bioequivalence designs: a table (or
// a case) that names one of them gets the answer columns of those questions
// too, and one that names none is written as it always was.
inline constexpr std::array<InputColumn, 8> ratioInputColumns = {
    InputColumn::scale, InputColumn::cv,       InputColumn::ratio0,   InputColumn::sizes,
    InputColumn::n,     InputColumn::estimate, InputColumn::ci_lower, InputColumn::ci_upper,
};

constexpr std::string_view nameOf(InputColumn column) {
    return inputColumnNames[static_cast<std::size_t>(column)];
}

constexpr bool isInputColumn(std::string_view name) {
    for (std::string_view column : inputColumnNames) {
        if (column == name) return true;
    }
    return false;
}

// Without these a table cannot be planned at all: every row needs them.
inline constexpr std::array<InputColumn, 2> requiredColumns = {InputColumn::solve, InputColumn::sd};

// The columns written after the input's own, in this order.
inline constexpr std::array<std::string_view, 7> answerColumnNames = {
    "plan_n1", "plan_n2", "plan_total", "plan_power", "plan_lower", "plan_upper", "message",
};

// With the ratio scale's columns, these come before message: the sizes per
// sequence, the interval and its two one-sided p values and conclusion
// (solve ci), and the CV (solve cv).
inline constexpr std::array<std::string_view, 7> ratioAnswerColumnNames = {
    "plan_sizes",   "plan_ci_low",     "plan_ci_high", "plan_p_lower",
    "plan_p_upper", "plan_conclusion", "plan_cv",
};

constexpr bool isAnswerColumn(std::string_view name) {
    for (std::string_view column : answerColumnNames)
        if (column == name) return true;
    for (std::string_view column : ratioAnswerColumnNames)
        if (column == name) return true;
    return false;
}

}  // namespace tarnwick::planner
