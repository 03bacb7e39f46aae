#pragma once
// The planning window: what to find (a sample size, the power, or the
// smallest bounds), the study's numbers, and the answer in words as they are
// typed, with a power curve and a sentence to paste into a preregistration,
// both to copy and save. Not modal; Esc hides it, and it keeps what was typed
// for when it is opened again.

#include <QDialog>
#include <QTimer>
#include <optional>

#include "figure_files.h"
#include "form_request.h"
#include "plan_answer.h"
#include "report_platform.h"
#include "ui_frmPlan.h"

namespace tarnwick {

class Announcer;

class frmPlan final : public QDialog {
    Q_OBJECT

public:
    frmPlan(const planner::PlanForm& start, ReportPlatform platform = {},
            QWidget* parent = nullptr);

    // The question as the boxes and choices hold it now.
    planner::PlanForm form() const;
    // The answer shown, if the question has one.
    const std::optional<planner::Answer>& shownAnswer() const { return answer_; }

    // The calculator's numbers as they are now: said beside the boxes when
    // they differ, and taken on request, never silently.
    void setCalculatorNumbers(const planner::PlanForm& calculator);
    const planner::PlanForm& calculatorNumbers() const { return calculator_; }

    // Before the window is first shown: where it opens, clear of the
    // calculator's command buttons (in screen coordinates), on the screen
    // and with the frame of the window that owns it.
    void openClearOf(const QRect& keepClear);

    // How long the answer must stand before a screen reader is told it, so
    // that typing a number does not announce each of its digits.
    static constexpr int announceAfterMs = 700;

    void cmdTakeCalculator_Click();
    void cmdCopyText_Click();
    void cmdCopyCurve_Click();
    void cmdSave_Click();

private:
    void fill(const planner::PlanForm& start);
    // The boxes the two scales share hold the shown scale's numbers; the
    // other scale's wait in kept_ until it is chosen again.
    void showScaleBoxes(bool ratio);
    void keepScaleBoxes();
    void scaleChosen();
    // The radio button of a hypothesis, and the hypothesis checked.
    QRadioButton* hypothesisButton(settings::Hypothesis hypothesis) const;
    settings::Hypothesis hypothesisChosen() const;
    void applyQuestionDefaults(settings::Hypothesis hypothesis);
    void nameWhatTheBoxesHold();
    void connectControls();
    void enableWhatTheQuestionNeeds();
    void showMarginDefault();
    void answerNow();
    void showCurve();
    void showRefusal(const QString& heading, const QString& description);
    void showCalculatorLine();
    void announceAnswer();
    QString spokenAnswer() const;
    figure::Figure figureShown() const;

    Ui::frmPlan ui;
    planner::PlanForm kept_;
    bool showsRatio_ = false;
    // The labels' own texts on the difference scale, as the form defines them.
    QString sdLabel_, differenceLabel_, lowerLabel_, upperLabel_, curveDifferenceLabel_;
    QString sdName_, differenceName_;
    ReportPlatform platform_;
    std::optional<planner::Answer> answer_;
    planner::PlanForm calculator_;
    Announcer* announcer_;
    QTimer announceTimer_;
    QString announced_;
};

}  // namespace tarnwick
