// The smallest symmetric bound +-E whose power reaches a target at given
// sizes. The power rises with E (the acceptance region (-E + t S sqrt c,
// E - t S sqrt c) only widens), from 0 at E = 0 towards 1, so the root of
// power(E) = target is bracketed about a normal approximation and found by
// Boost's TOMS 748 to about 1e-12 relative; the answer is the bracket's upper
// end, whose power is at or above the target.

#include <algorithm>
#include <boost/math/distributions/normal.hpp>
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

    // Start from the normal approximation E0 = |delta| + (t + z) sigma sqrt(c),
    // z the normal (1 + target) / 2 point, and widen a bracket about it by
    // steps that double; the root is then usually a few evaluations away.
    const double scale = inputs.sd * std::sqrt(inputs.designConstant);
    const double z = boost::math::quantile(boost::math::normal(), (1 + targetPower) / 2);
    const double guess = std::fabs(inputs.difference) + (t + z) * scale;
    double step = 0.05 * guess;
    double low = guess, high = guess;
    double lowPower = powerAt(guess), highPower = lowPower;
    while (highPower < targetPower) {
        low = high;
        lowPower = highPower;
        high += step;
        step *= 2;
        highPower = powerAt(high);
    }
    while (lowPower >= targetPower) {
        high = low;
        highPower = lowPower;
        low = std::max(0.0, low - step);
        step *= 2;
        lowPower = low > 0 ? powerAt(low) : 0;
    }
    const auto shortfall = [&](double bound) { return powerAt(bound) - targetPower; };
    std::uintmax_t iterations = 200;
    const auto bracket = boost::math::tools::toms748_solve(
        shortfall, low, high, lowPower - targetPower, highPower - targetPower,
        boost::math::tools::eps_tolerance<double>(42), iterations);
    const double bound = bracket.second;
    return {bound, powerAt(bound)};
}

}  // namespace tarnwick::plan
