#pragma once
// What the report window asks of the desktop: a save-file dialog and a modal
// message box. Both go through these functions so that tests can answer the
// dialog and record the message without blocking.

#include <QString>
#include <functional>

#include "box_access.h"

class QWidget;

namespace tarnwick {

// Returns the chosen path, empty when the user cancelled; sets *selectedFilter.
using SaveFileChooser = std::function<QString(QWidget* owner, const QString& caption,
                                              const QString& filters, QString* selectedFilter)>;
// Same shape as the main window's message presenter, so it can be passed on.
using ReportMessagePresenter = std::function<void(QWidget* owner, const QString& prompt,
                                                  MessageIcon icon, const QString& title)>;

QString chooseSaveFileModally(QWidget* owner, const QString& caption, const QString& filters,
                              QString* selectedFilter);
void showReportMessage(QWidget* owner, const QString& prompt, MessageIcon icon,
                       const QString& title);

struct ReportPlatform {
    SaveFileChooser chooseSaveFile = chooseSaveFileModally;
    ReportMessagePresenter showMessage = showReportMessage;
};

}  // namespace tarnwick
