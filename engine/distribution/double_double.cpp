// Logarithms and the exponential in double-double arithmetic.
//
// The logarithms reduce to 2 atanh(s) with |s| <= 3 - 2 sqrt(2) ~ 0.1716,
// s = (m - 1) / (m + 1) for m in [1/sqrt(2), sqrt(2)). The first two terms of
// the series are carried in double-double; everything after them is below
// 2e-4 of the total, so a double polynomial for it leaves a relative error
// near 1e-19, well past what exp(-a L) with a L <= 750 can feel. The
// exponential needs no series of its own: one such logarithm of the rounded
// double exp gives the correction.

#include "double_double.h"

namespace tarnwick::numeric {
namespace {

constexpr DoubleDouble ln2{0.6931471805599453, 2.3190468138462996e-17};

DoubleDouble twiceAtanh(DoubleDouble s) {
    const DoubleDouble s2 = s * s;
    const double w = s2.hi;
    // 1/5 + w/7 + w^2/9 + ...; w <= 0.0295, so twelve terms leave out less
    // than 1e-21 of the logarithm.
    double poly = 1.0 / 27.0;
    poly = poly * w + 1.0 / 25.0;
    poly = poly * w + 1.0 / 23.0;
    poly = poly * w + 1.0 / 21.0;
    poly = poly * w + 1.0 / 19.0;
    poly = poly * w + 1.0 / 17.0;
    poly = poly * w + 1.0 / 15.0;
    poly = poly * w + 1.0 / 13.0;
    poly = poly * w + 1.0 / 11.0;
    poly = poly * w + 1.0 / 9.0;
    poly = poly * w + 1.0 / 7.0;
    poly = poly * w + 1.0 / 5.0;
    const double rest = 2.0 * s.hi * w * w * poly;
    const DoubleDouble cubeThird = s2 * s / 3.0;
    return (s * 2.0 + cubeThird * 2.0) + rest;
}

}  // namespace

DoubleDouble naturalLog(DoubleDouble w) {
    int exponent = 0;
    double m = std::frexp(w.hi, &exponent);
    if (m < 0.70710678118654752) {
        m *= 2.0;
        --exponent;
    }
    const DoubleDouble mantissa{m, std::ldexp(w.lo, -exponent)};
    const DoubleDouble s = (mantissa + (-1.0)) / (mantissa + 1.0);
    return ln2 * static_cast<double>(exponent) + twiceAtanh(s);
}

DoubleDouble logOnePlus(DoubleDouble u) {
    if (u.hi <= 0.41421356237309503) {
        // 1 + u is within [1, sqrt(2)]: go straight to atanh so that no part
        // of a tiny u is rounded away by forming 1 + u.
        return twiceAtanh(u / (u + 2.0));
    }
    return naturalLog(u + 1.0);
}

DoubleDouble exponential(DoubleDouble v) {
    const double rounded = std::exp(v.hi);
    // exp(v) = rounded * exp(r) with r = v - log(rounded), of the order of an
    // ulp, so exp(r) = 1 + r to far below the low word.
    const double r = (v - naturalLog({rounded, 0.0})).hi;
    return fastTwoSum(rounded, rounded * r);
}

}  // namespace tarnwick::numeric
