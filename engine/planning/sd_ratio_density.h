#pragma once
// The density of u = S / sigma, where S is a sample SD with df degrees of
// freedom (df u^2 is chi-square with df degrees of freedom), kept accurate at
// large df by working in logarithms.

namespace tarnwick::plan {

class SdRatioDensity {
public:
    explicit SdRatioDensity(double df);

    // The density at u = 1 + v > 0. Taking v, not u, matters at large df:
    // the density is then a bell of width 1 / sqrt(2 df) about u = 1, and a
    // u near 1 carries a rounding error of 1e-16 that is 1e-12 of that width
    // at df = 2 10^7, while v carries its own digits.
    double atOffset(double v) const;

    // An interval of v outside which the density is below exp(-40) of its
    // scale, so the probability left out is below 1e-17.
    double lowestOffset() const { return lowest_; }
    double highestOffset() const { return highest_; }

private:
    double shape_;        // a = df / 2
    double logConstant_;  // log(2 sqrt(a / (2 pi))) - the Stirling error of a
    double lowest_, highest_;
};

// log(1 + x) - x for x > -1, without the cancellation of the plain formula
// near 0.
double log1pMinusX(double x);

}  // namespace tarnwick::plan
