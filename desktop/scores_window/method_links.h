#pragma once
// The line under the scores report's text that links each analysis, by the
// title the report gives it, to its section of the help's page: the report
// itself is plain text, its words the engine's.

#include <QLabel>
#include <QString>

namespace tarnwick::scores_window {

// "Methods in the help: <a href="#normal">Normal theory</a>, ...", one link
// an analysis of the analysis table, in its order; each link is "#" and the
// analysis's name, the anchor of its section.
QString methodLinks();

// The line itself. Tabbed into, it is at its first link (backwards, its
// last), which Return follows, as a row of buttons would be; a label is
// otherwise at no link until Tab is pressed again, showing no focus at all.
class MethodLinks final : public QLabel {
    Q_OBJECT

public:
    explicit MethodLinks(QWidget* parent = nullptr);

protected:
    void focusInEvent(QFocusEvent* event) override;
};

}  // namespace tarnwick::scores_window
