// The scores report, driven as a user of a screen reader would: scores
// pasted in the data window, "Analyse the scores..." pressed, the settings
// row typed into, every control found by its accessible name. What it shows
// must be the engine's own analyses of the same scores; its picture is read
// exactly from a recording paint device.

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <cmath>

#include "announcer.h"
#include "figure_style.h"
#include "frmScores.h"
#include "normal_theory_analysis.h"
#include "recording_device.h"
#include "report_text_view.h"
#include "report_words.h"
#include "scores_figure.h"
#include "settled_announcer.h"
#include "ui_test_support.h"

namespace tarnwick {
namespace {

using score_analysis::Hypothesis;
using testing::box;
using testing::control;
using testing_support::Painted;
using testing_support::RecordingDevice;

template <typename Widget>
Widget* named(QWidget& root, const QString& accessibleName) {
    for (Widget* widget : root.findChildren<Widget*>())
        if (widget->accessibleName() == accessibleName) return widget;
    return nullptr;
}

// Side by side, 12 and 10 scores, one far out in the second group.
const QString sideBySide = QStringLiteral(
    "control,treated\n10.1,10.6\n11.4,11.0\n9.8,10.2\n12.2,11.9\n10.9,12.4\n11.7,10.8\n"
    "10.3,11.3\n12.8,9.9\n11.1,10.4\n10.6,17.5\n11.9,\n10.0,\n");
const std::vector<double> control1 = {10.1, 11.4, 9.8,  12.2, 10.9, 11.7,
                                      10.3, 12.8, 11.1, 10.6, 11.9, 10.0};
const std::vector<double> treated = {10.6, 11.0, 10.2, 11.9, 12.4, 10.8, 11.3, 9.9, 10.4, 17.5};
// The same as a group column and a score column, the groups interleaved.
const QString longFormat =
    QStringLiteral("group;score\nB;10,6\nA;10,1\nA;11,4\nB;11,0\nA;9,8\nB;10,2\nA;12,2\nB;11,9\n");
// Matched pairs, one incomplete.
const QString pairs = QStringLiteral(
    "before\tafter\n12.5\t13.1\n11.9\t12.4\n14.2\tNA\n13.0\t13.8\n12.2\t12.9\n13.6\t14.0\n"
    "12.8\t13.1\n");

struct Calculator {
    testing::Recorder recorder;
    std::unique_ptr<frmBrevant> window;
    Calculator() {
        Platform platform = recorder.platform();
        platform.data.scoresReport.chooseSaveFile = [this](QWidget*, const QString&, const QString&,
                                                           QString* filter) {
            *filter = QString();
            ++asked;
            return savePath;
        };
        platform.data.scoresReport.showMessage = [this](QWidget*, const QString& prompt,
                                                        MessageIcon,
                                                        const QString&) { messages << prompt; };
        window = std::make_unique<frmBrevant>(platform);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    QString savePath;
    QStringList messages;
    int asked = 0;
};

// Opens the data window, pastes the scores, chooses the layout, and lets
// `use` work in it.
bool inDataWindow(Calculator& calculator, const QString& scores, int layout,
                  const std::function<void(QWidget&)>& use) {
    return testing::whileModal(
        [&] {
            QTest::mouseClick(&control<QPushButton>(*calculator.window, "cmdData"), Qt::LeftButton);
        },
        [&](QWidget& data) {
            // The data window's own activation, still queued, would otherwise
            // take the focus back from a report opened at once.
            QVERIFY(QTest::qWaitForWindowActive(&data));
            named<QPlainTextEdit>(data, QStringLiteral("Pasted scores"))->setPlainText(scores);
            named<QComboBox>(data, QStringLiteral("Layout"))->setCurrentIndex(layout);
            use(data);
        });
}

// Presses "Analyse the scores..." and lets `use` work in the scores report
// once its analyses are shown.
bool inScoresWindow(QWidget& data, const std::function<void(frmScores&)>& use) {
    auto* analyse = named<QPushButton>(data, QStringLiteral("Analyse the scores..."));
    if (analyse == nullptr || !analyse->isEnabled()) return false;
    return testing::whileModal([&] { QTest::mouseClick(analyse, Qt::LeftButton); },
                               [&](QWidget& modal) {
                                   auto* scores = qobject_cast<frmScores*>(&modal);
                                   QVERIFY(scores != nullptr);
                                   // Keys go to the active window: on a loaded
                                   // machine the data window can keep the focus
                                   // a while after the report is shown.
                                   QVERIFY(QTest::qWaitForWindowActive(scores));
                                   QTRY_VERIFY_WITH_TIMEOUT(!scores->busy(), 20000);
                                   use(*scores);
                               });
}

// The two groups as the data window hands them over, the bounds filled
// with the calculator's non-trivial difference of 1.
ScoresInput filledFromTheCalculator() {
    ScoresInput input;
    input.group1 = control1;
    input.group2 = treated;
    input.filledLower = QStringLiteral("-1");
    input.filledUpper = QStringLiteral("1");
    return input;
}

void retype(QWidget& window, const QString& name, const QString& text) {
    auto* field = named<QLineEdit>(window, name);
    QVERIFY2(field != nullptr, qPrintable(name));
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

QString engineText(const std::vector<double>& x, const std::vector<double>& y, bool matched,
                   score_analysis::ScoreSettings settings, const std::string& label1,
                   const std::string& label2) {
    score_report::ScoreAnswers answers = score_report::analyseScores(x, y, matched, settings);
    answers.label1 = label1;
    answers.label2 = label2;
    return QString::fromStdString(score_report::scoreReportText(answers));
}

// 10,000 scores a group and far more replicates than anyone waits for: a
// run that lasts minutes unless it is stopped.
ScoresInput manyScores() {
    ScoresInput input;
    for (int i = 0; i < 10000; ++i) {
        input.group1.push_back(std::sin(i * 0.7) * 3 + (i % 11) * 0.1);
        input.group2.push_back(std::cos(i * 0.3) * 3 + (i % 7) * 0.1);
    }
    input.filledLower = QStringLiteral("-1");
    input.filledUpper = QStringLiteral("1");
    return input;
}
const score_analysis::BootstrapSettings endlessBootstrap{5'000'000, 1};

int runningAnalyses() { return QThreadPool::globalInstance()->activeThreadCount(); }

class ScoresWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testing::prepareApplication(); }

