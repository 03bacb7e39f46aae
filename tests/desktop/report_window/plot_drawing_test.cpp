// The equivalence plot as it is drawn, read exactly from a recording paint
// device: each interval and the estimate at their values on the plot's own
// axis, the marks symmetric about their row, and the axis's labels centred
// under their ticks and clear of each other.

#include <QFontMetricsF>
#include <QPainter>
#include <QTest>
#include <cmath>
#include <optional>

#include "box_fixture.h"
#include "equivalence_plot.h"
#include "figure_style.h"
#include "interval_row.h"
#include "recording_device.h"

Q_DECLARE_METATYPE(tarnwick::testing_support::Inputs)

namespace tarnwick {
namespace {

using testing_support::Painted;
using Kind = Painted::Kind;

report::Report reportOf(const testing_support::Inputs& in, const settings::TestSettings& s = {}) {
    BoxTable boxes;
    testing_support::enter(boxes, in);
    RunRecord record;
    runCommand(boxes, &record);
    return report::makeReport(record, s).value();
}

const testing_support::Inputs overlapRun = testing_support::overlapRun();

struct Drawing {
    std::vector<Painted> painted;
    qreal line;
};

// The plot drawn `width` lines wide, or at its narrowest for 0.
Drawing draw(const report::Report& r, qreal widthInLines) {
    const QFont font;
    testing_support::RecordingDevice probe(QSize(1, 1));
    const qreal line = figure::lineHeight(font, &probe);
    const qreal width = widthInLines > 0 ? widthInLines * line
                                         : report::equivalencePlotMinimumWidth(r, font, &probe);
    const qreal height = report::equivalencePlotHeight(r, font, &probe);
    testing_support::RecordingDevice device(QSize(qCeil(width), qCeil(height)));
    {
        QPainter painter(&device);
        report::paintEquivalencePlot(painter, QRectF(0, 0, width, height), r, font);
    }
    return {device.painted(), line};
}

bool isVertical(const QLineF& l) { return l.x1() == l.x2() && l.y1() != l.y2(); }

struct Tick {
    QLineF mark;
    Painted label;
};

bool isTickAt(const Drawing& d, std::size_t i) {
    const Painted& p = d.painted[i];
    return i + 1 < d.painted.size() && p.kind == Kind::line && isVertical(p.line) &&
           p.pen.style() == Qt::SolidLine && d.painted[i + 1].kind == Kind::text;
}

// The axis's ticks: each a solid vertical mark with its label written next.
std::vector<Tick> ticksOf(const Drawing& d) {
    std::vector<Tick> ticks;
    for (std::size_t i = 0; i < d.painted.size(); ++i)
        if (isTickAt(d, i)) ticks.push_back({d.painted[i].line, d.painted[i + 1]});
    return ticks;
}

// The axis line, drawn just before its first tick.
QLineF axisLineOf(const Drawing& d) {
    for (std::size_t i = 1; i < d.painted.size(); ++i)
        if (isTickAt(d, i)) return d.painted[i - 1].line;
    return {};
}

// Where a value sits, from the first and last ticks and the values their
// labels give.
std::function<qreal(double)> axisOf(const std::vector<Tick>& ticks) {
    const double v0 = ticks.front().label.text.toDouble(), v1 = ticks.back().label.text.toDouble();
    const qreal x0 = ticks.front().mark.x1(), x1 = ticks.back().mark.x1();
    return [=](double v) { return x0 + (v - v0) / (v1 - v0) * (x1 - x0); };
}

qreal textWidth(const Painted& text) {
    testing_support::RecordingDevice probe(QSize(1, 1));
    return QFontMetricsF(text.font, &probe).horizontalAdvance(text.text);
}

class PlotDrawingTest : public QObject {
    Q_OBJECT

private slots:
    void eachIntervalSitsAtItsValues_data() {
        QTest::addColumn<testing_support::Inputs>("inputs");
        QTest::newRow("run A") << testing_support::Inputs{};
        QTest::newRow("intervals narrower than the diamond") << overlapRun;
        QTest::newRow("matched") << testing_support::matchedRun();
        QTest::newRow("Welch's df, 90% wider than 95%") << testing_support::welchNinetyWiderRun();
        QTest::newRow("no bound") << testing_support::Inputs{.notTrivial = ""};
    }

