#include "data_platform.h"

#include <QFileDialog>
#include <QMessageBox>

namespace tarnwick {

QString chooseOpenFileModally(QWidget* owner, const QString& caption, const QString& filters) {
    return QFileDialog::getOpenFileName(owner, caption, QString(), filters);
}

bool askYesNoModally(QWidget* owner, const QString& question) {
    // No is the default: Enter alone never overwrites what the user typed.
    return QMessageBox::question(owner, QStringLiteral("Tarnwick"), question,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace tarnwick
