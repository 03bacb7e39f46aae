// The smallest size whose power reaches a target.
//
// Power is not monotone in n at the smallest sizes (with few df the critical
// value falls fast while the bounds stay put, and a low power can dip from
// n = 2 to n = 5 before it rises), so the first sizes are tried one by one.
// Beyond them power rises with n, and the answer is bracketed by doubling and
// then found by bisection: about 2 log2(n) power evaluations, never a walk
// one size at a time.
//
// The minimal-effect test's power need not rise at all at first: with the
// true difference just beyond a bound, each one-sided test rejects with about
// alpha while the bounds are small beside the standard error, so power
// starts near 2 alpha and falls for hundreds of sizes before it rises. What
// the search needs is only that beyond the sizes tried in turn power has no
// peak (it falls, then rises), so that once power has reached the target it
// stays there: on 1,792 curves (alpha .001 to .45, bounds and distances
// beyond them from 10^-5 to 3 SDs, both designs, n from 2 to 2 10^6) no
// peak came after n = 10.

#include <cmath>

#include "hypothesis_checks.h"
#include "plan.h"
#include "power_integral.h"
#include "study_checks.h"

namespace tarnwick::plan {
namespace {

// The sizes tried one by one before the search assumes that power rises.
constexpr long sizesTriedInTurn = 10;

class SizeSearch {
public:
    SizeSearch(const Study& study, double ratio) : study_(study), ratio_(ratio) {}

    Sizes sizes(long n1) const {
        if (study_.design == Design::matched) {
            return {n1, 0};
        }
        return {n1, secondGroupSize(ratio_, n1)};
    }

    double power(long n1) const { return exactPower(powerInputs(study_, sizes(n1))); }

    // The smallest and largest n1 whose sizes are both in [2, maxSize].
    long smallestN1() const {
        if (study_.design == Design::matched || ratio_ >= 1) {
            return 2;
        }
        long n1 = std::max(2L, static_cast<long>(std::floor(1 / ratio_)));
        while (n1 <= maxSize && sizes(n1).n2 < 2) {
            ++n1;
        }
        return n1;
    }

    long largestN1() const {
        if (study_.design == Design::matched || ratio_ <= 1) {
            return maxSize;
        }
        long n1 = static_cast<long>(std::ceil(static_cast<double>(maxSize) / ratio_));
        while (n1 >= 2 && sizes(n1).n2 > maxSize) {
            --n1;
        }
        return n1;
    }

private:
    const Study& study_;
    double ratio_;
};

[[noreturn]] void refuse(int number, const char* sentence) { throw PlanError(number, sentence); }

}  // namespace

long secondGroupSize(double ratio, long n1) {
    const double product = ratio * static_cast<double>(n1);
    const double nearest = std::round(product);
    if (std::fabs(product - nearest) <= 1e-12 * product) {
        return static_cast<long>(nearest);
    }
    return static_cast<long>(std::ceil(product));
}

SizeAnswer smallestSize(const Study& study, double targetPower, double ratio) {
    checkStudy(study, true);
    checkTargetPower(targetPower, study);
    checkDifferenceForSize(study);
    const bool matched = study.design == Design::matched;
    if (!matched && !(ratio > 0 && std::isfinite(ratio))) {
        refuse(error::ratio, "The allocation ratio must be a positive finite number.");
    }
    const SizeSearch search(study, matched ? 1 : ratio);
    const long first = search.smallestN1();
    const long last = search.largestN1();
    if (first > last) {
        refuse(error::ratio,
               "The allocation ratio is too extreme: no sizes of at least 2 and at most "
               "10,000,000 per group have it.");
    }

    long below = first;  // the largest n1 known to fall short
    for (long n1 = first; n1 < first + sizesTriedInTurn && n1 <= last; ++n1) {
        const double p = search.power(n1);
        if (p >= targetPower) {
            return {search.sizes(n1), p};
        }
        below = n1;
    }
    if (below == last) {
        refuse(error::sizeNotReached,
               "No size up to 10,000,000 per group reaches the target power.");
    }

    long above = below;
    double abovePower = 0;
    do {
        below = above;
        above = std::min(2 * above, last);
        abovePower = search.power(above);
    } while (abovePower < targetPower && above < last);
    if (abovePower < targetPower) {
        refuse(error::sizeNotReached,
               "No size up to 10,000,000 per group reaches the target power.");
    }
    while (above - below > 1) {
        const long middle = below + (above - below) / 2;
        const double p = search.power(middle);
        if (p >= targetPower) {
            above = middle;
            abovePower = p;
        } else {
            below = middle;
        }
    }
    return {search.sizes(above), abovePower};
}

}  // namespace tarnwick::plan
