#pragma once
// What a screen reader should say when a run has filled the result boxes.

#include <QString>

class QWidget;

namespace tarnwick {

// Each result frame's verdict with the verdict box's name, or, for a frame the
// run filled without a verdict, what its t (upper) box says in its place.
// Empty when both frames are empty.
QString runSummary(const QWidget& window);

}  // namespace tarnwick
