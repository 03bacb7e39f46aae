#pragma once
// One row of a figure of intervals against bounds: a coloured bar for the
// interval the test reads, optionally a second interval drawn over it as a
// thin line with end ticks, and a diamond at the estimate. The equivalence
// plot and the scores figure draw their rows with this, each in its own look.

#include <QColor>
#include <QtGlobal>
#include <optional>
#include <utility>

class QPainter;

namespace tarnwick::figure {

// How a bar narrower than the thinnest drawn is widened.
enum class Widening {
    aboutTheMiddle,  // to the thinnest width, centred where it was
    fromTheLowEnd,   // its high end moved right to the thinnest width
};

// Lengths in line heights.
struct IntervalRowLook {
    qreal barHalfHeight;
    qreal thinnestBar;  // a bar is never drawn narrower, so it cannot disappear
    Widening widening;
    qreal tickHalfHeight;  // the second interval's end ticks
    qreal diamondHalf;     // from the estimate to each corner of the diamond
    // White inside, covering the bar; otherwise open, the intervals showing through.
    bool diamondFilled;
};

// The report's equivalence plot: the two-one-sided-tests interval as the bar,
// the ordinary test's interval over it, an open diamond.
inline constexpr IntervalRowLook equivalencePlotRow{.barHalfHeight = 0.22,
                                                    .thinnestBar = 0.5,
                                                    .widening = Widening::aboutTheMiddle,
                                                    .tickHalfHeight = 0.35,
                                                    .diamondHalf = 0.34,
                                                    .diamondFilled = false};

// The scores figure: one interval per analysis, a larger filled diamond.
inline constexpr IntervalRowLook scoresFigureRow{.barHalfHeight = 0.25,
                                                 .thinnestBar = 0.125,
                                                 .widening = Widening::fromTheLowEnd,
                                                 .tickHalfHeight = 0.35,
                                                 .diamondHalf = 0.45,
                                                 .diamondFilled = true};

// Positions on the device, the ends of an interval from left to right.
struct IntervalRow {
    qreal y = 0;  // the row's centre line
    std::optional<std::pair<qreal, qreal>> bar;
    QColor barColour;
    std::optional<std::pair<qreal, qreal>> whiskers;  // the second interval, if any
    qreal estimate = 0;
};

// Draws the bar, then the second interval, then the diamond on top. Leaves
// the painter's pen set and its brush empty.
void drawIntervalRow(QPainter& painter, const IntervalRow& row, qreal line,
                     const IntervalRowLook& look);

}  // namespace tarnwick::figure
