// Every length is a multiple of the font's line height on the device drawn
// on, in the look every figure shares (figure_style.h); the conclusion is
// written beside each row as well, so no meaning rests on colour alone.

#include "equivalence_plot.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

#include "apa_format.h"
#include "figure_style.h"
#include "interval_row.h"
#include "one_sided_words.h"
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
using figure::ratioAxis;
using figure::ratioAxisShare;

// Vertical layout, in line heights.
constexpr qreal boundLabelsHeight = 1.4;
constexpr qreal textLine = 1.1;                   // one line of a caption, title or legend
constexpr qreal rowCaptionHeight = 2 * textLine;  // the design, then its conclusion
constexpr qreal rowBarHeight = 1.6;
constexpr qreal rowGap = 0.5;
constexpr qreal tickLabelsHeight = 1.6;  // ticks and their labels under the axis
constexpr qreal legendSample = 2.2;      // the width of a legend's sample, then a gap
constexpr qreal legendTextLeft = legendSample + 0.6;
constexpr qreal labelGap = 0.3;  // between a bound's label and its line, or the other label
constexpr qreal substituteSpare = substituteFontSpare;

std::vector<const DesignReport*> rowsOf(const Report& report) {
    std::vector<const DesignReport*> rows{&report.independent};
    if (report.matched) rows.push_back(&*report.matched);
    return rows;
}

QString designName(const DesignReport& r) {
    if (r.design == Design::matched) return QStringLiteral("Matched samples (paired t):");
    return r.ordinary.welch ? QStringLiteral("Independent samples (Welch's t):")
                            : QStringLiteral("Independent samples (Student's t):");
}

bool onRatioScale(const Report& report) { return report.settings.scale == settings::Scale::ratio; }

bool minimalEffect(const Report& report) {
    return report.settings.hypothesis == settings::Hypothesis::minimalEffect;
}

// A one-sided question's margin test, where the report asks one.
const MarginTest* marginTest(const Report& report) {
    const auto& eq = report.independent.equivalence;
    return eq && eq->oneSided ? &*eq->oneSided : nullptr;
}

// Blue where the test asked rejected its null hypothesis.
QColor decisionColour(const Report& report, const DesignReport& r) {
    if (!r.equivalence) return neutralGrey;
    const bool rejected = r.equivalence->oneSided ? r.equivalence->oneSided->shown
                          : minimalEffect(report) ? r.equivalence->beyondBounds
                                                  : r.equivalence->trivial;
    return rejected ? okabeBlue : okabeVermillion;
}

// A one-sided question draws its margin alone: the other bound is the end
// of the scale.
enum class Bounds { none, ordered, coinciding, reversed, margin };

Bounds boundsOf(const Report& report) {
    const auto& eq = report.independent.equivalence;
    if (!eq) return Bounds::none;
    if (eq->oneSided) return Bounds::margin;
    if (eq->boundLow < eq->boundHigh) return Bounds::ordered;
    return eq->boundLow == eq->boundHigh ? Bounds::coinciding : Bounds::reversed;
}

// Each line of text is a line of its own, so that no text is laid out
// against another's measured width: a substitute font that is wider (an SVG
// read where Liberation Sans is missing) cannot make two texts overlap.
// The effect and its units as the report's scale names them.
QStringList axisTitle(const Report& report) {
    const EffectScale& scale = *report.scale;
    const std::string title = capitalised(scale.effect) + " in " + std::string(scale.units) + " (" +
                              std::string(scale.comparison);
    if (!report.matched) return {QString::fromStdString(title + ")")};
    return {QString::fromStdString(title + ";"),
            QString::fromStdString("matched: " + std::string(scale.matchedEstimate) + ")")};
}