    // For each design, in the order drawn: its 90% bar, its 95% line with an
    // end tick at each end, and the diamond at the estimate.
    void eachIntervalSitsAtItsValues() {
        QFETCH(testing_support::Inputs, inputs);
        const report::Report r = reportOf(inputs);
        const Drawing d = draw(r, 44);
        const qreal line = d.line, close = 1e-3 * line;
        const auto x = axisOf(ticksOf(d));
        std::vector<const report::DesignReport*> rows{&r.independent};
        if (r.matched) rows.push_back(&*r.matched);
        std::vector<std::size_t> diamonds;
        for (std::size_t i = 0; i < d.painted.size(); ++i)
            if (d.painted[i].kind == Kind::path) diamonds.push_back(i);
        QCOMPARE(diamonds.size(), rows.size());
        for (std::size_t k = 0; k < rows.size(); ++k) {
            const report::DesignReport& row = *rows[k];
            const std::size_t at = diamonds[k];
            QVERIFY(at >= 3);
            // The diamond: open, its four tips equally far from the estimate.
            const Painted& diamond = d.painted[at];
            QCOMPARE(diamond.brush.style(), Qt::NoBrush);
            QVERIFY(diamond.path.elementCount() >= 4);
            const QPointF top = diamond.path.elementAt(0), right = diamond.path.elementAt(1),
                          bottom = diamond.path.elementAt(2), left = diamond.path.elementAt(3);
            const qreal y = (top.y() + bottom.y()) / 2, half = (bottom.y() - top.y()) / 2;
            QVERIFY(qAbs(top.x() - x(row.difference)) < close);
            QVERIFY(qAbs(bottom.x() - top.x()) < close);
            QVERIFY(qAbs(left.y() - y) < close && qAbs(right.y() - y) < close);
            QVERIFY(qAbs(right.x() - top.x() - half) < close);
            QVERIFY(qAbs(top.x() - left.x() - half) < close);
            QVERIFY(half > 0.25 * line);
            // The 95% line at the diamond's height, from end to end of the interval.
            const QLineF ci95 = d.painted[at - 3].line, endLow = d.painted[at - 2].line,
                         endHigh = d.painted[at - 1].line;
            QVERIFY(qAbs(ci95.y1() - y) < close && qAbs(ci95.y2() - y) < close);
            QVERIFY(qAbs(ci95.x1() - x(*row.ordinary.ciTestLow.value)) < close);
            QVERIFY(qAbs(ci95.x2() - x(*row.ordinary.ciTestHigh.value)) < close);
            // Its end ticks at its ends, as far above the line as below it.
            for (const QLineF& end : {endLow, endHigh}) {
                QVERIFY(isVertical(end));
                QVERIFY2(qAbs((end.y1() + end.y2()) / 2 - y) < close,
                         qPrintable(QString::number(end.y1()) + QStringLiteral("..") +
                                    QString::number(end.y2())));
                QVERIFY(qAbs(end.length() - endLow.length()) < close);
            }
            QVERIFY(qAbs(endLow.x1() - ci95.x1()) < close);
            QVERIFY(qAbs(endHigh.x1() - ci95.x2()) < close);
            if (!row.equivalence) continue;
            // The 90% bar: centred on the row, at its ends, or half a line
            // wide about its middle where it would be thinner.
            const Painted& bar = d.painted[at - 4];
            QCOMPARE(bar.kind, Kind::rect);
            QVERIFY(qAbs(bar.rect.center().y() - y) < close);
            const qreal low = x(*row.equivalence->ciTostLow.value),
                        high = x(*row.equivalence->ciTostHigh.value);
            QVERIFY2(qAbs(bar.rect.center().x() - (low + high) / 2) < close,
                     qPrintable(QString::number(bar.rect.center().x() - (low + high) / 2)));
            QVERIFY(qAbs(bar.rect.width() - std::max(high - low, 0.5 * line)) < close);
        }
    }

    void tickLabelsSitUnderTheirTicksApart_data() {
        QTest::addColumn<testing_support::Inputs>("inputs");
        QTest::addColumn<qreal>("widthInLines");  // 0: the plot's narrowest
        const QList<std::pair<const char*, testing_support::Inputs>> runs = {
            {"run A", {}},
            {"bounds far apart", {.notTrivial = "123456.125"}},
            {"huge bound", {.notTrivial = "1e308"}},
            {"a difference of minus ten million, ticks in scientific notation",
             {.mean1 = "1", .mean2 = "1e7"}},
            {"small values",
             {.mean1 = "0.0012",
              .sd1 = "0.0004",
              .mean2 = "0.0011",
              .sd2 = "0.0004",
              .notTrivial = "0.0002"}}};
        for (const auto& [name, inputs] : runs) {
            for (const qreal width : {0.0, 44.0, 90.0}) {
                const QString row = QString::fromLatin1(name) + QStringLiteral(", ") +
                                    (width > 0 ? QString::number(width) + QStringLiteral(" lines")
                                               : QStringLiteral("narrowest"));
                QTest::newRow(qPrintable(row)) << inputs << width;
            }
        }
    }

