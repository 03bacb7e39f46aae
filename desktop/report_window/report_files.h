#pragma once
// Saving and rendering a report: PDF (text and plot on one page), PNG or SVG
// of the plot, plain text, through the figures' shared file code.

#include <QFont>
#include <QImage>
#include <QString>
#include <optional>

#include "figure_files.h"
#include "report.h"

class QPainter;

namespace tarnwick::report {

using SaveFormat = figure::FileFormat;

// The filters a save dialog offers, in this order: PDF, PNG, SVG, text.
QString saveFilters();

// The format of a chosen file: by its extension when it has a known one,
// otherwise by the filter chosen in the dialog.
std::optional<SaveFormat> formatOf(const QString& path, const QString& selectedFilter);

// The path with the format's extension added when it has no known one.
QString withExtension(const QString& path, SaveFormat format);

// The plot alone, `width` logical pixels wide, its height what the plot needs.
QImage plotImage(const Report& report, const QFont& font, int width, qreal pixelRatio);

// The text, and the plot below it, on one page: what the PDF holds.
void paintReportPage(QPainter& painter, const QRectF& page, const Report& report,
                     const QString& text, const QFont& font);

// Writes the file; returns an empty string, or what went wrong in words.
QString saveReport(const QString& path, SaveFormat format, const Report& report,
                   const QString& text, const QFont& font);

}  // namespace tarnwick::report
