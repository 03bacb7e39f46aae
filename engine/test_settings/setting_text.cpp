#include "setting_text.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

#include "quoted_field.h"

namespace tarnwick::settings {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The number as from_chars reads it ("." as the mark, no "+"), and the
// decimal exponent of its first significant digit (which tells an overflow
// from an underflow), or nullopt when the text breaks the grammar.
struct Normalised {
    std::string text;
    long leadingExponent = 0;
};

std::optional<Normalised> normalised(std::string_view s, char decimalMark) {
    Normalised out;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        if (s[i] == '-') out.text += '-';
        ++i;
    }
    long integerDigits = 0, digitIndex = 0, firstSignificant = -1;
    bool pointSeen = false;
    for (; i < s.size() && (isDigit(s[i]) || (s[i] == decimalMark && !pointSeen)); ++i) {
        if (s[i] == decimalMark) {
            pointSeen = true;
            out.text += '.';
            continue;
        }
        if (!pointSeen) ++integerDigits;
        if (firstSignificant < 0 && s[i] != '0') firstSignificant = digitIndex;
        ++digitIndex;
        out.text += s[i];
    }
    if (digitIndex == 0) return std::nullopt;
    long exponent = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        out.text += 'e';
        ++i;
        const bool negative = i < s.size() && s[i] == '-';
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) out.text += s[i++];
        const std::size_t start = i;
        for (; i < s.size() && isDigit(s[i]); ++i) {
            out.text += s[i];
            exponent = std::min(exponent * 10 + (s[i] - '0'), 1'000'000'000L);  // saturated
        }
        if (i == start) return std::nullopt;
        if (negative) exponent = -exponent;
    }
    if (i != s.size()) return std::nullopt;
    out.leadingExponent =
        firstSignificant < 0 ? 0 : integerDigits - 1 - firstSignificant + exponent;
    return out;
}

enum class Reading { blank, number, notANumber, tooLarge };

Reading read(std::string_view text, char decimalMark, double& value) {
    text = trimmed(text);
    if (text.empty()) return Reading::blank;
    const std::optional<Normalised> n = normalised(text, decimalMark);
    if (!n) return Reading::notANumber;
    const char* end = n->text.data() + n->text.size();
    const auto [stop, error] = std::from_chars(n->text.data(), end, value);
    if (error == std::errc::result_out_of_range) {
        if (n->leadingExponent > 0) return Reading::tooLarge;
        value = n->text.front() == '-' ? -0.0 : 0.0;  // too small to tell from zero
        return Reading::number;
    }
    if (error != std::errc() || stop != end) return Reading::notANumber;
    return Reading::number;
}

// The number as the sentence shows it: as typed, unless that is too long to read.
std::string shown(std::string_view text) {
    text = trimmed(text);
    return text.size() <= table_io::shownFieldCharacters ? std::string(text)
                                                         : table_io::quotedField(text);
}

const char* nameOf(BoundName which) {
    switch (which) {
        case BoundName::lower:
            return "lower bound";
        case BoundName::upper:
            return "upper bound";
        case BoundName::symmetric:
            break;
    }
    return "bound";
}

template <typename Choice>
struct Word {
    std::string_view text;
    Choice choice;
};

template <typename Choice, std::size_t count>
Choice readWord(std::string_view column, std::string_view text,
                const Word<Choice> (&words)[count]) {
    if (text.empty()) return words[0].choice;
    std::string choices;
    for (std::size_t i = 0; i < count; ++i) {
        if (text == words[i].text) return words[i].choice;
        choices += (i == 0 ? "" : i + 1 == count ? " or " : ", ") + std::string(words[i].text);
    }
    throw SettingsError(error::unknownWord, std::string(column) + " must be " + choices +
                                                " (or empty for " + std::string(words[0].text) +
                                                "), not " + table_io::quotedField(text) + ".");
}

}  // namespace

std::optional<double> numberFromText(std::string_view text, char decimalMark) {
    double value = 0;
    if (read(text, decimalMark, value) != Reading::number) return std::nullopt;
    return value;
}

std::optional<double> readAlpha(std::string_view text, char decimalMark) {
    double value = 0;
    switch (read(text, decimalMark, value)) {
        case Reading::blank:
            return std::nullopt;
        case Reading::number:
            if (value > 0 && value < 0.5) return value;
            [[fallthrough]];
        case Reading::tooLarge:
            throw SettingsError(error::alpha, alphaSentence(shown(text)));
        case Reading::notANumber:
            break;
    }
    throw SettingsError(error::alphaText, "Alpha must be a number such as 0.05, not " +
                                              table_io::quotedField(text) + ".");
}

