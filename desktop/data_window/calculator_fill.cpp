#include "calculator_fill.h"

#include "box_names.h"
#include "calculator_words.h"
#include "number_text.h"
#include "run_time_error.h"
#include "shown_text.h"

namespace tarnwick::data_window {
namespace {

// A message box breaks lines only between words: a 309-digit decimal would
// run off the screen without a place to break it.
QString breakable(const QString& text) {
    constexpr int longestRun = 40;
    QString result;
    int run = 0;
    for (const QChar c : text) {
        result += c;
        run = c.isSpace() ? 0 : run + 1;
        if (run == longestRun) {
            result += QChar(0x200B);  // zero width space: a break, nothing shown
            run = 0;
        }
    }
    return result;
}

bool sameNumber(const std::string& boxText, const std::string& planned) {
    try {
        return textToNumber(boxText) == textToNumber(planned);
    } catch (const RunTimeError&) {
        return false;
    }
}

}  // namespace

bool calculatorIsMatched(const BoxAccess& calculator) {
    return calculator.isSelected(names::opMatched);
}

QStringList boxesThatWouldChange(const CalculatorBoxes& calculator, const FillPlan& plan) {
    QStringList changed;
    for (const BoxText& planned : plan.boxes) {
        const std::string text = calculator.text(planned.box);
        if (text.empty() || sameNumber(text, planned.text)) continue;
        changed << QStringLiteral("%1: %2 becomes %3")
                       .arg(fromStd(calculator.spokenName(planned.box)), breakable(fromStd(text)),
                            shown(planned.value));
    }
    return changed;
}

QString fillQuestion(const FillPlan& plan, const QStringList& changed, bool calculatorMatched) {
    QString question = QStringLiteral("These boxes already hold other numbers:\n") +
                       changed.join(u'\n') + QStringLiteral("\n\n");
    if (plan.matched != calculatorMatched)
        question +=
            plan.matched
                ? QStringLiteral("The design switches from independent to matched samples.\n\n")
                : QStringLiteral("The design switches from matched to independent samples.\n\n");
    return question + QStringLiteral("Replace them with the numbers from the data?");
}

QString fillNews(const CalculatorBoxes& calculator, const FillPlan& plan) {
    std::vector<std::string> written;
    for (const BoxText& planned : plan.boxes)
        written.push_back(calculator.spokenName(planned.box) + " " +
                          calculator_words::readableNumber(planned.text));
    return fromStd("Filled the calculator's boxes: " + calculator_words::listed(written) +
                   (plan.matched ? "; the design is matched samples."
                                 : "; the design is independent samples."));
}

void fillCalculator(CalculatorBoxes& calculator, const FillPlan& plan) {
    for (const BoxText& planned : plan.boxes) {
        // A box that already reads as this number keeps the user's own text,
        // except a matched design's sizes: the calculator compares them as
        // typed, and would take "04" and "4" for different sizes.
        const bool matchedSize = plan.matched && (planned.box == "TxtN1" || planned.box == "TxtN2");
        const std::string text = calculator.text(planned.box);
        if (!matchedSize && !text.empty() && sameNumber(text, planned.text)) continue;
        // The box shows the new text from its start, so a sign or the first
        // digits are never hidden past its left edge.
        calculator.setText(planned.box, planned.text);
    }
    // Selected as a click selects it, so the calculator switches the matched
    // boxes on or off itself; the sizes are written first, as a matched
    // design needs them equal.
    calculator.select(plan.matched ? names::opMatched : names::opIndependent);
}

}  // namespace tarnwick::data_window