    // Each label centred under its tick, the ticks hanging the same visible
    // length below the axis, neighbouring labels at least half a line apart,
    // and no more ticks than labels as wide as the widest, each with a line
    // of room, fit along the axis.
    void tickLabelsSitUnderTheirTicksApart() {
        QFETCH(testing_support::Inputs, inputs);
        QFETCH(qreal, widthInLines);
        const Drawing d = draw(reportOf(inputs), widthInLines);
        const std::vector<Tick> ticks = ticksOf(d);
        QVERIFY(ticks.size() >= 2);
        std::optional<qreal> previousRight;
        qreal widest = 0;
        for (const Tick& tick : ticks) {
            const qreal width = textWidth(tick.label);
            const qreal centre = tick.label.baseline.x() + width / 2;
            QVERIFY2(qAbs(centre - tick.mark.x1()) < 0.05 * d.line,
                     qPrintable(tick.label.text + QStringLiteral(" centred at ") +
                                QString::number(centre) + QStringLiteral(", tick at ") +
                                QString::number(tick.mark.x1())));
            QVERIFY(qAbs(tick.mark.length() - ticks.front().mark.length()) < 1e-9);
            QVERIFY(tick.mark.length() > 0.2 * d.line && tick.mark.length() < 0.5 * d.line);
            QVERIFY(tick.label.baseline.y() > std::max(tick.mark.y1(), tick.mark.y2()));
            if (previousRight)
                QVERIFY2(tick.label.baseline.x() - *previousRight >= 0.5 * d.line,
                         qPrintable(tick.label.text));
            previousRight = tick.label.baseline.x() + width;
            widest = std::max(widest, width);
        }
        const qreal room = static_cast<qreal>(ticks.size()) * (widest + d.line);
        QVERIFY2(room <= axisLineOf(d).length() + 1e-6,
                 qPrintable(QString::number(ticks.size()) + QStringLiteral(" ticks need ") +
                            QString::number(room)));
    }

    void ratioAxisIsLogarithmicAroundOne_data() {
        QTest::addColumn<testing_support::Inputs>("inputs");
        QTest::newRow("run A") << testing_support::Inputs{};
        QTest::newRow("matched") << testing_support::matchedRun();
        QTest::newRow("group 2 near 0: unbounded intervals")
            << testing_support::Inputs{.mean1 = "5", .sd1 = "2", .mean2 = "1", .sd2 = "2.5"};
        QTest::newRow("a negative ratio, drawn at the left end")
            << testing_support::Inputs{.mean1 = "-3", .mean2 = "5"};
        QTest::newRow("ratio 40: decades")
            << testing_support::Inputs{.mean1 = "400", .mean2 = "10"};
    }

    // On the ratio scale every tick is a percent, equal ratios lie equally
    // far apart (the axis is the log), 100% lies in the middle of the axis,
    // the bounds are labelled in percent, and nothing is drawn off the page.
    void ratioAxisIsLogarithmicAroundOne() {
        QFETCH(testing_support::Inputs, inputs);
        const report::Report r = reportOf(inputs, {.scale = settings::Scale::ratio});
        const Drawing d = draw(r, 44);
        const std::vector<Tick> ticks = ticksOf(d);
        QVERIFY(ticks.size() >= 2);
        const auto ratioOf = [](const Tick& t) {
            QString text = t.label.text;
            if (!text.endsWith(QLatin1Char('%'))) return std::nan("");
            text.chop(1);
            return text.toDouble() / 100;
        };
        const double r0 = ratioOf(ticks.front()), r1 = ratioOf(ticks.back());
        const qreal x0 = ticks.front().mark.x1(), x1 = ticks.back().mark.x1();
        for (const Tick& t : ticks) {
            const double ratio = ratioOf(t);
            QVERIFY2(ratio > 0, qPrintable(t.label.text));
            const qreal expected = x0 + std::log(ratio / r0) / std::log(r1 / r0) * (x1 - x0);
            QVERIFY2(qAbs(t.mark.x1() - expected) < 1e-6 * d.line, qPrintable(t.label.text));
        }
        const QLineF axis = axisLineOf(d);
        const qreal atOne = x0 + std::log(1 / r0) / std::log(r1 / r0) * (x1 - x0);
        QVERIFY(qAbs(atOne - (axis.x1() + axis.x2()) / 2) < 1e-6 * d.line);
        bool lower = false, upper = false;
        for (const Painted& p : d.painted) {
            lower = lower || p.text == QStringLiteral("lower bound 80.00%");
            upper = upper || p.text == QStringLiteral("upper bound 125.00%");
            if (p.kind == Kind::line)
                QVERIFY(std::isfinite(p.line.x1()) && std::isfinite(p.line.x2()));
            if (p.kind == Kind::text) QVERIFY(std::isfinite(p.baseline.x()));
        }
        QVERIFY(lower && upper);
    }

