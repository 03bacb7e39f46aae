// std::to_chars ignores the locale, unlike printf and streams, so a German
// desktop still gets "0.50" and not "0,50"; std::from_chars reads back the
// same way.

#include "apa_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tarnwick::report::apa {
namespace {

constexpr int mostDecimals = 17;

std::string written(double value, int decimals, std::chars_format format) {
    char buffer[400];  // the longest finite double in fixed notation, with 17 decimals
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, format, decimals);
    std::string text(buffer, error == std::errc{} ? end : buffer);
    if (text.starts_with('-') && text.find_first_not_of("-0.e+") == std::string::npos)
        text.erase(0, 1);
    return text;
}

double readBack(const std::string& text) {
    double value = NAN;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

}  // namespace

std::string fixed(double value, int decimals) {
    return written(value, decimals, std::chars_format::fixed);
}

std::string number(double value, int decimals) {
    const bool scientific = std::isfinite(value) && std::fabs(value) >= scientificFrom;
    return written(value, decimals,
                   scientific ? std::chars_format::scientific : std::chars_format::fixed);
}

int decimalsApartFrom(double value, int decimals, std::initializer_list<double> thresholds) {
    for (int d = decimals; d < mostDecimals; ++d) {
        const std::string text = number(value, d);
        const bool onAThreshold = std::any_of(thresholds.begin(), thresholds.end(), [&](double t) {
            return t != value && number(t, d) == text;
        });
        if (!onAThreshold) return d;
    }
    return std::max(decimals, mostDecimals);
}

int decimalsForExact(double value, int decimals) {
    constexpr int most = 8;
    for (int d = decimals; d < most; ++d) {
        if (readBack(number(value, d)) == value) return d;
    }
    return std::max(decimals, most);
}

namespace {

// The digits from the first nonzero one, the exponent left out.
int significantDigits(const std::string& text) {
    int digits = 0;
    bool started = false;
    for (const char c : text.substr(0, text.find('e'))) {
        if (c < '0' || c > '9') continue;
        started = started || c != '0';
        if (started) ++digits;
    }
    return digits;
}

bool endsInZero(const std::string& text) {
    const std::string mantissa = text.substr(0, text.find('e'));
    return !mantissa.empty() && mantissa.back() == '0';
}

}  // namespace

int decimalsToSignificant(double value, int decimals, int significant) {
    if (!std::isfinite(value)) return decimals;
    for (int d = decimals; d < mostDecimals; ++d) {
        const std::string text = number(value, d);
        if (readBack(text) == value) return d;
        if (significantDigits(text) >= significant) {
            // 0.30000000000000004 is "0.30", not "0.3000".
            while (d > decimals && endsInZero(number(value, d)))
                --d;
            return d;
        }
    }
    return std::max(decimals, mostDecimals);
}

std::string pValue(double p, double level) {
    if (p < 0.001) return "p < .001";
    const std::string text = fixed(p, decimalsApartFrom(p, 3, {level}));
    if (text == "1.000") return "p > .999";
    return "p = " + text.substr(1);  // "0.019" without its leading zero
}

std::string level(double alpha) {
    std::string text = fixed(alpha, decimalsForExact(alpha, 1));
    if (text.starts_with("0.")) text.erase(0, 1);
    return text;
}

std::string percent(double confidence) {
    const double value = 100 * confidence;
    for (int d = 0; d < 4; ++d) {
        if (std::fabs(readBack(fixed(value, d)) - value) < 1e-9) return fixed(value, d);
    }
    return fixed(value, 4);
}

std::string degreesOfFreedom(double df) {
    if (std::floor(df) == df && std::fabs(df) < scientificFrom) return fixed(df, 0);
    return number(df, 2);
}

int rawDecimals(double scale) {
    if (!(scale > 0) || !std::isfinite(scale)) return 2;
    const int decimals = 1 - static_cast<int>(std::floor(std::log10(scale)));
    return std::clamp(decimals, 2, 8);
}

std::string readable(double value) {
    if (value == 0) return "0";
    if (!std::isfinite(value)) return written(value, 0, std::chars_format::general);
    constexpr int fewestDigits = 8, mostDigits = 15;
    const double magnitude = std::fabs(value);
    const auto withoutTrailingZeros = [](std::string text) {
        const std::size_t exponent = std::min(text.find('e'), text.size());
        std::size_t end = exponent;
        if (text.find('.') < exponent) {
            while (text[end - 1] == '0')
                --end;
            if (text[end - 1] == '.') --end;
        }
        return text.erase(end, exponent - end);
    };
    if (magnitude < 1e-6 || magnitude >= 1e15) {
        // A subnormal double has few digits of its own: 1e-320 is stored as
        // 9.99988671826831e-321, which its shortest form writes back.
        char buffer[32];
        const auto end =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific).ptr;
        const std::string shortest(buffer, end);
        const std::size_t mantissa = shortest.find('e') - (value < 0 ? 1 : 0);
        if (mantissa <= static_cast<std::size_t>(fewestDigits) + 1) return shortest;
        return withoutTrailingZeros(
            written(value, fewestDigits - 1, std::chars_format::scientific));
    }
    const int leadingPower = static_cast<int>(std::floor(std::log10(magnitude)));
    const int wholeDigits = std::max(0, leadingPower + 1);
    const int digits = std::clamp(wholeDigits + 1, fewestDigits, mostDigits);
    const int decimals = std::max(0, digits - 1 - leadingPower);
    return withoutTrailingZeros(fixed(value, decimals));
}

}  // namespace tarnwick::report::apa
