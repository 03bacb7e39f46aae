// Gamma(a) / Gamma(a + 1/2), a = (df - 1) / 2, from
// boost::math::tgamma_delta_ratio, which is accurate to a few ulps for all a
// (a Lanczos ratio, with no cancellation of large log-gamma values).

#include "hedges_correction.h"

#include <boost/math/special_functions/gamma.hpp>
#include <cmath>
#include <exception>

#include "boost_math_policy.h"

namespace tarnwick::report {

Value hedgesCorrection(double df) {
    if (!(df > 1)) return Value::missing("Hedges' correction needs more than 1 degree of freedom");
    try {
        const double ratio = boost::math::tgamma_delta_ratio((df - 1) / 2, 0.5, BoostMathPolicy{});
        const double correction = 1 / (std::sqrt(df / 2) * ratio);
        if (std::isfinite(correction) && correction > 0) return Value::of(correction);
    } catch (const std::exception&) {
    }
    return Value::missing("Hedges' correction could not be computed");
}

}  // namespace tarnwick::report
