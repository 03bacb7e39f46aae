#pragma once
// A field of somebody's table as a message shows it. The field is theirs and
// may hold anything: a message must stay one readable line on a terminal or
// in a message box, and must not grow with the input, so a field is escaped
// and cut before it is quoted.

#include <cstddef>
#include <string>
#include <string_view>

namespace tarnwick::table_io {

// How many characters of a field a message shows before it cuts the field.
inline constexpr std::size_t shownFieldCharacters = 40;

// The field in double quotes. Control characters (C0, DEL, C1) are written as
// escapes: \n, \r, \t, and \xNN (\u00NN for C1) for the rest, so a NUL byte
// becomes \x00. A field of more than shownFieldCharacters characters is cut
// at a character's boundary, and its whole length follows the quotes:
// "xxx..." (1048576 characters). Bytes that are not UTF-8 are escaped as \xNN.
std::string quotedField(std::string_view field);

// "1 field", "2 fields": a count with the noun it counts, in the plural when
// the count is not 1. `plural` defaults to the singular with an "s".
std::string countOf(std::size_t count, std::string_view singular, std::string_view plural = {});

}  // namespace tarnwick::table_io
