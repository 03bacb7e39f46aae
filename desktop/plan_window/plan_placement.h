#pragma once
// Where the planning window opens. It is not modal, so that the calculator
// stays within reach while planning: it opens to one side of the
// calculator's command buttons, never over them, and whole within the
// screen's available area with its frame.

#include <QMargins>
#include <QRect>
#include <QSize>
#include <optional>

namespace tarnwick::planner {

// The window's geometry (inside its frame): `wanted` or as much of it as the
// side with more room allows, never narrower than `minimum`, its frame a gap
// away from `keepClear`, centred in the height. Empty when neither side has
// room for the minimum width: the window system then places it.
std::optional<QRect> placeClearOf(QSize wanted, QSize minimum, QRect available, QMargins frame,
                                  QRect keepClear);

}  // namespace tarnwick::planner
