#pragma once
// The scores report's figure, in the look every figure shares
// (figure_style.h): above, each group's scores as points over its box plot
// on one axis (matched scores: the differences, one box), with the bounds
// marked; below, each analysis's interval against the bounds, the
// equivalence region shaded between them (a one-sided question: its one
// margin, the side of its alternative shaded to the axis's end). One drawing for the screen and
// for PNG, SVG and PDF; every length a multiple of the font's line height.

#include <QFont>
#include <optional>
#include <vector>

#include "picture_widget.h"
#include "score_report.h"

class QPainter;
class QPaintDevice;

namespace tarnwick::scores_window {

// What the figure draws: the answers and the scores behind them.
struct ScoresPicture {
    score_report::ScoreAnswers answers;
    // Independent: each group's scores; matched: the differences alone.
    std::vector<std::vector<double>> rows;
    std::vector<QString> rowNames;
};

// Builds the rows from the scores as analysed (on the ratio scale, their logs).
ScoresPicture scoresPicture(const score_report::ScoreAnswers& answers,
                            const std::vector<double>& group1, const std::vector<double>& group2);

// Where a point of a row is drawn, as a share of the row's height from its
// middle (-0.5 to 0.5): the same for the same index on every drawing, so
// that a picture of the same scores never changes.
double jitterOf(std::size_t index);

// Where the bounds are marked on the scores' axis: for matched scores the
// bounds themselves; for independent groups group 2's median plus each
// bound, where group 1's median would lie at a shift of that bound. On the
// ratio scale the rows are the logs and each bound is its log. A one-sided
// question's margin is both, and drawn once.
std::pair<double, double> markedBounds(const ScoresPicture& picture);

void paintScoresFigure(QPainter& painter, const QRectF& area, const ScoresPicture& picture,
                       const QFont& font);
// The narrowest width at which no text of the figure is clipped.
qreal scoresFigureMinimumWidth(const ScoresPicture& picture, const QFont& font,
                               const QPaintDevice* device);
qreal scoresFigureHeight(const ScoresPicture& picture, const QFont& font,
                         const QPaintDevice* device);

class ScoresFigure final : public report::PictureWidget {
    Q_OBJECT

public:
    explicit ScoresFigure(QWidget* parent = nullptr);

    void setPicture(const ScoresPicture& picture);
    void clear();
    const std::optional<ScoresPicture>& picture() const { return picture_; }

private:
    bool hasPicture() const override { return picture_.has_value(); }
    qreal pictureHeight(const QFont& font, const QPaintDevice* device) const override;
    qreal pictureMinimumWidth(const QFont& font, const QPaintDevice* device) const override;
    void paintPicture(QPainter& painter, const QRectF& area, const QFont& font) const override;

    std::optional<ScoresPicture> picture_;
};

}  // namespace tarnwick::scores_window
