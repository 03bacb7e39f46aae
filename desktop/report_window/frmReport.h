#pragma once
// The report window: the plot and the text of the report of one run, with
// commands to copy either, save them, and close. Modal, resizable; Esc closes.

#include <QDialog>

#include "report.h"
#include "report_platform.h"
#include "report_text.h"
#include "ui_frmReport.h"

namespace tarnwick {

class frmReport final : public QDialog {
    Q_OBJECT

public:
    frmReport(const report::Report& report, const report::ReportInputs& inputs,
              ReportPlatform platform = {}, QWidget* parent = nullptr);

    void cmdCopyText_Click();
    void cmdCopyPlot_Click();
    void cmdSave_Click();
    void cmdClose_Click();

private:
    Ui::frmReport ui;
    report::Report report_;
    QString text_;
    ReportPlatform platform_;
};

}  // namespace tarnwick
