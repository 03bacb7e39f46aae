#pragma once
// How the data window's pages show what they found: numbers by the rule for
// numbers read on screen, and labels whose news a screen reader announces.

#include <QString>
#include <string>

class QLabel;

namespace tarnwick::data_window {

inline QString fromStd(const std::string& text) { return QString::fromStdString(text); }

// The one rule for numbers read on screen; the boxes get every digit.
QString shown(double value);

// A screen reader names a label by its accessible name, which says what the
// label is for; what it shows now is its description, announced as changed.
void showText(QLabel& label, const QString& text);

}  // namespace tarnwick::data_window
