#include "plot_axis.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "apa_format.h"

namespace tarnwick::figure {
namespace {

double niceStep(double span, int targetTicks) {
    const double raw = span / std::max(1, targetTicks - 1);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double multiple : {1.0, 2.0, 5.0}) {
        if (multiple * power >= raw) return multiple * power;
    }
    return 10 * power;
}

}  // namespace

std::string Axis::label(double tick) const {
    if (percent) return report::apa::fixed(100 * tick, decimals) + "%";
    if (std::fabs(tick) < report::apa::scientificFrom) return report::apa::fixed(tick, decimals);
    // Scientific notation, with the mantissa digits that tell the ticks apart.
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(tick))));
    const int stepExponent = static_cast<int>(std::floor(std::log10(step) + 1e-9));
    return report::apa::number(tick, std::clamp(exponent - stepExponent, 0, 15));
}

Axis niceAxis(const std::vector<double>& values, int targetTicks) {
    double low = INFINITY, high = -INFINITY;
    for (const double v : values) {
        if (std::isfinite(v)) low = std::min(low, v), high = std::max(high, v);
    }
    if (!(low <= high)) low = -1, high = 1;
    if (high - low <= 1e-300 * std::max(1.0, std::fabs(low))) low -= 0.5, high += 0.5;
    // high - low overflows for values beyond half the largest double (bounds
    // of 1e308): the padding and the step are then taken from tenths.
    const double pad = 0.6 * (high / 10 - low / 10);
    Axis axis;
    axis.low = std::max(low - pad, -DBL_MAX);
    axis.high = std::min(high + pad, DBL_MAX);
    const double span = axis.high - axis.low;
    axis.step = std::isfinite(span) ? niceStep(span, targetTicks)
                                    : 10 * niceStep(axis.high / 10 - axis.low / 10, targetTicks);
    if (!(axis.step > 0) || !std::isfinite(axis.step)) return axis;
    const double first = std::ceil(axis.low / axis.step);
    for (double k = first; k * axis.step <= axis.high && axis.ticks.size() < 50; k += 1) {
        axis.ticks.push_back(k * axis.step);
    }
    axis.decimals = std::max(0, -static_cast<int>(std::floor(std::log10(axis.step) + 1e-9)));
    return axis;
}

}  // namespace tarnwick::figure
