#pragma once
// The power curve: power (in percent) against the size per group, or against
// the true difference, with the target power dashed across it and the answer
// marked by a dot on the curve, in the look of every figure the calculator
// draws. One drawing for the screen and for PNG, SVG and PDF.

#include <QWidget>
#include <optional>

#include "curve_points.h"

class QPainter;

namespace tarnwick::planner {

// Draws the curve into area, with text in font (whose point size is kept).
void paintPowerCurve(QPainter& painter, const QRectF& area, const CurveData& curve,
                     const QFont& font);

// The height the curve needs at the font's size.
qreal powerCurveHeight(const QFont& font, const QPaintDevice* device);

class PowerCurve final : public QWidget {
    Q_OBJECT

public:
    explicit PowerCurve(QWidget* parent = nullptr);

    // The curve to draw, or none (an empty white area) while the question has no answer.
    void setCurve(std::optional<CurveData> curve);
    const std::optional<CurveData>& curve() const { return curve_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<CurveData> curve_;
};

}  // namespace tarnwick::planner
