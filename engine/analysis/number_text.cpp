#include "number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "run_time_error.h"

namespace tarnwick {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimSpaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// The decimal exponent of the first significant digit of a well-formed number
// text without its sign ("0.00123" gives -3, "456e2" gives 4). It tells an
// overflow from an underflow when the conversion reports a range error.
long leadingDigitExponent(std::string_view text) {
    long integerDigits = 0;
    long digitIndex = 0;
    long firstSignificant = -1;
    bool beforePoint = true;
    std::size_t i = 0;
    for (; i < text.size() && (isDigit(text[i]) || text[i] == '.'); ++i) {
        if (text[i] == '.') {
            beforePoint = false;
            continue;
        }
        if (beforePoint) ++integerDigits;
        if (firstSignificant < 0 && text[i] != '0') firstSignificant = digitIndex;
        ++digitIndex;
    }
    long exponent = 0;
    if (i < text.size()) {  // "e", an optional sign, digits; saturated so it cannot overflow
        ++i;
        const bool negativeExponent = text[i] == '-';
        if (text[i] == '+' || text[i] == '-') ++i;
        for (; i < text.size(); ++i)
            exponent = std::min(exponent * 10 + (text[i] - '0'), 1000000000L);
        if (negativeExponent) exponent = -exponent;
    }
    return integerDigits - 1 - firstSignificant + exponent;
}

bool matchesNumberGrammar(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t mantissaDigits = 0;
    while (i < s.size() && isDigit(s[i]))
        ++i, ++mantissaDigits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i]))
            ++i, ++mantissaDigits;
    }
    if (mantissaDigits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        std::size_t exponentDigits = 0;
        while (i < s.size() && isDigit(s[i]))
            ++i, ++exponentDigits;
        if (exponentDigits == 0) return false;
    }
    return i == s.size();
}

}  // namespace

double textToNumber(std::string_view text) {
    std::string_view s = trimSpaces(text);
    if (!matchesNumberGrammar(s)) throw RunTimeError(ErrorNumber::typeMismatch);

    const bool negative = s.front() == '-';
    if (s.front() == '+' || s.front() == '-') s.remove_prefix(1);

    double magnitude = 0.0;
    const auto [end, error] =
        std::from_chars(s.data(), s.data() + s.size(), magnitude, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        if (leadingDigitExponent(s) > 0) throw RunTimeError(ErrorNumber::overflow);
        magnitude = 0.0;
    } else if (error != std::errc{} || end != s.data() + s.size()) {
        throw RunTimeError(ErrorNumber::typeMismatch);
    }
    if (std::isinf(magnitude)) throw RunTimeError(ErrorNumber::overflow);
    return negative ? -magnitude : magnitude;
}

std::string numberToText(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
    if (value == 0.0) return "0";

    // 15 significant digits, rounded once: "d.dddddddddddddde[+-]x".
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::scientific, 14);
    const std::string_view scientific(buffer.data(), result.ptr - buffer.data());
    const bool negative = scientific.front() == '-';
    const std::size_t e = scientific.find('e');
    std::string digits;
    for (char c : scientific.substr(0, e))
        if (isDigit(c)) digits += c;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    std::string_view exponentText = scientific.substr(e + 1);
    if (exponentText.front() == '+') exponentText.remove_prefix(1);
    int exponent = 0;
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);

    std::string text = negative ? "-" : "";
    if (exponent >= -5 && exponent < 15) {
        if (exponent < 0) {
            text += "0.";
            text.append(static_cast<std::size_t>(-exponent - 1), '0');
            text += digits;
        } else {
            const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
            if (digits.size() <= integerDigits) {
                text += digits;
                text.append(integerDigits - digits.size(), '0');
            } else {
                text += digits.substr(0, integerDigits);
                text += '.';
                text += digits.substr(integerDigits);
            }
        }
        return text;
    }
    text += digits.front();
    if (digits.size() > 1) {
        text += '.';
        text += digits.substr(1);
    }
    const int magnitude = std::abs(exponent);
    text += exponent < 0 ? "E-" : "E+";
    if (magnitude < 10) text += '0';
    text += std::to_string(magnitude);
    return text;
}

