#pragma once
// Where the planning window starts: from the main window's boxes, where they
// hold numbers. The bound is the non-trivial difference; sigma is the SD of
// the difference scores in the matched design, otherwise the two SDs pooled
// with the group sizes (or, without both sizes, the root mean square of the
// two SDs); the sizes are the N boxes'; the assumed difference is 0. A box
// that holds no number leaves its planning box empty. Standard C++ only.

#include <string>

#include "plan_request.h"

namespace tarnwick::planner {

struct MainWindowTexts {
    bool matched = false;
    std::string sd1, n1, sd2, n2;
    std::string notTrivial;
    std::string sdMatched;  // the SD of the difference scores
};

PlanForm startingForm(const MainWindowTexts& texts);

}  // namespace tarnwick::planner
