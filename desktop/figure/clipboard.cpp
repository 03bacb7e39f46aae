#include "clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace tarnwick::figure {

void copyText(const QString& text) { QGuiApplication::clipboard()->setText(text); }

void copyImage(const QImage& image) { QGuiApplication::clipboard()->setImage(image); }

}  // namespace tarnwick::figure
