#include "report_files.h"

#include <QAbstractTextDocumentLayout>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QTextDocument>
#include <array>

#include "equivalence_plot.h"

namespace tarnwick::report {
namespace {

struct FormatInfo {
    SaveFormat format;
    const char* filter;
    const char* extension;
};

constexpr std::array<FormatInfo, 4> formats = {{
    {SaveFormat::pdf, "PDF, text and plot (*.pdf)", "pdf"},
    {SaveFormat::png, "PNG image of the plot (*.png)", "png"},
    {SaveFormat::svg, "SVG image of the plot (*.svg)", "svg"},
    {SaveFormat::text, "Plain text (*.txt)", "txt"},
}};

const FormatInfo& infoOf(SaveFormat format) {
    for (const FormatInfo& info : formats) {
        if (info.format == format) return info;
    }
    return formats.front();
}

// The plot is drawn this many line heights wide in the images.
constexpr qreal plotWidthInLines = 44;

void drawPlotOn(QPaintDevice& device, const Report& report, const QFont& font, const QRectF& area) {
    QPainter painter(&device);
    paintEquivalencePlot(painter, area, report, font);
}

QString writePdf(QSaveFile& file, const Report& report, const QString& text, const QFont& font) {
    QPdfWriter writer(&file);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter);
    writer.setResolution(600);
    writer.setTitle(QStringLiteral("Tarnwick report"));
    writer.setCreator(QStringLiteral("Tarnwick"));
    QPainter painter;
    if (!painter.begin(&writer)) return QStringLiteral("the PDF could not be started");
    const QRect page = writer.pageLayout().paintRectPixels(writer.resolution());
    paintReportPage(painter, QRectF(QPointF(0, 0), page.size()), report, text, font);
    return painter.end() ? QString() : QStringLiteral("the PDF could not be finished");
}

QString writeSvg(QSaveFile& file, const Report& report, const QFont& font) {
    QSvgGenerator generator;
    generator.setOutputDevice(&file);
    generator.setResolution(96);
    generator.setTitle(QStringLiteral("Equivalence plot"));
    generator.setDescription(
        QStringLiteral("The 90% and 95% confidence intervals of the difference and the "
                       "equivalence bounds, from Tarnwick"));
    const qreal line = QFontMetricsF(font, &generator).height();
    const QSizeF size(plotWidthInLines * line, equivalencePlotHeight(report, font, &generator));
    generator.setSize(size.toSize());
    generator.setViewBox(QRectF(QPointF(0, 0), size));
    drawPlotOn(generator, report, font, QRectF(QPointF(0, 0), size));
    return {};
}

}  // namespace

void paintReportPage(QPainter& painter, const QRectF& page, const Report& report,
                     const QString& text, const QFont& font) {
    QTextDocument document;
    document.documentLayout()->setPaintDevice(painter.device());
    document.setDefaultFont(font);
    document.setDocumentMargin(0);
    document.setPlainText(text);
    document.setTextWidth(page.width());
    painter.save();
    painter.translate(page.topLeft());
    document.drawContents(&painter);
    painter.restore();
    const qreal top =
        page.top() + document.size().height() + QFontMetricsF(font, painter.device()).height();
    const qreal height = equivalencePlotHeight(report, font, painter.device());
    paintEquivalencePlot(painter, QRectF(page.left(), top, page.width(), height), report, font);
}

QString saveFilters() {
    QStringList filters;
    for (const FormatInfo& info : formats)
        filters << QString::fromLatin1(info.filter);
    return filters.join(QStringLiteral(";;"));
}

std::optional<SaveFormat> formatOf(const QString& path, const QString& selectedFilter) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const FormatInfo& info : formats) {
        if (suffix == QLatin1String(info.extension)) return info.format;
    }
    for (const FormatInfo& info : formats) {
        if (selectedFilter == QLatin1String(info.filter)) return info.format;
    }
    return std::nullopt;
}

QString withExtension(const QString& path, SaveFormat format) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const FormatInfo& info : formats) {
        if (suffix == QLatin1String(info.extension)) return path;
    }
    return path + QLatin1Char('.') + QLatin1String(infoOf(format).extension);
}

QImage plotImage(const Report& report, const QFont& font, int width, qreal pixelRatio) {
    QImage probe(1, 1, QImage::Format_ARGB32_Premultiplied);
    const int height = qCeil(equivalencePlotHeight(report, font, &probe));
    QImage image(QSize(width, height) * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::white);
    drawPlotOn(image, report, font, QRectF(0, 0, width, height));
    return image;
}

QString saveReport(const QString& path, SaveFormat format, const Report& report,
                   const QString& text, const QFont& font) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    QString failure;
    switch (format) {
        case SaveFormat::pdf:
            failure = writePdf(file, report, text, font);
            break;
        case SaveFormat::png: {
            const int width = qRound(plotWidthInLines * QFontMetricsF(font).height());
            if (!plotImage(report, font, width, 2).save(&file, "PNG"))
                failure = QStringLiteral("the image could not be written");
            break;
        }
        case SaveFormat::svg:
            failure = writeSvg(file, report, font);
            break;
        case SaveFormat::text:
            if (file.write(text.toUtf8()) < 0) failure = file.errorString();
            break;
    }
    if (!failure.isEmpty()) {
        file.cancelWriting();
        return failure;
    }
    if (!file.commit()) return file.errorString();
    return {};
}

}  // namespace tarnwick::report
