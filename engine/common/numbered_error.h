#pragma once
// The shape of every engine error that a person reads and a program tests:
// a number from the room's own list, stable across versions, and one
// English sentence. The number is what tables and scripts compare; the
// sentence may be reworded.

#include <stdexcept>
#include <string>
#include <utility>

namespace tarnwick {

template <typename Number>
class NumberedError : public std::runtime_error {
public:
    NumberedError(Number number, std::string description)
        : std::runtime_error(description), number_(number), description_(std::move(description)) {}

    Number number() const noexcept { return number_; }
    const std::string& description() const noexcept { return description_; }

private:
    Number number_;
    std::string description_;
};

}  // namespace tarnwick
