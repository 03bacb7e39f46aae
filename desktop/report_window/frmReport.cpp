#include "frmReport.h"

#include "clipboard.h"
#include "enter_on_buttons.h"
#include "report_files.h"

namespace tarnwick {

frmReport::frmReport(const report::Report& report, const report::ReportInputs& inputs,
                     ReportPlatform platform, QWidget* parent)
    : QDialog(parent),
      report_(report),
      text_(QString::fromStdString(report::reportText(report, inputs))),
      platform_(std::move(platform)) {
    ui.setupUi(this);
    ui.lblRun->setText(
        QString::fromStdString(report::runLine(inputs) + " " + report::inputsLine(inputs)));
    // Heard as the window opens: which run this report is of.
    setAccessibleDescription(QString::fromStdString(report::runLine(inputs)));
    ui.plot->setReport(report_);
    ui.txtReport->setReport(text_);
    // The plot as tall as it needs; the text takes the rest.
    ui.splitter->setStretchFactor(0, 0);
    ui.splitter->setStretchFactor(1, 1);
    ui.splitter->setSizes({ui.plot->sizeHint().height(), height()});
    // Break lines only between words; the view keeps a number such as ".019" whole.
    ui.txtReport->setWordWrapMode(QTextOption::WordWrap);
    connect(ui.cmdCopyText, &QPushButton::clicked, this, &frmReport::cmdCopyText_Click);
    connect(ui.cmdCopyPlot, &QPushButton::clicked, this, &frmReport::cmdCopyPlot_Click);
    connect(ui.cmdSave, &QPushButton::clicked, this, &frmReport::cmdSave_Click);
    connect(ui.cmdClose, &QPushButton::clicked, this, &frmReport::cmdClose_Click);
    letEnterPressFocusedButtons(*this);
    ui.cmdClose->setFocus();
}

void frmReport::cmdCopyText_Click() { figure::copyText(text_); }

void frmReport::cmdCopyPlot_Click() {
    const QImage image =
        report::plotImage(report_, ui.plot->font(), ui.plot->width(), ui.plot->devicePixelRatioF());
    figure::copyImage(image);
}

void frmReport::cmdSave_Click() {
    QString filter;
    const QString chosen = platform_.chooseSaveFile(this, QStringLiteral("Save the report"),
                                                    report::saveFilters(), &filter);
    if (chosen.isEmpty()) return;
    const std::optional<report::SaveFormat> format = report::formatOf(chosen, filter);
    if (!format) {
        platform_.showMessage(this,
                              QStringLiteral("Choose a PDF, PNG, SVG or text file to save to."),
                              MessageIcon::error, QStringLiteral("Tarnwick"));
        return;
    }
    const QString path = report::withExtension(chosen, *format);
    const QString failure = report::saveReport(path, *format, report_, text_, font());
    if (!failure.isEmpty()) {
        platform_.showMessage(this,
                              QStringLiteral("The report could not be saved to ") + path +
                                  QStringLiteral(": ") + failure,
                              MessageIcon::error, QStringLiteral("Tarnwick"));
    }
}

void frmReport::cmdClose_Click() { accept(); }

}  // namespace tarnwick
