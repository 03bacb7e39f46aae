// Input checks: comparisons are written so that NaN fails them too.

#include "be_checks.h"

#include <cmath>
#include <numeric>
#include <string>

namespace tarnwick::be {
namespace {

[[noreturn]] void refuse(int number, const std::string& sentence) {
    throw plan::PlanError(number, sentence);
}

}  // namespace

double logScaleSd(double cv) { return std::sqrt(std::log1p(cv * cv)); }

void checkStudy(const BeStudy& study) {
    if (!(study.alpha > 0 && study.alpha < 0.5)) {
        refuse(error::alpha, "Alpha must lie strictly between 0 and 0.5.");
    }
    const bool ratio = study.scale == Scale::ratio;
    if (settings::isOneSided(study.hypothesis)) {
        if (!std::isfinite(study.margin)) {
            refuse(error::margin, "The margin must be a finite number.");
        }
        if (ratio && !(study.margin > 0)) {
            refuse(error::margin, "The margin of the ratio must be a positive finite number.");
        }
    } else if (!ratio && !(std::isfinite(study.lower) && std::isfinite(study.upper))) {
        refuse(error::bounds, "The bounds must be finite numbers.");
    } else if (ratio && !(study.lower > 0 && std::isfinite(study.upper))) {
        refuse(error::bounds, "The bounds of the ratio must be positive finite numbers.");
    } else if (!(study.lower < study.upper)) {
        refuse(error::bounds, "The lower bound of the ratio must be below the upper bound.");
    }
    if (!(study.cv > 0 && std::isfinite(study.cv))) {
        refuse(error::cv, "The CV must be a positive finite number (0.30 for 30%).");
    }
    if (!std::isfinite(study.ratio0)) {
        refuse(error::ratio0, "The true ratio must be a finite number.");
    }
    if (ratio && !(study.ratio0 > 0)) {
        refuse(error::ratio0, "The true ratio must be a positive finite number.");
    }
}

void checkSequenceSizes(BeDesign design, const std::vector<long>& sequenceSizes) {
    const DesignConstants& d = designConstants(design);
    if (sequenceSizes.size() != static_cast<std::size_t>(d.sequences)) {
        refuse(error::sequences, "The " + std::string(d.name) + " design needs " +
                                     std::to_string(d.sequences) + " sizes, one per " +
                                     (design == BeDesign::parallel ? "group." : "sequence."));
    }
    long total = 0;
    for (const long n : sequenceSizes) {
        if (n < 1) {
            refuse(error::size, "Every sequence needs at least one subject.");
        }
        if (n > maxTotal - total) {
            refuse(error::sizeAboveMaximum, "A study must not have more than 10,000,000 subjects.");
        }
        total += n;
    }
    if (!(degreesOfFreedom(design, total) >= 1)) {
        refuse(error::size, "With " + std::to_string(total) + " subjects the " +
                                std::string(d.name) +
                                " design leaves no degrees of freedom for the error: give more.");
    }
}

TestScale onTestScale(const BeStudy& study) {
    const bool oneSided = settings::isOneSided(study.hypothesis);
    if (study.scale == Scale::ratio) {
        return {std::log(study.lower), std::log(study.upper), std::log(study.ratio0),
                logScaleSd(study.cv), oneSided ? std::log(study.margin) : 0};
    }
    return {study.lower - 1, study.upper - 1, study.ratio0 - 1, study.cv,
            oneSided ? study.margin - 1 : 0};
}

plan::PowerInputs powerInputs(const BeStudy& study, const std::vector<long>& sequenceSizes) {
    const TestScale scaled = onTestScale(study);
    plan::PowerInputs inputs;
    inputs.alpha = study.alpha;
    inputs.lower = scaled.lower;
    inputs.upper = scaled.upper;
    inputs.difference = scaled.difference;
    inputs.sd = scaled.sd;
    inputs.hypothesis = study.hypothesis;
    inputs.margin = scaled.margin;
    inputs.side = settings::alternativeSide(study.hypothesis, study.better);
    inputs.designConstant = designConstant(study.design, sequenceSizes);
    inputs.df = degreesOfFreedom(study.design,
                                 std::accumulate(sequenceSizes.begin(), sequenceSizes.end(), 0L));
    return inputs;
}

}  // namespace tarnwick::be
