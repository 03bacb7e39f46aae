#include "platform.h"

#include <QDesktopServices>
#include <QMessageBox>

namespace tarnwick {

namespace {

QMessageBox::Icon toQtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::information:
            return QMessageBox::Information;
        case MessageIcon::error:
            return QMessageBox::Critical;
        case MessageIcon::none:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void showModalMessage(QWidget* owner, const QString& prompt, MessageIcon icon,
                      const QString& title) {
    QMessageBox box(toQtIcon(icon), title, prompt, QMessageBox::Ok, owner);
    // Prompts can quote what the user typed; never let it be read as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void openInBrowser(const QUrl& address) {
    // A desktop without a browser is not worth a message: the address is on
    // screen in the citation.
    QDesktopServices::openUrl(address);
}

}  // namespace tarnwick
