#pragma once
// A run-time error of the analysis: a number and a short English description,
// as the error report shows them ("Error 11 (Division by zero) in ...").

#include <stdexcept>
#include <string>

namespace tarnwick {

enum class ErrorNumber : int {
    invalidArgument = 5,  // e.g. the square root of a negative number
    overflow = 6,         // an overflow or an invalid operation such as 0/0
    divisionByZero = 11,
    typeMismatch = 13,  // a box text that is not a number
};

class RunTimeError : public std::runtime_error {
public:
    explicit RunTimeError(ErrorNumber number)
        : std::runtime_error(describe(number)), number_(number) {}

    int number() const noexcept { return static_cast<int>(number_); }
    ErrorNumber kind() const noexcept { return number_; }
    std::string description() const { return what(); }

    static const char* describe(ErrorNumber number) noexcept {
        switch (number) {
            case ErrorNumber::invalidArgument:
                return "Invalid procedure call or argument";
            case ErrorNumber::overflow:
                return "Overflow";
            case ErrorNumber::divisionByZero:
                return "Division by zero";
            case ErrorNumber::typeMismatch:
                return "Type mismatch";
        }
        return "Application-defined or object-defined error";
    }

private:
    ErrorNumber number_;
};

}  // namespace tarnwick
