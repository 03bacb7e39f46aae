// The report window on Qt's offscreen platform: what it shows for a worked
// run, copying, saving each format (read back), a failed save, and Esc.

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <QTimer>
#include <cmath>

#include "announcer.h"
#include "box_fixture.h"
#include "equivalence_plot.h"
#include "frmReport.h"
#include "plot_axis.h"
#include "recording_device.h"
#include "report_files.h"
#include "report_text_view.h"
#include "settled_announcer.h"

namespace tarnwick {
namespace {

struct Recorded {
    QString nextPath, nextFilter;
    QStringList messages;
};

RunRecord recordOf(const testing_support::Inputs& in) {
    BoxTable boxes;
    testing_support::enter(boxes, in);
    RunRecord record;
    runCommand(boxes, &record);
    return record;
}

report::Report reportOf(const testing_support::Inputs& in) {
    return report::makeReport(recordOf(in)).value();
}

report::ReportInputs reportInputsOf(const testing_support::Inputs& in) {
    return {in.mean1,      in.sd1,      in.n1,        in.mean2,   in.sd2,  in.n2,
            in.notTrivial, in.meanDiff, in.sdMatched, in.matched, in.welch};
}

// The difference far beyond the bounds, which sit a pixel apart.
const testing_support::Inputs overlapRun = testing_support::overlapRun();
const testing_support::Inputs matchedRun = testing_support::matchedRun();

// Spans that a line break must never fall inside: a number, and a relation
// with its number ("p < .001", "t(18) = -2.24").
QList<std::pair<qsizetype, qsizetype>> wholeSpans(const QString& text) {
    static const QRegularExpression whole(QStringLiteral(
        "[A-Za-z()0-9.]+[ \\x{00A0}][<=>]{1,2}[ \\x{00A0}][-+]?[0-9.\\x{2060}]+(e[-+][0-9]+)?|"
        "[-+]?[0-9]*[.\\x{2060}]*[0-9]+(e[-+][0-9]+)?"));
    QList<std::pair<qsizetype, qsizetype>> spans;
    for (auto it = whole.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        spans.append({m.capturedStart(), m.capturedEnd()});
    }
    return spans;
}

class ReportWindowTest : public QObject {
    Q_OBJECT

    testing_support::Inputs inputs_{};  // run A
    report::ReportInputs reportInputs_{"10", "2", "10", "9", "2", "10", "3", "", "", false, false};

    RunRecord recordOfRunA() { return recordOf(inputs_); }
    report::Report reportOfRunA() { return report::makeReport(recordOfRunA()).value(); }

    // A window whose file dialog and message box answer from `recorded`.
    std::unique_ptr<frmReport> window(Recorded& recorded) {
        ReportPlatform platform;
        platform.chooseSaveFile = [&recorded](QWidget*, const QString&, const QString& filters,
                                              QString* selected) {
            if (!filters.split(QStringLiteral(";;")).contains(recorded.nextFilter))
                return QString();
            *selected = recorded.nextFilter;
            return recorded.nextPath;
        };
        platform.showMessage = [&recorded](QWidget*, const QString& prompt, MessageIcon icon,
                                           const QString&) {
            QVERIFY(icon == MessageIcon::error);
            recorded.messages << prompt;
        };
        return std::make_unique<frmReport>(recordOfRunA(), reportInputs_, platform);
    }

    template <typename T>
    T* child(QWidget& w, const char* name) {
        return w.findChild<T*>(QString::fromLatin1(name));
    }

private slots:
    void showsTheTextAndPlotOfTheRunWithItsInputs() {
        Recorded recorded;
        auto w = window(recorded);
        const QString text = child<report::ReportTextView>(*w, "txtReport")->report();
        QCOMPARE(text, QString::fromStdString(report::reportText(reportOfRunA(), reportInputs_)));
        QVERIFY(child<QPlainTextEdit>(*w, "txtReport")->isReadOnly());
        QVERIFY(child<QLabel>(*w, "lblRun")
                    ->text()
                    .contains(QStringLiteral("non-trivial difference 3")));
        QVERIFY(child<report::EquivalencePlot>(*w, "plot")->report().has_value());
        for (QWidget* control : w->findChildren<QWidget*>()) {
            if (qobject_cast<QPushButton*>(control) || qobject_cast<QPlainTextEdit*>(control) ||
                qobject_cast<report::EquivalencePlot*>(control))
                QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
        }
    }

    // Made taller, the window gives the room to the text; the plot keeps
    // the height it needs.
    void extraHeightGoesToTheText() {
        Recorded recorded;
        auto w = window(recorded);
        w->resize(700, 600);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        auto* plot = child<report::EquivalencePlot>(*w, "plot");
        auto* text = child<QPlainTextEdit>(*w, "txtReport");
        const int plotHeight = plot->height(), textHeight = text->height();
        w->resize(700, 900);
        QTRY_VERIFY(text->height() > textHeight + 250);
        QCOMPARE(plot->height(), plotHeight);
    }

    void copiesTextAndPlot() {
        Recorded recorded;
        auto w = window(recorded);
        w->resize(700, 600);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QTest::mouseClick(child<QPushButton>(*w, "cmdCopyText"), Qt::LeftButton);
        QCOMPARE(QApplication::clipboard()->text(),
                 child<report::ReportTextView>(*w, "txtReport")->report());
        QTest::mouseClick(child<QPushButton>(*w, "cmdCopyPlot"), Qt::LeftButton);
        const QImage image = QApplication::clipboard()->image();
        QVERIFY(!image.isNull());
        QVERIFY(image.width() >= child<report::EquivalencePlot>(*w, "plot")->width());
    }

    // "p = .019" must not wrap after its point on screen, and what the user
    // selects and copies must not carry the joiner that prevents it.
    void numbersStayWholeOnScreenAndCopyWithoutJoiners() {
        Recorded recorded;
        auto w = window(recorded);
        auto* view = child<report::ReportTextView>(*w, "txtReport");
        const QString shown = view->toPlainText();
        QVERIFY(view->report().contains(QStringLiteral("p = .019")));
        QTextBoundaryFinder lines(QTextBoundaryFinder::Line, shown);
        for (qsizetype i = shown.indexOf(QStringLiteral(" .")); i >= 0;
             i = shown.indexOf(QStringLiteral(" ."), i + 1)) {
            lines.setPosition(i + 2);
            QVERIFY2(!lines.isAtBoundary(), qPrintable(shown.mid(i - 5, 12)));
        }
        view->selectAll();
        view->copy();
        QCOMPARE(QApplication::clipboard()->text(), view->report());
    }

