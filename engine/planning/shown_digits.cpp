#include "shown_digits.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "shortest_text.h"

namespace tarnwick::plan {
namespace {

constexpr int boundDigits = 4;

// floor(value * scale), exactly: the product is rounded, the comparison is not.
double floorOfProduct(double value, double scale) {
    double whole = std::floor(value * scale);
    if (std::fma(-scale, value, whole) > 0) whole -= 1;  // the rounding carried it up
    return whole;
}

// The smallest whole m with m >= value * scale, exactly.
double ceilOfProduct(double value, double scale) {
    double whole = std::ceil(value * scale);
    if (std::fma(value, scale, -whole) > 0) whole += 1;
    if (std::fma(value, scale, -(whole - 1)) <= 0) whole -= 1;
    return whole;
}

// The whole number `units` divided by 10^decimals, written out.
std::string withDecimals(double units, int decimals) {
    char buffer[64];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, units, std::chars_format::fixed, 0).ptr;
    std::string digits(buffer, end);
    if (decimals <= 0) return digits + std::string(static_cast<std::size_t>(-decimals), '0');
    if (digits.size() <= static_cast<std::size_t>(decimals)) {
        digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
    }
    digits.insert(digits.size() - static_cast<std::size_t>(decimals), ".");
    return digits;
}

// The power cut at the place value 1 / scale; never the whole of 1.
std::string cutBelowOne(double power, double scale, int decimals) {
    const double units = std::min(floorOfProduct(power, scale), scale - 1);
    return withDecimals(units, decimals);
}

}  // namespace

std::string powerCut(double power, int decimals) {
    return cutBelowOne(power, std::pow(10.0, decimals), decimals);
}

std::string percentCut(double power, int decimals) {
    return cutBelowOne(power, std::pow(10.0, decimals + 2), decimals);
}

std::string boundRoundedOutward(double bound) {
    const int exponent = static_cast<int>(std::floor(std::log10(bound)));
    const int decimals = boundDigits - 1 - exponent;
    if (decimals > 22 || decimals < -15) return number_text::shortestText(bound);
    if (decimals < 0) {
        const double unit = std::pow(10.0, -decimals);
        double units = std::ceil(bound / unit);
        if (std::fma(units, unit, -bound) < 0) units += 1;
        if (std::fma(units - 1, unit, -bound) >= 0) units -= 1;
        return withDecimals(units, decimals);
    }
    const double units = ceilOfProduct(bound, std::pow(10.0, decimals));
    // 9.9991 goes up to 10.00, not 10.000: still 4 significant digits.
    if (decimals > 0 && units >= std::pow(10.0, boundDigits))
        return withDecimals(units / 10, decimals - 1);
    return withDecimals(units, decimals);
}

double boundRoundedOutwardValue(double bound) {
    const std::string text = boundRoundedOutward(bound);
    double value = bound;
    std::from_chars(text.data(), text.data() + text.size(), value);
    // Reading rounds to the nearest double, which cannot fall below a double
    // the decimal text is at or above.
    return value;
}

}  // namespace tarnwick::plan
