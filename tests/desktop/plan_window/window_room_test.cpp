// Room on a small screen: the planning window opens beside the calculator's
// command buttons, never over them, and the planning and scores windows fit
// a 1366x768 screen with their frames. The placement rule is checked on
// hand-worked screens (a panel, a title bar, the calculator near either
// edge); the windows themselves on an offscreen screen of 1366x736, what
// 1366x768 leaves beside a 32-pixel panel (the offscreen platform has no
// panels of its own).

#include <QComboBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "frmPlan.h"
#include "plan_placement.h"
#include "screen_room.h"
#include "ui_test_support.h"

Q_DECLARE_METATYPE(std::optional<QRect>)

namespace tarnwick {
namespace {

using testing::control;

template <typename Widget>
Widget* named(QWidget& root, const QString& accessibleName) {
    for (Widget* widget : root.findChildren<Widget*>())
        if (widget->accessibleName() == accessibleName) return widget;
    return nullptr;
}

// The planning window as the form asks it: 1000x640, no smaller than 847x582.
const QSize planWanted(1000, 640), planMinimum(847, 582);
// A title bar of 21 pixels and borders of 1, as openbox draws them.
const QMargins titleBar(1, 21, 1, 1);

class WindowRoomTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testing::prepareApplication(); }

    void placesThePlanClearOfTheCommands_data() {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("keepClear");
        QTest::addColumn<std::optional<QRect>>("placed");
        // The calculator centred on 1366x768 less a 32-pixel panel: its
        // buttons at x 1102 to 1198; the plan opens to their left, whole.
        QTest::newRow("1366x768 with a panel")
            << QRect(0, 0, 1366, 736) << QRect(1102, 352, 97, 377)
            << std::optional(QRect(93, 58, 1000, 640));
        // Less room than the window wants below the title bar: as tall as
        // the room, but never below the form's minimum.
        QTest::newRow("a short screen: the minimum height")
            << QRect(0, 0, 1366, 600) << QRect(1102, 300, 97, 277)
            << std::optional(QRect(93, 21, 1000, 582));
        QTest::newRow("a screen a little taller than the window")
            << QRect(0, 0, 1366, 650) << QRect(1102, 300, 97, 277)
            << std::optional(QRect(93, 21, 1000, 628));
        // The calculator moved near the left edge: narrower, still clear.
        QTest::newRow("less room on either side: the wider")
            << QRect(0, 0, 1920, 1050) << QRect(950, 300, 97, 377)
            << std::optional(QRect(1, 215, 940, 640));
        QTest::newRow("more room to the right")
            << QRect(0, 0, 1920, 1050) << QRect(100, 300, 97, 377)
            << std::optional(QRect(206, 215, 1000, 640));
        // A second screen to the right of the first, its panel at the top.
        QTest::newRow("a screen at an offset")
            << QRect(1920, 40, 1366, 728) << QRect(3022, 352, 97, 377)
            << std::optional(QRect(2013, 94, 1000, 640));
        QTest::newRow("no room for the minimum width")
            << QRect(0, 0, 1024, 768) << QRect(500, 300, 97, 377) << std::optional<QRect>();
    }
    void placesThePlanClearOfTheCommands() {
        QFETCH(QRect, available);
        QFETCH(QRect, keepClear);
        QFETCH(std::optional<QRect>, placed);
        const std::optional<QRect> place =
            planner::placeClearOf(planWanted, planMinimum, available, titleBar, keepClear);
        QCOMPARE(place, placed);
        if (!place) return;
        const QRect framed = place->marginsAdded(titleBar);
        QVERIFY(!framed.intersects(keepClear));
        if (place->height() > planMinimum.height()) QVERIFY(available.contains(framed));
    }

    // On a 1366x768 screen with a panel the planning window, opened from the calculator,
    // leaves every one of its buttons in view; the scores report fits with
    // room for a title bar.
    void windowsFitTheSmallScreen() {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(screen.size(), QSize(1366, 736));
        testing::Recorder recorder;
        Platform platform = recorder.platform();
        auto main = std::make_unique<frmBrevant>(platform);
        main->show();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        QTest::mouseClick(&control<QPushButton>(*main, "cmdPlan"), Qt::LeftButton);
        auto* plan = main->findChild<frmPlan*>();
        QVERIFY(plan != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(plan));
        const QRect planFrame = plan->frameGeometry();
        QVERIFY(screen.contains(planFrame));
        for (QPushButton* button : main->findChildren<QPushButton*>()) {
            if (button->window() != main.get()) continue;
            const QRect where(button->mapToGlobal(QPoint(0, 0)), button->size());
            QVERIFY2(!planFrame.intersects(where), qPrintable(button->objectName()));
        }
        plan->close();

        // The scores report, 800x740 as drawn, keeps a title bar's room.
        bool opened = false;
        QVERIFY(testing::whileModal(
            [&] { QTest::mouseClick(&control<QPushButton>(*main, "cmdData"), Qt::LeftButton); },
            [&](QWidget& data) {
                QVERIFY(QTest::qWaitForWindowActive(&data));
                named<QPlainTextEdit>(data, QStringLiteral("Pasted scores"))
                    ->setPlainText(QStringLiteral("a,b\n1,2\n3,5\n5,8\n2,2\n"));
                auto* analyse = named<QPushButton>(data, QStringLiteral("Analyse the scores..."));
                QVERIFY(analyse != nullptr && analyse->isEnabled());
                opened = testing::whileModal(
                    [&] { QTest::mouseClick(analyse, Qt::LeftButton); },
                    [&](QWidget& scores) {
                        QVERIFY(QTest::qWaitForWindowExposed(&scores));
                        const QMargins frame = windowFrame(&scores);
                        // Where it sits is the window system's (it centres a dialog on
                        // its owner); that it can sit whole is the window's.
                        QVERIFY2(scores.frameGeometry().height() <= screen.height(),
                                 qPrintable(QString::number(scores.frameGeometry().height())));
                        QVERIFY2(scores.height() + frame.top() + frame.bottom() <= screen.height(),
                                 qPrintable(QString::number(scores.height())));
                    });
            }));
        QVERIFY(opened);
    }

    // Every access key of the planning window is its control's alone, and
    // the test's two choices each have one.
    void everyAccessKeyOnce() {
        frmPlan plan(planner::PlanForm{});
        const QMultiMap<QChar, QString> keys = testing::accessKeys(plan);
        for (const QChar key : keys.uniqueKeys())
            QVERIFY2(keys.count(key) == 1, qPrintable(QStringList(keys.values(key)).join(" / ")));
        for (const char* choice : {"Equivalence test", "Minimal-effect test"})
            QVERIFY2(named<QRadioButton>(plan, QString::fromLatin1(choice))->text().contains(u'&'),
                     choice);
    }
};

}  // namespace
}  // namespace tarnwick

int main(int argc, char** argv) {
    // The room a small laptop's 1366x768 screen leaves beside a panel.
    QTemporaryDir folder;
    const QString config = folder.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) return 2;
    file.write(R"({"screens": [{"name": "small", "x": 0, "y": 0, "width": 1366, "height": 736,
                  "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
    QApplication app(argc, argv);
    tarnwick::WindowRoomTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "window_room_test.moc"