    // Each layout reaches the report with its own scores, names and design,
    // analysed exactly as the engine analyses them.
    void opensWithTheScoresAndLayoutChosen_data() {
        QTest::addColumn<QString>("scores");
        QTest::addColumn<int>("layout");
        QTest::addColumn<bool>("matched");
        QTest::addColumn<QString>("label1");
        QTest::addColumn<QString>("label2");
        QTest::addColumn<std::vector<double>>("x");
        QTest::addColumn<std::vector<double>>("y");
        QTest::newRow("side by side, unequal sizes") << sideBySide << 0 << false << "control"
                                                     << "treated" << control1 << treated;
        QTest::newRow("matched, incomplete pair dropped")
            << pairs << 1 << true << "before"
            << "after" << std::vector<double>{12.5, 11.9, 13.0, 12.2, 13.6, 12.8}
            << std::vector<double>{13.1, 12.4, 13.8, 12.9, 14.0, 13.1};
        QTest::newRow("group column, decimal commas")
            << longFormat << 2 << false << "B"
            << "A" << std::vector<double>{10.6, 11.0, 10.2, 11.9}
            << std::vector<double>{10.1, 11.4, 9.8, 12.2};
    }
    void opensWithTheScoresAndLayoutChosen() {
        QFETCH(QString, scores);
        QFETCH(int, layout);
        QFETCH(bool, matched);
        QFETCH(QString, label1);
        QFETCH(QString, label2);
        QFETCH(std::vector<double>, x);
        QFETCH(std::vector<double>, y);
        Calculator calculator;
        box(*calculator.window, "TxtNotTrivial").setText(QStringLiteral("1.5"));
        bool shown = false;
        QVERIFY(inDataWindow(calculator, scores, layout, [&](QWidget& data) {
            shown = inScoresWindow(data, [&](frmScores& w) {
                QVERIFY(w.shownAnswers().has_value());
                QCOMPARE(w.shownAnswers()->matched, matched);
                // The bounds start as the calculator's, -delta and +delta.
                QCOMPARE(named<QLineEdit>(w, QStringLiteral("Lower bound"))->text(),
                         QStringLiteral("-1.5"));
                QCOMPARE(named<QLineEdit>(w, QStringLiteral("Upper bound"))->text(),
                         QStringLiteral("1.5"));
                const QString expected = engineText(x, y, matched, {0.05, -1.5, 1.5},
                                                    label1.toStdString(), label2.toStdString());
                const QString text =
                    named<report::ReportTextView>(w, QStringLiteral("Scores report text"))
                        ->report();
                QCOMPARE(text, expected);
                for (const char* analysis :
                     {"Normal theory. ", "Rank-based. ", "Trimmed means. ", "Bootstrap-t. "})
                    QVERIFY2(text.contains(QLatin1String(analysis)), analysis);
                QVERIFY(
                    named<QLabel>(w, QStringLiteral("Scores analysed"))->text().contains(label1));
            });
        }));
        QVERIFY(shown);
    }

    // The button answers only where there are scores the analyses can use.
    void analyseButtonOnlyForScoresThatCanBeAnalysed_data() {
        QTest::addColumn<QString>("scores");
        QTest::addColumn<int>("layout");
        QTest::addColumn<bool>("correlationPage");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("scores") << sideBySide << 0 << false << true;
        QTest::newRow("nothing pasted") << QString() << 0 << false << false;
        QTest::newRow("one score in a group")
            << QStringLiteral("a,b\n1,2\n3,\n") << 0 << false << false;
        QTest::newRow("a cell not a number")
            << QStringLiteral("a,b\n1,2\n3,x\n4,5\n") << 0 << false << false;
        QTest::newRow("every score equal")
            << QStringLiteral("a,b\n2,2\n2,2\n2,2\n") << 0 << false << false;
        QTest::newRow("one group varies")
            << QStringLiteral("a,b\n2,1\n2,2\n2,3\n") << 0 << false << true;
        QTest::newRow("matched, differences all equal")
            << QStringLiteral("a,b\n1,2\n5,6\n9,10\n") << 1 << false << false;
        QTest::newRow("on the correlation page") << sideBySide << 0 << true << false;
    }
    void analyseButtonOnlyForScoresThatCanBeAnalysed() {
        QFETCH(QString, scores);
        QFETCH(int, layout);
        QFETCH(bool, correlationPage);
        QFETCH(bool, enabled);
        Calculator calculator;
        QVERIFY(inDataWindow(calculator, scores, layout, [&](QWidget& data) {
            if (correlationPage) control<QTabWidget>(data, "tabs").setCurrentIndex(1);
            auto* analyse = named<QPushButton>(data, QStringLiteral("Analyse the scores..."));
            QVERIFY(analyse != nullptr);
            QCOMPARE(analyse->isEnabled(), enabled);
        }));
    }

    // Every setting of the row reaches the analyses; one that cannot be used
    // gets its sentence and no number.
    void settingsRowAsksTheQuestion_data() {
        QTest::addColumn<QString>("alpha");
        QTest::addColumn<QString>("lower");
        QTest::addColumn<QString>("upper");
        QTest::addColumn<bool>("minimalEffect");
        QTest::addColumn<QString>("problem");  // empty: answered
        QTest::newRow("alpha .025, asymmetric bounds") << "0.025"
                                                       << "-0.5"
                                                       << "2" << false << QString();
        QTest::newRow("minimal-effect test") << "0.05"
                                             << "-0.25"
                                             << "0.25" << true << QString();
        QTest::newRow("bounds on one side of zero") << "0.1"
                                                    << "0.2"
                                                    << "0.9" << false << QString();
        QTest::newRow("alpha not a number")
            << "five"
            << "-1"
            << "1" << false << "Alpha must be a number such as 0.05, not \"five\".";
        QTest::newRow("a bound missing")
            << "0.05"
            << ""
            << "1" << false << "Type both bounds, as numbers such as -0.5 and 0.5.";
        QTest::newRow("alpha beyond 0.5") << "0.6"
                                          << "-1"
                                          << "1" << false << "Alpha must";
        QTest::newRow("bounds reversed") << "0.05"
                                         << "1"
                                         << "-1" << false << "lower";
    }
    void settingsRowAsksTheQuestion() {
        QFETCH(QString, alpha);
        QFETCH(QString, lower);
        QFETCH(QString, upper);
        QFETCH(bool, minimalEffect);
        QFETCH(QString, problem);
        Calculator calculator;
        bool shown = false;
        QVERIFY(inDataWindow(calculator, sideBySide, 0, [&](QWidget& data) {
            shown = inScoresWindow(data, [&](frmScores& w) {
                // Raw scores have raw bounds and no pooled standard error.
                QVERIFY(named<QCheckBox>(w, QStringLiteral("Bounds in SD units"))->isHidden());
                QVERIFY(named<QCheckBox>(w, QStringLiteral("Welch's standard error"))->isHidden());
                retype(w, QStringLiteral("Alpha"), alpha);
                retype(w, QStringLiteral("Lower bound"), lower);
                retype(w, QStringLiteral("Upper bound"), upper);
                if (minimalEffect)
                    named<QComboBox>(w, QStringLiteral("Hypothesis"))->setCurrentIndex(1);
                QVERIFY(w.busy());
                QTRY_VERIFY_WITH_TIMEOUT(!w.busy(), 20000);
                const QString text =
                    named<report::ReportTextView>(w, QStringLiteral("Scores report text"))
                        ->report();
                auto* copy = named<QPushButton>(w, QStringLiteral("Copy text"));
                if (!problem.isEmpty()) {
                    QVERIFY(!w.shownAnswers().has_value());
                    QVERIFY2(text.contains(problem), qPrintable(text));
                    QVERIFY2(named<QLabel>(w, QStringLiteral("Status"))->text().contains(problem),
                             qPrintable(named<QLabel>(w, QStringLiteral("Status"))->text()));
                    QVERIFY(!copy->isEnabled());
                    return;
                }
                QCOMPARE(text, engineText(control1, treated, false,
                                          {alpha.toDouble(), lower.toDouble(), upper.toDouble(),
                                           minimalEffect ? Hypothesis::minimalEffect
                                                         : Hypothesis::equivalence},
                                          "control", "treated"));
                QVERIFY(copy->isEnabled());
                QTest::mouseClick(copy, Qt::LeftButton);
                QCOMPARE(QApplication::clipboard()->text(), w.text());
            });
        }));
        QVERIFY(shown);
    }

