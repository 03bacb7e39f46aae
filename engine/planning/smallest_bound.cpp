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
#include <map>
#include <mutex>
#include <tuple>

#include "hypothesis_checks.h"
#include "plan.h"
#include "power_integral.h"
#include "study_checks.h"

namespace tarnwick::plan {

namespace {

// The root of power(E) = target for the study in inputs (bounds ignored).
BoundAnswer solveBound(PowerInputs inputs, double targetPower) {
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
    // The bracket's upper end reaches the target, but by as little as the
    // power's rounding; 1e-12 more keeps it there when a caller scales the
    // bound (and stays far inside the 1e-9 the answer is good to).
    const double bound = bracket.second * (1 + 1e-12);
    return {bound, powerAt(bound)};
}

// With a true difference of 0 the power depends on E only through
// E / (sigma sqrt c), and otherwise on alpha and df alone; so the root in
// those units is kept for each (alpha, df, target) and scaled. The report
// and the batch program ask this for every row, and rows share their df.
class StandardisedBounds {
public:
    BoundAnswer find(double alpha, double df, double targetPower) {
        const Key key{alpha, df, targetPower};
        {
            const std::lock_guard lock(mutex_);
            if (const auto found = answers_.find(key); found != answers_.end()) {
                return found->second;
            }
        }
        PowerInputs standardised;
        standardised.alpha = alpha;
        standardised.difference = 0;
        standardised.sd = 1;
        standardised.designConstant = 1;
        standardised.df = df;
        const BoundAnswer answer = solveBound(standardised, targetPower);
        const std::lock_guard lock(mutex_);
        if (answers_.size() >= capacity) {
            answers_.clear();
        }
        answers_.emplace(key, answer);
        return answer;
    }

private:
    using Key = std::tuple<double, double, double>;
    static constexpr std::size_t capacity = 1 << 16;
    std::mutex mutex_;
    std::map<Key, BoundAnswer> answers_;
};

}  // namespace

BoundAnswer smallestBound(const Study& study, Sizes sizes, double targetPower) {
    checkStudy(study, false);
    checkAsksForBound(study);
    checkSizes(study.design, sizes);
    checkTargetPower(targetPower, study);

    const PowerInputs inputs = powerInputs(study, sizes);
    if (study.difference != 0) {
        return solveBound(inputs, targetPower);
    }
    static StandardisedBounds standardised;
    const BoundAnswer unit = standardised.find(inputs.alpha, inputs.df, targetPower);
    return {unit.bound * inputs.sd * std::sqrt(inputs.designConstant), unit.power};
}

}  // namespace tarnwick::plan
