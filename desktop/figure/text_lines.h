#pragma once
// Where a line of the calculator's texts may break: between words only, never
// inside a number or a "p < .001". One rule for every layout of a text: the
// report window's view, and the page of text that a PDF holds.

#include <QString>
#include <QStringList>

class QFontMetricsF;

namespace tarnwick::figure {

// Qt's line breaking allows a break between the point and the digits of a
// number written without its leading zero after a space ("p = .019" may wrap
// as "p = ." and "019"), and at the spaces of "p < .001". For laying out
// only: a word joiner (U+2060) after such a point and no-break spaces around
// "=", "<" and ">" keep each whole. The plain spaces left are where a line
// may break.
QString withNumbersKeptWhole(const QString& text);

// The text as written: no joiners, plain spaces.
QString withoutLayoutMarks(const QString& shown);

// The text in lines no wider than `width` (a line holding one unbreakable run
// wider than that stays whole), broken only where withNumbersKeptWhole leaves
// a plain space; each paragraph starts a line. The lines are as written.
QStringList wrappedLines(const QString& text, const QFontMetricsF& metrics, qreal width);

}  // namespace tarnwick::figure
