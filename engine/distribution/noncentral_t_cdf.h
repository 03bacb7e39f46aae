#pragma once
// The cumulative distribution function of the noncentral t.

namespace tarnwick {

// P(T <= t) for the noncentral t with df degrees of freedom (df > 0, infinite
// allowed) and noncentrality lambda. NaN when df is not positive, lambda is
// not finite or beyond about 65,000 in size, t is NaN, or the series does
// not converge.
double noncentralTCdf(double t, double df, double lambda);

}  // namespace tarnwick
