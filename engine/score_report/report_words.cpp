#include "report_words.h"

namespace tarnwick::score_report::words {

std::string countWord(long count) {
    static constexpr std::string_view names[] = {"no",  "one",   "two",   "three", "four", "five",
                                                 "six", "seven", "eight", "nine",  "ten"};
    if (count >= 0 && count < static_cast<long>(std::size(names))) return std::string(names[count]);
    return std::to_string(count);
}

std::string groupedCount(long count) {
    std::string digits = std::to_string(count);
    const int first = digits.front() == '-' ? 1 : 0;
    for (int at = static_cast<int>(digits.size()) - 3; at > first; at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return digits;
}

std::string plural(long count, std::string_view one, std::string_view many) {
    return groupedCount(count) + " " + std::string(count == 1 ? one : many);
}

std::string joined(const std::vector<std::string>& items, std::string_view last) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) text += i + 1 == items.size() ? std::string(last) : std::string(", ");
        text += items[i];
    }
    return text;
}

std::string ordinal(long n) {
    const long lastTwo = n % 100, last = n % 10;
    const char* suffix = (lastTwo >= 11 && lastTwo <= 13) ? "th"
                         : last == 1                      ? "st"
                         : last == 2                      ? "nd"
                         : last == 3                      ? "rd"
                                                          : "th";
    return std::to_string(n) + suffix;
}

}  // namespace tarnwick::score_report::words
