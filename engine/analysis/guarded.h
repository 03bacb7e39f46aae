#pragma once
// Arithmetic that fails the way the analysis reports it: a division of a
// non-zero number by zero raises error 11 (an infinite dividend included: its
// step both overflowed and divided by zero, and the division by zero is the
// error reported); any other operation whose result is not a finite number
// (an overflow, 0/0, inf - inf) raises error 6; the square root of a negative
// number raises error 5.
//
// The checks look at operands and results rather than at the floating-point
// status flags: GCC does not honour FENV_ACCESS, so at -O2 it may move or fold
// the arithmetic across a flag test, while a test of the values cannot be lost.
// Underflow is not an error, as it is not for the status-flag checks either.

#include <array>
#include <cmath>
#include <optional>

#include "run_time_error.h"

namespace tarnwick::guarded {

inline double finiteOrOverflow(double result) {
    if (!std::isfinite(result)) throw RunTimeError(ErrorNumber::overflow);
    return result;
}

inline double add(double a, double b) { return finiteOrOverflow(a + b); }
inline double sub(double a, double b) { return finiteOrOverflow(a - b); }
inline double mul(double a, double b) { return finiteOrOverflow(a * b); }

inline double div(double a, double b) {
    if (b == 0.0) {
        const bool nonZero = !std::isnan(a) && a != 0.0;
        throw RunTimeError(nonZero ? ErrorNumber::divisionByZero : ErrorNumber::overflow);
    }
    return finiteOrOverflow(a / b);
}

inline double root(double x) {
    if (std::isnan(x)) throw RunTimeError(ErrorNumber::overflow);
    if (x < 0.0) throw RunTimeError(ErrorNumber::invalidArgument);
    return std::sqrt(x);
}

// The terms of one step, each evaluated, left to right, even after one has
// failed. When terms fail, the step raises one error: division by zero if any
// term divided by zero, whatever else overflowed in the step; otherwise the
// leftmost term's error.
template <typename... Terms>
std::array<double, sizeof...(Terms)> termsOfOneStep(const Terms&... terms) {
    std::optional<RunTimeError> failure;
    const auto evaluate = [&failure](const auto& term) {
        try {
            return term();
        } catch (const RunTimeError& error) {
            const bool divides = error.kind() == ErrorNumber::divisionByZero;
            if (!failure || (divides && failure->kind() != ErrorNumber::divisionByZero))
                failure = error;
            return 0.0;
        }
    };
    // A braced list is evaluated left to right, unlike a call's arguments.
    const std::array<double, sizeof...(Terms)> values{evaluate(terms)...};
    if (failure) throw *failure;
    return values;
}

}  // namespace tarnwick::guarded
