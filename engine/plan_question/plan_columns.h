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
    bound_units,
};
inline constexpr std::size_t inputColumnCount = 14;
inline constexpr std::array<std::string_view, inputColumnCount> inputColumnNames = {
    "solve", "design", "alpha", "bound", "lower", "upper",      "difference",
    "sd",    "power",  "ratio", "n1",    "n2",    "hypothesis", "bound_units",
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

}  // namespace tarnwick::planner