// "shaded: above the margin (dashed), where the effect is not inferior"
QString legendMarginLine(const Report& report) {
    const MarginTest& m = *marginTest(report);
    const settings::TestSettings& s = report.settings;
    const char* claim = s.hypothesis == settings::Hypothesis::nonSuperiority ? "not superior"
                        : s.hypothesis == settings::Hypothesis::superiority  ? "superior"
                                                                             : "not inferior";
    return QStringLiteral("shaded: ") +
           (m.side == settings::Side::above ? QStringLiteral("above") : QStringLiteral("below")) +
           QStringLiteral(" the margin (dashed), where the ") +
           QString::fromStdString(std::string(report.scale->effect)) + QStringLiteral(" is ") +
           QString::fromLatin1(claim);
}

QStringList legendRegionLines(Bounds bounds, const EffectScale& scale) {
    switch (bounds) {
        case Bounds::margin:
            return {};  // legendMarginLine's, which needs the question
        case Bounds::none:
            return {QStringLiteral("no bounds: no non-trivial difference was entered")};
        case Bounds::ordered:
            return {QStringLiteral("equivalence region between the bounds (dashed)")};
        case Bounds::coinciding:
            return {QString::fromStdString("bounds (dashed) at " + std::string(scale.nullWord) +
                                           ": no equivalence region")};
        case Bounds::reversed:
            return {QStringLiteral("bounds (dashed) reversed by a negative non-trivial "
                                   "difference:"),
                    QStringLiteral("no equivalence region")};
    }
    return {};
}

// The region's line, and where bounds in SD units give the matched design
// raw bounds of its own, those bounds in words: one pair is drawn.
QStringList legendBoundsLines(const Report& report) {
    const Bounds bounds = boundsOf(report);
    QStringList lines = bounds == Bounds::margin ? QStringList{legendMarginLine(report)}
                        : bounds == Bounds::ordered && minimalEffect(report)
                            ? QStringList{QStringLiteral(
                                  "region between the bounds (dashed): the minimal-effect test's "
                                  "null hypothesis")}
                            : legendRegionLines(bounds, *report.scale);
    const auto& ind = report.independent.equivalence;
    const auto& matched = report.matched ? report.matched->equivalence : std::nullopt;
    if (ind && matched && !ind->oneSided &&
        (matched->boundLow != ind->boundLow || matched->boundHigh != ind->boundHigh)) {
        const int decimals = apa::rawDecimals(report.matched->ordinary.standardError);
        const auto text = [&](double v) {
            return QString::fromStdString(apa::number(
                v, matched->boundsConverted ? decimals : apa::decimalsForExact(v, decimals)));
        };
        lines << QStringLiteral(
                     "bounds drawn: the independent samples'; the matched samples' are ") +
                     text(matched->boundLow) + QStringLiteral(" and ") + text(matched->boundHigh);
    }
    return lines;
}

// Each interval by its level at the report's alpha (90% and 95% at .05).
QString legendBar(const Report& report) {
    const QString level = QString::fromStdString(apa::percent(1 - 2 * report.settings.alpha)) +
                          QStringLiteral("% CI");
    if (marginTest(report)) {
        const std::string title = settings::hypothesisTitle(report.settings.hypothesis).data();
        return level + QStringLiteral(" (blue: ") + QString::fromStdString(title).toLower() +
               QStringLiteral(" shown; orange: not)");
    }
    return minimalEffect(report)
               ? level + QStringLiteral(
                             ", the minimal-effect test's (blue: beyond the bounds; "
                             "orange: not)")
               : level + QStringLiteral(", the equivalence test's (blue: equivalent; orange: not)");
}
QString legendLine(const Report& report) {
    return QString::fromStdString(apa::percent(1 - report.settings.alpha)) +
           QString::fromStdString("% CI, the ordinary test's; diamond: the " +
                                  std::string(report.scale->effect));
}

QString boundLabel(const char* which, double bound, int decimals) {
    return QString::fromLatin1(which) +
           QString::fromStdString(apa::number(bound, apa::decimalsForExact(bound, decimals)));
}

