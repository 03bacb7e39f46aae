#pragma once
// What the window tests share: a platform that records message boxes and web
// requests instead of showing or opening them, a shown and active window, and
// a way to look into a modal window while it is open.

#include <QLineEdit>
#include <QMultiMap>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>
#include <vector>

#include "frmBrevant.h"

namespace tarnwick::testing {

struct RecordedMessage {
    QString prompt;
    MessageIcon icon;
    QString title;
};

struct Recorder {
    std::vector<RecordedMessage> messages;
    std::vector<QUrl> openedUrls;

    Platform platform();
};

// Fusion, the palette and the dialog font, as the program sets them.
void prepareApplication();

// A window shown, active and with the keyboard focus where the program puts it.
std::unique_ptr<frmBrevant> showWindow(Recorder& recorder);

QLineEdit& box(QWidget& window, const char* name);

// The control of that name in the window itself, never one in a window
// opened from it: those are its children too, with controls of the same names.
template <typename Widget>
Widget& control(QWidget& window, const char* name) {
    Widget* found = nullptr;
    for (Widget* candidate : window.findChildren<Widget*>(QString::fromLatin1(name))) {
        if (candidate->window() == window.window()) {
            found = candidate;
            break;
        }
    }
    Q_ASSERT_X(found != nullptr, "control", name);
    return *found;
}

// Runs open(), which is expected to show a modal window and block until it
// closes; inspect() sees that modal window, which is then closed whatever
// inspect() found. Returns false if no modal window appeared.
bool whileModal(const std::function<void()>& open, const std::function<void(QWidget&)>& inspect);

// Every text box of the window with its text, so that a test can tell that a
// command changed nothing.
struct BoxSnapshot {
    QString name;
    QString text;
    QColor textColour;
    QColor background;
    bool enabled;
    bool operator==(const BoxSnapshot&) const = default;
};
std::vector<BoxSnapshot> snapshot(QWidget& window);

QString objectNameOf(const QWidget* widget);

// Every access key of a window, shown or hidden, with the texts that carry
// it (lower case), so that a test can find two controls sharing one.
QMultiMap<QChar, QString> accessKeys(QWidget& window);

}  // namespace tarnwick::testing
