#pragma once
// Guesses about a table that nobody told us about: which character separates
// its fields, whether its numbers use a decimal comma, and whether its first
// row names the columns.

#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::data {

// Tab, semicolon or comma, judged from the first lines: the candidate found on
// every line the same number of times wins, tab before semicolon before comma
// (a spreadsheet's copy is tab-separated, and a semicolon table may hold
// decimal commas). A comma when none of them is found: one column.
char detectDelimiter(std::string_view text);

// "," when the fields are not separated by commas, some cell reads as a number
// with a decimal comma, and none as a number with a decimal point; else ".".
char detectDecimalMark(const std::vector<std::vector<std::string>>& rows, char delimiter);

// True when some cell of the row reads as a number with this decimal mark:
// such a row is data, never a header, so that a stray word beside a number is
// reported as a bad cell rather than taken for a column's name.
bool holdsANumber(const std::vector<std::string>& row, char decimalMark);

// True when the first row holds no number, and some column holds a name in
// the first row and more numbers than other text below it. A table of one
// row has no header.
bool looksLikeHeader(const std::vector<std::vector<std::string>>& rows, char decimalMark);

}  // namespace tarnwick::data
