// The main window's report command: when it is available, and that it opens
// the report of the last run that ended with results, never a newer refusal.

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "report_text_view.h"
#include "ui_test_support.h"

namespace tarnwick {
namespace {

using testing::box;
using testing::control;

void fillRunA(QWidget& window, const char* notTrivial) {
    const std::pair<const char*, const char*> texts[] = {{"TxtMean1", "10"},
                                                         {"TxtSD1", "2"},
                                                         {"TxtN1", "10"},
                                                         {"TxtMean2", "9"},
                                                         {"TxtSD2", "2"},
                                                         {"TxtN2", "10"},
                                                         {"TxtNotTrivial", notTrivial}};
    for (const auto& [name, text] : texts)
        box(window, name).setText(QString::fromLatin1(text));
}

class ReportCommandTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testing::prepareApplication(); }

    void availableOnlyOnceARunHasEndedWithResults() {
        testing::Recorder recorder;
        auto window = testing::showWindow(recorder);
        auto& report = control<QPushButton>(*window, "cmdReport");
        QVERIFY(!report.isEnabled());

        fillRunA(*window, "3");
        QTest::mouseClick(&control<QPushButton>(*window, "cmdDoIt"), Qt::LeftButton);
        QVERIFY(report.isEnabled());

        // A refused run keeps the report of the last run with results.
        box(*window, "TxtSD2").setText(QStringLiteral("0"));
        QTest::mouseClick(&control<QPushButton>(*window, "cmdDoIt"), Qt::LeftButton);
        QCOMPARE(recorder.messages.size(), std::size_t{1});
        QVERIFY(report.isEnabled());
        QString shownInputs, shownText;
        QVERIFY(testing::whileModal(
            [&] { QTest::mouseClick(&report, Qt::LeftButton); },
            [&](QWidget& dialog) {
                shownInputs = control<QLabel>(dialog, "lblRun").text();
                shownText = control<report::ReportTextView>(dialog, "txtReport").report();
            }));
        QVERIFY2(shownInputs.contains(QStringLiteral("group 2 mean 9, SD 2, n 10")),
                 qPrintable(shownInputs));
        QVERIFY2(shownInputs.startsWith(QStringLiteral("This is the report of an earlier run")),
                 qPrintable(shownInputs));
        QVERIFY(shownText.contains(QStringLiteral("t(18) = -2.24, p = .019")));

        // The next run that ends with results is the latest again.
        box(*window, "TxtSD2").setText(QStringLiteral("2"));
        QTest::mouseClick(&control<QPushButton>(*window, "cmdDoIt"), Qt::LeftButton);
        QVERIFY(testing::whileModal(
            [&] { QTest::mouseClick(&report, Qt::LeftButton); },
            [&](QWidget& dialog) { shownInputs = control<QLabel>(dialog, "lblRun").text(); }));
        QVERIFY2(shownInputs.startsWith(QStringLiteral("Report of the last run that ended")),
                 qPrintable(shownInputs));

        QTest::mouseClick(&control<QPushButton>(*window, "cmdNew"), Qt::LeftButton);
        QVERIFY(!report.isEnabled());
    }

    void sitsInTheCommandColumnBetweenCreditsAndExit() {
        testing::Recorder recorder;
        auto window = testing::showWindow(recorder);
        const QRect credits = control<QPushButton>(*window, "cmdCredits").geometry();
        const QRect report = control<QPushButton>(*window, "cmdReport").geometry();
        const QRect exit = control<QPushButton>(*window, "cmdExit").geometry();
        QCOMPARE(report.size(), credits.size());
        QCOMPARE(report.left(), credits.left());
        QVERIFY(report.top() > credits.bottom() && report.bottom() < exit.top());
        auto& button = control<QPushButton>(*window, "cmdReport");
        QVERIFY(button.fontMetrics().horizontalAdvance(button.text().remove(QLatin1Char('&'))) <
                report.width() - 8);
    }
};

}  // namespace
}  // namespace tarnwick

QTEST_MAIN(tarnwick::ReportCommandTest)
#include "report_command_test.moc"