    // The PDF's lines (and any other layout of the text outside the view)
    // break only where the view's may: never inside "p < .001" or "-0.26".
    void theLaidOutTextNeverSplitsANumber() {
        const QString text = QString::fromStdString(
            report::reportText(reportOf(matchedRun), reportInputsOf(matchedRun)));
        QImage device(1, 1, QImage::Format_ARGB32_Premultiplied);
        const QFontMetricsF metrics(QFont(), &device);
        for (int chars = 12; chars <= 120; chars += 3) {
            const QStringList lines =
                report::wrappedLines(text, metrics, chars * metrics.averageCharWidth());
            // Joined again at the breaks, the lines are the text; no break
            // falls inside a span that must stay whole.
            QString joined;
            QList<qsizetype> breaks;
            for (qsizetype i = 0; i < lines.size(); ++i) {
                if (i > 0) {
                    const bool paragraphEnds = text.at(joined.size()) == QLatin1Char('\n');
                    if (!paragraphEnds) breaks << joined.size();
                    joined += paragraphEnds ? QLatin1Char('\n') : QLatin1Char(' ');
                }
                joined += lines[i];
            }
            QCOMPARE(joined, text);
            for (const auto& [start, end] : wholeSpans(text)) {
                for (const qsizetype at : breaks)
                    QVERIFY2(at <= start || at >= end,
                             qPrintable(QString::number(chars) + QStringLiteral(": ") +
                                        text.mid(start, end - start)));
            }
        }
    }

    // The PDF's page as drawn: its lines of text, at any page width, break
    // only between words, never inside "p < .001" or "-0.26".
    void thePagesLinesNeverSplitANumber() {
        const report::Report r = reportOf(matchedRun);
        const QString text =
            QString::fromStdString(report::reportText(r, reportInputsOf(matchedRun)));
        // Compared with spaces of every kind as one plain space.
        const auto plain = [](QString s) {
            s.remove(QChar(0x2060));
            return s.replace(QChar(0x00A0), QLatin1Char(' ')).simplified();
        };
        const QString written = plain(text);
        for (int width = 150; width <= 900; width += 25) {
            testing_support::RecordingDevice page(QSize(width, 5000));
            {
                QPainter painter(&page);
                report::paintReportPage(painter, QRectF(0, 0, width, 5000), r, text, QFont());
            }
            // The text comes first, line under line; a line may be drawn in pieces.
            QStringList lines;
            qreal baseline = -1;
            for (const testing_support::Painted& p : page.painted()) {
                if (p.kind != testing_support::Painted::Kind::text) continue;
                if (plain(lines.join(QLatin1Char(' '))).size() >= written.size()) break;
                if (p.baseline.y() != baseline) lines << QString();
                lines.last() += p.text;
                baseline = p.baseline.y();
            }
            // Joined again at their breaks (a space, or none after a hyphen),
            // the lines are the text.
            QString joined;
            QList<qsizetype> breaks;
            for (const QString& line : lines) {
                if (!joined.isEmpty()) {
                    breaks << joined.size();
                    if (written.mid(joined.size(), 1) == QStringLiteral(" ")) joined += u' ';
                }
                joined += plain(line);
            }
            QCOMPARE(joined, written);
            QVERIFY(breaks.size() > 3);
            for (const auto& [start, end] : wholeSpans(written)) {
                for (const qsizetype at : breaks)
                    QVERIFY2(at <= start || at >= end,
                             qPrintable(QString::number(width) + QStringLiteral(": ") +
                                        written.mid(start, end - start)));
            }
        }
    }

    // The same on screen, at every width the window can take.
    void theViewNeverSplitsANumber() {
        Recorded recorded;
        auto w = std::make_unique<frmReport>(recordOf(matchedRun), reportInputsOf(matchedRun));
        auto* view = child<report::ReportTextView>(*w, "txtReport");
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        for (int width = w->minimumSizeHint().width(); width <= 1400; width += 37) {
            w->resize(width, 700);
            QApplication::processEvents();
            for (QTextBlock block = view->document()->begin(); block.isValid();
                 block = block.next()) {
                const QString shown = block.text();
                const QTextLayout* layout = block.layout();
                for (int i = 1; i < layout->lineCount(); ++i) {
                    const int at = layout->lineAt(i).textStart();
                    for (const auto& [start, end] : wholeSpans(shown))
                        QVERIFY2(at <= start || at >= end,
                                 qPrintable(QString::number(width) + QStringLiteral(": ") +
                                            shown.mid(start, end - start)));
                }
            }
        }
    }

    // What a screen reader gets is the report itself, without the joiners
    // that steer the line breaking, and its offsets are the report's.
    void theAccessibleTextIsTheReport() {
        Recorded recorded;
        auto w = window(recorded);
        auto* view = child<report::ReportTextView>(*w, "txtReport");
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(view);
        QVERIFY(accessible != nullptr && accessible->textInterface() != nullptr);
        QAccessibleTextInterface* text = accessible->textInterface();
        const QString report = view->report();
        QVERIFY(accessible->state().readOnly && accessible->state().multiLine);
        QCOMPARE(text->characterCount(), report.size());
        QCOMPARE(text->text(0, text->characterCount()), report);
        QCOMPARE(accessible->text(QAccessible::Value), report);
        const int at = static_cast<int>(report.indexOf(QStringLiteral("p = .019")));
        text->setSelection(0, at, at + 8);
        QCOMPARE(view->textCursor().selectedText().remove(QChar(0x2060)),
                 QStringLiteral("p\u00A0=\u00A0.019"));
        int start = 0, end = 0;
        text->selection(0, &start, &end);
        QCOMPARE(std::pair(start, end), std::pair(at, at + 8));
        text->setCursorPosition(at + 6);  // after ".0", past the joiner
        QCOMPARE(text->cursorPosition(), at + 6);
        QCOMPARE(view->document()->characterAt(view->textCursor().position()), QLatin1Char('1'));
        QCOMPARE(text->text(at, at + 8), QStringLiteral("p = .019"));
        text->setSelection(0, at, at + 8);
        text->removeSelection(0);
        QCOMPARE(text->selectionCount(), 0);
        text->selection(0, &start, &end);
        QCOMPARE(std::pair(start, end), std::pair(0, 0));
    }

    // A report of a run older than the latest press of OK says so, in the
    // line a screen reader reads, and that line holds the inputs.
    void aReportOfAnEarlierRunSaysSo() {
        report::ReportInputs inputs = reportInputs_;
        for (const bool stopped : {false, true}) {
            inputs.latestRunStopped = stopped;
            frmReport w(recordOfRunA(), inputs);
            auto* line = child<QLabel>(w, "lblRun");
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(line);
            const QString heard = accessible->text(QAccessible::Name);
            QVERIFY2(heard.contains(QStringLiteral("group 2 mean 9, SD 2, n 10")),
                     qPrintable(heard));
            QCOMPARE(heard.startsWith(QStringLiteral("This is the report of an earlier run; the "
                                                     "latest run stopped with a message.")),
                     stopped);
            QCOMPARE(w.accessibleDescription(), QString::fromStdString(report::runLine(inputs)));
        }
    }

