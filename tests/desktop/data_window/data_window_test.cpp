// The data window, driven as a user of a screen reader would: controls found
// by their accessible names, scores pasted, "Fill the boxes" pressed. The
// filled boxes must give the same run as the same summaries typed by hand,
// through the boxes' keystroke filters.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "box_names.h"
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
        QVERIFY2(answers.questions[0].contains(QStringLiteral("Group 1 Mean (5)")),
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
        QTest::newRow("a word") << QStringLiteral("1,2\n3,abc\n5,6\n")
                                << QStringLiteral("Problem with the scores")
                                << QStringLiteral(
                                       "Row 2, column 2 (\"Column 2\"): \"abc\" is not a number")
                                << 1;
        QTest::newRow("a letter after a decimal comma")
            << QStringLiteral("1;2\n3;4\n12,5x;6\n") << QStringLiteral("Problem with the scores")
            << QStringLiteral("Row 3, column 1 (\"Column 1\"): \"12,5x\"") << 2;
        QTest::newRow("an unclosed quote")
            << QStringLiteral("1,2\n\"3,4\n5,6\n") << QStringLiteral("Problem with the scores")
            << QStringLiteral("Row 2: a quoted field is not closed") << 1;
        QTest::newRow("one score")
            << QStringLiteral("1,2\n,4\n") << QStringLiteral("Problem with the choices")
            << QStringLiteral("has 1 score") << -1;
    }

    void errorsShowBesideTheirCause() {
        QFETCH(QString, scores);
        QFETCH(QString, label);
        QFETCH(QString, says);
        QFETCH(int, shadedLine);
        testing::Recorder recorder;
        Answers answers;
        auto window = calculator(recorder, answers);
        QVERIFY(inDataWindow(*window, [&](QWidget& data) {
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
