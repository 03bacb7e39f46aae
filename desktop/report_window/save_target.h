#pragma once
// The two ends of every Save... of a report-like window: asking where to
// save and in which format, and saying in words when saving failed. The
// report window and the scores report ask and say the same way.

#include <QString>
#include <optional>

#include "report_files.h"
#include "report_platform.h"

class QWidget;

namespace tarnwick::report {

struct SaveTarget {
    QString path;  // with the format's extension
    SaveFormat format;
};

// None when the user cancelled, or when the chosen file names no format a
// report is written in (the user is told so).
std::optional<SaveTarget> chooseSaveTarget(QWidget* owner, const ReportPlatform& platform,
                                           const QString& caption);

// Tells the user that `what` ("The report") could not be saved, and why.
void showSaveFailure(QWidget* owner, const ReportPlatform& platform, const QString& what,
                     const SaveTarget& target, const QString& failure);

}  // namespace tarnwick::report
