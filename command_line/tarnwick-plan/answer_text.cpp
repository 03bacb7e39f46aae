#include "answer_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "shortest_text.h"

namespace tarnwick::planner {
namespace {

using table_io::shortestText;

constexpr int boundDigits = 4;  // significant digits of a found bound

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

std::string sizeText(long size) { return std::to_string(size); }

bool isMatched(const Request& request) { return request.study.design == plan::Design::matched; }

std::string numberText(double value) { return shortestText(value); }

std::string percentText(double proportion) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.10g%%", proportion * 100);
    return buffer;
}

std::string sizesPhrase(const Request& request, const Answer& answer) {
    const plan::Sizes& sizes = answer.sizes;
    if (isMatched(request)) return sizeText(sizes.n1) + " pairs";
    const std::string total = " (" + sizeText(totalSize(answer)) + " in all)";
    if (sizes.n1 == sizes.n2) return sizeText(sizes.n1) + " per group" + total;
    return sizeText(sizes.n1) + " in group 1 and " + sizeText(sizes.n2) + " in group 2" + total;
}

std::string powerPhrase(double power, Digits digits) {
    if (digits == Digits::full) return "a power of " + shortestText(power);
    const double tenths = floorOfProduct(power, 1000);
    if (tenths == 0 && power > 0) return "under 0.1% power";
    return withDecimals(tenths, 1) + "% power";
}

std::string boundText(double bound, bool found, Digits digits) {
    return found && digits == Digits::shown ? boundRoundedOutward(bound) : numberText(bound);
}

std::string boundsPhrase(const Answer& answer, bool found, Digits digits) {
    if (answer.lower == -answer.upper) return "±" + boundText(answer.upper, found, digits);
    const auto text = [&](double bound) {
        return bound < 0 ? "-" + boundText(-bound, found, digits) : boundText(bound, found, digits);
    };
    return text(answer.lower) + " and " + text(answer.upper);
}

}  // namespace

std::string powerCutAtFourDecimals(double power) {
    return withDecimals(floorOfProduct(power, 10000), 4);
}

std::string boundRoundedOutward(double bound) {
    const int exponent = static_cast<int>(std::floor(std::log10(bound)));
    const int decimals = boundDigits - 1 - exponent;
    // Bounds beyond these are no planning question; their shortest text will do.
    if (decimals > 22 || decimals < -15) return shortestText(bound);
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

std::array<std::string, 6> answerFields(const Request& request, const Answer& answer,
                                        Digits digits) {
    const bool found = request.question == Question::bound;
    const auto bound = [&](double value) {
        if (!found || digits == Digits::full) return numberText(value);
        return value < 0 ? "-" + boundRoundedOutward(-value) : boundRoundedOutward(value);
    };
    return {
        sizeText(answer.sizes.n1),
        isMatched(request) ? std::string() : sizeText(answer.sizes.n2),
        sizeText(totalSize(answer)),
        digits == Digits::full ? shortestText(answer.power) : powerCutAtFourDecimals(answer.power),
        bound(answer.lower),
        bound(answer.upper),
    };
}

std::string answerSentence(const Request& request, const Answer& answer, Digits digits) {
    const std::string sizes = sizesPhrase(request, answer);
    const std::string power = powerPhrase(answer.power, digits);
    switch (request.question) {
        case Question::size:
            return sizes + ", the fewest reaching " + percentText(request.targetPower) +
                   " power, give " + power + " to show equivalence within " +
                   boundsPhrase(answer, false, digits) + ".";
        case Question::power:
            return sizes + " give " + power + " to show equivalence within " +
                   boundsPhrase(answer, false, digits) + ".";
        case Question::bound:
            return sizes + " give " + power + " to show equivalence within " +
                   boundsPhrase(answer, true, digits) +
                   ", the narrowest symmetric bounds reaching " + percentText(request.targetPower) +
                   " power.";
    }
    return {};
}

}  // namespace tarnwick::planner
