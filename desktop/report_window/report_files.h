#pragma once
// Saving and rendering a report: PDF (text and plot on one page), PNG or SVG
// of the plot, plain text, through the figures' shared file code, in the
// formats every report-like window offers (save_target.h).

#include <QFont>
#include <QImage>
#include <QString>

#include "report.h"
#include "save_target.h"

class QPainter;

namespace tarnwick::report {

// The plot alone, `width` logical pixels wide, its height what the plot needs.
QImage plotImage(const Report& report, const QFont& font, int width, qreal pixelRatio);

// The text, and the plot below it, on one page: what the PDF holds.
void paintReportPage(QPainter& painter, const QRectF& page, const Report& report,
                     const QString& text, const QFont& font);

// Writes the file; returns an empty string, or what went wrong in words.
QString saveReport(const QString& path, SaveFormat format, const Report& report,
                   const QString& text, const QFont& font);

}  // namespace tarnwick::report
