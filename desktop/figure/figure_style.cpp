#include "figure_style.h"

#include <QFontMetricsF>
#include <QPainter>

namespace tarnwick::figure {

QColor regionShade() {
    QColor shade = okabeSkyBlue;
    shade.setAlphaF(0.28);
    return shade;
}

QPen pen(const QColor& colour, qreal width, Qt::PenStyle style) {
    return QPen(colour, width, style, Qt::FlatCap, Qt::MiterJoin);
}

qreal lineHeight(const QFont& font, const QPaintDevice* device) {
    return QFontMetricsF(font, device).height();
}

void drawBottomAxis(QPainter& painter, const Axis& axis, qreal left, qreal right, qreal y,
                    qreal line, const std::function<qreal(double)>& x) {
    painter.setPen(pen(ink, axisLineWidth(line)));
    painter.drawLine(QPointF(left, y), QPointF(right, y));
    for (const double tick : axis.ticks) {
        const qreal at = x(tick);
        painter.drawLine(QPointF(at, y), QPointF(at, y + 0.35 * line));
        painter.drawText(QRectF(at - 4 * line, y + 0.4 * line, 8 * line, 1.2 * line),
                         Qt::AlignHCenter | Qt::AlignTop, QString::fromStdString(axis.label(tick)));
    }
}

void drawLeftAxis(QPainter& painter, const Axis& axis, qreal top, qreal bottom, qreal x, qreal line,
                  const std::function<qreal(double)>& y) {
    painter.setPen(pen(ink, axisLineWidth(line)));
    painter.drawLine(QPointF(x, top), QPointF(x, bottom));
    for (const double tick : axis.ticks) {
        const qreal at = y(tick);
        painter.drawLine(QPointF(x - 0.35 * line, at), QPointF(x, at));
        painter.drawText(QRectF(x - 6.4 * line, at - 0.6 * line, 6 * line, 1.2 * line),
                         Qt::AlignRight | Qt::AlignVCenter,
                         QString::fromStdString(axis.label(tick)));
    }
}

}  // namespace tarnwick::figure
