#pragma once
// How the engine's Boost.Math calls fail and compute: errors as errno and a
// NaN, never thrown (a missing value is reported in words, not as an
// exception), and everything in double, never promoted to long double.
// Whoever includes this links Boost::headers.

#include <boost/math/policies/policy.hpp>

namespace tarnwick {

using BoostMathPolicy = boost::math::policies::policy<
    boost::math::policies::domain_error<boost::math::policies::errno_on_error>,
    boost::math::policies::pole_error<boost::math::policies::errno_on_error>,
    boost::math::policies::overflow_error<boost::math::policies::errno_on_error>,
    boost::math::policies::evaluation_error<boost::math::policies::errno_on_error>,
    boost::math::policies::rounding_error<boost::math::policies::errno_on_error>,
    boost::math::policies::indeterminate_result_error<boost::math::policies::errno_on_error>,
    boost::math::policies::promote_float<false>, boost::math::policies::promote_double<false>>;

}  // namespace tarnwick
