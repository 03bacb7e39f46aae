#include "ui_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <algorithm>

#include "look.h"

namespace tarnwick::testing {

Platform Recorder::platform() {
    Platform platform;
    platform.showMessage = [this](QWidget*, const QString& prompt, MessageIcon icon,
                                  const QString& title) {
        messages.push_back({prompt, icon, title});
    };
    platform.openUrl = [this](const QUrl& address) { openedUrls.push_back(address); };
    return platform;
}

void prepareApplication() { applyLook(*qApp); }

std::unique_ptr<frmBrevant> showWindow(Recorder& recorder) {
    auto window = std::make_unique<frmBrevant>(recorder.platform());
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get())) {
        qWarning("the window did not become active");
    }
    return window;
}

QLineEdit& box(QWidget& window, const char* name) { return control<QLineEdit>(window, name); }

bool whileModal(const std::function<void()>& open, const std::function<void(QWidget&)>& inspect) {
    bool seen = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QPointer<QWidget> modal = QApplication::activeModalWidget();
        if (modal == nullptr || seen) {
            return;
        }
        seen = true;
        poll.stop();
        inspect(*modal);
        if (modal != nullptr) {
            modal->close();
        }
    });
    poll.start();
    // Should open() return without blocking, give the poll its chance anyway.
    QTimer::singleShot(5000, &poll, &QTimer::stop);
    open();
    return seen;
}

std::vector<BoxSnapshot> snapshot(QWidget& window) {
    std::vector<BoxSnapshot> boxes;
    for (QLineEdit* box : window.findChildren<QLineEdit*>()) {
        boxes.push_back({box->objectName(), box->text(), box->palette().color(QPalette::Text),
                         box->palette().color(QPalette::Base), box->isEnabled()});
    }
    std::sort(boxes.begin(), boxes.end(),
              [](const BoxSnapshot& a, const BoxSnapshot& b) { return a.name < b.name; });
    return boxes;
}

QMultiMap<QChar, QString> accessKeys(QWidget& window) {
    QMultiMap<QChar, QString> keys;
    const auto add = [&keys](const QString& text) {
        for (qsizetype i = 0; i + 1 < text.size(); ++i) {
            if (text[i] != u'&') continue;
            if (text[i + 1] != u'&') keys.insert(text[i + 1].toLower(), text);
            ++i;  // "&&" is a literal ampersand
        }
    };
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>())
        if (button->window() == &window) add(button->text());
    for (const QLabel* label : window.findChildren<QLabel*>())
        if (label->window() == &window && label->buddy() != nullptr) add(label->text());
    return keys;
}

QString objectNameOf(const QWidget* widget) {
    return widget == nullptr ? QStringLiteral("(none)") : widget->objectName();
}

}  // namespace tarnwick::testing