    // On the ratio scale the report is the engine's analysis of the ratio,
    // blank bounds being 0.80 and 1.25; a score with no log gets the
    // engine's sentence; back on the difference the report is as before.
    void ratioScaleAnalysesTheRatio_data() {
        QTest::addColumn<QString>("scores");
        QTest::addColumn<std::vector<double>>("x");
        QTest::addColumn<std::vector<double>>("y");
        QTest::addColumn<bool>("answered");
        QTest::newRow("positive scores") << sideBySide << control1 << treated << true;
        QTest::newRow("a score of zero")
            << QStringLiteral("a,b\n0,10.6\n11.4,11.0\n9.8,10.2\n12.2,11.9\n")
            << std::vector<double>{0, 11.4, 9.8, 12.2}
            << std::vector<double>{10.6, 11.0, 10.2, 11.9} << false;
        QTest::newRow("a negative score")
            << QStringLiteral("a,b\n10.1,10.6\n11.4,-1\n9.8,10.2\n12.2,11.9\n")
            << std::vector<double>{10.1, 11.4, 9.8, 12.2}
            << std::vector<double>{10.6, -1, 10.2, 11.9} << false;
    }
    void ratioScaleAnalysesTheRatio() {
        QFETCH(QString, scores);
        QFETCH(std::vector<double>, x);
        QFETCH(std::vector<double>, y);
        QFETCH(bool, answered);
        Calculator calculator;
        bool shown = false;
        QVERIFY(inDataWindow(calculator, scores, 0, [&](QWidget& data) {
            shown = inScoresWindow(data, [&](frmScores& w) {
                auto* view = named<report::ReportTextView>(w, QStringLiteral("Scores report text"));
                retype(w, QStringLiteral("Lower bound"), QStringLiteral("-1"));
                retype(w, QStringLiteral("Upper bound"), QStringLiteral("1"));
                QTRY_VERIFY_WITH_TIMEOUT(!w.busy(), 20000);
                const QString onDifference = view->report();
                auto* scale = named<QComboBox>(w, QStringLiteral("Scale"));
                scale->setCurrentIndex(scale->findText(QStringLiteral("Ratio")));
                QTRY_VERIFY_WITH_TIMEOUT(!w.busy(), 20000);
                const QString text = view->report();
                const std::string label1 = x == control1 ? "control" : "a";
                const std::string label2 = x == control1 ? "treated" : "b";
                QCOMPARE(text, engineText(x, y, false,
                                          {0.05, 0.8, 1.25, Hypothesis::equivalence,
                                           settings::Scale::ratio},
                                          label1, label2));
                QVERIFY2(!text.contains(QLatin1String("not in this window")), qPrintable(text));
                QVERIFY2(text.contains(QLatin1String("ratio")), qPrintable(text));
                QCOMPARE(w.shownAnswers().has_value(), true);
                QCOMPARE(w.shownAnswers()->outcomes[0].result.has_value(), answered);
                scale->setCurrentIndex(scale->findText(QStringLiteral("Difference")));
                QTRY_VERIFY_WITH_TIMEOUT(!w.busy(), 20000);
                QCOMPARE(view->report(), onDifference);
                QCOMPARE(named<QLineEdit>(w, QStringLiteral("Lower bound"))->text(),
                         QStringLiteral("-1"));
            });
        }));
        QVERIFY(shown);
    }

    // Without a non-trivial difference in the calculator the bounds start
    // empty: the report asks for them, and offers nothing to copy or save.
    void withoutBoundsAsksForThem() {
        Calculator calculator;
        QVERIFY(inDataWindow(calculator, sideBySide, 0, [&](QWidget& data) {
            QVERIFY(inScoresWindow(data, [&](frmScores& w) {
                QVERIFY(!w.shownAnswers().has_value());
                QCOMPARE(named<QLabel>(w, QStringLiteral("Status"))->text(),
                         QStringLiteral("Type both bounds, as numbers such as -0.5 and 0.5."));
                for (const char* command : {"Copy text", "Copy plot", "Save"})
                    QVERIFY2(!named<QPushButton>(w, QLatin1String(command))->isEnabled(), command);
                // What is typed wrong is said in a sentence of its own.
                named<QLineEdit>(w, QStringLiteral("Lower bound"))->setText(QStringLiteral("-"));
                named<QLineEdit>(w, QStringLiteral("Upper bound"))->setText(QStringLiteral("1"));
                QTRY_COMPARE(
                    named<QLabel>(w, QStringLiteral("Status"))->text(),
                    QStringLiteral("The lower bound must be a number such as -0.5, not \"-\"."));
                named<QLineEdit>(w, QStringLiteral("Lower bound"))->setText(QStringLiteral("-1"));
                named<QLineEdit>(w, QStringLiteral("Alpha"))->setText(QStringLiteral("a"));
                QTRY_COMPARE(named<QLabel>(w, QStringLiteral("Status"))->text(),
                             QStringLiteral("Alpha must be a number such as 0.05, not \"a\"."));
            }));
        }));
    }

    // Closed and opened again, the report asks the question it was last asked.
    void settingsStayWhileTheProgramRuns() {
        Calculator calculator;
        box(*calculator.window, "TxtNotTrivial").setText(QStringLiteral("1"));
        QVERIFY(inDataWindow(calculator, sideBySide, 0, [&](QWidget& data) {
            QVERIFY(inScoresWindow(data, [&](frmScores& w) {
                retype(w, QStringLiteral("Alpha"), QStringLiteral("0.01"));
                named<QComboBox>(w, QStringLiteral("Hypothesis"))->setCurrentIndex(1);
            }));
            QVERIFY(inScoresWindow(data, [&](frmScores& w) {
                QCOMPARE(named<QLineEdit>(w, QStringLiteral("Alpha"))->text(),
                         QStringLiteral("0.01"));
                QCOMPARE(named<QComboBox>(w, QStringLiteral("Hypothesis"))->currentIndex(), 1);
                QCOMPARE(w.shownAnswers()->settings.alpha, 0.01);
                QCOMPARE(w.shownAnswers()->settings.hypothesis, Hypothesis::minimalEffect);
                // Bounds never typed follow the calculator's.
                QCOMPARE(w.shownAnswers()->settings.upper, 1.0);
            }));
        }));
    }

