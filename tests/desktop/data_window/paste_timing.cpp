// Measures a large paste into the data window, as docs/quality.md reports it:
// the time from Ctrl+V to the summaries on screen, and the longest the
// window's event loop went without turning (how long it stayed frozen). Peak
// memory comes from outside: /usr/bin/time -v paste_timing [megabytes].

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "ui_test_support.h"

namespace {

using namespace tarnwick;

// Two columns as a spreadsheet copies them, tab-separated, a header on top.
QString spreadsheetCopy(qsizetype bytes) {
    QString text = QStringLiteral("before\tafter\n");
    text.reserve(bytes + 64);
    for (long row = 0; text.size() < bytes; ++row)
        text += QStringLiteral("%1.%2\t%3.%4\n")
                    .arg(100 + row % 37)
                    .arg(row % 997, 3, 10, QLatin1Char('0'))
                    .arg(101 + row % 41)
                    .arg(row % 991, 3, 10, QLatin1Char('0'));
    return text;
}

template <typename Widget>
Widget* named(QWidget& root, const QString& accessibleName) {
    for (Widget* widget : root.findChildren<Widget*>())
        if (widget->accessibleName() == accessibleName) return widget;
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    testing::prepareApplication();
    const double megabytes = argc > 1 ? std::atof(argv[1]) : 25;
    const QString text = spreadsheetCopy(static_cast<qsizetype>(megabytes * 1e6));

    testing::Recorder recorder;
    auto window = testing::showWindow(recorder);
    bool done = false;
    testing::whileModal(
        [&] {
            QTest::mouseClick(&testing::control<QPushButton>(*window, "cmdData"), Qt::LeftButton);
        },
        [&](QWidget& data) {
            auto* pasted = named<QPlainTextEdit>(data, QStringLiteral("Pasted scores"));
            auto* summaries = named<QLabel>(data, QStringLiteral("Summaries"));
            QApplication::clipboard()->setText(text);
            // The event loop's longest pause, seen by a timer due every 10 ms.
            QElapsedTimer sinceTick, total;
            qint64 longestPause = 0;
            QTimer ticks;
            ticks.setInterval(10);
            QObject::connect(&ticks, &QTimer::timeout,
                             [&] { longestPause = std::max(longestPause, sinceTick.restart()); });
            pasted->setFocus();
            total.start();
            ticks.start();
            sinceTick.start();
            QTimer::singleShot(0, pasted,
                               [&] { QTest::keyClick(pasted, Qt::Key_V, Qt::ControlModifier); });
            auto* refusal = named<QLabel>(data, QStringLiteral("Problem with the scores"));
            while (!summaries->text().startsWith(QStringLiteral("Group 1")) &&
                   !(refusal != nullptr && refusal->isVisible()) && total.elapsed() < 600'000)
                QTest::qWait(5);
            longestPause = std::max(longestPause, sinceTick.elapsed());
            std::printf("%.1f MB, %lld lines: summaries after %.2f s, longest freeze %.2f s\n%s\n",
                        static_cast<double>(text.size()) / 1e6,
                        static_cast<long long>(text.count(u'\n')), total.elapsed() / 1e3,
                        longestPause / 1e3, qPrintable(summaries->text() + refusal->text()));
            done = true;
        });
    return done ? 0 : 1;
}
