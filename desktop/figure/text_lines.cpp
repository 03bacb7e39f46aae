#include "text_lines.h"

#include <QFontMetricsF>
#include <QRegularExpression>

namespace tarnwick::figure {
namespace {

constexpr QChar wordJoiner(0x2060);
constexpr QChar noBreakSpace(0x00A0);

}  // namespace

QString withNumbersKeptWhole(const QString& text) {
    static const QRegularExpression spaceAroundRelation(QStringLiteral(" ([=<>]{1,2}) (?=\\S)"));
    static const QRegularExpression pointBeforeDigits(
        QStringLiteral("(?<=[ \\x{00A0}(\\[])\\.(?=\\d)"));
    QString shown = text;
    shown.replace(spaceAroundRelation,
                  QString(noBreakSpace) + QStringLiteral("\\1") + noBreakSpace);
    return shown.replace(pointBeforeDigits, QStringLiteral(".") + wordJoiner);
}

QString withoutLayoutMarks(const QString& shown) {
    QString plain = shown;
    return plain.remove(wordJoiner).replace(noBreakSpace, QLatin1Char(' '));
}

QStringList wrappedLines(const QString& text, const QFontMetricsF& metrics, qreal width) {
    QStringList lines;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QString line;
        for (const QString& run : withNumbersKeptWhole(paragraph).split(QLatin1Char(' '))) {
            const QString longer = line.isEmpty() ? run : line + QLatin1Char(' ') + run;
            if (line.isEmpty() || metrics.horizontalAdvance(withoutLayoutMarks(longer)) <= width) {
                line = longer;
            } else {
                lines << withoutLayoutMarks(line);
                line = run;
            }
        }
        lines << withoutLayoutMarks(line);
    }
    return lines;
}

}  // namespace tarnwick::figure
