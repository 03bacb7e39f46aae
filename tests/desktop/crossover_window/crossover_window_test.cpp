// The data window's crossover layout and its report, driven as a user of a
// screen reader would: a study pasted, the layout chosen, "Analyse the
// scores..." pressed, the settings row typed into, every control found by
// its accessible name. What the report shows must be the engine's own
// analysis and words for the same study; what the window refuses, the
// engine's reader's sentence at its line.

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <cstdio>

#include "crossover_report.h"
#include "crossover_table.h"
#include "frmCrossover.h"
#include "help_window.h"
#include "report_text_view.h"
#include "ui_test_support.h"

namespace tarnwick {
namespace {

using testing::control;

template <typename Widget>
Widget* named(QWidget& root, const QString& accessibleName) {
    for (Widget* widget : root.findChildren<Widget*>())
        if (widget->accessibleName() == accessibleName && widget->window() == root.window())
            return widget;
    return nullptr;
}

const QString header = QStringLiteral("subject,sequence,period,formulation,response\n");

// The example's pilot study in the layout's columns, with its header.
QString pilotText() {
    QFile file(QStringLiteral(CROSSOVER_EXAMPLE));
    file.open(QIODevice::ReadOnly);
    QString text = header;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> cells = line.split(',');
        if (cells.size() == 6 && cells[0] == "pilot")
            text += QString::fromUtf8(cells.mid(1).join(',')) + QLatin1Char('\n');
    }
    return text;
}

// The engine's reading of a pasted text in the layout's columns.
crossover::CrossoverStudy engineStudy(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::FILE* file = std::tmpfile();
    std::fwrite(bytes.data(), 1, static_cast<std::size_t>(bytes.size()), file);
    std::rewind(file);
    crossover::CrossoverReadOptions options;
    options.treatment = "formulation";
    crossover::CrossoverTable table = crossover::readCrossoverTable(file, "text", options);
    std::fclose(file);
    return std::move(table.studies.at(0));
}

// The engine's refusal of a pasted text, as the window words it.
QString engineRefusal(const QString& text) {
    try {
        engineStudy(text);
    } catch (const table_io::InputError& error) {
        return QStringLiteral("Row %1: %2.")
            .arg(error.line())
            .arg(QString::fromStdString(error.description()));
    }
    return {};
}

// 5,000 subjects of a 2x2x2 study: 10,000 rows.
QString manyRows() {
    QString text = header;
    for (int s = 1; s <= 5000; ++s) {
        const bool testFirst = s % 2 == 1;
        const double t = 100 + (s * 37 % 41), r = 100 + (s * 53 % 43);
        text += QStringLiteral("%1,%2,1,%3,%4\n%1,%2,2,%5,%6\n")
                    .arg(s)
                    .arg(testFirst ? "TR" : "RT", testFirst ? "T" : "R")
                    .arg(testFirst ? t : r)
                    .arg(testFirst ? "R" : "T")
                    .arg(testFirst ? r : t);
    }
    return text;
}

struct Calculator {
    testing::Recorder recorder;
    std::unique_ptr<frmBrevant> window;
    QString savePath;
    Calculator() {
        Platform platform = recorder.platform();
        platform.data.scoresReport.chooseSaveFile = [this](QWidget*, const QString&, const QString&,
                                                           QString* filter) {
            *filter = QString();
            return savePath;
        };
        window = std::make_unique<frmBrevant>(platform);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
};

int crossoverLayout(QWidget& data) {
    auto* layout = named<QComboBox>(data, QStringLiteral("Layout"));
    return layout->findText(QStringLiteral("Crossover"), Qt::MatchStartsWith);
}

// Opens the data window, pastes the text in the crossover layout, and lets
// `use` work in it.
bool inDataWindow(Calculator& calculator, const QString& text,
                  const std::function<void(QWidget&)>& use) {
    return testing::whileModal(
        [&] {
            QTest::mouseClick(&control<QPushButton>(*calculator.window, "cmdData"), Qt::LeftButton);
        },
        [&](QWidget& data) {
            QVERIFY(QTest::qWaitForWindowActive(&data));
            auto* layout = named<QComboBox>(data, QStringLiteral("Layout"));
            QVERIFY(crossoverLayout(data) >= 0);
            layout->setCurrentIndex(crossoverLayout(data));
            named<QPlainTextEdit>(data, QStringLiteral("Pasted scores"))->setPlainText(text);
            use(data);
        });
}

bool inCrossoverWindow(QWidget& data, const std::function<void(frmCrossover&)>& use) {
    auto* analyse = named<QPushButton>(data, QStringLiteral("Analyse the scores..."));
    if (analyse == nullptr) return false;
    // A long paste is read once typing pauses.
    QElapsedTimer waited;
    waited.start();
    while (!analyse->isEnabled() && waited.elapsed() < 20000)
        QTest::qWait(20);
    if (!analyse->isEnabled()) return false;
    return testing::whileModal([&] { QTest::mouseClick(analyse, Qt::LeftButton); },
                               [&](QWidget& modal) {
                                   auto* report = qobject_cast<frmCrossover*>(&modal);
                                   QVERIFY(report != nullptr);
                                   QVERIFY(QTest::qWaitForWindowActive(report));
                                   QTRY_VERIFY_WITH_TIMEOUT(!report->busy(), 20000);
                                   use(*report);
                               });
}

void retype(QWidget& window, const QString& name, const QString& text) {
    auto* field = named<QLineEdit>(window, name);
    QVERIFY2(field != nullptr, qPrintable(name));
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

class CrossoverWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testing::prepareApplication(); }