// A one-sided question's one label, in its place as the lower bound's
// (the upper's text empty).
std::pair<QString, QString> boundLabels(const Report& report) {
    const EquivalenceTest& eq = *report.independent.equivalence;
    if (eq.oneSided) {
        const double m = eq.oneSided->margin;
        const int decimals = apa::rawDecimals(report.independent.ordinary.standardError);
        const std::string text = onRatioScale(report) ? apa::fixed(100 * m, 2) + "%"
                                 : eq.boundsConverted
                                     ? apa::number(m, decimals)
                                     : apa::number(m, apa::decimalsForExact(m, decimals));
        return {QStringLiteral("margin ") + QString::fromStdString(text), QString()};
    }
    if (onRatioScale(report)) {
        const auto label = [](const char* which, double bound) {
            return QString::fromLatin1(which) +
                   QString::fromStdString(apa::fixed(100 * bound, 2) + "%");
        };
        return {label("lower bound ", eq.boundLow), label("upper bound ", eq.boundHigh)};
    }
    const int decimals = apa::rawDecimals(report.independent.ordinary.standardError);
    if (eq.boundsConverted) {
        // Converted from SD units: products, written to the raw decimals.
        const auto label = [&](const char* which, double bound) {
            return QString::fromLatin1(which) +
                   QString::fromStdString(apa::number(bound, decimals));
        };
        return {label("lower bound ", eq.boundLow), label("upper bound ", eq.boundHigh)};
    }
    return {boundLabel("lower bound ", eq.boundLow, decimals),
            boundLabel("upper bound ", eq.boundHigh, decimals)};
}

std::vector<double> valuesDrawn(const Report& report) {
    std::vector<double> values{report.scale->nullValue};
    if (const MarginTest* m = marginTest(report)) {
        values.push_back(m->margin);
    } else if (const auto& eq = report.independent.equivalence) {
        values.insert(values.end(), {eq->boundLow, eq->boundHigh});
    }
    for (const DesignReport* r : rowsOf(report)) {
        values.push_back(r->difference);
        for (const Value* v : {&r->ordinary.ciTestLow, &r->ordinary.ciTestHigh}) {
            if (*v) values.push_back(*v->value);
        }
        if (r->equivalence) {
            for (const Value* v : {&r->equivalence->ciTostLow, &r->equivalence->ciTostHigh}) {
                if (*v) values.push_back(*v->value);
            }
        }
    }
    return values;
}

class Layout {
public:
    Layout(const QRectF& area, const Report& report, const QFont& font, const QPaintDevice* device)
        : area_(area),
          line_(lineHeight(font, device)),
          rows_(rowsOf(report)),
          titleLines_(static_cast<int>(axisTitle(report).size())),
          ratio_(onRatioScale(report)) {
        // As many ticks as their labels leave room for, at most 8.
        const QFontMetricsF metrics(font, device);
        const std::vector<double> values = valuesDrawn(report);
        for (int ticks = 8; ticks >= 2; --ticks) {
            axis_ = ratio_ ? ratioAxis(values, ticks) : niceAxis(values, ticks);
            qreal widest = 0;
            for (const double tick : axis_.ticks)
                widest = std::max(
                    widest, metrics.horizontalAdvance(QString::fromStdString(axis_.label(tick))));
            const auto count = static_cast<qreal>(axis_.ticks.size());
            if (count * (widest + line_) <= right() - left()) break;
        }
    }

