#include "plain_number_text.h"

#include <charconv>

#include "shortest_text.h"

namespace tarnwick::data {

std::string plainNumberText(double value) {
    if (value == 0) return "0";
    std::string text = table_io::shortestText(value);
    if (text.find('e') == std::string::npos) return text;
    // The shortest fixed form of the largest double has 309 digits; of the
    // smallest, 2 + 323 + 17 characters.
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return std::string(buffer, result.ptr);
}

}  // namespace tarnwick::data
