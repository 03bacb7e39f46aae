#pragma once
// The windows are laid out in fixed pixel positions for one font and one
// palette; these pin both down so that the layout reads as designed on any
// desktop theme, dark ones included.

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPalette>

#include "box_access.h"

class QApplication;
class QWidget;

namespace tarnwick {

// Fusion with its own light palette, the dialog font and the application icon.
// Call once, right after the QApplication is made and before any window.
void applyLook(QApplication& app);

// A sans-serif of 8.25 points whose widths match the captions' boxes.
QFont dialogFont();

QIcon applicationIcon();

// Explicit colours are 0x00BBGGRR; scheme colours (0x80000000 plus an index)
// are looked up in the given palette, so the button face follows the theme.
QColor toQColor(Colour colour, const QPalette& scheme);

// Gives one widget's palette role (Base for a box's background, Text for its
// text) the colour in every state, so a box keeps it when it loses focus.
void setColour(QWidget& widget, QPalette::ColorRole role, Colour colour);

}  // namespace tarnwick
