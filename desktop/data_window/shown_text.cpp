#include "shown_text.h"

#include <QAccessible>
#include <QLabel>

#include "apa_format.h"

namespace tarnwick::data_window {

QString shown(double value) { return fromStd(report::apa::readable(value)); }

void showText(QLabel& label, const QString& text) {
    label.setText(text);
    label.setAccessibleDescription(text);
    QAccessibleEvent changed(&label, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

}  // namespace tarnwick::data_window
