// The planning window: opened from the main window's Plan button and filled
// from its boxes, driven through the accessible names a screen reader gives
// its controls; the answers compared with the planning engine's own, refusals
// shown in the window, copy and save, the keyboard.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <cmath>

#include "announcer.h"
#include "figure_style.h"
#include "frmPlan.h"
#include "main_window_start.h"
#include "plan.h"
#include "plan_files.h"
#include "plan_words.h"
#include "power_curve.h"
#include "recording_device.h"
#include "report_text_view.h"
#include "shown_digits.h"
#include "ui_test_support.h"

using namespace tarnwick;
using namespace tarnwick::testing;

namespace {

// The control a screen reader announces by this name.
template <typename Widget>
Widget& named(QWidget& window, const QString& name) {
    Widget* found = nullptr;
    for (Widget* w : window.findChildren<Widget*>()) {
        if (w->accessibleName() == name) {
            Q_ASSERT_X(found == nullptr, "named", qPrintable(name));
            found = w;
        }
    }
    Q_ASSERT_X(found != nullptr, "named", qPrintable(name));
    return *found;
}

QLineEdit& field(QWidget& window, const char* name) {
    return named<QLineEdit>(window, QString::fromUtf8(name));
}

void retype(QLineEdit& box, const QString& text) {
    box.setFocus();
    box.selectAll();
    if (text.isEmpty()) {
        QTest::keyClick(&box, Qt::Key_Delete);
    } else {
        QTest::keyClicks(&box, text);
    }
}

// A click on the option's circle: a layout may make the option wider than
// its caption, and a click beyond the caption does not choose it.
void choose(QRadioButton& option) {
    QTest::mouseClick(&option, Qt::LeftButton, {}, QPoint(6, option.height() / 2));
}

QString answerShown(QWidget& plan) { return named<QLabel>(plan, "Answer").text(); }
QString refusalShown(QWidget& plan) { return named<QLabel>(plan, "Why there is no answer").text(); }

frmPlan* openPlan(frmBrevant& main) {
    QTest::mouseClick(&control<QPushButton>(main, "cmdPlan"), Qt::LeftButton);
    auto* plan = main.findChild<frmPlan*>();
    if (plan != nullptr) {
        plan->activateWindow();
        if (!QTest::qWaitForWindowActive(plan)) qWarning("the planning window is not active");
    }
    return plan;
}

struct Recorded {
    QString nextPath, nextFilter;
    QStringList messages;
    QStringList titles;
};

ReportPlatform recordingPlatform(Recorded& recorded) {
    ReportPlatform platform;
    platform.chooseSaveFile = [&recorded](QWidget*, const QString&, const QString& filters,
                                          QString* selected) {
        if (!filters.split(QStringLiteral(";;")).contains(recorded.nextFilter)) return QString();
        *selected = recorded.nextFilter;
        return recorded.nextPath;
    };
    platform.showMessage = [&recorded](QWidget*, const QString& prompt, MessageIcon,
                                       const QString& title) {
        recorded.messages << prompt;
        recorded.titles << title;
    };
    return platform;
}

// The power the curve's straight pieces give at x.
double drawnPower(const planner::CurveData& curve, double x) {
    const auto& p = curve.points;
    for (std::size_t i = 1; i < p.size(); ++i) {
        if (p[i].x >= x) {
            return p[i - 1].power +
                   (p[i].power - p[i - 1].power) * (x - p[i - 1].x) / (p[i].x - p[i - 1].x);
        }
    }
    return std::nan("");
}

planner::Answer powerAnswer(bool matched, long n1, long n2, const char* bound) {
    planner::PlanForm form;
    form.question = planner::Question::power;
    form.design = matched ? plan::Design::matched : plan::Design::independent;
    form.bound = bound;
    form.sd = "1";
    form.n1 = std::to_string(n1);
    form.n2 = std::to_string(n2);
    return planner::answer(planner::readForm(form));
}

struct Drawing {
    std::vector<testing_support::Painted> painted;
    QRectF area;
    qreal line = 0;
};

// The curve painted on a recording device at 100%.
Drawing drawn(const planner::CurveData& curve, qreal width) {
    QFont font = QApplication::font();
    font.setPointSizeF(10);
    testing_support::RecordingDevice probe(QSize(1, 1));
    const qreal height = planner::powerCurveHeight(font, &probe);
    testing_support::RecordingDevice device(QSize(qCeil(width), qCeil(height)));
    Drawing d;
    d.area = QRectF(0, 0, width, height);
    {
        QPainter painter(&device);
        planner::paintPowerCurve(painter, d.area, curve, font);
    }
    d.painted = device.painted();
    d.line = figure::lineHeight(font, &device);
    return d;
}

// tarnwick-plan's answer to one case, with full digits unless asked: the columns named.
QMap<QString, QString> programAnswer(const QStringList& options,
                                     const QString& digits = QStringLiteral("full")) {
    QProcess program;
    program.start(QStringLiteral(PLAN_PROGRAM),
                  QStringList{"--format", "csv", "--digits", digits} + options);
    QMap<QString, QString> columns;
    if (!program.waitForFinished(30000) || program.exitCode() != 0) return columns;
    const QStringList lines =
        QString::fromUtf8(program.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    if (lines.size() != 2) return columns;
    const QStringList names = lines[0].split(','), values = lines[1].split(',');
    for (qsizetype i = 0; i < names.size() && i < values.size(); ++i)
        columns[names[i]] = values[i];
    return columns;
}

// Ticks or clears a check box by a click on its box, as a user would.
void setChecked(QCheckBox& box, bool checked) {
    if (box.isChecked() != checked)
        QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(6, box.height() / 2));
}

planner::PlanForm exampleForm() {
    planner::PlanForm form;
    form.bound = "0.5";
    form.sd = "1.2";
    form.power = "0.9";
    return form;
}

}  // namespace

class PlanWindowTest : public QObject {
    Q_OBJECT

private slots:
    // The ratio scale: a bioequivalence design chosen by its access key, the
    // boxes the scales share holding each scale's numbers, the CV named with
    // its kind, and the answer the engine gives.
    void plansACrossoverOnTheRatioScale_data() {
        QTest::addColumn<int>("design");
        QTest::addColumn<QString>("cv");
        QTest::addColumn<QString>("cvLabel");
        QTest::addColumn<QString>("answer");
        QTest::newRow("2x2 crossover") << 2 << "0.3"
                                       << "Within-subject CV"
                                       << "20 per sequence (40 in all) give 81.5% power";
        QTest::newRow("parallel groups") << 0 << "0.35"
                                         << "Total CV"
                                         << "51 per group (102 in all) give 80.5% power";
        QTest::newRow("partial replicate") << 9 << "0.4"
                                           << "Within-subject CV"
                                           << "17 per sequence (51 in all) give 81.9% power";
    }

    void plansACrossoverOnTheRatioScale() {
        QFETCH(int, design);
        QFETCH(QString, cv);
        QFETCH(QString, cvLabel);
        QFETCH(QString, answer);
        frmPlan plan(exampleForm());
        plan.show();
        QVERIFY(QTest::qWaitForWindowActive(&plan));
        QTest::keyClick(&plan, Qt::Key_J, Qt::AltModifier);
        // The access key's press is released a moment later.
        QTRY_VERIFY(
            named<QRadioButton>(plan, "Bioequivalence: the ratio of geometric means").isChecked());
        named<QComboBox>(plan, "Bioequivalence design").setCurrentIndex(design);
        QLineEdit& cvBox =
            named<QLineEdit>(plan, cvLabel.section(' ', 0, 0).toLower() == QStringLiteral("total")
                                       ? QStringLiteral("total CV")
                                       : QStringLiteral("within-subject CV"));
        // The ratio's own starting numbers, not the difference's.
        QCOMPARE(field(plan, "Lower bound").text(), QStringLiteral("0.80"));
        QCOMPARE(field(plan, "Upper bound").text(), QStringLiteral("1.25"));
        QCOMPARE(field(plan, "True ratio").text(), QStringLiteral("0.95"));
        retype(cvBox, cv);
        retype(field(plan, "Target power"), QStringLiteral("0.8"));
        QVERIFY2(named<QLabel>(plan, "What the standard deviation is").text().contains("CV = "),
                 "the CV's kind and definition are said beside its box");
        QCOMPARE(answerShown(plan), answer);
        QVERIFY(plan.shownAnswer()->request.be.has_value());
        QVERIFY(!named<QRadioButton>(plan, "Find the smallest bounds").isEnabled());
        QVERIFY(!named<QRadioButton>(plan, "Minimal-effect test").isEnabled());
        // Every access key still the control's alone, on this scale too.
        const QMultiMap<QChar, QString> keys = testing::accessKeys(plan);
        for (const QChar key : keys.uniqueKeys())
            QVERIFY2(keys.count(key) == 1, qPrintable(QStringList(keys.values(key)).join(" / ")));
        // Back on the difference, its numbers are as they were, and the
        // ratio's wait for the next time.
        choose(named<QRadioButton>(plan, "Independent groups"));
        QCOMPARE(field(plan, "Standard deviation").text(), QStringLiteral("1.2"));
        QCOMPARE(answerShown(plan), QString::fromStdString(planner::answerLine(
                                        planner::answer(planner::readForm(plan.form())))));
        QCOMPARE(plan.form().cv, cv.toStdString());
        choose(named<QRadioButton>(plan, "Bioequivalence: the ratio of geometric means"));
        QCOMPARE(cvBox.text(), cv);
        QCOMPARE(answerShown(plan), answer);
    }

    void initTestCase() { prepareApplication(); }

