#pragma once
// Numbers written with a decimal comma ("1,5"), as spreadsheets in many
// locales save them. They are read only when the user asks: a comma may
// equally be a thousands separator, so it is never guessed.

#include <string>
#include <string_view>

namespace tarnwick::table_io {

// True when a comma stands between two digits.
bool hasDecimalComma(std::string_view text);

// The text with every comma a point, in `out` (kept to save allocations).
void withDecimalPoints(std::string_view text, std::string& out);

}  // namespace tarnwick::table_io
