// The data window, driven as a user of a screen reader would: controls found
// by their accessible names, scores pasted, "Fill the boxes" pressed. The
// filled boxes must give the same run as the same summaries typed by hand,
// through the boxes' keystroke filters.

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "announcer.h"
#include "box_names.h"
#include "frmPlan.h"
#include "ui_test_support.h"

namespace tarnwick {
namespace {

using testing::box;
using testing::control;

template <typename Widget>
Widget* named(QWidget& root, const QString& accessibleName) {
    Widget* found = nullptr;
    for (Widget* widget : root.findChildren<Widget*>()) {
        if (widget->accessibleName() != accessibleName) continue;
        if (found != nullptr) qWarning("two controls named %s", qPrintable(accessibleName));
        found = widget;
    }
    return found;
}

struct Answers {
    bool replace = false;
    QStringList questions;
    QString fileToOpen;
};

std::unique_ptr<frmBrevant> calculator(testing::Recorder& recorder, Answers& answers) {
    Platform platform = recorder.platform();
    platform.data.askYesNo = [&answers](QWidget*, const QString& question) {
        answers.questions << question;
        return answers.replace;
    };
    platform.data.chooseOpenFile = [&answers](QWidget*, const QString&, const QString&) {
        return answers.fileToOpen;
    };
    auto window = std::make_unique<frmBrevant>(platform);
    window->show();
    if (!QTest::qWaitForWindowActive(window.get())) qWarning("the window did not become active");
    return window;
}

// Opens the data window with the Data button and lets `use` work in it.
bool inDataWindow(frmBrevant& window, const std::function<void(QWidget&)>& use) {
    return testing::whileModal(
        [&] { QTest::mouseClick(&control<QPushButton>(window, "cmdData"), Qt::LeftButton); }, use);
}

void pasteAndFill(QWidget& data, const QString& scores, int layout = 0) {
    auto* pasted = named<QPlainTextEdit>(data, QStringLiteral("Pasted scores"));
    QVERIFY(pasted != nullptr);
    pasted->setPlainText(scores);
    named<QComboBox>(data, QStringLiteral("Layout"))->setCurrentIndex(layout);
    auto* fill = named<QPushButton>(data, QStringLiteral("Fill the boxes"));
    QVERIFY(fill != nullptr);
    QVERIFY(fill->isEnabled());
    QTest::mouseClick(fill, Qt::LeftButton);
}

QStringList resultTexts(QWidget& window) {
    QStringList texts;
    for (const std::string_view name : names::resultBoxes)
        texts << box(window, std::string(name).c_str()).text();
    return texts;
}

using BoxTexts = QList<QPair<QString, QString>>;
using Columns = QList<int>;

// What a screen reader is given for a control: its name and its description.
QString readAloud(QWidget& control) {
    QAccessibleInterface* read = QAccessible::queryAccessibleInterface(&control);
    return read == nullptr ? QString()
                           : read->text(QAccessible::Name) + QStringLiteral(": ") +
                                 read->text(QAccessible::Description);
}

QString summariesShown(QWidget& data) {
    return named<QLabel>(data, QStringLiteral("Summaries"))->text();
}

QString scoresText(int rows) {
    QString text = QStringLiteral("a,b\n");
    for (int i = 0; i < rows; ++i)
        text += QStringLiteral("%1,%2\n").arg(i % 7).arg(i % 5);
    return text;
}

class DataWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testing::prepareApplication(); }

