#include "shortest_text.h"

#include <charconv>

namespace tarnwick::number_text {

std::string shortestText(double value) {
    char buffer[32];  // the longest shortest form, "-2.2250738585072014e-308", fits
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

}  // namespace tarnwick::number_text
