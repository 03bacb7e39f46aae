#include "margin_end.h"

#include <cmath>

namespace tarnwick::report {

double endHeldToDecision(double end, double margin, settings::Side side, bool shown) {
    const bool above = side == settings::Side::above;
    const bool beyond = above ? end > margin : end < margin;
    if (beyond == shown || !std::isfinite(end)) return end;
    return shown ? std::nextafter(margin, above ? HUGE_VAL : -HUGE_VAL) : margin;
}

}  // namespace tarnwick::report