    // A new report, or the sentence why there is none, is told to a screen
    // reader once the settings stand; the report the window opens with is
    // read with it, and the same news is not told twice.
    void announcesNewReportsAndProblems_data() {
        QTest::addColumn<QStringList>("alphas");  // typed in turn, each left to stand
        QTest::addColumn<QStringList>("heard");
        // The settings' own sentence, naming what was typed.
        const auto refused = [](const char* typed) {
            return QStringLiteral("Alpha must be a number such as 0.05, not \"%1\".")
                .arg(QLatin1String(typed));
        };
        QTest::newRow("the opening's settings again") << QStringList{"0.05"} << QStringList{};
        QTest::newRow("another conclusion")
            << QStringList{"0.005"} << QStringList{"Independent samples: inconclusive."};
        QTest::newRow("a problem, then mended")
            << QStringList{"five", "0.05"}
            << QStringList{refused("five"), "Independent samples: equivalent."};
        QTest::newRow("typed fast: only where it stands")
            << QStringList{"0.00-"} << QStringList{refused("0.00-")};
    }
    void announcesNewReportsAndProblems() {
        QFETCH(QStringList, alphas);
        QFETCH(QStringList, heard);
        frmReport w(recordOfRunA(), reportInputs_);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QSignalSpy spoken(w.findChild<Announcer*>(), &Announcer::announced);
        auto* alpha = child<QLineEdit>(w, "txtAlpha");
        for (const QString& typed : alphas) {
            alpha->setFocus();
            alpha->selectAll();
            QTest::keyClicks(alpha, typed);
            QTest::qWait(SettledAnnouncer::defaultSettleMs + 200);
        }
        QStringList said;
        for (const QList<QVariant>& signal : spoken)
            said << signal.at(0).toString();
        QCOMPARE(said, heard);
    }

    // Return and keypad Enter press the focused button, as in the main window.
    void enterPressesTheFocusedButton() {
        Recorded recorded;
        auto w = window(recorded);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QApplication::clipboard()->clear();
        auto* copy = child<QPushButton>(*w, "cmdCopyText");
        copy->setFocus();
        QTest::keyClick(copy, Qt::Key_Return);
        QTRY_COMPARE(QApplication::clipboard()->text(),
                     child<report::ReportTextView>(*w, "txtReport")->report());
        auto* close = child<QPushButton>(*w, "cmdClose");
        close->setFocus();
        QTest::keyClick(close, Qt::Key_Enter, Qt::KeypadModifier);
        QTRY_VERIFY(!w->isVisible());
    }

    // Every text of the plot inside it at the window's narrowest, the bound
    // labels apart however close the bounds, and no two texts meeting even
    // in a substitute font that is wider.
    void thePlotsTextsFitAndNeverMeet() {
        struct Run {
            const char* name;
            testing_support::Inputs inputs;
            QStringList written;  // among the texts, word for word
        };
        const QList<Run> runs = {
            {"overlap",
             overlapRun,
             {"lower bound -3.00", "upper bound 3.00", "different, not equivalent",
              "equivalence region between the bounds (dashed)"}},
            {"matched",
             matchedRun,
             {"Matched samples (paired t):", "equivalent, but different from zero",
              "matched: mean of the difference scores)"}},
            {"reversed",
             {.notTrivial = "-3"},
             {"lower bound 3.00", "upper bound -3.00",
              "bounds (dashed) reversed by a negative non-trivial difference:",
              "no equivalence region"}},
            {"zero bound", {.notTrivial = "0"}, {"bounds (dashed) at zero: no equivalence region"}},
            {"overlap at the right", {.mean1 = "-1100"}, {"lower bound -3.00", "upper bound 3.00"}},
            {"reversed at the right",
             {.mean1 = "-1100", .notTrivial = "-3"},
             {"lower bound 3.00", "upper bound -3.00"}},
            {"no bound",
             {.notTrivial = ""},
             {"no bounds", "no bounds: no non-trivial difference was entered"}},
            {"huge bound", {.notTrivial = "1e308"}, {"upper bound 1.00e+308"}},
            {"bounds far apart", {.notTrivial = "123456.125"}, {"lower bound -123456.125"}},
            {"welch", testing_support::runB("6", true), {"Independent samples (Welch's t):"}}};
        QImage device(1, 1, QImage::Format_ARGB32_Premultiplied);
        const QFont font;
        const qreal line = QFontMetricsF(font, &device).height();
        for (const auto& [name, inputs, written] : runs) {
            const report::Report r = reportOf(inputs);
            const qreal narrowest = report::equivalencePlotMinimumWidth(r, font, &device);
            for (const qreal width : {narrowest, 44 * line, 90 * line}) {
                const QRectF area(0, 0, width, report::equivalencePlotHeight(r, font, &device));
                const auto texts = report::equivalencePlotTexts(area, r, font, &device);
                QStringList all;
                for (const report::PlotText& t : texts)
                    all << t.text;
                for (const QString& words : written)
                    QVERIFY2(all.contains(words), qPrintable(words + QStringLiteral(" in ") +
                                                             all.join(QStringLiteral(" | "))));
                // The bounds' labels in the order of their lines, also where
                // reversed bounds put the upper bound's line on the left.
                if (const auto& eq = r.independent.equivalence; eq && eq->boundLow != 0)
                    QVERIFY2((texts[0].box.left() < texts[1].box.left()) ==
                                 (eq->boundLow < eq->boundHigh),
                             name);
                for (const report::PlotText& t : texts)
                    QVERIFY2(area.contains(t.box),
                             qPrintable(QString::fromLatin1(name) + QStringLiteral(": ") + t.text));
                for (std::size_t i = 0; i < texts.size(); ++i) {
                    for (std::size_t j = 0; j < texts.size(); ++j) {
                        QRectF wider = texts[i].box;
                        wider.setWidth(wider.width() * (1 + report::substituteFontSpare));
                        QVERIFY2(i == j || !wider.intersects(texts[j].box),
                                 qPrintable(QString::fromLatin1(name) + QStringLiteral(": ") +
                                            texts[i].text + QStringLiteral(" / ") + texts[j].text));
                    }
                }
            }
        }
    }

