#pragma once
// The equivalence plot: the difference in raw units along a horizontal axis,
// the equivalence region between the bounds shaded with dashed edges, zero
// marked, and for each design a thick 90% interval (the equivalence test's)
// over a thin 95% interval (the ordinary test's) around the point estimate,
// with the conclusion written beside the row. One drawing for the screen and
// for PNG, SVG and PDF.

#include <QWidget>

#include "plot_axis.h"
#include "report.h"

class QPainter;

namespace tarnwick::report {

// The plot's axis is the one every figure draws.
using figure::Axis;
using figure::niceAxis;

// Draws the plot into area, with text in font (whose point size is kept, so
// that it reads the same on every device).
void paintEquivalencePlot(QPainter& painter, const QRectF& area, const Report& report,
                          const QFont& font);

// The height the plot needs at the font's size, for a given width.
qreal equivalencePlotHeight(const Report& report, const QFont& font, const QPaintDevice* device);

class EquivalencePlot final : public QWidget {
    Q_OBJECT

public:
    explicit EquivalencePlot(QWidget* parent = nullptr);

    void setReport(const Report& report);
    const std::optional<Report>& report() const { return report_; }

    // The plot as an image of the given logical size at the given pixel ratio.
    QImage image(QSize size, qreal pixelRatio) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<Report> report_;
};

}  // namespace tarnwick::report
