#pragma once
// The report's text as the report window shows it: read-only, selectable, and
// wrapped between words only.

#include <QPlainTextEdit>

class QMimeData;

namespace tarnwick::report {

// Qt's line breaking allows a break between the point and the digits of a
// number written without its leading zero after a space ("p = .019" may wrap
// as "p = ." and "019"). For showing only, a word joiner (U+2060) after such a
// point keeps the number whole.
QString withNumbersKeptWhole(const QString& text);
QString withoutWordJoiners(const QString& text);

class ReportTextView final : public QPlainTextEdit {
    Q_OBJECT

public:
    using QPlainTextEdit::QPlainTextEdit;

    // Shows the text; toPlainText() then holds the word joiners, report() not.
    void setReport(const QString& text);
    const QString& report() const { return report_; }

protected:
    // What is copied or dragged from the view is the report's own text,
    // without the joiners, which would travel invisibly into a manuscript.
    QMimeData* createMimeDataFromSelection() const override;

private:
    QString report_;
};

}  // namespace tarnwick::report
