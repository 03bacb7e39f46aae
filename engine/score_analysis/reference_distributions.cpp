#include "reference_distributions.h"

#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>

#include "boost_math_policy.h"
#include "score_checks.h"

namespace tarnwick::score_analysis {
namespace {

using Policy = BoostMathPolicy;
using Normal = boost::math::normal_distribution<double, Policy>;
using StudentT = boost::math::students_t_distribution<double, Policy>;

}  // namespace

double normalUpperTail(double z) { return cdf(complement(Normal(), z)); }
double normalLowerTail(double z) { return cdf(Normal(), z); }
double normalUpperPoint(double alpha) {
    return finiteOrTooLarge(quantile(complement(Normal(), alpha)), "the critical value");
}

double tUpperTail(double t, double df) { return cdf(complement(StudentT(df), t)); }
double tLowerTail(double t, double df) { return cdf(StudentT(df), t); }
double tUpperPoint(double alpha, double df) {
    return finiteOrTooLarge(quantile(complement(StudentT(df), alpha)), "the critical value");
}

}  // namespace tarnwick::score_analysis
