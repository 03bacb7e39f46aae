#pragma once
// A planning question as the planning engine takes it, whichever front end
// read it: what to find, the study, and what is given. The readers of a
// table row (row_request.h) and of the planning window's boxes
// (form_request.h) both build it, and refuse what they cannot read with
// this room's numbers. Standard C++ only.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "be_plan.h"
#include "plan.h"
#include "test_settings.h"

namespace tarnwick::planner {

enum class Question {
    size,   // the smallest size reaching a target power
    power,  // the power at given sizes
    bound,  // the narrowest symmetric bounds reaching a target power at given sizes
    // Bioequivalence from reported numbers (be_reported.h):
    interval,  // the interval, the one-sided p values and the conclusion from GMR, CV, sizes
    cv,        // the CV a published interval implies
};

// A question of a bioequivalence design (be_design.h), on the ratio scale
// or on the raw scale in units of the reference mean (be_plan.h).
struct BeRequest {
    be::BeStudy study;                // study.cv is 0 for Question::cv
    std::vector<long> sequenceSizes;  // for power, interval and cv: one size per sequence
    double estimate = 0;              // Question::interval: the ratio of geometric means
    double ciLower = 0, ciUpper = 0;  // Question::cv: the published interval
};

struct Request {
    Question question = Question::size;
    plan::Study study;
    double targetPower = 0.8;  // for Question::size and Question::bound
    double ratio = 1;          // n2 / n1, for Question::size
    plan::Sizes sizes;         // for Question::power and Question::bound
    // SD units: study.lower and study.upper are already raw; these are the
    // bounds as typed, in multiples of study.sd.
    settings::BoundUnits units = settings::BoundUnits::raw;
    double typedLower = 0, typedUpper = 0;
    // Present for a question of a bioequivalence design; `study` and the
    // sizes above are then not used.
    std::optional<BeRequest> be;
};

// Why a question cannot be read. The planning engine's own refusals
// (plan::PlanError, 401 to 411) and these share one exception type, so that
// one message column and one catch serve both; the numbers are this room's.
enum class RequestProblem {
    unknownQuestion = 421,  // solve is empty or not n, power or bound
    unknownDesign,          // design is not independent or matched
    notANumber,             // a number the question needs is something else (a box: or empty)
    missingValue,           // a value the question needs is not given
    unusedValue,            // a value is given that the question does not use
    boundNotPositive,       // a symmetric bound of zero or below
    boundsTwice,            // bound and lower/upper both given
    sizeNotWhole,           // a size with a fraction, or too large to count
    ratioNotPositive,       // ratio is zero, negative or not finite
    sizesDisagree,          // n2 and ratio are both given and do not agree
    unknownHypothesis,      // hypothesis is not equivalence or minimal_effect
    unknownBoundUnits,      // bound_units is not raw or d
    sizesTwice,             // sizes and n both given
    sizesNotAList,          // sizes is not whole numbers separated by commas
    notOnThisScale,         // a question, design or value the scale or design does not take
};

class RequestError : public plan::PlanError {
public:
    RequestError(RequestProblem problem, std::string sentence)
        : plan::PlanError(static_cast<int>(problem), std::move(sentence)) {}
};

// What every reader does last: the bounds as typed kept, and bounds typed in
// SD units turned into the raw ones the test uses (found bounds are raw, and
// only written in SD units).
void settleBoundUnits(Request& request);

}  // namespace tarnwick::planner
