#pragma once
// The planning window's question as typed, and as the planning engine takes
// it. Numbers are read by the calculator's own text rules ("." as the decimal
// mark in every locale), and a decimal comma as the data window reads one
// ("1,5"). Standard C++ only.

#include <string>

#include "plan.h"
#include "test_settings.h"

namespace tarnwick::planner {

enum class Question { size, power, bound };

// The boxes' texts and the choices, as the window holds them.
struct PlanForm {
    Question question = Question::size;
    plan::Design design = plan::Design::independent;
    bool symmetric = true;  // bounds -bound and +bound; otherwise lower and upper
    // Whether the difference lies beyond the bounds, rather than within them.
    bool minimalEffect = false;
    bool sdUnits = false;  // the bounds typed (or found) as multiples of the SD
    std::string alpha = "0.05";
    std::string bound, lower, upper;
    std::string difference = "0";
    std::string sd;
    std::string power = "0.8";  // the target, for a size or a bound
    std::string ratio = "1";    // n2 / n1, for a size in independent groups
    std::string n1, n2;         // the sizes, for a power or a bound; matched: n1 pairs
};

struct PlanRequest {
    Question question = Question::size;
    plan::Study study;
    double targetPower = 0.8;
    double ratio = 1;
    plan::Sizes sizes;
    // SD units: study.lower and study.upper are already raw; these are the
    // bounds as typed, in multiples of study.sd.
    settings::BoundUnits units = settings::BoundUnits::raw;
    double typedLower = 0, typedUpper = 0;
};

// The numbers of the refusals that come from the boxes rather than from the
// engine (whose PlanError numbers stay as they are).
namespace formError {
constexpr int notANumber = 101;        // a box the question needs holds no number
constexpr int notWholeSize = 102;      // a size with a fraction, or too large to count
constexpr int boundNotPositive = 103;  // a symmetric bound of 0 or below
}  // namespace formError

// The question in numbers. Throws plan::PlanError with a formError number
// and a sentence naming the box when a box the question needs holds no
// number or a size is not whole; the engine judges everything else.
PlanRequest readForm(const PlanForm& form);

}  // namespace tarnwick::planner
