#pragma once
// Where the planning window starts: from the main window's boxes, where they
// hold numbers. The bound is the non-trivial difference; sigma is the SD of
// the difference scores in the matched design, otherwise the two SDs pooled
// with the group sizes (or, without both sizes, the root mean square of the
// two SDs); the sizes are the N boxes'; the assumed difference is 0. A box
// that holds no number leaves its planning box empty. Standard C++ only.

#include <string>

#include "form_request.h"

namespace tarnwick::planner {

struct MainWindowTexts {
    bool matched = false;
    std::string sd1, n1, sd2, n2;
    std::string notTrivial;
    std::string sdMatched;  // the SD of the difference scores
};

PlanForm startingForm(const MainWindowTexts& texts);

// The boxes here with the calculator's numbers taken: its design, and its
// bound (symmetric, in raw units), SD and sizes where it holds them; the
// question, the test, alpha, the difference and the target stay as they are.
PlanForm withCalculatorNumbers(const PlanForm& here, const PlanForm& calculator);

// One sentence on where the boxes' numbers stand against the calculator's:
// "These are the calculator's numbers: a bound of 0.5, an SD of 1.2, and
// group sizes of 40 and 40." when they agree, or what
// the calculator holds that differs: "The calculator holds other numbers: a
// bound of 12 (here 1), an SD of 2 (here 1.5)." Numbers are compared by
// value ("0.50" is 0.5) and quoted as the boxes would hold them.
std::string calculatorLine(const PlanForm& here, const PlanForm& calculator);

// True when taking the calculator's numbers would change a box or a choice.
bool differsFromCalculator(const PlanForm& here, const PlanForm& calculator);

}  // namespace tarnwick::planner
