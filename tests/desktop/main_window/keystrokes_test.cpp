// What the input boxes let through from the keyboard, typed with real key
// events into the real window, and what entering a box selects.

#include <QApplication>
#include <QClipboard>
#include <QRadioButton>
#include <QTest>
#include <memory>

#include "ui_test_support.h"

using namespace tarnwick;
using namespace tarnwick::testing;

namespace {

// Puts text into a box as if typed earlier, with the caret (and selection)
// where the row wants it: a selection of length -1 selects everything.
void prepare(QLineEdit& box, const QString& text, int caret, int selectionLength) {
    box.setFocus();
    box.setText(text);
    if (selectionLength < 0) {
        box.selectAll();
    } else {
        box.setSelection(caret, selectionLength);
    }
}

}  // namespace

class KeystrokesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { prepareApplication(); }

    void init() {
        window_ = showWindow(recorder_);
        // Switch the matched boxes on so that their filters can be typed into.
        QTest::mouseClick(&control<QRadioButton>(*window_, "opMatched"), Qt::LeftButton);
    }

    void cleanup() { window_.reset(); }

    void typing_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("caret");
        QTest::addColumn<int>("selection");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");

        QTest::newRow("empty mean takes a minus") << "TxtMean1"
                                                  << "" << 0 << 0 << "-"
                                                  << "-";
        QTest::newRow("second minus at the end") << "TxtMean1"
                                                 << "-5" << 2 << 0 << "-"
                                                 << "-5";
        QTest::newRow("second minus at the start") << "TxtMean1"
                                                   << "-5" << 0 << 0 << "-"
                                                   << "-5";
        QTest::newRow("minus inside a number") << "TxtMean2"
                                               << "25" << 1 << 0 << "-"
                                               << "25";
        QTest::newRow("minus over a selected minus") << "TxtMean1"
                                                     << "-3" << 0 << -1 << "-"
                                                     << "-";
        QTest::newRow("minus over the selected minus and a digit") << "TxtMean2"
                                                                   << "-35" << 0 << 2 << "-"
                                                                   << "-5";
        QTest::newRow("minus over a selection after the minus") << "TxtMean1"
                                                                << "-35" << 1 << 1 << "-"
                                                                << "-35";
        QTest::newRow("digit over a selection") << "TxtMean1"
                                                << "-3" << 0 << -1 << "7"
                                                << "7";
        QTest::newRow("minus over a selected number") << "TxtMean2"
                                                      << "25" << 0 << -1 << "-"
                                                      << "-";
        QTest::newRow("point over a selected point") << "TxtMean1"
                                                     << "1.5" << 0 << -1 << "."
                                                     << ".";
        QTest::newRow("point over a selection that keeps the point") << "TxtMean1"
                                                                     << "1.5" << 0 << 1 << "."
                                                                     << "1.5";
        QTest::newRow("digit before the minus") << "TxtMean1"
                                                << "-5" << 0 << 0 << "3"
                                                << "3-5";
        QTest::newRow("lone minus and point") << "TxtMean2"
                                              << "" << 0 << 0 << "-."
                                              << "-.";
        QTest::newRow("signed decimal typed through") << "TxtMean1"
                                                      << "" << 0 << 0 << "-12.5.3-x"
                                                      << "-12.53";
        QTest::newRow("matched mean difference is signed") << "TxtMeanDiff"
                                                           << "" << 0 << 0 << "-0.5"
                                                           << "-0.5";
        QTest::newRow("leading zeros in a mean") << "TxtMean1"
                                                 << "" << 0 << 0 << "007"
                                                 << "007";

        for (const char* unsignedBox : {"TxtSD1", "TxtSD2", "TxtSDMatched", "TxtNotTrivial"}) {
            QTest::addRow("%s refuses minus", unsignedBox) << unsignedBox << "" << 0 << 0 << "-1.5"
                                                           << "1.5";
            QTest::addRow("%s one point", unsignedBox) << unsignedBox << "" << 0 << 0 << "0.2.5"
                                                       << "0.25";
        }
        for (const char* unsignedBox : {"TxtSD1", "TxtSDMatched", "TxtNotTrivial"}) {
            QTest::addRow("%s retyped from a point", unsignedBox)
                << unsignedBox << "2.5" << 0 << -1 << ".8"
                << ".8";
        }
        QTest::newRow("SD point over a selection that keeps the point") << "TxtSD2"
                                                                        << "2.5" << 2 << 1 << "."
                                                                        << "2.5";
        QTest::newRow("lone point in an SD") << "TxtSD2"
                                             << "" << 0 << 0 << "."
                                             << ".";
        for (const char* sizeBox : {"TxtN1", "TxtN2"}) {
            QTest::addRow("%s whole numbers only", sizeBox) << sizeBox << "" << 0 << 0 << "1.5-2"
                                                            << "152";
            QTest::addRow("%s leading zeros", sizeBox) << sizeBox << "" << 0 << 0 << "010"
                                                       << "010";
        }
        for (const char* any : {"TxtMean1", "TxtSD1", "TxtN1", "TxtNotTrivial", "TxtSDMatched"}) {
            QTest::addRow("%s refuses space, letters, plus, comma", any)
                << any << "" << 0 << 0 << " a+,E1"
                << "1";
        }
    }

    void typing() {
        QFETCH(QString, box);
        QFETCH(QString, before);
        QFETCH(int, caret);
        QFETCH(int, selection);
        QFETCH(QString, typed);
        QFETCH(QString, after);
        QLineEdit& target = tarnwick::testing::box(*window_, qPrintable(box));
        prepare(target, before, caret, selection);
        QTest::keyClicks(&target, typed);
        QCOMPARE(target.text(), after);
    }

    void controlKeys_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("selectAll");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("after");
        const int none = Qt::NoModifier;
        const int ctrl = Qt::ControlModifier;
        const int shift = Qt::ShiftModifier;
        // "999" is on the clipboard throughout.
        QTest::newRow("backspace deletes")
            << "TxtMean1"
            << "12.5" << false << int(Qt::Key_Backspace) << none << "12.";
        QTest::newRow("backspace in a size")
            << "TxtN1"
            << "125" << false << int(Qt::Key_Backspace) << none << "12";
        QTest::newRow("Ctrl+V pastes nothing")
            << "TxtMean1"
            << "12.5" << false << int(Qt::Key_V) << ctrl << "12.5";
        QTest::newRow("Shift+Insert pastes nothing")
            << "TxtN2"
            << "12" << false << int(Qt::Key_Insert) << shift << "12";
        QTest::newRow("Ctrl+X cuts nothing") << "TxtSD2"
                                             << "1.5" << true << int(Qt::Key_X) << ctrl << "1.5";
        QTest::newRow("Shift+Delete cuts nothing")
            << "TxtSD1"
            << "1.5" << true << int(Qt::Key_Delete) << shift << "1.5";
        QTest::newRow("Ctrl+Z undoes nothing") << "TxtNotTrivial"
                                               << "0.5" << false << int(Qt::Key_Z) << ctrl << "0.5";
    }

    void controlKeys() {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(bool, selectAll);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, after);
        QApplication::clipboard()->setText(QStringLiteral("999"));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("999"));
        QLineEdit& target = tarnwick::testing::box(*window_, qPrintable(box));
        prepare(target, QString(), 0, 0);
        QTest::keyClicks(&target, typed);
        QCOMPARE(target.text(), typed);
        if (selectAll) {
            target.selectAll();
        }
        QTest::keyClick(&target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(target.text(), after);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("999"));
        QVERIFY(recorder_.messages.empty());
    }

    void navigationKeysMoveTheCaret() {
        QLineEdit& target = box(*window_, "TxtN2");
        prepare(target, QStringLiteral("1234"), 4, 0);
        QTest::keyClick(&target, Qt::Key_Home);
        QCOMPARE(target.cursorPosition(), 0);
        QTest::keyClick(&target, Qt::Key_End);
        QCOMPARE(target.cursorPosition(), 4);
        QTest::keyClick(&target, Qt::Key_Left);
        QCOMPARE(target.cursorPosition(), 3);
    }

    void deleteIsNotFiltered() {
        QLineEdit& target = box(*window_, "TxtMean1");
        prepare(target, QStringLiteral("-12"), 0, 0);
        QTest::keyClick(&target, Qt::Key_Delete);
        QCOMPARE(target.text(), QStringLiteral("12"));
    }

    void copyAndSelectAllShortcutsDoNothing() {
        QApplication::clipboard()->setText(QStringLiteral("999"));
        QLineEdit& target = box(*window_, "TxtSD1");
        prepare(target, QStringLiteral("4.5"), 0, 3);
        QTest::keyClick(&target, Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(&target, Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("999"));
        target.setCursorPosition(3);
        QTest::keyClick(&target, Qt::Key_A, Qt::ControlModifier);
        QVERIFY(!target.hasSelectedText());
        QTest::keyClicks(&target, "1");
        QCOMPARE(target.text(), QStringLiteral("4.51"));
    }

    void contextMenuPastePassesUnfiltered() {
        QApplication::clipboard()->setText(QStringLiteral("x-1"));
        QLineEdit& target = box(*window_, "TxtN1");
        prepare(target, QString(), 0, 0);
        // What the box's context menu runs for Paste: no key press, no filter.
        target.paste();
        QCOMPARE(target.text(), QStringLiteral("x-1"));
    }

    void selectOnEntry_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");
        QTest::newRow("Tab into a size") << "TxtSD1" << int(Qt::Key_Tab) << "TxtN1"
                                         << "25"
                                         << "3"
                                         << "3";
        QTest::newRow("Tab into a mean") << "TxtN1" << int(Qt::Key_Tab) << "TxtMean2"
                                         << "-3"
                                         << "-7"
                                         << "-7";
        QTest::newRow("Shift+Tab into the mean difference")
            << "TxtSDMatched" << int(Qt::Key_Backtab) << "TxtMeanDiff"
            << "-1.5"
            << "-2.5"
            << "-2.5";
        QTest::newRow("Tab into the non-trivial difference")
            << "TxtN2" << int(Qt::Key_Tab) << "TxtNotTrivial"
            << "0.5"
            << ".25"
            << ".25";
        QTest::newRow("Shift+Tab into a size") << "TxtNotTrivial" << int(Qt::Key_Backtab) << "TxtN2"
                                               << "40"
                                               << "7"
                                               << "7";
        QTest::newRow("Tab into an SD") << "TxtMean1" << int(Qt::Key_Tab) << "TxtSD1"
                                        << "2.5"
                                        << ".8"
                                        << ".8";
        QTest::newRow("Tab into an SD, then a digit") << "TxtMean1" << int(Qt::Key_Tab) << "TxtSD1"
                                                      << "1.5"
                                                      << "2"
                                                      << "2";
        QTest::newRow("Tab into an empty box") << "TxtSD2" << int(Qt::Key_Tab) << "TxtN2"
                                               << ""
                                               << "9"
                                               << "9";
    }

    void selectOnEntry() {
        QFETCH(QString, from);
        QFETCH(int, key);
        QFETCH(QString, to);
        QFETCH(QString, text);
        QFETCH(QString, typed);
        QFETCH(QString, after);
        QLineEdit& entered = box(*window_, qPrintable(to));
        entered.setText(text);
        entered.setCursorPosition(text.size() > 1 ? 1 : 0);
        entered.deselect();
        box(*window_, qPrintable(from)).setFocus();
        const auto modifiers = key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
        QCOMPARE(QApplication::focusWidget(), &entered);
        QCOMPARE(entered.selectedText(), text);
        QCOMPARE(entered.hasSelectedText() ? entered.selectionStart() : entered.cursorPosition(),
                 0);
        QTest::keyClicks(&entered, typed);
        QCOMPARE(entered.text(), after);
    }

    void focusFromCodeSelectsToo() {
        QLineEdit& target = box(*window_, "TxtSD2");
        target.setText(QStringLiteral("0.75"));
        target.setCursorPosition(2);
        target.setFocus();
        QCOMPARE(target.selectedText(), QStringLiteral("0.75"));
        // The boxes without a got-focus procedure keep their caret.
        QLineEdit& notTrivial = box(*window_, "TxtNotTrivial");
        notTrivial.setText(QStringLiteral("0.75"));
        notTrivial.setCursorPosition(2);
        notTrivial.setFocus();
        QVERIFY(!notTrivial.hasSelectedText());
    }

    void procedureSelectsWithTheCaretAtTheStart() {
        QLineEdit& target = box(*window_, "TxtMean2");
        target.setText(QStringLiteral("12.5"));
        window_->TxtMean2_GotFocus();
        QCOMPARE(target.selectedText(), QStringLiteral("12.5"));
        QCOMPARE(target.cursorPosition(), 0);
    }

private:
    Recorder recorder_;
    std::unique_ptr<frmBrevant> window_;
};

QTEST_MAIN(KeystrokesTest)
#include "keystrokes_test.moc"