std::optional<double> readBound(std::string_view text, BoundName which, char decimalMark) {
    double value = 0;
    const std::string name = nameOf(which);
    switch (read(text, decimalMark, value)) {
        case Reading::blank:
            return std::nullopt;
        case Reading::number:
            if (which != BoundName::symmetric || value > 0) return value;
            throw SettingsError(error::boundNotPositive,
                                "The bound must lie above 0 (the bounds are minus and plus it), "
                                "not " +
                                    shown(text) + ".");
        case Reading::tooLarge:
            throw SettingsError(error::boundText, "The " + name + " must be a finite number, and " +
                                                      shown(text) + " is beyond a double's range.");
        case Reading::notANumber:
            break;
    }
    throw SettingsError(error::boundText, "The " + name + " must be a number such as " +
                                              (which == BoundName::lower ? "-0.5" : "0.5") +
                                              ", not " + table_io::quotedField(text) + ".");
}

std::optional<Bounds> readBounds(std::string_view lower, std::string_view upper, char decimalMark,
                                 Scale scale) {
    std::optional<double> l = readBound(lower, BoundName::lower, decimalMark);
    std::optional<double> u = readBound(upper, BoundName::upper, decimalMark);
    if (!l && !u) return std::nullopt;
    TestSettings settings;
    settings.scale = scale;
    if (scale == Scale::ratio && (!l || !u)) {
        // Checked as given first, so that a zero or negative bound is named
        // as typed rather than through its reciprocal.
        const double given = l ? *l : *u;
        settings.bounds = Bounds{given, given};
        try {
            check(settings);
        } catch (const SettingsError& e) {
            if (e.number() != error::bounds) throw;  // lower == upper here by construction
        }
        (l ? u : l) = 1 / given;
    }
    if (!l || !u) {
        throw SettingsError(error::boundMissing,
                            std::string("The ") + (l ? "upper" : "lower") +
                                " bound is missing: give the lower and the upper bound together.");
    }
    settings.bounds = Bounds{*l, *u};
    check(settings);
    return settings.bounds;
}

Design readDesign(std::string_view text) {
    static constexpr Word<Design> words[] = {{"independent", Design::independent},
                                             {"matched", Design::matched}};
    return readWord("design", text, words);
}

StandardError readDf(std::string_view text) {
    static constexpr Word<StandardError> words[] = {{"student", StandardError::pooled},
                                                    {"welch", StandardError::welch}};
    return readWord("df", text, words);
}

StandardError readStandardError(std::string_view text) {
    static constexpr Word<StandardError> words[] = {{"pooled", StandardError::pooled},
                                                    {"welch", StandardError::welch}};
    return readWord("standard_error", text, words);
}

BoundUnits readBoundUnits(std::string_view text) {
    static constexpr Word<BoundUnits> words[] = {{"raw", BoundUnits::raw}, {"d", BoundUnits::sd}};
    return readWord("bound_units", text, words);
}

Hypothesis readHypothesis(std::string_view text) {
    static constexpr Word<Hypothesis> words[] = {{"equivalence", Hypothesis::equivalence},
                                                 {"minimal_effect", Hypothesis::minimalEffect},
                                                 {"non_inferiority", Hypothesis::nonInferiority},
                                                 {"non_superiority", Hypothesis::nonSuperiority},
                                                 {"superiority", Hypothesis::superiority}};
    return readWord("hypothesis", text, words);
}

Better readBetter(std::string_view text) {
    static constexpr Word<Better> words[] = {{"higher", Better::higher}, {"lower", Better::lower}};
    return readWord("better", text, words);
}

std::optional<double> readMargin(std::string_view text, char decimalMark) {
    double value = 0;
    switch (read(text, decimalMark, value)) {
        case Reading::blank:
            return std::nullopt;
        case Reading::number:
            return value;
        case Reading::tooLarge:
            throw SettingsError(error::marginText, "The margin must be a finite number, and " +
                                                       shown(text) +
                                                       " is beyond a double's range.");
        case Reading::notANumber:
            break;
    }
    throw SettingsError(error::marginText, "The margin must be a number such as -0.5, not " +
                                               table_io::quotedField(text) + ".");
}

Scale readScale(std::string_view text) {
    static constexpr Word<Scale> words[] = {{"difference", Scale::difference},
                                            {"ratio", Scale::ratio}};
    return readWord("scale", text, words);
}

}  // namespace tarnwick::settings
