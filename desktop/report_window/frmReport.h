#pragma once
// The report window: the settings of the test, the plot and the text of the
// report of one run, with commands to copy either, save them, and close.
// Modal, resizable; Esc closes.

#include <QDialog>
#include <optional>

#include "report.h"
#include "report_platform.h"
#include "report_text.h"
#include "run_record.h"
#include "test_settings_row.h"
#include "ui_frmReport.h"

namespace tarnwick {

class SettledAnnouncer;

// The settings as typed, kept by whoever opens reports so that the next
// report opens with them while the program runs.
struct ReportSettingsTexts {
    QString alpha = QStringLiteral("0.05");
    // Bounds typed over the ones filled from the non-trivial difference;
    // absent while they are the filled ones.
    std::optional<std::pair<QString, QString>> bounds;
    bool sdUnits = false, welch = false;
    settings::Hypothesis hypothesis = settings::Hypothesis::equivalence;
    settings::Better better = settings::Better::higher;
    // A one-sided question's margin as typed (empty: the default).
    QString margin;
    // The ratio scale, and its bound texts (empty: the usual 0.80 and 1.25).
    settings::Scale scale = settings::Scale::difference;
    std::pair<QString, QString> ratioBounds;
};

class frmReport final : public QDialog {
    Q_OBJECT

public:
    // `kept` (may be null) holds the settings the window opens with and
    // receives each change; the window never owns it.
    frmReport(const RunRecord& record, const report::ReportInputs& inputs,
              ReportPlatform platform = {}, QWidget* parent = nullptr,
              ReportSettingsTexts* kept = nullptr);

    void cmdCopyText_Click();
    void cmdCopyPlot_Click();
    void cmdSave_Click();
    void cmdClose_Click();
    // Any setting typed or ticked: the report, its plot and text follow.
    void settings_Change();

    // The report as shown; absent while the settings cannot be used.
    const std::optional<report::Report>& shownReport() const { return report_; }

private:
    // The settings as typed, or the sentence why they cannot be used.
    std::optional<settings::TestSettings> typedSettings(QString* why) const;
    void showReport();
    // What a screen reader is told of the report shown, or why there is none.
    QString news() const;

    Ui::frmReport ui;
    RunRecord record_;
    report::ReportInputs inputs_;
    std::optional<report::Report> report_;
    QString text_;
    ReportPlatform platform_;
    ReportSettingsTexts* kept_;
    QString filledLower_, filledUpper_;
    QString why_;  // the settings' problem, while there is no report
    SettledAnnouncer* announcer_;
};

}  // namespace tarnwick
