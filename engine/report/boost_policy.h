#pragma once
// How the report's Boost.Math calls fail and compute: errors as errno and a
// NaN, never thrown (a missing value is reported in words, not as an
// exception), and everything in double, never promoted to long double.

#include <boost/math/policies/policy.hpp>

namespace tarnwick::report {

namespace policies = boost::math::policies;
using Policy = policies::policy<policies::domain_error<policies::errno_on_error>,
                                policies::pole_error<policies::errno_on_error>,
                                policies::overflow_error<policies::errno_on_error>,
                                policies::evaluation_error<policies::errno_on_error>,
                                policies::rounding_error<policies::errno_on_error>,
                                policies::indeterminate_result_error<policies::errno_on_error>,
                                policies::promote_float<false>, policies::promote_double<false>>;

}  // namespace tarnwick::report