    // A one-sided question by the keyboard: its choice by its access key,
    // alpha moved to .025 while untouched, the margin and the direction
    // enabled and the bounds not, the answer and the preregistration
    // sentence the engine's, a margin on the wrong side for the direction
    // asked about, and equivalence again as it was.
    void asksANonInferiorityQuestion() {
        frmPlan plan(exampleForm());
        plan.show();
        QVERIFY(QTest::qWaitForWindowActive(&plan));
        QLineEdit& margin = field(plan, "Margin");
        QVERIFY(!margin.isEnabled());
        QTest::keyClick(&plan, Qt::Key_3, Qt::AltModifier);
        QTRY_VERIFY(named<QRadioButton>(plan, "Non-inferiority test").isChecked());
        QCOMPARE(field(plan, "Alpha").text(), QStringLiteral("0.025"));
        QVERIFY(margin.isEnabled());
        QVERIFY(named<QComboBox>(plan, "Better direction").isEnabled());
        QVERIFY(!field(plan, "Bound").isEnabled());
        QVERIFY(!named<QRadioButton>(plan, "Find the smallest bounds").isEnabled());
        QTest::keyClick(&plan, Qt::Key_6, Qt::AltModifier);
        QTRY_VERIFY(margin.hasFocus());
        QTest::keyClicks(&margin, QStringLiteral("-0.5"));
        const planner::Answer expected = planner::answer(planner::readForm(plan.form()));
        QCOMPARE(answerShown(plan), QString::fromStdString(planner::answerLine(expected)));
        QCOMPARE(answerShown(plan), QStringLiteral("123 per group (246 in all) give 90.2% power"));
        QVERIFY(plan.shownAnswer().has_value());
        const std::string sentence = planner::preregistrationSentence(*plan.shownAnswer());
        QVERIFY2(sentence.find("non-inferiority, the lower end of the two-sided 95% interval of "
                               "the difference above -0.50 (a one-sided test at \xCE\xB1 = .025, "
                               "higher is better)") != std::string::npos,
                 sentence.c_str());
        const QMultiMap<QChar, QString> keys = testing::accessKeys(plan);
        for (const QChar key : keys.uniqueKeys())
            QVERIFY2(keys.count(key) == 1, qPrintable(QStringList(keys.values(key)).join(" / ")));

        named<QComboBox>(plan, "Better direction").setCurrentIndex(1);  // lower is better
        QCOMPARE(answerShown(plan), QStringLiteral("This question has no answer."));
        QVERIFY2(refusalShown(plan).contains(QStringLiteral("did you mean 0.5")),
                 qPrintable(refusalShown(plan)));

        QTest::keyClick(&plan, Qt::Key_Q, Qt::AltModifier);
        QTRY_VERIFY(named<QRadioButton>(plan, "Equivalence test").isChecked());
        QCOMPARE(field(plan, "Alpha").text(), QStringLiteral("0.05"));
        QVERIFY(!margin.isEnabled());
        QVERIFY(field(plan, "Bound").isEnabled());
        QCOMPARE(answerShown(plan), QStringLiteral("126 per group (252 in all) give 90.1% power"));
    }

    // On the ratio scale a one-sided question takes a ratio margin, its own
    // box's number kept apart from the difference's, the default when empty.
    void asksANonInferiorityQuestionOfACrossover() {
        frmPlan plan(exampleForm());
        plan.show();
        QVERIFY(QTest::qWaitForWindowActive(&plan));
        choose(named<QRadioButton>(plan, "Non-inferiority test"));
        retype(field(plan, "Margin"), QStringLiteral("-0.5"));
        choose(named<QRadioButton>(plan, "Bioequivalence: the ratio of geometric means"));
        QCOMPARE(field(plan, "Margin").text(), QString());
        named<QComboBox>(plan, "Bioequivalence design").setCurrentIndex(2);
        retype(named<QLineEdit>(plan, "within-subject CV"), QStringLiteral("0.25"));
        retype(field(plan, "Target power"), QStringLiteral("0.8"));
        QCOMPARE(answerShown(plan), QStringLiteral("18 per sequence (36 in all) give 82.0% power"));
        retype(field(plan, "Margin"), QStringLiteral("0.85"));
        QCOMPARE(answerShown(plan), QString::fromStdString(planner::answerLine(
                                        planner::answer(planner::readForm(plan.form())))));
        choose(named<QRadioButton>(plan, "Independent groups"));
        QCOMPARE(field(plan, "Margin").text(), QStringLiteral("-0.5"));
    }

    // The margin box's placeholder is the margin a blank box stands for, and
    // asks for one where the question has none (a difference's non-inferiority).
    void marginPlaceholderIsTheDefault_data() {
        QTest::addColumn<QString>("question");  // the radio button's name
        QTest::addColumn<bool>("ratio");
        QTest::addColumn<int>("better");  // index in the better box
        QTest::addColumn<QString>("placeholder");
        QTest::newRow("difference, non-inferiority")
            << "Non-inferiority test" << false << 0 << "required";
        QTest::newRow("difference, superiority") << "Superiority test" << false << 0 << "0.00";
        QTest::newRow("ratio, non-inferiority") << "Non-inferiority test" << true << 0 << "0.80";
        QTest::newRow("ratio, non-inferiority, lower better")
            << "Non-inferiority test" << true << 1 << "1.25";
        QTest::newRow("ratio, non-superiority") << "Non-superiority test" << true << 0 << "1.25";
        QTest::newRow("ratio, superiority") << "Superiority test" << true << 0 << "1.00";
        QTest::newRow("equivalence: no margin") << "Equivalence test" << false << 0 << "";
    }
    void marginPlaceholderIsTheDefault() {
        QFETCH(QString, question);
        QFETCH(bool, ratio);
        QFETCH(int, better);
        QFETCH(QString, placeholder);
        frmPlan plan(exampleForm());
        plan.show();
        QVERIFY(QTest::qWaitForWindowActive(&plan));
        if (ratio)
            choose(named<QRadioButton>(plan, "Bioequivalence: the ratio of geometric means"));
        choose(named<QRadioButton>(plan, question));
        named<QComboBox>(plan, "Better direction").setCurrentIndex(better);
        QCOMPARE(field(plan, "Margin").placeholderText(), placeholder);
        if (placeholder.isEmpty()) {
            QVERIFY(!field(plan, "Margin").isEnabled());
        } else if (placeholder == QStringLiteral("required")) {
            QCOMPARE(answerShown(plan), QStringLiteral("This question has no answer."));
        } else {
            const QString blank = answerShown(plan) + refusalShown(plan);
            retype(field(plan, "Margin"), placeholder);
            QCOMPARE(answerShown(plan) + refusalShown(plan), blank);
        }
    }

    void fillsFromTheMainWindow_data() {
        QTest::addColumn<bool>("matched");
        QTest::addColumn<QStringList>("typed");     // SD1, N1, SD2, N2, bound, SD of differences
        QTest::addColumn<QStringList>("expected");  // bound, SD, n1, n2, ratio
        QTest::newRow("pooled with the sizes: sqrt((1*1 + 2*4) / 3)")
            << false << QStringList{"1", "2", "2", "3", "0.5", ""}
            << QStringList{"0.5", "1.73205080756888", "2", "3", "1.5"};
        QTest::newRow("pooled, the larger SD weighted: sqrt((2*4 + 1*1) / 3)")
            << false << QStringList{"2", "3", "1", "2", "0.5", ""}
            << QStringList{"0.5", "1.73205080756888", "3", "2", "0.666666666666667"};
        QTest::newRow("without sizes: root mean square of 1 and 7")
            << false << QStringList{"1", "", "7", "", "3", ""}
            << QStringList{"3", "5", "", "", "1"};
        QTest::newRow("matched: the SD of the difference scores")
            << true << QStringList{"2", "20", "2", "20", ".25", "1.5"}
            << QStringList{"0.25", "1.5", "20", "", "1"};
        QTest::newRow("empty boxes stay empty")
            << false << QStringList{"", "", "", "", "", ""} << QStringList{"", "", "", "", "1"};
    }