    // The report shows the engine's analysis of the pasted study, in the
    // engine's words; Fill has nothing to write and says why.
    void showsTheEnginesAnalysis() {
        Calculator calculator;
        const QString text = pilotText();
        const crossover::CrossoverStudy study = engineStudy(text);
        const crossover::CrossoverResult expected = crossover::analyseCrossover(study, {});
        bool shown = false;
        QVERIFY(inDataWindow(calculator, text, [&](QWidget& data) {
            auto* fill = named<QPushButton>(data, QStringLiteral("Fill the boxes"));
            QVERIFY(!fill->isEnabled());
            QVERIFY(fill->toolTip().startsWith(QStringLiteral("A crossover study has no two")));
            QVERIFY(named<QLabel>(data, QStringLiteral("Summaries"))
                        ->text()
                        .contains(QStringLiteral("no two groups' summaries for the boxes")));
            shown = inCrossoverWindow(data, [&](frmCrossover& w) {
                QVERIFY(w.shownResult().has_value());
                const crossover::CrossoverResult& r = *w.shownResult();
                QCOMPARE(r.ratio, expected.ratio);
                QCOMPARE(r.low, expected.low);
                QCOMPARE(r.high, expected.high);
                QCOMPARE(r.df, expected.df);
                QCOMPARE(r.leftOut, expected.leftOut);
                const QString words = QString::fromStdString(
                    crossover_report::reportText(study, expected, crossover::CrossoverSettings{}));
                QCOMPARE(w.text(), words);
                auto* view =
                    named<report::ReportTextView>(w, QStringLiteral("Crossover report text"));
                QCOMPARE(view->report(), words);
                QVERIFY(words.contains(QStringLiteral("from 95.05% to 115.15% (df 9)")));
                QVERIFY(words.contains(QStringLiteral("12 (R only)")));
                QCOMPARE(named<QLabel>(w, QStringLiteral("Study analysed"))->text(),
                         QString::fromStdString(crossover_report::studyLine(study, expected)));
                // The picture: each subject's ratio in its sequence's row,
                // on an axis that holds them, the interval and the limits.
                auto* figure = w.findChild<crossover_window::CrossoverFigure*>();
                QVERIFY(figure != nullptr && figure->picture().has_value());
                const crossover_window::CrossoverPicture& picture = *figure->picture();
                QCOMPARE(picture.rows.size(), std::size_t{2});
                QCOMPARE(picture.rows[0].size() + picture.rows[1].size(), std::size_t{11});
                const figure::Axis axis = crossover_window::pictureAxis(picture);
                for (const auto& row : picture.rows)
                    for (const double ratio : row)
                        QVERIFY(ratio > axis.low && ratio < axis.high);
                QVERIFY(axis.low < 0.8 && axis.high > 1.25);
                QCOMPARE(picture.low, expected.low);
                // Saved as text, the file is the text shown.
                QTemporaryDir folder;
                calculator.savePath = folder.filePath(QStringLiteral("crossover.txt"));
                QTest::mouseClick(named<QPushButton>(w, QStringLiteral("Save")), Qt::LeftButton);
                QFile saved(calculator.savePath);
                QVERIFY(saved.open(QIODevice::ReadOnly));
                QCOMPARE(QString::fromUtf8(saved.readAll()), words);
            });
        }));
        QVERIFY(shown);
    }

