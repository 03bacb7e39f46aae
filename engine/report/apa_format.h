#pragma once
// Numbers as a manuscript in APA style writes them: a "." decimal mark in every
// locale, an ASCII hyphen-minus, no leading zero for p, "p < .001".

#include <initializer_list>
#include <string>

namespace tarnwick::report::apa {

// Fixed notation with the given decimals; a value that rounds to zero is
// written without a minus sign.
std::string fixed(double value, int decimals);

// Magnitudes from this on are written in scientific notation: a reader cannot
// take in a row of digits longer than this.
inline constexpr double scientificFrom = 1e6;

// fixed() below scientificFrom in magnitude, scientific notation from there on
// ("-1.12e+309"), with the given decimals in the mantissa.
std::string number(double value, int decimals);

// The decimals, at least `decimals`, that number() needs so that the value is
// not written as one of the thresholds it differs from: "2.999" rather than
// "3.00" beside a bound of 3, where "3.00" would put it on the bound. Where no
// count up to 17 tells them apart, 17.
int decimalsApartFrom(double value, int decimals, std::initializer_list<double> thresholds);

// The fewest decimals, at least `decimals` and at most 8, that write the value
// exactly (a bound as entered: 0.125 stays 0.125).
int decimalsForExact(double value, int decimals);

// The fewest decimals, at least `decimals`, with which number() writes the
// value exactly or with `significant` significant digits, whichever comes
// first, and without zeros at the end beyond `decimals`: one rule for a
// number a sentence shows. With (2, 4): 1.5 gives 2 ("1.50"), 0.125 gives 3,
// 2.1023804 gives 3 ("2.102"), 0.30000000000000004 gives 2 ("0.30"),
// 0.00012345 gives 7.
int decimalsToSignificant(double value, int decimals, int significant);

// The level p values are judged against.
inline constexpr double significanceLevel = 0.05;

// "p = .019", "p < .001", "p > .999". A p value that rounds to the level it
// is judged against but is not that level gets the digits that show on which
// side of it it lies: "p = .049998".
std::string pValue(double p, double level = significanceLevel);

// Alpha as APA writes a level: ".05", ".025", ".001"; the shortest decimals
// that read back to it.
std::string level(double alpha);

// A confidence level in percent with the fewest decimals up to 4: "90",
// "95", "99.8".
std::string percent(double confidence);

// Whole degrees of freedom as an integer, fractional ones to 2 decimals;
// scientific from scientificFrom on.
std::string degreesOfFreedom(double df);

// Decimals for values in raw units whose uncertainty is about `scale` (a
// standard error): 2, or more when the scale is small, so that an interval
// never collapses to equal ends; at most 8.
int rawDecimals(double scale);

// A number to be read on screen beside others, never typed back: 8
// significant digits, or one decimal beyond a longer whole-number part (up to
// 15 significant digits), trailing zeros dropped ("2.5819889", "0.2",
// "100000000.2"); plain decimals from 1e-6 to below 1e15 in magnitude,
// scientific notation outside ("1.1547005e+308", "1e-320"). Zero of either
// sign is "0".
std::string readable(double value);

}  // namespace tarnwick::report::apa
