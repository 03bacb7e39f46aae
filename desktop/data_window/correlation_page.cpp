#include "correlation_page.h"

#include <cmath>
#include <utility>

#include "calculator_words.h"
#include "data_error.h"
#include "score_cell.h"
#include "shown_text.h"

namespace tarnwick::data_window {
namespace {

// The number in a box of the page: empty is "not yet", anything else that is
// not a number is an error naming the box.
std::optional<double> typedNumber(const QLineEdit& box, QStringList& problems) {
    const QString text = box.text().trimmed();
    if (text.isEmpty()) return std::nullopt;
    const data::ScoreCell cell = data::readScoreCell(text.toStdString());
    if (cell.kind == data::CellKind::number) return cell.value;
    problems << QStringLiteral("%1: \"%2\" is not a number.").arg(box.accessibleName(), text);
    return std::nullopt;
}

}  // namespace

CorrelationPage::CorrelationPage(Ui::frmData& form, std::function<void()> changed)
    : ui(form), changed_(std::move(changed)) {}

void CorrelationPage::start() {
    for (QLineEdit* box : {ui.txtCorrMean1, ui.txtCorrSD1, ui.txtCorrMean2, ui.txtCorrSD2,
                           ui.txtCorrPairs, ui.txtCorrR})
        connect(box, &QLineEdit::textChanged, this, &CorrelationPage::update);
    update();
}

void CorrelationPage::takeSummariesFrom(const BoxAccess& calculator) {
    const std::pair<const char*, QLineEdit*> sources[] = {{"TxtMean1", ui.txtCorrMean1},
                                                          {"TxtSD1", ui.txtCorrSD1},
                                                          {"TxtMean2", ui.txtCorrMean2},
                                                          {"TxtSD2", ui.txtCorrSD2},
                                                          {"TxtN1", ui.txtCorrPairs}};
    for (const auto& [box, field] : sources) {
        if (!field->text().isEmpty()) continue;
        const QString text = QString::fromStdString(calculator.text(box));
        if (text.isEmpty()) continue;
        // Recorded before the text is set, so the line already names it.
        std::erase_if(taken_, [field = field](const auto& entry) { return entry.first == field; });
        taken_.emplace_back(field, text);
        field->setText(text);
    }
    showTaken();
}

QString CorrelationPage::takenLine() const {
    std::vector<std::string> held;
    for (const auto& [field, text] : taken_) {
        if (field->text() != text) continue;
        const std::string number = calculator_words::readableNumber(text.toStdString());
        if (field == ui.txtCorrPairs) {
            held.push_back(number + " pairs");
            continue;
        }
        QString what = field->accessibleName();  // "Group 1 SD"
        what[0] = what[0].toLower();
        held.push_back("a " + what.toStdString() + " of " + number);
    }
    return held.empty() ? QString() : fromStd(calculator_words::heldLine(held, {}));
}

void CorrelationPage::showTaken() {
    const QString line = takenLine();
    // Told as changed only when it has.
    if (line != ui.lblCorrTaken->text()) showText(*ui.lblCorrTaken, line);
    ui.lblCorrTaken->setVisible(!line.isEmpty());
}

void CorrelationPage::update() {
    plan_.reset();
    showText(*ui.lblCorrResult, QString());
    QStringList problems;
    const auto mean1 = typedNumber(*ui.txtCorrMean1, problems);
    const auto sd1 = typedNumber(*ui.txtCorrSD1, problems);
    const auto mean2 = typedNumber(*ui.txtCorrMean2, problems);
    const auto sd2 = typedNumber(*ui.txtCorrSD2, problems);
    const auto pairs = typedNumber(*ui.txtCorrPairs, problems);
    const auto r = typedNumber(*ui.txtCorrR, problems);
    if (pairs && (*pairs != std::floor(*pairs) || *pairs > 1e15)) {
        problems << QStringLiteral("Number of pairs: a whole number is needed.");
    }
    if (problems.isEmpty() && mean1 && sd1 && mean2 && sd2 && pairs && r) {
        try {
            plan_ =
                planFromCorrelation({*mean1, *sd1, *mean2, *sd2, static_cast<long>(*pairs), *r});
            const auto& boxes = plan_->boxes;
            showText(*ui.lblCorrResult,
                     QStringLiteral("Mean difference = %1, SD of the differences = %2")
                         .arg(shown(boxes[boxes.size() - 2].value), shown(boxes.back().value)));
        } catch (const data::DataError& error) {
            problems << fromStd(error.description());
        }
    }
    showTaken();
    showText(*ui.lblCorrError, problems.join(u'\n'));
    ui.lblCorrError->setVisible(!problems.isEmpty());
    changed_();
}

}  // namespace tarnwick::data_window