    // What the plot draws can be seen: a 90% interval a pixel or two wide
    // beside the diamond, the diamond itself, the 95% line where the 90% bar
    // is the wider (pooled standard error with Welch's df), and the legend's
    // samples beside their words.
    // A one-sided question's plot: one dashed line and one label at the
    // margin, the side the alternative claims shaded to the axis' end and
    // the other side not, and a legend naming both; on the ratio's log axis
    // too. Every text inside the plot and clear of the others.
    void aOneSidedPlotShadesTheClaimedSide() {
        using settings::Better;
        using settings::Hypothesis;
        using settings::Scale;
        const struct {
            const char* name;
            settings::TestSettings settings;
            const char* label;
            const char* legend;
            bool shadedRight;
        } rows[] = {
            {"non-inferiority",
             {.alpha = 0.025, .hypothesis = Hypothesis::nonInferiority, .margin = -0.5},
             "margin -0.50",
             "shaded: above the margin (dashed), where the difference is not inferior",
             true},
            {"non-superiority, lower better",
             {.alpha = 0.025,
              .hypothesis = Hypothesis::nonSuperiority,
              .margin = -1,
              .better = Better::lower},
             "margin -1.00",
             "shaded: above the margin (dashed), where the difference is not superior",
             true},
            {"superiority, lower better",
             {.alpha = 0.05,
              .hypothesis = Hypothesis::superiority,
              .margin = -0.5,
              .better = Better::lower},
             "margin -0.50",
             "shaded: below the margin (dashed), where the difference is superior",
             false},
            {"ratio, non-superiority",
             {.alpha = 0.025,
              .hypothesis = Hypothesis::nonSuperiority,
              .scale = Scale::ratio,
              .margin = 1.25},
             "margin 125.00%",
             "shaded: below the margin (dashed), where the ratio is not superior",
             false},
        };
        QImage device(1, 1, QImage::Format_ARGB32_Premultiplied);
        const QFont font;
        const qreal line = QFontMetricsF(font, &device).height();
        for (const auto& row : rows) {
            const report::Report r = report::makeReport(recordOfRunA(), row.settings).value();
            const qreal width =
                std::max(44 * line, report::equivalencePlotMinimumWidth(r, font, &device));
            const QRectF area(0, 0, width, report::equivalencePlotHeight(r, font, &device));
            const auto texts = report::equivalencePlotTexts(area, r, font, &device);
            QStringList all;
            for (const report::PlotText& t : texts)
                all << t.text;
            QCOMPARE(all.filter(QStringLiteral("margin ")).size(), 2);  // the label, the legend
            QVERIFY2(all.contains(QString::fromLatin1(row.label)), qPrintable(all.join(" | ")));
            QVERIFY2(all.contains(QString::fromLatin1(row.legend)), qPrintable(all.join(" | ")));
            QVERIFY(all.filter(QStringLiteral("bound")).isEmpty());
            for (const report::PlotText& t : texts) {
                QVERIFY2(area.contains(t.box), qPrintable(QString::fromLatin1(row.name) + t.text));
                for (const report::PlotText& u : texts)
                    QVERIFY2(&t == &u || !t.box.intersects(u.box),
                             qPrintable(t.text + QStringLiteral(" / ") + u.text));
            }
            // Just above the ticks, near either end of the axis.
            QImage image(area.size().toSize(), QImage::Format_ARGB32_Premultiplied);
            QPainter painter(&image);
            report::paintEquivalencePlot(painter, area, r, font);
            painter.end();
            qreal titleTop = area.bottom();
            for (const report::PlotText& t : texts)
                if (t.text.startsWith(QStringLiteral("Difference in")) ||
                    t.text.startsWith(QStringLiteral("Ratio in")))
                    titleTop = t.box.top();
            const int y = qRound(titleTop - 2.0 * line);
            const QColor left = image.pixelColor(qRound(area.left() + 1.6 * line), y);
            const QColor right = image.pixelColor(qRound(area.right() - 1.6 * line), y);
            QVERIFY2((right != QColor(Qt::white)) == row.shadedRight, row.name);
            QVERIFY2((left != QColor(Qt::white)) == !row.shadedRight, row.name);
        }
    }

    void thePlotShowsEveryIntervalAndItsLegend() {
        const auto near = [](QColor c, QColor target) {
            return qAbs(c.red() - target.red()) + qAbs(c.green() - target.green()) +
                       qAbs(c.blue() - target.blue()) <
                   30;
        };
        const QColor orange(213, 94, 0), blue(0, 114, 178), black(0, 0, 0);
        const QFont font;
        // The difference far beyond the bounds: its intervals are narrower than the diamond.
        {
            const QImage image = report::plotImage(reportOf(overlapRun), font, 700, 1);
            int left = image.width(), right = -1, top = image.height(), bottom = -1;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (near(image.pixelColor(x, y), orange)) {
                        left = std::min(left, x), right = std::max(right, x);
                        top = std::min(top, y), bottom = std::max(bottom, y);
                    }
            QVERIFY2(right - left >= 2, "the 90% interval is hidden");
            int edgeAbove = 0, edgeBelow = 0;
            for (int x = left - 8; x <= right + 8; ++x) {
                for (int y = top - 8; y < top; ++y)
                    edgeAbove += near(image.pixelColor(x, y), black);
                for (int y = bottom + 1; y <= bottom + 8; ++y)
                    edgeBelow += near(image.pixelColor(x, y), black);
            }
            QVERIFY2(edgeAbove > 3 && edgeBelow > 3, "no diamond around the estimate");
        }
        // Welch's df with the larger SD in the larger group.
        {
            const report::Report r = reportOf(testing_support::welchNinetyWiderRun());
            QVERIFY(*r.independent.equivalence->ciTostLow.value <
                    *r.independent.ordinary.ciTestLow.value);
            const QImage image = report::plotImage(r, font, 700, 1);
            int barRow = -1, barLeft = 0, barRight = 0;
            for (int y = 0; y < image.height() && barRow < 0; ++y) {
                QList<int> xs;
                for (int x = 0; x < image.width(); ++x)
                    if (near(image.pixelColor(x, y), blue) || near(image.pixelColor(x, y), orange))
                        xs << x;
                if (xs.size() > 100) barRow = y, barLeft = xs.first(), barRight = xs.last();
            }
            QVERIFY(barRow >= 0);
            // The bar's middle rows: the 95% line crosses most of the bar in ink.
            int inked = 0;
            for (int y = barRow; y < barRow + 8; ++y) {
                int dark = 0;
                for (int x = barLeft; x <= barRight; ++x)
                    dark += image.pixelColor(x, y).lightness() < 60;
                inked = std::max(inked, dark);
            }
            QVERIFY2(inked > (barRight - barLeft) / 2, "the 95% line is hidden under the bar");
            // The diamond's top tip stands above the bar at the estimate, its middle.
            const int middle = (barLeft + barRight) / 2;
            int tip = 0;
            for (int y = barRow - 3; y < barRow; ++y)
                for (int x = middle - 3; x <= middle + 3; ++x)
                    tip += image.pixelColor(x, y).lightness() < 100;
            QVERIFY2(tip > 0, "no diamond at the estimate");
            // The legend's bar sample sits beside its words.
            QImage device(1, 1, QImage::Format_ARGB32_Premultiplied);
            const QRectF area(0, 0, 700, report::equivalencePlotHeight(r, font, &device));
            const auto texts = report::equivalencePlotTexts(area, r, font, &device);
            const auto legend = std::find_if(texts.begin(), texts.end(), [](const auto& t) {
                return t.text.startsWith(QStringLiteral("90% CI"));
            });
            QVERIFY(legend != texts.end());
            qreal sum = 0;
            int count = 0;
            for (int y = qRound(legend->box.top()) - 10; y < qRound(legend->box.bottom()) + 10; ++y)
                for (int x = 0; x < qRound(legend->box.left()); ++x)
                    if (near(image.pixelColor(x, y), blue)) sum += y, ++count;
            QVERIFY(count > 10);
            QVERIFY(qAbs(sum / count - legend->box.center().y()) < 2);
        }
    }

