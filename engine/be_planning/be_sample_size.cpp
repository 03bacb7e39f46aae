// The smallest total size, in whole sequences, whose power reaches a target.
//
// The search counts k subjects per sequence (n = k S). It starts from the
// large-sample size n = bk s^2 (z(1 - alpha) + z(target))^2 / d^2, d the
// distance from the true value to the nearer bound on the test's scale
// (log(ratio0) and the log bounds on the ratio scale), which is within a few
// sequences of the answer once n is beyond a dozen or so; from there it
// gallops (steps of 1, 2, 4, ...) towards the answer and bisects the last
// step, so a solve costs a handful of power evaluations.
//
// As for the difference of two means (engine/planning/sample_size.cpp),
// power is not monotone in n at the smallest sizes, where few df make the
// critical value fall faster than the bounds gain, so the first sizes are
// tried one by one whenever the answer may lie among them; beyond them power
// rises with n.

#include <algorithm>
#include <boost/math/special_functions/erf.hpp>
#include <cmath>
#include <numbers>
#include <string>

#include "be_checks.h"
#include "be_plan.h"
#include "boost_math_policy.h"
#include "study_checks.h"

namespace tarnwick::be {
namespace {

// Sizes per sequence tried one by one from the smallest.
constexpr long sizesTriedInTurn = 10;

// The upper p point of the standard normal, for the starting guess only.
double normalQuantile(double p) {
    return std::numbers::sqrt2 * boost::math::erfc_inv(2 * (1 - p), BoostMathPolicy());
}

class SizeSearch {
public:
    explicit SizeSearch(const BeStudy& study) : study_(study) {
        const DesignConstants& d = designConstants(study.design);
        sequences_ = d.sequences;
        smallest_ = 1;
        while (degreesOfFreedom(study.design, smallest_ * sequences_) < 1) {
            ++smallest_;
        }
        largest_ = maxTotal / sequences_;
    }

    double power(long k) const {
        const std::vector<long> sizes(static_cast<std::size_t>(sequences_), k);
        return plan::exactPower(powerInputs(study_, sizes));
    }

    long smallest() const { return smallest_; }
    long largest() const { return largest_; }

    // The large-sample guess, kept within the searched range.
    long guess(double targetPower) const {
        const TestScale inputs = onTestScale(study_);
        const double distance =
            settings::isOneSided(study_.hypothesis)
                ? std::fabs(inputs.difference - inputs.margin)
                : std::min(inputs.upper - inputs.difference, inputs.difference - inputs.lower);
        const double s = inputs.sd;
        const double z = normalQuantile(1 - study_.alpha) + normalQuantile(targetPower);
        const double n =
            designConstants(study_.design).bk * (s * z / distance) * (s * z / distance);
        const double k = std::ceil(n / static_cast<double>(sequences_));
        if (!(k < static_cast<double>(largest_))) {
            return largest_;
        }
        return std::max(smallest_, static_cast<long>(k));
    }

    BeSizeAnswer answer(long k, double power) const {
        return {k * sequences_, std::vector<long>(static_cast<std::size_t>(sequences_), k), power};
    }

private:
    const BeStudy& study_;
    long sequences_ = 1;
    long smallest_ = 1;
    long largest_ = 1;
};

// The true ratio strictly on the alternative's side of the margin.
void checkOneSidedTrueRatio(const BeStudy& study) {
    const bool above =
        settings::alternativeSide(study.hypothesis, study.better) == settings::Side::above;
    if (!(above ? study.ratio0 > study.margin : study.ratio0 < study.margin)) {
        throw plan::PlanError(
            error::ratio0, std::string("The true ratio must lie ") + (above ? "above" : "below") +
                               " the margin: on it or beyond it on the other side the power "
                               "never exceeds alpha, so no size reaches the target.");
    }
}

[[noreturn]] void notReached() {
    throw plan::PlanError(error::sizeNotReached,
                          "No size up to 10,000,000 subjects reaches the target power.");
}

}  // namespace

BeSizeAnswer smallestSize(const BeStudy& study, double targetPower) {
    checkStudy(study);
    if (settings::isOneSided(study.hypothesis)) {
        checkOneSidedTrueRatio(study);
        plan::checkOneSidedTarget(targetPower, study.alpha, study.hypothesis);
    } else if (!(study.ratio0 > study.lower && study.ratio0 < study.upper)) {
        throw plan::PlanError(error::ratio0,
                              "The true ratio must lie inside the bounds: on or outside them the "
                              "power never exceeds alpha, so no size reaches the target.");
    }
    if (!(targetPower > study.alpha && targetPower < 1)) {
        throw plan::PlanError(error::targetPower,
                              "The target power must lie above alpha and below 1.");
    }
    const SizeSearch search(study);
    const long lastInTurn = std::min(search.smallest() + sizesTriedInTurn - 1, search.largest());

    // The first sizes one by one; beyond them power rises, and
    // lastInTurn falls short.
    const auto firstInTurn = [&]() -> std::optional<BeSizeAnswer> {
        for (long k = search.smallest(); k <= lastInTurn; ++k) {
            const double p = search.power(k);
            if (p >= targetPower) {
                return search.answer(k, p);
            }
        }
        return std::nullopt;
    };

    long below = 0, above = 0;  // power(below) < target <= power(above)
    double abovePower = 0;
    const long start = search.guess(targetPower);
    if (start <= lastInTurn) {
        if (const auto found = firstInTurn()) {
            return *found;
        }
        below = lastInTurn;
    } else {
        const double p = search.power(start);
        if (p >= targetPower) {
            above = start;
            abovePower = p;
            for (long step = 1;; step *= 2) {
                const long k = std::max(above - step, lastInTurn);
                if (k == lastInTurn) {
                    if (const auto found = firstInTurn()) {
                        return *found;
                    }
                    below = lastInTurn;
                    break;
                }
                const double q = search.power(k);
                if (q < targetPower) {
                    below = k;
                    break;
                }
                above = k;
                abovePower = q;
            }
        } else {
            below = start;
        }
    }
    if (above == 0) {
        for (long step = 1;; step *= 2) {
            if (below >= search.largest()) {
                notReached();
            }
            const long k = std::min(below + step, search.largest());
            const double q = search.power(k);
            if (q >= targetPower) {
                above = k;
                abovePower = q;
                break;
            }
            below = k;
        }
    }
    while (above - below > 1) {
        const long middle = below + (above - below) / 2;
        const double q = search.power(middle);
        if (q >= targetPower) {
            above = middle;
            abovePower = q;
        } else {
            below = middle;
        }
    }
    return search.answer(above, abovePower);
}

}  // namespace tarnwick::be
