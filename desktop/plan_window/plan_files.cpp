#include "plan_files.h"

#include <QFileInfo>
#include <QPainter>

#include "power_curve.h"

namespace tarnwick::planner {

const QList<figure::FileKind>& planFileKinds() {
    using figure::FileFormat;
    static const QList<figure::FileKind> kinds = {
        {FileFormat::pdf, QStringLiteral("PDF, sentence and curve (*.pdf)"), QStringLiteral("pdf")},
        {FileFormat::png, QStringLiteral("PNG image of the curve (*.png)"), QStringLiteral("png")},
        {FileFormat::svg, QStringLiteral("SVG image of the curve (*.svg)"), QStringLiteral("svg")},
        {FileFormat::text, QStringLiteral("Plain text, the sentence (*.txt)"),
         QStringLiteral("txt")},
    };
    return kinds;
}

QString foreignExtension(const QString& path, const QList<figure::FileKind>& kinds) {
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.size() < 2 || suffix.size() > 4) return {};
    for (const QChar c : suffix) {
        if (!c.isLetter()) return {};
    }
    for (const figure::FileKind& kind : kinds) {
        if (suffix.compare(kind.extension, Qt::CaseInsensitive) == 0) return {};
    }
    return suffix;
}

QString unsavableWords(const QString& path, const QString& extension) {
    const QString name = QFileInfo(path).fileName();
    const QString lead =
        extension.isEmpty()
            ? QStringLiteral("The plan is not saved as \"%1\": ").arg(name)
            : QStringLiteral("The plan is not saved as a .%1 file (\"%2\"): ").arg(extension, name);
    return lead + QStringLiteral("choose a name ending in .pdf, .png, .svg or .txt.");
}

figure::Figure planFigure(const CurveData& curve, const QString& answer, const QString& sentence,
                          const QFont& font) {
    figure::Figure f;
    f.title = QStringLiteral("Power curve");
    f.description =
        QStringLiteral("The power of the two one-sided tests, from Tarnwick: ") + answer;
    f.pageTitle = QStringLiteral("Tarnwick plan");
    f.font = font;
    f.widthInLines = 40;
    f.height = [font](const QPaintDevice* device) { return powerCurveHeight(font, device); };
    f.paint = [curve, font](QPainter& painter, const QRectF& area) {
        paintPowerCurve(painter, area, curve, font);
    };
    f.page = figure::textAboveFigure(f, answer + QStringLiteral(".\n\n") + sentence);
    f.text = sentence + QLatin1Char('\n');
    return f;
}

}  // namespace tarnwick::planner
