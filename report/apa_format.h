#pragma once
// Numbers as a manuscript in APA style writes them: a "." decimal mark in every
// locale, an ASCII hyphen-minus, no leading zero for p, "p < .001".

#include <string>

namespace tarnwick::report::apa {

// Fixed notation with the given decimals; a value that rounds to zero is
// written without a minus sign.
std::string fixed(double value, int decimals);

// "p = .019", "p < .001", "p > .999".
std::string pValue(double p);

// Whole degrees of freedom as an integer, fractional ones to 2 decimals.
std::string degreesOfFreedom(double df);

// Decimals for values in raw units whose uncertainty is about `scale` (a
// standard error): 2, or more when the scale is small, so that an interval
// never collapses to equal ends; at most 8.
int rawDecimals(double scale);

}  // namespace tarnwick::report::apa
