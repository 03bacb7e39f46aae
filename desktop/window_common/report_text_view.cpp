#include "report_text_view.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMimeData>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocumentFragment>

namespace tarnwick::report {

namespace {
constexpr QChar wordJoiner(0x2060);
}  // namespace

namespace {

// What a screen reader reads of the view: the report as reported, without
// the joiners that only steer the line breaking. Offsets are the report's;
// they are mapped to and from the view's own, which count the joiners.
class ReportTextAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ReportTextAccessible(ReportTextView* view)
        : QAccessibleWidget(view, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.multiLine = true;
        s.selectableText = true;
        return s;
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) return view()->report();
        return QAccessibleWidget::text(kind);
    }

    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        const QTextCursor cursor = view()->textCursor();
        if (index != 0 || !cursor.hasSelection()) return;
        *start = reported(cursor.selectionStart());
        *end = reported(cursor.selectionEnd());
    }
    int selectionCount() const override { return view()->textCursor().hasSelection() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override {
        QTextCursor cursor = view()->textCursor();
        cursor.clearSelection();
        view()->setTextCursor(cursor);
    }
    void setSelection(int, int start, int end) override {
        QTextCursor cursor = view()->textCursor();
        cursor.setPosition(shown(start));
        cursor.setPosition(shown(end), QTextCursor::KeepAnchor);
        view()->setTextCursor(cursor);
    }
    int cursorPosition() const override { return reported(view()->textCursor().position()); }
    void setCursorPosition(int position) override {
        QTextCursor cursor = view()->textCursor();
        cursor.setPosition(shown(position));
        view()->setTextCursor(cursor);
    }
    QString text(int start, int end) const override {
        return view()->report().mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(view()->report().size()); }
    QRect characterRect(int offset) const override {
        QTextCursor cursor(view()->document());
        cursor.setPosition(shown(offset));
        QRect rect = view()->cursorRect(cursor);
        const QString& report = view()->report();
        const QChar c = offset >= 0 && offset < report.size() ? report[offset] : QChar(u' ');
        rect.setWidth(qMax(1, view()->fontMetrics().horizontalAdvance(c)));
        return QRect(view()->viewport()->mapToGlobal(rect.topLeft()), rect.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        const QPoint local = view()->viewport()->mapFromGlobal(point);
        return reported(view()->cursorForPosition(local).position());
    }
    void scrollToSubstring(int start, int end) override {
        setSelection(0, start, end);
        view()->ensureCursorVisible();
    }
    QString attributes(int offset, int* start, int* end) const override {
        *start = offset;
        *end = offset;
        return {};
    }

private:
    ReportTextView* view() const { return static_cast<ReportTextView*>(widget()); }

    // A position in the view's text to an offset in the report, and back.
    int reported(int position) const {
        const QString shownText = view()->document()->toRawText();
        return position - static_cast<int>(shownText.left(position).count(wordJoiner));
    }
    int shown(int offset) const {
        const QString shownText = view()->document()->toRawText();
        int position = 0;
        for (int left = offset; position < shownText.size(); ++position) {
            if (shownText[position] == wordJoiner) continue;
            if (left-- == 0) break;
        }
        return position;
    }
};

QAccessibleInterface* accessibleReportText(const QString& className, QObject* object) {
    if (className == QLatin1String(ReportTextView::staticMetaObject.className()) &&
        object->isWidgetType()) {
        return new ReportTextAccessible(static_cast<ReportTextView*>(object));
    }
    return nullptr;
}

}  // namespace

ReportTextView::ReportTextView(QWidget* parent) : QPlainTextEdit(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(accessibleReportText);
        return true;
    }();
    Q_UNUSED(installed);
}

void ReportTextView::setReport(const QString& text) {
    report_ = text;
    setPlainText(withNumbersKeptWhole(text));
}

QMimeData* ReportTextView::createMimeDataFromSelection() const {
    auto* data = new QMimeData;
    data->setText(withoutLayoutMarks(textCursor().selection().toPlainText()));
    return data;
}

}  // namespace tarnwick::report
