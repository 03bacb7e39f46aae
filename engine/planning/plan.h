#pragma once
// Planning an equivalence study: the exact power of the two one-sided tests
// for the difference of two means on the raw scale, as the calculator tests
// it (equivalence when the 100(1 - 2 alpha)% interval of the difference lies
// strictly inside the bounds), and the two questions a planner asks of it:
// how many participants reach a target power, and what bounds a study of a
// given size could rule out. The same study may instead ask the
// minimal-effect test's question (is the difference beyond a bound?), whose
// power and size come from the same integral. Standard C++ only.

#include <string>

#include "design.h"
#include "numbered_error.h"
#include "test_settings.h"

namespace tarnwick::plan {

// independent: two groups, a common SD, Student's df n1 + n2 - 2;
// matched: n pairs, the SD of the difference scores, df n - 1.
using tarnwick::Design;

struct Study {
    Design design = Design::independent;
    double alpha = 0.05;               // each one-sided test's level, 0 < alpha < 0.5
    double lower = -0.5, upper = 0.5;  // the equivalence bounds in raw units, lower < upper
    double difference = 0;             // the assumed true difference, group 1 minus group 2
    double sd = 1;  // independent: the common SD; matched: the SD of the differences
    // Minimal effect: H0 is lower <= difference <= upper, rejected when the
    // 100(1 - 2 alpha)% interval lies wholly below the lower bound or wholly
    // above the upper one.
    settings::Hypothesis hypothesis = settings::Hypothesis::equivalence;
    // The one-sided questions (settings::isOneSided): one margin in raw units
    // in place of the bounds (lower and upper are not used), and the
    // direction in which a larger difference is better. The test at the
    // margin is one of the two one-sided tests: significant at alpha exactly
    // when the 100(1 - 2 alpha)% interval's end on the alternative's side
    // lies beyond the margin.
    double margin = 0;
    settings::Better better = settings::Better::higher;
};

// Matched designs use n1 (the number of pairs) only; n2 is then 0.
struct Sizes {
    long n1 = 0, n2 = 0;
    friend bool operator==(const Sizes&, const Sizes&) = default;
};

// The largest size per group a search goes to.
constexpr long maxSize = 10'000'000;

// The numbers of PlanError, one per kind of input that has no answer; the
// room's own range (401 to 419), apart from every other room's.
namespace error {
constexpr int alpha = 401;        // alpha outside (0, 0.5)
constexpr int bounds = 402;       // a bound not finite, or lower >= upper
constexpr int sd = 403;           // the SD not positive or not finite
constexpr int size = 404;         // a size below 2 or not whole
constexpr int targetPower = 405;  // the target power outside (alpha, 1)
// The true difference not finite, or (for a size) not inside the bounds.
constexpr int difference = 406;
constexpr int sizeAboveMaximum = 407;  // a given size above maxSize
constexpr int sizeNotReached = 408;    // no size up to maxSize reaches the target
constexpr int ratio = 409;             // the allocation ratio not positive and finite, or too large
constexpr int overflow =
    410;  // a critical value of t beyond the range of doubles (alpha too small)
constexpr int hypothesis = 411;  // a question the study's hypothesis does not ask
constexpr int margin = 412;      // a one-sided question's margin not finite
}  // namespace error

// Input that has no answer: a number for programs and one sentence for people.
class PlanError : public NumberedError<int> {
public:
    using NumberedError::NumberedError;
};

// A size typed as a number: the whole number it holds. Throws PlanError
// (error::size) when it is not whole or below 2, error::sizeAboveMaximum
// when it is above maxSize.
long wholeSize(double number);

// The power at the given sizes. The true difference may lie anywhere, even
// outside the bounds (the power is then below alpha). Throws PlanError for
// invalid input.
double power(const Study& study, Sizes sizes);

struct SizeAnswer {
    Sizes sizes;
    double power = 0;  // the power at those sizes
};

// The smallest n1 >= 2 (and n2 = ceil(ratio * n1), ratio = n2 / n1; matched:
// n1 pairs) whose power reaches targetPower. Throws PlanError when the input
// is invalid or no size up to maxSize reaches it.
// n2 for n1 and a ratio n2 / n1: the smallest whole number at or above
// ratio * n1, where a product within rounding error of a whole number counts
// as that number (a ratio of 1.1 and n1 = 10 give 11, not 12).
long secondGroupSize(double ratio, long n1);

SizeAnswer smallestSize(const Study& study, double targetPower, double ratio = 1);

struct BoundAnswer {
    double bound = 0;  // the bounds are -bound and +bound
    double power = 0;  // the power with those bounds
};

// The smallest symmetric bound (about 0, not about the assumed difference)
// whose power reaches targetPower at the given sizes; study.lower and
// study.upper are not used. Throws PlanError for invalid input, and for a
// study that asks anything but equivalence (error::hypothesis).
BoundAnswer smallestBound(const Study& study, Sizes sizes, double targetPower);

}  // namespace tarnwick::plan
