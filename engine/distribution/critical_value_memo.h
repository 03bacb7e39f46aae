#pragma once
// Critical values of whole degrees of freedom, kept once computed.

#include <cstdint>

namespace tarnwick {

// TDistribution::instance().CriticalValue(p, df, tails), the very same double.
// Whole df repeat from study to study (Student's and the matched df are sizes
// less 2 or 1), so the value for a whole df is kept in a small table of the
// calling thread and returned from there the next time it is asked for. Other
// df, and every call that throws, go to the distribution each time. The table
// has a fixed size: a value may be displaced by another and is then computed
// again, so memory does not grow with the number of calls.
double memoisedCriticalValue(double p, double df, std::int16_t tails);

}  // namespace tarnwick
