#include "fixed_text.h"

#include <algorithm>
#include <charconv>

namespace tarnwick::number_text {

std::string fixedText(double value, int decimals) {
    // The largest double has 309 digits before the point.
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::fixed, std::clamp(decimals, 0, 80));
    return std::string(buffer, result.ptr);
}

}  // namespace tarnwick::number_text
