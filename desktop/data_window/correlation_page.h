#pragma once
// The data window's correlation page: a matched design from the two groups'
// summaries and the correlation of the measures, as the boxes' fill plan.

#include <QObject>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "box_access.h"
#include "fill_plan.h"
#include "ui_frmData.h"

namespace tarnwick::data_window {

class CorrelationPage final : public QObject {
public:
    // `changed` is called whenever plan() may have changed.
    CorrelationPage(Ui::frmData& form, std::function<void()> changed);

    // Connects the page's boxes and reads what they hold.
    void start();
    // Empty boxes of the page take what the calculator's boxes hold, so a
    // user who has typed the group summaries adds only r; what was typed on
    // the page itself is kept. The page says which numbers it took, as long
    // as its boxes hold them.
    void takeSummariesFrom(const BoxAccess& calculator);
    // "These are the calculator's numbers: a group 1 mean of 10 and 30
    // pairs.", or empty when no box holds a number taken from it.
    QString takenLine() const;

    // Null until every box holds a valid number.
    const FillPlan* plan() const { return plan_ ? &*plan_ : nullptr; }

private:
    void update();
    void showTaken();

    Ui::frmData& ui;
    std::function<void()> changed_;
    std::optional<FillPlan> plan_;
    // The boxes filled from the calculator, with the text each took.
    std::vector<std::pair<QLineEdit*, QString>> taken_;
};

}  // namespace tarnwick::data_window
