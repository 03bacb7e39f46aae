#pragma once
// The crossover report's picture, in the look every figure shares
// (figure_style.h): each subject's ratio T/R as a dot on a log axis centred
// on 100%, a row a sequence, and below them the ratio's interval with its
// estimate; the limits dashed across every row, the region between them
// shaded. Its words are the engine's (crossover_report.h). One drawing for
// the screen and for PNG, SVG and PDF; every length a multiple of the
// font's line height.

#include <QFont>
#include <optional>
#include <vector>

#include "crossover_report.h"
#include "picture_widget.h"
#include "plot_axis.h"

class QPainter;
class QPaintDevice;

namespace tarnwick::crossover_window {

struct CrossoverPicture {
    crossover_report::FigureWords words;
    // Each sequence's subjects' ratios, in the study's order of sequences.
    std::vector<std::vector<double>> rows;
    double ratio = 1, low = 1, high = 1;
    double lower = 0.8, upper = 1.25;  // the limits
    bool equivalent = false;
};

CrossoverPicture crossoverPicture(const crossover::CrossoverStudy& study,
                                  const crossover::CrossoverResult& result,
                                  const crossover::CrossoverSettings& settings,
                                  const std::vector<crossover::SubjectRatio>& ratios);

// The axis every value of the picture lies on.
figure::Axis pictureAxis(const CrossoverPicture& picture);

void paintCrossoverFigure(QPainter& painter, const QRectF& area, const CrossoverPicture& picture,
                          const QFont& font);
qreal crossoverFigureHeight(const CrossoverPicture& picture, const QFont& font,
                            const QPaintDevice* device);
// The narrowest width at which no text of the figure is clipped.
qreal crossoverFigureMinimumWidth(const CrossoverPicture& picture, const QFont& font,
                                  const QPaintDevice* device);

class CrossoverFigure final : public report::PictureWidget {
    Q_OBJECT

public:
    explicit CrossoverFigure(QWidget* parent = nullptr);

    void setPicture(const CrossoverPicture& picture);
    void clear();
    const std::optional<CrossoverPicture>& picture() const { return picture_; }

private:
    bool hasPicture() const override { return picture_.has_value(); }
    qreal pictureHeight(const QFont& font, const QPaintDevice* device) const override;
    qreal pictureMinimumWidth(const QFont& font, const QPaintDevice* device) const override;
    void paintPicture(QPainter& painter, const QRectF& area, const QFont& font) const override;

    std::optional<CrossoverPicture> picture_;
};

}  // namespace tarnwick::crossover_window
