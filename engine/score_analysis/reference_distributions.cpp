#include "reference_distributions.h"

#include <cmath>

#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>

#include "boost_math_policy.h"
#include "score_checks.h"
#include "score_error.h"

namespace tarnwick::score_analysis {
namespace {

using Policy = BoostMathPolicy;
using Normal = boost::math::normal_distribution<double, Policy>;
using StudentT = boost::math::students_t_distribution<double, Policy>;

}  // namespace

double normalUpperTail(double z) { return cdf(complement(Normal(), z)); }
double normalLowerTail(double z) { return cdf(Normal(), z); }
double normalUpperPoint(double alpha) {
    // Finite for every positive alpha: about 38.5 at the smallest double.
    return quantile(complement(Normal(), alpha));
}

double tUpperTail(double t, double df) { return cdf(complement(StudentT(df), t)); }
double tLowerTail(double t, double df) { return cdf(StudentT(df), t); }
double tUpperPoint(double alpha, double df) {
    const double point = quantile(complement(StudentT(df), alpha));
    if (!std::isfinite(point))
        throw ScoreError(ScoreErrorNumber::tooLarge,
                         "Alpha " + shortest(alpha) + " is too small for Student's t with " +
                             shortest(df) +
                             " degrees of freedom: its critical value is beyond the range of a "
                             "double.");
    return point;
}

}  // namespace tarnwick::score_analysis
