#pragma once
// Arithmetic that fails the way the analysis reports it: a division of a
// non-zero finite number by zero raises error 11; any other operation whose
// result is not a finite number (an overflow, 0/0, inf - inf) raises error 6;
// the square root of a negative number raises error 5.
//
// The checks look at operands and results rather than at the floating-point
// status flags: GCC does not honour FENV_ACCESS, so at -O2 it may move or fold
// the arithmetic across a flag test, while a test of the values cannot be lost.
// Underflow is not an error, as it is not for the status-flag checks either.

#include <cmath>

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
        const bool finiteNonZero = std::isfinite(a) && a != 0.0;
        throw RunTimeError(finiteNonZero ? ErrorNumber::divisionByZero : ErrorNumber::overflow);
    }
    return finiteOrOverflow(a / b);
}

inline double root(double x) {
    if (std::isnan(x)) throw RunTimeError(ErrorNumber::overflow);
    if (x < 0.0) throw RunTimeError(ErrorNumber::invalidArgument);
    return std::sqrt(x);
}

}  // namespace tarnwick::guarded
