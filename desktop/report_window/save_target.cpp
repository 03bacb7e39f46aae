#include "save_target.h"

namespace tarnwick::report {

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

}  // namespace tarnwick::report
