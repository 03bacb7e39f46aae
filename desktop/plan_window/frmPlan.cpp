#include "frmPlan.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

#include "announcer.h"
#include "be_words.h"
#include "clipboard.h"
#include "curve_points.h"
#include "figure_files.h"
#include "fixed_text.h"
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
    sdLabel_ = ui.lblSD->text();
    sdName_ = ui.txtSD->accessibleName();
    differenceName_ = ui.txtDifference->accessibleName();
    differenceLabel_ = ui.lblDifference->text();
    lowerLabel_ = ui.lblLower->text();
    upperLabel_ = ui.lblUpper->text();
    curveDifferenceLabel_ = ui.opCurveDifference->text();
    // The designs in the engine's order, worded to end the choice's sentence
    // ("Bioequivalence: the ratio, subjects in a 2x2 crossover (TR/RT)").
    for (const be::BeDesign design : be::allDesigns())
        ui.cboBeDesign->addItem(fromStd(planner::designWords(design)));
    // The list it opens is a control of its own to a screen reader.
    ui.cboBeDesign->view()->setObjectName(QStringLiteral("lstBeDesigns"));
    ui.cboBeDesign->view()->setAccessibleName(QStringLiteral("Bioequivalence designs"));
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
    (start.ratioScale                        ? ui.opBioequivalence
     : start.design == plan::Design::matched ? ui.opMatched
                                             : ui.opIndependent)
        ->setChecked(true);
    ui.cboBeDesign->setCurrentIndex(static_cast<int>(start.beDesign));
    kept_ = start;
    (start.symmetric ? ui.opSymmetric : ui.opAsymmetric)->setChecked(true);
    hypothesisButton(start.hypothesis)->setChecked(true);
    ui.cboBetter->setCurrentIndex(start.better == settings::Better::lower ? 1 : 0);
    ui.chkSdUnits->setChecked(start.sdUnits);
    ui.txtAlpha->setText(fromStd(start.alpha));
    ui.txtBound->setText(fromStd(start.bound));
    ui.txtPower->setText(fromStd(start.power));
    ui.txtRatio->setText(fromStd(start.ratio));
    ui.txtN2->setText(fromStd(start.n2));
    showScaleBoxes(start.ratioScale);
}

void frmPlan::showScaleBoxes(bool ratio) {
    showsRatio_ = ratio;
    const planner::PlanForm& k = kept_;
    ui.txtSD->setText(fromStd(ratio ? k.cv : k.sd));
    ui.txtDifference->setText(fromStd(ratio ? k.ratio0 : k.difference));
    ui.txtLower->setText(fromStd(ratio ? k.lowerRatio : k.lower));
    ui.txtUpper->setText(fromStd(ratio ? k.upperRatio : k.upper));
    ui.txtN1->setText(fromStd(ratio ? k.total : k.n1));
    ui.txtMargin->setText(fromStd(ratio ? k.marginRatio : k.margin));
}

QRadioButton* frmPlan::hypothesisButton(settings::Hypothesis hypothesis) const {
    switch (hypothesis) {
        case settings::Hypothesis::minimalEffect:
            return ui.opMinimalEffect;
        case settings::Hypothesis::nonInferiority:
            return ui.opNonInferiority;
        case settings::Hypothesis::nonSuperiority:
            return ui.opNonSuperiority;
        case settings::Hypothesis::superiority:
            return ui.opSuperiority;
        case settings::Hypothesis::equivalence:
            break;
    }
    return ui.opEquivalence;
}

settings::Hypothesis frmPlan::hypothesisChosen() const {
    for (const settings::Hypothesis h :
         {settings::Hypothesis::minimalEffect, settings::Hypothesis::nonInferiority,
          settings::Hypothesis::nonSuperiority, settings::Hypothesis::superiority}) {
        if (hypothesisButton(h)->isChecked()) return h;
    }
    return settings::Hypothesis::equivalence;
}

void frmPlan::keepScaleBoxes() {
    planner::PlanForm& k = kept_;
    (showsRatio_ ? k.cv : k.sd) = textOf(ui.txtSD);
    (showsRatio_ ? k.ratio0 : k.difference) = textOf(ui.txtDifference);
    (showsRatio_ ? k.lowerRatio : k.lower) = textOf(ui.txtLower);
    (showsRatio_ ? k.upperRatio : k.upper) = textOf(ui.txtUpper);
    (showsRatio_ ? k.total : k.n1) = textOf(ui.txtN1);
    (showsRatio_ ? k.marginRatio : k.margin) = textOf(ui.txtMargin);
}

