#pragma once
// The planning window's files: the power curve as PNG or SVG, the answer,
// the sentence and the curve on a PDF page, or the sentence as text, written
// by the figures' shared file code.

#include <QFont>
#include <QImage>
#include <QList>
#include <QString>

#include "curve_points.h"
#include "figure_files.h"

namespace tarnwick::planner {

// The save dialog's choices: PDF, PNG, SVG, text.
const QList<figure::FileKind>& planFileKinds();

// The extension of a chosen file name that names a type of file the plan is
// not saved as ("jpg" in "plan5.jpg"), or empty. A name whose last dot is
// not an extension ("Study 1.5", "plan.v2") has none.
QString foreignExtension(const QString& path, const QList<figure::FileKind>& kinds);

// Why the plan is not saved under that name, and what to choose instead.
QString unsavableWords(const QString& path, const QString& extension);

// The curve, the answer line and the sentence as the files hold them.
figure::Figure planFigure(const CurveData& curve, const QString& answer, const QString& sentence,
                          const QFont& font);

}  // namespace tarnwick::planner
