#include "method_links.h"

#include <QFocusEvent>
#include <QStringList>

#include "analysis_table.h"

namespace tarnwick::scores_window {

QString methodLinks() {
    QStringList links;
    for (const score_report::AnalysisEntry& entry : score_report::analysisTable()) {
        links << QStringLiteral("<a href=\"#%1\">%2</a>")
                     .arg(QString::fromUtf8(entry.name.data(), qsizetype(entry.name.size())),
                          QString::fromUtf8(entry.title.data(), qsizetype(entry.title.size()))
                              .toHtmlEscaped());
    }
    const QString last = links.takeLast();
    return QStringLiteral("Methods in the help: ") + links.join(QStringLiteral(", ")) +
           QStringLiteral(" and ") + last + QLatin1Char('.');
}

MethodLinks::MethodLinks(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::RichText);
    setOpenExternalLinks(false);
    setTextInteractionFlags(Qt::LinksAccessibleByKeyboard | Qt::LinksAccessibleByMouse);
    setText(methodLinks());
}

void MethodLinks::focusInEvent(QFocusEvent* event) {
    QLabel::focusInEvent(event);
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        focusNextPrevChild(event->reason() == Qt::TabFocusReason);
}

}  // namespace tarnwick::scores_window
