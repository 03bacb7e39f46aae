// Every length is a multiple of the font's line height on the device drawn
// on (figure_style.h); each interval's conclusion is written beside it as
// well, so no meaning rests on colour alone.

#include "scores_figure.h"

#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "apa_format.h"
#include "figure_style.h"
#include "interval_row.h"
#include "one_sided_words.h"
#include "report_words.h"

namespace tarnwick::scores_window {
namespace {

using figure::ink;
using figure::lineHeight;
using figure::margin;
using figure::neutralGrey;
using figure::okabeBlue;
using figure::okabeVermillion;
using figure::pen;
using score_report::analysisTable;

// Vertical layout, in line heights.
constexpr qreal textLine = 1.1;
constexpr qreal scoreBand = 2.2;  // one group's points and box
constexpr qreal boxHeight = 1.2;
constexpr qreal pointSpread = 1.6;  // the height the jittered points take
constexpr qreal pointSize = 0.32;
constexpr qreal tickLabelsHeight = 1.6;
constexpr qreal panelGap = 1.2;
constexpr qreal boundGap = 0.4;  // between the title and the shaded region
constexpr qreal intervalBar = 1.2;
constexpr qreal intervalGap = 0.4;
// Up to this many a row, each score is a point; beyond it the points would
// hide the box and take seconds to draw, so the row is a shaded strip whose
// darkness says how many scores lie there.
constexpr std::size_t mostPointsDrawn = 2000;

bool binned(const ScoresPicture& picture) {
    return std::any_of(picture.rows.begin(), picture.rows.end(),
                       [](const auto& row) { return row.size() > mostPointsDrawn; });
}

// Fainter as they grow many, so that where they pile up still shows more.
int pointAlpha(std::size_t points) {
    if (points <= 200) return 150;
    return std::max(40, static_cast<int>(150 * std::sqrt(200.0 / static_cast<double>(points))));
}
constexpr qreal widthInLines = 34;  // the narrowest the captions need

bool minimalEffect(const ScoresPicture& picture) {
    return picture.answers.settings.hypothesis == settings::Hypothesis::minimalEffect;
}

// A one-sided question draws its one margin where the bounds would be.
bool oneSided(const ScoresPicture& picture) {
    return score_analysis::isOneSided(picture.answers.settings);
}

// "non-inferiority": the question's title within a line.
QString questionWords(const ScoresPicture& picture) {
    QString title = QString::fromStdString(
        std::string(settings::hypothesisTitle(picture.answers.settings.hypothesis)));
    title[0] = title[0].toLower();
    return title;
}

QString fromStd(const std::string& text) { return QString::fromStdString(text); }

QString differenceName(const ScoresPicture& picture) {
    return fromStd(picture.answers.label1 + " - " + picture.answers.label2);
}

bool onRatioScale(const ScoresPicture& picture) {
    return picture.answers.settings.scale == score_analysis::Scale::ratio;
}

QString ratioName(const ScoresPicture& picture) {
    return fromStd(picture.answers.label1 + " / " + picture.answers.label2);
}

bool concludes(const score_report::ScoreResult& result) { return rejectsNull(result.conclusion); }

QString boundText(const ScoresPicture& picture, double value) {
    // A ratio bound as typed (0.80, 1.25), not to the ratios' four decimals.
    const int decimals = onRatioScale(picture) ? 2 : score_report::rawUnitDecimals(picture.answers);
    return fromStd(report::apa::number(value, report::apa::decimalsForExact(value, decimals)));
}

// "+ 2.00", "- 2.00": a bound added to a median.
QString signedBound(const ScoresPicture& picture, double value) {
    return value < 0 ? QStringLiteral("- ") + boundText(picture, -value)
                     : QStringLiteral("+ ") + boundText(picture, value);
}

// Every line of text the figure writes, each from the left edge: one list
// for drawing and for the width the figure needs.
struct FigureTexts {
    QString scoresTitle;
    std::vector<QString> rowCaptions;
    QString scoresAxisTitle, scoresLegend;
    QString intervalsTitle;
    std::vector<QString> analysisCaptions;
    QString intervalsAxisTitle, intervalsLegend;
};

FigureTexts figureTexts(const ScoresPicture& picture) {
    const auto& answers = picture.answers;
    const auto& s = answers.settings;
    FigureTexts t;
    const QString logs = onRatioScale(picture) ? QStringLiteral(" of the logs") : QString();
    t.scoresTitle =
        answers.matched
            ? QStringLiteral("The differences%1 (%2), over their box plot")
                  .arg(logs, differenceName(picture))
            : QStringLiteral("Each group's scores%1, over its box plot")
                  .arg(onRatioScale(picture) ? QStringLiteral(" as natural logs") : QString());
    for (std::size_t r = 0; r < picture.rows.size(); ++r) {
        const auto grouped = [](std::size_t count) {
            return QString::fromStdString(
                score_report::words::groupedCount(static_cast<long>(count)));
        };
        QString caption =
            QStringLiteral("%1 (n = %2)").arg(picture.rowNames[r], grouped(picture.rows[r].size()));
        const std::size_t outliers = answers.shapes[r].outliers.size();
        if (outliers > 0)
            caption += QStringLiteral("; %1 beyond the whiskers").arg(grouped(outliers));
        t.rowCaptions.push_back(caption);
    }
    t.scoresAxisTitle =
        onRatioScale(picture)
            ? (answers.matched
                   ? QStringLiteral("Difference of the paired scores' natural logs (%1)")
                         .arg(differenceName(picture))
                   : QStringLiteral("Natural log of the score"))
        : answers.matched
            ? QStringLiteral("Difference of the paired scores (%1)").arg(differenceName(picture))
            : QStringLiteral("Score");
    // On the ratio scale the scores are drawn as analysed, as their logs,
    // and a ratio bound is its log added.
    t.scoresLegend =
        onRatioScale(picture)
            ? (answers.matched
                   ? QStringLiteral(
                         "Dashed: the bounds, ln %1 and ln %2; box: quartiles and median")
                         .arg(boundText(picture, s.lower), boundText(picture, s.upper))
                   : QStringLiteral("Dashed: %1's median + ln %2 and + ln %3; box: quartiles and "
                                    "median")
                         .arg(fromStd(answers.label2), boundText(picture, s.lower),
                              boundText(picture, s.upper)))
        : answers.matched
            ? QStringLiteral("Dashed: the bounds, %1 and %2; box: quartiles and median")
                  .arg(boundText(picture, s.lower), boundText(picture, s.upper))
            : QStringLiteral("Dashed: %1's median %2 and %3; box: quartiles and median")
                  .arg(fromStd(answers.label2), signedBound(picture, s.lower),
                       signedBound(picture, s.upper));
    if (oneSided(picture)) {
        const QString margin = boundText(picture, score_analysis::marginOf(s));
        t.scoresLegend =
            onRatioScale(picture)
                ? (answers.matched
                       ? QStringLiteral("Dashed: the margin, ln %1; box: quartiles and median")
                             .arg(margin)
                       : QStringLiteral("Dashed: %1's median + ln %2; box: quartiles and median")
                             .arg(fromStd(answers.label2), margin))
            : answers.matched
                ? QStringLiteral("Dashed: the margin, %1; box: quartiles and median").arg(margin)
                : QStringLiteral("Dashed: %1's median %2; box: quartiles and median")
                      .arg(fromStd(answers.label2),
                           signedBound(picture, score_analysis::marginOf(s)));
    }
    // The bounds named in the title rather than beside their lines, where
    // close bounds or one at the edge would leave no room for a label.
    if (binned(picture))
        t.scoresLegend += QStringLiteral("; shade: where the scores lie, darker where more");
    const bool ratio = onRatioScale(picture);
    t.intervalsTitle = QStringLiteral("Each analysis's %1% CI of the %2 (%3), bounds %4 and %5")
                           .arg(fromStd(report::apa::percent(1 - 2 * s.alpha)),
                                ratio ? QStringLiteral("ratio") : QStringLiteral("difference"),
                                ratio ? ratioName(picture) : differenceName(picture),
                                boundText(picture, s.lower), boundText(picture, s.upper));
    if (oneSided(picture))
        t.intervalsTitle =
            QStringLiteral("Each analysis's %1% CI of the %2 (%3), %4 margin %5")
                .arg(fromStd(report::apa::percent(1 - 2 * s.alpha)),
                     ratio ? QStringLiteral("ratio") : QStringLiteral("difference"),
                     ratio ? ratioName(picture) : differenceName(picture), questionWords(picture),
                     boundText(picture, score_analysis::marginOf(s)));
    for (const score_report::AnalysisEntry& analysis : analysisTable())
        t.analysisCaptions.push_back(fromStd(score_report::figureCaption(answers, analysis)));
    t.intervalsAxisTitle =
        ratio ? QStringLiteral("Ratio of %1 to %2, in percent (log scale)")
                    .arg(fromStd(answers.label1), fromStd(answers.label2))
              : QStringLiteral("Difference in raw units (%1)").arg(differenceName(picture));
    t.intervalsLegend =
        oneSided(picture) ? QStringLiteral(
                                "Shaded: beyond the margin, %1 better; blue: %2 shown; orange: not "
                                "shown; diamond: the estimate")
                                .arg(s.better == settings::Better::higher ? QStringLiteral("higher")
                                                                          : QStringLiteral("lower"),
                                     questionWords(picture))
        : minimalEffect(picture)
            ? QStringLiteral("Blue: beyond the bounds; orange: not shown; diamond: the estimate")
            : QStringLiteral(
                  "Shaded: between the bounds; blue: equivalent; orange: not shown; diamond: the "
                  "estimate");
    return t;
}

// The parts' heights, in line heights.
qreal scoresPanelLines(const ScoresPicture& picture) {
    return textLine + static_cast<qreal>(picture.rows.size()) * (textLine + scoreBand) +
           tickLabelsHeight + 2 * textLine;
}
qreal intervalsPanelLines() {
    return textLine + boundGap +
           static_cast<qreal>(analysisTable().size()) * (textLine + intervalBar + intervalGap) +
           tickLabelsHeight + 2 * textLine;
}

struct Mapping {
    figure::Axis axis;
    qreal left = 0, right = 0;
    bool ratio = false;  // a log axis of ratios
    qreal x(double value) const {
        if (ratio) return left + figure::ratioAxisShare(axis, value) * (right - left);
        return left + (value - axis.low) / (axis.high - axis.low) * (right - left);
    }
};

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

void drawDashed(QPainter& painter, qreal x, qreal top, qreal bottom, qreal line) {
    painter.setPen(pen(ink, figure::markLineWidth(line), Qt::DashLine));
    painter.drawLine(QPointF(x, top), QPointF(x, bottom));
}

// Many scores as a strip of narrow bins across the points' height, each as
// dark as the share of the row's scores in the fullest bin (square-root
// scaled, so that a few scores far out still show).
void paintDensityStrip(QPainter& painter, const std::vector<double>& scores, const Mapping& at,
                       qreal middle, qreal line) {
    const qreal binWidth = pointSize * line / 2;
    const auto bins = static_cast<std::size_t>(std::ceil((at.right - at.left) / binWidth)) + 1;
    std::vector<std::size_t> counts(bins, 0);
    for (const double score : scores) {
        const qreal offset =
            std::clamp((at.x(score) - at.left) / binWidth, 0.0, static_cast<qreal>(bins - 1));
        ++counts[static_cast<std::size_t>(offset)];
    }
    const double fullest = static_cast<double>(*std::max_element(counts.begin(), counts.end()));
    painter.setPen(Qt::NoPen);
    const qreal top = middle - pointSpread * line / 2;
    for (std::size_t b = 0; b < bins; ++b) {
        if (counts[b] == 0) continue;
        QColor shade = okabeBlue;
        shade.setAlpha(30 +
                       static_cast<int>(170 * std::sqrt(static_cast<double>(counts[b]) / fullest)));
        painter.setBrush(shade);
        painter.drawRect(
            QRectF(at.left + static_cast<qreal>(b) * binWidth, top, binWidth, pointSpread * line));
    }
    painter.setBrush(Qt::NoBrush);
}

qreal paintScoresPanel(QPainter& painter, qreal left, qreal right, qreal top,
                       const ScoresPicture& picture, const FigureTexts& texts, qreal line) {
    const auto& answers = picture.answers;
    const auto [lowMark, highMark] = markedBounds(picture);
    std::vector<double> values = {lowMark, highMark};
    for (const auto& row : picture.rows)
        values.insert(values.end(), row.begin(), row.end());
    Mapping at{figure::niceAxis(values), left, right};

    qreal y = top;
    writeLine(painter, left, y, line, texts.scoresTitle, true);
    y += textLine * line;
    for (std::size_t r = 0; r < picture.rows.size(); ++r) {
        const auto& scores = picture.rows[r];
        const score_report::ScoreShape& shape = answers.shapes[r];
        writeLine(painter, left, y, line, texts.rowCaptions[r]);
        y += textLine * line;
        const qreal middle = y + scoreBand * line / 2;
        // The points first, the box over them, so that many points do not hide it.
        if (scores.size() > mostPointsDrawn) {
            paintDensityStrip(painter, scores, at, middle, line);
        } else {
            QColor point = okabeBlue;
            point.setAlpha(pointAlpha(scores.size()));
            painter.setPen(pen(point, line / 14));
            painter.setBrush(Qt::NoBrush);
            const qreal size = pointSize * line;
            for (std::size_t i = 0; i < scores.size(); ++i) {
                const qreal py = middle + jitterOf(i) * pointSpread * line;
                painter.drawEllipse(QRectF(at.x(scores[i]) - size / 2, py - size / 2, size, size));
            }
        }
        const qreal half = boxHeight * line / 2;
        painter.setPen(pen(neutralGrey, figure::markLineWidth(line)));
        painter.setBrush(Qt::NoBrush);
        painter.drawLine(QPointF(at.x(shape.lowWhisker), middle), QPointF(at.x(shape.q1), middle));
        painter.drawLine(QPointF(at.x(shape.q3), middle), QPointF(at.x(shape.highWhisker), middle));
        for (const double whisker : {shape.lowWhisker, shape.highWhisker})
            painter.drawLine(QPointF(at.x(whisker), middle - half / 2),
                             QPointF(at.x(whisker), middle + half / 2));
        painter.drawRect(
            QRectF(QPointF(at.x(shape.q1), middle - half), QPointF(at.x(shape.q3), middle + half)));
        painter.setPen(pen(ink, 2 * figure::markLineWidth(line)));
        painter.drawLine(QPointF(at.x(shape.median), middle - half),
                         QPointF(at.x(shape.median), middle + half));
        // The bounds marked across the band only, clear of the captions.
        drawDashed(painter, at.x(lowMark), y, y + scoreBand * line, line);
        if (!oneSided(picture)) drawDashed(painter, at.x(highMark), y, y + scoreBand * line, line);
        y += scoreBand * line;
    }
    figure::drawBottomAxis(painter, at.axis, left, right, y, line,
                           [&](double v) { return at.x(v); });
    y += tickLabelsHeight * line;
    writeLine(painter, left, y, line, texts.scoresAxisTitle);
    y += textLine * line;
    writeLine(painter, left, y, line, texts.scoresLegend);
    return y + textLine * line;
}

void paintIntervalsPanel(QPainter& painter, qreal left, qreal right, qreal top,
                         const ScoresPicture& picture, const FigureTexts& texts, qreal line) {
    const auto& answers = picture.answers;
    const double lower = answers.settings.lower, upper = answers.settings.upper;
    const bool ratio = onRatioScale(picture);
    const double none = ratio ? 1 : 0;  // where the groups would not differ
    std::vector<double> values = {lower, upper, none};
    for (const auto& outcome : answers.outcomes) {
        if (!outcome.result) continue;
        values.insert(values.end(),
                      {outcome.result->low, outcome.result->high, outcome.result->estimate});
    }
    Mapping at{ratio ? figure::ratioAxis(values) : figure::niceAxis(values), left, right, ratio};

    qreal y = top;
    writeLine(painter, left, y, line, texts.intervalsTitle, true);
    y += (textLine + boundGap) * line;
    const qreal rowsTop = y;
    const qreal rowsHeight =
        static_cast<qreal>(analysisTable().size()) * (textLine + intervalBar + intervalGap) * line;
    // Equivalence: between the bounds; a one-sided question: beyond its
    // margin on the alternative's side, to the axis's end.
    const bool above = score_analysis::sideOf(answers.settings) == score_analysis::Side::above;
    const qreal shadeLeft = oneSided(picture) && !above ? left : at.x(lower);
    const qreal shadeRight = oneSided(picture) && above ? right : at.x(upper);
    painter.fillRect(QRectF(QPointF(shadeLeft, rowsTop), QPointF(shadeRight, rowsTop + rowsHeight)),
                     figure::regionShade());
    painter.setPen(pen(neutralGrey, figure::axisLineWidth(line)));
    painter.drawLine(QPointF(at.x(none), rowsTop), QPointF(at.x(none), rowsTop + rowsHeight));
    for (std::size_t a = 0; a < answers.outcomes.size(); ++a) {
        const auto& outcome = answers.outcomes[a];
        writeLine(painter, left, y, line, texts.analysisCaptions[a]);
        y += textLine * line;
        if (outcome.result) {
            const auto& result = *outcome.result;
            figure::IntervalRow row;
            row.y = y + intervalBar * line / 2;
            row.bar = {at.x(result.low), at.x(result.high)};
            row.barColour = concludes(result) ? okabeBlue : okabeVermillion;
            row.estimate = at.x(result.estimate);
            figure::drawIntervalRow(painter, row, line, figure::scoresFigureRow);
        }
        y += (intervalBar + intervalGap) * line;
    }
    drawDashed(painter, at.x(lower), rowsTop - 0.2 * line, y, line);
    if (!oneSided(picture)) drawDashed(painter, at.x(upper), rowsTop - 0.2 * line, y, line);
    figure::drawBottomAxis(painter, at.axis, left, right, y, line,
                           [&](double v) { return at.x(v); });
    y += tickLabelsHeight * line;
    writeLine(painter, left, y, line, texts.intervalsAxisTitle);
    y += textLine * line;
    writeLine(painter, left, y, line, texts.intervalsLegend);
}

}  // namespace

ScoresPicture scoresPicture(const score_report::ScoreAnswers& answers,
                            const std::vector<double>& scores1,
                            const std::vector<double>& scores2) {
    ScoresPicture picture;
    picture.answers = answers;
    // The scores as analysed: on the ratio scale their logs, as the shapes
    // are. A score at or below 0 has none; then the engine drew no shapes.
    const bool ratio = answers.settings.scale == score_analysis::Scale::ratio;
    const auto analysed = [ratio](const std::vector<double>& scores) {
        if (!ratio) return scores;
        std::vector<double> logs;
        for (const double s : scores)
            logs.push_back(s > 0 ? std::log(s) : std::nan(""));
        return logs;
    };
    const std::vector<double> group1 = analysed(scores1), group2 = analysed(scores2);
    if (answers.matched) {
        std::vector<double> d;
        for (std::size_t i = 0; i < std::min(group1.size(), group2.size()); ++i)
            d.push_back(group1[i] - group2[i]);
        picture.rows = {d};
        picture.rowNames = {QStringLiteral("Differences")};
    } else {
        picture.rows = {group1, group2};
        picture.rowNames = {fromStd(answers.label1), fromStd(answers.label2)};
    }
    // A shape for every row drawn; without one (scores not finite) no row is drawn.
    if (picture.answers.shapes.size() != picture.rows.size()) {
        picture.rows.clear();
        picture.rowNames.clear();
    }
    return picture;
}

double jitterOf(std::size_t index) {
    // The fractional parts of multiples of the golden ratio spread evenly
    // and never repeat.
    const double golden = 0.6180339887498949;
    const double f = std::fmod(static_cast<double>(index) * golden, 1.0);
    return f - 0.5;
}

std::pair<double, double> markedBounds(const ScoresPicture& picture) {
    const auto& s = picture.answers.settings;
    // On the ratio scale the rows are logs: a ratio bound is a shift by its log.
    const bool ratio = s.scale == score_analysis::Scale::ratio;
    const double lower = ratio ? std::log(s.lower) : s.lower;
    const double upper = ratio ? std::log(s.upper) : s.upper;
    if (picture.answers.matched || picture.answers.shapes.size() < 2) return {lower, upper};
    const double centre = picture.answers.shapes[1].median;
    return {centre + lower, centre + upper};
}

qreal scoresFigureMinimumWidth(const ScoresPicture& picture, const QFont& font,
                               const QPaintDevice* device) {
    const FigureTexts texts = figureTexts(picture);
    std::vector<QString> lines = {texts.scoresTitle,        texts.scoresAxisTitle,
                                  texts.scoresLegend,       texts.intervalsTitle,
                                  texts.intervalsAxisTitle, texts.intervalsLegend};
    lines.insert(lines.end(), texts.rowCaptions.begin(), texts.rowCaptions.end());
    lines.insert(lines.end(), texts.analysisCaptions.begin(), texts.analysisCaptions.end());
    QFont bold = font;
    bold.setBold(true);
    const QFontMetricsF plain(font, device), strong(bold, device);
    qreal widest = 0;
    for (const QString& text : lines) {
        const bool isTitle = &text == &lines[0] || &text == &lines[3];
        widest = std::max(widest, (isTitle ? strong : plain).horizontalAdvance(text));
    }
    const qreal line = lineHeight(font, device);
    return widest + 2 * margin * line;
}

qreal scoresFigureHeight(const ScoresPicture& picture, const QFont& font,
                         const QPaintDevice* device) {
    const qreal line = lineHeight(font, device);
    return (2 * margin + scoresPanelLines(picture) + panelGap + intervalsPanelLines()) * line;
}

void paintScoresFigure(QPainter& painter, const QRectF& area, const ScoresPicture& picture,
                       const QFont& font) {
    painter.save();
    painter.setFont(font);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal line = lineHeight(font, painter.device());
    const qreal left = area.left() + margin * line, right = area.right() - margin * line;
    qreal y = area.top() + margin * line;
    const FigureTexts texts = figureTexts(picture);
    if (!picture.rows.empty()) {
        y = paintScoresPanel(painter, left, right, y, picture, texts, line);
        y += panelGap * line;
    }
    paintIntervalsPanel(painter, left, right, y, picture, texts, line);
    painter.restore();
}

ScoresFigure::ScoresFigure(QWidget* parent) : report::PictureWidget(widthInLines, parent) {}

void ScoresFigure::setPicture(const ScoresPicture& picture) {
    picture_ = picture;
    pictureChanged();
}

void ScoresFigure::clear() {
    picture_.reset();
    pictureChanged();
}

qreal ScoresFigure::pictureHeight(const QFont& font, const QPaintDevice* device) const {
    return scoresFigureHeight(*picture_, font, device);
}

qreal ScoresFigure::pictureMinimumWidth(const QFont& font, const QPaintDevice* device) const {
    return scoresFigureMinimumWidth(*picture_, font, device);
}

void ScoresFigure::paintPicture(QPainter& painter, const QRectF& area, const QFont& font) const {
    paintScoresFigure(painter, area, *picture_, font);
}

}  // namespace tarnwick::scores_window
