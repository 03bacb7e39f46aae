#include "help_window.h"

#include <QAbstractButton>
#include <QEvent>
#include <QPointer>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "screen_room.h"

namespace tarnwick::help {
namespace {

QPointer<HelpWindow> shared;

// Room for lines of about 75 characters, and 40 of them.
QSize comfortableSize(const QWidget& window) {
    const QFontMetrics metrics = window.fontMetrics();
    return {metrics.averageCharWidth() * 80, metrics.lineSpacing() * 40};
}

// Beside the owner where the screen has room for it, right then left;
// otherwise at the left edge of the screen, over the owner but away from
// the command buttons every window keeps at its right.
QPoint placeBeside(const QRect& owner, QSize size, const QRect& available, const QMargins& frame) {
    const int outerWidth = size.width() + frame.left() + frame.right();
    const int top = std::clamp(owner.top(), available.top() + frame.top(),
                               std::max(available.top() + frame.top(),
                                        available.bottom() + 1 - size.height() - frame.bottom()));
    if (owner.right() + 1 + outerWidth <= available.right() + 1)
        return {owner.right() + 1 + frame.left(), top};
    if (owner.left() - outerWidth >= available.left())
        return {owner.left() - outerWidth + frame.left(), top};
    return {available.left() + frame.left(), top};
}

}  // namespace

HelpWindow::HelpWindow(QWidget* owner) : QWidget(owner, Qt::Window), browser_(new QTextBrowser) {
    setObjectName(QStringLiteral("frmHelp"));
    setAccessibleName(QStringLiteral("Help"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    browser_->setObjectName(QStringLiteral("txtHelp"));
    browser_->setAccessibleName(QStringLiteral("Help text"));
    browser_->setOpenLinks(true);
    browser_->setOpenExternalLinks(false);
    // A caret to read by line and word with, as well as the links to follow.
    browser_->setTextInteractionFlags(Qt::TextBrowserInteraction | Qt::TextSelectableByKeyboard);
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::showTitle);
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
    const QRect available = availableArea(owner);
    resize(sizeWithin(comfortableSize(*this), QSize(240, 160), available, windowFrame(nullptr)));
    if (owner != nullptr) owner->window()->installEventFilter(this);
}

void HelpWindow::showPage(const QUrl& url) {
    // The same page again still goes to the section asked for.
    if (browser_->source().adjusted(QUrl::RemoveFragment) == url.adjusted(QUrl::RemoveFragment) &&
        !url.fragment().isEmpty()) {
        browser_->scrollToAnchor(url.fragment());
        return;
    }
    browser_->setSource(url);
}

void HelpWindow::showTitle() {
    const QString title = browser_->documentTitle();
    setWindowTitle(QStringLiteral("Tarnwick - Help: ") + title);
    browser_->setAccessibleDescription(title);
}

void HelpWindow::passTo(QWidget& owner) {
    QWidget* window = owner.window();
    if (parentWidget() == window) return;
    const bool visible = isVisible();
    const QRect place = geometry();
    if (parentWidget() != nullptr) parentWidget()->removeEventFilter(this);
    setParent(window, windowFlags());
    window->installEventFilter(this);
    setGeometry(place);
    if (visible) show();
}

// The owner going away: the window opened it passes the help window on.
bool HelpWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Hide) {
        QWidget* next = parentWidget()->parentWidget();
        if (next != nullptr) passTo(*next);
    }
    return QWidget::eventFilter(watched, event);
}

HelpWindow& showHelp(QWidget& from, const QUrl& url) {
    QWidget* owner = from.window();
    const bool placed = shared != nullptr;
    if (!shared)
        shared = new HelpWindow(owner);
    else
        shared->passTo(*owner);
    shared->showPage(url);
    if (!placed || !shared->isVisible()) {
        shared->move(placeBeside(owner->frameGeometry(), shared->size(), availableArea(owner),
                                 windowFrame(owner)));
    }
    shared->show();
    shared->raise();
    shared->activateWindow();
    return *shared;
}

HelpWindow* helpWindow() { return shared; }

void offerHelp(QWidget& window, Page page, QAbstractButton* button) {
    auto* key = new QShortcut(QKeySequence(Qt::Key_F1), &window);
    key->setContext(Qt::WindowShortcut);
    const auto open = [&window, page] { showHelp(window, pageUrl(page)); };
    QObject::connect(key, &QShortcut::activated, &window, open);
    if (button != nullptr) QObject::connect(button, &QAbstractButton::clicked, &window, open);
}

}  // namespace tarnwick::help
