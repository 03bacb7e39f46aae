// The main window's report command: when it is available, and that it opens
// the report of the last run that ended with results, never a newer refusal.

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
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

// What is done to the calculator between its run and Report...
enum class Change { nothing, typedOver, typedBack, dfOption, filledFromData, startedAgainAndRun };

QString runLineShown(frmBrevant& window) {
    QString line;
    const bool opened = testing::whileModal(
        [&] { QTest::mouseClick(&control<QPushButton>(window, "cmdReport"), Qt::LeftButton); },
        [&](QWidget& dialog) { line = control<QLabel>(dialog, "lblRun").text(); });
    return opened ? line : QStringLiteral("(no report window)");
}

template <typename Widget>
Widget* named(QWidget& root, const QString& accessibleName) {
    for (Widget* widget : root.findChildren<Widget*>())
        if (widget->accessibleName() == accessibleName) return widget;
    return nullptr;
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

    // The calculator keeps a run's results when its boxes change (its form
    // is as specified); the report of that run then says that the boxes no
    // longer hold its inputs, and a run, or the boxes typed back, ends that.
    void saysWhenTheBoxesChangedSinceTheRun_data() {
        QTest::addColumn<Change>("change");
        QTest::addColumn<bool>("changed");
        QTest::newRow("nothing") << Change::nothing << false;
        QTest::newRow("a box typed over") << Change::typedOver << true;
        QTest::newRow("typed back as it was") << Change::typedBack << false;
        QTest::newRow("the df option") << Change::dfOption << true;
        QTest::newRow("filled from the data window") << Change::filledFromData << true;
        QTest::newRow("other numbers, then run") << Change::startedAgainAndRun << false;
    }
    void saysWhenTheBoxesChangedSinceTheRun() {
        QFETCH(Change, change);
        QFETCH(bool, changed);
        testing::Recorder recorder;
        Platform platform = recorder.platform();
        platform.data.askYesNo = [](QWidget*, const QString&) { return true; };
        auto window = std::make_unique<frmBrevant>(platform);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        fillRunA(*window, "3");
        QTest::mouseClick(&control<QPushButton>(*window, "cmdDoIt"), Qt::LeftButton);
        const QString verdict = box(*window, "TxtInterpretation").text();
        QLineEdit& mean1 = box(*window, "TxtMean1");
        switch (change) {
            case Change::nothing:
                break;
            case Change::typedOver:
                mean1.setFocus();
                QTest::keyClicks(&mean1, QStringLiteral("12"));
                break;
            case Change::typedBack:
                mean1.setText(QStringLiteral("12"));
                mean1.setText(QStringLiteral("10"));
                break;
            case Change::dfOption:
                QTest::mouseClick(&control<QRadioButton>(*window, "OpWelch"), Qt::LeftButton);
                break;
            case Change::filledFromData:
                QVERIFY(testing::whileModal(
                    [&] {
                        QTest::mouseClick(&control<QPushButton>(*window, "cmdData"),
                                          Qt::LeftButton);
                    },
                    [&](QWidget& data) {
                        named<QPlainTextEdit>(data, QStringLiteral("Pasted scores"))
                            ->setPlainText(QStringLiteral("a,b\n1,2\n3,5\n5,8\n"));
                        QTest::mouseClick(
                            named<QPushButton>(data, QStringLiteral("Fill the boxes")),
                            Qt::LeftButton);
                    }));
                QCOMPARE(mean1.text(), QStringLiteral("3"));
                break;
            case Change::startedAgainAndRun:
                fillRunA(*window, "1");
                QTest::mouseClick(&control<QPushButton>(*window, "cmdDoIt"), Qt::LeftButton);
                break;
        }
        if (change != Change::startedAgainAndRun) {
            // The specified form is untouched: the run's verdict stays as it was.
            QCOMPARE(box(*window, "TxtInterpretation").text(), verdict);
        }
        const QString line = runLineShown(*window);
        QCOMPARE(line.contains(QLatin1String("The boxes have been changed since")), changed);
        QVERIFY2(line.startsWith(QLatin1String("Report of the last run that ended with results.")),
                 qPrintable(line));
        QVERIFY(recorder.messages.empty());
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
