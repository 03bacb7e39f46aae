#pragma once
// The settings of a test as a person types them: alpha and the bounds in a
// box, an option or a table's cell, and the words of a table's columns
// (design, df, standard_error, bound_units, hypothesis). One reader for the
// windows and the programs, so that a text means the same everywhere and is
// refused in the same sentence with the same number (test_settings.h).
//
// The rule for a number: spaces and tabs at either end are ignored; then an
// optional "+" or "-", digits with at most one decimal mark (at least one
// digit), and an optional exponent (e or E, an optional sign, digits).
// Nothing else: no thousands separators, no "inf" or "nan", no hex. A number
// beyond the range of a double is refused; one too small to tell from zero
// reads as zero (and is then judged as zero: alpha 1e-400 is not above 0).
// A text that is blank after the trimming is a setting not given.

#include <optional>
#include <string_view>

#include "design.h"
#include "test_settings.h"

namespace tarnwick::settings {

// Which bound a text is: one of a pair, or the symmetric bound E that means
// -E and +E (and must therefore be above 0).
enum class BoundName { lower, upper, symmetric };

// The number the text holds by the rule above, or nullopt when it holds
// none (blank texts included). `decimalMark` is "." or a table's ",".
std::optional<double> numberFromText(std::string_view text, char decimalMark = '.');

// Alpha as typed: nullopt when blank; throws SettingsError error::alphaText
// when it is not a number, error::alpha when it is not above 0 and below 0.5.
std::optional<double> readAlpha(std::string_view text, char decimalMark = '.');

// One bound as typed: nullopt when blank; throws error::boundText when it is
// not a finite number, error::boundNotPositive for a symmetric bound not
// above 0. The sentence names the bound.
std::optional<double> readBound(std::string_view text, BoundName which, char decimalMark = '.');

// The lower and upper bound as typed: nullopt when both are blank; throws
// check()'s errors when the lower does not lie below the upper (or, on the
// ratio scale, a bound is not above 0). On the difference scale one bound
// without the other throws error::boundMissing; on the ratio scale the
// missing one is the reciprocal of the one given (0.8 alone is 0.8 and 1.25,
// the usual symmetric ratio bounds), so a lone bound above 1 given as the
// lower one is refused as out of order.
std::optional<Bounds> readBounds(std::string_view lower, std::string_view upper,
                                 char decimalMark = '.', Scale scale = Scale::difference);

// The words of a table's columns and of the programs' options; a blank text
// is the first choice named. Anything else throws error::unknownWord with a
// sentence that names the column and its choices. The words are matched as
// written (lower case, no spaces), as the column names are.
Design readDesign(std::string_view text);                // independent | matched
StandardError readDf(std::string_view text);             // student | welch (the calculator's df)
StandardError readStandardError(std::string_view text);  // pooled | welch
BoundUnits readBoundUnits(std::string_view text);        // raw | d
// equivalence | minimal_effect | non_inferiority | non_superiority | superiority
Hypothesis readHypothesis(std::string_view text);
Better readBetter(std::string_view text);  // higher | lower
Scale readScale(std::string_view text);    // difference | ratio

// A one-sided question's margin as typed: nullopt when blank; throws
// error::marginText when it is not a finite number. Its side is check()'s.
std::optional<double> readMargin(std::string_view text, char decimalMark = '.');

}  // namespace tarnwick::settings
