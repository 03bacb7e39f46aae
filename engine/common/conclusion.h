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
    // The one-sided questions: the one test at the margin significant, or not.
    nonInferior,
    notShownNonInferior,
    nonSuperior,
    notShownNonSuperior,
    superior,
    notShownSuperior,
};

// The decision rejects its null hypothesis: equivalent, or beyond the bounds.
constexpr bool rejectsNull(TostDecision decision) {
    return decision == TostDecision::equivalent || decision == TostDecision::beyondBounds ||
           decision == TostDecision::nonInferior || decision == TostDecision::nonSuperior ||
           decision == TostDecision::superior;
}

// "equivalent", "not_shown_equivalent", "beyond_bounds", "not_shown_beyond_bounds",
// "non_inferior", "not_shown_non_inferior", "non_superior", "not_shown_non_superior",
// "superior", "not_shown_superior".
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
        case TostDecision::nonInferior:
            return "non_inferior";
        case TostDecision::notShownNonInferior:
            return "not_shown_non_inferior";
        case TostDecision::nonSuperior:
            return "non_superior";
        case TostDecision::notShownNonSuperior:
            return "not_shown_non_superior";
        case TostDecision::superior:
            return "superior";
        case TostDecision::notShownSuperior:
            return "not_shown_superior";
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
    // A one-sided question's conclusion is its decision alone: the ordinary
    // two-sided test of no effect answers another question.
    nonInferior,
    notShownNonInferior,
    nonSuperior,
    notShownNonSuperior,
    superior,
    notShownSuperior,
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
        case TostDecision::nonInferior:
            return Conclusion::nonInferior;
        case TostDecision::notShownNonInferior:
            return Conclusion::notShownNonInferior;
        case TostDecision::nonSuperior:
            return Conclusion::nonSuperior;
        case TostDecision::notShownNonSuperior:
            return Conclusion::notShownNonSuperior;
        case TostDecision::superior:
            return Conclusion::superior;
        case TostDecision::notShownSuperior:
            return Conclusion::notShownSuperior;
    }
    return Conclusion::inconclusive;
}

// "equivalent", "equivalent_and_different", "different", "inconclusive",
// "beyond_bounds_and_different", "beyond_bounds", "different_not_beyond_bounds", and the
// one-sided decisions' own names (decisionName).
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
        case Conclusion::nonInferior:
            return decisionName(TostDecision::nonInferior);
        case Conclusion::notShownNonInferior:
            return decisionName(TostDecision::notShownNonInferior);
        case Conclusion::nonSuperior:
            return decisionName(TostDecision::nonSuperior);
        case Conclusion::notShownNonSuperior:
            return decisionName(TostDecision::notShownNonSuperior);
        case Conclusion::superior:
            return decisionName(TostDecision::superior);
        case Conclusion::notShownSuperior:
            return decisionName(TostDecision::notShownSuperior);
    }
    return "inconclusive";
}

}  // namespace tarnwick
