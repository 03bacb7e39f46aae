#include "frmData.h"

#include <QPushButton>
#include <cmath>

#include "announcer.h"
#include "calculator_fill.h"
#include "help_window.h"
#include "number_text.h"
#include "run_time_error.h"
#include "shown_text.h"

namespace tarnwick {

using data_window::fromStd;
using data_window::showText;

frmData::frmData(std::unique_ptr<CalculatorBoxes> calculator, DataPlatform platform,
                 QWidget* parent)
    : QDialog(parent),
      calculator_(std::move(calculator)),
      platform_(std::move(platform)),
      announcer_(new Announcer(*this)) {
    ui.setupUi(this);
    fillToolTip_ = ui.cmdFill->toolTip();
    for (QLabel* error : {ui.lblTableError, ui.lblChoiceError, ui.lblCorrError, ui.lblFillError}) {
        QPalette palette = error->palette();
        palette.setColor(QPalette::WindowText, QColor(0xB0, 0, 0));
        error->setPalette(palette);
        // The fill message stays in place, empty, to keep the buttons at the right.
        if (error != ui.lblFillError) error->hide();
    }
    scoresPage_ = std::make_unique<data_window::ScoresPage>(ui, *this, platform_,
                                                            [this] { updateButtons(); });
    correlationPage_ =
        std::make_unique<data_window::CorrelationPage>(ui, [this] { updateButtons(); });
    correlationPage_->takeSummariesFrom(*calculator_);
    scoresPage_->followDesign(data_window::calculatorIsMatched(*calculator_));
    connect(ui.tabs, &QTabWidget::currentChanged, this, &frmData::updateButtons);
    connect(ui.tabs, &QTabWidget::currentChanged, this, &frmData::announceTaken);
    connect(ui.cmdFill, &QPushButton::clicked, this, &frmData::cmdFill_Click);
    connect(ui.cmdAnalyse, &QPushButton::clicked, this, &frmData::cmdAnalyse_Click);
    connect(ui.cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    help::offerHelp(*this, help::Page::data, ui.cmdHelp);
    scoresPage_->start();
    correlationPage_->start();
    ui.txtScores->setFocus();
}

// The pages go before the widgets do; a tab widget that announces a change
// of page while it is taken apart must not reach them.
frmData::~frmData() { ui.tabs->disconnect(this); }

void frmData::prepareToOpen() {
    fillNews_.clear();
    if (scoresPage_->isEmpty())
        scoresPage_->followDesign(data_window::calculatorIsMatched(*calculator_));
    correlationPage_->takeSummariesFrom(*calculator_);
    updateButtons();
    ui.txtScores->setFocus();
}

const data_window::FillPlan* frmData::currentPlan() const {
    return ui.tabs->currentWidget() == ui.pgCorrelation ? correlationPage_->plan()
                                                        : scoresPage_->plan();
}

// Fill takes the plan of the page in view; only the scores page has scores to
// analyse.
void frmData::updateButtons() {
    showText(*ui.lblFillError, QString());
    ui.cmdFill->setEnabled(currentPlan() != nullptr);
    // A crossover study has no two groups' summaries: Fill says so where it is.
    const bool crossover =
        scoresPage_->crossoverChosen() && ui.tabs->currentWidget() == ui.pgScores;
    ui.cmdFill->setToolTip(crossover ? QStringLiteral("A crossover study has no two groups' "
                                                      "summaries for the boxes; \"Analyse the "
                                                      "scores...\" reports it.")
                                     : fillToolTip_);
    const bool analysable = scoresPage_->crossoverChosen()
                                ? scoresPage_->crossoverStudy().has_value()
                                : scoresPage_->scores().has_value();
    ui.cmdAnalyse->setEnabled(analysable && ui.tabs->currentWidget() == ui.pgScores);
}

// The page that took the calculator's numbers says so as it comes into view.
void frmData::announceTaken() {
    if (ui.tabs->currentWidget() == ui.pgCorrelation)
        announcer_->announce(correlationPage_->takenLine(), Announcer::Politeness::polite);
}

void frmData::cmdAnalyse_Click() {
    if (ui.tabs->currentWidget() != ui.pgScores) return;
    if (scoresPage_->crossoverChosen()) {
        if (!scoresPage_->crossoverStudy()) return;
        frmCrossover report(*scoresPage_->crossoverStudy(), platform_.scoresReport, this,
                            &crossoverSettings_);
        report.exec();
        return;
    }
    if (!scoresPage_->scores()) return;
    ScoresInput input = *scoresPage_->scores();
    // The bounds start as the calculator's, -delta and +delta, when it has one.
    try {
        const double value = textToNumber(calculator_->text("TxtNotTrivial"));
        if (value > 0 && std::isfinite(value)) {
            input.filledLower = fromStd(numberToText(-value));
            input.filledUpper = fromStd(numberToText(value));
        }
    } catch (const RunTimeError&) {
        // No number in the box: the bounds start empty, and the report asks for them.
    }
    frmScores scores(std::move(input), platform_.scoresReport, this, &scoresSettings_);
    scores.exec();
}

void frmData::cmdFill_Click() {
    const data_window::FillPlan* plan = currentPlan();
    if (plan == nullptr) return;
    const QStringList changed = data_window::boxesThatWouldChange(*calculator_, *plan);
    if (!changed.isEmpty() &&
        !platform_.askYesNo(
            this, data_window::fillQuestion(*plan, changed,
                                            data_window::calculatorIsMatched(*calculator_)))) {
        showText(*ui.lblFillError,
                 QStringLiteral("Nothing was filled; the boxes keep their numbers."));
        return;
    }
    fillNews_ = data_window::fillNews(*calculator_, *plan);
    data_window::fillCalculator(*calculator_, *plan);
    accept();
}

}  // namespace tarnwick
