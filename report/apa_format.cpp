// std::to_chars ignores the locale, unlike printf and streams, so a German
// desktop still gets "0.50" and not "0,50".

#include "apa_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tarnwick::report::apa {

std::string fixed(double value, int decimals) {
    char buffer[400];  // the longest finite double in fixed notation, with 8 decimals
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    std::string text(buffer, error == std::errc{} ? end : buffer);
    if (text.starts_with('-') && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);
    return text;
}

std::string pValue(double p) {
    if (p < 0.001) return "p < .001";
    const std::string text = fixed(p, 3);
    if (text == "1.000") return "p > .999";
    return "p = " + text.substr(1);  // "0.019" without its leading zero
}

std::string degreesOfFreedom(double df) {
    if (std::floor(df) == df && std::fabs(df) < 1e15) return fixed(df, 0);
    return fixed(df, 2);
}

int rawDecimals(double scale) {
    if (!(scale > 0) || !std::isfinite(scale)) return 2;
    const int decimals = 1 - static_cast<int>(std::floor(std::log10(scale)));
    return std::clamp(decimals, 2, 8);
}

}  // namespace tarnwick::report::apa
