#include "interval_row.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "figure_style.h"

namespace tarnwick::figure {

void drawIntervalRow(QPainter& painter, const IntervalRow& row, qreal line,
                     const IntervalRowLook& look) {
    const qreal y = row.y;
    if (row.bar) {
        auto [a, b] = *row.bar;
        const qreal thinnest = look.thinnestBar * line;
        if (look.widening == Widening::aboutTheMiddle && b - a < thinnest) {
            const qreal middle = (a + b) / 2;
            a = middle - thinnest / 2;
            b = middle + thinnest / 2;
        } else if (look.widening == Widening::fromTheLowEnd) {
            b = std::max(b, a + thinnest);
        }
        const qreal half = look.barHalfHeight * line;
        painter.fillRect(QRectF(QPointF(a, y - half), QPointF(b, y + half)), row.barColour);
    }
    // Over the bar, visible also where the bar is the wider interval.
    if (row.whiskers) {
        const auto [a, b] = *row.whiskers;
        const qreal tick = look.tickHalfHeight * line;
        painter.setPen(pen(ink, markLineWidth(line)));
        painter.drawLine(QPointF(a, y), QPointF(b, y));
        painter.drawLine(QPointF(a, y - tick), QPointF(a, y + tick));
        painter.drawLine(QPointF(b, y - tick), QPointF(b, y + tick));
    }
    const qreal d = look.diamondHalf * line;
    const QPointF c(row.estimate, y);
    QPainterPath diamond;
    diamond.moveTo(c + QPointF(0, -d));
    diamond.lineTo(c + QPointF(d, 0));
    diamond.lineTo(c + QPointF(0, d));
    diamond.lineTo(c + QPointF(-d, 0));
    diamond.closeSubpath();
    painter.setPen(pen(ink, line / 10));
    painter.setBrush(look.diamondFilled ? QBrush(Qt::white) : QBrush(Qt::NoBrush));
    painter.drawPath(diamond);
    painter.setBrush(Qt::NoBrush);
}

}  // namespace tarnwick::figure