namespace {

constexpr int shownDecimals = 5;

// |value| * 10^5 rounded to a whole number, exact halves to the even one, for
// |value| * 10^5 below 2^52. The product is held exactly as p + e (e from a
// fused multiply-add), so the rounding sees the exact binary value, not the
// rounded product; e decides only when p sits exactly halfway between two
// whole numbers, which it can then push either way.
double scaledAndRounded(double magnitude) {
    const double p = magnitude * 1e5;
    const double e = std::fma(magnitude, 1e5, -p);
    const double n = std::nearbyint(p);  // to nearest, ties to even
    const double r = p - n;              // exact: n is within a half of p
    if (r == 0.5 && e > 0) return n + 1;
    if (r == -0.5 && e < 0) return n - 1;
    return n;
}

// The same rounding from the exact decimal expansion of the double (at most
// 1074 fraction digits, so the text is the value itself): slow, but right for
// any size.
double roundedByExpansion(double magnitude) {
    std::array<char, 1500> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                      std::chars_format::fixed, 1074);
    const std::string_view exact(buffer.data(), result.ptr - buffer.data());
    const std::size_t point = exact.find('.');

    // The digits kept, without the point: the rounding may carry through all of them.
    std::string kept(exact.substr(0, point));
    kept += exact.substr(point + 1, shownDecimals);
    const std::string_view rest = exact.substr(point + 1 + shownDecimals);

    bool roundUp = false;
    if (rest.front() > '5') {
        roundUp = true;
    } else if (rest.front() == '5') {
        const bool exactHalf = rest.find_first_not_of('0', 1) == std::string_view::npos;
        roundUp = !exactHalf || (kept.back() - '0') % 2 == 1;
    }
    if (roundUp) {
        std::size_t i = kept.size();
        while (i > 0 && kept[i - 1] == '9')
            kept[--i] = '0';
        if (i == 0) {
            kept = '1' + kept;
        } else {
            ++kept[i - 1];
        }
    }
    const std::size_t units = kept.size() - shownDecimals;
    const std::string roundedText = kept.substr(0, units) + '.' + kept.substr(units);

    double rounded = 0.0;
    std::from_chars(roundedText.data(), roundedText.data() + roundedText.size(), rounded);
    return rounded;
}

// The text numberToText writes for count / 10^5, built from the count itself.
// A count below 10^15 has at most 15 digits; the double nearest count / 10^5
// lies within 2^-53 of it relative, closer than half a unit in the 15th
// significant digit (at least 5e-16 relative), so numberToText's 15 digits give
// back that decimal exactly: the integer part, then the five decimals without
// their trailing zeros. No count here falls into the exponent form, which
// starts below 0.00001 and at 10^15. A zero is "0" whatever its sign.
std::string hundredThousandthsText(bool negative, std::uint64_t count) {
    if (count == 0) return "0";
    std::array<char, 24> buffer{};
    char* out = buffer.data();
    if (negative) *out++ = '-';
    out = std::to_chars(out, buffer.data() + buffer.size(), count / 100000).ptr;
    std::uint64_t fraction = count % 100000;
    if (fraction != 0) {
        std::array<char, shownDecimals> decimals{};
        for (auto digit = decimals.rbegin(); digit != decimals.rend(); ++digit, fraction /= 10)
            *digit = static_cast<char>('0' + fraction % 10);
        std::size_t kept = decimals.size();
        while (decimals[kept - 1] == '0')
            --kept;
        *out++ = '.';
        out = std::copy_n(decimals.data(), kept, out);
    }
    return std::string(buffer.data(), out);
}

}  // namespace

std::string shownValue(double value) {
    // From 2^52 on every double is a whole number, and beyond the range nothing rounds.
    if (!std::isfinite(value) || std::fabs(value) >= 4503599627370496.0) return numberToText(value);

    const double magnitude = std::fabs(value);
    // Below 2^52 / 10^5 the rounded count of hundred-thousandths is a whole
    // double, and dividing it by 10^5 (one correctly rounded division) gives
    // the double nearest the rounded decimal, as reading its text would.
    double rounded = 0;
    if (magnitude < 4503599627370496.0 / 1e5) {
        const double count = scaledAndRounded(magnitude);
        if (count < 1e15)
            return hundredThousandthsText(value < 0, static_cast<std::uint64_t>(count));
        rounded = count / 1e5;
    } else {
        rounded = roundedByExpansion(magnitude);
    }
    return numberToText(value < 0 ? -rounded : rounded);
}

}  // namespace tarnwick
