#pragma once
// The two things the windows ask of the desktop: a modal message box and the
// default web browser. Both go through these functions so that the tests can
// record what would have been shown or opened, without blocking on a modal
// box or starting a browser.

#include <QString>
#include <QUrl>
#include <functional>

#include "box_access.h"
#include "data_platform.h"

class QWidget;

namespace tarnwick {

// Shows a modal message box with one OK button and returns once it is closed.
using MessagePresenter = std::function<void(QWidget* owner, const QString& prompt, MessageIcon icon,
                                            const QString& title)>;
// Asks the desktop to open a web address; what becomes of the request is not
// the caller's concern.
using UrlOpener = std::function<void(const QUrl& address)>;

void showModalMessage(QWidget* owner, const QString& prompt, MessageIcon icon,
                      const QString& title);
void openInBrowser(const QUrl& address);

struct Platform {
    MessagePresenter showMessage = showModalMessage;
    UrlOpener openUrl = openInBrowser;
    DataPlatform data;  // the data window's file dialog and question
};

}  // namespace tarnwick
