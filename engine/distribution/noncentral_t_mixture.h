#pragma once
// The noncentral t cdf far out, with its first two derivatives in the
// noncentrality, from a fixed Gauss rule whose cost does not grow with lambda.

#include <optional>

namespace tarnwick {

struct CdfAndSlopes {
    double cdf;        // P(T <= t)
    double slope;      // its derivative in lambda (negative)
    double curvature;  // its second derivative in lambda
};

// P(T <= t) for the noncentral t with df degrees of freedom and noncentrality
// lambda, with d/dlambda and d2/dlambda2, where the rule is exact to about
// 1e-15 absolute: t and lambda of the same sign, |lambda| at least
// mixtureLeast, t^2 / (2 df) at least 1/4, df finite. Elsewhere nothing, and
// the series (noncentral_t_cdf) is the one to use.
std::optional<CdfAndSlopes> noncentralTMixture(double t, double df, double lambda);

inline constexpr double mixtureLeast = 9;

}  // namespace tarnwick
