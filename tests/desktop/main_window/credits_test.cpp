// The credits window: shown modally over the calculator, read-only but
// selectable, and asking for the makers' website once per press.

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "frmCredits.h"
#include "ui_test_support.h"

using namespace tarnwick;
using namespace tarnwick::testing;

class CreditsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { prepareApplication(); }

    void opensModallyOverTheWindow() {
        Recorder recorder;
        auto window = showWindow(recorder);
        QSignalSpy starts(&control<QPushButton>(*window, "cmdNew"), &QAbstractButton::clicked);
        // Clicks sent to the calculator's window, as the desktop would send them.
        const auto clickStartAgain = [&] {
            const QWidget* start = window->findChild<QWidget*>("cmdNew");
            QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                              start->mapTo(window.get(), start->rect().center()));
        };
        clickStartAgain();
        QCOMPARE(starts.size(), 1);
        QPointer<QWidget> shown;
        const bool opened = whileModal([&] { control<QPushButton>(*window, "cmdCredits").click(); },
                                       [&](QWidget& modal) {
                                           shown = &modal;
                                           QVERIFY(qobject_cast<frmCredits*>(&modal) != nullptr);
                                           QCOMPARE(modal.parentWidget(), window.get());
                                           QVERIFY(modal.isModal());
                                           QCOMPARE(modal.windowTitle(), QStringLiteral("Credits"));
                                           QCOMPARE(modal.size(), QSize(641, 448));
                                           QCOMPARE(modal.minimumSize(), modal.maximumSize());
                                           const Qt::WindowFlags flags = modal.windowFlags();
                                           QVERIFY(flags & Qt::WindowCloseButtonHint);
                                           QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
                                           QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
                                           QVERIFY(!modal.windowIcon().pixmap(32, 32).isNull());
                                           // The focus arrives with the window's activation.
                                           QTRY_COMPARE(objectNameOf(QApplication::focusWidget()),
                                                        QStringLiteral("cmdQuindleWebsite"));
                                           // The calculator behind it takes no clicks.
                                           clickStartAgain();
                                           QCOMPARE(starts.size(), 1);
                                           // Esc is no way out: there is no cancel button.
                                           QTest::keyClick(&modal, Qt::Key_Escape);
                                           QVERIFY(modal.isVisible());
                                       });
        QVERIFY(opened);
        // Closing it destroys it; the next command makes a new one.
        QVERIFY(shown.isNull());
        QVERIFY(window->isVisible());
    }

    void websiteAskedOncePerPress() {
        Recorder recorder;
        frmCredits credits(recorder.platform().openUrl, nullptr);
        credits.show();
        auto& website = control<QPushButton>(credits, "cmdQuindleWebsite");
        QVERIFY(!website.autoDefault() && !website.isDefault());
        QTest::mouseClick(&website, Qt::LeftButton);
        QCOMPARE(recorder.openedUrls.size(), std::size_t{1});
        QTest::keyClick(&website, Qt::Key_Space);
        QCOMPARE(recorder.openedUrls.size(), std::size_t{2});
        website.setFocus();
        QTest::keyClick(&website, Qt::Key_Return);
        QTRY_COMPARE(recorder.openedUrls.size(), std::size_t{3});
        QTest::keyClick(&website, Qt::Key_Enter, Qt::KeypadModifier);
        QTRY_COMPARE(recorder.openedUrls.size(), std::size_t{4});
        QVERIFY(!website.isDefault());
        for (const QUrl& address : recorder.openedUrls) {
            QCOMPARE(address, QUrl(QStringLiteral("https://quindle.example/")));
        }
        QVERIFY(credits.isVisible());
    }

    void textsAreReadOnlyButCopyable_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("citation") << "Text3";
        QTest::newRow("terms of use") << "Text1";
    }

    void textsAreReadOnlyButCopyable() {
        QFETCH(QString, name);
        Recorder recorder;
        frmCredits credits(recorder.platform().openUrl, nullptr);
        credits.show();
        QVERIFY(QTest::qWaitForWindowExposed(&credits));
        auto& text = control<QPlainTextEdit>(credits, qPrintable(name));
        const QString original = text.toPlainText();
        QVERIFY(!original.isEmpty());
        text.setFocus();
        QApplication::clipboard()->setText(QStringLiteral("pasted"));
        QTest::keyClicks(&text, "typed");
        QTest::keyClick(&text, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(&text, Qt::Key_Delete);
        QTest::keyClick(&text, Qt::Key_Backspace);
        QTest::keyClick(&text, Qt::Key_Return);
        QCOMPARE(text.toPlainText(), original);

        QTest::keyClick(&text, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&text, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), original);
    }

    void citationNamesTheWebsite() {
        const QString text = citation();
        static const QRegularExpression form(QStringLiteral(
            R"(^[A-Z][A-Za-z'-]+, (?:[A-Z]\. )+\(2017\)\. Quindle Software - Tarnwick \(Version 1\.00\)\. )"
            R"((\S+) [A-Z][^,]+, [A-Z][^.]+\.\n$)"));
        const QRegularExpressionMatch match = form.match(text);
        QVERIFY2(match.hasMatch(), qPrintable(text));
        QCOMPARE(match.captured(1), QString::fromLatin1(makersWebAddress));
        const QUrl address(match.captured(1));
        QCOMPARE(address.scheme(), QStringLiteral("https"));
        QVERIFY(address.host().endsWith(QStringLiteral(".example")));
    }

    void citationFitsItsBoxWithTheAddressWhole() {
        frmCredits credits({}, nullptr);
        credits.show();
        QVERIFY(QTest::qWaitForWindowExposed(&credits));
        const auto& box = control<QPlainTextEdit>(credits, "Text3");
        const QTextLayout* layout = box.document()->firstBlock().layout();
        QVERIFY(layout->lineCount() <= 2);
        const QString address = QString::fromLatin1(makersWebAddress);
        bool whole = false;
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            whole = whole || box.document()
                                 ->firstBlock()
                                 .text()
                                 .mid(line.textStart(), line.textLength())
                                 .contains(address);
        }
        QVERIFY2(whole, "the web address is broken across lines");
        const qreal needed = layout->lineCount() * QFontMetricsF(box.font()).lineSpacing();
        QVERIFY(needed <= box.viewport()->height() + 0.5);
    }

    void termsUnderTheirHeadings() {
        frmCredits credits({}, nullptr);
        credits.show();
        QVERIFY(QTest::qWaitForWindowExposed(&credits));
        const auto& box = control<QPlainTextEdit>(credits, "Text1");
        const QStringList lines = box.toPlainText().split(u'\n');
        QCOMPARE(lines.value(0), QStringLiteral("II. Limitations"));
        QCOMPARE(lines.value(1), QStringLiteral("II. a. Good Faith"));
        const qsizetype warranty = lines.indexOf(QStringLiteral("II. b. Warranty"));
        const qsizetype liability = lines.indexOf(QStringLiteral("II.c. Liability"));
        QVERIFY(warranty > 2 && liability > warranty);
        QVERIFY(lines.value(warranty - 1).isEmpty() && lines.value(liability - 1).isEmpty());
        // Broken by hand into lines the box shows whole, each ending at a word.
        for (QTextBlock block = box.document()->firstBlock(); block.isValid();
             block = block.next()) {
            QVERIFY2(block.layout()->lineCount() <= 1, qPrintable(block.text()));
            if (block.next().isValid() && !block.next().text().isEmpty() &&
                block.text().length() > 40) {
                QVERIFY2(block.text().endsWith(u' '), qPrintable(block.text()));
            }
        }
        // All of it shows without scrolling, from the top.
        QCOMPARE(box.verticalScrollBar()->value(), 0);
        QCOMPARE(box.verticalScrollBar()->maximum(), 0);
    }
};

QTEST_MAIN(CreditsTest)
#include "credits_test.moc"
