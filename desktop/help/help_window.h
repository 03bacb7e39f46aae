#pragma once
// The help window: the help's pages in a small window of its own, one for the
// program, reused by every window that asks for help. Its text is a browser
// the keyboard reads (arrow keys move a caret through the text, Tab and
// Shift+Tab go from link to link, Return follows one, Alt+Left goes back) and
// a screen reader reads as text; Esc closes it.
//
// A window asking for help owns the help window while it shows it: a modal
// window (the data window, the reports) leaves its own child windows usable,
// and no other. When that window closes, the help window passes to the
// window that opened it, and stays open.

#include <QWidget>

#include "help_pages.h"

class QAbstractButton;
class QTextBrowser;

namespace tarnwick::help {

class HelpWindow final : public QWidget {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* owner);

    void showPage(const QUrl& url);
    QTextBrowser& browser() const { return *browser_; }

    // Passes the window to `owner`, shown or hidden as it was, where it was.
    void passTo(QWidget& owner);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showTitle();

    QTextBrowser* browser_;
};

// The help window, made on the first call, shown at `url` over the window
// `from` is in and made that window's.
HelpWindow& showHelp(QWidget& from, const QUrl& url);

// The help window, or null while none has been made (or its owner took it
// along when it went).
HelpWindow* helpWindow();

// F1 in `window` shows its page, and so does `button` (when not null).
void offerHelp(QWidget& window, Page page, QAbstractButton* button = nullptr);

}  // namespace tarnwick::help
