#pragma once
// The data window's scores page: a table pasted or opened, its preview, the
// layout, columns and groups chosen, and the summaries these give, both as
// the boxes' fill plan and as the scores the scores report analyses.

#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>

#include "crossover_study.h"
#include "data_platform.h"
#include "fill_plan.h"
#include "frmScores.h"
#include "score_table.h"
#include "ui_frmData.h"

namespace tarnwick::data_window {

class ScoresPage final : public QObject {
public:
    // `changed` is called whenever plan() or scores() may have changed.
    ScoresPage(Ui::frmData& form, QWidget& owner, const DataPlatform& platform,
               std::function<void()> changed);

    // Connects the page's controls and reads what the box holds.
    void start();
    bool isEmpty() const;
    // Chooses the layout of the calculator's design.
    void followDesign(bool matched);
    void openFile();

    // Null until the scores and choices give summaries.
    const FillPlan* plan() const;
    // The scores behind plan(), when they have a spread to analyse.
    const std::optional<ScoresInput>& scores() const { return scores_; }
    // The layout of a crossover study: one response a row, no groups to fill
    // the boxes with.
    bool crossoverChosen() const;
    // The study read in that layout, when it can be analysed.
    const std::optional<crossover::CrossoverStudy>& crossoverStudy() const { return study_; }

private:
    void scoresEdited();
    void readScores();
    bool replacesWhatWasPasted(const QString& fileName);
    void showRefusal(QString text);
    void markRow(long row);
    void showTable();
    void showColumnChoices();
    void showGroupChoices();
    void showLayoutCaptions();
    void updateSummaries();
    void readCrossover();
    void showReferenceChoices();

    Ui::frmData& ui;
    QWidget& owner_;
    const DataPlatform& platform_;
    std::function<void()> changed_;
    std::optional<data::ScoreTable> table_;
    // Set once the user ticks or clears the header box; detection decides
    // until then, and again for a new file or an emptied text.
    std::optional<bool> headerChoice_;
    std::optional<FillPlan> plan_;
    std::optional<ScoresInput> scores_;
    std::optional<crossover::CrossoverStudy> study_;
    // A long text is read once typing pauses, so that each keystroke in it
    // stays quick.
    QTimer readLater_;
};

}  // namespace tarnwick::data_window
