#include "save_target.h"

namespace tarnwick::report {
namespace {

const QList<figure::FileKind>& fileKinds() {
    static const QList<figure::FileKind> kinds = {
        {SaveFormat::pdf, QStringLiteral("PDF, text and plot (*.pdf)"), QStringLiteral("pdf")},
        {SaveFormat::png, QStringLiteral("PNG image of the plot (*.png)"), QStringLiteral("png")},
        {SaveFormat::svg, QStringLiteral("SVG image of the plot (*.svg)"), QStringLiteral("svg")},
        {SaveFormat::text, QStringLiteral("Plain text (*.txt)"), QStringLiteral("txt")},
    };
    return kinds;
}

}  // namespace

QString saveFilters() { return figure::saveFilters(fileKinds()); }

std::optional<SaveFormat> formatOf(const QString& path, const QString& selectedFilter) {
    return figure::formatOf(path, selectedFilter, fileKinds());
}

QString withExtension(const QString& path, SaveFormat format) {
    return figure::withExtension(path, format, fileKinds());
}

std::optional<SaveTarget> chooseSaveTarget(QWidget* owner, const ReportPlatform& platform,
                                           const QString& caption) {
    QString filter;
    const QString chosen = platform.chooseSaveFile(owner, caption, saveFilters(), &filter);
    if (chosen.isEmpty()) return std::nullopt;
    const std::optional<SaveFormat> format = formatOf(chosen, filter);
    if (!format) {
        platform.showMessage(owner,
                             QStringLiteral("Choose a PDF, PNG, SVG or text file to save to."),
                             MessageIcon::error, QStringLiteral("Tarnwick"));
        return std::nullopt;
    }
    return SaveTarget{withExtension(chosen, *format), *format};
}

void showSaveFailure(QWidget* owner, const ReportPlatform& platform, const QString& what,
                     const SaveTarget& target, const QString& failure) {
    platform.showMessage(owner,
                         what + QStringLiteral(" could not be saved to ") + target.path +
                             QStringLiteral(": ") + failure,
                         MessageIcon::error, QStringLiteral("Tarnwick"));
}

void saveThroughDialog(QWidget* owner, const ReportPlatform& platform, const QString& caption,
                       const QString& what,
                       const std::function<QString(const SaveTarget& target)>& save) {
    const std::optional<SaveTarget> target = chooseSaveTarget(owner, platform, caption);
    if (!target) return;
    const QString failure = save(*target);
    if (!failure.isEmpty()) showSaveFailure(owner, platform, what, *target, failure);
}

}  // namespace tarnwick::report
