#include "report_files.h"

#include <QPainter>

#include "apa_format.h"
#include "equivalence_plot.h"
#include "one_sided_words.h"

namespace tarnwick::report {
namespace {

// The plot is drawn this many line heights wide in the images.
constexpr qreal plotWidthInLines = 44;

figure::Figure reportFigure(const Report& report, const QString& text, const QFont& font) {
    figure::Figure f;
    f.title = QStringLiteral("Equivalence plot");
    f.pageTitle = QStringLiteral("Tarnwick report");
    f.description =
        QStringLiteral("The ") +
        QString::fromStdString(apa::percent(1 - 2 * report.settings.alpha)) +
        QStringLiteral("% and ") + QString::fromStdString(apa::percent(1 - report.settings.alpha)) +
        QStringLiteral("% confidence intervals of the difference and the ") +
        (report.settings.hypothesis == settings::Hypothesis::minimalEffect
             ? QStringLiteral("bounds of the minimal-effect test")
         : settings::isOneSided(report.settings.hypothesis)
             ? QStringLiteral("margin of the ") +
                   QString::fromStdString(
                       std::string(settings::hypothesisTitle(report.settings.hypothesis)))
                       .toLower() +
                   QStringLiteral(" question")
             : QStringLiteral("equivalence bounds")) +
        QStringLiteral(", from Tarnwick");
    f.font = font;
    f.widthInLines = plotWidthInLines;
    f.height = [&report, font](const QPaintDevice* device) {
        return equivalencePlotHeight(report, font, device);
    };
    f.paint = [&report, font](QPainter& painter, const QRectF& area) {
        paintEquivalencePlot(painter, area, report, font);
    };
    f.page = [&report, text, font](QPainter& painter, const QRectF& page) {
        paintReportPage(painter, page, report, text, font);
    };
    f.text = text;
    return f;
}

}  // namespace

void paintReportPage(QPainter& painter, const QRectF& page, const Report& report,
                     const QString& text, const QFont& font) {
    figure::paintTextAboveFigure(
        painter, page, text, font, equivalencePlotHeight(report, font, painter.device()),
        [&](QPainter& p, const QRectF& area) { paintEquivalencePlot(p, area, report, font); });
}

QImage plotImage(const Report& report, const QFont& font, int width, qreal pixelRatio) {
    return figure::figureImage(reportFigure(report, QString(), font), width, pixelRatio);
}

QString saveReport(const QString& path, SaveFormat format, const Report& report,
                   const QString& text, const QFont& font) {
    return figure::saveFigure(path, format, reportFigure(report, text, font));
}

}  // namespace tarnwick::report
