// What a screen reader gets from a run: the meaning of each result box's
// colour as its description, and the verdict announced when the run ends.

#include <QAccessible>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "announcer.h"
#include "box_names.h"
#include "ui_test_support.h"

using namespace tarnwick;
using namespace tarnwick::testing;

namespace {

void run(frmBrevant& window, const QStringList& inputs) {
    const char* order[] = {"TxtMean1", "TxtSD1",        "TxtN1",       "TxtMean2",    "TxtSD2",
                           "TxtN2",    "TxtNotTrivial", "TxtMeanDiff", "TxtSDMatched"};
    if (inputs.size() > 7) {
        control<QRadioButton>(window, "opMatched").setChecked(true);
    }
    for (qsizetype i = 0; i < inputs.size(); ++i) {
        box(window, order[i]).setText(inputs[i]);
    }
    QTest::mouseClick(&control<QPushButton>(window, "cmdDoIt"), Qt::LeftButton);
}

QString description(QWidget& window, const char* name) {
    return box(window, name).accessibleDescription();
}

const QString trivial =
    QStringLiteral("Difference is trivial (i.e., the samples appear equivalent).");

}  // namespace

class SpokenResultsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { prepareApplication(); }

    void coloursInWords_data() {
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QStringList>("descriptions");
        QTest::addColumn<QString>("announced");
        const QStringList independent = {"TxtWelch2PT", "txt1PT", "TxtTUpper", "TxtTLower",
                                         "TxtInterpretation"};
        QTest::newRow("equivalent")
            << QStringList{"10", "2", "10", "9", "2", "10", "3"} << independent
            << QStringList{"not below .05", "not below .05", "one-sided test passes",
                           "one-sided test passes", "equivalent: both one-sided tests pass"}
            << "Independent samples verdict: " + trivial;
        QTest::newRow("different, upper test fails")
            << QStringList{"10", "2", "10", "5", "2", "10", "1"} << independent
            << QStringList{"below .05", "below .05", "one-sided test fails",
                           "one-sided test passes", "not equivalent: a one-sided test fails"}
            << QStringLiteral(
                   "Independent samples verdict: Difference is non-trivial (i.e., the "
                   "samples do not appear equivalent.)");
        // The t boxes turn blue to ask for the value, which is no test passing.
        QTest::newRow("no non-trivial difference")
            << QStringList{"10", "2", "10", "9", "2", "10", ""} << independent
            << QStringList{"not below .05", "not below .05", "", "", ""}
            << QStringLiteral(
                   "Independent samples verdict: You Must Enter A Value In The Blue Box");
        // The matched p values are red whatever their size, which means nothing.
        QTest::newRow("matched")
            << QStringList{"10", "2", "10", "9", "2", "10", "3", "1", "1.5"}
            << QStringList{"TxtMatched2P", "TxtMatchedTUpper", "TxtMatchedInterpretation"}
            << QStringList{"", "one-sided test passes", "equivalent: both one-sided tests pass"}
            << "Independent samples verdict: " + trivial + " Matched samples verdict: " + trivial;
    }

    void coloursInWords() {
        QFETCH(QStringList, inputs);
        QFETCH(QStringList, boxes);
        QFETCH(QStringList, descriptions);
        QFETCH(QString, announced);
        Recorder recorder;
        auto window = showWindow(recorder);
        auto* announcer = window->findChild<Announcer*>();
        QSignalSpy heard(announcer, &Announcer::announced);
        run(*window, inputs);
        QVERIFY(recorder.messages.empty());
        for (qsizetype i = 0; i < boxes.size(); ++i) {
            QCOMPARE(description(*window, qPrintable(boxes[i])), descriptions[i]);
        }
        QCOMPARE(heard.size(), 1);
        // What the accessibility bridge hands a screen reader.
        QAccessibleInterface* notification = QAccessible::queryAccessibleInterface(announcer);
        QCOMPARE(notification->role(), QAccessible::Notification);
        QCOMPARE(notification->text(QAccessible::Name), announced);
    }

    void wordsGoWithTheValues() {
        Recorder recorder;
        auto window = showWindow(recorder);
        QSignalSpy heard(window->findChild<Announcer*>(), &Announcer::announced);
        run(*window, {"10", "2", "10", "9", "2", "10", "3"});
        // A refused run changes nothing and announces nothing: its message speaks.
        run(*window, {"9"});
        QCOMPARE(recorder.messages.size(), std::size_t{1});
        QCOMPARE(heard.size(), 1);
        QCOMPARE(description(*window, "TxtInterpretation"),
                 QStringLiteral("equivalent: both one-sided tests pass"));
        // A value typed over a result is not the analysis's, nor is an empty box.
        box(*window, "TxtTUpper").setText(QStringLiteral("7"));
        QCOMPARE(description(*window, "TxtTUpper"), QString());
        control<QPushButton>(*window, "cmdNew").click();
        for (const std::string_view name : names::resultBoxes) {
            QCOMPARE(description(*window, std::string(name).c_str()), QString());
        }
        // The messages ask for a value in "the Blue Box": say which one that is.
        QVERIFY(box(*window, "TxtNotTrivial").accessibleName().endsWith(u"the blue box"));
    }
};

QTEST_MAIN(SpokenResultsTest)
#include "spoken_results_test.moc"
