#pragma once
// The planning window: what to find (a sample size, the power, or the
// smallest bounds), the study's numbers, and the answer in words as they are
// typed, with a power curve and a sentence to paste into a preregistration,
// both to copy and save. Not modal; Esc closes it.

#include <QDialog>
#include <optional>

#include "plan_answer.h"
#include "plan_request.h"
#include "report_platform.h"
#include "ui_frmPlan.h"

namespace tarnwick {

class frmPlan final : public QDialog {
    Q_OBJECT

public:
    frmPlan(const planner::PlanForm& start, ReportPlatform platform = {},
            QWidget* parent = nullptr);

    // The question as the boxes and choices hold it now.
    planner::PlanForm form() const;
    // The answer shown, if the question has one.
    const std::optional<planner::PlanAnswer>& shownAnswer() const { return answer_; }

    void cmdCopyText_Click();
    void cmdCopyCurve_Click();
    void cmdSave_Click();

private:
    void fill(const planner::PlanForm& start);
    void connectControls();
    void enableWhatTheQuestionNeeds();
    void answerNow();
    void showCurve();
    void showRefusal(const QString& description);

    Ui::frmPlan ui;
    ReportPlatform platform_;
    std::optional<planner::PlanAnswer> answer_;
};

}  // namespace tarnwick
