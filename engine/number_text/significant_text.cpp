#include "significant_text.h"

#include <algorithm>
#include <charconv>

namespace tarnwick::number_text {

std::string significantText(double value, int digits) {
    if (value == 0) value = 0;  // no "-0"
    char buffer[40];            // 17 digits, a sign, a point and a four-character exponent fit
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::general, std::clamp(digits, 1, 17));
    return std::string(buffer, result.ptr);
}

}  // namespace tarnwick::number_text
