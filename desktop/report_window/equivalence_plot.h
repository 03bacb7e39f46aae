#pragma once
// The equivalence plot: the effect on its scale (the report's EffectScale:
// the difference in raw units, or the ratio on a log axis centred on 1 with
// ticks and bounds in percent) along a horizontal axis, the equivalence
// region between the bounds shaded with dashed edges, the null value (zero)
// marked, and for each design a thick 90% interval (the equivalence test's)
// under a thin 95% interval (the ordinary test's) and an open diamond at the
// point estimate, with the design and its conclusion written above the row.
// One drawing for the screen and for PNG, SVG and PDF.

#include <QWidget>
#include <vector>

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

// The narrowest width at which no text of the plot is clipped and the bound
// labels fit side by side.
qreal equivalencePlotMinimumWidth(const Report& report, const QFont& font,
                                  const QPaintDevice* device);

// Room left after a text that has another beside it, as a share of its
// width: a substitute font (an SVG read where Liberation Sans is missing;
// DejaVu Sans Bold is 22% wider) may be this much wider.
constexpr qreal substituteFontSpare = 0.3;

// A line of text the plot writes, and the box it takes (as wide as the text
// measures in its font): the bound labels, each row's design and conclusion,
// the axis title, the legend.
struct PlotText {
    QString text;
    QRectF box;
    bool bold = false;
};
std::vector<PlotText> equivalencePlotTexts(const QRectF& area, const Report& report,
                                           const QFont& font, const QPaintDevice* device);

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
