#pragma once
// The report's text as the report window shows it: read-only, selectable, and
// wrapped between words only, never inside a number or a "p < .001", by the
// rule every layout of the text follows (text_lines.h).

#include <QPlainTextEdit>

#include "text_lines.h"

class QMimeData;

namespace tarnwick::report {

using figure::withNumbersKeptWhole;
using figure::withoutLayoutMarks;
using figure::wrappedLines;

class ReportTextView final : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit ReportTextView(QWidget* parent = nullptr);

    // Shows the text; toPlainText() then holds the joiners, report() not.
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
