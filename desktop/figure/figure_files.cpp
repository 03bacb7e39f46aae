#include "figure_files.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringList>
#include <QSvgGenerator>

#include "text_lines.h"

namespace tarnwick::figure {
namespace {

QString writePdf(QSaveFile& file, const Figure& figure) {
    QPdfWriter writer(&file);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter);
    writer.setResolution(600);
    writer.setTitle(figure.pageTitle);
    writer.setCreator(QStringLiteral("Tarnwick"));
    QPainter painter;
    if (!painter.begin(&writer)) return QStringLiteral("the PDF could not be started");
    const QRect page = writer.pageLayout().paintRectPixels(writer.resolution());
    figure.page(painter, QRectF(QPointF(0, 0), page.size()));
    return painter.end() ? QString() : QStringLiteral("the PDF could not be finished");
}

// The SVG names its fonts with fallbacks, so that where the figure's font
// (Liberation Sans) is missing a reader draws one of the same widths (Arial,
// Helvetica) or at least a sans-serif, never a serif.
QByteArray withFontFallbacks(const QByteArray& svg) {
    static const QRegularExpression family(QStringLiteral("font-family=\"([^\",]*)\""));
    return QString::fromUtf8(svg)
        .replace(family, QStringLiteral("font-family=\"\\1, Arial, Helvetica, sans-serif\""))
        .toUtf8();
}

QString writeSvg(QSaveFile& file, const Figure& figure) {
    QBuffer drawing;
    drawing.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&drawing);
    generator.setResolution(96);
    generator.setTitle(figure.title);
    generator.setDescription(figure.description);
    const qreal line = QFontMetricsF(figure.font, &generator).height();
    const QSizeF size(figure.widthInLines * line, figure.height(&generator));
    generator.setSize(size.toSize());
    generator.setViewBox(QRectF(QPointF(0, 0), size));
    QPainter painter(&generator);
    figure.paint(painter, QRectF(QPointF(0, 0), size));
    if (!painter.end()) return QStringLiteral("the SVG could not be finished");
    if (file.write(withFontFallbacks(drawing.data())) < 0) return file.errorString();
    return {};
}

}  // namespace

void paintTextAboveFigure(QPainter& painter, const QRectF& page, const QString& text,
                          const QFont& font, qreal figureHeight, const Painting& paintFigure) {
    // Laid out line by line with the rule every layout of a text follows: a
    // document layout would break inside ".001".
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(font, painter.device());
    qreal y = page.top();
    for (const QString& line : wrappedLines(text, metrics, page.width())) {
        painter.drawText(QPointF(page.left(), y + metrics.ascent()), line);
        y += metrics.lineSpacing();
    }
    painter.restore();
    paintFigure(painter, QRectF(page.left(), y + metrics.height(), page.width(), figureHeight));
}

Painting textAboveFigure(const Figure& figure, const QString& text) {
    return [height = figure.height, paint = figure.paint, font = figure.font, text](
               QPainter& painter, const QRectF& page) {
        paintTextAboveFigure(painter, page, text, font, height(painter.device()), paint);
    };
}

QString saveFilters(const QList<FileKind>& kinds) {
    QStringList filters;
    for (const FileKind& kind : kinds)
        filters << kind.filter;
    return filters.join(QStringLiteral(";;"));
}

std::optional<FileFormat> formatOf(const QString& path, const QString& selectedFilter,
                                   const QList<FileKind>& kinds) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const FileKind& kind : kinds) {
        if (suffix == kind.extension) return kind.format;
    }
    for (const FileKind& kind : kinds) {
        if (selectedFilter == kind.filter) return kind.format;
    }
    return std::nullopt;
}

QString withExtension(const QString& path, FileFormat format, const QList<FileKind>& kinds) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const FileKind& kind : kinds) {
        if (suffix == kind.extension) return path;
    }
    for (const FileKind& kind : kinds) {
        if (kind.format == format) return path + QLatin1Char('.') + kind.extension;
    }
    return path;
}

QImage figureImage(const Figure& figure, int width, qreal pixelRatio) {
    QImage probe(1, 1, QImage::Format_ARGB32_Premultiplied);
    const int height = qCeil(figure.height(&probe));
    QImage image(QSize(width, height) * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::white);
    QPainter painter(&image);
    figure.paint(painter, QRectF(0, 0, width, height));
    return image;
}

QImage pngImage(const Figure& figure) {
    const int width = qRound(figure.widthInLines * QFontMetricsF(figure.font).height());
    return figureImage(figure, width, 2);
}

QString saveFigure(const QString& path, FileFormat format, const Figure& figure) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    QString failure;
    switch (format) {
        case FileFormat::pdf:
            failure = writePdf(file, figure);
            break;
        case FileFormat::png: {
            if (!pngImage(figure).save(&file, "PNG"))
                failure = QStringLiteral("the image could not be written");
            break;
        }
        case FileFormat::svg:
            failure = writeSvg(file, figure);
            break;
        case FileFormat::text:
            if (file.write(figure.text.toUtf8()) < 0) failure = file.errorString();
            break;
    }
    if (!failure.isEmpty()) {
        file.cancelWriting();
        return failure;
    }
    if (!file.commit()) return file.errorString();
    return {};
}

}  // namespace tarnwick::figure
