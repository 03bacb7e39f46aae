#include "score_result.h"

#include <algorithm>
#include <cmath>

namespace tarnwick::score_analysis {
namespace {

// Moves a finite end so that (end beyond bound) == significant, where beyond
// means above for `above`, below otherwise.
void holdEnd(double& end, double bound, bool above, bool significant) {
    if (!std::isfinite(end)) return;
    const bool beyond = above ? end > bound : end < bound;
    if (beyond == significant) return;
    end = significant ? std::nextafter(bound, above ? HUGE_VAL : -HUGE_VAL) : bound;
}

}  // namespace

void conclude(const ScoreSettings& settings, ScoreResult& result) {
    const bool equivalence = settings.hypothesis == Hypothesis::equivalence;
    const bool lowerSignificant = result.pLower < settings.alpha;
    const bool upperSignificant = result.pUpper < settings.alpha;
    if (equivalence) {
        holdEnd(result.low, settings.lower, true, lowerSignificant);
        holdEnd(result.high, settings.upper, false, upperSignificant);
    } else {
        holdEnd(result.high, settings.lower, false, lowerSignificant);
        holdEnd(result.low, settings.upper, true, upperSignificant);
    }
    result.p = equivalence ? std::max(result.pLower, result.pUpper)
                           : std::min(result.pLower, result.pUpper);
    const bool rejected = result.p < settings.alpha;
    if (equivalence)
        result.conclusion = rejected ? Conclusion::equivalent : Conclusion::notShownEquivalent;
    else
        result.conclusion = rejected ? Conclusion::beyondBounds : Conclusion::notShownBeyondBounds;
    result.level = 1 - 2 * settings.alpha;
}

std::string_view referenceName(Reference reference) {
    switch (reference) {
        case Reference::exact:
            return "exact";
        case Reference::normal:
            return "normal";
        case Reference::studentT:
            return "student_t";
        case Reference::bootstrap:
            return "bootstrap";
    }
    return "unknown";
}

}  // namespace tarnwick::score_analysis
