#pragma once
// The power curve's points: the power of the answer's plan at a few dozen
// sizes (the answer's own among them), or at a few dozen true differences
// across and beyond the bounds (the bounds among them), with more points
// wherever a straight line between two of them would stray from the power.
// At most a few hundred engine calls of microseconds each, so the curve
// follows the typing. Standard C++ only.

#include <string>
#include <vector>

#include "plan_answer.h"

namespace tarnwick::planner {

enum class CurveAxis { size, difference };

// Between two drawn points the line stays within this of the power (checked
// at the middle of each stretch), as long as the points last.
inline constexpr double bendTolerance = 0.002;
inline constexpr std::size_t maxCurvePoints = 600;

struct CurvePoint {
    double x = 0;
    double power = 0;
};

struct CurveData {
    CurveAxis axis = CurveAxis::size;
    std::vector<CurvePoint> points;  // x ascending
    CurvePoint answer;               // where the answer sits on the curve
    bool hasTarget = false;          // a target power to mark (not for a power question)
    double target = 0;
    // The bounds, marked on the difference axis; for a one-sided question the
    // margin and a finite end drawn beyond the true value on its side.
    double lower = 0, upper = 0;
    std::string xTitle;
};

// Sizes from 2 to about twice the answer's n1 (never beyond the engine's
// largest), or differences from a quarter of the bounds' width below the
// lower bound to as far above the upper one. Points where the engine refuses
// are left out.
CurveData curveOf(const Answer& answer, CurveAxis axis, int points = 41);

}  // namespace tarnwick::planner
