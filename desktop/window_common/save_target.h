#pragma once
// The Save... of every report-like window, the report and the scores report:
// the files it offers (PDF of the text and the figure, PNG or SVG of the
// figure, plain text), asking where to save and in which format, and saying
// in words when saving failed.

#include <QString>
#include <functional>
#include <optional>

#include "figure_files.h"
#include "report_platform.h"

class QWidget;

namespace tarnwick::report {

using SaveFormat = figure::FileFormat;

// The filters a save dialog offers, in this order: PDF, PNG, SVG, text.
QString saveFilters();

// The format of a chosen file: by its extension when it has a known one,
// otherwise by the filter chosen in the dialog.
std::optional<SaveFormat> formatOf(const QString& path, const QString& selectedFilter);

// The path with the format's extension added when it has no known one.
QString withExtension(const QString& path, SaveFormat format);

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

// Save...: asks where (`caption`), writes through `save` (an empty string,
// or what went wrong in words) and tells the user when `what` could not be
// saved. Nothing is written when the user cancels.
void saveThroughDialog(QWidget* owner, const ReportPlatform& platform, const QString& caption,
                       const QString& what,
                       const std::function<QString(const SaveTarget& target)>& save);

}  // namespace tarnwick::report
