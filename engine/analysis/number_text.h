#pragma once
// Numbers travel between the analysis and the window as box texts. These are
// the only conversions between the two, and they use "." as the decimal mark
// whatever the user's locale: the input boxes let nothing else be typed.

#include <string>
#include <string_view>

namespace tarnwick {

// Optional spaces around an optional sign, digits with at most one ".", at
// least one digit, and an optional exponent (e or E, optional sign, digits).
// Throws RunTimeError 13 for anything else (the empty text included) and 6 for
// a number beyond the range of a double; one too small to tell from zero reads
// as zero.
double textToNumber(std::string_view text);

// At most 15 significant digits without trailing zeros; plain decimals from
// 0.00001 up to below 1e15 ("0.5", "18", "-2.23607"), an exponent form outside
// that range ("1E+15", "1.5E-06"); a negative zero is written "0".
std::string numberToText(double value);

// The exact binary value rounded at the fifth decimal, exact halves to the even
// neighbour, then written by numberToText: what a result box shows.
std::string shownValue(double value);

}  // namespace tarnwick
