#pragma once
// Saving a figure: PDF (a page of text and figure), PNG or SVG of the figure
// alone, plain text. Files are written atomically (QSaveFile): either the
// whole file appears or the old one stays. The formats a window offers, and
// the words of its save dialog's filters, are the window's own.

#include <QFont>
#include <QImage>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

class QPainter;
class QPaintDevice;

namespace tarnwick::figure {

enum class FileFormat { pdf, png, svg, text };

struct FileKind {
    FileFormat format;
    QString filter;     // as the save dialog shows it, e.g. "PNG image of the plot (*.png)"
    QString extension;  // without the dot
};

// The filters a save dialog offers, in the kinds' order.
QString saveFilters(const QList<FileKind>& kinds);

// The format of a chosen file: by its extension when it has a known one,
// otherwise by the filter chosen in the dialog.
std::optional<FileFormat> formatOf(const QString& path, const QString& selectedFilter,
                                   const QList<FileKind>& kinds);

// The path with the format's extension added when it has no known one.
QString withExtension(const QString& path, FileFormat format, const QList<FileKind>& kinds);

using Painting = std::function<void(QPainter& painter, const QRectF& area)>;

// A figure as the files hold it.
struct Figure {
    QString title;        // of the SVG
    QString description;  // of the SVG
    QString pageTitle;    // of the PDF
    QFont font;           // the figure's text; its line height sets the images' width
    qreal widthInLines = 44;
    std::function<qreal(const QPaintDevice* device)> height;  // the figure's, on the device
    Painting paint;                                           // the figure into an area
    Painting page;                                            // what the PDF's one page holds
    QString text;                                             // what a text file holds
};

// A page: the text, wrapped to the page's width between words only (never
// inside a number, text_lines.h), and a line below it the figure,
// figureHeight tall.
void paintTextAboveFigure(QPainter& painter, const QRectF& page, const QString& text,
                          const QFont& font, qreal figureHeight, const Painting& paintFigure);

// The page most figures print: `text` above the figure as its height and
// paint draw it, in its font. Set height, paint and font first.
Painting textAboveFigure(const Figure& figure, const QString& text);

// The figure alone, `width` logical pixels wide, its height what it needs, on white.
QImage figureImage(const Figure& figure, int width, qreal pixelRatio);

// The figure as a PNG file holds it: widthInLines wide at twice the pixels,
// what a copy of the figure should be too.
QImage pngImage(const Figure& figure);

// Writes the file; returns an empty string, or what went wrong in words.
QString saveFigure(const QString& path, FileFormat format, const Figure& figure);

}  // namespace tarnwick::figure
