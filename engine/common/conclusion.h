#pragma once
// The one vocabulary of what an equivalence analysis concludes. Every
// analysis (the calculator's report, each analysis of raw scores) decides the
// two one-sided tests in the question asked (TostDecision); the report puts
// the ordinary test of no effect beside that decision (Conclusion). The
// machine-readable names are the tables' columns' words.

#include <string_view>

namespace tarnwick {

// What the two one-sided tests showed at alpha.
enum class TostDecision {
    equivalent,            // equivalence: both one-sided tests significant
    notShownEquivalent,    // equivalence: at least one is not
    beyondBounds,          // minimal effect: one of the reversed tests significant
    notShownBeyondBounds,  // minimal effect: neither is
};

// The decision rejects its null hypothesis: equivalent, or beyond the bounds.
constexpr bool rejectsNull(TostDecision decision) {
    return decision == TostDecision::equivalent || decision == TostDecision::beyondBounds;
}

// "equivalent", "not_shown_equivalent", "beyond_bounds", "not_shown_beyond_bounds".
constexpr std::string_view decisionName(TostDecision decision) {
    switch (decision) {
        case TostDecision::equivalent:
            return "equivalent";
        case TostDecision::notShownEquivalent:
            return "not_shown_equivalent";
        case TostDecision::beyondBounds:
            return "beyond_bounds";
        case TostDecision::notShownBeyondBounds:
            return "not_shown_beyond_bounds";
    }
    return "unknown";
}

// The decision with the ordinary test of no effect beside it.
enum class Conclusion {
    equivalent,              // equivalent, and not different from the null value
    equivalentAndDifferent,  // a real but negligible effect
    different,               // different from the null value, and not equivalent
    inconclusive,            // neither (either hypothesis)
    // The minimal-effect test's, with the ordinary test:
    beyondBoundsAndDifferent,  // beyond a bound, and different from the null value
    beyondBounds,              // beyond a bound, not different from the null value
    differentNotBeyondBounds,  // different from the null value, not shown beyond a bound
};

constexpr Conclusion conclusionOf(TostDecision decision, bool differentFromNull) {
    switch (decision) {
        case TostDecision::equivalent:
            return differentFromNull ? Conclusion::equivalentAndDifferent : Conclusion::equivalent;
        case TostDecision::notShownEquivalent:
            return differentFromNull ? Conclusion::different : Conclusion::inconclusive;
        case TostDecision::beyondBounds:
            return differentFromNull ? Conclusion::beyondBoundsAndDifferent
                                     : Conclusion::beyondBounds;
        case TostDecision::notShownBeyondBounds:
            return differentFromNull ? Conclusion::differentNotBeyondBounds
                                     : Conclusion::inconclusive;
    }
    return Conclusion::inconclusive;
}

// "equivalent", "equivalent_and_different", "different", "inconclusive",
// "beyond_bounds_and_different", "beyond_bounds", "different_not_beyond_bounds".
constexpr std::string_view conclusionName(Conclusion conclusion) {
    switch (conclusion) {
        case Conclusion::equivalent:
            return "equivalent";
        case Conclusion::equivalentAndDifferent:
            return "equivalent_and_different";
        case Conclusion::different:
            return "different";
        case Conclusion::inconclusive:
            return "inconclusive";
        case Conclusion::beyondBoundsAndDifferent:
            return "beyond_bounds_and_different";
        case Conclusion::beyondBounds:
            return "beyond_bounds";
        case Conclusion::differentNotBeyondBounds:
            return "different_not_beyond_bounds";
    }
    return "inconclusive";
}

}  // namespace tarnwick
