// Every length is a multiple of the font's line height on the device drawn
// on, in the look every figure shares (figure_style.h); the conclusion is
// written beside each row as well, so no meaning rests on colour alone.

#include "equivalence_plot.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <vector>

#include "apa_format.h"
#include "figure_style.h"
#include "report_text.h"

namespace tarnwick::report {
namespace {

using figure::ink;
using figure::lineHeight;
using figure::margin;
using figure::neutralGrey;
using figure::okabeBlue;
using figure::okabeVermillion;
using figure::pen;

// Vertical layout, in line heights.
constexpr qreal boundLabelsHeight = 1.4;
constexpr qreal rowCaptionHeight = 1.2;
constexpr qreal rowBarHeight = 1.6;
constexpr qreal rowGap = 0.5;
constexpr qreal axisHeight = 2.9;  // ticks, their labels and the axis title
constexpr qreal legendHeight = 3.4;

std::vector<const DesignReport*> rowsOf(const Report& report) {
    std::vector<const DesignReport*> rows{&report.independent};
    if (report.matched) rows.push_back(&*report.matched);
    return rows;
}

QString designName(const DesignReport& r) {
    if (r.design == Design::matched) return QStringLiteral("Matched samples (paired t)");
    return r.ordinary.welch ? QStringLiteral("Independent samples (Welch's t)")
                            : QStringLiteral("Independent samples (Student's t)");
}

QColor decisionColour(const DesignReport& r) {
    if (!r.equivalence) return neutralGrey;
    return r.equivalence->trivial ? okabeBlue : okabeVermillion;
}

QString boundText(double value, int decimals) {
    return QString::fromStdString(apa::fixed(value, decimals));
}

class Layout {
public:
    Layout(const QRectF& area, const Report& report, qreal line)
        : area_(area), line_(line), rows_(rowsOf(report)) {
        const EquivalenceTest* eq =
            report.independent.equivalence ? &*report.independent.equivalence : nullptr;
        std::vector<double> values{0.0};
        if (eq) values.insert(values.end(), {eq->boundLow, eq->boundHigh});
        for (const DesignReport* r : rows_) {
            values.push_back(r->difference);
            for (const Value* v : {&r->ordinary.ci95Low, &r->ordinary.ci95High}) {
                if (*v) values.push_back(*v->value);
            }
            if (r->equivalence) {
                for (const Value* v : {&r->equivalence->ci90Low, &r->equivalence->ci90High}) {
                    if (*v) values.push_back(*v->value);
                }
            }
        }
        axis_ = niceAxis(values);
    }

