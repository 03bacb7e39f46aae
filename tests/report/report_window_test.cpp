// The report window on Qt's offscreen platform: what it shows for a worked
// run, copying, saving each format (read back), a failed save, and Esc.

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBoundaryFinder>
#include <cmath>

#include "box_fixture.h"
#include "equivalence_plot.h"
#include "frmReport.h"
#include "plot_axis.h"
#include "report_files.h"
#include "report_text_view.h"

namespace tarnwick {
namespace {

struct Recorded {
    QString nextPath, nextFilter;
    QStringList messages;
};

class ReportWindowTest : public QObject {
    Q_OBJECT

    testing_support::Inputs inputs_{};  // run A
    report::ReportInputs reportInputs_{"10", "2", "10", "9", "2", "10", "3", "", "", false, false};

    report::Report reportOfRunA() {
        BoxTable boxes;
        testing_support::enter(boxes, inputs_);
        RunRecord record;
        runCommand(boxes, &record);
        return report::makeReport(record).value();
    }

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
        return std::make_unique<frmReport>(reportOfRunA(), reportInputs_, platform);
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
        const QImage png(dir.filePath("plot.png"));
        QVERIFY(!png.isNull() && png.height() > 100);
        QVERIFY(QSvgRenderer(dir.filePath("plot.svg")).isValid());
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

    void escapeCloses() {
        Recorded recorded;
        auto w = window(recorded);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QTest::keyClick(w.get(), Qt::Key_Escape);
        QVERIFY(!w->isVisible());
    }
};

}  // namespace
}  // namespace tarnwick

QTEST_MAIN(tarnwick::ReportWindowTest)
#include "report_window_test.moc"