    qreal left() const { return area_.left() + margin * line_; }
    qreal right() const { return area_.right() - margin * line_; }
    // In halves, which cannot overflow where the axis spans more than the
    // largest double.
    qreal x(double v) const {
        if (ratio_) return left() + ratioAxisShare(axis_, v) * (right() - left());
        return left() +
               (v / 2 - axis_.low / 2) / (axis_.high / 2 - axis_.low / 2) * (right() - left());
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
    qreal legendTop() const {
        return axisY() + (tickLabelsHeight + titleLines_ * textLine + 0.4) * line_;
    }
    const Axis& axis() const { return axis_; }
    const std::vector<const DesignReport*>& rows() const { return rows_; }
    qreal line() const { return line_; }

private:
    QRectF area_;
    qreal line_;
    std::vector<const DesignReport*> rows_;
    int titleLines_;
    bool ratio_;
    Axis axis_;
};

// A line of text at its place: left-aligned at box.left(), box as wide as
// the text measures in the font it is drawn in.
PlotText textAt(const QString& text, qreal left, qreal top, qreal height, const QFont& font,
                const QPaintDevice* device, bool bold = false) {
    QFont f = font;
    f.setBold(bold);
    const qreal width = QFontMetricsF(f, device).horizontalAdvance(text);
    return {text, QRectF(left, top, width, height), bold};
}

// The two bound labels: each hangs from its line towards the outside, is kept
// inside the plot, and is pushed clear of the other where they would meet.
std::pair<PlotText, PlotText> placedBoundLabels(const Layout& at, const Report& report,
                                                const QFont& font, const QPaintDevice* device) {
    const EquivalenceTest& eq = *report.independent.equivalence;
    const auto [lowText, highText] = boundLabels(report);
    const qreal line = at.line();
    const qreal gap = labelGap * line;
    const qreal top = at.rowsTop() - 0.2 * line - boundLabelsHeight * line;
    PlotText low = textAt(lowText, 0, top, 1.2 * line, font, device);
    PlotText high = textAt(highText, 0, top, 1.2 * line, font, device);
    const auto hang = [&](PlotText& label, qreal x, bool leftOfLine) {
        const qreal width = label.box.width();
        const qreal left = leftOfLine ? x - gap - width : x + gap;
        const qreal lastLeft = at.right() - width * (1 + substituteSpare);
        label.box.moveLeft(std::clamp(left, at.left(), std::max(at.left(), lastLeft)));
    };
    if (eq.oneSided) {
        // Over the shaded side, where the claim lies.
        hang(low, at.x(eq.oneSided->margin), eq.oneSided->side == settings::Side::below);
        return {low, high};
    }
    const qreal xLow = at.x(eq.boundLow), xHigh = at.x(eq.boundHigh);
    const bool ordered = xLow <= xHigh;
    hang(low, xLow, ordered);
    hang(high, xHigh, !ordered);
    PlotText& first = low.box.left() <= high.box.left() ? low : high;
    PlotText& second = &first == &low ? high : low;
    const qreal apart = first.box.width() * (1 + substituteSpare) + gap;
    if (first.box.left() + apart > second.box.left()) {
        second.box.moveLeft(first.box.left() + apart);
        const qreal lastLeft = at.right() - second.box.width() * (1 + substituteSpare);
        if (second.box.left() > lastLeft) {
            second.box.moveLeft(lastLeft);
            first.box.moveLeft(std::max(at.left(), second.box.left() - apart));
        }
    }
    return {low, high};
}

void drawText(QPainter& painter, const PlotText& text, const QFont& font) {
    QFont f = font;
    f.setBold(text.bold);
    painter.setFont(f);
    painter.setPen(ink);
    painter.drawText(text.box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, text.text);
    painter.setFont(font);
}

void drawRegion(QPainter& painter, const Layout& at, const Report& report) {
    const EquivalenceTest& eq = *report.independent.equivalence;
    const qreal top = at.rowsTop() - 0.2 * at.line();
    const qreal bottom = at.axisY();
    if (eq.oneSided) {
        // The side beyond the margin that the alternative claims, to the axis' end.
        const qreal x = at.x(eq.oneSided->margin);
        const qreal end = eq.oneSided->side == settings::Side::above ? at.right() : at.left();
        painter.fillRect(QRectF(QPointF(std::min(x, end), top), QPointF(std::max(x, end), bottom)),
                         figure::regionShade());
        painter.setPen(pen(ink, figure::markLineWidth(at.line()), Qt::DashLine));
        painter.drawLine(QPointF(x, top), QPointF(x, bottom));
        return;
    }
    const qreal xLow = at.x(eq.boundLow), xHigh = at.x(eq.boundHigh);
    if (eq.boundLow < eq.boundHigh)
        painter.fillRect(QRectF(QPointF(xLow, top), QPointF(xHigh, bottom)), figure::regionShade());
    painter.setPen(pen(ink, figure::markLineWidth(at.line()), Qt::DashLine));
    painter.drawLine(QPointF(xLow, top), QPointF(xLow, bottom));
    painter.drawLine(QPointF(xHigh, top), QPointF(xHigh, bottom));
}

void drawIntervals(QPainter& painter, const Layout& at, const Report& report, std::size_t i) {
    const DesignReport& r = *at.rows()[i];
    figure::IntervalRow row;
    row.y = at.rowCentre(i);
    // The 90% interval as the bar, the 95% interval over it, where Welch's
    // df can make the 90% bar the wider.
    if (r.equivalence && r.equivalence->ciTostLow && r.equivalence->ciTostHigh) {
        row.bar = {at.x(*r.equivalence->ciTostLow.value), at.x(*r.equivalence->ciTostHigh.value)};
        row.barColour = decisionColour(report, r);
    }
    if (r.ordinary.ciTestLow && r.ordinary.ciTestHigh)
        row.whiskers = {at.x(*r.ordinary.ciTestLow.value), at.x(*r.ordinary.ciTestHigh.value)};
    row.estimate = at.x(r.difference);
    figure::drawIntervalRow(painter, row, at.line(), figure::equivalencePlotRow);
}

// The line of no effect: 0 for a difference.
void drawNullLine(QPainter& painter, const Layout& at, double nullValue) {
    painter.setPen(pen(neutralGrey, figure::axisLineWidth(at.line())));
    const qreal x = at.x(nullValue);
    painter.drawLine(QPointF(x, at.rowsTop() - 0.2 * at.line()), QPointF(x, at.axisY()));
}

void drawLegendSamples(QPainter& painter, const Layout& at, Bounds bounds) {
    const qreal line = at.line();
    const qreal left = at.left(), right = at.left() + legendSample * line;
    const auto centre = [&](int i) { return at.legendTop() + (i + 0.5) * textLine * line; };
    qreal y = centre(0);
    painter.fillRect(QRectF(QPointF(left, y - 0.22 * line), QPointF(right, y + 0.22 * line)),
                     okabeBlue);
    y = centre(1);
    painter.setPen(pen(ink, figure::markLineWidth(line)));
    painter.drawLine(QPointF(left, y), QPointF(right, y));
    y = centre(2);
    if (bounds == Bounds::none) return;
    if (bounds == Bounds::ordered || bounds == Bounds::margin)
        painter.fillRect(QRectF(left, y - 0.5 * line, right - left, line), figure::regionShade());
    painter.setPen(pen(ink, figure::markLineWidth(line), Qt::DashLine));
    painter.drawLine(QPointF(left, y - 0.5 * line), QPointF(left, y + 0.5 * line));
    if (bounds == Bounds::ordered)
        painter.drawLine(QPointF(right, y - 0.5 * line), QPointF(right, y + 0.5 * line));
}

qreal heightInLines(const Report& report) {
    const auto rows = static_cast<qreal>(rowsOf(report).size());
    const auto titleLines = static_cast<qreal>(axisTitle(report).size());
    const auto legendLines = static_cast<qreal>(2 + legendBoundsLines(report).size());
    return 2 * margin + boundLabelsHeight + rows * (rowCaptionHeight + rowBarHeight + rowGap) +
           tickLabelsHeight + titleLines * textLine + 0.4 + legendLines * textLine;
}

}  // namespace

