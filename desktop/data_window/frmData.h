#pragma once
// The data window: raw scores pasted or opened, or a matched design's two SDs
// and correlation, turned into the summaries the calculator's boxes take, and
// written into them on "Fill the boxes". Modal; Esc closes it. The calculator
// keeps one for the whole session, so what was pasted and chosen is there
// again when it is reopened. This file wires the two pages (scores_page.h,
// correlation_page.h) to the buttons below them.

#include <QDialog>
#include <memory>

#include "calculator_boxes.h"
#include "correlation_page.h"
#include "data_platform.h"
#include "frmCrossover.h"
#include "frmScores.h"
#include "scores_page.h"
#include "ui_frmData.h"

namespace tarnwick {

class Announcer;

class frmData final : public QDialog {
    Q_OBJECT

public:
    // `calculator` holds the boxes the window fills and reads its design from.
    explicit frmData(std::unique_ptr<CalculatorBoxes> calculator, DataPlatform platform = {},
                     QWidget* parent = nullptr);
    ~frmData() override;

    // Before each opening: with no scores pasted, the layout follows the
    // calculator's design again.
    void prepareToOpen();

    void cmdFill_Click();
    // What the last "Fill the boxes" wrote, in words (calculator_fill.h);
    // empty when the window closed without filling.
    const QString& fillNews() const { return fillNews_; }
    // Opens the scores report on the scores and layout chosen here.
    void cmdAnalyse_Click();

private:
    const data_window::FillPlan* currentPlan() const;
    void updateButtons();
    void announceTaken();

    Ui::frmData ui;
    std::unique_ptr<CalculatorBoxes> calculator_;
    DataPlatform platform_;
    std::unique_ptr<data_window::ScoresPage> scoresPage_;
    std::unique_ptr<data_window::CorrelationPage> correlationPage_;
    // The scores report's settings, kept while the program runs.
    ScoresSettingsTexts scoresSettings_;
    CrossoverSettingsTexts crossoverSettings_;
    QString fillNews_;
    QString fillToolTip_;  // the form's, for every layout but the crossover's
    Announcer* announcer_;
};

}  // namespace tarnwick
