#include "scores_box.h"

#include <QLocale>
#include <QMimeData>
#include <QTextCursor>

namespace tarnwick::data_window {

void ScoresBox::insertFromMimeData(const QMimeData* source) {
    if (source != nullptr && source->hasText()) {
        const QTextCursor cursor = textCursor();
        // The document counts one character more than its text holds.
        const qsizetype kept =
            document()->characterCount() - 1 - (cursor.selectionEnd() - cursor.selectionStart());
        const qsizetype length = kept + source->text().size();
        if (length > maxCharacters) {
            if (refused) refused(length);
            return;
        }
    }
    QPlainTextEdit::insertFromMimeData(source);
}

QString tooLongForTheBox(qsizetype characters) {
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    return QStringLiteral(
               "The scores would be %1 characters long; the box takes at most %2, since a "
               "longer text freezes the window for seconds. Analyse a table this large with "
               "tarnwick-scores.")
        .arg(english.toString(static_cast<qlonglong>(characters)),
             english.toString(static_cast<qlonglong>(ScoresBox::maxCharacters)));
}

}  // namespace tarnwick::data_window
