#include "correlation.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "data_error.h"

namespace tarnwick::data {
namespace {

void requirePositive(double sd, const char* which) {
    if (!(sd > 0) || !std::isfinite(sd))
        throw DataError(DataErrorNumber::invalidSd,
                        std::string(which) + " must be a number greater than 0.");
}

}  // namespace

double sdOfDifferences(double sd1, double sd2, double r) {
    requirePositive(sd1, "SD 1");
    requirePositive(sd2, "SD 2");
    if (!(r >= -1 && r <= 1))
        throw DataError(DataErrorNumber::correlationOutOfRange,
                        "The correlation r must lie between -1 and 1.");
    // A power of two, so that scaling rounds nothing and SD1 - SD2 stays exact.
    int exponent = 0;
    std::frexp(std::max(sd1, sd2), &exponent);
    const double scale = std::ldexp(1.0, exponent);
    const double a = sd1 / scale, b = sd2 / scale;
    const double result = scale * std::sqrt((a - b) * (a - b) + 2 * (1 - r) * a * b);
    if (!(result > 0))
        throw DataError(DataErrorNumber::differencesHaveNoSpread,
                        "With r = 1 and equal SDs every difference is the same: the SD of the "
                        "differences is 0, and the test needs it above 0.");
    if (!std::isfinite(result))
        throw DataError(DataErrorNumber::numberTooLarge,
                        "The SD of the differences is too large for a double.");
    return result;
}

}  // namespace tarnwick::data
