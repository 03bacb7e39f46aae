#pragma once
// The calculator's window: the group statistics and the non-trivial difference
// go in at the top, the design and degrees-of-freedom choices below them, and
// the analysis writes its results into the two frames at the bottom.

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <optional>

#include "frmReport.h"
#include "platform.h"
#include "report.h"
#include "report_text.h"
#include "run_record.h"
#include "ui_frmBrevant.h"

class QLineEdit;

namespace tarnwick {

class Announcer;
class KeystrokeFilter;
class frmData;
class frmPlan;

class frmBrevant final : public QWidget {
    Q_OBJECT

public:
    explicit frmBrevant(Platform platform = {}, QWidget* parent = nullptr);

    // Commands and design switch.
    void cmdDoIt_Click();
    void cmdNew_Click();
    void cmdExit_Click();
    void cmdCredits_Click();
    // Opens the report of the last run that ended with results.
    void cmdReport_Click();
    // Opens the data window, which fills the boxes from raw scores.
    void cmdData_Click();
    // Opens the planning window, filled from the boxes that hold numbers; a
    // second time, shows the same window as it was left, told the boxes' numbers.
    void cmdPlan_Click();
    void opIndependent_Click();
    void opMatched_Click();

    // Key-press procedures: each sees a typed character before its box does
    // and discards it by setting KeyAscii to 0.
    void TxtMean1_KeyPress(std::int16_t& KeyAscii);
    void TxtMean2_KeyPress(std::int16_t& KeyAscii);
    void TxtMeanDiff_KeyPress(std::int16_t& KeyAscii);
    void TxtSD1_KeyPress(std::int16_t& KeyAscii);
    void TxtSD2_KeyPress(std::int16_t& KeyAscii);
    void TxtSDMatched_KeyPress(std::int16_t& KeyAscii);
    void TxtNotTrivial_KeyPress(std::int16_t& KeyAscii);
    void TxtN1_KeyPress(std::int16_t& KeyAscii);
    void TxtN2_KeyPress(std::int16_t& KeyAscii);

    // Entering a group box selects its text, so that typing replaces it.
    void TxtMean1_GotFocus();
    void TxtMean2_GotFocus();
    void TxtSD1_GotFocus();
    void TxtSD2_GotFocus();
    void TxtN1_GotFocus();
    void TxtN2_GotFocus();

    // The rule for boxes that hold a signed decimal: digits, backspace, one
    // point anywhere and one minus sign at the very start. Returns KeyAscii
    // or 0.
    std::int16_t NumericCharsOnly(const QLineEdit& box, std::int16_t KeyAscii) const;

private:
    void applyStartColours();
    void installKeystrokeFilters();
    void connectProcedures();
    void keepReportOf(const RunRecord& record);
    // The inputs as the boxes and options hold them now.
    report::ReportInputs typedInputs() const;

    Ui::frmBrevant ui;
    Platform platform_;
    // The record of the last run that ended with results, and that run's
    // inputs as typed; a later run that ends with a message leaves them.
    std::optional<RunRecord> lastRecord_;
    report::ReportInputs lastReportInputs_;
    // The report window's settings, kept from one report to the next while
    // the program runs.
    ReportSettingsTexts reportSettings_;
    Announcer* announcer_;
    QPointer<frmPlan> plan_;
    // One for the session: what was pasted into it is kept between openings.
    QPointer<frmData> data_;
};

// Where a window of the given size sits centred in the available area, kept
// inside it on a screen too small for the window so its title bar stays
// within reach.
QPoint centredTopLeft(QSize window, QRect available);

}  // namespace tarnwick
