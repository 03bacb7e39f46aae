// The refusals that depend on the hypothesis. Comparisons are written so
// that NaN fails them too.

#include "hypothesis_checks.h"

#include <string>

namespace tarnwick::plan {

void checkDifferenceForSize(const Study& study) {
    if (settings::isOneSided(study.hypothesis)) {
        const bool above =
            settings::alternativeSide(study.hypothesis, study.better) == settings::Side::above;
        if (!(above ? study.difference > study.margin : study.difference < study.margin)) {
            throw PlanError(error::difference,
                            std::string("The true difference must lie ") +
                                (above ? "above" : "below") +
                                " the margin: on it or beyond it on the other side the power "
                                "never exceeds alpha, so no size reaches the target.");
        }
        return;
    }
    if (study.hypothesis == settings::Hypothesis::minimalEffect) {
        if (!(study.difference < study.lower || study.difference > study.upper)) {
            throw PlanError(error::difference,
                            "For the minimal-effect test the true difference must lie outside "
                            "the bounds: on or within them the test's null hypothesis holds, and "
                            "its power never rises with the size.");
        }
        return;
    }
    if (!(study.difference > study.lower && study.difference < study.upper)) {
        throw PlanError(error::difference,
                        "The true difference must lie inside the bounds: on or outside them the "
                        "power never exceeds alpha, so no size reaches the target.");
    }
}

void checkAsksForBound(const Study& study) {
    if (settings::isOneSided(study.hypothesis)) {
        throw PlanError(error::hypothesis,
                        "The smallest bound is a question of the equivalence test; a one-sided "
                        "question has a margin: ask for a size or a power.");
    }
    if (study.hypothesis == settings::Hypothesis::minimalEffect) {
        throw PlanError(error::hypothesis,
                        "The smallest bound is a question of the equivalence test; the "
                        "minimal-effect test does not ask it.");
    }
}

}  // namespace tarnwick::plan
