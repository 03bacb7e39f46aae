#include "plot_axis.h"

#include <algorithm>
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

std::string Axis::label(double tick) const { return report::apa::fixed(tick, decimals); }

Axis niceAxis(const std::vector<double>& values, int targetTicks) {
    double low = INFINITY, high = -INFINITY;
    for (const double v : values) {
        if (std::isfinite(v)) low = std::min(low, v), high = std::max(high, v);
    }
    if (!(low <= high)) low = -1, high = 1;
    if (high - low <= 1e-300 * std::max(1.0, std::fabs(low))) low -= 0.5, high += 0.5;
    const double pad = 0.06 * (high - low);
    Axis axis;
    axis.low = low - pad;
    axis.high = high + pad;
    axis.step = niceStep(axis.high - axis.low, targetTicks);
    if (!(axis.step > 0) || !std::isfinite(axis.step)) return axis;
    const double first = std::ceil(axis.low / axis.step);
    for (double k = first; k * axis.step <= axis.high && axis.ticks.size() < 50; k += 1) {
        axis.ticks.push_back(k * axis.step);
    }
    axis.decimals = std::max(0, -static_cast<int>(std::floor(std::log10(axis.step) + 1e-9)));
    return axis;
}

}  // namespace tarnwick::figure
