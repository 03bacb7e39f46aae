#pragma once
// An axis of a figure: a range that holds every value drawn, and ticks at
// "nice" numbers (1, 2 or 5 times a power of ten).

#include <string>
#include <vector>

namespace tarnwick::figure {

struct Axis {
    double low = -1, high = 1;
    double step = 0.5;
    std::vector<double> ticks;
    int decimals = 1;  // enough to tell neighbouring ticks apart
    // Ticks labelled as percent of 1 (a ratio axis: 0.8 is "80%"), with
    // decimals counted on the percent.
    bool percent = false;
    // Fixed notation; scientific from 1e6 in magnitude, as the report's text.
    std::string label(double tick) const;
};

// An axis over the values (at least one finite one is expected; with none, or
// all equal, it spans a unit around them), padded a little on both sides,
// with about targetTicks ticks.
Axis niceAxis(const std::vector<double>& values, int targetTicks = 8);

// A ratio axis: logarithmic and centred on 1, ticks labelled in percent.
// Ratios at or below 0 have no place on it and are drawn at its left end.
Axis ratioAxis(const std::vector<double>& values, int targetTicks = 8);

// Where a ratio lies on a ratio axis, from 0 (its left end) to 1.
double ratioAxisShare(const Axis& axis, double value);

}  // namespace tarnwick::figure