    // The keyboard alone: Tab walks the row, the text and the commands in
    // reading order; Esc closes the report and leaves the data window open.
    void keyboardTabOrderAndEscape() {
        Calculator calculator;
        box(*calculator.window, "TxtNotTrivial").setText(QStringLiteral("0.5"));
        QVERIFY(inDataWindow(calculator, sideBySide, 0, [&](QWidget& data) {
            QVERIFY(inScoresWindow(data, [&](frmScores& w) {
                // The methods line is a stop a link, one an analysis.
                const QStringList order = {"Alpha",
                                           "Lower bound",
                                           "Upper bound",
                                           "Hypothesis",
                                           "Scores report text",
                                           "The methods in the help",
                                           "The methods in the help",
                                           "The methods in the help",
                                           "The methods in the help",
                                           "Copy text",
                                           "Copy plot",
                                           "Save",
                                           "Help",
                                           "Close"};
                auto* alpha = named<QLineEdit>(w, QStringLiteral("Alpha"));
                alpha->setFocus();
                QTRY_COMPARE(QApplication::focusWidget(), alpha);
                for (const QString& name : order) {
                    QCOMPARE(QApplication::focusWidget()->accessibleName(), name);
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                }
                for (QWidget* widget : w.findChildren<QWidget*>())
                    if (widget->isVisibleTo(&w) && widget->focusPolicy() != Qt::NoFocus)
                        QVERIFY2(!widget->accessibleName().isEmpty(),
                                 qPrintable(widget->objectName()));
                QTest::keyClick(&w, Qt::Key_Escape);
                QVERIFY(!w.isVisible());
            }));
            QVERIFY(data.isVisible());
        }));
    }

    // Every access key of the report, Cancel's too while it is hidden, is
    // its control's alone.
    void everyAccessKeyOnce() {
        frmScores w(ScoresInput{});
        const QMultiMap<QChar, QString> keys = testing::accessKeys(w);
        QVERIFY(keys.size() >= 9);
        for (const QChar key : keys.uniqueKeys())
            QVERIFY2(keys.count(key) == 1, qPrintable(QStringList(keys.values(key)).join(" / ")));
    }

    // Each format is written whole; a text file holds the text as shown.
    void savesEachFormat_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("starts");
        QTest::newRow("pdf") << "scores.pdf" << QByteArray("%PDF");
        QTest::newRow("png") << "scores.png" << QByteArray("\x89PNG");
        QTest::newRow("svg") << "scores.svg" << QByteArray("<?xml");
        QTest::newRow("text") << "scores.txt" << QByteArray("Scores: control");
    }
    void savesEachFormat() {
        QFETCH(QString, file);
        QFETCH(QByteArray, starts);
        QTemporaryDir folder;
        Calculator calculator;
        box(*calculator.window, "TxtNotTrivial").setText(QStringLiteral("2"));
        calculator.savePath = folder.filePath(file);
        QVERIFY(inDataWindow(calculator, sideBySide, 0, [&](QWidget& data) {
            QVERIFY(inScoresWindow(data, [&](frmScores& w) {
                auto* save = named<QPushButton>(w, QStringLiteral("Save"));
                QVERIFY(save->isEnabled());
                QTest::mouseClick(save, Qt::LeftButton);
                QVERIFY(calculator.asked > 0);
                QFile saved(calculator.savePath);
                QVERIFY2(saved.open(QIODevice::ReadOnly),
                         qPrintable(calculator.messages.join(u' ')));
                const QByteArray bytes = saved.readAll();
                QVERIFY2(bytes.startsWith(starts), bytes.left(20).constData());
                if (file.endsWith(QLatin1String(".txt")))
                    QCOMPARE(QString::fromUtf8(bytes), w.text());
            }));
        }));
        QVERIFY(calculator.messages.isEmpty());
    }

    // A one-sided question asked of the window: its margin (given, or the
    // usual one from the filled bounds), the analyses' own answers, the
    // question named in the report; a refusal in the question's words; and
    // a setting typed in the row asks the row's question again.
    void oneSidedQuestionIsAskedAndShown_data() {
        QTest::addColumn<int>("hypothesis");
        QTest::addColumn<int>("better");
        QTest::addColumn<double>("margin");  // NaN: none given
        QTest::addColumn<double>("asked");   // the margin asked; NaN: refused
        QTest::addColumn<QString>("says");   // in the report, or the refusal
        const double none = std::nan("");
        QTest::newRow("non-inferiority, usual margin")
            << int(Hypothesis::nonInferiority) << int(settings::Better::higher) << none << -1.0
            << QStringLiteral("Non-inferiority test of the difference");
        QTest::newRow("non-superiority, lower better, margin given")
            << int(Hypothesis::nonSuperiority) << int(settings::Better::lower) << -0.5 << -0.5
            << QStringLiteral("against the margin -0.50, lower differences better");
        QTest::newRow("margin on the wrong side")
            << int(Hypothesis::nonInferiority) << int(settings::Better::higher) << 0.5 << none
            << QStringLiteral("did you mean -0.5, or superiority by 0.5?");
    }
    void oneSidedQuestionIsAskedAndShown() {
        QFETCH(int, hypothesis);
        QFETCH(int, better);
        QFETCH(double, margin);
        QFETCH(double, asked);
        QFETCH(QString, says);
        frmScores w(filledFromTheCalculator());
        QTRY_VERIFY(!w.busy());
        settings::TestSettings question;
        question.alpha = 0.025;
        question.hypothesis = static_cast<Hypothesis>(hypothesis);
        question.better = static_cast<settings::Better>(better);
        if (!std::isnan(margin)) question.margin = margin;
        w.askQuestion(question);
        QTRY_VERIFY(!w.busy());
        if (std::isnan(asked)) {
            QVERIFY(!w.shownAnswers());
            QVERIFY2(named<QLabel>(w, QStringLiteral("Status"))->text().contains(says),
                     qPrintable(named<QLabel>(w, QStringLiteral("Status"))->text()));
            return;
        }
        QVERIFY(w.shownAnswers());
        const score_analysis::ScoreSettings& s = w.shownAnswers()->settings;
        QCOMPARE(score_analysis::marginOf(s), asked);
        QCOMPARE(s.hypothesis, question.hypothesis);
        const score_analysis::ScoreSettings want =
            score_analysis::oneSidedSettings(0.025, asked, question.hypothesis, question.better);
        const score_analysis::ScoreResult engine =
            score_analysis::normalTheoryIndependent(control1, treated, want);
        const auto& shown = *w.shownAnswers()->outcomes[0].result;
        QCOMPARE(shown.p, engine.p);
        QCOMPARE(shown.conclusion, engine.conclusion);
        QVERIFY2(w.text().contains(says), qPrintable(w.text()));
        // Typing in the row asks the row's two-sided question again.
        auto* alpha = named<QLineEdit>(w, QStringLiteral("Alpha"));
        QVERIFY(alpha);
        alpha->setFocus();
        QTest::keyClick(alpha, Qt::Key_End);
        QTest::keyClick(alpha, Qt::Key_Backspace);
        QTest::keyClicks(alpha, QStringLiteral("5"));
        QTRY_VERIFY(!w.busy() && w.shownAnswers());
        QCOMPARE(w.shownAnswers()->settings.hypothesis, Hypothesis::equivalence);
    }

