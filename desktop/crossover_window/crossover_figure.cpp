// Every length is a multiple of the font's line height on the device drawn
// on (figure_style.h); the interval's conclusion is written above it as
// well, so no meaning rests on colour alone.

#include "crossover_figure.h"

#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "figure_style.h"
#include "interval_row.h"

namespace tarnwick::crossover_window {
namespace {

using figure::ink;
using figure::lineHeight;
using figure::margin;
using figure::neutralGrey;
using figure::okabeBlue;
using figure::okabeVermillion;
using figure::pen;

// Vertical layout, in line heights.
constexpr qreal textLine = 1.1;
constexpr qreal subjectBand = 1.6;  // one sequence's dots
constexpr qreal dotSize = 0.34;
constexpr qreal intervalBar = 1.2;
constexpr qreal rowsGap = 0.4;
constexpr qreal tickLabelsHeight = 1.6;
constexpr qreal widthInLines = 34;  // the narrowest the captions need

QString fromStd(const std::string& text) { return QString::fromStdString(text); }

// Fainter as they grow many, so that where they pile up still shows more.
int dotAlpha(std::size_t dots) {
    if (dots <= 100) return 170;
    return std::max(30, static_cast<int>(170 * std::sqrt(100.0 / static_cast<double>(dots))));
}

// The same spread for the same index on every drawing (the fractional parts
// of multiples of the golden ratio), from -0.5 to 0.5.
double jitterOf(std::size_t index) {
    return std::fmod(static_cast<double>(index) * 0.6180339887498949, 1.0) - 0.5;
}

qreal figureLines(const CrossoverPicture& picture) {
    return textLine + static_cast<qreal>(picture.rows.size()) * (textLine + subjectBand) + rowsGap +
           textLine + intervalBar + tickLabelsHeight +
           textLine * static_cast<qreal>(1 + picture.words.legend.size());
}

void writeLine(QPainter& painter, qreal left, qreal top, qreal line, const QString& text,
               bool bold = false) {
    QFont font = painter.font();
    font.setBold(bold);
    painter.setFont(font);
    painter.setPen(ink);
    painter.drawText(QRectF(left, top, 200 * line, textLine * line),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, text);
    font.setBold(false);
    painter.setFont(font);
}

}  // namespace

CrossoverPicture crossoverPicture(const crossover::CrossoverStudy& study,
                                  const crossover::CrossoverResult& result,
                                  const crossover::CrossoverSettings& settings,
                                  const std::vector<crossover::SubjectRatio>& ratios) {
    CrossoverPicture picture;
    picture.words = crossover_report::figureWords(study, result, settings, ratios);
    picture.rows.resize(study.sequences.size());
    for (const crossover::SubjectRatio& ratio : ratios)
        picture.rows.at(ratio.sequence).push_back(ratio.ratio);
    picture.ratio = result.ratio;
    picture.low = result.low;
    picture.high = result.high;
    picture.lower = settings.bounds.lower;
    picture.upper = settings.bounds.upper;
    picture.equivalent = result.decision == TostDecision::equivalent;
    return picture;
}

figure::Axis pictureAxis(const CrossoverPicture& picture) {
    std::vector<double> values = {picture.lower, picture.upper, picture.low, picture.high, 1.0};
    for (const auto& row : picture.rows)
        values.insert(values.end(), row.begin(), row.end());
    return figure::ratioAxis(values);
}

qreal crossoverFigureHeight(const CrossoverPicture& picture, const QFont& font,
                            const QPaintDevice* device) {
    return (2 * margin + figureLines(picture)) * lineHeight(font, device);
}

qreal crossoverFigureMinimumWidth(const CrossoverPicture& picture, const QFont& font,
                                  const QPaintDevice* device) {
    const crossover_report::FigureWords& w = picture.words;
    QFont bold = font;
    bold.setBold(true);
    const QFontMetricsF plain(font, device);
    qreal widest = QFontMetricsF(bold, device).horizontalAdvance(fromStd(w.title));
    std::vector<std::string> lines = w.sequenceCaptions;
    lines.insert(lines.end(), w.legend.begin(), w.legend.end());
    lines.push_back(w.intervalCaption);
    lines.push_back(w.axisTitle);
    for (const std::string& text : lines)
        widest = std::max(widest, plain.horizontalAdvance(fromStd(text)));
    return widest + 2 * margin * lineHeight(font, device);
}

void paintCrossoverFigure(QPainter& painter, const QRectF& area, const CrossoverPicture& picture,
                          const QFont& font) {
    painter.save();
    painter.setFont(font);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal line = lineHeight(font, painter.device());
    const qreal left = area.left() + margin * line, right = area.right() - margin * line;
    const figure::Axis axis = pictureAxis(picture);
    const auto x = [&](double value) {
        return left + figure::ratioAxisShare(axis, value) * (right - left);
    };
    qreal y = area.top() + margin * line;
    writeLine(painter, left, y, line, fromStd(picture.words.title), true);
    y += textLine * line;

    const qreal rowsTop = y;
    const qreal rowsHeight = (static_cast<qreal>(picture.rows.size()) * (textLine + subjectBand) +
                              rowsGap + textLine + intervalBar) *
                             line;
    painter.fillRect(
        QRectF(QPointF(x(picture.lower), rowsTop), QPointF(x(picture.upper), rowsTop + rowsHeight)),
        figure::regionShade());
    painter.setPen(pen(neutralGrey, figure::axisLineWidth(line)));
    painter.drawLine(QPointF(x(1.0), rowsTop), QPointF(x(1.0), rowsTop + rowsHeight));

    for (std::size_t r = 0; r < picture.rows.size(); ++r) {
        writeLine(painter, left, y, line, fromStd(picture.words.sequenceCaptions.at(r)));
        y += textLine * line;
        const qreal middle = y + subjectBand * line / 2;
        QColor dot = okabeBlue;
        dot.setAlpha(dotAlpha(picture.rows[r].size()));
        painter.setPen(pen(dot, line / 14));
        painter.setBrush(Qt::NoBrush);
        const qreal size = dotSize * line;
        for (std::size_t i = 0; i < picture.rows[r].size(); ++i) {
            const qreal py = middle + jitterOf(i) * (subjectBand - dotSize) * line;
            painter.drawEllipse(
                QRectF(x(picture.rows[r][i]) - size / 2, py - size / 2, size, size));
        }
        y += subjectBand * line;
    }
    y += rowsGap * line;
    writeLine(painter, left, y, line, fromStd(picture.words.intervalCaption));
    y += textLine * line;
    figure::IntervalRow row;
    row.y = y + intervalBar * line / 2;
    row.bar = {x(picture.low), x(picture.high)};
    row.barColour = picture.equivalent ? okabeBlue : okabeVermillion;
    row.estimate = x(picture.ratio);
    figure::drawIntervalRow(painter, row, line, figure::scoresFigureRow);
    y += intervalBar * line;

    painter.setPen(pen(ink, figure::markLineWidth(line), Qt::DashLine));
    for (const double limit : {picture.lower, picture.upper})
        painter.drawLine(QPointF(x(limit), rowsTop), QPointF(x(limit), y));
    figure::drawBottomAxis(painter, axis, left, right, y, line, x);
    y += tickLabelsHeight * line;
    writeLine(painter, left, y, line, fromStd(picture.words.axisTitle));
    for (const std::string& legend : picture.words.legend) {
        y += textLine * line;
        writeLine(painter, left, y, line, fromStd(legend));
    }
    painter.restore();
}

CrossoverFigure::CrossoverFigure(QWidget* parent) : report::PictureWidget(widthInLines, parent) {}

void CrossoverFigure::setPicture(const CrossoverPicture& picture) {
    picture_ = picture;
    pictureChanged();
}

void CrossoverFigure::clear() {
    picture_.reset();
    pictureChanged();
}

qreal CrossoverFigure::pictureHeight(const QFont& font, const QPaintDevice* device) const {
    return crossoverFigureHeight(*picture_, font, device);
}

qreal CrossoverFigure::pictureMinimumWidth(const QFont& font, const QPaintDevice* device) const {
    return crossoverFigureMinimumWidth(*picture_, font, device);
}

void CrossoverFigure::paintPicture(QPainter& painter, const QRectF& area, const QFont& font) const {
    paintCrossoverFigure(painter, area, *picture_, font);
}

}  // namespace tarnwick::crossover_window
