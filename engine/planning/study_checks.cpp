// Input checks: comparisons are written so that NaN fails them too.

#include "study_checks.h"

#include <cmath>
#include <string>

#include "one_sided_words.h"

namespace tarnwick::plan {
namespace {

[[noreturn]] void refuse(int number, const char* sentence) { throw PlanError(number, sentence); }

}  // namespace

void checkStudy(const Study& study, bool withBounds) {
    if (!(study.alpha > 0 && study.alpha < 0.5)) {
        refuse(error::alpha, "Alpha must lie strictly between 0 and 0.5.");
    }
    if (withBounds && settings::isOneSided(study.hypothesis)) {
        if (!std::isfinite(study.margin)) {
            refuse(error::margin, "The margin must be a finite number.");
        }
    } else if (withBounds) {
        if (!std::isfinite(study.lower) || !std::isfinite(study.upper)) {
            refuse(error::bounds, study.hypothesis == settings::Hypothesis::minimalEffect
                                      ? "The bounds must be finite numbers."
                                      : "The equivalence bounds must be finite numbers.");
        }
        if (!(study.lower < study.upper)) {
            refuse(error::bounds, "The lower bound must be below the upper bound.");
        }
    }
    if (!(study.sd > 0 && std::isfinite(study.sd))) {
        refuse(error::sd, "The SD must be a positive finite number.");
    }
    if (!std::isfinite(study.difference)) {
        refuse(error::difference, "The true difference must be a finite number.");
    }
}

void checkSizes(Design design, Sizes sizes) {
    const bool matched = design == Design::matched;
    if (sizes.n1 < 2 || (!matched && sizes.n2 < 2)) {
        refuse(error::size, matched ? "The number of pairs must be a whole number of at least 2."
                                    : "Each group's size must be a whole number of at least 2.");
    }
    if (sizes.n1 > maxSize || (!matched && sizes.n2 > maxSize)) {
        refuse(error::sizeAboveMaximum, matched ? "The number of pairs must not exceed 10,000,000."
                                                : "Each group's size must not exceed 10,000,000.");
    }
}

// Each sentence names what the study's own test concludes: the minimal-effect
// test errs, as the equivalence test does, with probability about alpha at a
// bound, but in the other direction (concluding a difference beyond it).
void checkTargetPower(double targetPower, const Study& study) {
    if (settings::isOneSided(study.hypothesis)) {
        checkOneSidedTarget(targetPower, study.alpha, study.hypothesis);
        return;
    }
    const bool minimalEffect = study.hypothesis == settings::Hypothesis::minimalEffect;
    if (!(targetPower > study.alpha)) {
        refuse(error::targetPower,
               minimalEffect
                   ? "The target power must be above alpha: a study concludes that the difference "
                     "lies beyond the bounds with probability about alpha even when the true "
                     "difference lies on a bound, so a target of alpha or less would be met by "
                     "studies that cannot tell."
                   : "The target power must be above alpha: a study concludes equivalence with "
                     "probability about alpha even when the true difference lies on a bound, so "
                     "a target of alpha or less would be met by studies that cannot tell.");
    }
    if (!(targetPower < 1)) {
        refuse(error::targetPower,
               minimalEffect ? "The target power must be below 1: no study of finite size is "
                               "certain to conclude that the difference lies beyond the bounds."
                             : "The target power must be below 1: no study of finite size is "
                               "certain to conclude equivalence.");
    }
}

void checkOneSidedTarget(double targetPower, double alpha, settings::Hypothesis hypothesis) {
    const std::string question = settings::hypothesisNoun(hypothesis);
    if (!(targetPower > alpha)) {
        throw PlanError(error::targetPower,
                        "The target power must be above alpha: a study shows " + question +
                            " with probability alpha when the true difference lies on the "
                            "margin, so a target of alpha or less would be met by studies that "
                            "cannot tell.");
    }
    if (!(targetPower < 1)) {
        throw PlanError(error::targetPower,
                        "The target power must be below 1: no study of "
                        "finite size is certain to show " +
                            question + ".");
    }
}

PowerInputs powerInputs(const Study& study, Sizes sizes) {
    PowerInputs inputs;
    inputs.margin = study.margin;
    inputs.side = settings::alternativeSide(study.hypothesis, study.better);
    inputs.alpha = study.alpha;
    inputs.lower = study.lower;
    inputs.upper = study.upper;
    inputs.difference = study.difference;
    inputs.sd = study.sd;
    inputs.hypothesis = study.hypothesis;
    const double n1 = static_cast<double>(sizes.n1);
    if (study.design == Design::matched) {
        inputs.designConstant = 1 / n1;
        inputs.df = n1 - 1;
    } else {
        const double n2 = static_cast<double>(sizes.n2);
        inputs.designConstant = (n1 + n2) / (n1 * n2);
        inputs.df = n1 + n2 - 2;
    }
    return inputs;
}

long wholeSize(double number) {
    if (!(number >= 2) || number != std::floor(number)) {
        refuse(error::size, "A size must be a whole number of at least 2.");
    }
    if (number > static_cast<double>(maxSize)) {
        refuse(error::sizeAboveMaximum, "A size must not exceed 10,000,000 per group.");
    }
    return static_cast<long>(number);
}

}  // namespace tarnwick::plan
