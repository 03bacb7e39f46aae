#include "plan_placement.h"

#include <algorithm>

#include "screen_room.h"

namespace tarnwick::planner {
namespace {

constexpr int gap = 8;  // between the frame and the buttons kept clear

}  // namespace

std::optional<QRect> placeClearOf(QSize wanted, QSize minimum, QRect available, QMargins frame,
                                  QRect keepClear) {
    const int across = frame.left() + frame.right();
    const int availableEnd = available.x() + available.width();
    const int clearEnd = keepClear.x() + keepClear.width();
    const int leftRoom = keepClear.x() - gap - available.x() - across;
    const int rightRoom = availableEnd - clearEnd - gap - across;
    const bool left = leftRoom >= rightRoom;
    const int room = left ? leftRoom : rightRoom;
    if (room < minimum.width()) return std::nullopt;
    const QSize size =
        sizeWithin({std::min(wanted.width(), room), wanted.height()}, minimum, available, frame);
    // Beside the buttons, so that the calculator's boxes are covered no more
    // than they must be on that side.
    const int x =
        left ? keepClear.x() - gap - frame.right() - size.width() : clearEnd + gap + frame.left();
    const int free = available.height() - frame.top() - frame.bottom() - size.height();
    const int y = available.y() + frame.top() + std::max(0, free / 2);
    return QRect(QPoint(x, y), size);
}

}  // namespace tarnwick::planner