std::vector<PlotText> equivalencePlotTexts(const QRectF& area, const Report& report,
                                           const QFont& font, const QPaintDevice* device) {
    const Layout at(area, report, font, device);
    const qreal line = at.line();
    std::vector<PlotText> texts;
    if (report.independent.equivalence) {
        const auto [low, high] = placedBoundLabels(at, report, font, device);
        texts.push_back(low);
        if (!marginTest(report)) texts.push_back(high);
    }
    for (std::size_t i = 0; i < at.rows().size(); ++i) {
        const DesignReport& r = *at.rows()[i];
        const qreal top = at.rowTop(i);
        texts.push_back(textAt(designName(r), at.left(), top, textLine * line, font, device));
        texts.push_back(textAt(QString::fromStdString(conclusionLabel(r.conclusion, *report.scale)),
                               at.left(), top + textLine * line, textLine * line, font, device,
                               true));
    }
    qreal y = at.axisY() + tickLabelsHeight * line;
    for (const QString& title : axisTitle(report)) {
        PlotText t = textAt(title, 0, y, textLine * line, font, device);
        t.box.moveLeft((at.left() + at.right() - t.box.width()) / 2);
        texts.push_back(t);
        y += textLine * line;
    }
    QStringList legend{legendBar(report), legendLine(report)};
    legend += legendBoundsLines(report);
    y = at.legendTop();
    for (const QString& words : legend) {
        texts.push_back(
            textAt(words, at.left() + legendTextLeft * line, y, textLine * line, font, device));
        y += textLine * line;
    }
    return texts;
}