    // The left axis that the figures share (the planner's power curve): each
    // label level with its tick and ending just left of it.
    void leftAxisLabelsSitLevelWithTheirTicks() {
        const figure::Axis axis = figure::niceAxis({0.0, 1.0});
        testing_support::RecordingDevice device(QSize(400, 400));
        const QFont font;
        const qreal line = figure::lineHeight(font, &device), x = 100;
        {
            QPainter painter(&device);
            figure::drawLeftAxis(painter, axis, 50, 350, x, line,
                                 [](double v) { return 350 - 300 * v; });
        }
        const std::vector<Painted>& painted = device.painted();
        const QFontMetricsF metrics(font, &device);
        int labels = 0;
        for (std::size_t i = 0; i + 1 < painted.size(); ++i) {
            const QLineF tick = painted[i].line;
            if (painted[i].kind != Kind::line || tick.y1() != tick.y2() ||
                painted[i + 1].kind != Kind::text)
                continue;
            const Painted& label = painted[i + 1];
            const qreal middle = label.baseline.y() - metrics.ascent() + metrics.height() / 2;
            QVERIFY2(qAbs(middle - tick.y1()) < 0.05 * line, qPrintable(label.text));
            const qreal right = label.baseline.x() + metrics.horizontalAdvance(label.text);
            QVERIFY(right <= std::min(tick.x1(), tick.x2()) && right > x - 1.5 * line);
            ++labels;
        }
        QCOMPARE(labels, static_cast<int>(axis.ticks.size()));
    }

    // The row both figures draw, in each one's look: a bar too thin to see is
    // widened (about its middle in the report, rightwards from its low end in
    // the scores figure), and the diamond is open or white inside.
    void theIntervalRowKeepsEachFiguresLook_data() {
        QTest::addColumn<bool>("scores");  // the scores figure's look, else the report's
        QTest::addColumn<qreal>("low");
        QTest::addColumn<qreal>("high");
        QTest::addColumn<qreal>("left");  // the bar as drawn, at a line of 20
        QTest::addColumn<qreal>("right");
        QTest::newRow("report, wide") << false << 100.0 << 180.0 << 100.0 << 180.0;
        QTest::newRow("report, thinner than half a line")
            << false << 100.0 << 104.0 << 97.0 << 107.0;
        QTest::newRow("report, equal ends") << false << 100.0 << 100.0 << 95.0 << 105.0;
        QTest::newRow("report, exactly half a line") << false << 100.0 << 110.0 << 100.0 << 110.0;
        QTest::newRow("scores, wide") << true << 100.0 << 180.0 << 100.0 << 180.0;
        QTest::newRow("scores, thinner than an eighth") << true << 100.0 << 101.0 << 100.0 << 102.5;
        QTest::newRow("scores, equal ends") << true << 100.0 << 100.0 << 100.0 << 102.5;
    }

    void theIntervalRowKeepsEachFiguresLook() {
        QFETCH(bool, scores);
        QFETCH(qreal, low);
        QFETCH(qreal, high);
        QFETCH(qreal, left);
        QFETCH(qreal, right);
        const figure::IntervalRowLook& look =
            scores ? figure::scoresFigureRow : figure::equivalencePlotRow;
        constexpr qreal line = 20, y = 50;
        figure::IntervalRow row{.y = y,
                                .bar = std::pair{low, high},
                                .barColour = figure::okabeBlue,
                                .whiskers = std::nullopt,
                                .estimate = (low + high) / 2};
        if (!scores) row.whiskers = std::pair{low - 10, high + 10};
        testing_support::RecordingDevice device(QSize(300, 100));
        {
            QPainter painter(&device);
            figure::drawIntervalRow(painter, row, line, look);
        }
        const std::vector<Painted>& painted = device.painted();
        QCOMPARE(painted.size(), scores ? std::size_t{2} : std::size_t{5});
        const Painted& bar = painted.front();
        QCOMPARE(bar.kind, Kind::rect);
        QCOMPARE(bar.brush.color(), figure::okabeBlue);
        QCOMPARE(bar.rect, QRectF(QPointF(left, y - look.barHalfHeight * line),
                                  QPointF(right, y + look.barHalfHeight * line)));
        const Painted& diamond = painted.back();
        QCOMPARE(diamond.kind, Kind::path);
        QCOMPARE(diamond.path.boundingRect().height(), 2 * look.diamondHalf * line);
        QCOMPARE(diamond.brush.style(), scores ? Qt::SolidPattern : Qt::NoBrush);
        if (scores) QCOMPARE(diamond.brush.color(), QColor(Qt::white));
    }
};

}  // namespace
}  // namespace tarnwick

QTEST_MAIN(tarnwick::PlotDrawingTest)
#include "plot_drawing_test.moc"