    // Alpha typed in the settings row runs the analysis again: a wider
    // interval, and the limits typed are the ones tested.
    void settingsRowRerunsTheAnalysis() {
        Calculator calculator;
        const QString text = pilotText();
        const crossover::CrossoverStudy study = engineStudy(text);
        bool shown = false;
        QVERIFY(inDataWindow(calculator, text, [&](QWidget& data) {
            shown = inCrossoverWindow(data, [&](frmCrossover& w) {
                const double usualLow = w.shownResult()->low;
                retype(w, QStringLiteral("Alpha"), QStringLiteral("0.025"));
                QTRY_VERIFY_WITH_TIMEOUT(w.busy(), 5000);
                QTRY_VERIFY_WITH_TIMEOUT(!w.busy(), 20000);
                const crossover::CrossoverResult expected =
                    crossover::analyseCrossover(study, {0.025, {0.8, 1.25}});
                QVERIFY(w.shownResult().has_value());
                QCOMPARE(w.shownResult()->low, expected.low);
                QVERIFY(w.shownResult()->low < usualLow);
                QVERIFY(w.text().contains(QStringLiteral("95% confidence interval")));
                retype(w, QStringLiteral("Lower bound"), QStringLiteral("0.9"));
                QTRY_VERIFY_WITH_TIMEOUT(
                    !w.busy() && w.text().contains(QStringLiteral("limits 90.00% to 111.11%")),
                    20000);
                // A limit that is no ratio leaves no answer, and says why.
                retype(w, QStringLiteral("Lower bound"), QStringLiteral("-1"));
                QTRY_VERIFY_WITH_TIMEOUT(!w.shownResult().has_value(), 20000);
                QVERIFY(!named<QPushButton>(w, QStringLiteral("Copy text"))->isEnabled());
                QVERIFY(!named<QLabel>(w, QStringLiteral("Status"))->text().isEmpty());
            });
        }));
        QVERIFY(shown);
    }

    // What the engine's reader refuses is said beside the paste, in its
    // words, at its row; what cannot be analysed leaves the report shut.
    void refusesWhatTheEngineRefuses_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("label");     // where the sentence is shown, if any
        QTest::addColumn<QString>("sentence");  // empty: the engine's refusal of the text
        QTest::newRow("text in the response column")
            << header +
                   QStringLiteral("1,TR,1,T,541.8\n1,TR,2,R,high\n2,RT,1,R,549\n2,RT,2,T,623\n")
            << QStringLiteral("Problem with the scores") << QString();
        QTest::newRow("a period that is no number")
            << header + QStringLiteral("1,TR,1,T,541.8\n1,TR,second,R,600\n")
            << QStringLiteral("Problem with the scores") << QString();
        QTest::newRow("a subject in two sequences")
            << header + QStringLiteral("1,TR,1,T,541.8\n1,RT,2,R,600\n")
            << QStringLiteral("Problem with the scores") << QString();
        QTest::newRow("four columns")
            << QStringLiteral("subject,sequence,period,response\n1,TR,1,5\n1,TR,2,6\n")
            << QStringLiteral("Problem with the scores")
            << QStringLiteral("Row 2: the row has 4 fields, the header names 5.");
        QTest::newRow("a single row")
            << QStringLiteral("1,TR,1,T,541.8\n") << QStringLiteral("Problem with the choices")
            << QStringLiteral("The study has one treatment, \"T\"; a crossover compares two.");
        QTest::newRow("an empty paste") << QString() << QString() << QString();
    }
    void refusesWhatTheEngineRefuses() {
        QFETCH(QString, text);
        QFETCH(QString, label);
        QFETCH(QString, sentence);
        if (sentence.isEmpty() && !label.isEmpty()) sentence = engineRefusal(text);
        Calculator calculator;
        QVERIFY(inDataWindow(calculator, text, [&](QWidget& data) {
            QVERIFY(
                !named<QPushButton>(data, QStringLiteral("Analyse the scores..."))->isEnabled());
            QVERIFY(!named<QPushButton>(data, QStringLiteral("Fill the boxes"))->isEnabled());
            if (label.isEmpty()) {
                QVERIFY(named<QLabel>(data, QStringLiteral("Problem with the scores"))->isHidden());
                return;
            }
            QVERIFY(!sentence.isEmpty());
            auto* shown = named<QLabel>(data, label);
            QVERIFY(shown->isVisible());
            QCOMPARE(shown->text(), sentence);
        }));
    }

