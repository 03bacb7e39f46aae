#pragma once
// The data window: raw scores pasted or opened, or a matched design's two SDs
// and correlation, turned into the summaries the calculator's boxes take, and
// written into them on "Fill the boxes". Modal; Esc closes it. The calculator
// keeps one for the whole session, so what was pasted and chosen is there
// again when it is reopened.

#include <QDialog>
#include <QTimer>
#include <optional>

#include "data_platform.h"
#include "fill_plan.h"
#include "frmScores.h"
#include "score_table.h"
#include "ui_frmData.h"

namespace tarnwick {

class frmData final : public QDialog {
    Q_OBJECT

public:
    // `calculator` is the window whose boxes are filled: its input boxes and
    // design options are found by their names.
    explicit frmData(QWidget& calculator, DataPlatform platform = {}, QWidget* parent = nullptr);

    // Before each opening: with no scores pasted, the layout follows the
    // calculator's design again.
    void prepareToOpen();

    void cmdOpen_Click();
    void cmdFill_Click();
    // Opens the scores report on the scores and layout chosen here.
    void cmdAnalyse_Click();

private:
    void connectControls();
    void takeCalculatorsSummaries();
    void followCalculatorsDesign();
    bool calculatorIsMatched() const;
    void scoresEdited();
    void readScores();
    bool replacesWhatWasPasted(const QString& fileName);
    void markRow(long row);
    void showTable();
    void showColumnChoices();
    void showGroupChoices();
    void showLayoutCaptions();
    void updateSummaries();
    void updateCorrelation();
    void updateFillButton();
    void updateAnalyseButton();
    const data_window::FillPlan* currentPlan() const;
    // The boxes the plan would change whose text is not empty and reads as
    // another number, each as "name (text)". Empty when nothing is lost.
    QStringList boxesThatWouldChange(const data_window::FillPlan& plan) const;
    QString fillQuestion(const data_window::FillPlan& plan, const QStringList& changed) const;
    void fill(const data_window::FillPlan& plan);

    Ui::frmData ui;
    QWidget& calculator_;
    DataPlatform platform_;
    std::optional<data::ScoreTable> table_;
    // Set once the user ticks or clears the header box; detection decides
    // until then, and again for a new file or an emptied text.
    std::optional<bool> headerChoice_;
    std::optional<data_window::FillPlan> scoresPlan_, correlationPlan_;
    // The scores behind scoresPlan_, as the scores report analyses them.
    std::optional<ScoresInput> scores_;
    // The scores report's settings, kept while the program runs.
    ScoresSettingsTexts scoresSettings_;
    // A long text is read once typing pauses, so that each keystroke in it
    // stays quick.
    QTimer readLater_;
};

}  // namespace tarnwick