    void fillsFromTheMainWindow() {
        QFETCH(bool, matched);
        QFETCH(QStringList, typed);
        QFETCH(QStringList, expected);
        Recorder recorder;
        auto main = showWindow(recorder);
        const char* boxes[] = {"TxtSD1", "TxtN1", "TxtSD2", "TxtN2", "TxtNotTrivial"};
        for (int i = 0; i < 5; ++i)
            QTest::keyClicks(&box(*main, boxes[i]), typed[i]);
        if (matched) {
            QTest::mouseClick(&control<QRadioButton>(*main, "opMatched"), Qt::LeftButton);
            QTest::keyClicks(&box(*main, "TxtSDMatched"), typed[5]);
        }
        frmPlan* plan = openPlan(*main);
        QVERIFY(plan != nullptr);
        QCOMPARE(field(*plan, "Bound").text(), expected[0]);
        QCOMPARE(field(*plan, "Standard deviation").text(), expected[1]);
        QCOMPARE(field(*plan, matched ? "Number of pairs" : "Size of group 1").text(), expected[2]);
        QCOMPARE(field(*plan, "Size of group 2").text(), expected[3]);
        QCOMPARE(field(*plan, "Allocation ratio").text(), expected[4]);
        QCOMPARE(field(*plan, "Assumed true difference").text(), QStringLiteral("0"));
        QCOMPARE(field(*plan, "Alpha").text(), QStringLiteral("0.05"));
        QCOMPARE(field(*plan, "Target power").text(), QStringLiteral("0.8"));
        QCOMPARE(named<QRadioButton>(*plan, "Matched pairs").isChecked(), matched);
        QVERIFY(named<QRadioButton>(*plan, "Find the sample size").isChecked());
        QVERIFY(named<QLabel>(*plan, "What the standard deviation is")
                    .text()
                    .contains(matched ? QStringLiteral("difference scores")
                                      : QStringLiteral("within each group")));
        // The main window's boxes are as they were, and it still takes clicks.
        QCOMPARE(box(*main, "TxtSD1").text(), typed[0]);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    // Each question against the engine's own answer to it.
    void answersAsTheEngineDoes_data() {
        QTest::addColumn<QString>("find");
        QTest::addColumn<bool>("matched");
        QTest::newRow("sample size, independent") << "Find the sample size" << false;
        QTest::newRow("sample size, matched") << "Find the sample size" << true;
        QTest::newRow("power, independent") << "Find the power" << false;
        QTest::newRow("smallest bounds, matched") << "Find the smallest bounds" << true;
    }

    void answersAsTheEngineDoes() {
        QFETCH(QString, find);
        QFETCH(bool, matched);
        Recorder recorder;
        auto main = showWindow(recorder);
        QTest::keyClicks(&box(*main, "TxtNotTrivial"), "0.5");
        frmPlan* plan = openPlan(*main);
        QVERIFY(plan != nullptr);
        choose(named<QRadioButton>(*plan, find));
        if (matched) choose(named<QRadioButton>(*plan, "Matched pairs"));
        retype(field(*plan, "Standard deviation"), "1.2");
        retype(field(*plan, matched ? "Number of pairs" : "Size of group 1"), "40");
        if (!matched) retype(field(*plan, "Size of group 2"), "50");
        // The power question has no target: its buttons are off.
        auto& ninety = named<QPushButton>(*plan, "Target power 90%");
        QCOMPARE(ninety.isEnabled(), find != QStringLiteral("Find the power"));
        QTest::mouseClick(&ninety, Qt::LeftButton);
        QCOMPARE(field(*plan, "Target power").text(),
                 ninety.isEnabled() ? QStringLiteral("0.9") : QStringLiteral("0.8"));

        plan::Study study;
        study.design = matched ? plan::Design::matched : plan::Design::independent;
        study.sd = 1.2;
        const plan::Sizes sizes{40, matched ? 0L : 50L};
        QVERIFY(plan->shownAnswer().has_value());
        const planner::Answer& shown = *plan->shownAnswer();
        if (find == QStringLiteral("Find the sample size")) {
            const plan::SizeAnswer engine = plan::smallestSize(study, 0.9);
            QCOMPARE(shown.sizes, engine.sizes);
            QCOMPARE(shown.power, engine.power);
        } else if (find == QStringLiteral("Find the power")) {
            QCOMPARE(shown.sizes, sizes);
            QCOMPARE(shown.power, plan::power(study, sizes));
        } else {
            const plan::BoundAnswer engine = plan::smallestBound(study, sizes, 0.9);
            // Rounded outward as tarnwick-plan writes it, and with the power it has.
            QCOMPARE(shown.upper, plan::boundRoundedOutwardValue(engine.bound));
            QVERIFY(shown.upper >= engine.bound && shown.upper < engine.bound * 1.001);
            const std::string written = plan::boundRoundedOutward(engine.bound);
            QVERIFY(planner::answerLine(shown).starts_with("Bounds of -" + written + " and " +
                                                           written + " give "));
            QVERIFY(planner::preregistrationSentence(shown).find(
                        "bounds as narrow as -" + written + " and " + written + " (raw units)") !=
                    std::string::npos);
            QCOMPARE(shown.lower, -shown.upper);
            plan::Study at = study;
            at.lower = shown.lower;
            at.upper = shown.upper;
            QCOMPARE(shown.power, plan::power(at, sizes));
            QVERIFY(shown.power >= 0.9);
        }
        QCOMPARE(answerShown(*plan), QString::fromStdString(planner::answerLine(shown)));
        QCOMPARE(named<report::ReportTextView>(*plan, "Sentence for a preregistration").report(),
                 QString::fromStdString(planner::preregistrationSentence(shown)));
        QVERIFY(refusalShown(*plan).isEmpty());
        // The curve goes through the answer.
        const auto& curve = named<planner::PowerCurve>(*plan, "Power curve").curve();
        QVERIFY(curve.has_value() && curve->points.size() >= 20);
        bool through = false;
        for (const planner::CurvePoint& p : curve->points)
            through = through || (p.x == curve->answer.x && p.power == shown.power);
        QVERIFY(through);
    }

    // A known answer that sits close to its edge: 3,305 per group give
    // 0.8999944, just short of .90, so rounding a continuous size would be wrong.
    void aKnownAnswerCloseToItsEdge() {
        planner::PlanForm form;
        form.alpha = "0.025";
        form.bound = "10";
        form.difference = "2";
        form.sd = "100";
        form.power = "0.9";
        Recorded recorded;
        frmPlan plan(form, recordingPlatform(recorded));
        QCOMPARE(answerShown(plan),
                 QStringLiteral("3,306 per group (6,612 in all) give 90.0% power"));
        retype(field(plan, "Target power"), "0.899994");
        QVERIFY(answerShown(plan).startsWith(QStringLiteral("3,305 per group")));
    }

    void theWordsOfTheExample() {
        const planner::Answer a = planner::answer(planner::readForm(exampleForm()));
        const std::string n = planner::count(a.sizes.n1);
        const std::string total = planner::count(2 * a.sizes.n1);
        QCOMPARE(planner::answerLine(a), n + " per group (" + total + " in all) give " +
                                             planner::percent(a.power) + " power");
        QCOMPARE(planner::preregistrationSentence(a),
                 "To have 90% power to conclude equivalence with bounds of -0.50 and 0.50 (raw "
                 "units) at \xCE\xB1 = .05 in two one-sided tests, assuming a true difference of 0 "
                 "and an SD of 1.20, we will recruit " +
                     n + " participants per group (" + total + " in all).");
        planner::PlanForm matched = exampleForm();
        matched.design = plan::Design::matched;
        const planner::Answer m = planner::answer(planner::readForm(matched));
        QVERIFY(planner::preregistrationSentence(m).ends_with(
            "an SD of the difference scores of 1.20, we will recruit " +
            planner::count(m.sizes.n1) + " pairs."));
    }

    // One rule for every number the sentence shows: two decimals, more up
    // to four significant digits, alpha without its leading zero.
    void numbersAreShownByOneRule_data() {
        QTest::addColumn<QStringList>("typed");  // alpha, bound, difference, SD
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("whole and halves")
            << QStringList{"0.05", "1", "0", "1.5"}
            << QStringList{"= .05 ", "-1.00 and 1.00", "of 0 ", "an SD of 1.50."};
        QTest::newRow("a pooled SD and alpha .1")
            << QStringList{"0.1", "0.125", "0.30000000000000004", "2.1023804"}
            << QStringList{"= .10 ", "-0.125 and 0.125", "of 0.30 ", "an SD of 2.102."};
        QTest::newRow("alpha .025, a small SD")
            << QStringList{"0.025", "0.004", "-0.001", "0.0123456"}
            << QStringList{"= .025 ", "-0.004 and 0.004", "of -0.001 ", "an SD of 0.01235."};
        QTest::newRow("large raw units")
            << QStringList{"0.05", "2500", "100.25", "12000.5"}
            << QStringList{"= .05 ", "-2500.00 and 2500.00", "of 100.25 ", "an SD of 12000.50."};
    }

    void numbersAreShownByOneRule() {
        QFETCH(QStringList, typed);
        QFETCH(QStringList, shown);
        planner::PlanForm form;
        form.alpha = typed[0].toStdString();
        form.bound = typed[1].toStdString();
        form.difference = typed[2].toStdString();
        form.sd = typed[3].toStdString();
        form.question = planner::Question::power;
        form.n1 = "30";
        form.n2 = "30";
        const QString sentence = QString::fromStdString(
            planner::preregistrationSentence(planner::answer(planner::readForm(form))));
        for (const QString& part : shown)
            QVERIFY2(sentence.contains(part), qPrintable(part + " not in: " + sentence));
    }

    // The bounds and sizes as the question holds them, and the words for them.
    void boundsAndSizesAsAsked_data() {
        QTest::addColumn<bool>("symmetric");
        QTest::addColumn<int>("n2");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("bounds");
        QTest::newRow("symmetric, equal groups") << true << 40 << "40 per group (80 in all) give "
                                                 << "bounds of -0.50 and 0.50";
        QTest::newRow("asymmetric, unequal groups")
            << false << 80 << "40 in group 1 and 80 in group 2 (120 in all) give "
            << "bounds of -0.30 and 0.60";
    }

    void boundsAndSizesAsAsked() {
        QFETCH(bool, symmetric);
        QFETCH(int, n2);
        QFETCH(QString, line);
        QFETCH(QString, bounds);
        planner::PlanForm form = exampleForm();
        form.question = planner::Question::power;
        form.symmetric = symmetric;
        form.lower = "-0.3";
        form.upper = "0.6";
        form.n1 = "40";
        form.n2 = std::to_string(n2);
        const planner::Request request = planner::readForm(form);
        QCOMPARE(request.study.lower, symmetric ? -0.5 : -0.3);
        QCOMPARE(request.study.upper, symmetric ? 0.5 : 0.6);
        const planner::Answer a = planner::answer(request);
        QVERIFY(QString::fromStdString(planner::answerLine(a)).startsWith(line));
        QVERIFY(QString::fromStdString(planner::preregistrationSentence(a)).contains(bounds));
    }

    void powersAndCountsAreWrittenWithoutOverstating_data() {
        QTest::addColumn<double>("power");
        QTest::addColumn<QString>("written");
        QTest::newRow("just short of 90%") << 0.8999975 << "89.9%";
        QTest::newRow("90.3%") << 0.90312 << "90.3%";
        QTest::newRow("all but certain") << 0.99996 << "99.9%";
        QTest::newRow("1 as a double, below 1 in truth") << 1.0 << "99.9%";
        QTest::newRow("exactly 80%") << 0.8 << "80.0%";
    }

    void powersAndCountsAreWrittenWithoutOverstating() {
        QFETCH(double, power);
        QFETCH(QString, written);
        QCOMPARE(QString::fromStdString(planner::percent(power)), written);
        QCOMPARE(planner::count(85639), std::string("85,639"));
        QCOMPARE(planner::count(10'000'000), std::string("10,000,000"));
        QCOMPARE(planner::count(124), std::string("124"));
    }

    void refusalsAreShownNextToTheAnswer_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");  // empty: the engine's own sentence
        QTest::addColumn<QString>("heading");
        const QString never = QStringLiteral("This question has no answer.");
        const QString notYet = QStringLiteral("No answer yet.");
        const QString boundAbove0 =
            QStringLiteral("The bound must be above 0: the bounds are minus and plus it.");
        QTest::newRow("alpha above .5") << "Alpha"
                                        << "0.7"
                                        << "" << never;
        QTest::newRow("alpha above .5, decimal comma") << "Alpha"
                                                       << "1,5"
                                                       << "" << never;
        QTest::newRow("SD of zero") << "Standard deviation"
                                    << "0"
                                    << "" << never;
        QTest::newRow("difference on the bound") << "Assumed true difference"
                                                 << "0.5"
                                                 << "" << never;
        QTest::newRow("target power of 1") << "Target power"
                                           << "1"
                                           << "" << never;
        QTest::newRow("target below alpha") << "Target power"
                                            << "0.03"
                                            << "" << never;
        QTest::newRow("symmetric bound of 0") << "Bound"
                                              << "0" << boundAbove0 << never;
        QTest::newRow("symmetric bound of -1") << "Bound"
                                               << "-1" << boundAbove0 << never;
        QTest::newRow("two commas") << "Standard deviation"
                                    << "1,2,3"
                                    << "Type a number in the SD box." << notYet;
        QTest::newRow("thousands and a comma") << "Standard deviation"
                                               << "1.234,5"
                                               << "Type a number in the SD box." << notYet;
        QTest::newRow("empty bound") << "Bound"
                                     << ""
                                     << "Type a number in the bound box." << notYet;
    }