    // The row's own hypothesis box asks the one-sided question: the lower
    // box is the margin (left as filled, the usual one), blank alpha .025.
    void rowAsksTheOneSidedQuestion_data() {
        QTest::addColumn<int>("index");      // in the hypothesis box
        QTest::addColumn<int>("better");     // in the better box
        QTest::addColumn<QString>("lower");  // typed into the margin's box
        QTest::addColumn<double>("asked");   // the margin asked; NaN: refused
        QTest::addColumn<QString>("says");   // in the report, or the refusal
        const double none = std::nan("");
        QTest::newRow("non-inferiority, margin as filled")
            << 2 << 0 << QStringLiteral("-1") << -1.0
            << QStringLiteral("Non-inferiority test of the difference");
        QTest::newRow("superiority, margin typed")
            << 4 << 0 << QStringLiteral("0.25") << 0.25 << QStringLiteral("Superiority");
        QTest::newRow("non-superiority, lower better, wrong side")
            << 3 << 1 << QStringLiteral("0.5") << none << QStringLiteral("did you mean");
    }
    void rowAsksTheOneSidedQuestion() {
        QFETCH(int, index);
        QFETCH(int, better);
        QFETCH(QString, lower);
        QFETCH(double, asked);
        QFETCH(QString, says);
        frmScores w(filledFromTheCalculator());
        QTRY_VERIFY(!w.busy());
        named<QComboBox>(w, QStringLiteral("Hypothesis"))->setCurrentIndex(index);
        named<QComboBox>(w, QStringLiteral("Better"))->setCurrentIndex(better);
        retype(w, QStringLiteral("Alpha"), QString());
        retype(w, QStringLiteral("Margin"), lower);
        QTRY_VERIFY_WITH_TIMEOUT(!w.busy(), 20000);
        if (std::isnan(asked)) {
            QVERIFY(!w.shownAnswers());
            QVERIFY2(named<QLabel>(w, QStringLiteral("Status"))->text().contains(says),
                     qPrintable(named<QLabel>(w, QStringLiteral("Status"))->text()));
            return;
        }
        QVERIFY(w.shownAnswers());
        const score_analysis::ScoreSettings& s = w.shownAnswers()->settings;
        constexpr Hypothesis inTheBox[] = {Hypothesis::equivalence, Hypothesis::minimalEffect,
                                           Hypothesis::nonInferiority, Hypothesis::nonSuperiority,
                                           Hypothesis::superiority};
        QCOMPARE(s.hypothesis, inTheBox[index]);
        QCOMPARE(score_analysis::marginOf(s), asked);
        QCOMPARE(s.alpha, 0.025);
        QVERIFY2(w.text().contains(says), qPrintable(w.text()));
    }

    // The bootstrap of 10,000 scores a group runs away from the window's
    // thread: its timers keep firing while the analyses run.
    void staysResponsiveOnManyScores() {
        std::vector<double> x, y;
        for (int i = 0; i < 10000; ++i) {
            x.push_back(std::sin(i * 0.7) * 3 + (i % 11) * 0.1);
            y.push_back(std::cos(i * 0.3) * 3 + (i % 7) * 0.1);
        }
        ScoresInput input;
        input.group1 = x;
        input.group2 = y;
        input.filledLower = QStringLiteral("-1");
        input.filledUpper = QStringLiteral("1");
        QElapsedTimer clock;
        clock.start();
        frmScores w(input);
        QVERIFY(w.busy());
        int ticks = 0;
        QTimer tick;
        connect(&tick, &QTimer::timeout, [&] { ++ticks; });
        tick.start(10);
        QTRY_VERIFY_WITH_TIMEOUT(!w.busy(), 60000);
        qInfo("10,000 scores a group: %lld ms, %d ticks of 10 ms meanwhile", clock.elapsed(),
              ticks);
        QVERIFY(w.shownAnswers().has_value());
        QCOMPARE(w.shownAnswers()->n1, 10000L);
        QVERIFY(ticks >= 1);
    }

    // Closed during a long bootstrap, the window goes at once and its run
    // stops soon after rather than running on unseen.
    void closesAtOnceDuringALongRun() {
        QTRY_COMPARE(runningAnalyses(), 0);
        QElapsedTimer clock;
        {
            auto w = std::make_unique<frmScores>(manyScores(), ReportPlatform{}, nullptr, nullptr,
                                                 endlessBootstrap);
            w->show();
            auto* progress = named<QProgressBar>(*w, QStringLiteral("Bootstrap progress"));
            QTRY_VERIFY_WITH_TIMEOUT(progress->isVisible() && progress->value() > 0, 20000);
            QTest::keyClick(w.get(), Qt::Key_Escape);
            QVERIFY(!w->isVisible());
            clock.start();
        }
        QVERIFY2(clock.elapsed() < 500, qPrintable(QString::number(clock.elapsed())));
        QTRY_COMPARE_WITH_TIMEOUT(runningAnalyses(), 0, 2000);
    }

    // New settings stop the run of the old ones: one run at a time, however
    // fast the typing.
    void newSettingsStopTheRunTheyReplace() {
        QTRY_COMPARE(runningAnalyses(), 0);
        frmScores w(manyScores(), ReportPlatform{}, nullptr, nullptr, endlessBootstrap);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTRY_COMPARE(runningAnalyses(), 1);
        for (const char* alpha : {"0.1", "0.04", "0.025"}) {
            retype(w, QStringLiteral("Alpha"), QString::fromLatin1(alpha));
            QTest::qWait(frmScores::pauseBeforeAnalysing + 100);
        }
        QTRY_COMPARE_WITH_TIMEOUT(runningAnalyses(), 1, 20000);
        // Still one a while later: the replaced runs do not come back. A
        // replaced run that ran on (its bootstrap here is endless) would hold
        // the count at two for good; a loaded machine may show two for a
        // moment while a replaced run winds down, so the count is waited for.
        QTest::qWait(500);
        QTRY_COMPARE_WITH_TIMEOUT(runningAnalyses(), 1, 20000);
        QVERIFY(w.busy());
    }

