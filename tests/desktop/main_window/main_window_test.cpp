// The calculator window as it opens: its controls, colours, focus, tab order,
// access keys, captions and names for screen readers.

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QSignalSpy>
#include <QStyleOptionButton>
#include <QTest>

#include "box_names.h"
#include "frmCredits.h"
#include "look.h"
#include "ui_test_support.h"

using namespace tarnwick;
using namespace tarnwick::testing;

namespace {

QColor colour(Colour value) { return toQColor(value, QApplication::palette()); }

QString fromView(std::string_view name) {
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

// A caption as the user reads it: without the access-key mark and with the
// line breaks that fit it into its button read as spaces.
QString spoken(QString caption) { return caption.remove(u'&').replace(u'\n', u' '); }

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { prepareApplication(); }

    void startState() {
        Recorder recorder;
        auto window = showWindow(recorder);

        QCOMPARE(window->windowTitle(),
                 QStringLiteral("Two One Sided Test (TOST) For Equivalence"));
        QCOMPARE(window->size(), QSize(1054, 640));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        const Qt::WindowFlags flags = window->windowFlags();
        QVERIFY(flags & Qt::WindowMinimizeButtonHint);
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(!window->windowIcon().pixmap(32, 32).isNull());

        QCOMPARE(objectNameOf(QApplication::focusWidget()), QStringLiteral("TxtMean1"));
        QVERIFY(control<QRadioButton>(*window, "opIndependent").isChecked());
        QVERIFY(!control<QRadioButton>(*window, "opMatched").isChecked());
        QVERIFY(control<QRadioButton>(*window, "OpStudent").isChecked());
        QVERIFY(!control<QRadioButton>(*window, "OpWelch").isChecked());

        const QList<QLineEdit*> boxes = window->findChildren<QLineEdit*>();
        QCOMPARE(boxes.size(), 35);
        for (const QLineEdit* box : boxes) {
            QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
            const bool matchedInput = box->objectName() == QStringLiteral("TxtMeanDiff") ||
                                      box->objectName() == QStringLiteral("TxtSDMatched");
            QCOMPARE(box->isEnabled(), !matchedInput);
        }
        // Every control shows, and nothing beyond the 85 of the layout and the
        // report, data and plan commands.
        int controls = 0;
        for (const QWidget* child : window->findChildren<QWidget*>()) {
            if (!child->objectName().startsWith(QStringLiteral("qt_"))) {
                QVERIFY2(child->isVisible(), qPrintable(child->objectName()));
                ++controls;
            }
        }
        QCOMPARE(controls, 88);
    }

    void boxColours_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Colour>("background");
        QTest::addColumn<Colour>("text");
        for (const std::string_view name : names::groupBoxes) {
            QTest::addRow("%s white", name.data())
                << fromView(name) << colours::white << colours::black;
        }
        QTest::newRow("non-trivial difference cyan")
            << "TxtNotTrivial" << colours::cyan << colours::black;
        QTest::newRow("matched mean difference off")
            << "TxtMeanDiff" << colours::buttonFace << colours::black;
        QTest::newRow("matched SD off") << "TxtSDMatched" << colours::buttonFace << colours::black;
        const auto& red = names::initiallyRedResultBoxes;
        for (const std::string_view name : names::resultBoxes) {
            const bool isRed = std::find(red.begin(), red.end(), name) != red.end();
            QTest::addRow("%s result", name.data())
                << fromView(name) << colours::buttonFace << (isRed ? colours::red : colours::black);
        }
    }

    void boxColours() {
        QFETCH(QString, name);
        QFETCH(Colour, background);
        QFETCH(Colour, text);
        Recorder recorder;
        frmBrevant window(recorder.platform());
        const QLineEdit& target = box(window, qPrintable(name));
        // The colours hold in every state, including without the focus.
        for (const auto group : {QPalette::Active, QPalette::Inactive}) {
            QCOMPARE(target.palette().color(group, QPalette::Base), colour(background));
            QCOMPARE(target.palette().color(group, QPalette::Text), colour(text));
        }
    }

