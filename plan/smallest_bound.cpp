// The smallest symmetric bound +-E whose power reaches a target at given
// sizes. The power rises with E (the acceptance region (-E + t S sqrt c,
// E - t S sqrt c) only widens), from 0 at E = 0 towards 1, so the root of
// power(E) = target is bracketed by doubling and found by Boost's TOMS 748
// to about 1e-14 relative; the answer is the bracket's upper end, whose
// power is at or above the target.

#include <boost/math/tools/roots.hpp>
#include <cmath>
#include <cstdint>

#include "plan.h"
#include "power_integral.h"
#include "study_checks.h"

namespace tarnwick::plan {

BoundAnswer smallestBound(const Study& study, Sizes sizes, double targetPower) {
    checkStudy(study, false);
    checkSizes(study.design, sizes);
    checkTargetPower(targetPower, study.alpha);

    PowerInputs inputs = powerInputs(study, sizes);
    const double t = criticalT(inputs.alpha, inputs.df);
    const auto powerAt = [&](double bound) {
        inputs.lower = -bound;
        inputs.upper = bound;
        return exactPower(inputs, t);
    };

    // With E = |delta| + (t + 8) sigma sqrt(c) the power is already near
    // 1 - P(S > 8 sigma / t ...) for most df; doubling covers the rest.
    const double scale = inputs.sd * std::sqrt(inputs.designConstant);
    double low = 0;
    double high = std::fabs(inputs.difference) + (t + 8) * scale;
    double highPower = powerAt(high);
    while (highPower < targetPower) {
        low = high;
        high *= 2;
        highPower = powerAt(high);
    }
    const auto shortfall = [&](double bound) { return powerAt(bound) - targetPower; };
    std::uintmax_t iterations = 200;
    const auto bracket = boost::math::tools::toms748_solve(
        shortfall, low, high, low == 0 ? -targetPower : shortfall(low), highPower - targetPower,
        boost::math::tools::eps_tolerance<double>(46), iterations);
    const double bound = bracket.second;
    return {bound, powerAt(bound)};
}

}  // namespace tarnwick::plan