// Between the difference of two means and the ratio the shared boxes swap
// their numbers, so that neither scale's are lost; the ratio finds no bounds.
void frmPlan::scaleChosen() {
    const bool ratio = ui.opBioequivalence->isChecked();
    if (ratio != showsRatio_) {
        keepScaleBoxes();
        const QSignalBlocker blocks[] = {
            QSignalBlocker(ui.txtSD),    QSignalBlocker(ui.txtDifference),
            QSignalBlocker(ui.txtLower), QSignalBlocker(ui.txtUpper),
            QSignalBlocker(ui.txtN1),    QSignalBlocker(ui.txtMargin)};
        showScaleBoxes(ratio);
    }
    if (ratio && ui.opFindBounds->isChecked()) ui.opFindSize->setChecked(true);
    // The ratio is planned for equivalence or a one-sided question.
    if (ratio && ui.opMinimalEffect->isChecked()) ui.opEquivalence->setChecked(true);
}

// A one-sided question asks for no bounds; its alpha starts at .025, and a
// two-sided one's at .05, where the box holds the other's default untouched.
void frmPlan::applyQuestionDefaults(settings::Hypothesis hypothesis) {
    const bool oneSided = settings::isOneSided(hypothesis);
    if (oneSided && ui.opFindBounds->isChecked()) ui.opFindSize->setChecked(true);
    const QString from = oneSided ? QStringLiteral("0.05") : QStringLiteral("0.025");
    if (ui.txtAlpha->text() == from) {
        ui.txtAlpha->setText(oneSided ? QStringLiteral("0.025") : QStringLiteral("0.05"));
    }
}

// The margin a blank box stands for, as its placeholder; a one-sided
// question on the difference scale has none but superiority's (no effect),
// so the box asks for one.
void frmPlan::showMarginDefault() {
    settings::TestSettings s;
    s.hypothesis = hypothesisChosen();
    s.better =
        ui.cboBetter->currentIndex() == 1 ? settings::Better::lower : settings::Better::higher;
    s.scale =
        ui.opBioequivalence->isChecked() ? settings::Scale::ratio : settings::Scale::difference;
    const std::optional<double> usual = settings::isOneSided(s.hypothesis)
                                            ? settings::marginOrDefault(s, std::nullopt)
                                            : std::nullopt;
    ui.txtMargin->setPlaceholderText(usual ? fromStd(number_text::fixedText(*usual, 2))
                                     : settings::isOneSided(s.hypothesis)
                                         ? QStringLiteral("required")
                                         : QString());
}

planner::PlanForm frmPlan::form() const {
    // The other scale's numbers as kept; the shown scale's from the boxes.
    planner::PlanForm f = kept_;
    f.ratioScale = ui.opBioequivalence->isChecked();
    f.beDesign = static_cast<be::BeDesign>(std::max(0, ui.cboBeDesign->currentIndex()));
    f.question = ui.opFindPower->isChecked()    ? planner::Question::power
                 : ui.opFindBounds->isChecked() ? planner::Question::bound
                                                : planner::Question::size;
    f.design = ui.opMatched->isChecked() ? plan::Design::matched : plan::Design::independent;
    f.symmetric = ui.opSymmetric->isChecked();
    f.hypothesis = hypothesisChosen();
    f.better =
        ui.cboBetter->currentIndex() == 1 ? settings::Better::lower : settings::Better::higher;
    f.sdUnits = ui.chkSdUnits->isChecked();
    f.alpha = textOf(ui.txtAlpha);
    f.bound = textOf(ui.txtBound);
    f.power = textOf(ui.txtPower);
    f.ratio = textOf(ui.txtRatio);
    f.n2 = textOf(ui.txtN2);
    (showsRatio_ ? f.cv : f.sd) = textOf(ui.txtSD);
    (showsRatio_ ? f.ratio0 : f.difference) = textOf(ui.txtDifference);
    (showsRatio_ ? f.lowerRatio : f.lower) = textOf(ui.txtLower);
    (showsRatio_ ? f.upperRatio : f.upper) = textOf(ui.txtUpper);
    (showsRatio_ ? f.total : f.n1) = textOf(ui.txtN1);
    (showsRatio_ ? f.marginRatio : f.margin) = textOf(ui.txtMargin);
    return f;
}

