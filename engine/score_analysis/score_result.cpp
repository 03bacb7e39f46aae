#include "score_result.h"

#include <algorithm>

namespace tarnwick::score_analysis {

void conclude(const ScoreSettings& settings, ScoreResult& result) {
    const bool equivalence = settings.hypothesis == Hypothesis::equivalence;
    result.p = equivalence ? std::max(result.pLower, result.pUpper)
                           : std::min(result.pLower, result.pUpper);
    const bool rejected = result.p < settings.alpha;
    if (equivalence)
        result.conclusion = rejected ? Conclusion::equivalent : Conclusion::notShownEquivalent;
    else
        result.conclusion = rejected ? Conclusion::beyondBounds : Conclusion::notShownBeyondBounds;
    result.level = 1 - 2 * settings.alpha;
}

std::string_view conclusionName(Conclusion conclusion) {
    switch (conclusion) {
        case Conclusion::equivalent:
            return "equivalent";
        case Conclusion::notShownEquivalent:
            return "not_shown_equivalent";
        case Conclusion::beyondBounds:
            return "beyond_bounds";
        case Conclusion::notShownBeyondBounds:
            return "not_shown_beyond_bounds";
    }
    return "unknown";
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