    void dataButtonSitsBetweenStartAgainAndCredits() {
        testing::Recorder recorder;
        Answers answers;
        auto window = calculator(recorder, answers);
        const auto& data = control<QPushButton>(*window, "cmdData");
        const auto& startAgain = control<QPushButton>(*window, "cmdNew");
        const auto& credits = control<QPushButton>(*window, "cmdCredits");
        QCOMPARE(data.geometry(), QRect(944, 404, 97, 33));
        QCOMPARE(data.size(), startAgain.size());
        QVERIFY(data.geometry().top() > startAgain.geometry().bottom());
        QVERIFY(data.geometry().bottom() < credits.geometry().top());
        QCOMPARE(data.text(), QStringLiteral("&Data..."));
        QCOMPARE(data.accessibleName(), QStringLiteral("Data..."));
        QVERIFY(!data.autoDefault() && !data.isDefault());
        for (const QPushButton* other : window->findChildren<QPushButton*>())
            QVERIFY2(other == &data || !other->geometry().intersects(data.geometry()),
                     qPrintable(other->objectName()));
        // Tab from the run button reaches Plan, then Data, then Start again.
        control<QPushButton>(*window, "cmdDoIt").setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(testing::objectNameOf(QApplication::focusWidget()), QStringLiteral("cmdPlan"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(testing::objectNameOf(QApplication::focusWidget()), QStringLiteral("cmdData"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(testing::objectNameOf(QApplication::focusWidget()), QStringLiteral("cmdNew"));
    }

    void everyControlIsNamedAndEscapeCloses() {
        testing::Recorder recorder;
        Answers answers;
        auto window = calculator(recorder, answers);
        bool closedByEscape = false;
        QVERIFY(inDataWindow(*window, [&](QWidget& data) {
            for (const QWidget* child : data.findChildren<QWidget*>()) {
                const bool control =
                    child->focusPolicy() != Qt::NoFocus || qobject_cast<const QLabel*>(child);
                if (!control || child->objectName().startsWith(QStringLiteral("qt_")) ||
                    child->objectName().isEmpty())
                    continue;
                QVERIFY2(!child->accessibleName().isEmpty(), qPrintable(child->objectName()));
            }
            QTRY_COMPARE(testing::objectNameOf(QApplication::focusWidget()),
                         QStringLiteral("txtScores"));
            QTest::keyClick(&data, Qt::Key_Escape);
            closedByEscape = !data.isVisible();
        }));
        QVERIFY(closedByEscape);
    }

    void fillsTheBoxesLikeTypingThem_data() {
        QTest::addColumn<QString>("scores");
        QTest::addColumn<int>("layout");
        QTest::addColumn<BoxTexts>("expected");
        QTest::addColumn<bool>("matched");
        const BoxTexts independent = {{"TxtMean1", "12"},
                                      {"TxtSD1", "2"},
                                      {"TxtN1", "3"},
                                      {"TxtMean2", "10"},
                                      {"TxtSD2", "2.581988897471611"},
                                      {"TxtN2", "4"}};
        QTest::newRow("spreadsheet copy, unequal lengths, NA")
            << QStringLiteral("pre\tpost\n10\t7\n12\t9\n14\tNA\n\t11\n\t13\n") << 0 << independent
            << false;
        QTest::newRow("semicolons and decimal commas")
            << QStringLiteral("10,0;7\n12;9,0\n14;.\n;11\n;13\n") << 0 << independent << false;
        QTest::newRow("long decimals and a minus sign")
            << QStringLiteral("12,-1.5\n12.5,-2\n12.5,-2\n") << 0
            << BoxTexts{{"TxtMean1", "12.333333333333334"}, {"TxtMean2", "-1.8333333333333333"}}
            << false;
        QTest::newRow("long format")
            << QStringLiteral("group,score\nb,7\na,10\nb,9\na,12\nb,\nb,11\na,14\nb,13\n") << 2
            << BoxTexts{{"TxtMean1", "10"}, {"TxtSD1", "2.581988897471611"},
                        {"TxtN1", "4"},     {"TxtMean2", "12"},
                        {"TxtSD2", "2"},    {"TxtN2", "3"}}
            << false;
        // Complete pairs only: rows 4 and 6 lose a score.
        QTest::newRow("matched at an offset of 1e9")
            << QStringLiteral(
                   "a,b\n1000000000.5,1000000000\n1000000001.25,1000000001\n"
                   "5,\n999999999.75,999999999.5\n,7\n1000000002,1000000001\n")
            << 1
            << BoxTexts{{"TxtMean1", "1000000000.875"},
                        {"TxtSD1", "0.9682458365518543"},
                        {"TxtN1", "4"},
                        {"TxtMean2", "1000000000.375"},
                        {"TxtSD2", "0.75"},
                        {"TxtN2", "4"},
                        {"TxtMeanDiff", "0.5"},
                        {"TxtSDMatched", "0.3535533905932738"}}
            << true;
        // Scores this small have shortest forms with an exponent, which
        // cannot be typed into the boxes.
        QTest::newRow("tiny scores are written as plain decimals")
            << QStringLiteral("0.000012,0.0000105\n0.0000125,0.0000101\n0.0000131,0.0000099\n") << 0
            << BoxTexts{{"TxtN1", "3"}, {"TxtN2", "3"}} << false;
    }

    void fillsTheBoxesLikeTypingThem() {
        QFETCH(QString, scores);
        QFETCH(int, layout);
        QFETCH(BoxTexts, expected);
        QFETCH(bool, matched);
        testing::Recorder recorder;
        Answers answers;
        auto filled = calculator(recorder, answers);
        // The calculator starts in the other design, so the fill must switch it.
        if (!matched) control<QRadioButton>(*filled, "opMatched").click();
        QVERIFY(inDataWindow(*filled, [&](QWidget& data) { pasteAndFill(data, scores, layout); }));
        QVERIFY(answers.questions.isEmpty());
        for (const auto& [name, text] : expected)
            QCOMPARE(box(*filled, qPrintable(name)).text(), text);
        // Each filled box shows its start: its sign and first digits.
        for (const std::string_view name : names::inputBoxes)
            QCOMPARE(box(*filled, std::string(name).c_str()).cursorPosition(), 0);
        QCOMPARE(control<QRadioButton>(*filled, "opMatched").isChecked(), matched);
        QCOMPARE(box(*filled, "TxtSDMatched").isEnabled(), matched);

        // The same texts typed by hand, key by key through the filters.
        auto typed = calculator(recorder, answers);
        for (const std::string_view name : names::inputBoxes) {
            if (name == "TxtMeanDiff" && matched)
                control<QRadioButton>(*typed, "opMatched").click();
            const QString text = box(*filled, std::string(name).c_str()).text();
            QVERIFY2(!text.contains(u'e') && !text.contains(u'E'), qPrintable(text));
            QLineEdit& into = box(*typed, std::string(name).c_str());
            into.setFocus();
            QTest::keyClicks(&into, text);
            QCOMPARE(into.text(), text);
        }
        for (auto* window : {filled.get(), typed.get()}) {
            box(*window, "TxtNotTrivial").setText(QStringLiteral("3"));
            QTest::mouseClick(&control<QPushButton>(*window, "cmdDoIt"), Qt::LeftButton);
        }
        QVERIFY(recorder.messages.empty());
        QVERIFY(!resultTexts(*filled).join(QString()).isEmpty());
        QCOMPARE(resultTexts(*filled), resultTexts(*typed));
    }

    void asksBeforeReplacingWhatWasTyped() {
        testing::Recorder recorder;
        Answers answers;
        auto window = calculator(recorder, answers);
        box(*window, "TxtMean1").setText(QStringLiteral("5"));
        box(*window, "TxtSD1").setText(QStringLiteral("2.0"));  // the same number as the data's
        const QString scores = QStringLiteral("10,7\n12,9\n14,NA\n,11\n,13\n");
        QString shownError;
        QVERIFY(inDataWindow(*window, [&](QWidget& data) {
            pasteAndFill(data, scores);
            QVERIFY(data.isVisible());
            shownError =
                named<QLabel>(data, QStringLiteral("Problem with filling the boxes"))->text();
        }));
        QCOMPARE(answers.questions.size(), 1);
        QVERIFY2(answers.questions[0].contains(QStringLiteral("Group 1 Mean: 5 becomes 12")),
                 qPrintable(answers.questions[0]));
        QVERIFY(!answers.questions[0].contains(QStringLiteral("Group 1 SD")));
        QVERIFY(shownError.contains(QStringLiteral("Nothing was filled")));
        QCOMPARE(box(*window, "TxtMean1").text(), QStringLiteral("5"));
        QVERIFY(box(*window, "TxtN1").text().isEmpty());

        answers.replace = true;
        QVERIFY(inDataWindow(*window, [&](QWidget& data) { pasteAndFill(data, scores); }));
        QCOMPARE(answers.questions.size(), 2);
        QCOMPARE(box(*window, "TxtMean1").text(), QStringLiteral("12"));
        QCOMPARE(box(*window, "TxtSD1").text(), QStringLiteral("2.0"));
        QCOMPARE(box(*window, "TxtN2").text(), QStringLiteral("4"));
    }

    // The calculator compares a matched design's sizes as typed, so "04" must
    // not stay beside "4": it would refuse the design the data need.
    void matchedSizesAreWrittenAsTheSameText() {
        testing::Recorder recorder;
        Answers answers;
        auto window = calculator(recorder, answers);
        box(*window, "TxtN1").setText(QStringLiteral("04"));
        QVERIFY(inDataWindow(*window, [&](QWidget& data) {
            pasteAndFill(data, QStringLiteral("1,2\n3,5\n4,4\n6,9\n"), 1);
        }));
        QVERIFY(answers.questions.isEmpty());
        QVERIFY(recorder.messages.empty());
        QCOMPARE(box(*window, "TxtN1").text(), QStringLiteral("4"));
        QCOMPARE(box(*window, "TxtN2").text(), QStringLiteral("4"));
        QVERIFY(control<QRadioButton>(*window, "opMatched").isChecked());
    }

    void errorsShowBesideTheirCause_data() {
        QTest::addColumn<QString>("scores");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("says");
        QTest::addColumn<int>("shadedLine");  // from 0; -1 for none
        QTest::addColumn<int>("layout");
        QTest::newRow("a word") << QStringLiteral("1,2\n3,abc\n5,6\n")
                                << QStringLiteral("Problem with the scores")
                                << QStringLiteral(
                                       "Row 2, column 2 (\"Column 2\"): \"abc\" is not a number")
                                << 1 << 0;
        QTest::newRow("a letter after a decimal comma")
            << QStringLiteral("1;2\n3;4\n12,5x;6\n") << QStringLiteral("Problem with the scores")
            << QStringLiteral("Row 3, column 1 (\"Column 1\"): \"12,5x\"") << 2 << 0;
        QTest::newRow("an unclosed quote")
            << QStringLiteral("1,2\n\"3,4\n5,6\n") << QStringLiteral("Problem with the scores")
            << QStringLiteral("Row 2: a quoted field is not closed") << 1 << 0;
        QTest::newRow("one score")
            << QStringLiteral("1,2\n,4\n") << QStringLiteral("Problem with the choices")
            << QStringLiteral("has 1 score") << -1 << 0;
        QTest::newRow("one column")
            << QStringLiteral("1\n2\n3\n") << QStringLiteral("Problem with the choices")
            << QStringLiteral("The table has 1 column; two are needed") << -1 << 0;
        QTest::newRow("one group value")
            << QStringLiteral("g,s\nA,1\nA,2\n") << QStringLiteral("Problem with the choices")
            << QStringLiteral("Group 1 and group 2 are both \"A\"") << -1 << 2;
    }

    void errorsShowBesideTheirCause() {
        QFETCH(QString, scores);
        QFETCH(QString, label);
        QFETCH(QString, says);
        QFETCH(int, shadedLine);
        QFETCH(int, layout);
        testing::Recorder recorder;
        Answers answers;
        auto window = calculator(recorder, answers);
        QVERIFY(inDataWindow(*window, [&](QWidget& data) {
            named<QComboBox>(data, QStringLiteral("Layout"))->setCurrentIndex(layout);
            named<QPlainTextEdit>(data, QStringLiteral("Pasted scores"))->setPlainText(scores);
            auto* error = named<QLabel>(data, label);
            QVERIFY(error->isVisible());
            QVERIFY2(error->text().contains(says), qPrintable(error->text()));
            QVERIFY(!named<QPushButton>(data, QStringLiteral("Fill the boxes"))->isEnabled());
            const auto marks =
                named<QPlainTextEdit>(data, QStringLiteral("Pasted scores"))->extraSelections();
            QCOMPARE(marks.size(), shadedLine < 0 ? 0 : 1);
            if (shadedLine >= 0) QCOMPARE(marks[0].cursor.blockNumber(), shadedLine);
        }));
        QVERIFY(box(*window, "TxtMean1").text().isEmpty());
    }

    // Older spreadsheets on the Mac end lines with a lone carriage return.
    void opensAFileWithCarriageReturnLineEnds() {
        QTemporaryDir directory;
        const QString path = directory.filePath(QStringLiteral("scores.csv"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\xEF\xBB\xBFpre,post\r10,7\r12,9\r14,NA\r,11\r,13\r");
        file.close();
        testing::Recorder recorder;
        Answers answers;
        answers.fileToOpen = path;
        auto window = calculator(recorder, answers);
        QVERIFY(inDataWindow(*window, [&](QWidget& data) {
            QTest::mouseClick(named<QPushButton>(data, QStringLiteral("Open file...")),
                              Qt::LeftButton);
            auto* pasted = named<QPlainTextEdit>(data, QStringLiteral("Pasted scores"));
            QVERIFY(pasted->document()->blockCount() >= 6);
            QVERIFY(
                named<QCheckBox>(data, QStringLiteral("First row names the columns"))->isChecked());
            // Enter on the focused button presses it, as in the calculator.
            auto* fill = named<QPushButton>(data, QStringLiteral("Fill the boxes"));
            fill->setFocus();
            QTest::keyClick(fill, Qt::Key_Return);
            QTRY_VERIFY(!data.isVisible());
        }));
        QCOMPARE(box(*window, "TxtN2").text(), QStringLiteral("4"));
        QCOMPARE(box(*window, "TxtMean1").text(), QStringLiteral("12"));
        QCOMPARE(box(*window, "TxtSD2").text(), QStringLiteral("2.581988897471611"));
    }

    void aUtf16FileIsRefusedInASentence() {
        QTemporaryDir directory;
        const QString path = directory.filePath(QStringLiteral("scores.csv"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("\xFF\xFE", 2) +
                   QByteArray(reinterpret_cast<const char*>(u"1,2\n3,4\n"), 16));
        file.close();
        testing::Recorder recorder;
        Answers answers;
        answers.fileToOpen = path;
        auto window = calculator(recorder, answers);
        QVERIFY(inDataWindow(*window, [&](QWidget& data) {
            QTest::mouseClick(named<QPushButton>(data, QStringLiteral("Open file...")),
                              Qt::LeftButton);
            const QString error =
                named<QLabel>(data, QStringLiteral("Problem with the scores"))->text();
            QVERIFY2(error.startsWith(QStringLiteral("scores.csv: The text is in UTF-16")),
                     qPrintable(error));
            QVERIFY(named<QPlainTextEdit>(data, QStringLiteral("Pasted scores"))
                        ->toPlainText()
                        .isEmpty());
        }));
    }

    // Exactly what the summaries say: names, counts, and the one rule for
    // shown numbers.
    void showsTheSummaries_data() {
        QTest::addColumn<QString>("scores");
        QTest::addColumn<int>("layout");
        QTest::addColumn<Columns>("columns");  // group 1 and group 2; empty: as chosen on their own
        QTest::addColumn<int>("header");       // -1: detected, 0: unticked, 1: ticked
        QTest::addColumn<QStringList>("groups");  // long format: group 1 and 2 values chosen
        QTest::addColumn<QString>("appended");    // typed at the end after the choices
        QTest::addColumn<QString>("expected");
        QTest::newRow("one missing value")
            << QStringLiteral("pre\tpost\n10\t7\n12\t9\n14\tNA\n\t11\n\t13\n") << 0 << Columns{}
            << -1 << QStringList() << QString()
            << QStringLiteral(
                   "Group 1 (pre): N = 3, mean = 12, SD = 2\n"
                   "Group 2 (post): N = 4, mean = 10, SD = 2.5819889; "
                   "1 missing value skipped");
        QTest::newRow("two missing values")
            << QStringLiteral("1,2\nNA,4\n3,.\n5,6\n.,8\n") << 0 << Columns{} << -1 << QStringList()
            << QString()
            << QStringLiteral(
                   "Group 1 (Column 1): N = 3, mean = 3, SD = 2; 2 missing values "
                   "skipped\nGroup 2 (Column 2): N = 4, mean = 5, SD = 2.5819889; "
                   "1 missing value skipped");
        QTest::newRow("group 1 from the third column")
            << QStringLiteral("x,y,z\n1,2,30\n3,4,50\n") << 0 << Columns{2, 1} << -1
            << QStringList() << QString()
            << QStringLiteral(
                   "Group 1 (z): N = 2, mean = 40, SD = 14.142136\n"
                   "Group 2 (y): N = 2, mean = 3, SD = 1.4142136");
        QTest::newRow("columns the other way round")
            << QStringLiteral("x,y\n1,5\n3,9\n") << 0 << Columns{1, 0} << -1 << QStringList()
            << QString()
            << QStringLiteral(
                   "Group 1 (y): N = 2, mean = 7, SD = 2.8284271\n"
                   "Group 2 (x): N = 2, mean = 2, SD = 1.4142136");
        QTest::newRow("column choices kept as a row is typed")
            << QStringLiteral("x,y,z\n1,2,30\n3,4,50\n") << 0 << Columns{2, 1} << -1
            << QStringList() << QStringLiteral("5,6,70")
            << QStringLiteral(
                   "Group 1 (z): N = 3, mean = 50, SD = 20\n"
                   "Group 2 (y): N = 3, mean = 4, SD = 2");
        QTest::newRow("numbers in the first row, ticked as names")
            << QStringLiteral("1,2\n3,4\n5,6\n7,9\n") << 0 << Columns{} << 1 << QStringList()
            << QString()
            << QStringLiteral(
                   "Group 1 (1): N = 3, mean = 5, SD = 2\n"
                   "Group 2 (2): N = 3, mean = 6.3333333, SD = 2.5166115");
        QTest::newRow("words in the first row, unticked")
            << QStringLiteral("a,b\n3,4\n5,6\n") << 0 << Columns{} << 0 << QStringList()
            << QString() << QString();
        QTest::newRow("matched, a pair dropped")
            << QStringLiteral("1,2\n3,5\n4,\n6,9\n") << 1 << Columns{} << -1 << QStringList()
            << QString()
            << QStringLiteral(
                   "Group 1 (Column 1): N = 3, mean = 3.3333333, SD = 2.5166115\n"
                   "Group 2 (Column 2): N = 3, mean = 5.3333333, SD = 3.5118846\n"
                   "Differences, group 1 minus group 2: N = 3, mean = -2, SD = 1; "
                   "1 pair with a missing score dropped\n"
                   "The group summaries are of the complete pairs.");
        QTest::newRow("a group column")
            << QStringLiteral("g,s\nB,1\nA,2\nB,3\nA,\nA,6\n") << 2 << Columns{} << -1
            << QStringList() << QString()
            << QStringLiteral(
                   "Group 1 (B): N = 2, mean = 2, SD = 1.4142136\n"
                   "Group 2 (A): N = 2, mean = 4, SD = 2.8284271; 1 missing value "
                   "skipped");
        QTest::newRow("group choices kept as a row is typed")
            << QStringLiteral("g,s\nB,1\nA,2\nB,3\nA,\nA,6\n") << 2 << Columns{} << -1
            << QStringList{QStringLiteral("A"), QStringLiteral("B")} << QStringLiteral("B,5")
            << QStringLiteral(
                   "Group 1 (A): N = 2, mean = 4, SD = 2.8284271; 1 missing value "
                   "skipped\nGroup 2 (B): N = 3, mean = 3, SD = 2");
        QTest::newRow("a mean of 1e8 keeps its decimal")
            << QStringLiteral("100000000.1,1\n100000000.3,3\n") << 0 << Columns{} << -1
            << QStringList() << QString()
            << QStringLiteral(
                   "Group 1 (Column 1): N = 2, mean = 100000000.2, SD = 0.14142136\n"
                   "Group 2 (Column 2): N = 2, mean = 2, SD = 1.4142136");
        QTest::newRow("an SD near the largest double")
            << QStringLiteral("1e308,1\n1e308,2\n-1e308,3\n") << 0 << Columns{} << -1
            << QStringList() << QString()
            << QStringLiteral(
                   "Group 1 (Column 1): N = 3, mean = 3.3333333e+307, SD = "
                   "1.1547005e+308\nGroup 2 (Column 2): N = 3, mean = 2, SD = 1");
    }

    void showsTheSummaries() {
        QFETCH(QString, scores);
        QFETCH(int, layout);
        QFETCH(Columns, columns);
        QFETCH(int, header);
        QFETCH(QStringList, groups);
        QFETCH(QString, appended);
        QFETCH(QString, expected);
        testing::Recorder recorder;
        Answers answers;
        auto window = calculator(recorder, answers);
        QString shown;
        QVERIFY(inDataWindow(*window, [&](QWidget& data) {
            named<QPlainTextEdit>(data, QStringLiteral("Pasted scores"))->setPlainText(scores);
            named<QComboBox>(data, QStringLiteral("Layout"))->setCurrentIndex(layout);
            if (!columns.isEmpty()) {
                named<QComboBox>(data, QStringLiteral("Group 1 column"))
                    ->setCurrentIndex(columns[0]);
                named<QComboBox>(data, QStringLiteral("Group 2 column"))
                    ->setCurrentIndex(columns[1]);
            }
            if (header >= 0)
                named<QCheckBox>(data, QStringLiteral("First row names the columns"))
                    ->setChecked(header == 1);
            const char* const groupChoosers[] = {"Group 1 value", "Group 2 value"};
            for (int which = 0; which < groups.size(); ++which) {
                auto* chooser = named<QComboBox>(data, QString::fromLatin1(groupChoosers[which]));
                chooser->setCurrentIndex(chooser->findText(groups[which]));
            }
            if (!appended.isEmpty()) {
                auto* pasted = named<QPlainTextEdit>(data, QStringLiteral("Pasted scores"));
                pasted->setFocus();
                pasted->moveCursor(QTextCursor::End);
                QTest::keyClicks(pasted, appended);
            }
            shown = summariesShown(data);
        }));
        QCOMPARE(shown, expected);
    }

    // What the column choosers are called follows the layout, for the eye
    // and for a screen reader.
    void choosersAreNamedForTheLayout_data() {
        QTest::addColumn<int>("layout");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<bool>("groupValues");
        QTest::newRow("side by side")
            << 0 << QStringList{QStringLiteral("Group 1 column"), QStringLiteral("Group 2 column")}
            << QStringList{QStringLiteral("Group &1 column:"), QStringLiteral("Group &2 column:")}
            << false;
        QTest::newRow("matched") << 1
                                 << QStringList{QStringLiteral("Group 1 column"),
                                                QStringLiteral("Group 2 column")}
                                 << QStringList{QStringLiteral("Group &1 column:"),
                                                QStringLiteral("Group &2 column:")}
                                 << false;
        QTest::newRow("group column")
            << 2 << QStringList{QStringLiteral("Group column"), QStringLiteral("Score column")}
            << QStringList{QStringLiteral("&Group column:"), QStringLiteral("Score colu&mn:")}
            << true;
    }

    void choosersAreNamedForTheLayout() {
        QFETCH(int, layout);
        QFETCH(QStringList, names);
        QFETCH(QStringList, captions);
        QFETCH(bool, groupValues);
        testing::Recorder recorder;
        Answers answers;
        auto window = calculator(recorder, answers);
        QVERIFY(inDataWindow(*window, [&](QWidget& data) {
            named<QPlainTextEdit>(data, QStringLiteral("Pasted scores"))
                ->setPlainText(QStringLiteral("pre,post\n1,2\n3,4\n"));
            named<QComboBox>(data, QStringLiteral("Layout"))->setCurrentIndex(layout);
            const char* const choosers[] = {"cboColumn1", "cboColumn2"};
            const char* const labels[] = {"lblColumn1", "lblColumn2"};
            for (int which = 0; which < 2; ++which) {
                QCOMPARE(data.findChild<QComboBox*>(QString::fromLatin1(choosers[which]))
                             ->accessibleName(),
                         names[which]);
                QCOMPARE(data.findChild<QLabel*>(QString::fromLatin1(labels[which]))->text(),
                         captions[which]);
                const auto* chooser =
                    data.findChild<QComboBox*>(QString::fromLatin1(choosers[which]));
                QCOMPARE(chooser->itemText(0), QStringLiteral("1: pre"));
                QCOMPARE(chooser->itemText(1), QStringLiteral("2: post"));
                QCOMPARE(chooser->currentIndex(), which);
            }
            for (const char* value : {"Group 1 value", "Group 2 value"})
                QCOMPARE(named<QComboBox>(data, QString::fromLatin1(value))->isEnabled(),
                         groupValues);
        }));
    }

    // A problem shown is about what is read now: changing the choices that
    // caused it takes it away, with its shading.
    void errorsBelongToTheCurrentReading_data() {
        QTest::addColumn<QString>("scores");
        QTest::addColumn<int>("firstLayout");
        QTest::addColumn<QString>("firstError");  // in "Problem with the scores"
        QTest::addColumn<bool>("hintsAtGroupColumn");
        QTest::addColumn<int>("thenLayout");
        QTest::addColumn<QString>("thenError");  // empty: none shown, nothing shaded
        QTest::newRow("group names read as scores")
            << QStringLiteral("group,score\nA,1\nB,2\nC,3\nA,4\nB,6\n") << 0
            << QStringLiteral("Row 2, column 1 (\"group\"): \"A\" is not a number") << true << 2
            << QString();
        QTest::newRow("group names read as matched scores, then as a score column")
            << QStringLiteral("score;group\n1;A\n2;B\n3;A\n4;B\n") << 1
            << QStringLiteral("Row 2, column 2 (\"group\"): \"A\" is not a number") << true << 2
            << QStringLiteral("Row 2, column 2 (\"group\")");
        QTest::newRow("one word among numbers stays wrong")
            << QStringLiteral("1,2\n3,abc\n5,6\n") << 0
            << QStringLiteral("Row 2, column 2 (\"Column 2\"): \"abc\" is not a number") << false
            << 1 << QStringLiteral("Row 2, column 2");
    }

    void errorsBelongToTheCurrentReading() {
        QFETCH(QString, scores);
        QFETCH(int, firstLayout);
        QFETCH(QString, firstError);
        QFETCH(bool, hintsAtGroupColumn);
        QFETCH(int, thenLayout);
        QFETCH(QString, thenError);
        testing::Recorder recorder;
        Answers answers;
        auto window = calculator(recorder, answers);
        QVERIFY(inDataWindow(*window, [&](QWidget& data) {
            auto* pasted = named<QPlainTextEdit>(data, QStringLiteral("Pasted scores"));
            auto* layout = named<QComboBox>(data, QStringLiteral("Layout"));
            auto* error = named<QLabel>(data, QStringLiteral("Problem with the scores"));
            layout->setCurrentIndex(firstLayout);
            pasted->setPlainText(scores);
            QVERIFY(error->isVisible());
            QVERIFY2(error->text().contains(firstError), qPrintable(error->text()));
            QCOMPARE(error->text().contains(QStringLiteral("a group column and a score column")),
                     hintsAtGroupColumn);
            QCOMPARE(pasted->extraSelections().size(), 1);
            layout->setCurrentIndex(thenLayout);
            QCOMPARE(error->isVisible(), !thenError.isEmpty());
            QCOMPARE(pasted->extraSelections().size(), thenError.isEmpty() ? 0 : 1);
            if (!thenError.isEmpty())
                QVERIFY2(error->text().contains(thenError), qPrintable(error->text()));
            else
                QVERIFY(summariesShown(data).startsWith(QStringLiteral("Group 1 (A)")));
        }));
    }

    // A screen reader is given what each result label shows, not only what
    // the label is for.
    void resultsReachAScreenReader_data() {
        QTest::addColumn<QString>("scores");
        QTest::addColumn<QString>("r");      // empty: the scores page
        QTest::addColumn<QString>("pairs");  // empty: as taken from the calculator
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("heard");
        QTest::newRow("summaries")
            << QStringLiteral("1,2\n3,4\n5,9\n") << QString() << QString()
            << QStringLiteral("Summaries")
            << QStringLiteral("Summaries: Group 1 (Column 1): N = 3, mean = 3");
        QTest::newRow("problem with the scores")
            << QStringLiteral("1,2\n3,x\n") << QString() << QString()
            << QStringLiteral("Problem with the scores")
            << QStringLiteral("Problem with the scores: Row 2, column 2");
        QTest::newRow("problem with the choices")
            << QStringLiteral("1,2\n,4\n") << QString() << QString()
            << QStringLiteral("Problem with the choices")
            << QStringLiteral("Problem with the choices: Group 1 (column 1");
        QTest::newRow("matched summaries")
            << QString() << QStringLiteral("1") << QString() << QStringLiteral("Matched summaries")
            << QStringLiteral(
                   "Matched summaries: Mean difference = 1, SD of the differences = 0.2");
        QTest::newRow("problem with the correlation")
            << QString() << QStringLiteral("2") << QString()
            << QStringLiteral("Problem with the correlation inputs")
            << QStringLiteral("Problem with the correlation inputs: The correlation r must lie");
        QTest::newRow("pairs not a whole number")
            << QString() << QStringLiteral("0.5") << QStringLiteral("20.5")
            << QStringLiteral("Problem with the correlation inputs")
            << QStringLiteral(
                   "Problem with the correlation inputs: Number of pairs: a whole number "
                   "is needed.");
    }

    void resultsReachAScreenReader() {
        QFETCH(QString, scores);
        QFETCH(QString, r);
        QFETCH(QString, pairs);
        QFETCH(QString, label);
        QFETCH(QString, heard);
        testing::Recorder recorder;
        Answers answers;
        auto window = calculator(recorder, answers);
        const BoxTexts typed = {{"TxtMean1", "10"}, {"TxtSD1", "1.2"}, {"TxtN1", "20"},
                                {"TxtMean2", "9"},  {"TxtSD2", "1.0"}, {"TxtN2", "20"}};
        for (const auto& [name, text] : typed)
            box(*window, qPrintable(name)).setText(text);
        QString said;
        QVERIFY(inDataWindow(*window, [&](QWidget& data) {
            if (r.isEmpty()) {
                named<QPlainTextEdit>(data, QStringLiteral("Pasted scores"))->setPlainText(scores);
            } else {
                named<QTabWidget>(data, QStringLiteral("Source of the summaries"))
                    ->setCurrentIndex(1);
                named<QLineEdit>(data, QStringLiteral("Correlation r"))->setText(r);
                if (!pairs.isEmpty())
                    named<QLineEdit>(data, QStringLiteral("Number of pairs"))->setText(pairs);
            }
            said = readAloud(*named<QLabel>(data, label));
        }));
        QVERIFY2(said.startsWith(heard), qPrintable(said));
    }

    // One window for the session: Escape or Fill hides it with what was
    // pasted and chosen, and the next opening shows them again.
    void keepsItsContentsBetweenOpenings() {
        testing::Recorder recorder;
        Answers answers;
        answers.replace = true;
        auto window = calculator(recorder, answers);
        const QString scores = QStringLiteral("g,s\nA,1\nB,2\nA,3\nB,5\n");
        QVERIFY(inDataWindow(*window, [&](QWidget& data) {
            named<QPlainTextEdit>(data, QStringLiteral("Pasted scores"))->setPlainText(scores);
            named<QComboBox>(data, QStringLiteral("Layout"))->setCurrentIndex(2);
            QTest::keyClick(&data, Qt::Key_Escape);
        }));
        // An empty box of the correlation page takes what the calculator holds now.
        box(*window, "TxtMean1").setText(QStringLiteral("10"));
        for (const bool fill : {true, false}) {
            QVERIFY(inDataWindow(*window, [&](QWidget& data) {
                QCOMPARE(
                    named<QPlainTextEdit>(data, QStringLiteral("Pasted scores"))->toPlainText(),
                    scores);
                QCOMPARE(named<QComboBox>(data, QStringLiteral("Layout"))->currentIndex(), 2);
                QVERIFY(summariesShown(data).startsWith(QStringLiteral("Group 1 (A): N = 2")));
                QCOMPARE(named<QLineEdit>(data, QStringLiteral("Group 1 mean"))->text(),
                         QStringLiteral("10"));
                if (fill)
                    QTest::mouseClick(named<QPushButton>(data, QStringLiteral("Fill the boxes")),
                                      Qt::LeftButton);
            }));
        }
        QCOMPARE(box(*window, "TxtMean2").text(), QStringLiteral("3.5"));
        QCOMPARE(answers.questions.size(), 1);
    }

    // The correlation page names the calculator's numbers it took, as long as
    // its boxes hold them: a number the calculator's boxes let go wrong is
    // seen (and heard, as the page comes into view) before it is used.
    void correlationPageSaysWhatItTook_data() {
        QTest::addColumn<BoxTexts>("calculatorBoxes");
        QTest::addColumn<BoxTexts>("typedOnThePage");  // before the calculator's are taken
        QTest::addColumn<BoxTexts>("typedAfter");      // after
        QTest::addColumn<QString>("line");
        const BoxTexts all = {{"TxtMean1", "10"},
                              {"TxtSD1", "2.125"},
                              {"TxtMean2", "-9"},
                              {"TxtSD2", "2"},
                              {"TxtN1", "30"}};
        QTest::newRow("all five") << all << BoxTexts{} << BoxTexts{}
                                  << "These are the calculator's numbers: a group 1 mean of 10, a "
                                     "group 1 SD of 2.125, a group 2 mean of -9, a group 2 SD of "
                                     "2, and 30 pairs.";
        QTest::newRow("a size typed over a kept selection")
            << BoxTexts{{"TxtN1", "333010"}} << BoxTexts{} << BoxTexts{}
            << "These are the calculator's numbers: 333010 pairs.";
        QTest::newRow("a box typed on the page keeps its own")
            << BoxTexts{{"TxtMean1", "10"}, {"TxtSD1", "2"}} << BoxTexts{{"Group 1 mean", "11"}}
            << BoxTexts{} << "These are the calculator's numbers: a group 1 SD of 2.";
        QTest::newRow("a taken number changed on the page is no longer named")
            << BoxTexts{{"TxtMean1", "10"}, {"TxtSD1", "2"}} << BoxTexts{}
            << BoxTexts{{"Group 1 SD", "3"}}
            << "These are the calculator's numbers: a group 1 mean of 10.";
        QTest::newRow("nothing to take") << BoxTexts{} << BoxTexts{} << BoxTexts{} << QString();
    }
    void correlationPageSaysWhatItTook() {
        QFETCH(BoxTexts, calculatorBoxes);
        QFETCH(BoxTexts, typedOnThePage);
        QFETCH(BoxTexts, typedAfter);
        QFETCH(QString, line);
        testing::Recorder recorder;
        Answers answers;
        auto window = calculator(recorder, answers);
        // The first opening makes the window; what it takes is read on each opening.
        QVERIFY(inDataWindow(*window, [&](QWidget& data) {
            for (const auto& [name, text] : typedOnThePage)
                named<QLineEdit>(data, name)->setText(text);
        }));
        for (const auto& [name, text] : calculatorBoxes)
            box(*window, name.toLatin1().constData()).setText(text);
        QString shown, heard;
        bool visible = false;
        QVERIFY(inDataWindow(*window, [&](QWidget& data) {
            for (const auto& [name, text] : typedAfter)
                named<QLineEdit>(data, name)->setText(text);
            auto* taken = named<QLabel>(data, QStringLiteral("Numbers taken from the calculator"));
            shown = taken->text();
            visible = !taken->isHidden();  // its page may be out of view
            QSignalSpy announced(data.findChild<Announcer*>(), &Announcer::announced);
            named<QTabWidget>(data, QStringLiteral("Source of the summaries"))->setCurrentIndex(1);
            heard = announced.isEmpty() ? QString() : announced.first().first().toString();
            QCOMPARE(readAloud(*taken),
                     QStringLiteral("Numbers taken from the calculator: ") + line);
        }));
        QCOMPARE(shown, line);
        QCOMPARE(visible, !line.isEmpty());
        QCOMPARE(heard, line);
    }

    // What "Fill the boxes" wrote is told to a screen reader once the
    // calculator is back, each box by its spoken name; a closing without a
    // fill tells nothing.
    void fillSaysWhatItWrote_data() {
        QTest::addColumn<QString>("scores");
        QTest::addColumn<int>("layout");
        QTest::addColumn<bool>("fill");
        QTest::addColumn<QString>("heard");
        QTest::newRow("independent groups")
            << QStringLiteral("a,b\n1,2\n2,4\n3,9\n") << 0 << true
            << "Filled the calculator's boxes: Group 1 Mean 2, Group 1 SD 1, Group 1 N 3, Group 2 "
               "Mean 5, Group 2 SD 3.6055513, and Group 2 N 3; the design is independent samples.";
        QTest::newRow("matched pairs")
            << QStringLiteral("a,b\n1,2\n2,4\n3,9\n") << 1 << true
            << "Filled the calculator's boxes: Group 1 Mean 2, Group 1 SD 1, Group 1 N 3, Group 2 "
               "Mean 5, Group 2 SD 3.6055513, Group 2 N 3, Mean Difference Of Matched Samples -3, "
               "and SD Of Matched Difference Scores 2.6457513; the design is matched samples.";
        QTest::newRow("closed without filling")
            << QStringLiteral("a,b\n1,2\n2,4\n3,9\n") << 0 << false << QString();
    }
    void fillSaysWhatItWrote() {
        QFETCH(QString, scores);
        QFETCH(int, layout);
        QFETCH(bool, fill);
        QFETCH(QString, heard);
        testing::Recorder recorder;
        Answers answers;
        auto window = calculator(recorder, answers);
        QSignalSpy announced(window->findChild<Announcer*>(QString(), Qt::FindDirectChildrenOnly),
                             &Announcer::announced);
        QVERIFY(inDataWindow(*window, [&](QWidget& data) {
            if (fill) {
                pasteAndFill(data, scores, layout);
            } else {
                named<QPlainTextEdit>(data, QStringLiteral("Pasted scores"))->setPlainText(scores);
                QTest::keyClick(&data, Qt::Key_Escape);
            }
        }));
        QCOMPARE(announced.isEmpty() ? QString() : announced.last().first().toString(), heard);
    }

    // Pasted scores are never replaced by a file's without a word.
    void openingAFileOverPastedScores_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("replace");  // the answer, if asked
        QTest::addColumn<int>("questions");
        QTest::addColumn<bool>("replaced");
        QTest::addColumn<QString>("error");
        QTest::newRow("an empty file") << QByteArray() << true << 0 << false
                                       << QStringLiteral(
                                              "scores.csv: There are no scores: the table "
                                              "is empty. The scores in the box are kept.");
        QTest::newRow("blank lines") << QByteArray("\n \r\n\n") << true << 0 << false
                                     << QStringLiteral("scores.csv: There are no scores");
        QTest::newRow("scores, and No")
            << QByteArray("1,2\n3,4\n") << false << 1 << false << QString();
        QTest::newRow("scores, and Yes")
            << QByteArray("1,2\n3,4\n") << true << 1 << true << QString();
        // The box's limit counts characters: read before the table is.
        QTest::newRow("one character too many for the box")
            << QByteArray("1,2\n").repeated(250'000) + "5" << true << 0 << false
            << QStringLiteral(
                   "scores.csv: The scores would be 1,000,001 characters long; the box takes at "
                   "most 1,000,000, since a longer text freezes the window for seconds. Analyse "
                   "a table this large with tarnwick-scores. The scores in the box are kept.");
        QTest::newRow("more bytes than characters, within the limit")
            << (QByteArray("\xC3\xA9").repeated(49) + "\n").repeated(12'000) << true << 1 << true
            << QString();
    }

    void openingAFileOverPastedScores() {
        QFETCH(QByteArray, file);
        QFETCH(bool, replace);
        QFETCH(int, questions);
        QFETCH(bool, replaced);
        QFETCH(QString, error);
        QTemporaryDir directory;
        const QString path = directory.filePath(QStringLiteral("scores.csv"));
        QFile written(path);
        QVERIFY(written.open(QIODevice::WriteOnly));
        written.write(file);
        written.close();
        testing::Recorder recorder;
        Answers answers;
        answers.fileToOpen = path;
        answers.replace = replace;
        auto window = calculator(recorder, answers);
        const QString pasted = scoresText(2000);
        QVERIFY(inDataWindow(*window, [&](QWidget& data) {
            auto* scores = named<QPlainTextEdit>(data, QStringLiteral("Pasted scores"));
            scores->setPlainText(pasted);
            QTest::mouseClick(named<QPushButton>(data, QStringLiteral("Open file...")),
                              Qt::LeftButton);
            QCOMPARE(scores->toPlainText(), replaced ? QString::fromUtf8(file) : pasted);
            auto* problem = named<QLabel>(data, QStringLiteral("Problem with the scores"));
            QCOMPARE(problem->isVisible(), !error.isEmpty());
            if (!error.isEmpty())
                QVERIFY2(problem->text().startsWith(error), qPrintable(problem->text()));
        }));
        QCOMPARE(answers.questions.size(), questions);
        if (questions > 0)
            QVERIFY2(answers.questions[0].contains(QStringLiteral("2,001 lines")),
                     qPrintable(answers.questions[0]));
    }

    // A paste that would make the text longer than the box takes is refused
    // before the box holds any of it (the box, not the reading, froze the
    // window for many seconds), and a newer paste is taken as usual.
    void aPasteTooLongForTheBoxIsRefused_data() {
        QTest::addColumn<int>("held");  // characters in the box before
        QTest::addColumn<bool>("replaceAll");
        QTest::addColumn<int>("pasted");  // characters
        QTest::addColumn<QString>("error");
        const QString kept = QStringLiteral(" The scores in the box are kept.");
        const QString tooLong = QStringLiteral(
            "The scores would be %1 characters long; the box takes at most 1,000,000, since a "
            "longer text freezes the window for seconds. Analyse a table this large with "
            "tarnwick-scores.");
        QTest::newRow("into an empty box, one too many")
            << 0 << false << 1'000'001 << tooLong.arg(QStringLiteral("1,000,001"));
        QTest::newRow("beside what it holds, as many as it takes")
            << 999'990 << false << 10 << QString();
        QTest::newRow("beside what it holds, one too many")
            << 999'990 << false << 11 << tooLong.arg(QStringLiteral("1,000,001")) + kept;
        QTest::newRow("in place of all it holds") << 999'990 << true << 20 << QString();
    }

    void aPasteTooLongForTheBoxIsRefused() {
        QFETCH(int, held);
        QFETCH(bool, replaceAll);
        QFETCH(int, pasted);
        QFETCH(QString, error);
        // Rows of "c,d" under a header, cut to the length wanted; long rows,
        // so that the box holds few lines and the test stays quick.
        const auto rows = [](int length) {
            return (QStringLiteral("c,d\n") +
                    QStringLiteral("7.000001,9.000001\n").repeated(length / 18 + 1))
                .left(length);
        };
        const QString before = rows(held);
        testing::Recorder recorder;
        Answers answers;
        auto window = calculator(recorder, answers);
        QVERIFY(inDataWindow(*window, [&](QWidget& data) {
            auto* scores = named<QPlainTextEdit>(data, QStringLiteral("Pasted scores"));
            auto* problem = named<QLabel>(data, QStringLiteral("Problem with the scores"));
            scores->setPlainText(before);
            scores->setFocus();
            scores->moveCursor(QTextCursor::End);
            if (replaceAll) scores->selectAll();
            QApplication::clipboard()->setText(rows(pasted));
            QTest::keyClick(scores, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(problem->isVisible(), !error.isEmpty());
            if (!error.isEmpty()) {
                QCOMPARE(problem->text(), error);
                QCOMPARE(scores->toPlainText(), before);
            } else {
                QCOMPARE(scores->document()->characterCount() - 1,
                         (replaceAll ? 0 : before.size()) + pasted);
            }
            // A newer paste of a usual size is taken.
            scores->selectAll();
            QApplication::clipboard()->setText(QStringLiteral("x,y\n1,2\n3,5\n"));
            QTest::keyClick(scores, Qt::Key_V, Qt::ControlModifier);
            QTRY_VERIFY(summariesShown(data).startsWith(QStringLiteral("Group 1 (x): N = 2")));
            QVERIFY(!problem->isVisible());
        }));
    }

    // The question before a fill names each box's old and new number and a
    // change of design, on lines a message box can wrap.
    void theFillQuestionSaysWhatChanges_data() {
        QTest::addColumn<bool>("matchedBefore");
        QTest::addColumn<QString>("sd1Before");
        QTest::addColumn<int>("layout");
        QTest::addColumn<QStringList>("says");
        const QString longDecimal = QStringLiteral("1") + QString(308, u'0');
        QTest::newRow("independent to matched")
            << false << QStringLiteral("3") << 1
            << QStringList{QStringLiteral("Group 1 SD: 3 becomes 2.5166115"),
                           QStringLiteral("switches from independent to matched samples")};
        QTest::newRow("matched to independent")
            << true << QStringLiteral("3") << 0
            << QStringList{QStringLiteral("Group 1 SD: 3 becomes 2.5166115"),
                           QStringLiteral("switches from matched to independent samples")};
        QTest::newRow("same design, no switch named")
            << false << QStringLiteral("3") << 0
            << QStringList{QStringLiteral("Group 1 SD: 3 becomes")};
        QTest::newRow("a 309-digit decimal")
            << false << longDecimal << 0 << QStringList{QStringLiteral("Group 1 SD: 1000")};
    }

    void theFillQuestionSaysWhatChanges() {
        QFETCH(bool, matchedBefore);
        QFETCH(QString, sd1Before);
        QFETCH(int, layout);
        QFETCH(QStringList, says);
        testing::Recorder recorder;
        Answers answers;
        auto window = calculator(recorder, answers);
        if (matchedBefore) control<QRadioButton>(*window, "opMatched").click();
        box(*window, "TxtSD1").setText(sd1Before);
        QVERIFY(inDataWindow(*window, [&](QWidget& data) {
            pasteAndFill(data, QStringLiteral("1,2\n3,5\n6,9\n"), layout);
        }));
        QCOMPARE(answers.questions.size(), 1);
        const QString question = answers.questions[0];
        for (const QString& part : says)
            QVERIFY2(question.contains(part), qPrintable(question));
        if (says.size() == 1) QVERIFY(!question.contains(QStringLiteral("switches")));
        QVERIFY2(QString(question).remove(QChar(0x200B)).contains(sd1Before), qPrintable(question));
        static const QRegularExpression breaks(QStringLiteral("[\\s\\x{200B}]"));
        for (const QString& run : question.split(breaks))
            QVERIFY2(run.size() <= 40, qPrintable(run));
    }

    // The layout and its grey example start from the calculator's design.
    void startsFromTheCalculatorsDesign_data() {
        QTest::addColumn<bool>("matched");
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("example");
        QTest::newRow("independent")
            << false << QStringLiteral("Independent: two columns side by side")
            << QStringLiteral("control\ttreated\n");
        QTest::newRow("matched") << true << QStringLiteral("Matched: two columns paired by row")
                                 << QStringLiteral("before\tafter\n");
    }

    void startsFromTheCalculatorsDesign() {
        QFETCH(bool, matched);
        QFETCH(QString, layout);
        QFETCH(QString, example);
        testing::Recorder recorder;
        Answers answers;
        auto window = calculator(recorder, answers);
        // Opened once in the other design, with nothing pasted: it follows.
        if (!matched) control<QRadioButton>(*window, "opMatched").click();
        QVERIFY(inDataWindow(*window, [](QWidget&) {}));
        control<QRadioButton>(*window, matched ? "opMatched" : "opIndependent").click();
        QVERIFY(inDataWindow(*window, [&](QWidget& data) {
            QCOMPARE(named<QComboBox>(data, QStringLiteral("Layout"))->currentText(), layout);
            QVERIFY(named<QPlainTextEdit>(data, QStringLiteral("Pasted scores"))
                        ->placeholderText()
                        .startsWith(example));
        }));
    }

    // A long paste is read once typing pauses, with a word that it is being
    // read and no Fill until it is.
    void aLongPasteIsReadAfterAPause() {
        testing::Recorder recorder;
        Answers answers;
        auto window = calculator(recorder, answers);
        QVERIFY(inDataWindow(*window, [&](QWidget& data) {
            auto* pasted = named<QPlainTextEdit>(data, QStringLiteral("Pasted scores"));
            auto* fill = named<QPushButton>(data, QStringLiteral("Fill the boxes"));
            pasted->setPlainText(scoresText(200000));
            QCOMPARE(summariesShown(data), QStringLiteral("Reading the scores…"));
            QVERIFY(!fill->isEnabled());
            QTRY_VERIFY_WITH_TIMEOUT(
                summariesShown(data).startsWith(QStringLiteral("Group 1 (a): N = 200000")), 20000);
            QVERIFY(fill->isEnabled());
            // A keystroke does not read the text again at once.
            pasted->moveCursor(QTextCursor::End);
            QTest::keyClicks(pasted, QStringLiteral("1,1"));
            QCOMPARE(summariesShown(data), QStringLiteral("Reading the scores…"));
            QVERIFY(!fill->isEnabled());
            QTRY_VERIFY_WITH_TIMEOUT(
                summariesShown(data).startsWith(QStringLiteral("Group 1 (a): N = 200001")), 20000);
        }));
    }

    // The planning window is the calculator's child too, with design options
    // of the calculator's names, here set to the other design. The data window
    // reads and switches the calculator's own, whatever order the children are
    // searched in: raising the design frame puts it after the planning window.
    void fillsTheCalculatorNotThePlanningWindow_data() {
        QTest::addColumn<bool>("calculatorMatched");
        QTest::addColumn<QString>("scores");
        QTest::addColumn<int>("layout");
        QTest::addColumn<BoxTexts>("expected");
        QTest::newRow("independent calculator, matched scores")
            << false << QStringLiteral("1,2\n3,5\n4,4\n6,9\n") << 1
            << BoxTexts{{"TxtMean1", "3.5"},     {"TxtN1", "4"},
                        {"TxtMean2", "5"},       {"TxtN2", "4"},
                        {"TxtMeanDiff", "-1.5"}, {"TxtSDMatched", "1.2909944487358056"}};
        QTest::newRow("matched calculator, independent scores")
            << true << QStringLiteral("10,7\n12,9\n14,NA\n,11\n,13\n") << 0
            << BoxTexts{{"TxtMean1", "12"}, {"TxtN1", "3"}, {"TxtMean2", "10"}, {"TxtN2", "4"}};
    }

    void fillsTheCalculatorNotThePlanningWindow() {
        QFETCH(bool, calculatorMatched);
        QFETCH(QString, scores);
        QFETCH(int, layout);
        QFETCH(BoxTexts, expected);
        testing::Recorder recorder;
        Answers answers;
        auto window = calculator(recorder, answers);
        if (calculatorMatched) control<QRadioButton>(*window, "opMatched").click();
        QTest::mouseClick(&control<QPushButton>(*window, "cmdPlan"), Qt::LeftButton);
        auto* plan = window->findChild<frmPlan*>();
        QVERIFY(plan != nullptr && plan->isVisible());
        control<QRadioButton>(*plan, calculatorMatched ? "opIndependent" : "opMatched").click();
        control<QGroupBox>(*window, "Frame2").raise();
        const QString planned = QStringLiteral("Independent: two columns side by side");
        const QString calculators =
            calculatorMatched ? QStringLiteral("Matched: two columns paired by row") : planned;
        const std::vector<testing::BoxSnapshot> planBoxes = testing::snapshot(*plan);

        QString layoutShown;
        QVERIFY(inDataWindow(*window, [&](QWidget& data) {
            layoutShown = named<QComboBox>(data, QStringLiteral("Layout"))->currentText();
            pasteAndFill(data, scores, layout);
        }));
        QCOMPARE(layoutShown, calculators);
        QVERIFY(answers.questions.isEmpty());
        QVERIFY(recorder.messages.empty());
        for (const auto& [name, text] : expected)
            QCOMPARE(box(*window, qPrintable(name)).text(), text);
        QCOMPARE(control<QRadioButton>(*window, "opMatched").isChecked(), !calculatorMatched);
        QCOMPARE(control<QRadioButton>(*window, "opIndependent").isChecked(), calculatorMatched);
        QCOMPARE(box(*window, "TxtSDMatched").isEnabled(), !calculatorMatched);
        // The planning window keeps its own design and boxes.
        QCOMPARE(control<QRadioButton>(*plan, "opMatched").isChecked(), !calculatorMatched);
        QVERIFY(testing::snapshot(*plan) == planBoxes);
    }

    // Start again empties the calculator's boxes only: the data window and the
    // planning window are its children, and keep what was typed in them.
    void startAgainLeavesTheOtherWindowsBoxes() {
        testing::Recorder recorder;
        Answers answers;
        auto window = calculator(recorder, answers);
        box(*window, "TxtMean1").setText(QStringLiteral("10"));
        QVERIFY(inDataWindow(*window, [&](QWidget& data) {
            named<QLineEdit>(data, QStringLiteral("Correlation r"))->setText(QStringLiteral("0.5"));
        }));
        QTest::mouseClick(&control<QPushButton>(*window, "cmdPlan"), Qt::LeftButton);
        auto* plan = window->findChild<frmPlan*>();
        QVERIFY(plan != nullptr);
        const std::vector<testing::BoxSnapshot> planBoxes = testing::snapshot(*plan);
        QTest::mouseClick(&control<QPushButton>(*window, "cmdNew"), Qt::LeftButton);
        QVERIFY(box(*window, "TxtMean1").text().isEmpty());
        QVERIFY(testing::snapshot(*plan) == planBoxes);
        QVERIFY(inDataWindow(*window, [&](QWidget& data) {
            QCOMPARE(named<QLineEdit>(data, QStringLiteral("Correlation r"))->text(),
                     QStringLiteral("0.5"));
            QCOMPARE(named<QLineEdit>(data, QStringLiteral("Group 1 mean"))->text(),
                     QStringLiteral("10"));
        }));
    }

    void fillsAMatchedDesignFromACorrelation() {
        testing::Recorder recorder;
        Answers answers;
        auto window = calculator(recorder, answers);
        // What the calculator holds already is taken; r is all that is added.
        const BoxTexts typed = {{"TxtMean1", "10"}, {"TxtSD1", "2.5"},  {"TxtN1", "20"},
                                {"TxtMean2", "9"},  {"TxtSD2", "3.75"}, {"TxtN2", "20"}};
        for (const auto& [name, text] : typed)
            box(*window, qPrintable(name)).setText(text);
        QString rangeError;
        QVERIFY(inDataWindow(*window, [&](QWidget& data) {
            named<QTabWidget>(data, QStringLiteral("Source of the summaries"))->setCurrentIndex(1);
            auto* r = named<QLineEdit>(data, QStringLiteral("Correlation r"));
            auto* fill = named<QPushButton>(data, QStringLiteral("Fill the boxes"));
            r->setText(QStringLiteral("1.5"));
            rangeError =
                named<QLabel>(data, QStringLiteral("Problem with the correlation inputs"))->text();
            QVERIFY(!fill->isEnabled());
            r->setText(QStringLiteral("0.5"));
            QVERIFY(fill->isEnabled());
            // A valid r made invalid takes the answer away again.
            r->setText(QStringLiteral("-2"));
            QVERIFY(!fill->isEnabled());
            r->setText(QStringLiteral("0.5"));
            QTest::mouseClick(fill, Qt::LeftButton);
        }));
        QVERIFY2(rangeError.contains(QStringLiteral("between -1 and 1")), qPrintable(rangeError));
        QVERIFY(answers.questions.isEmpty());
        QCOMPARE(box(*window, "TxtMeanDiff").text(), QStringLiteral("1"));
        // sqrt(2.5^2 + 3.75^2 - 2 * 0.5 * 2.5 * 3.75) = sqrt(10.9375)
        QCOMPARE(box(*window, "TxtSDMatched").text(), QStringLiteral("3.307189138830738"));
        QVERIFY(control<QRadioButton>(*window, "opMatched").isChecked());
        QVERIFY(box(*window, "TxtSDMatched").isEnabled());
        for (const auto& [name, text] : typed)
            QCOMPARE(box(*window, qPrintable(name)).text(), text);
    }
};

}  // namespace
}  // namespace tarnwick

QTEST_MAIN(tarnwick::DataWindowTest)
#include "data_window_test.moc"
