#include "picture_widget.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "figure_style.h"

namespace tarnwick::report {
namespace {

// The width a figure asks for when the window has room: 48 lines.
constexpr qreal preferredWidthInLines = 48;
// The height of a figure without a picture yet.
constexpr qreal emptyHeightInLines = 4;

int upward(qreal size) { return static_cast<int>(std::ceil(size)); }

}  // namespace

PictureWidget::PictureWidget(qreal narrowestInLines, QWidget* parent)
    : QWidget(parent), narrowestInLines_(narrowestInLines) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void PictureWidget::pictureChanged() {
    updateGeometry();
    update();
}

QSize PictureWidget::sizeHint() const {
    const QSize least = minimumSizeHint();
    return {
        std::max(least.width(), upward(preferredWidthInLines * figure::lineHeight(font(), this))),
        least.height()};
}

QSize PictureWidget::minimumSizeHint() const {
    const qreal line = figure::lineHeight(font(), this);
    if (!hasPicture()) return {upward(narrowestInLines_ * line), upward(emptyHeightInLines * line)};
    const qreal width = std::max(narrowestInLines_ * line, pictureMinimumWidth(font(), this));
    return {upward(width), upward(pictureHeight(font(), this))};
}

void PictureWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (hasPicture()) paintPicture(painter, QRectF(rect()), font());
}

}  // namespace tarnwick::report
