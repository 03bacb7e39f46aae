#pragma once
// Room on the screen for a window and its frame: the window manager's title
// bar and borders, and the panels that the screen's available area leaves
// out, so that a window opens whole on a small screen such as 1366x768.

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

namespace tarnwick {

// The frame the window manager puts around `shown`, a window already shown
// (its frame geometry less its geometry); where none is known yet, room for
// a title bar is assumed, so that nothing is planned too tall.
QMargins windowFrame(const QWidget* shown);

// `wanted`, no larger than the available area leaves once the frame is
// around it, and no smaller than `minimum`.
QSize sizeWithin(QSize wanted, QSize minimum, QRect available, QMargins frame);

// The available area of the screen `window` (or else the primary screen) is on.
QRect availableArea(const QWidget* window);

}  // namespace tarnwick
