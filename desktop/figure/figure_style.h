#pragma once
// The look that every figure of the calculator shares: its colours, pens and
// margins, and the axis drawn under a plot. Every length is a multiple of the
// font's line height on the device drawn on, so one drawing keeps its
// proportions on the screen at any scale, in a 2x PNG, in SVG and on a
// 600 dpi PDF page. Colours are from the Okabe-Ito palette, which colour-blind
// readers tell apart; no figure lets a meaning rest on colour alone.

#include <QColor>
#include <QFont>
#include <QPen>
#include <QRectF>
#include <QString>
#include <functional>

#include "plot_axis.h"

class QPainter;
class QPaintDevice;

namespace tarnwick::figure {

inline const QColor okabeBlue(0, 114, 178);
inline const QColor okabeVermillion(213, 94, 0);
inline const QColor okabeSkyBlue(86, 180, 233);
inline const QColor neutralGrey(110, 110, 110);
inline const QColor ink(0, 0, 0);

// The space around a figure, in line heights.
constexpr qreal margin = 0.8;

// The sky blue that shades a region, light enough for lines to show through.
QColor regionShade();

// Flat caps and mitred joins, so that bars and ticks end where they are meant to.
QPen pen(const QColor& colour, qreal width, Qt::PenStyle style = Qt::SolidLine);

// The width of an axis line, and of a line that marks something on the plot.
inline qreal axisLineWidth(qreal line) { return line / 14; }
inline qreal markLineWidth(qreal line) { return line / 12; }

// The height of a line of text in the font on the device.
qreal lineHeight(const QFont& font, const QPaintDevice* device);

// A horizontal axis line from left to right at height y, with ticks hanging
// below it and their labels under them; x maps a value to its position.
void drawBottomAxis(QPainter& painter, const Axis& axis, qreal left, qreal right, qreal y,
                    qreal line, const std::function<qreal(double)>& x);

// A vertical axis line from top to bottom at x, with ticks to its left and
// their labels beside them, right-aligned; y maps a value to its position.
void drawLeftAxis(QPainter& painter, const Axis& axis, qreal top, qreal bottom, qreal x, qreal line,
                  const std::function<qreal(double)>& y);

}  // namespace tarnwick::figure
