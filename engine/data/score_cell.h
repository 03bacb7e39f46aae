#pragma once
// One cell of a score column: a number, a missing value, or something else.
// Read with std::from_chars, so the C locale plays no part: the decimal mark
// is the table's, "." or ",".

#include <string>
#include <string_view>

namespace tarnwick::data {

enum class CellKind { number, missing, notANumber, tooLarge };

struct ScoreCell {
    CellKind kind = CellKind::missing;
    double value = 0;
};

// Spaces around the text are ignored. Missing: empty, "NA", "." or "NaN" (any
// case). A number: an optional sign, digits with at most one decimal mark and
// an optional exponent, finite in a double. Anything else, "inf" and
// thousands separators included, is notANumber.
ScoreCell readScoreCell(std::string_view text, char decimalMark = '.');

// The text without spaces and tabs at either end.
std::string_view trimmed(std::string_view text);

}  // namespace tarnwick::data