    // A long run shows the bootstrap's replicates as they go, and Cancel
    // stops it: nothing is shown as if it answered these settings.
    void longRunShowsProgressAndCancels() {
        QTRY_COMPARE(runningAnalyses(), 0);
        frmScores w(manyScores(), ReportPlatform{}, nullptr, nullptr, endlessBootstrap);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto* progress = named<QProgressBar>(w, QStringLiteral("Bootstrap progress"));
        auto* cancel = named<QPushButton>(w, QStringLiteral("Cancel the analyses"));
        QVERIFY(!progress->isVisible() && !cancel->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(progress->isVisible() && progress->value() > 0, 20000);
        QCOMPARE(progress->maximum(), 5'000'000);
        const int first = progress->value();
        QTRY_VERIFY(progress->value() > first);
        QVERIFY(cancel->isVisible());
        QTest::mouseClick(cancel, Qt::LeftButton);
        QVERIFY(!w.busy());
        QVERIFY(!w.shownAnswers().has_value());
        QVERIFY(!progress->isVisible() && !cancel->isVisible());
        QVERIFY(named<QLabel>(w, QStringLiteral("Status"))
                    ->text()
                    .contains(QLatin1String("cancelled")));
        QVERIFY(!named<QPushButton>(w, QStringLiteral("Copy text"))->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(runningAnalyses(), 0, 2000);
        // A setting changed runs the analyses again.
        retype(w, QStringLiteral("Alpha"), QStringLiteral("0.05"));
        QVERIFY(w.busy());
        QTRY_COMPARE(runningAnalyses(), 1);
    }

    // New answers, and the sentence why there are none, are told to a
    // screen reader once they stand, in the words the window shows; the
    // same news is not told twice.
    void announcesNewAnswersAndProblems_data() {
        QTest::addColumn<QStringList>("alphas");  // typed in turn, each left to stand
        QTest::addColumn<QList<bool>>("told");    // whether each was told
        QTest::newRow("a problem") << QStringList{"five"} << QList<bool>{true};
        QTest::newRow("new answers") << QStringList{"0.1"} << QList<bool>{true};
        QTest::newRow("a problem mended") << QStringList{"0.7", "0.1"} << QList<bool>{true, true};
        // Alpha 0.7 typed again is refused in the same words: nothing new to tell.
        QTest::newRow("the same problem twice")
            << QStringList{"0.7", "0.7"} << QList<bool>{true, false};
        // The answers of the opening's settings again: nothing new to tell.
        QTest::newRow("the same answers") << QStringList{"0.05"} << QList<bool>{false};
        QTest::newRow("back and forth") << QStringList{"0.1", "0.05"} << QList<bool>{true, true};
    }
    void announcesNewAnswersAndProblems() {
        QFETCH(QStringList, alphas);
        QFETCH(QList<bool>, told);
        ScoresInput input;
        input.group1 = control1;
        input.group2 = treated;
        input.label1 = QStringLiteral("control");
        input.label2 = QStringLiteral("treated");
        input.filledLower = QStringLiteral("-1.5");
        input.filledUpper = QStringLiteral("1.5");
        frmScores w(input);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto* announcer = w.findChild<Announcer*>();
        QVERIFY(announcer != nullptr);
        QSignalSpy spoken(announcer, &Announcer::announced);
        QTRY_VERIFY(!w.busy());
        // The opening's answers are news too: they come after the window.
        QTRY_COMPARE_WITH_TIMEOUT(spoken.count(), 1, 3000);
        QStringList expected, heard;
        for (qsizetype i = 0; i < alphas.size(); ++i) {
            spoken.clear();
            retype(w, QStringLiteral("Alpha"), alphas[i]);
            QTRY_VERIFY(!w.busy());
            // Not before the news has stood its moment.
            QTest::qWait(SettledAnnouncer::defaultSettleMs / 2);
            QCOMPARE(spoken.count(), 0);
            QTest::qWait(SettledAnnouncer::defaultSettleMs / 2 + 300);
            if (told[i])
                expected << (w.shownAnswers()
                                 ? QString::fromStdString(
                                       score_report::scoresLine(*w.shownAnswers()) + " " +
                                       score_report::agreementSentence(*w.shownAnswers()))
                                 : named<QLabel>(w, QStringLiteral("Status"))->text());
            for (const QList<QVariant>& signal : spoken)
                heard << signal.at(0).toString();
        }
        QCOMPARE(heard, expected);
        QVERIFY(announcer->politeness() == Announcer::Politeness::polite);
    }
};

// The picture, painted on a recording device: every score a point, each box
// at its quartiles, the bounds dashed, one interval per analysis at its ends.
class ScoresFigureTest : public QObject {
    Q_OBJECT

    static std::vector<Painted> painted(const scores_window::ScoresPicture& picture) {
        const QFont font(QStringLiteral("Liberation Sans"), 9);
        RecordingDevice device(QSize(900, 1200));
        QPainter painter(&device);
        scores_window::paintScoresFigure(painter, QRectF(0, 0, 900, 1200), picture, font);
        painter.end();
        return device.painted();
    }

    static bool isPoint(const Painted& p) {
        return p.kind == Painted::Kind::path && p.pen.color().alpha() == 150;
    }

private slots:
    void figureDrawsScoresBoxesBoundsAndIntervals_data() {
        QTest::addColumn<std::vector<double>>("x");
        QTest::addColumn<std::vector<double>>("y");
        QTest::addColumn<bool>("matched");
        QTest::addColumn<bool>("minimalEffect");
        QTest::addColumn<bool>("ratio");  // and bounds 0.80 and 1.25, else -1 and 1
        const std::vector<double> pairs1{12.5, 11.9, 13.0, 12.2, 13.6, 12.8, 14.1};
        const std::vector<double> pairs2{13.1, 12.4, 13.8, 12.9, 14.0, 13.1, 13.0};
        QTest::newRow("independent") << control1 << treated << false << false << false;
        QTest::newRow("matched") << pairs1 << pairs2 << true << false << false;
        QTest::newRow("independent, minimal-effect test")
            << control1 << treated << false << true << false;
        // On the ratio scale the scores are drawn as their logs, the
        // intervals on a log axis.
        QTest::newRow("independent, ratio") << control1 << treated << false << false << true;
        QTest::newRow("matched, ratio") << pairs1 << pairs2 << true << false << true;
        // Differences that hardly vary give intervals a few pixels wide, far
        // narrower than the bounds.
        QTest::newRow("matched, narrow intervals")
            << std::vector<double>{12.50, 11.90, 13.00, 12.20, 13.60, 12.80, 14.10}
            << std::vector<double>{12.52, 11.93, 13.01, 12.24, 13.61, 12.83, 14.12} << true << false
            << false;
    }
    void figureDrawsScoresBoxesBoundsAndIntervals() {
        QFETCH(std::vector<double>, x);
        QFETCH(std::vector<double>, y);
        QFETCH(bool, matched);
        QFETCH(bool, minimalEffect);
        QFETCH(bool, ratio);
        const settings::Hypothesis hypothesis =
            minimalEffect ? settings::Hypothesis::minimalEffect : settings::Hypothesis::equivalence;
        const double lower = ratio ? 0.8 : -1, upper = ratio ? 1.25 : 1;
        score_report::ScoreAnswers answers = score_report::analyseScores(
            x, y, matched,
            {0.05, lower, upper, hypothesis,
             ratio ? settings::Scale::ratio : settings::Scale::difference});
        const scores_window::ScoresPicture picture = scores_window::scoresPicture(answers, x, y);
        const std::vector<Painted> all = painted(picture);

        std::vector<QPointF> points;
        for (const Painted& p : all)
            if (isPoint(p)) points.push_back(p.path.boundingRect().center());
        std::size_t expected = 0;
        for (const auto& row : picture.rows)
            expected += row.size();
        QCOMPARE(points.size(), expected);

        // The scores' axis, read from the points of the first row themselves.
        const auto& first = picture.rows[0];
        const std::size_t low =
            static_cast<std::size_t>(std::min_element(first.begin(), first.end()) - first.begin());
        const std::size_t high =
            static_cast<std::size_t>(std::max_element(first.begin(), first.end()) - first.begin());
        const double scale = (points[high].x() - points[low].x()) / (first[high] - first[low]);
        const auto xOf = [&](double v) { return points[low].x() + (v - first[low]) * scale; };
        for (std::size_t i = 0; i < first.size(); ++i)
            QVERIFY(std::fabs(points[i].x() - xOf(first[i])) < 1e-6);

        // Each box spans its quartiles; one box a row.
        std::vector<QRectF> boxes;
        for (const Painted& p : all)
            if (p.kind == Painted::Kind::rect && p.brush.style() == Qt::NoBrush)
                boxes.push_back(p.rect);
        QCOMPARE(boxes.size(), picture.rows.size());
        QVERIFY(std::fabs(boxes[0].left() - xOf(answers.shapes[0].q1)) < 1e-6);
        QVERIFY(std::fabs(boxes[0].right() - xOf(answers.shapes[0].q3)) < 1e-6);

        // The bounds dashed across each band of scores at their marks, then
        // across the intervals.
        std::vector<QLineF> dashed;
        for (const Painted& p : all)
            if (p.kind == Painted::Kind::line && p.pen.style() == Qt::DashLine)
                dashed.push_back(p.line);
        QCOMPARE(dashed.size(), 2 * picture.rows.size() + 2);
        const auto [lowMark, highMark] = scores_window::markedBounds(picture);
        QVERIFY(std::fabs(dashed[0].x1() - xOf(lowMark)) < 1e-6);
        QVERIFY(std::fabs(dashed[1].x1() - xOf(highMark)) < 1e-6);

        // The intervals' axis, read from the last two dashed lines, the bounds.
        const QLineF lowerLine = dashed[dashed.size() - 2], upperLine = dashed.back();
        const auto onAxis = [&](double v) { return ratio ? std::log(v) : v; };
        const auto dOf = [&](double v) {
            return lowerLine.x1() + (onAxis(v) - onAxis(lower)) / (onAxis(upper) - onAxis(lower)) *
                                        (upperLine.x1() - lowerLine.x1());
        };
        std::vector<QRectF> bars;
        std::vector<bool> blue;
        for (const Painted& p : all) {
            if (p.kind != Painted::Kind::rect) continue;
            const QColor c = p.brush.color();
            if (c == figure::okabeBlue || c == figure::okabeVermillion) {
                bars.push_back(p.rect);
                blue.push_back(c == figure::okabeBlue);
            }
        }
        QCOMPARE(bars.size(), std::size_t{4});
        for (std::size_t a = 0; a < 4; ++a) {
            const auto& result = answers.outcomes[a].result;
            QVERIFY(result.has_value());
            QVERIFY(std::fabs(bars[a].left() - dOf(result->low)) < 1e-6);
            QVERIFY(std::fabs(bars[a].right() - dOf(result->high)) < 1e-6);
            QCOMPARE(blue[a], result->conclusion == (minimalEffect
                                                         ? score_analysis::Conclusion::beyondBounds
                                                         : score_analysis::Conclusion::equivalent));
            if (a > 0) QVERIFY(bars[a].top() > bars[a - 1].bottom());
        }

        // A white diamond at each estimate, on its bar.
        std::vector<QPointF> diamonds;
        for (const Painted& p : all)
            if (p.kind == Painted::Kind::path && p.brush.color() == Qt::white &&
                p.brush.style() == Qt::SolidPattern)
                diamonds.push_back(p.path.boundingRect().center());
        QCOMPARE(diamonds.size(), std::size_t{4});
        for (std::size_t a = 0; a < 4; ++a) {
            QVERIFY(std::fabs(diamonds[a].x() - dOf(answers.outcomes[a].result->estimate)) < 1e-6);
            QVERIFY(std::fabs(diamonds[a].y() - bars[a].center().y()) < 1e-6);
        }

        // Each analysis captioned by its name and its conclusion in the
        // words of the test asked; only the two panels' titles bold.
        QStringList texts;
        int bold = 0;
        for (const Painted& p : all) {
            if (p.kind != Painted::Kind::text) continue;
            texts << p.text;
            if (p.font.bold()) ++bold;
        }
        QCOMPARE(bold, 2);
        for (std::size_t a = 0; a < 4; ++a) {
            const auto title = answers.outcomes[a].analysis->title;
            const bool concludes = blue[a];
            const QString words =
                minimalEffect ? (concludes ? "beyond the bounds" : "not shown beyond the bounds")
                              : (concludes ? "equivalent" : "equivalence not shown");
            const QString caption =
                QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())) + ": " +
                words;
            QVERIFY2(texts.contains(caption), qPrintable(caption));
        }
        const QString titles = texts.join(QLatin1Char('\n'));
        for (const char* words :
             ratio ? std::vector{"CI of the ratio (", "bounds 0.80 and 1.25", "(log scale)", " ln "}
                   : std::vector{"CI of the difference (", "in raw units"})
            QVERIFY2(titles.contains(QLatin1String(words)), words);
    }