    void refusalsAreShownNextToTheAnswer() {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        QFETCH(QString, heading);
        Recorded recorded;
        frmPlan plan(exampleForm(), recordingPlatform(recorded));
        plan.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plan));
        QVERIFY(plan.shownAnswer().has_value());
        retype(field(plan, qPrintable(box)), typed);
        QCOMPARE(answerShown(plan), heading);
        QVERIFY(!plan.shownAnswer().has_value());
        if (expected.isEmpty()) {
            // The engine's sentence for the same question.
            try {
                planner::answer(planner::readForm(plan.form()));
                QFAIL("the engine answered");
            } catch (const plan::PlanError& refusal) {
                expected = QString::fromStdString(refusal.description());
            }
        }
        QCOMPARE(refusalShown(plan), expected);
        // A refusal speaks of what is typed, never of the boxes that are off.
        if (box == QStringLiteral("Bound")) QVERIFY(!expected.contains(QStringLiteral("lower")));
        QVERIFY(named<QLabel>(plan, "Why there is no answer").isVisible());
        QVERIFY(named<report::ReportTextView>(plan, "Sentence for a preregistration")
                    .report()
                    .isEmpty());
        QVERIFY(!named<QPushButton>(plan, "Save...").isEnabled());
        QVERIFY(!named<planner::PowerCurve>(plan, "Power curve").curve().has_value());
        // Typing it right brings the answer back.
        retype(field(plan, qPrintable(box)),
               QString::fromStdString(box == "Alpha"                     ? "0.05"
                                      : box == "Standard deviation"      ? "1.2"
                                      : box == "Assumed true difference" ? "0"
                                      : box == "Target power"            ? "0.9"
                                                                         : "0.5"));
        QVERIFY(plan.shownAnswer().has_value());
        QVERIFY(!named<QLabel>(plan, "Why there is no answer").isVisible());
    }

    // A decimal comma is read as the data window reads a pasted cell.
    void decimalCommasAsTheDataWindowReadsThem_data() {
        QTest::addColumn<QString>("alpha");
        QTest::addColumn<double>("read");  // NaN: refused as not a number
        const double refused = std::nan("");
        QTest::newRow("0,1") << "0,1" << 0.1;
        QTest::newRow("spaces around 0,025") << " 0,025 " << 0.025;
        QTest::newRow("exponent 5,0e-2") << "5,0e-2" << 0.05;
        QTest::newRow("a point, as ever") << "0.1" << 0.1;
        QTest::newRow("both marks") << "0,1.5" << refused;
        QTest::newRow("missing-value word") << "NA" << refused;
        QTest::newRow("a lone comma") << "," << refused;
    }

    void decimalCommasAsTheDataWindowReadsThem() {
        QFETCH(QString, alpha);
        QFETCH(double, read);
        planner::PlanForm form = exampleForm();
        form.alpha = alpha.toStdString();
        try {
            const planner::Request request = planner::readForm(form);
            QVERIFY2(!std::isnan(read), "read although it is not a number");
            QCOMPARE(request.study.alpha, read);
        } catch (const plan::PlanError& refusal) {
            QVERIFY2(std::isnan(read), refusal.what());
            QCOMPARE(refusal.number(), static_cast<int>(planner::RequestProblem::notANumber));
        }
    }

    // What the line beside the boxes says of the calculator's numbers, and
    // what taking them changes.
    void saysWhereTheNumbersComeFrom_data() {
        QTest::addColumn<QStringList>("here");  // design, symmetric, bound, SD, n1, n2, ratio
        QTest::addColumn<QStringList>("calculator");
        QTest::addColumn<QString>("line");
        const QStringList example{"independent", "symmetric", "0.5", "1.2", "40", "40", "1"};
        QTest::newRow("the same, written differently")
            << QStringList{"independent", "symmetric", "0.50", "1.20", "40", "40", "1.0"} << example
            << "These are the calculator's numbers: a bound of 0.5, an SD of 1.2, and group sizes "
               "of 40 and 40.";
        QTest::newRow("the same, matched")
            << QStringList{"matched", "symmetric", "0.5", "2", "30", "", "1"}
            << QStringList{"matched", "symmetric", "0.5", "2", "30", "", "1"}
            << "These are the calculator's numbers: a bound of 0.5, an SD of the difference "
               "scores of 2, and 30 pairs.";
        // A size typed over a selection the calculator's keys kept.
        QTest::newRow("a slip in the calculator, taken")
            << QStringList{"independent", "symmetric", "0.5", "1.2", "333010", "", "1"}
            << QStringList{"independent", "symmetric", "0.5", "1.2", "333010", "", "1"}
            << "These are the calculator's numbers: a bound of 0.5, an SD of 1.2, and a group 1 "
               "size of 333010.";
        QTest::newRow("a new bound")
            << QStringList{"independent", "symmetric", "1", "1.2", "40", "40", "1"}
            << QStringList{"independent", "symmetric", "12", "1.2", "40", "40", "1"}
            << "The calculator holds other numbers: a bound of 12 (here 1).";
        QTest::newRow("asymmetric here")
            << QStringList{"independent", "asymmetric", "0.5", "1.2", "40", "40", "1"} << example
            << "The calculator holds other numbers: bounds of -0.5 and 0.5 (here -1 and 2).";
        QTest::newRow("matched there, sizes differ")
            << QStringList{"independent", "symmetric", "0.5", "1.2", "40", "50", "1.25"}
            << QStringList{"matched", "symmetric", "0.5", "2", "30", "", "1"}
            << "The calculator holds other numbers: matched pairs (here independent groups), an "
               "SD of the difference scores of 2 (here 1.2), and 30 pairs (here 40).";
        QTest::newRow("an empty box here")
            << QStringList{"independent", "symmetric", "", "1.2", "40", "60", "1.5"}
            << QStringList{"independent", "symmetric", "0.5", "1.2", "40", "40", "1"}
            << "The calculator holds other numbers: a bound of 0.5 (here none), a group 2 size "
               "of 40 (here 60), and an allocation ratio of 1 (here 1.5).";
        QTest::newRow("a derived SD and ratio read on screen, not in every digit")
            << example << QStringList{"independent", "symmetric",          "0.5", "1.1795113", "12",
                                      "10",          "0.83333333333333337"}
            << "The calculator holds other numbers: an SD of 1.1795113 (here 1.2), a group 1 size "
               "of 12 (here 40), a group 2 size of 10 (here 40), and an allocation ratio of "
               "0.83333333 (here 1).";
        QTest::newRow("nothing in the calculator")
            << example << QStringList{"independent", "symmetric", "", "", "", "", "1"}
            << "The calculator holds no bound, SD or size to plan with.";
        QTest::newRow("only an SD there")
            << example << QStringList{"independent", "symmetric", "", "1.2", "", "", "1"}
            << "These are the calculator's numbers: an SD of 1.2.";
    }

    void saysWhereTheNumbersComeFrom() {
        QFETCH(QStringList, here);
        QFETCH(QStringList, calculator);
        QFETCH(QString, line);
        const auto formOf = [](const QStringList& t) {
            planner::PlanForm f;
            f.question = planner::Question::power;
            f.alpha = "0.1";
            f.design = t[0] == "matched" ? plan::Design::matched : plan::Design::independent;
            f.symmetric = t[1] == "symmetric";
            f.bound = t[2].toStdString();
            f.lower = "-1";
            f.upper = "2";
            f.sd = t[3].toStdString();
            f.n1 = t[4].toStdString();
            f.n2 = t[5].toStdString();
            f.ratio = t[6].toStdString();
            return f;
        };
        const planner::PlanForm h = formOf(here), c = formOf(calculator);
        QCOMPARE(QString::fromStdString(planner::calculatorLine(h, c)), line);
        const bool differs = line.startsWith(QStringLiteral("The calculator holds other"));
        QCOMPARE(planner::differsFromCalculator(h, c), differs);
        // Taken, the boxes agree with the calculator, and nothing else moved.
        const planner::PlanForm taken = planner::withCalculatorNumbers(h, c);
        QVERIFY(!planner::differsFromCalculator(taken, c));
        QVERIFY(taken.question == h.question);
        QCOMPARE(taken.alpha, h.alpha);
        QCOMPARE(taken.lower, h.lower);
        if (c.sd.empty()) QCOMPARE(taken.sd, h.sd);
    }

    // Closed, the window keeps what was typed; opened again, it says what the
    // calculator holds now and takes it only when asked.
    void keepsWhatWasTypedAndOffersTheCalculatorsNumbers() {
        Recorder recorder;
        auto main = showWindow(recorder);
        QTest::keyClicks(&box(*main, "TxtNotTrivial"), "1");
        QTest::keyClicks(&box(*main, "TxtSD1"), "2");
        QTest::keyClicks(&box(*main, "TxtSD2"), "2");
        frmPlan* plan = openPlan(*main);
        QVERIFY(plan != nullptr);
        const QString where = QStringLiteral("Where the numbers come from");
        QCOMPARE(
            named<QLabel>(*plan, where).text(),
            QStringLiteral("These are the calculator's numbers: a bound of 1 and an SD of 2."));
        QVERIFY(!named<QPushButton>(*plan, "Take the calculator's numbers").isEnabled());
        choose(named<QRadioButton>(*plan, "Find the power"));
        retype(field(*plan, "Alpha"), "0.025");
        retype(field(*plan, "Size of group 1"), "30");
        retype(field(*plan, "Size of group 2"), "30");
        QTest::mouseClick(&named<QPushButton>(*plan, "Close"), Qt::LeftButton);
        QVERIFY(!plan->isVisible());

        QTest::keyClicks(&box(*main, "TxtNotTrivial"), "2");  // now 12
        QCOMPARE(openPlan(*main), plan);
        QVERIFY(plan->isVisible());
        QVERIFY(named<QRadioButton>(*plan, "Find the power").isChecked());
        QCOMPARE(field(*plan, "Alpha").text(), QStringLiteral("0.025"));
        QCOMPARE(field(*plan, "Size of group 1").text(), QStringLiteral("30"));
        QCOMPARE(field(*plan, "Bound").text(), QStringLiteral("1"));
        QCOMPARE(named<QLabel>(*plan, where).text(),
                 QStringLiteral("The calculator holds other numbers: a bound of 12 (here 1)."));
        auto& take = named<QPushButton>(*plan, "Take the calculator's numbers");
        QVERIFY(take.isEnabled());
        QTest::mouseClick(&take, Qt::LeftButton);
        QCOMPARE(field(*plan, "Bound").text(), QStringLiteral("12"));
        QCOMPARE(field(*plan, "Alpha").text(), QStringLiteral("0.025"));
        QVERIFY(named<QRadioButton>(*plan, "Find the power").isChecked());
        QVERIFY(!take.isEnabled());
        QVERIFY(plan->shownAnswer().has_value());
        QCOMPARE(plan->shownAnswer()->upper, 12.0);
        QCOMPARE(main->findChildren<frmPlan*>().size(), 1);
    }

    void curveAgainstTheTrueDifference() {
        Recorded recorded;
        frmPlan plan(exampleForm(), recordingPlatform(recorded));
        choose(named<QRadioButton>(plan, "Power curve against the true difference"));
        const auto& curve = named<planner::PowerCurve>(plan, "Power curve").curve();
        QVERIFY(curve.has_value());
        QVERIFY(curve->axis == planner::CurveAxis::difference);
        QVERIFY(!named<QRadioButton>(plan, "Power curve against the sample size").isChecked());
        QVERIFY(curve->points.front().x < -0.5 && curve->points.back().x > 0.5);
        // Highest at the assumed difference of 0, below alpha outside the bounds.
        for (const planner::CurvePoint& p : curve->points) {
            QVERIFY(p.power <= plan.shownAnswer()->power);
            if (std::fabs(p.x) >= 0.5) QVERIFY(p.power <= 0.05);
        }
    }

    // Between its points the drawn curve stays on the power, at the bounds
    // too, however steep it is; group 2 keeps its proportion along the size axis.
    void theCurveFollowsThePower_data() {
        QTest::addColumn<bool>("matched");
        QTest::addColumn<int>("n1");
        QTest::addColumn<int>("n2");
        QTest::addColumn<QString>("bound");
        QTest::addColumn<bool>("againstSize");
        QTest::newRow("21,863 per group against the difference")
            << false << 21863 << 21863 << "0.2" << false;
        QTest::newRow("12 pairs against the difference") << true << 12 << 0 << "1" << false;
        QTest::newRow("twice as many in group 2, against size")
            << false << 40 << 80 << "0.8" << true;
        QTest::newRow("5,000,000 per group against size")
            << false << 5'000'000 << 5'000'000 << "0.003" << true;
    }

    void theCurveFollowsThePower() {
        QFETCH(bool, matched);
        QFETCH(int, n1);
        QFETCH(int, n2);
        QFETCH(QString, bound);
        QFETCH(bool, againstSize);
        const planner::Answer a = powerAnswer(matched, n1, n2, qPrintable(bound));
        const auto started = std::chrono::steady_clock::now();
        const planner::CurveData curve = planner::curveOf(
            a, againstSize ? planner::CurveAxis::size : planner::CurveAxis::difference);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        qInfo("%zu points in %.3f s", curve.points.size(), seconds);
        QVERIFY(curve.points.size() >= 20 && curve.points.size() <= planner::maxCurvePoints);
        plan::Study study = a.request.study;
        const auto exact = [&](double x) {
            plan::Study at = study;
            plan::Sizes sizes = a.sizes;
            if (againstSize) {
                sizes.n1 = std::lround(x);
                if (!matched && sizes.n1 != a.sizes.n1) sizes.n2 = std::lround(x * n2 / n1);
            } else {
                at.difference = x;
            }
            return plan::power(at, sizes);
        };
        for (const planner::CurvePoint& p : curve.points)
            QCOMPARE(p.power, exact(p.x));
        // A third of the way along each piece, where no point was ever asked for.
        for (std::size_t i = 1; i < curve.points.size(); ++i) {
            const double from = curve.points[i - 1].x, to = curve.points[i].x;
            double x = from + (to - from) / 3;
            if (againstSize) x = std::round(x);
            if (x <= from) continue;
            QVERIFY2(std::fabs(drawnPower(curve, x) - exact(x)) < 0.01,
                     qPrintable(QString::number(x)));
        }
        if (!againstSize) {
            // On a bound the power is about alpha, and so is the line drawn there.
            for (const double at : {a.lower, a.upper}) {
                QVERIFY(exact(at) < 0.06);
                QVERIFY2(std::fabs(drawnPower(curve, at) - exact(at)) < 0.005,
                         qPrintable(QString::number(drawnPower(curve, at))));
            }
        }
    }

    // What the curve draws: its axes where the plot is, every label whole and
    // inside the figure, the sizes as counts, the shading named only where it is.
    void theCurveIsDrawnInsideItsFigure_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<bool>("againstSize");
        QTest::addColumn<int>("width");
        QTest::newRow("40 per group against size") << 40 << true << 500;
        QTest::newRow("5,000,000 per group against size") << 5'000'000 << true << 500;
        QTest::newRow("5,000,000 per group, narrow") << 5'000'000 << true << 330;
        QTest::newRow("40 per group against the difference") << 40 << false << 500;
    }

    void theCurveIsDrawnInsideItsFigure() {
        QFETCH(int, n);
        QFETCH(bool, againstSize);
        QFETCH(int, width);
        const planner::Answer a = powerAnswer(false, n, n, n > 1000 ? "0.003" : "0.8");
        const planner::CurveData curve = planner::curveOf(
            a, againstSize ? planner::CurveAxis::size : planner::CurveAxis::difference);
        const Drawing d = drawn(curve, width);
        // The axes: the lowest of the longest horizontal lines, and the leftmost
        // of the longest vertical ones (the bounds are drawn as tall).
        QLineF bottom, left;
        QStringList texts;
        for (const testing_support::Painted& p : d.painted) {
            if (p.kind == testing_support::Painted::Kind::line) {
                const QLineF& l = p.line;
                if (l.dy() == 0 && (l.length() > bottom.length() + 0.01 ||
                                    (l.length() > bottom.length() - 0.01 && l.y1() > bottom.y1())))
                    bottom = l;
                if (l.dx() == 0 && (l.length() > left.length() + 0.01 ||
                                    (l.length() > left.length() - 0.01 && l.x1() < left.x1())))
                    left = l;
            }
            if (p.kind != testing_support::Painted::Kind::text) continue;
            texts << p.text;
            const QFontMetricsF metrics(p.font, nullptr);
            QVERIFY2(p.baseline.x() >= d.area.left() - 0.01, qPrintable(p.text));
            QVERIFY2(p.baseline.x() + metrics.horizontalAdvance(p.text) * 0.98 <= d.area.right(),
                     qPrintable(p.text));
        }
        QVERIFY(bottom.length() > 0.6 * width);
        QVERIFY(left.length() > 8 * d.line);
        // Room left of the vertical axis for "100", the widest power label.
        QVERIFY(std::min(left.x1(), bottom.x1()) > 3 * d.line);
        QVERIFY(std::fabs(left.x1() - std::min(bottom.x1(), bottom.x2())) < 0.01);
        const QString legend = texts.join(QLatin1Char(' '));
        QCOMPARE(legend.contains(QStringLiteral("shaded: between the bounds")), !againstSize);
        // The power labels beside their ticks: 100 at the top, 0 at the foot.
        for (const testing_support::Painted& p : d.painted) {
            if (p.kind != testing_support::Painted::Kind::text || p.baseline.x() > left.x1())
                continue;
            const qreal expectedY = p.text == QStringLiteral("100") ? std::min(left.y1(), left.y2())
                                    : p.text == QStringLiteral("0") ? std::max(left.y1(), left.y2())
                                                                    : std::nan("");
            if (!std::isnan(expectedY)) QVERIFY(std::fabs(p.baseline.y() - expectedY) < d.line);
        }
        // The shading between the bounds spans the plot's height.
        bool shaded = false;
        for (const testing_support::Painted& p : d.painted) {
            shaded = shaded || (p.kind == testing_support::Painted::Kind::rect &&
                                p.brush.color() == figure::regionShade() &&
                                std::fabs(p.rect.height() - left.length()) < 1);
        }
        QCOMPARE(shaded, !againstSize);
        // On pixels too: the curve's blue shows inside the plot, not clipped away.
        QImage image(qCeil(d.area.width()), qCeil(d.area.height()), QImage::Format_RGB32);
        {
            QPainter painter(&image);
            QFont font = QApplication::font();
            font.setPointSizeF(10);
            planner::paintPowerCurve(painter, d.area, curve, font);
        }
        int blue = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                blue += QColor(image.pixel(x, y)) == figure::okabeBlue;
        }
        QVERIFY2(blue > width / 4, qPrintable(QString::number(blue)));
        if (!againstSize) return;
        // Below the axis: the tick labels, whole counts with their commas.
        int labels = 0;
        const QRegularExpression whole(QStringLiteral("^[1-9][0-9]{0,2}(,[0-9]{3})*$"));
        for (const testing_support::Painted& p : d.painted) {
            if (p.kind != testing_support::Painted::Kind::text) continue;
            if (p.baseline.y() < bottom.y1() || p.baseline.y() > bottom.y1() + 1.8 * d.line ||
                p.baseline.x() < left.x1())
                continue;
            ++labels;
            QVERIFY2(whole.match(p.text).hasMatch(), qPrintable(p.text));
        }
        QVERIFY(labels >= 2);
    }

    void copiesAndSavesEachFormat() {
        QTemporaryDir dir;
        Recorded recorded;
        frmPlan plan(exampleForm(), recordingPlatform(recorded));
        plan.resize(1000, 700);
        plan.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plan));
        const QString sentence =
            named<report::ReportTextView>(plan, "Sentence for a preregistration").report();
        QTest::mouseClick(&named<QPushButton>(plan, "Copy text"), Qt::LeftButton);
        QCOMPARE(QApplication::clipboard()->text(), sentence);
        QTest::mouseClick(&named<QPushButton>(plan, "Copy curve"), Qt::LeftButton);
        const QImage copied = QApplication::clipboard()->image();
        QVERIFY(copied.width() >= named<planner::PowerCurve>(plan, "Power curve").width());

        const QStringList filter = figure::saveFilters(planner::planFileKinds()).split(";;");
        const QList<QStringList> cases = {{"plan.pdf", filter[3], "plan.pdf"},
                                          {"curve", filter[1], "curve.png"},
                                          {"curve.svg", filter[0], "curve.svg"},
                                          {"sentence", filter[3], "sentence.txt"}};
        for (const QStringList& c : cases) {
            recorded.nextPath = dir.filePath(c[0]);
            recorded.nextFilter = c[1];
            QTest::mouseClick(&named<QPushButton>(plan, "Save..."), Qt::LeftButton);
            QVERIFY2(QFile::exists(dir.filePath(c[2])), qPrintable(c[2]));
        }
        QVERIFY(recorded.messages.isEmpty());
        QFile pdf(dir.filePath("plan.pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.readAll().startsWith("%PDF-"));
        QVERIFY(QImage(dir.filePath("curve.png")).height() > 100);
        QCOMPARE(QImage(dir.filePath("curve.png")).size(), copied.size());
        QVERIFY(QSvgRenderer(dir.filePath("curve.svg")).isValid());
        QFile text(dir.filePath("sentence.txt"));
        QVERIFY(text.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(text.readAll()), sentence + "\n");

        // A name for a type of file the plan is not saved as is refused in words.
        for (const char* name : {"plan5.jpg", "plan5.JPEG"}) {
            recorded.nextPath = dir.filePath(name);
            recorded.nextFilter = filter[0];
            QTest::mouseClick(&named<QPushButton>(plan, "Save..."), Qt::LeftButton);
            QCOMPARE(recorded.messages.size(), 1);
            QVERIFY2(recorded.messages.takeFirst().contains(QStringLiteral(".pdf, .png, .svg")),
                     name);
            QVERIFY(QDir(dir.path()).entryList({QStringLiteral("plan5*")}).isEmpty());
        }
        // A last dot that is no extension is part of the name.
        recorded.nextPath = dir.filePath("Study 1.5");
        QTest::mouseClick(&named<QPushButton>(plan, "Save..."), Qt::LeftButton);
        QVERIFY(QFile::exists(dir.filePath("Study 1.5.pdf")));
        QVERIFY(recorded.messages.isEmpty());
        recorded.nextPath = dir.filePath("missing/folder/plan.txt");
        recorded.nextFilter = filter[3];
        QTest::mouseClick(&named<QPushButton>(plan, "Save..."), Qt::LeftButton);
        QCOMPARE(recorded.messages.size(), 1);
        QVERIFY(recorded.messages[0].contains("could not be saved"));
        for (const QString& title : recorded.titles)
            QCOMPARE(title, QStringLiteral("Tarnwick"));
        QVERIFY(!QFile::exists(recorded.nextPath));
    }

    void everyControlIsNamedAndReachable() {
        Recorded recorded;
        frmPlan plan(exampleForm(), recordingPlatform(recorded));
        plan.show();
        QVERIFY(QTest::qWaitForWindowActive(&plan));
        QSet<QString> names;
        QSet<QWidget*> tabStops;
        for (QWidget* w : plan.findChildren<QWidget*>()) {
            if (w->objectName().startsWith("qt_")) continue;
            if (w->focusPolicy() & Qt::TabFocus) {
                QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
                QVERIFY2(!names.contains(w->accessibleName()), qPrintable(w->accessibleName()));
                names.insert(w->accessibleName());
                if (w->isEnabled()) tabStops.insert(w);
            }
        }
        QVERIFY(!named<planner::PowerCurve>(plan, "Power curve").accessibleName().isEmpty());
        // Tab visits every enabled control (each radio group once) and comes back.
        QSet<QWidget*> visited;
        QWidget* first = QApplication::focusWidget();
        for (int i = 0; i < 60; ++i) {
            visited.insert(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            if (QApplication::focusWidget() == first) break;
        }
        for (QWidget* w : tabStops) {
            const bool radioGroupMate =
                qobject_cast<QRadioButton*>(w) && !static_cast<QRadioButton*>(w)->isChecked();
            if (!radioGroupMate) QVERIFY2(visited.contains(w), qPrintable(w->objectName()));
        }
    }

    // Tab goes down the left column and then down the right one, as the
    // controls are laid out, and skips what the question does not use.
    void tabFollowsTheLayout_data() {
        QTest::addColumn<QString>("find");
        QTest::addColumn<bool>("matched");
        QTest::addColumn<QString>("order");
        QTest::newRow("sample size, independent")
            << "Find the sample size" << false
            << "opFindSize opIndependent txtAlpha opEquivalence opSymmetric txtBound chkSdUnits "
               "txtDifference txtSD txtPower cmdPower80 cmdPower90 txtRatio opCurveSize "
               "txtSentence cmdCopyText cmdCopyCurve cmdSave cmdHelp cmdClose";
        QTest::newRow("power, matched")
            << "Find the power" << true
            << "opFindPower opMatched txtAlpha opEquivalence opSymmetric txtBound chkSdUnits "
               "txtDifference txtSD txtN1 cmdTakeCalculator opCurveSize txtSentence cmdCopyText "
               "cmdCopyCurve cmdSave cmdHelp cmdClose";
        QTest::newRow("smallest bounds, independent")
            << "Find the smallest bounds" << false
            << "opFindBounds opIndependent txtAlpha opEquivalence chkSdUnits txtDifference txtSD "
               "txtPower cmdPower80 cmdPower90 txtN1 txtN2 opCurveSize txtSentence cmdCopyText "
               "cmdCopyCurve cmdSave cmdHelp cmdClose";
    }

    void tabFollowsTheLayout() {
        QFETCH(QString, find);
        QFETCH(bool, matched);
        QFETCH(QString, order);
        Recorded recorded;
        planner::PlanForm form = exampleForm();
        form.n1 = "40";
        form.n2 = "40";
        frmPlan plan(form, recordingPlatform(recorded));
        plan.show();
        QVERIFY(QTest::qWaitForWindowActive(&plan));
        choose(named<QRadioButton>(plan, find));
        if (matched) choose(named<QRadioButton>(plan, "Matched pairs"));
        QWidget* first = &named<QRadioButton>(plan, find);
        first->setFocus();
        QStringList visited;
        for (int i = 0; i < 40; ++i) {
            visited << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            if (QApplication::focusWidget() == first) break;
        }
        QCOMPARE(visited.join(QLatin1Char(' ')), order);
    }

    // A screen reader is told a new answer once typing has paused, politely
    // (no alert that cuts into its speech), and not the one it opened with.
    void aNewAnswerIsAnnouncedPolitely_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("heard");  // empty: nothing
        QTest::newRow("a new target") << "Target power"
                                      << "0.95"
                                      << "";
        QTest::newRow("an empty SD") << "Standard deviation"
                                     << ""
                                     << "No answer yet. Type a number in the SD box.";
        QTest::newRow("the same number, retyped") << "Bound"
                                                  << "0.50"
                                                  << "";
    }

    void aNewAnswerIsAnnouncedPolitely() {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, heard);
        Recorded recorded;
        frmPlan plan(exampleForm(), recordingPlatform(recorded));
        plan.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plan));
        auto* announcer = plan.findChild<Announcer*>();
        QVERIFY(announcer != nullptr);
        QSignalSpy spoken(announcer, &Announcer::announced);
        retype(field(plan, qPrintable(box)), typed);
        // Not while the digits come in.
        QTest::qWait(frmPlan::announceAfterMs / 2);
        QCOMPARE(spoken.size(), 0);
        QTest::qWait(frmPlan::announceAfterMs + 300);
        if (heard.isEmpty()) heard = answerShown(plan);
        if (box == QStringLiteral("Bound")) {
            QCOMPARE(spoken.size(), 0);  // the answer did not change
            return;
        }
        QCOMPARE(spoken.size(), 1);
        QCOMPARE(spoken.takeFirst().at(0).toString(), heard);
        QVERIFY(announcer->politeness() == Announcer::Politeness::polite);
        QCOMPARE(named<QLabel>(plan, "Answer").accessibleDescription(), answerShown(plan));
    }

    // The test and the units chosen in the window give tarnwick-plan's
    // answer to the same case, to the last digit of the power.
    void settingsAnswerAsTarnwickPlanDoes_data() {
        QTest::addColumn<QString>("find");
        QTest::addColumn<bool>("matched");
        QTest::addColumn<bool>("minimalEffect");
        QTest::addColumn<bool>("sdUnits");
        QTest::addColumn<QStringList>("typed");  // lower, upper, difference, SD, n1, n2
        QTest::newRow("minimal effect, size, beyond the upper bound")
            << "Find the sample size" << false << true << false
            << QStringList{"-0.5", "0.5", "0.8", "1.2", "", ""};
        QTest::newRow("minimal effect, size, pairs, bounds excluding 0, below them")
            << "Find the sample size" << true << true << false
            << QStringList{"0.1", "0.4", "-0.2", "1", "", ""};
        QTest::newRow("minimal effect, power, unequal groups")
            << "Find the power" << false << true << false
            << QStringList{"-0.3", "0.3", "1", "1.5", "30", "45"};
        QTest::newRow("minimal effect, power, difference within the bounds")
            << "Find the power" << false << true << false
            << QStringList{"-0.3", "0.3", "0.1", "1", "20", "20"};
        QTest::newRow("minimal effect, power of the smallest pairs")
            << "Find the power" << true << true << false
            << QStringList{"-0.2", "0.2", "2", "1", "2", ""};
        QTest::newRow("SD units, size") << "Find the sample size" << false << false << true
                                        << QStringList{"-0.3", "0.3", "0", "1.2", "", ""};
        QTest::newRow("SD units, minimal effect, pairs, power")
            << "Find the power" << true << true << true
            << QStringList{"-0.25", "0.5", "1.5", "2", "25", ""};
        // Found bounds: the digits written and the power beside them.
        QTest::newRow("smallest bounds, unequal groups")
            << "Find the smallest bounds" << false << false << false
            << QStringList{"", "", "0", "1.2", "40", "50"};
        QTest::newRow("smallest bounds, pairs, a difference, SD units")
            << "Find the smallest bounds" << true << false << true
            << QStringList{"", "", "0.3", "1.5", "30", ""};
        QTest::newRow("smallest bounds, large SD, small groups")
            << "Find the smallest bounds" << false << false << false
            << QStringList{"", "", "0", "300", "12", "12"};
    }

    void settingsAnswerAsTarnwickPlanDoes() {
        QFETCH(QString, find);
        QFETCH(bool, matched);
        QFETCH(bool, minimalEffect);
        QFETCH(bool, sdUnits);
        QFETCH(QStringList, typed);
        Recorded recorded;
        planner::PlanForm form = exampleForm();
        frmPlan plan(form, recordingPlatform(recorded));
        plan.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plan));
        choose(named<QRadioButton>(plan, find));
        if (matched) choose(named<QRadioButton>(plan, "Matched pairs"));
        if (minimalEffect) choose(named<QRadioButton>(plan, "Minimal-effect test"));
        setChecked(named<QCheckBox>(plan, "Bounds in SD units"), sdUnits);
        const bool bounds = find == QStringLiteral("Find the smallest bounds");
        if (!bounds) {
            choose(named<QRadioButton>(plan, "Asymmetric bounds"));
            retype(field(plan, "Lower bound"), typed[0]);
            retype(field(plan, "Upper bound"), typed[1]);
        }
        retype(field(plan, "Assumed true difference"), typed[2]);
        retype(field(plan, "Standard deviation"), typed[3]);
        const bool size = find == QStringLiteral("Find the sample size");
        if (!size) {
            retype(field(plan, matched ? "Number of pairs" : "Size of group 1"), typed[4]);
            if (!matched) retype(field(plan, "Size of group 2"), typed[5]);
        }
        QVERIFY2(plan.shownAnswer().has_value(), qPrintable(refusalShown(plan)));

        QStringList options{"--solve",       size ? "n" : "power",
                            "--design",      matched ? "matched" : "independent",
                            "--hypothesis",  minimalEffect ? "minimal_effect" : "equivalence",
                            "--bound-units", sdUnits ? "d" : "raw",
                            "--difference",  typed[2],
                            "--sd",          typed[3]};
        if (bounds) {
            options[1] = QStringLiteral("bound");
            options << "--power"
                    << "0.9";
        } else {
            options << "--lower" << typed[0] << "--upper" << typed[1];
        }
        if (size) {
            options << "--power"
                    << "0.9";
        } else {
            options << "--n1" << typed[4];
            if (!matched) options << "--n2" << typed[5];
        }
        const QMap<QString, QString> program = programAnswer(options);
        QVERIFY2(program.contains("plan_power"), qPrintable(options.join(' ')));
        const planner::Answer& shown = *plan.shownAnswer();
        QCOMPARE(QString::number(shown.sizes.n1), program["plan_n1"]);
        if (!matched) QCOMPARE(QString::number(shown.sizes.n2), program["plan_n2"]);
        if (bounds) {
            // Full digits write the root; shown digits the bound the window
            // writes, with the power at it.
            QCOMPARE(shown.root, program["plan_upper"].toDouble());
            const QMap<QString, QString> written = programAnswer(options, "shown");
            const QString bound = QString::fromStdString(shown.foundBound);
            QCOMPARE(written["plan_lower"], QStringLiteral("-") + bound);
            QCOMPARE(written["plan_upper"], bound);
            QCOMPARE(shown.lower, written["plan_lower"].toDouble());
            QCOMPARE(shown.upper, written["plan_upper"].toDouble());
            QCOMPARE(written["plan_power"], QString::fromStdString(plan::powerCut(shown.power, 4)));
            const QString raw = QStringLiteral("-") + bound + QStringLiteral(" and ") + bound;
            QVERIFY2(sdUnits ? answerShown(plan).contains(" SD (" + raw + " in raw units) give ")
                             : answerShown(plan).startsWith("Bounds of " + raw + " give "),
                     qPrintable(answerShown(plan)));
        } else {
            QCOMPARE(shown.power, program["plan_power"].toDouble());
            // The raw bounds both used.
            QCOMPARE(shown.lower, program["plan_lower"].toDouble());
            QCOMPARE(shown.upper, program["plan_upper"].toDouble());
        }
        // The sentence names the test asked, and the curve is its power.
        const QString sentence =
            named<report::ReportTextView>(plan, "Sentence for a preregistration").report();
        QCOMPARE(sentence.contains(QStringLiteral("minimal-effect test")), minimalEffect);
        QCOMPARE(sentence.contains(QStringLiteral("equivalence")), !minimalEffect);
        const auto& curve = named<planner::PowerCurve>(plan, "Power curve").curve();
        QVERIFY(curve.has_value() && !curve->points.empty());
        plan::Study study = shown.request.study;
        QCOMPARE(study.hypothesis, minimalEffect ? settings::Hypothesis::minimalEffect
                                                 : settings::Hypothesis::equivalence);
        for (const planner::CurvePoint& p : curve->points) {
            if (p.x != curve->answer.x) continue;
            QCOMPARE(p.power, shown.power);
        }
    }

    // Bounds in SD units are named in both units; the raw ones are what the
    // test uses and what a preregistration must state.
    void sdUnitsGiveTheRawBoundsToo_data() {
        QTest::addColumn<QString>("find");
        QTest::addColumn<bool>("minimalEffect");
        QTest::addColumn<QString>("line");      // the start of the answer line; empty: any
        QTest::addColumn<QString>("sentence");  // a part of the sentence
        QTest::newRow("given bound, equivalence")
            << "Find the sample size" << false << ""
            << "with bounds of -0.40 and 0.40 SD (-0.60 and 0.60 in raw units) at";
        QTest::newRow("given bound, minimal effect")
            << "Find the power" << true << ""
            << "with bounds of -0.40 and 0.40 SD (-0.60 and 0.60 in raw units) has";
        // Found bounds: what to look for follows from the bound found.
        QTest::newRow("found bounds, written in both units")
            << "Find the smallest bounds" << false << ""
            << "";
    }

    void sdUnitsGiveTheRawBoundsToo() {
        QFETCH(QString, find);
        QFETCH(bool, minimalEffect);
        QFETCH(QString, line);
        QFETCH(QString, sentence);
        Recorded recorded;
        planner::PlanForm form = exampleForm();
        form.bound = "0.4";
        form.sd = "1.5";
        form.difference = minimalEffect ? "1.5" : "0";
        form.n1 = "40";
        form.n2 = "40";
        frmPlan plan(form, recordingPlatform(recorded));
        plan.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plan));
        choose(named<QRadioButton>(plan, find));
        if (minimalEffect) choose(named<QRadioButton>(plan, "Minimal-effect test"));
        auto& units = named<QCheckBox>(plan, "Bounds in SD units");
        setChecked(units, true);
        QVERIFY2(plan.shownAnswer().has_value(), qPrintable(refusalShown(plan)));
        if (sentence.isEmpty()) {
            // Each unit's bound rounded outward once, from the root found,
            // never narrower than it.
            const double root = plan.shownAnswer()->root;
            const QString d = QString::fromStdString(plan::boundRoundedOutward(root / 1.5));
            const QString r = QString::fromStdString(plan::boundRoundedOutward(root));
            QVERIFY(d.toDouble() * 1.5 >= root && r.toDouble() >= root);
            QCOMPARE(plan.shownAnswer()->upper, r.toDouble());
            line = "Bounds of -" + d + " and " + d + " SD (-" + r + " and " + r + " in raw units)";
            sentence = "as narrow as -" + d + " and " + d + " SD (-" + r + " and " + r +
                       " in raw units), assuming";
        }
        if (!line.isEmpty())
            QVERIFY2(answerShown(plan).startsWith(line), qPrintable(answerShown(plan)));
        const QString written =
            named<report::ReportTextView>(plan, "Sentence for a preregistration").report();
        QVERIFY2(written.contains(sentence), qPrintable(written));
        // Given bounds are multiplied by the SD; found ones are divided by it.
        if (find != QStringLiteral("Find the smallest bounds")) {
            QCOMPARE(plan.shownAnswer()->upper, 0.4 * 1.5);
        } else {
            // The found bound is the same with or without SD units.
            const double raw = plan.shownAnswer()->upper;
            setChecked(units, false);
            QCOMPARE(plan.shownAnswer()->upper, raw);
        }
    }

    // Questions the minimal-effect test cannot answer get the engine's sentence.
    void minimalEffectRefusals_data() {
        QTest::addColumn<QString>("find");
        QTest::addColumn<QString>("difference");
        QTest::addColumn<QString>("expected");  // a part of the sentence shown
        QTest::addColumn<bool>("equivalenceAnswers");
        QTest::newRow("a size with the difference within the bounds")
            << "Find the sample size"
            << "0.2"
            << "must lie outside the bounds" << true;
        // On a bound neither test has a size: each says where it must lie.
        QTest::newRow("a size with the difference on a bound")
            << "Find the sample size"
            << "-0.5"
            << "must lie outside the bounds" << false;
        QTest::newRow("the smallest bounds") << "Find the smallest bounds"
                                             << "1"
                                             << "the minimal-effect test does not ask it" << true;
    }

    void minimalEffectRefusals() {
        QFETCH(QString, find);
        QFETCH(QString, difference);
        QFETCH(QString, expected);
        QFETCH(bool, equivalenceAnswers);
        Recorded recorded;
        planner::PlanForm form = exampleForm();
        form.n1 = "40";
        form.n2 = "40";
        frmPlan plan(form, recordingPlatform(recorded));
        plan.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plan));
        choose(named<QRadioButton>(plan, find));
        retype(field(plan, "Assumed true difference"), difference);
        QCOMPARE(plan.shownAnswer().has_value(), equivalenceAnswers);
        choose(named<QRadioButton>(plan, "Minimal-effect test"));
        QVERIFY(!plan.shownAnswer().has_value());
        QCOMPARE(answerShown(plan), QStringLiteral("This question has no answer."));
        QVERIFY2(refusalShown(plan).contains(expected), qPrintable(refusalShown(plan)));
        choose(named<QRadioButton>(plan, "Equivalence test"));
        QCOMPARE(plan.shownAnswer().has_value(), equivalenceAnswers);
    }

    // The test is chosen from the keyboard: its access key, then the arrow
    // towards the other option.
    void theTestIsChosenFromTheKeyboard() {
        Recorded recorded;
        planner::PlanForm form = exampleForm();
        form.difference = "0.8";
        frmPlan plan(form, recordingPlatform(recorded));
        plan.show();
        QVERIFY(QTest::qWaitForWindowActive(&plan));
        QTest::keyClick(&plan, Qt::Key_Q, Qt::AltModifier);
        auto& equivalence = named<QRadioButton>(plan, "Equivalence test");
        QTRY_COMPARE(QApplication::focusWidget(), &equivalence);
        // The access key clicks the button as a user's press would, released
        // a moment later; an arrow before the release would be undone by it.
        QTRY_VERIFY(!equivalence.isDown());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QVERIFY(named<QRadioButton>(plan, "Minimal-effect test").isChecked());
        QVERIFY(plan.shownAnswer().has_value());
        QCOMPARE(plan.shownAnswer()->request.study.hypothesis, settings::Hypothesis::minimalEffect);
        QTest::keyClick(&plan, Qt::Key_N, Qt::AltModifier);
        // An access key presses a check box the way a click does, after a moment.
        QTRY_VERIFY(named<QCheckBox>(plan, "Bounds in SD units").isChecked());
        // The answer follows after the window's pause for typing.
        const auto shownUpper = [&plan] {
            return plan.shownAnswer() ? plan.shownAnswer()->upper : 0.0;
        };
        QTRY_COMPARE(shownUpper(), 0.5 * 1.2);
    }

    // The test and the units stay with the window, and taking the
    // calculator's bound (a raw one) clears the SD units.
    void keepsTheSettingsAndTakesARawBound() {
        Recorder recorder;
        auto main = showWindow(recorder);
        QTest::keyClicks(&box(*main, "TxtNotTrivial"), "1");
        QTest::keyClicks(&box(*main, "TxtSD1"), "2");
        QTest::keyClicks(&box(*main, "TxtSD2"), "2");
        frmPlan* plan = openPlan(*main);
        QVERIFY(plan != nullptr);
        QVERIFY(named<QRadioButton>(*plan, "Equivalence test").isChecked());
        choose(named<QRadioButton>(*plan, "Minimal-effect test"));
        setChecked(named<QCheckBox>(*plan, "Bounds in SD units"), true);
        const QString where = QStringLiteral("Where the numbers come from");
        QCOMPARE(named<QLabel>(*plan, where).text(),
                 QStringLiteral("The calculator holds other numbers: a bound of 1 in raw units "
                                "(here 1 SD)."));
        QTest::mouseClick(&named<QPushButton>(*plan, "Close"), Qt::LeftButton);
        QCOMPARE(openPlan(*main), plan);
        QVERIFY(named<QRadioButton>(*plan, "Minimal-effect test").isChecked());
        QVERIFY(named<QCheckBox>(*plan, "Bounds in SD units").isChecked());
        QTest::mouseClick(&named<QPushButton>(*plan, "Take the calculator's numbers"),
                          Qt::LeftButton);
        QVERIFY(!named<QCheckBox>(*plan, "Bounds in SD units").isChecked());
        QVERIFY(named<QRadioButton>(*plan, "Minimal-effect test").isChecked());
        QCOMPARE(
            named<QLabel>(*plan, where).text(),
            QStringLiteral("These are the calculator's numbers: a bound of 1 and an SD of 2."));
    }

    void enterPressesTheFocusedButtonAndEscapeCloses() {
        Recorder recorder;
        auto main = showWindow(recorder);
        frmPlan* plan = openPlan(*main);
        QVERIFY(plan != nullptr);
        QPointer<frmPlan> watched = plan;
        auto& ninety = named<QPushButton>(*plan, "Target power 90%");
        ninety.setFocus();
        QTest::keyClick(&ninety, Qt::Key_Return);
        QTRY_COMPARE(field(*plan, "Target power").text(), QStringLiteral("0.9"));
        // Enter in a box presses nothing.
        auto& sd = field(*plan, "Standard deviation");
        QTest::keyClick(&sd, Qt::Key_Return);
        QTest::qWait(100);
        QVERIFY(plan->isVisible());
        // A second press of Plan brings the same window forward.
        QTest::mouseClick(&control<QPushButton>(*main, "cmdPlan"), Qt::LeftButton);
        QCOMPARE(main->findChildren<frmPlan*>().size(), 1);
        QTest::keyClick(&sd, Qt::Key_Escape);
        QTRY_VERIFY(watched.isNull() || !watched->isVisible());
    }
};

QTEST_MAIN(PlanWindowTest)
#include "plan_window_test.moc"
