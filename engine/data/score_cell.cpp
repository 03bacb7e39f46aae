#include "score_cell.h"

#include <charconv>
#include <system_error>

namespace tarnwick::data {
namespace {

bool equalsIgnoringCase(std::string_view text, std::string_view word) {
    if (text.size() != word.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c =
            text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] - 'A' + 'a') : text[i];
        if (c != word[i]) return false;
    }
    return true;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// from_chars also takes "inf", "nan" and hexadecimal-looking forms; a score
// is only ever digits, one mark, and a decimal exponent.
bool hasNumberShape(std::string_view text, char decimalMark) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    bool digits = false, mark = false;
    for (; i < text.size(); ++i) {
        if (isDigit(text[i])) {
            digits = true;
        } else if (text[i] == decimalMark && !mark) {
            mark = true;
        } else {
            break;
        }
    }
    if (!digits) return false;
    if (i == text.size()) return true;
    if (text[i] != 'e' && text[i] != 'E') return false;
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (i == text.size()) return false;
    for (; i < text.size(); ++i) {
        if (!isDigit(text[i])) return false;
    }
    return true;
}

}  // namespace

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

ScoreCell readScoreCell(std::string_view text, char decimalMark) {
    text = trimmed(text);
    if (text.empty() || text == "." || equalsIgnoringCase(text, "na") ||
        equalsIgnoringCase(text, "nan")) {
        return {CellKind::missing, 0};
    }
    if (!hasNumberShape(text, decimalMark)) return {CellKind::notANumber, 0};
    std::string number(text);
    if (number.front() == '+') number.erase(0, 1);
    if (decimalMark != '.') {
        for (char& c : number) {
            if (c == decimalMark) c = '.';
        }
    }
    double value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too small to tell from zero reads as zero; too large is refused.
        const bool tiny =
            number.find_first_of("123456789") != std::string::npos &&
            (number.find("e-") != std::string::npos || number.find("E-") != std::string::npos);
        if (tiny) return {CellKind::number, number.front() == '-' ? -0.0 : 0.0};
        return {CellKind::tooLarge, 0};
    }
    if (result.ec != std::errc() || result.ptr != number.data() + number.size())
        return {CellKind::notANumber, 0};
    return {CellKind::number, value};
}

}  // namespace tarnwick::data
