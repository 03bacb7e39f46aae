// The window's commands: the run button with its refusals and a full run, Start
// again, Exit, and the switch between the independent and matched designs.

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "box_names.h"
#include "look.h"
#include "ui_test_support.h"

using namespace tarnwick;
using namespace tarnwick::testing;

namespace {

QColor colour(Colour value) { return toQColor(value, QApplication::palette()); }

QColor textColour(QWidget& window, const char* name) {
    return box(window, name).palette().color(QPalette::Text);
}

// Types the group statistics into their boxes, as a user would from the first.
void typeGroups(frmBrevant& window, const QStringList& values) {
    const char* order[] = {"TxtMean1", "TxtSD1", "TxtN1",        "TxtMean2",
                           "TxtSD2",   "TxtN2",  "TxtNotTrivial"};
    for (qsizetype i = 0; i < values.size(); ++i) {
        QLineEdit& target = box(window, order[i]);
        target.setFocus();
        QTest::keyClicks(&target, values[i]);
        QCOMPARE(target.text(), values[i]);
    }
}

void click(QWidget& window, const char* name) {
    QTest::mouseClick(window.findChild<QWidget*>(QString::fromLatin1(name)), Qt::LeftButton);
}

// Presses a button with its access key, which leaves the focus where the
// user was typing, so a test can tell whether the command moved it.
void press(QWidget& window, const char* button, Qt::Key accessKey) {
    QSignalSpy clicks(window.findChild<QPushButton*>(QString::fromLatin1(button)),
                      &QAbstractButton::clicked);
    QTest::keyClick(QApplication::focusWidget(), accessKey, Qt::AltModifier);
    QTRY_COMPARE(clicks.size(), 1);
}

bool matchedDesign(QWidget& window) {
    return control<QRadioButton>(window, "opMatched").isChecked() &&
           box(window, "TxtMeanDiff").isEnabled() && box(window, "TxtSDMatched").isEnabled();
}

bool independentDesign(QWidget& window) {
    const QColor face = colour(colours::buttonFace);
    return control<QRadioButton>(window, "opIndependent").isChecked() &&
           !box(window, "TxtMeanDiff").isEnabled() && !box(window, "TxtSDMatched").isEnabled() &&
           box(window, "TxtMeanDiff").palette().color(QPalette::Base) == face &&
           box(window, "TxtSDMatched").palette().color(QPalette::Base) == face;
}

}  // namespace

class CommandsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { prepareApplication(); }

    void refusalsChangeNothing_data() {
        QTest::addColumn<QStringList>("groups");
        QTest::addColumn<QString>("inFrontOfMean1");  // typed after Home
        QTest::addColumn<QString>("prompt");
        QTest::newRow("one box empty, means equal")
            << QStringList{"5", "1", "10", "5", "1", ""} << ""
            << "You must enter some data in all the white boxes.";
        QTest::newRow("means 5 and 5.0")
            << QStringList{"5", "1", "10", "5.0", "1", "10"} << ""
            << "The difference between the two mean scores must be more than zero.";
        // What the message says about a mean that is not a number is the
        // run command's business; the window must still change nothing.
        QTest::newRow("a lone minus sign for a mean")
            << QStringList{"-", "1", "10", "5", "1", "10"} << ""
            << "";
        QTest::newRow("3-5 for a mean") << QStringList{"-5", "1", "10", "5", "1", "10"} << "3"
                                        << "";
    }

    void refusalsChangeNothing() {
        QFETCH(QStringList, groups);
        QFETCH(QString, inFrontOfMean1);
        QFETCH(QString, prompt);
        Recorder recorder;
        auto window = showWindow(recorder);
        typeGroups(*window, groups);
        QTest::keyClick(&box(*window, "TxtMean1"), Qt::Key_Home);
        QTest::keyClicks(&box(*window, "TxtMean1"), inFrontOfMean1);
        QCOMPARE(box(*window, "TxtMean1").text(), inFrontOfMean1 + groups[0]);
        // Results of an earlier run, in colours an earlier run gave them.
        box(*window, "TxtWelchT").setText(QStringLiteral("1.11803"));
        box(*window, "TxtMatchedT").setText(QStringLiteral("2.5"));
        setColour(box(*window, "TxtTUpper"), QPalette::Text, colours::blue);
        box(*window, "TxtTUpper").setText(QStringLiteral("-2.23607"));
        click(*window, "OpWelch");
        box(*window, "TxtN2").setFocus();
        QWidget* focus = QApplication::focusWidget();
        const auto before = snapshot(*window);

        press(*window, "cmdDoIt", Qt::Key_O);

        QCOMPARE(recorder.messages.size(), std::size_t{1});
        if (!prompt.isEmpty()) {
            QCOMPARE(recorder.messages[0].prompt, prompt);
            QCOMPARE(recorder.messages[0].icon, MessageIcon::none);
            QCOMPARE(recorder.messages[0].title, QStringLiteral("Tarnwick"));
        }
        QVERIFY(snapshot(*window) == before);
        QVERIFY(control<QRadioButton>(*window, "OpWelch").isChecked());
        QVERIFY(independentDesign(*window));
        QCOMPARE(QApplication::focusWidget(), focus);
    }

    void fullRunFillsTheResults() {
        Recorder recorder;
        auto window = showWindow(recorder);
        typeGroups(*window, {"10", "2", "10", "9", "2", "10", "3"});
        box(*window, "TxtMatchedT").setText(QStringLiteral("left over"));
        QWidget* focus = QApplication::focusWidget();

        press(*window, "cmdDoIt", Qt::Key_O);

        QVERIFY(recorder.messages.empty());
        QCOMPARE(box(*window, "TxtWelchT").text(), QStringLiteral("1.11803"));
        QCOMPARE(box(*window, "TxtDF").text(), QStringLiteral("18"));
        QCOMPARE(box(*window, "TxtSdelta").text(), QStringLiteral("0.89443"));
        QCOMPARE(box(*window, "TxtTUpper").text(), QStringLiteral("-2.23607"));
        QCOMPARE(box(*window, "TxtTLower").text(), QStringLiteral("4.47214"));
        QCOMPARE(box(*window, "TxtCrit05").text(), QStringLiteral("-1.73406"));
        QCOMPARE(box(*window, "TxtCrit95").text(), QStringLiteral("1.73406"));
        QCOMPARE(box(*window, "TxtInterpretation").text(),
                 QStringLiteral("Difference is trivial (i.e., the samples appear equivalent)."));
        QCOMPARE(textColour(*window, "TxtTUpper"), colour(colours::blue));
        QCOMPARE(textColour(*window, "TxtTLower"), colour(colours::blue));
        QCOMPARE(textColour(*window, "TxtInterpretation"), colour(colours::blue));
        // Both frames are emptied before the analysis; the matched one stays so.
        QVERIFY(box(*window, "TxtMatchedT").text().isEmpty());
        QCOMPARE(QApplication::focusWidget(), focus);
    }

    void startAgain_data() {
        QTest::addColumn<bool>("matched");
        QTest::newRow("from the matched design with Welch's t") << true;
        QTest::newRow("from the independent design with Welch's t") << false;
    }

    void startAgain() {
        QFETCH(bool, matched);
        Recorder recorder;
        auto window = showWindow(recorder);
        typeGroups(*window, {"10", "2", "10", "9", "2", "10", "3"});
        if (matched) {
            click(*window, "opMatched");
            QVERIFY(matchedDesign(*window));
        }
        click(*window, "OpWelch");
        for (const std::string_view name : names::resultBoxes) {
            box(*window, std::string(name).c_str()).setText(QStringLiteral("x"));
        }
        box(*window, "TxtMeanDiff").setText(QStringLiteral("1"));
        setColour(box(*window, "TxtTLower"), QPalette::Text, colours::blue);
        QWidget* focus = QApplication::focusWidget();

        press(*window, "cmdNew", Qt::Key_S);

        for (const QLineEdit* cleared : window->findChildren<QLineEdit*>()) {
            QVERIFY2(cleared->text().isEmpty(), qPrintable(cleared->objectName()));
        }
        QVERIFY(independentDesign(*window));
        QVERIFY(control<QRadioButton>(*window, "OpStudent").isChecked());
        QVERIFY(!control<QRadioButton>(*window, "OpWelch").isChecked());
        // Colours from a run stay; so do the input boxes' own colours.
        QCOMPARE(textColour(*window, "TxtTLower"), colour(colours::blue));
        QCOMPARE(box(*window, "TxtNotTrivial").palette().color(QPalette::Base),
                 colour(colours::cyan));
        QCOMPARE(box(*window, "TxtN1").palette().color(QPalette::Base), colour(colours::white));
        QCOMPARE(QApplication::focusWidget(), focus);
        QVERIFY(recorder.messages.empty());
    }

    void designSwitch_data() {
        QTest::addColumn<QString>("n1");
        QTest::addColumn<QString>("n2");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("12 and 12") << "12"
                                   << "12" << true;
        QTest::newRow("12 and empty") << "12"
                                      << "" << false;
        QTest::newRow("empty and 12") << ""
                                      << "12" << true;
        QTest::newRow("both empty") << ""
                                    << "" << true;
        QTest::newRow("10 and 010") << "10"
                                    << "010" << false;
    }

    void designSwitch() {
        QFETCH(QString, n1);
        QFETCH(QString, n2);
        QFETCH(bool, accepted);
        Recorder recorder;
        auto window = showWindow(recorder);
        box(*window, "TxtN1").setText(n1);
        box(*window, "TxtN2").setText(n2);
        box(*window, "TxtMeanDiff").setText(QStringLiteral("0.5"));
        const auto before = snapshot(*window);

        click(*window, "opMatched");

        if (accepted) {
            QVERIFY(recorder.messages.empty());
            QVERIFY(matchedDesign(*window));
            for (const char* name : {"TxtMeanDiff", "TxtSDMatched"}) {
                QCOMPARE(box(*window, name).palette().color(QPalette::Base),
                         colour(colours::white));
            }
        } else {
            // One message, not one per way the option could have been told.
            QCOMPARE(recorder.messages.size(), std::size_t{1});
            QCOMPARE(recorder.messages[0].prompt,
                     QStringLiteral(
                         "You cannot have matched samples if your 2 samples have unequal sizes"));
            QCOMPARE(recorder.messages[0].icon, MessageIcon::information);
            QVERIFY(recorder.messages[0].title.isEmpty());
            QVERIFY(independentDesign(*window));
            QVERIFY(snapshot(*window) == before);
        }
        QCOMPARE(box(*window, "TxtMeanDiff").text(), QStringLiteral("0.5"));
        QVERIFY(control<QRadioButton>(*window, "OpStudent").isChecked());
    }

    void textsKeptAcrossSwitches() {
        Recorder recorder;
        auto window = showWindow(recorder);
        click(*window, "opMatched");
        QVERIFY(matchedDesign(*window));
        QTest::keyClicks(&box(*window, "TxtMeanDiff"), "-1.5");
        QTest::keyClicks(&box(*window, "TxtSDMatched"), "2");
        click(*window, "OpWelch");

        click(*window, "opIndependent");
        QVERIFY(independentDesign(*window));
        QCOMPARE(box(*window, "TxtMeanDiff").text(), QStringLiteral("-1.5"));
        QCOMPARE(box(*window, "TxtSDMatched").text(), QStringLiteral("2"));

        click(*window, "opMatched");
        QVERIFY(matchedDesign(*window));
        QCOMPARE(box(*window, "TxtMeanDiff").text(), QStringLiteral("-1.5"));
        QCOMPARE(box(*window, "TxtSDMatched").text(), QStringLiteral("2"));
        // The degrees-of-freedom choice is not the design switch's.
        QVERIFY(control<QRadioButton>(*window, "OpWelch").isChecked());
    }

    void selectingIndependentFromCodeRunsItsProcedure() {
        Recorder recorder;
        auto window = showWindow(recorder);
        click(*window, "opMatched");
        QVERIFY(matchedDesign(*window));
        control<QRadioButton>(*window, "opIndependent").setChecked(true);
        QVERIFY(independentDesign(*window));
    }

    void exitEndsTheProgram() {
        Recorder recorder;
        auto window = showWindow(recorder);
        typeGroups(*window, {"1"});
        click(*window, "cmdExit");
        // Closed without a question, and with it the program, as the last window.
        QVERIFY(!window->isVisible());
        QVERIFY(QGuiApplication::quitOnLastWindowClosed());
        QVERIFY(recorder.messages.empty());
    }
};

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