    // The room left for a substitute font is enough for the one an SVG
    // reader is likeliest to use where Liberation Sans is missing.
    void aSubstituteFontFitsTheRoomLeftForIt() {
        QVERIFY(QFontDatabase::addApplicationFont(
                    QStringLiteral(TARNWICK_FONTS_DIR "/LiberationSans-Regular.ttf")) >= 0);
        QVERIFY(QFontDatabase::addApplicationFont(
                    QStringLiteral(TARNWICK_FONTS_DIR "/LiberationSans-Bold.ttf")) >= 0);
        QFont carried(QStringLiteral("Liberation Sans")), substitute(QStringLiteral("DejaVu Sans"));
        if (QFontInfo(substitute).family() != QStringLiteral("DejaVu Sans"))
            QSKIP("DejaVu Sans is not installed");
        QImage device(1, 1, QImage::Format_ARGB32_Premultiplied);
        for (const auto& inputs : {overlapRun, matchedRun}) {
            const report::Report r = reportOf(inputs);
            for (const report::PlotText& t :
                 report::equivalencePlotTexts(QRectF(0, 0, 2000, 800), r, carried, &device)) {
                carried.setBold(t.bold);
                substitute.setBold(t.bold);
                const qreal ratio = QFontMetricsF(substitute, &device).horizontalAdvance(t.text) /
                                    QFontMetricsF(carried, &device).horizontalAdvance(t.text);
                QVERIFY2(ratio < 1 + report::substituteFontSpare,
                         qPrintable(t.text + QStringLiteral(": ") + QString::number(ratio)));
            }
        }
    }

    void savesEachFormatAndReadsItBack() {
        QTemporaryDir dir;
        Recorded recorded;
        auto w = window(recorded);
        const QString filters = report::saveFilters();
        const QStringList filter = filters.split(QStringLiteral(";;"));
        struct Case {
            QString name, filter, expectedFile;
        };
        // The extension wins over the filter; without one, the filter's is added.
        const QList<Case> cases = {{"report.pdf", filter[3], "report.pdf"},
                                   {"plot", filter[1], "plot.png"},
                                   {"plot.svg", filter[0], "plot.svg"},
                                   {"report.txt", filter[2], "report.txt"}};
        for (const Case& c : cases) {
            recorded.nextPath = dir.filePath(c.name);
            recorded.nextFilter = c.filter;
            QTest::mouseClick(child<QPushButton>(*w, "cmdSave"), Qt::LeftButton);
            QVERIFY2(QFile::exists(dir.filePath(c.expectedFile)), qPrintable(c.expectedFile));
        }
        QVERIFY(recorded.messages.isEmpty());
        QFile pdf(dir.filePath("report.pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray pdfBytes = pdf.readAll();
        QVERIFY(pdfBytes.startsWith("%PDF-"));
        QVERIFY(pdfBytes.contains("/Count 1"));  // text and plot on one page
        // Its title, as a reader's window and document list show it (UTF-16).
        const QString title = QStringLiteral("Tarnwick report");
        QByteArray utf16;
        for (const QChar c : title)
            utf16 += '\0', utf16 += c.toLatin1();
        QVERIFY(pdfBytes.contains(utf16));
        const QImage png(dir.filePath("plot.png"));
        QVERIFY(!png.isNull() && png.height() > 100);
        QCOMPARE(filters, QStringLiteral("PDF, text and plot (*.pdf);;PNG image of the plot "
                                         "(*.png);;SVG image of the plot (*.svg);;Plain text "
                                         "(*.txt)"));
        QVERIFY(QSvgRenderer(dir.filePath("plot.svg")).isValid());
        QFile svg(dir.filePath("plot.svg"));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        const QString svgText = QString::fromUtf8(svg.readAll());
        QVERIFY(svgText.contains(QStringLiteral(", Arial, Helvetica, sans-serif\"")));
        QVERIFY(svgText.contains(QStringLiteral("<title>Equivalence plot</title>")));
        // A view box as large as the drawing, so that a reader can scale it.
        const auto viewBox =
            QRegularExpression(QStringLiteral("viewBox=\"0 0 ([0-9.]+) ([0-9.]+)\""))
                .match(svgText);
        QVERIFY(viewBox.hasMatch());
        QVERIFY(viewBox.captured(1).toDouble() > 300 && viewBox.captured(2).toDouble() > 100);
        QVERIFY(svgText.contains(QStringLiteral("equivalence bounds, from Tarnwick</desc>")));
        QVERIFY(!svgText.contains(QRegularExpression(QStringLiteral("font-family=\"[^\",]*\""))));
        QFile text(dir.filePath("report.txt"));
        QVERIFY(text.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(text.readAll()),
                 child<report::ReportTextView>(*w, "txtReport")->report());
    }

    void aFailedSaveIsReportedAndLeavesNoFile() {
        QTemporaryDir dir;
        Recorded recorded;
        auto w = window(recorded);
        recorded.nextPath = dir.filePath(QStringLiteral("missing/folder/report.txt"));
        recorded.nextFilter = report::saveFilters().split(QStringLiteral(";;"))[3];
        QTest::mouseClick(child<QPushButton>(*w, "cmdSave"), Qt::LeftButton);
        QCOMPARE(recorded.messages.size(), 1);
        QVERIFY(recorded.messages[0].contains(QStringLiteral("could not be saved")));
        QVERIFY(!QFile::exists(recorded.nextPath));
    }

    // The shaded region appears only between ordered bounds; with no bound or
    // reversed ones the rows are still drawn.
    void shadesTheRegionOnlyBetweenOrderedBounds() {
        const auto shadedPixels = [](const char* notTrivial) {
            BoxTable boxes;
            testing_support::Inputs in{};
            in.notTrivial = notTrivial;
            testing_support::enter(boxes, in);
            RunRecord record;
            runCommand(boxes, &record);
            const QImage image =
                report::plotImage(report::makeReport(record).value(), QFont(), 600, 1);
            int shaded = 0, bar = 0;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    shaded += qAbs(c.red() - 207) < 6 && qAbs(c.blue() - 250) < 6;
                    bar += c == QColor(0, 114, 178) || c == QColor(213, 94, 0);
                }
            }
            return std::pair{shaded, bar};
        };
        QVERIFY(shadedPixels("3").first > 1000);
        QCOMPARE(shadedPixels("-3").first, 0);
        QVERIFY(shadedPixels("-3").second > 100);  // the 90% bar, not equivalent
        QCOMPARE(shadedPixels("").first, 0);
    }