    void resultBoxesAreClickOnly() {
        Recorder recorder;
        auto window = showWindow(recorder);
        for (const std::string_view name : names::resultBoxes) {
            QLineEdit& result = box(*window, fromView(name).toLatin1().constData());
            QCOMPARE(result.focusPolicy(), Qt::ClickFocus);
            QVERIFY(!result.isReadOnly());
        }
        // Typing into a result box passes no filter, and shows in its colour.
        QLineEdit& onePTailed = box(*window, "TxtWelch1PT");
        QTest::mouseClick(&onePTailed, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), &onePTailed);
        QTest::keyClicks(&onePTailed, "a-b.c");
        QCOMPARE(onePTailed.text(), QStringLiteral("a-b.c"));
        QCOMPARE(onePTailed.palette().color(QPalette::Text), colour(colours::red));
    }

    void layoutInTwips_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("container");
        QTest::addColumn<QRect>("twips");
        QTest::newRow("group box on the window") << "TxtMean1"
                                                 << "frmBrevant" << QRect(1860, 360, 1575, 375);
        QTest::newRow("wrapped label") << "LblTrivial"
                                       << "frmBrevant" << QRect(9720, 660, 3135, 495);
        QTest::newRow("design frame") << "Frame2"
                                      << "frmBrevant" << QRect(120, 1800, 8655, 1095);
        QTest::newRow("box inside a frame") << "TxtSDMatched"
                                            << "Frame2" << QRect(6480, 705, 1575, 285);
        QTest::newRow("short option") << "OpWelch"
                                      << "Frame1" << QRect(3720, 510, 1095, 195);
        // The plan button sits in the free space between the run and Start again,
        // as large as they are, and neither moved for it.
        QTest::newRow("run button") << "cmdDoIt"
                                    << "frmBrevant" << QRect(14160, 3720, 1455, 495);
        QTest::newRow("plan button") << "cmdPlan"
                                     << "frmBrevant" << QRect(14160, 4500, 1455, 495);
        QTest::newRow("start again") << "cmdNew"
                                     << "frmBrevant" << QRect(14160, 5280, 1455, 495);
        QTest::newRow("button below credits") << "cmdExit"
                                              << "frmBrevant" << QRect(14160, 8880, 1455, 495);
        QTest::newRow("independent result") << "TxtDFUsed"
                                            << "fr1" << QRect(5400, 4320, 1215, 285);
        QTest::newRow("matched verdict") << "TxtMatchedInterpretation"
                                         << "Frame3" << QRect(360, 5160, 6135, 375);
        QTest::newRow("matched frame") << "Frame3"
                                       << "frmBrevant" << QRect(7200, 3600, 6735, 5775);
    }

    void layoutInTwips() {
        QFETCH(QString, name);
        QFETCH(QString, container);
        QFETCH(QRect, twips);
        Recorder recorder;
        frmBrevant window(recorder.platform());
        const auto* widget = window.findChild<QWidget*>(name);
        QVERIFY(widget != nullptr);
        QCOMPARE(widget->parentWidget()->objectName(), container);
        QCOMPARE(widget->geometry(),
                 QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
    }

    void everyCaptionFits() {
        Recorder recorder;
        frmBrevant window(recorder.platform());
        frmCredits credits({}, &window);
        for (QWidget* form : {static_cast<QWidget*>(&window), static_cast<QWidget*>(&credits)}) {
            for (const QLabel* label : form->findChildren<QLabel*>()) {
                const QFontMetricsF metrics(label->font());
                const QRectF needed = metrics.boundingRect(QRectF(0, 0, label->width(), 1000),
                                                           Qt::TextWordWrap, label->text());
                // The last line's leading may overhang by a fraction of a pixel.
                QVERIFY2(needed.width() <= label->width() &&
                             needed.height() - metrics.leading() <= label->height() + 0.5,
                         qPrintable(label->objectName()));
            }
            for (const QAbstractButton* button : form->findChildren<QAbstractButton*>()) {
                QStyleOptionButton option;
                option.initFrom(button);
                const bool radio = qobject_cast<const QRadioButton*>(button) != nullptr;
                const QRect room = button->style()->subElementRect(
                    radio ? QStyle::SE_RadioButtonContents : QStyle::SE_PushButtonContents, &option,
                    button);
                const QRectF needed =
                    QFontMetricsF(button->font())
                        .boundingRect(QRectF(room), Qt::TextShowMnemonic, button->text());
                QVERIFY2(needed.width() <= room.width() && needed.height() <= room.height() + 0.5,
                         qPrintable(button->objectName()));
                if (radio) {
                    const QRect circle = button->style()->subElementRect(
                        QStyle::SE_RadioButtonIndicator, &option, button);
                    QVERIFY2(button->rect().contains(circle), qPrintable(button->objectName()));
                }
            }
            for (const QGroupBox* frame : form->findChildren<QGroupBox*>()) {
                const qreal width = QFontMetricsF(frame->font()).horizontalAdvance(frame->title());
                QVERIFY2(width < frame->width(), qPrintable(frame->objectName()));
            }
        }
    }

    void frameLinesCrossNoControl_data() {
        QTest::addColumn<qreal>("scale");
        QTest::newRow("96 dpi") << 1.0;
        QTest::newRow("200%") << 2.0;
    }

    void frameLinesCrossNoControl() {
        QFETCH(qreal, scale);
        Recorder recorder;
        frmBrevant window(recorder.platform());
        for (QGroupBox* frame : window.findChildren<QGroupBox*>()) {
            // What the frame itself draws, its border and caption, without
            // its controls on top to hide a line running under them.
            QImage drawn(frame->size() * scale, QImage::Format_RGB32);
            drawn.setDevicePixelRatio(scale);
            const QColor background = frame->palette().color(QPalette::Window);
            drawn.fill(background);
            frame->render(&drawn, QPoint(), QRegion(), QWidget::RenderFlags());
            const QColor inside = drawn.pixelColor(drawn.width() / 2, drawn.height() / 2);
            for (const QWidget* child : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                const QRect area(child->pos() * scale, child->size() * scale);
                for (int y = area.top(); y <= area.bottom(); ++y) {
                    for (int x = area.left(); x <= area.right(); ++x) {
                        const QColor pixel = drawn.pixelColor(x, y);
                        QVERIFY2(pixel == background || pixel == inside,
                                 qPrintable(QStringLiteral("%1 drawn over %2 at %3,%4")
                                                .arg(frame->objectName(), child->objectName())
                                                .arg(x)
                                                .arg(y)));
                    }
                }
            }
        }
    }

    void toolTipsOnTheThirteenControlsOnly() {
        Recorder recorder;
        frmBrevant window(recorder.platform());
        QSet<QString> withTips;
        for (const QWidget* child : window.findChildren<QWidget*>()) {
            if (!child->toolTip().isEmpty()) {
                withTips.insert(child->objectName());
            }
        }
        const QSet<QString> expected = {"Frame1",    "OpStudent",     "OpWelch",   "opIndependent",
                                        "opMatched", "cmdDoIt",       "cmdNew",    "cmdCredits",
                                        "cmdExit",   "TxtNotTrivial", "cmdReport", "cmdData",
                                        "cmdPlan"};
        QCOMPARE(withTips, expected);
        // The tips are the program's own words, slips included.
        QCOMPARE(control<QRadioButton>(window, "OpStudent").toolTip(),
                 QStringLiteral("Use Student's t when you have equal numbers and no heterogeneigty "
                                "between the groups. If usure, select this one."));
    }

    void tabOrder_data() {
        QTest::addColumn<bool>("matched");
        QTest::addColumn<bool>("welch");
        QTest::addColumn<QStringList>("order");
        const QStringList common = {"TxtMean1", "TxtSD1",        "TxtN1",     "TxtMean2", "TxtSD2",
                                    "TxtN2",    "TxtNotTrivial", "cmdDoIt",   "cmdPlan",  "cmdData",
                                    "cmdNew",   "cmdExit",       "cmdCredits"};
        QTest::newRow("independent, Student's t")
            << false << false << (common + QStringList{"opIndependent", "OpStudent", "TxtMean1"});
        QTest::newRow("matched, Welch's t")
            << true << true
            << (common +
                QStringList{"TxtMeanDiff", "TxtSDMatched", "opMatched", "OpWelch", "TxtMean1"});
    }

    void tabOrder() {
        QFETCH(bool, matched);
        QFETCH(bool, welch);
        QFETCH(QStringList, order);
        Recorder recorder;
        auto window = showWindow(recorder);
        if (matched) {
            QTest::mouseClick(&control<QRadioButton>(*window, "opMatched"), Qt::LeftButton);
        }
        if (welch) {
            QTest::mouseClick(&control<QRadioButton>(*window, "OpWelch"), Qt::LeftButton);
        }
        box(*window, "TxtMean1").setFocus();
        QStringList visited = {objectNameOf(QApplication::focusWidget())};
        for (qsizetype step = 1; step < order.size(); ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << objectNameOf(QApplication::focusWidget());
        }
        QCOMPARE(visited, order);
        // And back again with Shift+Tab.
        QStringList reversed;
        for (qsizetype step = 1; step < order.size(); ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            reversed.prepend(objectNameOf(QApplication::focusWidget()));
        }
        QCOMPARE(reversed, order.mid(0, order.size() - 1));
    }

    void accessKeys_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("key");
        QTest::newRow("Alt+O runs") << "cmdDoIt" << int(Qt::Key_O);
        QTest::newRow("Alt+S starts again") << "cmdNew" << int(Qt::Key_S);
        QTest::newRow("Alt+C shows the credits") << "cmdCredits" << int(Qt::Key_C);
        QTest::newRow("Alt+X exits") << "cmdExit" << int(Qt::Key_X);
        QTest::newRow("Alt+P plans") << "cmdPlan" << int(Qt::Key_P);
    }

    void accessKeys() {
        QFETCH(QString, button);
        QFETCH(int, key);
        Recorder recorder;
        auto window = showWindow(recorder);
        QSignalSpy clicks(&control<QPushButton>(*window, qPrintable(button)),
                          &QAbstractButton::clicked);
        whileModal(
            [&] {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::AltModifier);
                // The button shows itself pressed for a moment before it clicks.
                QTRY_COMPARE(clicks.size(), 1);
            },
            [](QWidget&) {});
    }

    void enterAndEscapePressNoButton() {
        Recorder recorder;
        auto window = showWindow(recorder);
        std::vector<std::unique_ptr<QSignalSpy>> spies;
        for (QPushButton* button : window->findChildren<QPushButton*>()) {
            QVERIFY(!button->isDefault() && !button->autoDefault());
            spies.push_back(std::make_unique<QSignalSpy>(button, &QAbstractButton::clicked));
        }
        QTest::keyClick(&box(*window, "TxtMean1"), Qt::Key_Return);
        QTest::keyClick(&box(*window, "TxtMean1"), Qt::Key_Enter, Qt::KeypadModifier);
        QTest::keyClick(&box(*window, "TxtMean1"), Qt::Key_Escape);
        QTest::qWait(200);
        for (const auto& spy : spies) {
            QCOMPARE(spy->size(), 0);
        }
        QVERIFY(window->isVisible());
        QVERIFY(recorder.messages.empty());
    }

    void enterPressesTheFocusedButton_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Return on Start again") << "cmdNew" << int(Qt::Key_Return) << 0;
        QTest::newRow("Return on Plan") << "cmdPlan" << int(Qt::Key_Return) << 0;
        QTest::newRow("keypad Enter on Exit")
            << "cmdExit" << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
    }

    void enterPressesTheFocusedButton() {
        QFETCH(QString, button);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        Recorder recorder;
        auto window = showWindow(recorder);
        auto& pressed = control<QPushButton>(*window, qPrintable(button));
        QSignalSpy clicks(&pressed, &QAbstractButton::clicked);
        pressed.setFocus();
        QTest::keyClick(&pressed, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QVERIFY(!pressed.isDefault());
        QTRY_COMPARE(clicks.size(), 1);
        QTest::qWait(200);
        QCOMPARE(clicks.size(), 1);
    }

    void accessibleNames() {
        Recorder recorder;
        frmBrevant window(recorder.platform());
        QSet<QString> seen;
        for (const QLineEdit* box : window.findChildren<QLineEdit*>()) {
            const QString name = box->accessibleName();
            QVERIFY2(!name.isEmpty(), qPrintable(box->objectName()));
            QVERIFY2(!seen.contains(name), qPrintable(name));
            seen.insert(name);
        }
        for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
            QCOMPARE(button->accessibleName(), spoken(button->text()));
            QVERIFY2(!seen.contains(button->accessibleName()), qPrintable(button->objectName()));
            seen.insert(button->accessibleName());
        }
        QCOMPARE(box(window, "TxtMean1").accessibleName(), QStringLiteral("Group 1 Mean"));
        QCOMPARE(box(window, "TxtWelch2PT").accessibleName(),
                 QStringLiteral("Welch's two tailed p"));
        QCOMPARE(box(window, "TxtMatched2P").accessibleName(),
                 QStringLiteral("Matched samples two tailed p"));
        QCOMPARE(box(window, "TxtInterpretation").accessibleName(),
                 QStringLiteral("Independent samples verdict"));
        QCOMPARE(box(window, "TxtMatchedInterpretation").accessibleName(),
                 QStringLiteral("Matched samples verdict"));
        QCOMPARE(control<QPushButton>(window, "cmdExit").accessibleName(),
                 QStringLiteral("Exit - get me out of here!!"));
    }

    void centring_data() {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QPoint>("topLeft");
        QTest::newRow("roomy screen") << QRect(0, 0, 1920, 1080) << QPoint(433, 220);
        QTest::newRow("screen with a panel") << QRect(0, 32, 1280, 768) << QPoint(113, 96);
        QTest::newRow("screen too small keeps the title bar on it")
            << QRect(0, 0, 800, 600) << QPoint(0, 0);
    }

    void centring() {
        QFETCH(QRect, available);
        QFETCH(QPoint, topLeft);
        QCOMPARE(centredTopLeft(QSize(1054, 640), available), topLeft);
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
