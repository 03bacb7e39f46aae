#pragma once
// What the text colour of a result box tells the eye, put in words for a
// screen reader, which reads no colours: whether a p value is below .05,
// whether a one-sided test passed, what the verdict is.

#include <QString>
#include <string_view>

#include "box_access.h"

class QWidget;

namespace tarnwick {

// Empty where the colour says nothing about that box.
QString colourMeaning(std::string_view box, Colour colour);

// A colour's meaning belongs to the value that was coloured: whenever a result
// box's text changes (a run, Start again, the user typing), its meaning is
// withdrawn until the analysis colours the new value.
void withdrawColourMeaningsOnNewText(QWidget& window);

}  // namespace tarnwick
