#include "report_text_view.h"

#include <QMimeData>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocumentFragment>

namespace tarnwick::report {

namespace {
constexpr QChar wordJoiner(0x2060);
}

QString withNumbersKeptWhole(const QString& text) {
    static const QRegularExpression pointBeforeDigits(QStringLiteral("(?<=[ (\\[])\\.(?=\\d)"));
    QString shown = text;
    return shown.replace(pointBeforeDigits, QStringLiteral(".") + wordJoiner);
}

QString withoutWordJoiners(const QString& text) {
    QString plain = text;
    return plain.remove(wordJoiner);
}

void ReportTextView::setReport(const QString& text) {
    report_ = text;
    setPlainText(withNumbersKeptWhole(text));
}

QMimeData* ReportTextView::createMimeDataFromSelection() const {
    auto* data = new QMimeData;
    data->setText(withoutWordJoiners(textCursor().selection().toPlainText()));
    return data;
}

}  // namespace tarnwick::report
