#include "screen_room.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace tarnwick {
namespace {

// A title bar and thin borders, as most window managers draw them.
constexpr QMargins assumedFrame(4, 32, 4, 4);

}  // namespace

QMargins windowFrame(const QWidget* shown) {
    if (shown == nullptr || !shown->isVisible()) return assumedFrame;
    const QRect frame = shown->frameGeometry(), inside = shown->geometry();
    const QMargins margins(inside.left() - frame.left(), inside.top() - frame.top(),
                           frame.right() - inside.right(), frame.bottom() - inside.bottom());
    // No title bar seen: either no window manager, or it has not said yet.
    return margins.top() > 0 ? margins : assumedFrame;
}

QSize sizeWithin(QSize wanted, QSize minimum, QRect available, QMargins frame) {
    const int width = available.width() - frame.left() - frame.right();
    const int height = available.height() - frame.top() - frame.bottom();
    return {std::max(minimum.width(), std::min(wanted.width(), width)),
            std::max(minimum.height(), std::min(wanted.height(), height))};
}

QRect availableArea(const QWidget* window) {
    const QScreen* screen = window != nullptr ? window->screen() : nullptr;
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

}  // namespace tarnwick
