#pragma once
// Putting a figure or its text on the system clipboard.

#include <QImage>
#include <QString>

namespace tarnwick::figure {

void copyText(const QString& text);
void copyImage(const QImage& image);

}  // namespace tarnwick::figure