    // A one-sided question: one margin dashed (once a band of scores, once
    // across the intervals), the alternative's side shaded from it to the
    // axis's end, and each interval blue exactly when its deciding end lies
    // beyond the margin as drawn.
    void oneSidedFigureDrawsOneMargin_data() {
        QTest::addColumn<bool>("matched");
        QTest::addColumn<bool>("ratio");
        QTest::addColumn<int>("hypothesis");
        QTest::addColumn<int>("better");
        QTest::addColumn<double>("margin");
        QTest::addColumn<QString>("words");
        QTest::newRow("non-inferiority")
            << false << false << int(Hypothesis::nonInferiority) << int(settings::Better::higher)
            << -1.0 << QStringLiteral("non-inferiority");
        QTest::newRow("non-superiority, lower better, matched")
            << true << false << int(Hypothesis::nonSuperiority) << int(settings::Better::lower)
            << -0.3 << QStringLiteral("non-superiority");
        QTest::newRow("superiority, ratio")
            << false << true << int(Hypothesis::superiority) << int(settings::Better::higher) << 1.0
            << QStringLiteral("superiority");
        QTest::newRow("non-inferiority, ratio, matched, lower better")
            << true << true << int(Hypothesis::nonInferiority) << int(settings::Better::lower)
            << 1.25 << QStringLiteral("non-inferiority");
    }
    void oneSidedFigureDrawsOneMargin() {
        QFETCH(bool, matched);
        QFETCH(bool, ratio);
        QFETCH(int, hypothesis);
        QFETCH(int, better);
        QFETCH(double, margin);
        QFETCH(QString, words);
        const std::vector<double> x =
            matched ? std::vector<double>{12.5, 11.9, 13.0, 12.2, 13.6} : control1;
        const std::vector<double> y =
            matched ? std::vector<double>{13.1, 12.4, 13.8, 12.9, 14.0} : treated;
        const score_analysis::ScoreSettings s = score_analysis::oneSidedSettings(
            0.025, margin, static_cast<Hypothesis>(hypothesis),
            static_cast<settings::Better>(better),
            ratio ? settings::Scale::ratio : settings::Scale::difference);
        const score_report::ScoreAnswers answers =
            score_report::analyseScores(x, y, matched, s, {199, 1});
        const std::vector<Painted> all = painted(scores_window::scoresPicture(answers, x, y));
        std::vector<QLineF> dashed;
        std::vector<QRectF> bars, shades;
        std::vector<bool> blue;
        QStringList texts;
        for (const Painted& p : all) {
            if (p.kind == Painted::Kind::line && p.pen.style() == Qt::DashLine)
                dashed.push_back(p.line);
            if (p.kind == Painted::Kind::rect && p.brush.color() == figure::regionShade())
                shades.push_back(p.rect);
            if (p.kind == Painted::Kind::rect && (p.brush.color() == figure::okabeBlue ||
                                                  p.brush.color() == figure::okabeVermillion)) {
                bars.push_back(p.rect);
                blue.push_back(p.brush.color() == figure::okabeBlue);
            }
            if (p.kind == Painted::Kind::text) texts << p.text;
        }
        const std::size_t rows = matched ? 1 : 2;
        QCOMPARE(dashed.size(), rows + 1);
        const qreal marginX = dashed.back().x1();
        QCOMPARE(shades.size(), std::size_t{1});
        const bool above = score_analysis::sideOf(s) == score_analysis::Side::above;
        QVERIFY(std::fabs((above ? shades[0].left() : shades[0].right()) - marginX) < 1e-6);
        QVERIFY(above ? shades[0].right() > marginX : shades[0].left() < marginX);
        QCOMPARE(bars.size(), std::size_t{4});
        for (std::size_t a = 0; a < 4; ++a) {
            const auto& result = *answers.outcomes[a].result;
            QCOMPARE(blue[a], rejectsNull(result.conclusion));
            QCOMPARE(blue[a], above ? bars[a].left() > marginX : bars[a].right() < marginX);
        }
        const QString all_ = texts.join(QLatin1Char('\n'));
        QVERIFY2(all_.contains(words + QStringLiteral(" margin ")), qPrintable(all_));
        QVERIFY2(
            all_.contains(QStringLiteral("Dashed: ")) && !all_.contains(QStringLiteral("bounds")),
            qPrintable(all_));
        QVERIFY2(all_.contains(QStringLiteral("blue: ") + words + QStringLiteral(" shown")),
                 qPrintable(all_));
    }

