#pragma once
// One planning question read from the texts of a table row (or of the
// command line's options): what to find, the study, and what is given.

#include <array>
#include <string>

#include "plan.h"
#include "plan_columns.h"

namespace tarnwick::planner {

enum class Question {
    size,   // the smallest size reaching a target power
    power,  // the power at given sizes
    bound,  // the narrowest symmetric bounds reaching a target power at given sizes
};

// The texts of a row, one for each input column; an empty text, like an
// absent column, means "not given".
using RowTexts = std::array<std::string, inputColumnCount>;

struct Request {
    Question question = Question::size;
    plan::Study study;
    double targetPower = 0;  // for Question::size and Question::bound
    double ratio = 1;        // n2 / n1, for Question::size
    plan::Sizes sizes;       // for Question::power and Question::bound
    // SD units: study.lower and study.upper are already raw; these are the
    // bounds as typed, in multiples of study.sd.
    settings::BoundUnits units = settings::BoundUnits::raw;
    double typedLower = 0, typedUpper = 0;
};

// Why a row cannot be read as a question. The numbers follow on from the
// planning engine's own (plan::PlanError), so that one message column and one
// exception type serve both.
enum class RequestProblem {
    unknownQuestion = 101,  // solve is empty or not n, power or bound
    unknownDesign,          // design is not independent or matched
    notANumber,             // a numeric column holds something else
    missingValue,           // a value the question needs is not given
    unusedValue,            // a value is given that the question does not use
    boundNotPositive,       // bound is zero or negative
    boundsTwice,            // bound and lower/upper both given
    sizeNotWhole,           // n1 or n2 is not a whole number
    ratioNotPositive,       // ratio is zero, negative or not finite
    sizesDisagree,          // n2 and ratio are both given and do not agree
    unknownHypothesis,      // hypothesis is not equivalence or minimal_effect
    unknownBoundUnits,      // bound_units is not raw or d
};

class RequestError : public plan::PlanError {
public:
    RequestError(RequestProblem problem, std::string description)
        : plan::PlanError(static_cast<int>(problem), std::move(description) + ".") {}
};

// Reads the question; throws RequestError with one sentence naming the
// column at fault.
// Numbers are read with "." as the decimal mark, an optional exponent, and
// nothing else in the field (no spaces); they must be finite.
Request readRequest(const RowTexts& texts);

}  // namespace tarnwick::planner
