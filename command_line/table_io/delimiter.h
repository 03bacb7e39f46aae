#pragma once
// The field delimiter of a table, chosen from its header line: spreadsheets
// in many locales save semicolon-separated files, and some programs tabs.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::table_io {

// ',' unless none of the line's comma-separated names is known and the line
// splits cleanly (as well-formed CSV) on ';' or on a tab into names of which
// at least one is known; ';' is tried before a tab.
char detectDelimiter(std::string_view headerLine,
                     const std::function<bool(std::string_view)>& isKnown);

// The names of a header line split on `delimiter`, or nothing when the line
// is not well-formed with that delimiter.
std::optional<std::vector<std::string>> splitHeader(std::string_view headerLine, char delimiter);

}  // namespace tarnwick::table_io