qreal equivalencePlotMinimumWidth(const Report& report, const QFont& font,
                                  const QPaintDevice* device) {
    const qreal line = lineHeight(font, device);
    // Laid out in a wide area, every text at its own width.
    const std::vector<PlotText> texts =
        equivalencePlotTexts(QRectF(0, 0, 1000 * line, 100 * line), report, font, device);
    qreal widest = 0;
    for (const PlotText& t : texts) {
        const bool inLegend = t.box.left() > (margin + legendTextLeft - 0.01) * line &&
                              t.box.left() < (margin + legendTextLeft + 0.01) * line;
        widest = std::max(widest, t.box.width() + (inLegend ? legendTextLeft * line : 0));
    }
    if (report.independent.equivalence) {
        const auto [lowText, highText] = boundLabels(report);
        const QFontMetricsF metrics(font, device);
        widest = std::max(
            widest, (metrics.horizontalAdvance(lowText) + metrics.horizontalAdvance(highText)) *
                            (1 + substituteSpare) +
                        labelGap * line);
    }
    return widest + 2 * margin * line + 1;
}

qreal equivalencePlotHeight(const Report& report, const QFont& font, const QPaintDevice* device) {
    return heightInLines(report) * lineHeight(font, device);
}

void paintEquivalencePlot(QPainter& painter, const QRectF& area, const Report& report,
                          const QFont& font) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font);
    painter.fillRect(area, Qt::white);
    const Layout at(area, report, font, painter.device());
    if (report.independent.equivalence) drawRegion(painter, at, report);
    drawNullLine(painter, at, report.scale->nullValue);
    const std::vector<PlotText> texts = equivalencePlotTexts(area, report, font, painter.device());
    // A white backdrop keeps the rows' captions clear of the bounds' lines.
    const std::size_t firstCaption = !report.independent.equivalence ? 0
                                     : marginTest(report)            ? 1
                                                                     : 2;
    for (std::size_t i = firstCaption; i < firstCaption + 2 * at.rows().size(); ++i) {
        const QRectF& box = texts[i].box;
        painter.fillRect(
            box.adjusted(-0.1 * at.line(), 0.05 * at.line(), 0.2 * at.line(), -0.05 * at.line()),
            Qt::white);
    }
    for (std::size_t i = 0; i < at.rows().size(); ++i)
        drawIntervals(painter, at, report, i);
    figure::drawBottomAxis(painter, at.axis(), at.left(), at.right(), at.axisY(), at.line(),
                           [&at](double v) { return at.x(v); });
    drawLegendSamples(painter, at, boundsOf(report));
    for (const PlotText& text : texts)
        drawText(painter, text, font);
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
    if (!report_) return {qRound(26 * line), qRound(10 * line) + 1};
    // As wide as its widest line of text, so that nothing is clipped.
    const int width = qCeil(equivalencePlotMinimumWidth(*report_, font(), this));
    return {std::max(qRound(26 * line), width), qRound(heightInLines(*report_) * line) + 1};
}

void EquivalencePlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (report_) paintEquivalencePlot(painter, QRectF(rect()), *report_, font());
}

}  // namespace tarnwick::report