    // Many scores do not hide their box plot: the box, whiskers and median
    // are drawn over the scores, which are points (fainter as they grow
    // many) up to 2,000 a row and a shaded strip beyond, drawn in a bounded
    // number of strokes however many there are.
    void boxPlotShowsThroughManyScores_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("pointAlpha");  // 0: a strip, no points
        QTest::newRow("40 a group") << 40 << 150;
        QTest::newRow("2,000 a group") << 2000 << 47;
        QTest::newRow("2,001 a group") << 2001 << 0;
        QTest::newRow("100,000 a group") << 100000 << 0;
    }
    void boxPlotShowsThroughManyScores() {
        QFETCH(int, n);
        QFETCH(int, pointAlpha);
        std::vector<double> x, y;
        for (int i = 0; i < n; ++i) {
            x.push_back(std::sin(i * 0.7) * 3 + (i % 11) * 0.1);
            y.push_back(std::cos(i * 0.3) * 3 + (i % 7) * 0.1);
        }
        const score_report::ScoreAnswers answers =
            score_report::analyseScores(x, y, false, {0.05, -1, 1}, {199, 1});
        const std::vector<Painted> all = painted(scores_window::scoresPicture(answers, x, y));
        std::size_t points = 0, strip = 0;
        std::vector<std::size_t> boxes, lastScore;
        for (std::size_t i = 0; i < all.size(); ++i) {
            const Painted& p = all[i];
            const QColor pen = p.pen.color(), brush = p.brush.color();
            const bool point = p.kind == Painted::Kind::path &&
                               pen.rgb() == figure::okabeBlue.rgb() && pen.alpha() < 255 &&
                               p.brush.style() == Qt::NoBrush;
            const bool shade = p.kind == Painted::Kind::rect &&
                               p.brush.style() == Qt::SolidPattern &&
                               brush.rgb() == figure::okabeBlue.rgb() && brush.alpha() < 255;
            if (point) {
                ++points;
                QCOMPARE(pen.alpha(), pointAlpha);
            }
            if (shade) ++strip;
            if (point || shade) {
                if (lastScore.size() == boxes.size()) lastScore.push_back(i);
                lastScore.back() = i;
            }
            if (p.kind == Painted::Kind::rect && p.brush.style() == Qt::NoBrush) boxes.push_back(i);
        }
        QCOMPARE(points, pointAlpha > 0 ? std::size_t(2 * n) : std::size_t{0});
        QCOMPARE(strip > 0, pointAlpha == 0);
        QVERIFY2(strip <= 2 * 400, qPrintable(QString::number(strip)));
        // Each row's box after the last of its scores.
        QCOMPARE(boxes.size(), std::size_t{2});
        QCOMPARE(lastScore.size(), std::size_t{2});
        for (std::size_t r = 0; r < 2; ++r)
            QVERIFY(boxes[r] > lastScore[r]);
        QStringList texts;
        for (const Painted& p : all)
            if (p.kind == Painted::Kind::text) texts << p.text;
        QCOMPARE(texts.filter(QStringLiteral("shade: where the scores lie")).size(),
                 pointAlpha == 0 ? 1 : 0);
        // Counts grouped in thousands, as the report writes them.
        const QString count = QString::fromStdString(score_report::words::groupedCount(n));
        QCOMPARE(texts.filter(QStringLiteral("(n = %1)").arg(count)).size(), 2);
    }

    // The same scores give the same picture: the points' jitter is fixed.
    void jitterIsFixedAndWithinTheBand() {
        const score_report::ScoreAnswers answers =
            score_report::analyseScores(control1, treated, false, {0.05, -1, 1});
        const auto picture = scores_window::scoresPicture(answers, control1, treated);
        const std::vector<Painted> once = painted(picture), again = painted(picture);
        QCOMPARE(once.size(), again.size());
        for (std::size_t i = 0; i < once.size(); ++i)
            if (isPoint(once[i]))
                QCOMPARE(once[i].path.boundingRect(), again[i].path.boundingRect());
        for (std::size_t i = 0; i < 1000; ++i)
            QVERIFY(scores_window::jitterOf(i) >= -0.5 && scores_window::jitterOf(i) < 0.5);
    }
};

}  // namespace
}  // namespace tarnwick

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int status = 0;
    {
        tarnwick::ScoresWindowTest window;
        status |= QTest::qExec(&window, argc, argv);
    }
    {
        tarnwick::ScoresFigureTest figure;
        status |= QTest::qExec(&figure, argc, argv);
    }
    return status;
}

#include "scores_window_test.moc"