    void axisTicksAreNiceNumbersCoveringTheValues() {
        const QList<std::vector<double>> cases = {{-3, 3, 1}, {0.0012, 0.0047}, {-250, 10}, {5, 5}};
        for (const std::vector<double>& values : cases) {
            const report::Axis axis = report::niceAxis(values);
            const double mantissa = axis.step / std::pow(10.0, std::floor(std::log10(axis.step)));
            QVERIFY(qFuzzyCompare(mantissa, 1.0) || qFuzzyCompare(mantissa, 2.0) ||
                    qFuzzyCompare(mantissa, 5.0));
            QVERIFY(axis.ticks.size() >= 3 && axis.ticks.size() <= 12);
            for (const double v : values)
                QVERIFY(axis.low < v && v < axis.high);
            QVERIFY(axis.label(axis.ticks[0]) != axis.label(axis.ticks[1]));
        }
    }

    // The desktop's save dialog and message box, answered as a user would:
    // the caption offered, the path and filter chosen; the message's title,
    // words and icon, shown until it is answered.
    void theDesktopDialogsShowWhatTheyAreGiven() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("report.txt"));
        const QString textFilter = report::saveFilters().split(QStringLiteral(";;"))[3];
        QString caption;
        QStringList seen;
        QTimer answer;
        answer.setInterval(10);
        connect(&answer, &QTimer::timeout, this, [&] {
            for (QWidget* shown : QApplication::topLevelWidgets()) {
                if (!shown->isVisible()) continue;
                if (auto* dialog = qobject_cast<QFileDialog*>(shown)) {
                    caption = dialog->windowTitle();
                    dialog->selectNameFilter(textFilter);
                    // A file name box with the focus keeps what is typed in it
                    // and ignores selectFile.
                    if (QWidget* focused = dialog->focusWidget()) focused->clearFocus();
                    dialog->selectFile(path);
                    static_cast<QDialog*>(dialog)->accept();  // public in QDialog
                } else if (auto* box = qobject_cast<QMessageBox*>(shown)) {
                    seen << box->windowTitle() << box->text() << QString::number(box->icon());
                    box->accept();
                }
            }
        });
        answer.start();
        QString filter;
        QCOMPARE(chooseSaveFileModally(nullptr, QStringLiteral("Save the report"),
                                       report::saveFilters(), &filter),
                 path);
        QCOMPARE(filter, textFilter);
        QCOMPARE(caption, QStringLiteral("Save the report"));
        showReportMessage(nullptr, QStringLiteral("Not saved."), MessageIcon::error,
                          QStringLiteral("Tarnwick"));
        showReportMessage(nullptr, QStringLiteral("Saved."), MessageIcon::information,
                          QStringLiteral("Report"));
        answer.stop();
        QCOMPARE(seen, QStringList({QStringLiteral("Tarnwick"), QStringLiteral("Not saved."),
                                    QString::number(QMessageBox::Critical),
                                    QStringLiteral("Report"), QStringLiteral("Saved."),
                                    QString::number(QMessageBox::Information)}));
    }

    void escapeCloses() {
        Recorded recorded;
        auto w = window(recorded);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QCOMPARE(w->focusWidget(),
                 child<QPushButton>(*w, "cmdClose"));  // the window opens on Close
        QTest::keyClick(w.get(), Qt::Key_Escape);
        QVERIFY(!w->isVisible());
    }

private:
    // The settings row, reached as a screen reader reaches it: by accessible name.
    template <typename T>
    T* named(QWidget& w, const QString& name) {
        for (T* widget : w.findChildren<T*>()) {
            if (widget->accessibleName() == name) return widget;
        }
        return nullptr;
    }

    // A choice of the settings row, made from the keyboard: focus, then
    // arrow keys to the item.
    void choose(QWidget& w, const QString& name, int index) {
        QComboBox* box = named<QComboBox>(w, name);
        QVERIFY2(box && box->isEnabled(), qPrintable(name));
        box->setFocus();
        while (box->currentIndex() < index)
            QTest::keyClick(box, Qt::Key_Down);
        while (box->currentIndex() > index)
            QTest::keyClick(box, Qt::Key_Up);
    }

    void retype(QLineEdit* box, const QString& text) {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
    }

    QString heardNotice(QWidget& w) {
        QAccessibleInterface* accessible =
            QAccessible::queryAccessibleInterface(child<QLabel>(w, "lblNotice"));
        return accessible->text(QAccessible::Name);
    }

private slots:
    void settingsRowOpensWithTheCalculatorsSettings() {
        frmReport w(recordOfRunA(), reportInputs_);
        for (const char* name : {"Alpha", "Lower bound", "Upper bound"})
            QVERIFY2(named<QLineEdit>(w, QString::fromLatin1(name)), name);
        for (const char* name : {"Bounds in SD units", "Welch's standard error"})
            QVERIFY2(named<QCheckBox>(w, QString::fromLatin1(name)), name);
        for (const char* name : {"Scale", "Hypothesis", "Better"})
            QVERIFY2(named<QComboBox>(w, QString::fromLatin1(name)), name);
        QCOMPARE(named<QComboBox>(w, QStringLiteral("Hypothesis"))->currentText(),
                 QStringLiteral("Equivalence"));
        QVERIFY(!named<QComboBox>(w, QStringLiteral("Better"))->isEnabled());
        QCOMPARE(named<QLineEdit>(w, QStringLiteral("Alpha"))->text(), QStringLiteral("0.05"));
        QCOMPARE(named<QLineEdit>(w, QStringLiteral("Lower bound"))->text(), QStringLiteral("-3"));
        QCOMPARE(named<QLineEdit>(w, QStringLiteral("Upper bound"))->text(), QStringLiteral("3"));
        QVERIFY(child<QLabel>(w, "lblNotice")->text().isEmpty());
        QCOMPARE(child<report::ReportTextView>(w, "txtReport")->report(),
                 QString::fromStdString(report::reportText(reportOfRunA(), reportInputs_)));
    }