    qreal left() const { return area_.left() + margin * line_; }
    qreal right() const { return area_.right() - margin * line_; }
    qreal x(double v) const {
        return left() + (v - axis_.low) / (axis_.high - axis_.low) * (right() - left());
    }
    qreal rowsTop() const { return area_.top() + (margin + boundLabelsHeight) * line_; }
    qreal rowTop(std::size_t i) const {
        return rowsTop() +
               static_cast<qreal>(i) * (rowCaptionHeight + rowBarHeight + rowGap) * line_;
    }
    qreal rowCentre(std::size_t i) const {
        return rowTop(i) + (rowCaptionHeight + rowBarHeight / 2) * line_;
    }
    qreal axisY() const { return rowTop(rows_.size()); }
    const Axis& axis() const { return axis_; }
    const std::vector<const DesignReport*>& rows() const { return rows_; }
    qreal line() const { return line_; }

private:
    QRectF area_;
    qreal line_;
    std::vector<const DesignReport*> rows_;
    Axis axis_;
};

void drawRegion(QPainter& painter, const Layout& at, const DesignReport& first, int decimals) {
    if (!first.equivalence) return;
    const EquivalenceTest& eq = *first.equivalence;
    const qreal top = at.rowsTop() - 0.2 * at.line();
    const qreal bottom = at.axisY();
    const qreal xLow = at.x(eq.boundLow), xHigh = at.x(eq.boundHigh);
    if (eq.boundLow < eq.boundHigh)
        painter.fillRect(QRectF(QPointF(xLow, top), QPointF(xHigh, bottom)), figure::regionShade());
    painter.setPen(pen(ink, figure::markLineWidth(at.line()), Qt::DashLine));
    painter.drawLine(QPointF(xLow, top), QPointF(xLow, bottom));
    painter.drawLine(QPointF(xHigh, top), QPointF(xHigh, bottom));
    const qreal labelTop = top - boundLabelsHeight * at.line();
    const QString lowText = QStringLiteral("lower bound ") + boundText(eq.boundLow, decimals);
    const QString highText = QStringLiteral("upper bound ") + boundText(eq.boundHigh, decimals);
    // Each label hangs from its line towards the outside, so that the two
    // never overlap however close the bounds are, and is kept inside the plot.
    const QFontMetricsF metrics(painter.font(), painter.device());
    const qreal gap = 0.3 * at.line();
    const auto place = [&](const QString& text, qreal x, bool hangLeft) {
        const qreal width = metrics.horizontalAdvance(text);
        qreal left = hangLeft ? x - gap - width : x + gap;
        left = std::clamp(left, at.left(), std::max(at.left(), at.right() - width));
        painter.drawText(QRectF(left, labelTop, width + 1, at.line() * 1.2),
                         Qt::AlignLeft | Qt::AlignBottom, text);
    };
    painter.setPen(ink);
    const bool ordered = xLow <= xHigh;
    place(lowText, xLow, ordered);
    place(highText, xHigh, !ordered);
}

void drawRow(QPainter& painter, const Layout& at, std::size_t i, const QFont& font) {
    const DesignReport& r = *at.rows()[i];
    const qreal line = at.line();
    const qreal y = at.rowCentre(i);

    QFont bold = font;
    bold.setBold(true);
    const QRectF caption(at.left(), at.rowTop(i), at.right() - at.left(), rowCaptionHeight * line);
    painter.setPen(ink);
    painter.setFont(font);
    const QString name = designName(r) + QStringLiteral(": ");
    const QString decision = QString::fromStdString(conclusionLabel(r.conclusion));
    const qreal nameWidth = QFontMetricsF(font, painter.device()).horizontalAdvance(name);
    // A white backdrop keeps the caption clear of the bounds' lines.
    const qreal captionWidth =
        nameWidth + QFontMetricsF(bold, painter.device()).horizontalAdvance(decision);
    painter.fillRect(QRectF(caption.left(), caption.top() + 0.1 * line, captionWidth,
                            caption.height() - 0.2 * line),
                     Qt::white);
    painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter, name);
    painter.setFont(bold);
    painter.drawText(caption.adjusted(nameWidth, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     decision);
    painter.setFont(font);

    // The 95% interval: a thin line with end ticks.
    if (r.ordinary.ci95Low && r.ordinary.ci95High) {
        const qreal a = at.x(*r.ordinary.ci95Low.value), b = at.x(*r.ordinary.ci95High.value);
        painter.setPen(pen(ink, line / 12));
        painter.drawLine(QPointF(a, y), QPointF(b, y));
        painter.drawLine(QPointF(a, y - 0.35 * line), QPointF(a, y + 0.35 * line));
        painter.drawLine(QPointF(b, y - 0.35 * line), QPointF(b, y + 0.35 * line));
    }
    // The 90% interval: a thick bar.
    if (r.equivalence && r.equivalence->ci90Low && r.equivalence->ci90High) {
        const qreal a = at.x(*r.equivalence->ci90Low.value);
        const qreal b = at.x(*r.equivalence->ci90High.value);
        painter.fillRect(QRectF(QPointF(a, y - 0.22 * line), QPointF(b, y + 0.22 * line)),
                         decisionColour(r));
    }
    // The point estimate: a white diamond with a black edge.
    const qreal d = 0.34 * line;
    const QPointF c(at.x(r.difference), y);
    QPainterPath diamond;
    diamond.moveTo(c + QPointF(0, -d));
    diamond.lineTo(c + QPointF(d, 0));
    diamond.lineTo(c + QPointF(0, d));
    diamond.lineTo(c + QPointF(-d, 0));
    diamond.closeSubpath();
    painter.setPen(pen(ink, line / 14));
    painter.setBrush(Qt::white);
    painter.drawPath(diamond);
    painter.setBrush(Qt::NoBrush);
}

void drawAxis(QPainter& painter, const Layout& at, bool withMatched) {
    const qreal line = at.line();
    const qreal y = at.axisY();
    figure::drawBottomAxis(painter, at.axis(), at.left(), at.right(), y, line,
                           [&at](double v) { return at.x(v); });
    painter.drawText(QRectF(at.left(), y + 1.6 * line, at.right() - at.left(), 1.2 * line),
                     Qt::AlignHCenter | Qt::AlignTop,
                     withMatched
                         ? QStringLiteral("Difference in raw units (group 1 minus group 2; "
                                          "matched: mean of the difference scores)")
                         : QStringLiteral("Difference in raw units (group 1 minus group 2)"));
}

void drawZero(QPainter& painter, const Layout& at) {
    painter.setPen(pen(neutralGrey, at.line() / 14));
    const qreal x = at.x(0);
    painter.drawLine(QPointF(x, at.rowsTop() - 0.2 * at.line()), QPointF(x, at.axisY()));
}

enum class Bounds { none, ordered, coinciding, reversed };

void drawLegend(QPainter& painter, const Layout& at, Bounds bounds) {
    const qreal line = at.line();
    qreal y = at.axisY() + axisHeight * line + 0.2 * line;
    const qreal sampleLeft = at.left(), sampleRight = at.left() + 2.2 * line;
    const qreal textLeft = sampleRight + 0.6 * line;
    const auto text = [&](const QString& words) {
        painter.setPen(ink);
        painter.drawText(QRectF(textLeft, y - 0.6 * line, at.right() - textLeft, 1.2 * line),
                         Qt::AlignLeft | Qt::AlignVCenter, words);
        y += 1.1 * line;
    };
    painter.fillRect(
        QRectF(QPointF(sampleLeft, y - 0.22 * line), QPointF(sampleRight, y + 0.22 * line)),
        okabeBlue);
    text(QStringLiteral("90% CI, the equivalence test's (blue: equivalent; orange: not)"));
    painter.setPen(pen(ink, line / 12));
    painter.drawLine(QPointF(sampleLeft, y), QPointF(sampleRight, y));
    text(QStringLiteral("95% CI, the ordinary test's; diamond: the difference"));
    if (bounds == Bounds::none) {
        text(QStringLiteral("no bounds: no non-trivial difference was entered"));
        return;
    }
    if (bounds == Bounds::ordered) {
        painter.fillRect(QRectF(sampleLeft, y - 0.5 * line, sampleRight - sampleLeft, line),
                         figure::regionShade());
        painter.setPen(pen(ink, line / 12, Qt::DashLine));
        painter.drawLine(QPointF(sampleLeft, y - 0.5 * line), QPointF(sampleLeft, y + 0.5 * line));
        painter.drawLine(QPointF(sampleRight, y - 0.5 * line),
                         QPointF(sampleRight, y + 0.5 * line));
        text(QStringLiteral("equivalence region between the bounds (dashed)"));
    } else {
        painter.setPen(pen(ink, line / 12, Qt::DashLine));
        painter.drawLine(QPointF(sampleLeft, y - 0.5 * line), QPointF(sampleLeft, y + 0.5 * line));
        text(bounds == Bounds::reversed
                 ? QStringLiteral("bounds (dashed) reversed by a negative non-trivial difference: "
                                  "no equivalence region")
                 : QStringLiteral("bounds (dashed) at zero: no equivalence region"));
    }
}

qreal heightInLines(const Report& report) {
    const auto rows = static_cast<qreal>(rowsOf(report).size());
    return 2 * margin + boundLabelsHeight + rows * (rowCaptionHeight + rowBarHeight + rowGap) +
           axisHeight + legendHeight;
}

}  // namespace

qreal equivalencePlotHeight(const Report& report, const QFont& font, const QPaintDevice* device) {
    return heightInLines(report) * lineHeight(font, device);
}

void paintEquivalencePlot(QPainter& painter, const QRectF& area, const Report& report,
                          const QFont& font) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font);
    painter.fillRect(area, Qt::white);
    const Layout at(area, report, lineHeight(font, painter.device()));
    const DesignReport& first = report.independent;
    const int decimals = apa::rawDecimals(first.ordinary.standardError);
    drawRegion(painter, at, first, decimals);
    drawZero(painter, at);
    for (std::size_t i = 0; i < at.rows().size(); ++i)
        drawRow(painter, at, i, font);
    drawAxis(painter, at, report.matched.has_value());
    const Bounds bounds =
        !first.equivalence                                            ? Bounds::none
        : first.equivalence->boundLow < first.equivalence->boundHigh  ? Bounds::ordered
        : first.equivalence->boundLow == first.equivalence->boundHigh ? Bounds::coinciding
                                                                      : Bounds::reversed;
    drawLegend(painter, at, bounds);
    painter.restore();
}

EquivalencePlot::EquivalencePlot(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void EquivalencePlot::setReport(const Report& report) {
    report_ = report;
    updateGeometry();
    update();
}

QImage EquivalencePlot::image(QSize size, qreal pixelRatio) const {
    QImage image(size * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::white);
    if (report_) {
        QPainter painter(&image);
        paintEquivalencePlot(painter, QRectF(QPointF(0, 0), QSizeF(size)), *report_, font());
    }
    return image;
}

QSize EquivalencePlot::sizeHint() const {
    const qreal line = QFontMetricsF(font()).height();
    const qreal lines = report_ ? heightInLines(*report_) : 10;
    return {qRound(40 * line), qRound(lines * line) + 1};
}

QSize EquivalencePlot::minimumSizeHint() const {
    const qreal line = QFontMetricsF(font()).height();
    const qreal lines = report_ ? heightInLines(*report_) : 10;
    return {qRound(26 * line), qRound(lines * line) + 1};
}

void EquivalencePlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (report_) paintEquivalencePlot(painter, QRectF(rect()), *report_, font());
}

}  // namespace tarnwick::report
