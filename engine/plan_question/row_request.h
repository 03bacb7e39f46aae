#pragma once
// A planning question read from the texts of a table row (or of a program's
// options, which make a one-row table): every value in its column, words
// for the choices, numbers as written in a table.

#include <array>
#include <string>

#include "plan_columns.h"
#include "plan_question.h"

namespace tarnwick::planner {

// The texts of a row, one for each input column; an empty text, like an
// absent column, means "not given".
using RowTexts = std::array<std::string, inputColumnCount>;

// Reads the question; throws RequestError with one sentence naming the
// column at fault. Numbers are read with "." as the decimal mark, an optional
// exponent, and nothing else in the field (no spaces); they must be finite.
// A value the question does not use is refused, not ignored.
Request readRequest(const RowTexts& texts);

}  // namespace tarnwick::planner
