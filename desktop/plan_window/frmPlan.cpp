#include "frmPlan.h"

#include <QCheckBox>
#include <QLineEdit>

#include "announcer.h"
#include "clipboard.h"
#include "curve_points.h"
#include "figure_files.h"
#include "help_window.h"
#include "main_window_start.h"
#include "plan_files.h"
#include "plan_placement.h"
#include "plan_words.h"
#include "report_text_view.h"
#include "screen_room.h"

namespace tarnwick {
namespace {

std::string textOf(const QLineEdit* box) { return box->text().toStdString(); }

QString fromStd(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

frmPlan::frmPlan(const planner::PlanForm& start, ReportPlatform platform, QWidget* parent)
    : QDialog(parent),
      platform_(std::move(platform)),
      calculator_(start),
      announcer_(new Announcer(*this)) {
    ui.setupUi(this);
    // The answer stands out; a refusal reads as plainly, in dark red.
    QFont bold = ui.lblAnswer->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    ui.lblAnswer->setFont(bold);
    QPalette refusal = ui.lblError->palette();
    refusal.setColor(QPalette::WindowText, QColor(160, 0, 0));
    ui.lblError->setPalette(refusal);
    announceTimer_.setSingleShot(true);
    announceTimer_.setInterval(announceAfterMs);
    fill(start);
    connectControls();
    enableWhatTheQuestionNeeds();
    answerNow();
    // The first answer is read with the window; only later ones are news.
    announceTimer_.stop();
    announced_ = spokenAnswer();
}

void frmPlan::fill(const planner::PlanForm& start) {
    using planner::Question;
    (start.question == Question::size    ? ui.opFindSize
     : start.question == Question::power ? ui.opFindPower
                                         : ui.opFindBounds)
        ->setChecked(true);
    (start.design == plan::Design::matched ? ui.opMatched : ui.opIndependent)->setChecked(true);
    (start.symmetric ? ui.opSymmetric : ui.opAsymmetric)->setChecked(true);
    (start.minimalEffect ? ui.opMinimalEffect : ui.opEquivalence)->setChecked(true);
    ui.chkSdUnits->setChecked(start.sdUnits);
    ui.txtAlpha->setText(fromStd(start.alpha));
    ui.txtBound->setText(fromStd(start.bound));
    ui.txtLower->setText(fromStd(start.lower));
    ui.txtUpper->setText(fromStd(start.upper));
    ui.txtDifference->setText(fromStd(start.difference));
    ui.txtSD->setText(fromStd(start.sd));
    ui.txtPower->setText(fromStd(start.power));
    ui.txtRatio->setText(fromStd(start.ratio));
    ui.txtN1->setText(fromStd(start.n1));
    ui.txtN2->setText(fromStd(start.n2));
}

planner::PlanForm frmPlan::form() const {
    planner::PlanForm f;
    f.question = ui.opFindPower->isChecked()    ? planner::Question::power
                 : ui.opFindBounds->isChecked() ? planner::Question::bound
                                                : planner::Question::size;
    f.design = ui.opMatched->isChecked() ? plan::Design::matched : plan::Design::independent;
    f.symmetric = ui.opSymmetric->isChecked();
    f.minimalEffect = ui.opMinimalEffect->isChecked();
    f.sdUnits = ui.chkSdUnits->isChecked();
    f.alpha = textOf(ui.txtAlpha);
    f.bound = textOf(ui.txtBound);
    f.lower = textOf(ui.txtLower);
    f.upper = textOf(ui.txtUpper);
    f.difference = textOf(ui.txtDifference);
    f.sd = textOf(ui.txtSD);
    f.power = textOf(ui.txtPower);
    f.ratio = textOf(ui.txtRatio);
    f.n1 = textOf(ui.txtN1);
    f.n2 = textOf(ui.txtN2);
    return f;
}

void frmPlan::connectControls() {
    for (QLineEdit* box : {ui.txtAlpha, ui.txtBound, ui.txtLower, ui.txtUpper, ui.txtDifference,
                           ui.txtSD, ui.txtPower, ui.txtRatio, ui.txtN1, ui.txtN2}) {
        connect(box, &QLineEdit::textChanged, this, &frmPlan::answerNow);
    }
    for (QRadioButton* choice :
         {ui.opFindSize, ui.opFindPower, ui.opFindBounds, ui.opIndependent, ui.opMatched,
          ui.opSymmetric, ui.opAsymmetric, ui.opEquivalence, ui.opMinimalEffect}) {
        // Each group's newly checked option, not the one it leaves.
        connect(choice, &QRadioButton::toggled, this, [this](bool checked) {
            if (!checked) return;
            enableWhatTheQuestionNeeds();
            answerNow();
        });
    }
    connect(ui.chkSdUnits, &QCheckBox::toggled, this, &frmPlan::answerNow);
    for (QRadioButton* axis : {ui.opCurveSize, ui.opCurveDifference}) {
        connect(axis, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked) showCurve();
        });
    }
    connect(ui.cmdPower80, &QPushButton::clicked, this,
            [this] { ui.txtPower->setText(QStringLiteral("0.8")); });
    connect(ui.cmdPower90, &QPushButton::clicked, this,
            [this] { ui.txtPower->setText(QStringLiteral("0.9")); });
    connect(ui.cmdTakeCalculator, &QPushButton::clicked, this, &frmPlan::cmdTakeCalculator_Click);
    connect(&announceTimer_, &QTimer::timeout, this, &frmPlan::announceAnswer);
    connect(ui.cmdCopyText, &QPushButton::clicked, this, &frmPlan::cmdCopyText_Click);
    connect(ui.cmdCopyCurve, &QPushButton::clicked, this, &frmPlan::cmdCopyCurve_Click);
    connect(ui.cmdSave, &QPushButton::clicked, this, &frmPlan::cmdSave_Click);
    connect(ui.cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    help::offerHelp(*this, help::Page::plan, ui.cmdHelp);
}

// A box the question does not use is switched off but keeps its number.
void frmPlan::enableWhatTheQuestionNeeds() {
    const bool size = ui.opFindSize->isChecked();
    const bool bound = ui.opFindBounds->isChecked();
    const bool matched = ui.opMatched->isChecked();
    const bool givenBounds = !bound;
    const bool symmetric = ui.opSymmetric->isChecked();
    ui.opSymmetric->setEnabled(givenBounds);
    ui.opAsymmetric->setEnabled(givenBounds);
    ui.lblBoundsKind->setEnabled(givenBounds);
    for (QWidget* w : {static_cast<QWidget*>(ui.lblBound), static_cast<QWidget*>(ui.txtBound)})
        w->setEnabled(givenBounds && symmetric);
    for (QWidget* w : {static_cast<QWidget*>(ui.lblLower), static_cast<QWidget*>(ui.txtLower),
                       static_cast<QWidget*>(ui.lblUpper), static_cast<QWidget*>(ui.txtUpper)})
        w->setEnabled(givenBounds && !symmetric);
    for (QWidget* w : {static_cast<QWidget*>(ui.lblPower), static_cast<QWidget*>(ui.txtPower),
                       static_cast<QWidget*>(ui.cmdPower80), static_cast<QWidget*>(ui.cmdPower90)})
        w->setEnabled(!ui.opFindPower->isChecked());
    for (QWidget* w : {static_cast<QWidget*>(ui.lblRatio), static_cast<QWidget*>(ui.txtRatio)})
        w->setEnabled(size && !matched);
    for (QWidget* w : {static_cast<QWidget*>(ui.lblN1), static_cast<QWidget*>(ui.txtN1)})
        w->setEnabled(!size);
    for (QWidget* w : {static_cast<QWidget*>(ui.lblN2), static_cast<QWidget*>(ui.txtN2)})
        w->setEnabled(!size && !matched);
    ui.lblN1->setText(matched ? QStringLiteral("Number of pairs (&1)")
                              : QStringLiteral("Size of group &1"));
    ui.txtN1->setAccessibleName(matched ? QStringLiteral("Number of pairs")
                                        : QStringLiteral("Size of group 1"));
    ui.lblSDMeaning->setText(
        matched ? QStringLiteral("matched pairs: the SD of the difference scores, not of one "
                                 "observation")
                : QStringLiteral("the common SD within each group"));
}

void frmPlan::answerNow() {
    showCalculatorLine();
    announceTimer_.start();
    try {
        answer_ = planner::answer(planner::readForm(form()));
    } catch (const plan::PlanError& refusal) {
        // A box still to be filled is a question not yet asked; anything else
        // is a question that has no answer however long one waits.
        showRefusal(refusal.number() == static_cast<int>(planner::RequestProblem::notANumber)
                        ? QStringLiteral("No answer yet.")
                        : QStringLiteral("This question has no answer."),
                    fromStd(refusal.description()));
        return;
    } catch (const std::exception& failure) {
        // Whatever else goes wrong is said, not hidden, and the window stays.
        showRefusal(QStringLiteral("This question has no answer."),
                    QStringLiteral("The planner could not answer: ") + fromStd(failure.what()));
        return;
    }
    ui.lblAnswer->setText(fromStd(planner::answerLine(*answer_)));
    // The label's accessible name says what it is; its description carries the
    // answer itself to a screen reader.
    ui.lblAnswer->setAccessibleDescription(ui.lblAnswer->text());
    ui.lblError->clear();
    ui.lblError->setAccessibleDescription(QString());
    ui.lblError->hide();
    ui.txtSentence->setReport(fromStd(planner::preregistrationSentence(*answer_)));
    for (QPushButton* b : {ui.cmdCopyText, ui.cmdCopyCurve, ui.cmdSave})
        b->setEnabled(true);
    showCurve();
}

void frmPlan::showRefusal(const QString& heading, const QString& description) {
    answer_.reset();
    ui.lblAnswer->setText(heading);
    ui.lblAnswer->setAccessibleDescription(ui.lblAnswer->text());
    ui.lblError->setText(description);
    ui.lblError->setAccessibleDescription(description);
    ui.lblError->show();
    ui.txtSentence->setReport(QString());
    ui.curve->setCurve(std::nullopt);
    for (QPushButton* b : {ui.cmdCopyText, ui.cmdCopyCurve, ui.cmdSave})
        b->setEnabled(false);
}

void frmPlan::setCalculatorNumbers(const planner::PlanForm& calculator) {
    calculator_ = calculator;
    showCalculatorLine();
}

void frmPlan::openClearOf(const QRect& keepClear) {
    const QWidget* owner = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
    const std::optional<QRect> place = planner::placeClearOf(
        size(), minimumSizeHint(), availableArea(owner), windowFrame(owner), keepClear);
    if (place) setGeometry(*place);
}

void frmPlan::cmdTakeCalculator_Click() {
    fill(planner::withCalculatorNumbers(form(), calculator_));
    enableWhatTheQuestionNeeds();
    answerNow();
}

void frmPlan::showCalculatorLine() {
    const planner::PlanForm here = form();
    ui.lblCalculator->setText(fromStd(planner::calculatorLine(here, calculator_)));
    ui.lblCalculator->setAccessibleDescription(ui.lblCalculator->text());
    ui.cmdTakeCalculator->setEnabled(planner::differsFromCalculator(here, calculator_));
}

QString frmPlan::spokenAnswer() const {
    if (answer_) return ui.lblAnswer->text();
    return ui.lblAnswer->text() + QLatin1Char(' ') + ui.lblError->text();
}

// Politely, once the answer has stood a moment, and only when it is new.
void frmPlan::announceAnswer() {
    const QString message = spokenAnswer();
    if (message == announced_) return;
    announced_ = message;
    announcer_->announce(message, Announcer::Politeness::polite);
}

void frmPlan::showCurve() {
    if (!answer_) return;
    const auto axis = ui.opCurveDifference->isChecked() ? planner::CurveAxis::difference
                                                        : planner::CurveAxis::size;
    ui.curve->setCurve(planner::curveOf(*answer_, axis));
}

void frmPlan::cmdCopyText_Click() {
    if (answer_) figure::copyText(ui.txtSentence->report());
}

figure::Figure frmPlan::figureShown() const {
    return planner::planFigure(*ui.curve->curve(), ui.lblAnswer->text(), ui.txtSentence->report(),
                               font());
}

void frmPlan::cmdCopyCurve_Click() {
    if (!answer_ || !ui.curve->curve()) return;
    // The very image the PNG file holds, so a pasted curve and a saved one match.
    figure::copyImage(figure::pngImage(figureShown()));
}

void frmPlan::cmdSave_Click() {
    if (!answer_ || !ui.curve->curve()) return;
    const QList<figure::FileKind>& kinds = planner::planFileKinds();
    QString filter;
    const QString chosen = platform_.chooseSaveFile(this, QStringLiteral("Save the plan"),
                                                    figure::saveFilters(kinds), &filter);
    if (chosen.isEmpty()) return;
    const std::optional<figure::FileFormat> format = figure::formatOf(chosen, filter, kinds);
    const QString foreign = planner::foreignExtension(chosen, kinds);
    if (!format || !foreign.isEmpty()) {
        platform_.showMessage(this, planner::unsavableWords(chosen, foreign), MessageIcon::error,
                              QStringLiteral("Tarnwick"));
        return;
    }
    const QString path = figure::withExtension(chosen, *format, kinds);
    const QString failure = figure::saveFigure(path, *format, figureShown());
    if (!failure.isEmpty()) {
        platform_.showMessage(this,
                              QStringLiteral("The plan could not be saved to ") + path +
                                  QStringLiteral(": ") + failure,
                              MessageIcon::error, QStringLiteral("Tarnwick"));
    }
}

}  // namespace tarnwick
