// Lengths are multiples of the font's line height, as in every figure
// (figure_style.h); the answer and the target are written in the legend as
// well as drawn, so no meaning rests on colour or dash alone.

#include "power_curve.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "figure_style.h"
#include "plan_words.h"

namespace tarnwick::planner {
namespace {

using figure::ink;
using figure::pen;

// Vertical layout, in line heights.
constexpr qreal titleHeight = 2;      // "Power (%)" above the vertical axis
constexpr qreal plotHeight = 11;      // at least; on screen the plot takes what room there is
constexpr qreal axisHeight = 2.9;     // ticks, their labels and the axis title
constexpr qreal legendHeight = 2.6;   // two lines, wrapped between words
constexpr qreal leftAxisWidth = 3.2;  // the power labels left of the axis

QString words(const std::string& text) { return QString::fromStdString(text); }

// A size as the answer writes it: "10,000,000".
QString sizeLabel(double tick) { return words(count(std::lround(tick))); }

// Sizes are whole participants, from 2 to the largest drawn, with as few
// ticks as leave a label's width between labels.
figure::Axis sizeAxis(double high, qreal plotWidth, qreal labelWidth) {
    const int fit = std::clamp(static_cast<int>(plotWidth / (1.5 * labelWidth)), 2, 8);
    figure::Axis axis;
    axis.low = 2;
    axis.high = std::max(high, 3.0);
    // The step: 1, 2 or 5 times a power of ten, whole, and no more ticks than fit.
    const double least = std::max(1.0, (axis.high - axis.low) / fit);
    const double power = std::pow(10.0, std::floor(std::log10(least)));
    axis.step = 10 * power;
    for (const double multiple : {5.0, 2.0, 1.0}) {
        if (multiple * power >= least) axis.step = multiple * power;
    }
    axis.decimals = 0;
    for (double k = std::ceil(axis.low / axis.step); k * axis.step <= axis.high; k += 1)
        axis.ticks.push_back(k * axis.step);
    return axis;
}

class Frame {
public:
    Frame(const QRectF& area, const CurveData& curve, qreal line, const QFontMetricsF& metrics)
        : line_(line), areaRight_(area.right()) {
        left_ = area.left() + (figure::margin + leftAxisWidth) * line;
        right_ = area.right() - (figure::margin + 0.6) * line;
        top_ = area.top() + (figure::margin + titleHeight) * line;
        const qreal room = area.bottom() - (figure::margin + axisHeight + legendHeight) * line;
        bottom_ = std::max(top_ + plotHeight * line, room);
        std::vector<double> xs;
        for (const CurvePoint& p : curve.points)
            xs.push_back(p.x);
        if (curve.axis == CurveAxis::difference) xs.insert(xs.end(), {curve.lower, curve.upper});
        if (curve.axis == CurveAxis::size && !xs.empty()) {
            // Sizes start at 2: the axis starts there, not at a padded negative size.
            const double high = *std::max_element(xs.begin(), xs.end());
            x_ = sizeAxis(high, right_ - left_, metrics.horizontalAdvance(sizeLabel(high)));
        } else {
            x_ = figure::niceAxis(xs);
        }
        y_ = figure::niceAxis({0.0, 100.0}, 7);
        y_.low = 0;
        y_.high = 100;
    }
    qreal x(double v) const { return left_ + (v - x_.low) / (x_.high - x_.low) * (right_ - left_); }
    qreal y(double percent) const { return bottom_ - percent / 100 * (bottom_ - top_); }
    qreal left() const { return left_; }
    qreal right() const { return right_; }
    qreal top() const { return top_; }
    qreal bottom() const { return bottom_; }
    qreal line() const { return line_; }
    qreal areaRight() const { return areaRight_; }
    const figure::Axis& xAxis() const { return x_; }
    const figure::Axis& yAxis() const { return y_; }

private:
    qreal line_, areaRight_, left_, right_, top_, bottom_;
    figure::Axis x_, y_;
};

void drawBounds(QPainter& painter, const Frame& at, const CurveData& curve) {
    const qreal low = at.x(curve.lower), high = at.x(curve.upper);
    painter.fillRect(QRectF(QPointF(low, at.top()), QPointF(high, at.bottom())),
                     figure::regionShade());
    painter.setPen(pen(ink, figure::markLineWidth(at.line()), Qt::DashLine));
    painter.drawLine(QPointF(low, at.top()), QPointF(low, at.bottom()));
    painter.drawLine(QPointF(high, at.top()), QPointF(high, at.bottom()));
}

void drawCurve(QPainter& painter, const Frame& at, const CurveData& curve) {
    QPainterPath path;
    for (std::size_t i = 0; i < curve.points.size(); ++i) {
        const QPointF p(at.x(curve.points[i].x), at.y(100 * curve.points[i].power));
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    painter.setPen(pen(figure::okabeBlue, at.line() / 6));
    painter.drawPath(path);
}

void drawTargetAndAnswer(QPainter& painter, const Frame& at, const CurveData& curve) {
    const qreal line = at.line();
    if (curve.hasTarget) {
        painter.setPen(pen(figure::okabeVermillion, figure::markLineWidth(line), Qt::DashLine));
        const qreal y = at.y(100 * curve.target);
        painter.drawLine(QPointF(at.left(), y), QPointF(at.right(), y));
    }
    const QPointF dot(at.x(curve.answer.x), at.y(100 * curve.answer.power));
    painter.setPen(pen(figure::neutralGrey, figure::axisLineWidth(line), Qt::DotLine));
    painter.drawLine(dot, QPointF(dot.x(), at.bottom()));
    painter.setPen(pen(ink, line / 14));
    painter.setBrush(figure::okabeVermillion);
    painter.drawEllipse(dot, 0.3 * line, 0.3 * line);
    painter.setBrush(Qt::NoBrush);
}

// As the figures' bottom axis, but a label near the right end is moved in
// rather than cut by the figure's edge.
void drawSizeAxis(QPainter& painter, const Frame& at) {
    const qreal line = at.line();
    const qreal y = at.bottom();
    const QFontMetricsF metrics(painter.font(), painter.device());
    painter.setPen(pen(ink, figure::axisLineWidth(line)));
    painter.drawLine(QPointF(at.left(), y), QPointF(at.right(), y));
    for (const double tick : at.xAxis().ticks) {
        const qreal x = at.x(tick);
        painter.drawLine(QPointF(x, y), QPointF(x, y + 0.35 * line));
        const QString label = sizeLabel(tick);
        const qreal width = metrics.horizontalAdvance(label) + 0.2 * line;
        const qreal left = std::min(x - width / 2, at.areaRight() - 0.2 * line - width);
        painter.drawText(QRectF(left, y + 0.4 * line, width, 1.2 * line),
                         Qt::AlignHCenter | Qt::AlignTop, label);
    }
}

void drawAxes(QPainter& painter, const Frame& at, const CurveData& curve) {
    const qreal line = at.line();
    painter.setPen(ink);
    painter.drawText(QRectF(at.left() - leftAxisWidth * line, at.top() - titleHeight * line,
                            20 * line, 1.1 * line),
                     Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Power (%)"));
    figure::drawLeftAxis(painter, at.yAxis(), at.top(), at.bottom(), at.left(), line,
                         [&at](double v) { return at.y(v); });
    if (curve.axis == CurveAxis::size) {
        drawSizeAxis(painter, at);
    } else {
        figure::drawBottomAxis(painter, at.xAxis(), at.left(), at.right(), at.bottom(), line,
                               [&at](double v) { return at.x(v); });
    }
    painter.drawText(
        QRectF(at.left(), at.bottom() + 1.6 * line, at.right() - at.left(), 1.2 * line),
        Qt::AlignHCenter | Qt::AlignTop, words(curve.xTitle));
}

QString answerWords(const CurveData& curve) {
    const QString power = words(percent(curve.answer.power));
    if (curve.axis == CurveAxis::size)
        return QStringLiteral("dot: the answer, %1 power at %2")
            .arg(power, words(count(std::lround(curve.answer.x))));
    return QStringLiteral("dot: the assumed difference, %1 power").arg(power);
}

void drawLegend(QPainter& painter, const Frame& at, const CurveData& curve) {
    const qreal line = at.line();
    const qreal y = at.bottom() + axisHeight * line + 0.6 * line;
    QString text = answerWords(curve);
    if (curve.hasTarget) {
        text += QStringLiteral("; dashed: the target, %1").arg(words(targetPercent(curve.target)));
    }
    if (curve.axis == CurveAxis::difference) text += QStringLiteral("; shaded: between the bounds");
    painter.setPen(ink);
    painter.drawText(QRectF(at.left() - leftAxisWidth * line, y - 0.6 * line,
                            at.right() - at.left() + leftAxisWidth * line, legendHeight * line),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
}

}  // namespace

qreal powerCurveHeight(const QFont& font, const QPaintDevice* device) {
    const qreal lines = 2 * figure::margin + titleHeight + plotHeight + axisHeight + legendHeight;
    return lines * figure::lineHeight(font, device);
}

void paintPowerCurve(QPainter& painter, const QRectF& area, const CurveData& curve,
                     const QFont& font) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font);
    painter.fillRect(area, Qt::white);
    const Frame at(area, curve, figure::lineHeight(font, painter.device()),
                   QFontMetricsF(font, painter.device()));
    painter.save();
    painter.setClipRect(
        QRectF(QPointF(at.left(), at.top() - at.line()), QPointF(at.right(), at.bottom())));
    if (curve.axis == CurveAxis::difference) drawBounds(painter, at, curve);
    drawCurve(painter, at, curve);
    painter.restore();
    drawTargetAndAnswer(painter, at, curve);
    drawAxes(painter, at, curve);
    drawLegend(painter, at, curve);
    painter.restore();
}

PowerCurve::PowerCurve(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void PowerCurve::setCurve(std::optional<CurveData> curve) {
    curve_ = std::move(curve);
    update();
}

QSize PowerCurve::sizeHint() const {
    const qreal line = QFontMetricsF(font()).height();
    return {qRound(36 * line), qRound(powerCurveHeight(font(), this)) + 1};
}

QSize PowerCurve::minimumSizeHint() const {
    const qreal line = QFontMetricsF(font()).height();
    return {qRound(26 * line), qRound(powerCurveHeight(font(), this)) + 1};
}

void PowerCurve::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (curve_) paintPowerCurve(painter, QRectF(rect()), *curve_, font());
}

}  // namespace tarnwick::planner