    // Each setting typed or ticked: the text, the plot and the notice follow
    // at once, with the engine's numbers for those settings.
    void typedSettingsChangeTheReportAtOnce_data() {
        QTest::addColumn<QString>("alpha");
        QTest::addColumn<QString>("lower");
        QTest::addColumn<QString>("upper");
        QTest::addColumn<bool>("sdUnits");
        QTest::addColumn<bool>("welch");
        QTest::addColumn<bool>("minimalEffect");
        QTest::addColumn<QStringList>("says");
        namespace s = settings;
        QTest::newRow("alpha .025") << "0.025"
                                    << "-3"
                                    << "3" << false << false << false
                                    << QStringList{"the 95% CI of the difference",
                                                   "97.5% CI of the difference", "alpha = .025"};
        QTest::newRow("asymmetric bounds")
            << "0.05"
            << "-0.3"
            << "2.5" << false << false << false
            << QStringList{"bounds of -0.3 and 2.5", "as set for this report"};
        QTest::newRow("bounds in SD units")
            << "0.05"
            << "-0.25"
            << "0.5" << true << false << false
            << QStringList{"in SD units", "-0.50 and 1.00 in raw units"};
        QTest::newRow("Welch's own")
            << "0.05"
            << "-3"
            << "3" << false << true << false
            << QStringList{"Welch's standard error", "Welch's standard error and df"};
        QTest::newRow("minimal-effect")
            << "0.1"
            << "-0.5"
            << "0.5" << false << false << true
            << QStringList{"The minimal-effect test", "the minimal-effect test."};
    }

    void typedSettingsChangeTheReportAtOnce() {
        QFETCH(QString, alpha);
        QFETCH(QString, lower);
        QFETCH(QString, upper);
        QFETCH(bool, sdUnits);
        QFETCH(bool, welch);
        QFETCH(bool, minimalEffect);
        QFETCH(QStringList, says);
        frmReport w(recordOfRunA(), reportInputs_);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        retype(named<QLineEdit>(w, QStringLiteral("Alpha")), alpha);
        retype(named<QLineEdit>(w, QStringLiteral("Lower bound")), lower);
        retype(named<QLineEdit>(w, QStringLiteral("Upper bound")), upper);
        for (const auto& [name, on] :
             {std::pair{"Bounds in SD units", sdUnits}, {"Welch's standard error", welch}}) {
            auto* box = named<QCheckBox>(w, QString::fromLatin1(name));
            if (box->isChecked() != on) QTest::mouseClick(box, Qt::LeftButton);
        }
        choose(w, QStringLiteral("Hypothesis"), minimalEffect ? 1 : 0);
        const QString text = child<report::ReportTextView>(w, "txtReport")->report();
        for (const QString& words : says)
            QVERIFY2(text.contains(words), qPrintable(words + QStringLiteral(" in ") + text));
        QVERIFY2(heardNotice(w).contains(QStringLiteral("differ from the calculator's")),
                 qPrintable(heardNotice(w)));
        QVERIFY(w.accessibleDescription().contains(QStringLiteral("differ from the calculator's")));
        // The plot shows the engine's report at these settings.
        settings::TestSettings expected{
            .alpha = alpha.toDouble(),
            .bounds = settings::Bounds{lower.toDouble(), upper.toDouble()}};
        if (sdUnits) expected.units = settings::BoundUnits::sd;
        if (welch) expected.standardError = settings::StandardError::welch;
        if (minimalEffect) expected.hypothesis = settings::Hypothesis::minimalEffect;
        const report::Report engine = report::makeReport(recordOfRunA(), expected).value();
        const auto& shown = child<report::EquivalencePlot>(w, "plot")->report();
        QVERIFY(shown && child<report::EquivalencePlot>(w, "plot")->isVisible());
        QCOMPARE(*shown->independent.equivalence->ciTostLow.value,
                 *engine.independent.equivalence->ciTostLow.value);
        QCOMPARE(shown->independent.equivalence->boundHigh,
                 engine.independent.equivalence->boundHigh);
        QCOMPARE(*shown->independent.ordinary.ciTestHigh.value,
                 *engine.independent.ordinary.ciTestHigh.value);
        QCOMPARE(text, QString::fromStdString(report::reportText(engine, reportInputs_)));
        // Back to the calculator's settings: the notice goes.
        retype(named<QLineEdit>(w, QStringLiteral("Alpha")), QStringLiteral("0.05"));
        retype(named<QLineEdit>(w, QStringLiteral("Lower bound")), QStringLiteral("-3"));
        retype(named<QLineEdit>(w, QStringLiteral("Upper bound")), QStringLiteral("3"));
        for (const char* name : {"Bounds in SD units", "Welch's standard error"}) {
            auto* box = named<QCheckBox>(w, QString::fromLatin1(name));
            if (box->isChecked()) QTest::mouseClick(box, Qt::LeftButton);
        }
        choose(w, QStringLiteral("Hypothesis"), 0);
        QVERIFY(child<QLabel>(w, "lblNotice")->isHidden());
        QCOMPARE(child<report::ReportTextView>(w, "txtReport")->report(),
                 QString::fromStdString(report::reportText(reportOfRunA(), reportInputs_)));
    }

    // A one-sided question chosen from the keyboard: the lower box becomes
    // the margin (blank: the default shown as its placeholder), the upper
    // one is disabled, alpha left at .05 gives way to the one-sided .025, and
    // the report is the engine's for that question.
    void oneSidedQuestionsAskTheEngines_data() {
        QTest::addColumn<int>("hypothesis");
        QTest::addColumn<int>("better");
        QTest::addColumn<int>("scale");
        QTest::addColumn<QString>("margin");
        QTest::addColumn<QString>("placeholder");
        QTest::addColumn<QString>("says");
        QTest::newRow("non-inferiority, default margin") << 2 << 0 << 0 << ""
                                                         << "-3"
                                                         << "Not inferior by more than 3.00";
        QTest::newRow("non-inferiority by 0.5") << 2 << 0 << 0 << "-0.5"
                                                << "-3"
                                                << "Not shown to be not inferior by more than 0.50";
        QTest::newRow("non-superiority, lower better") << 3 << 1 << 0 << "-1"
                                                       << "-3"
                                                       << "Not superior by more than 1.00";
        QTest::newRow("superiority, default margin") << 4 << 0 << 0 << ""
                                                     << "0"
                                                     << "Not shown to be superior";
        QTest::newRow("ratio, non-inferiority, default margin")
            << 2 << 0 << 1 << ""
            << "0.8"
            << "Not inferior beyond the margin 0.80";
        QTest::newRow("ratio, superiority, lower better")
            << 4 << 1 << 1 << "0.9"
            << "1"
            << "Not shown to be superior beyond the margin 0.90";
    }

