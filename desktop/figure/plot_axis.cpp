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

// A ratio axis: logarithmic and centred on 1 (as far below as above, so a
// ratio and its reciprocal lie at the same distance), ticks labelled in
// percent. Narrow spans get evenly stepped ratios (80%, 90%, 100%, ...);
// spans of more than a factor of 4 get 1, 2 and 5 times powers of ten.
// Ratios at or below 0 have no place on it and are drawn at its left end.
Axis ratioAxis(const std::vector<double>& values, int targetTicks) {
    double half = 0.1;
    for (const double v : values) {
        if (v > 0 && std::isfinite(std::log(v))) half = std::max(half, std::fabs(std::log(v)));
    }
    half = std::min(half * 1.08, 700.0);
    Axis axis;
    axis.percent = true;
    axis.low = std::exp(-half);
    axis.high = std::exp(half);
    if (axis.high / axis.low <= 4) {
        const Axis even = niceAxis({axis.low, axis.high}, targetTicks);
        axis.step = even.step;
        for (const double tick : even.ticks)
            if (tick >= axis.low && tick <= axis.high) axis.ticks.push_back(tick);
        axis.decimals = std::max(0, even.decimals - 2);
        return axis;
    }
    const int first = static_cast<int>(std::floor(std::log10(axis.low)));
    const int last = static_cast<int>(std::ceil(std::log10(axis.high)));
    // Fewer mantissas where the decades are many, so the labels fit.
    const std::vector<double> mantissas = last - first <= targetTicks / 3
                                              ? std::vector<double>{1, 2, 5}
                                          : last - first <= targetTicks ? std::vector<double>{1}
                                                                        : std::vector<double>{};
    const int decadeStep = mantissas.empty() ? (last - first + targetTicks - 1) / targetTicks : 1;
    for (int e = first; e <= last; e += decadeStep) {
        for (const double m : mantissas.empty() ? std::vector<double>{1} : mantissas) {
            const double tick = m * std::pow(10.0, e);
            if (tick >= axis.low && tick <= axis.high) axis.ticks.push_back(tick);
        }
    }
    axis.decimals = std::max(0, -first - 2);
    return axis;
}

double ratioAxisShare(const Axis& axis, double value) {
    const double at = value > axis.low ? std::log(value / axis.low) : 0;
    return at / std::log(axis.high / axis.low);
}

}  // namespace tarnwick::figure