void frmPlan::connectControls() {
    for (QLineEdit* box : {ui.txtAlpha, ui.txtBound, ui.txtLower, ui.txtUpper, ui.txtDifference,
                           ui.txtSD, ui.txtPower, ui.txtRatio, ui.txtN1, ui.txtN2, ui.txtMargin}) {
        connect(box, &QLineEdit::textChanged, this, &frmPlan::answerNow);
    }
    for (QRadioButton* choice :
         {ui.opFindSize, ui.opFindPower, ui.opFindBounds, ui.opIndependent, ui.opMatched,
          ui.opBioequivalence, ui.opSymmetric, ui.opAsymmetric, ui.opEquivalence,
          ui.opMinimalEffect, ui.opNonInferiority, ui.opNonSuperiority, ui.opSuperiority}) {
        // Each group's newly checked option, not the one it leaves.
        connect(choice, &QRadioButton::toggled, this, [this](bool checked) {
            if (!checked) return;
            scaleChosen();
            applyQuestionDefaults(hypothesisChosen());
            enableWhatTheQuestionNeeds();
            answerNow();
        });
    }
    connect(ui.cboBetter, &QComboBox::currentIndexChanged, this, [this] {
        showMarginDefault();
        answerNow();
    });
    connect(ui.cboBeDesign, &QComboBox::currentIndexChanged, this, [this] {
        enableWhatTheQuestionNeeds();
        answerNow();
    });
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
    const bool ratio = ui.opBioequivalence->isChecked();
    const bool oneSided = settings::isOneSided(hypothesisChosen());
    // The ratio's bounds are two ratios, and its test equivalence or a
    // one-sided question's; a one-sided question has a margin, not bounds.
    const bool matched = ui.opMatched->isChecked() || ratio;
    const bool givenBounds = !bound && !oneSided;
    const bool symmetric = ui.opSymmetric->isChecked() && !ratio;
    ui.cboBeDesign->setEnabled(ratio);
    ui.opFindBounds->setEnabled(!ratio && !oneSided);
    ui.opMinimalEffect->setEnabled(!ratio);
    ui.chkSdUnits->setEnabled(!ratio && !oneSided);
    for (QWidget* w : {static_cast<QWidget*>(ui.lblMargin), static_cast<QWidget*>(ui.txtMargin),
                       static_cast<QWidget*>(ui.lblBetter), static_cast<QWidget*>(ui.cboBetter)})
        w->setEnabled(oneSided);
    showMarginDefault();
    ui.opSymmetric->setEnabled(givenBounds && !ratio);
    ui.opAsymmetric->setEnabled(givenBounds && !ratio);
    ui.lblBoundsKind->setEnabled(givenBounds && !ratio);
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
    nameWhatTheBoxesHold();
}

// On the ratio scale the shared boxes hold a CV (named with its kind), the
// true ratio, the bounds as ratios and the subjects in all.
void frmPlan::nameWhatTheBoxesHold() {
    if (!ui.opBioequivalence->isChecked()) {
        ui.lblSD->setText(sdLabel_);
        ui.txtSD->setAccessibleName(sdName_);
        ui.lblDifference->setText(differenceLabel_);
        ui.txtDifference->setAccessibleName(differenceName_);
        ui.lblLower->setText(lowerLabel_);
        ui.lblUpper->setText(upperLabel_);
        ui.opCurveDifference->setText(curveDifferenceLabel_);
        return;
    }
    const auto design = static_cast<be::BeDesign>(std::max(0, ui.cboBeDesign->currentIndex()));
    const bool parallel = design == be::BeDesign::parallel;
    const QString kind = fromStd(planner::cvKind(design));
    ui.lblSD->setText((parallel ? QStringLiteral("Total") : QStringLiteral("Within-subject")) +
                      QStringLiteral(" CV (a f&raction: 0.30 is 30%)"));
    ui.txtSD->setAccessibleName(kind + QStringLiteral(" CV"));
    ui.lblSDMeaning->setText(
        parallel ? QStringLiteral("parallel groups: the total CV of one observation, between and "
                                  "within subjects; CV = \u221A(exp(s\u00B2) \u2212 1) of the "
                                  "log-scale SD s")
                 : QStringLiteral("crossover and paired designs: the within-subject CV of one "
                                  "observation; CV = \u221A(exp(s\u00B2) \u2212 1) of the "
                                  "log-scale SD s"));
    ui.lblDifference->setText(QStringLiteral("True ratio T/R (assume&d)"));
    ui.txtDifference->setAccessibleName(QStringLiteral("True ratio"));
    ui.lblLower->setText(QStringLiteral("Lo&wer bound (a ratio)"));
    ui.lblUpper->setText(QStringLiteral("Upp&er bound (a ratio)"));
    ui.lblN1->setText(design == be::BeDesign::paired ? QStringLiteral("Subjects (&1)")
                                                     : QStringLiteral("Subjects in all (&1)"));
    ui.txtN1->setAccessibleName(QStringLiteral("Subjects in all"));
    ui.opCurveDifference->setText(QStringLiteral("against the true ratio o&f T to R"));
}

void frmPlan::answerNow() {
    showCalculatorLine();
    announceTimer_.start();
    try {
        answer_ = planner::answer(planner::readForm(form()));
    } catch (const settings::SettingsError& refusal) {
        // A margin on the wrong side, or none where the question needs one:
        // asked about in the question's words.
        showRefusal(QStringLiteral("This question has no answer."), fromStd(refusal.description()));
        return;
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
