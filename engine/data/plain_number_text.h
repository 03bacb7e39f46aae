#pragma once
// A double as the shortest plain decimal that reads back to the same double:
// "0.00001" rather than "1e-05", "120000000000000000000" rather than "1.2e+20".
// The calculator's boxes take only what can be typed into them, and an
// exponent cannot be.

#include <string>

namespace tarnwick::data {

// Finite values only. A negative zero is written "0".
std::string plainNumberText(double value);

}  // namespace tarnwick::data
