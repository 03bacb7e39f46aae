// The exact power of a one-sided question: the one test at the margin.
//
// With the alternative above the margin m, the test rejects when
// (D - m) / (S sqrt c) > t = t(1 - alpha, df). D is normal with mean delta
// and SD sigma sqrt c, independent of S, so that statistic is the noncentral
// t with df and noncentrality lambda = (delta - m) / (sigma sqrt c), and
//
//     power = P(T' > t) = P(-T' < -t),
//
// where -T' is the noncentral t with -lambda: the lower tail is taken
// directly, so a tiny power (the true difference far on the null's side)
// keeps its digits instead of being 1 minus a number near 1. The
// alternative below the margin is the mirror image, lambda = (m - delta) /
// (sigma sqrt c). No normal approximation: the house cdf is exact to
// rounding at every df.
//
// Beyond a noncentrality of about 65,000 the cdf gives up (NaN); there the
// power is 1 (or 0) to every digit a double holds: even at df = 1,
// P(T' < t) for lambda = 65,000 and t below 10^4 is below 10^-300.

#include <cmath>

#include "noncentral_t_cdf.h"
#include "power_integral.h"

namespace tarnwick::plan {

double oneSidedPower(const PowerInputs& inputs, double t) {
    const double se = inputs.sd * std::sqrt(inputs.designConstant);
    const double distance = inputs.side == settings::Side::above
                                ? inputs.difference - inputs.margin
                                : inputs.margin - inputs.difference;
    const double lambda = distance / se;
    const double power = noncentralTCdf(-t, inputs.df, -lambda);
    if (std::isnan(power) && std::isfinite(lambda) && std::fabs(lambda) > 1e4) {
        return lambda > 0 ? 1.0 : 0.0;
    }
    return power;
}

}  // namespace tarnwick::plan
