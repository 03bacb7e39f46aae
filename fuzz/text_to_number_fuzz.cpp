// Any text either reads as a finite number that survives being written and read
// again, or fails with the type-mismatch or overflow error; nothing else.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

#include "number_text.h"
#include "run_time_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    double value = 0;
    try {
        value = tarnwick::textToNumber(text);
    } catch (const tarnwick::RunTimeError& error) {
        if (error.kind() != tarnwick::ErrorNumber::typeMismatch &&
            error.kind() != tarnwick::ErrorNumber::overflow) {
            std::abort();
        }
        return 0;
    }
    if (!std::isfinite(value)) std::abort();

    // What a result box shows must read back as a number within half a unit of
    // the fifth decimal (or of the fifteenth significant digit), give or take
    // the rounding of the decimal text back to binary.
    const std::string shown = tarnwick::shownValue(value);
    const double back = tarnwick::textToNumber(shown);
    const double binaryRounding = 4 * std::fabs(value) * std::numeric_limits<double>::epsilon();
    const double tolerance = std::max(0.5e-5 + binaryRounding, std::fabs(value) * 1e-14);
    if (std::fabs(back - value) > tolerance) std::abort();
    const std::string written = tarnwick::numberToText(value);
    if (std::fabs(tarnwick::textToNumber(written) - value) > std::fabs(value) * 1e-14) std::abort();
    return 0;
}