    // 10,000 rows are read and analysed with the window answering, and the
    // analysis is the engine's.
    void tenThousandRows() {
        Calculator calculator;
        const QString text = manyRows();
        const crossover::CrossoverResult expected =
            crossover::analyseCrossover(engineStudy(text), {});
        bool shown = false;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(inDataWindow(calculator, text, [&](QWidget& data) {
            shown = inCrossoverWindow(data, [&](frmCrossover& w) {
                QVERIFY(w.shownResult().has_value());
                QCOMPARE(w.shownResult()->subjects, 5000L);
                QCOMPARE(w.shownResult()->ratio, expected.ratio);
            });
        }));
        QVERIFY(shown);
        QVERIFY2(clock.elapsed() < 20000, qPrintable(QString::number(clock.elapsed())));
    }

    // Every control is reached by Tab, has a name a screen reader says, and
    // no two share an access key; the data window's new choice too.
    void keyboardAndNames() {
        Calculator calculator;
        bool shown = false;
        QVERIFY(inDataWindow(calculator, pilotText(), [&](QWidget& data) {
            // The reference's access key is its own (the two pages share
            // others, each in view alone).
            const QMultiMap<QChar, QString> dataKeys = testing::accessKeys(data);
            QCOMPARE(dataKeys.values(u't'), QStringList{QStringLiteral("Reference formula&tion:")});
            QVERIFY(named<QComboBox>(data, QStringLiteral("Reference formulation")) != nullptr);
            shown = inCrossoverWindow(data, [&](frmCrossover& w) {
                const QMultiMap<QChar, QString> keys = testing::accessKeys(w);
                for (const QChar key : keys.uniqueKeys())
                    QVERIFY2(keys.count(key) == 1, qPrintable(keys.values(key).join(" | ")));
                for (QWidget* widget : w.findChildren<QWidget*>())
                    if (widget->isVisibleTo(&w) && widget->focusPolicy() != Qt::NoFocus)
                        QVERIFY2(!widget->accessibleName().isEmpty(),
                                 qPrintable(testing::objectNameOf(widget)));
                // Tab walks the row, the text and the commands in reading
                // order, and comes round again.
                const QStringList order = {
                    "Alpha",     "Lower bound", "Upper bound", "Crossover report text",
                    "Copy text", "Copy plot",   "Save",        "Help",
                    "Close",     "Alpha"};
                auto* alpha = named<QLineEdit>(w, QStringLiteral("Alpha"));
                alpha->setFocus();
                QTRY_COMPARE(QApplication::focusWidget(), alpha);
                for (const QString& name : order) {
                    QCOMPARE(QApplication::focusWidget()->accessibleName(), name);
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                }
                // F1 opens the data window's help at its crossover section.
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
                QVERIFY(help::helpWindow() != nullptr);
                QCOMPARE(help::helpWindow()->browser().source(),
                         help::pageUrl(help::Page::data, QStringLiteral("crossover")));
                help::helpWindow()->close();
                QTest::keyClick(&w, Qt::Key_Escape);
                QVERIFY(!w.isVisible());
            });
        }));
        QVERIFY(shown);
    }
};

}  // namespace
}  // namespace tarnwick

QTEST_MAIN(tarnwick::CrossoverWindowTest)
#include "crossover_window_test.moc"
