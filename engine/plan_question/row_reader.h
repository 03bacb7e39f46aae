#pragma once
// The reading of a row's texts that every question shares: a column's text,
// whether it is given, a number, a size, and the refusal of a value the
// question does not use. Only the row readers include it.

#include <charconv>
#include <cmath>
#include <optional>
#include <string>

#include "quoted_field.h"
#include "row_request.h"

namespace tarnwick::planner::row_text {

// Sizes are whole numbers a double holds exactly.
constexpr double largestSize = 9007199254740992.0;  // 2^53

inline std::string quoted(const std::string& text) { return table_io::quotedField(text); }

// A row's sentences name the column and end with a full stop.
[[noreturn]] inline void refuse(RequestProblem problem, std::string sentence) {
    throw RequestError(problem, std::move(sentence) + ".");
}

class RowReader {
public:
    explicit RowReader(const RowTexts& texts) : texts_(texts) {}

    const std::string& text(InputColumn column) const {
        return texts_[static_cast<std::size_t>(column)];
    }
    bool given(InputColumn column) const { return !text(column).empty(); }

    std::optional<double> number(InputColumn column) const {
        const std::string& field = text(column);
        if (field.empty()) return std::nullopt;
        double value = 0;
        const char* end = field.data() + field.size();
        const auto [stop, error] = std::from_chars(field.data(), end, value);
        if (error != std::errc() || stop != end || !std::isfinite(value)) {
            refuse(RequestProblem::notANumber,
                   std::string(nameOf(column)) + " is " + quoted(field) +
                       ", not a number (write numbers such as 0.05, 12 or 1.5e3)");
        }
        return value;
    }

    double number(InputColumn column, double fallback) const {
        return number(column).value_or(fallback);
    }

    double required(InputColumn column, const char* what) const {
        if (const auto value = number(column)) return *value;
        refuse(RequestProblem::missingValue,
               std::string(nameOf(column)) + " is empty: give " + what);
    }

    std::optional<long> size(InputColumn column) const {
        const auto value = number(column);
        if (!value) return std::nullopt;
        if (*value != std::floor(*value)) {
            refuse(RequestProblem::sizeNotWhole, std::string(nameOf(column)) + " is " +
                                                     quoted(text(column)) +
                                                     ", not a whole number of participants");
        }
        // Every double this large is whole, and too large: the engine's
        // refusal of a size above its maximum (or below 2) says so.
        if (*value > largestSize) return plan::maxSize + 1;
        if (*value < -largestSize) return -1;
        return static_cast<long>(*value);
    }

    void mustBeEmpty(InputColumn column, const std::string& why) const {
        if (given(column)) {
            refuse(RequestProblem::unusedValue,
                   std::string(nameOf(column)) + " is given, but " + why);
        }
    }

private:
    const RowTexts& texts_;
};

}  // namespace tarnwick::planner::row_text
