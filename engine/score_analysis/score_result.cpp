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
    result.level = 1 - 2 * settings.alpha;
    if (isOneSided(settings)) {
        // Only the test on the alternative's side decides, and only the
        // interval's end on that side is held to it.
        const bool above = sideOf(settings) == Side::above;
        result.p = above ? result.pLower : result.pUpper;
        const bool shown = result.p < settings.alpha;
        holdEnd(above ? result.low : result.high, marginOf(settings), above, shown);
        result.conclusion = settings::oneSidedDecision(settings.hypothesis, shown);
        return;
    }
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
