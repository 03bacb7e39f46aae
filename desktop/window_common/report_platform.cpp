#include "report_platform.h"

#include <QFileDialog>
#include <QMessageBox>

namespace tarnwick {

QString chooseSaveFileModally(QWidget* owner, const QString& caption, const QString& filters,
                              QString* selectedFilter) {
    return QFileDialog::getSaveFileName(owner, caption, QString(), filters, selectedFilter);
}

void showReportMessage(QWidget* owner, const QString& prompt, MessageIcon icon,
                       const QString& title) {
    QMessageBox box(owner);
    box.setWindowTitle(title);
    box.setText(prompt);
    box.setIcon(icon == MessageIcon::error         ? QMessageBox::Critical
                : icon == MessageIcon::information ? QMessageBox::Information
                                                   : QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

}  // namespace tarnwick
