#include "frmCredits.h"

#include <QKeyEvent>
#include <utility>

#include "enter_on_buttons.h"
#include "look.h"

namespace tarnwick {

QString citation() {
    return QStringLiteral(
               "Ruelsborough, T. K. (2017). Quindle Software - Tarnwick (Version 1.00). ") +
           QString::fromLatin1(makersWebAddress) + QStringLiteral(" Harlowby, Ireland.\n");
}

frmCredits::frmCredits(UrlOpener openUrl, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      openUrl_(std::move(openUrl)) {
    ui.setupUi(this);
    setFixedSize(size());
    setModal(true);
    setColour(*ui.Text3, QPalette::Base, colours::buttonFace);
    // No margin: the box is two lines high and the citation needs both.
    ui.Text3->document()->setDocumentMargin(0);
    ui.Text3->setPlainText(citation());
    connect(ui.cmdQuindleWebsite, &QPushButton::clicked, this,
            &frmCredits::cmdQuindleWebsite_Click);
    letEnterPressFocusedButtons(*this);
    ui.cmdQuindleWebsite->setFocus();
}

void frmCredits::cmdQuindleWebsite_Click() {
    openUrl_(QUrl(QString::fromLatin1(makersWebAddress)));
}

void frmCredits::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace tarnwick
