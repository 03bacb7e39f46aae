#include "score_moments.h"

#include <limits>

#include "moments.h"
#include "score_checks.h"
#include "score_error.h"

namespace tarnwick::score_analysis {

Moments meanAndSd(std::span<const double> scores) {
    const moments::Moments found = moments::meanAndSd(scores);
    switch (found.problem) {
        case moments::Problem::none:
            break;
        case moments::Problem::scoreNotFinite:
            throw ScoreError(ScoreErrorNumber::notFinite, "Every score must be a finite number.");
        case moments::Problem::sdBeyondDouble:
            finiteOrTooLarge(std::numeric_limits<double>::infinity(), "the SD");
    }
    return {found.mean, found.sd};
}

}  // namespace tarnwick::score_analysis