    void oneSidedQuestionsAskTheEngines() {
        QFETCH(int, hypothesis);
        QFETCH(int, better);
        QFETCH(int, scale);
        QFETCH(QString, margin);
        QFETCH(QString, placeholder);
        QFETCH(QString, says);
        ReportSettingsTexts kept;
        frmReport w(recordOfRunA(), reportInputs_, {}, nullptr, &kept);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        choose(w, QStringLiteral("Scale"), scale);
        choose(w, QStringLiteral("Hypothesis"), hypothesis);
        choose(w, QStringLiteral("Better"), better);
        QVERIFY(!named<QLineEdit>(w, QStringLiteral("Lower bound")));
        QLineEdit* marginBox = named<QLineEdit>(w, QStringLiteral("Margin"));
        QVERIFY(marginBox && marginBox->isEnabled());
        QVERIFY(!named<QLineEdit>(w, QStringLiteral("Upper bound"))->isEnabled());
        QLineEdit* alphaBox = named<QLineEdit>(w, QStringLiteral("Alpha"));
        QCOMPARE(alphaBox->text(), QString());
        QCOMPARE(alphaBox->placeholderText(), QStringLiteral("0.025"));
        QCOMPARE(marginBox->text(), QString());
        QCOMPARE(marginBox->placeholderText(), placeholder);
        retype(marginBox, margin);

        settings::TestSettings expected{.alpha = 0.025};
        expected.hypothesis = static_cast<settings::Hypothesis>(hypothesis);
        expected.better = better == 1 ? settings::Better::lower : settings::Better::higher;
        expected.scale = scale == 1 ? settings::Scale::ratio : settings::Scale::difference;
        if (!margin.isEmpty()) expected.margin = margin.toDouble();
        const report::Report engine = report::makeReport(recordOfRunA(), expected).value();
        const QString text = child<report::ReportTextView>(w, "txtReport")->report();
        QCOMPARE(text, QString::fromStdString(report::reportText(engine, reportInputs_)));
        QVERIFY2(text.contains(says), qPrintable(text));
        QVERIFY(w.shownReport() && w.shownReport()->settings == engine.settings);

        // The question stays for the next report; back to equivalence, the
        // boxes are the calculator's again.
        frmReport next(recordOfRunA(), reportInputs_, {}, nullptr, &kept);
        QVERIFY(next.shownReport() && next.shownReport()->settings == engine.settings);
        choose(next, QStringLiteral("Hypothesis"), 0);
        choose(next, QStringLiteral("Scale"), 0);
        QCOMPARE(named<QLineEdit>(next, QStringLiteral("Alpha"))->text(), QStringLiteral("0.05"));
        QVERIFY(named<QLineEdit>(next, QStringLiteral("Upper bound"))->isEnabled());
        if (scale == 0 && margin.isEmpty()) {
            QCOMPARE(named<QLineEdit>(next, QStringLiteral("Lower bound"))->text(),
                     QStringLiteral("-3"));
            QCOMPARE(next.shownReport()->settings, settings::TestSettings{});
        }
    }

    // A setting that cannot be used: its sentence, no number, nothing to copy or save.
    void unusableSettingsGiveOneSentence_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("sentence");
        QTest::newRow("alpha too large") << "Alpha"
                                         << "0.6"
                                         << "Alpha must lie above 0 and below 0.5";
        QTest::newRow("alpha not a number") << "Alpha"
                                            << "a"
                                            << "Alpha must be a number such as 0.05";
        QTest::newRow("bounds reversed") << "Lower bound"
                                         << "4"
                                         << "The lower bound must lie below";
        QTest::newRow("a bound missing") << "Upper bound"
                                         << ""
                                         << "Type both bounds";
        QTest::newRow("a bound not a number") << "Upper bound"
                                              << "x"
                                              << "The upper bound must be a number such as 0.5";
        QTest::newRow("a margin on the wrong side")
            << "Margin"
            << "0.5"
            << "A non-inferiority margin lies below 0 when larger effects are better";
        QTest::newRow("a margin not a number") << "Margin"
                                               << "x"
                                               << "The margin must be a number such as -0.5";
    }

    void unusableSettingsGiveOneSentence() {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, sentence);
        frmReport w(recordOfRunA(), reportInputs_);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        if (box == QStringLiteral("Margin")) choose(w, QStringLiteral("Hypothesis"), 2);
        retype(named<QLineEdit>(w, box), typed);
        const QString text = child<report::ReportTextView>(w, "txtReport")->report();
        QVERIFY2(text.startsWith(sentence), qPrintable(text));
        QVERIFY2(!text.contains(QRegularExpression(QStringLiteral("\\d\\.\\d{2}"))) ||
                     text.contains(typed),
                 qPrintable(text));
        QVERIFY(heardNotice(w).startsWith(sentence));
        QVERIFY(!child<report::EquivalencePlot>(w, "plot")->isVisible());
        for (const char* command : {"cmdCopyText", "cmdCopyPlot", "cmdSave"})
            QVERIFY2(!child<QPushButton>(w, command)->isEnabled(), command);
        QVERIFY(!w.shownReport());
    }

    // Settings stay for the next report while the program runs; bounds left
    // as filled are filled afresh from the next run's non-trivial difference.
    void settingsStayForTheNextReport() {
        ReportSettingsTexts kept;
        {
            frmReport w(recordOfRunA(), reportInputs_, {}, nullptr, &kept);
            retype(named<QLineEdit>(w, QStringLiteral("Alpha")), QStringLiteral("0.025"));
            choose(w, QStringLiteral("Hypothesis"), 1);
        }
        testing_support::Inputs other = inputs_;
        other.notTrivial = "2";
        report::ReportInputs otherInputs = reportInputs_;
        otherInputs.notTrivial = "2";
        {
            frmReport w(recordOf(other), otherInputs, {}, nullptr, &kept);
            QCOMPARE(named<QLineEdit>(w, QStringLiteral("Alpha"))->text(), QStringLiteral("0.025"));
            QCOMPARE(named<QComboBox>(w, QStringLiteral("Hypothesis"))->currentIndex(), 1);
            QCOMPARE(named<QLineEdit>(w, QStringLiteral("Upper bound"))->text(),
                     QStringLiteral("2"));
            QVERIFY(w.shownReport() && w.shownReport()->settings.alpha == 0.025);
            retype(named<QLineEdit>(w, QStringLiteral("Upper bound")), QStringLiteral("2.5"));
        }
        frmReport w(recordOfRunA(), reportInputs_, {}, nullptr, &kept);
        QCOMPARE(named<QLineEdit>(w, QStringLiteral("Lower bound"))->text(), QStringLiteral("-2"));
        QCOMPARE(named<QLineEdit>(w, QStringLiteral("Upper bound"))->text(), QStringLiteral("2.5"));
        // A window without a keeper starts from the calculator's settings.
        frmReport fresh(recordOfRunA(), reportInputs_);
        QCOMPARE(named<QLineEdit>(fresh, QStringLiteral("Alpha"))->text(), QStringLiteral("0.05"));
    }
};

}  // namespace
}  // namespace tarnwick

QTEST_MAIN(tarnwick::ReportWindowTest)
#include "report_window_test.moc"
