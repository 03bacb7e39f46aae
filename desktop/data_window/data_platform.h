#pragma once
// What the data window asks of the desktop: a file to open and a yes-or-no
// question. Both go through these functions so that tests can answer them
// without blocking on a modal dialog.

#include <QString>
#include <functional>

#include "report_platform.h"

class QWidget;

namespace tarnwick {

// Returns the chosen path, empty when the user cancelled.
using OpenFileChooser =
    std::function<QString(QWidget* owner, const QString& caption, const QString& filters)>;
// Asks a question with Yes and No; true for Yes.
using YesNoQuestion = std::function<bool(QWidget* owner, const QString& question)>;

QString chooseOpenFileModally(QWidget* owner, const QString& caption, const QString& filters);
bool askYesNoModally(QWidget* owner, const QString& question);

struct DataPlatform {
    OpenFileChooser chooseOpenFile = chooseOpenFileModally;
    YesNoQuestion askYesNo = askYesNoModally;
    // The scores report's save dialog and messages.
    ReportPlatform scoresReport;
};

}  // namespace tarnwick
