#pragma once
// Double-double arithmetic: a value held as an unevaluated sum hi + lo of two
// doubles, good to about 32 significant digits in + - * / and sqrt. The t tail needs it where a
// double would be amplified by the problem itself: exp(-a * log1p(t^2/df))
// with a * log1p(...) near 700 turns a last-bit error in the logarithm into a
// relative error of 700 ulps in the probability.
//
// The error-free transformations follow Knuth (twoSum), Dekker (fastTwoSum)
// and use a fused multiply-add for the exact product.

#include <cmath>

namespace tarnwick::numeric {

struct DoubleDouble {
    double hi = 0.0;
    double lo = 0.0;
};

// s + e == a + b exactly.
inline DoubleDouble twoSum(double a, double b) {
    const double s = a + b;
    const double bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

// As twoSum, valid when |a| >= |b| (or a == 0).
inline DoubleDouble fastTwoSum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

// p + e == a * b exactly, barring underflow.
inline DoubleDouble twoProduct(double a, double b) {
    const double p = a * b;
    return {p, std::fma(a, b, -p)};
}

inline DoubleDouble operator+(DoubleDouble a, DoubleDouble b) {
    DoubleDouble s = twoSum(a.hi, b.hi);
    const DoubleDouble t = twoSum(a.lo, b.lo);
    s.lo += t.hi;
    s = fastTwoSum(s.hi, s.lo);
    s.lo += t.lo;
    return fastTwoSum(s.hi, s.lo);
}

inline DoubleDouble operator+(DoubleDouble a, double b) {
    DoubleDouble s = twoSum(a.hi, b);
    s.lo += a.lo;
    return fastTwoSum(s.hi, s.lo);
}

inline DoubleDouble operator-(DoubleDouble a) { return {-a.hi, -a.lo}; }
inline DoubleDouble operator-(DoubleDouble a, DoubleDouble b) { return a + (-b); }

inline DoubleDouble operator*(DoubleDouble a, DoubleDouble b) {
    DoubleDouble p = twoProduct(a.hi, b.hi);
    p.lo += a.hi * b.lo + a.lo * b.hi;
    return fastTwoSum(p.hi, p.lo);
}

inline DoubleDouble operator*(DoubleDouble a, double b) {
    DoubleDouble p = twoProduct(a.hi, b);
    p.lo += a.lo * b;
    return fastTwoSum(p.hi, p.lo);
}

inline DoubleDouble operator/(DoubleDouble a, DoubleDouble b) {
    // The second quotient corrects the first to about 1e-32 relative.
    const double q1 = a.hi / b.hi;
    const DoubleDouble r = a - b * q1;
    return fastTwoSum(q1, r.hi / b.hi);
}

inline DoubleDouble operator/(DoubleDouble a, double b) {
    const double q1 = a.hi / b;
    const DoubleDouble r = a - twoProduct(q1, b);
    return fastTwoSum(q1, r.hi / b);
}

inline DoubleDouble squareRoot(DoubleDouble a) {
    const double s = std::sqrt(a.hi);
    if (s == 0.0) {
        return {s, 0.0};
    }
    // One Newton step from the double root; the residual is exact thanks to fma.
    const double residual = std::fma(-s, s, a.hi) + a.lo;
    return fastTwoSum(s, residual / (2.0 * s));
}

// exp(-v) to within about an ulp of the double result; v.lo carries the part of
// the exponent that a double would have rounded away.
inline double expOfNegative(DoubleDouble v) {
    // Past 746 the result underflows to zero anyway, and v.lo may exceed 1.
    return v.hi > 746.0 ? 0.0 : std::exp(-v.hi) * (1.0 - v.lo);
}

// log(1 + u) for u >= 0 with a relative error near 1e-19. The low part of u
// counts, which is the point: for tiny u a double 1 + u would lose it.
DoubleDouble logOnePlus(DoubleDouble u);

// log(v) for v > 0 with v.hi finite and normal, absolute error near 1e-19
// times max(1, |log v|).
DoubleDouble naturalLog(DoubleDouble v);

// exp(v) for v.hi between -700 and 700, relative error near 1e-19 times
// max(1, |v|): the double exp corrected by the residual of its logarithm.
DoubleDouble exponential(DoubleDouble v);

}  // namespace tarnwick::numeric
