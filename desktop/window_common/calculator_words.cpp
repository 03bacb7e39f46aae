#include "calculator_words.h"

#include <cmath>
#include <optional>

#include "apa_format.h"
#include "number_text.h"
#include "run_time_error.h"

namespace tarnwick::calculator_words {

std::string readableNumber(const std::string& boxText) {
    try {
        const double value = textToNumber(boxText);
        if (std::isfinite(value)) return report::apa::readable(value);
    } catch (const RunTimeError&) {
    }
    return boxText;
}

std::string listed(const std::vector<std::string>& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) text += i + 1 == items.size() ? (items.size() > 2 ? ", and " : " and ") : ", ";
        text += items[i];
    }
    return text;
}

std::string heldLine(const std::vector<std::string>& held, const std::string& missing) {
    if (held.empty()) return "The calculator holds no " + missing + ".";
    return "These are the calculator's numbers: " + listed(held) + ".";
}

}  // namespace tarnwick::calculator_words
