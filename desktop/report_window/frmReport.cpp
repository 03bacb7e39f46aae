#include "frmReport.h"

#include <exception>

#include "clipboard.h"
#include "enter_on_buttons.h"
#include "number_text.h"
#include "report_files.h"

namespace tarnwick {
namespace {

// A number as the calculator's boxes read one, "." as the decimal mark in
// every locale.
std::optional<double> typedNumber(const QString& text) {
    try {
        return textToNumber(text.toStdString());
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace

frmReport::frmReport(const RunRecord& record, const report::ReportInputs& inputs,
                     ReportPlatform platform, QWidget* parent, ReportSettingsTexts* kept)
    : QDialog(parent),
      record_(record),
      inputs_(inputs),
      platform_(std::move(platform)),
      kept_(kept) {
    ui.setupUi(this);
    ui.lblRun->setText(
        QString::fromStdString(report::runLine(inputs) + " " + report::inputsLine(inputs)));
    // The bounds start as the calculator's, -delta and +delta.
    if (record.independent.tests) {
        const double delta = record.independent.tests->bound;
        filledLower_ = QString::fromStdString(numberToText(-delta));
        filledUpper_ = QString::fromStdString(numberToText(delta));
    }
    const ReportSettingsTexts start = kept ? *kept : ReportSettingsTexts{};
    ui.txtAlpha->setText(start.alpha);
    ui.txtLower->setText(start.bounds ? start.bounds->first : filledLower_);
    ui.txtUpper->setText(start.bounds ? start.bounds->second : filledUpper_);
    ui.chkSdUnits->setChecked(start.sdUnits);
    ui.chkWelch->setChecked(start.welch);
    ui.chkMinimalEffect->setChecked(start.minimalEffect);
    // The plot as tall as it needs; the text takes the rest.
    ui.splitter->setStretchFactor(0, 0);
    ui.splitter->setStretchFactor(1, 1);
    // Break lines only between words; the view keeps a number such as ".019" whole.
    ui.txtReport->setWordWrapMode(QTextOption::WordWrap);
    showReport();
    ui.splitter->setSizes({ui.plot->sizeHint().height(), height()});
    for (QLineEdit* box : {ui.txtAlpha, ui.txtLower, ui.txtUpper})
        connect(box, &QLineEdit::textChanged, this, &frmReport::settings_Change);
    for (QCheckBox* box : {ui.chkSdUnits, ui.chkWelch, ui.chkMinimalEffect})
        connect(box, &QCheckBox::toggled, this, &frmReport::settings_Change);
    connect(ui.cmdCopyText, &QPushButton::clicked, this, &frmReport::cmdCopyText_Click);
    connect(ui.cmdCopyPlot, &QPushButton::clicked, this, &frmReport::cmdCopyPlot_Click);
    connect(ui.cmdSave, &QPushButton::clicked, this, &frmReport::cmdSave_Click);
    connect(ui.cmdClose, &QPushButton::clicked, this, &frmReport::cmdClose_Click);
    letEnterPressFocusedButtons(*this);
    ui.cmdClose->setFocus();
}

std::optional<settings::TestSettings> frmReport::typedSettings(QString* why) const {
    settings::TestSettings s;
    const std::optional<double> alpha = typedNumber(ui.txtAlpha->text());
    if (!alpha) {
        *why = QStringLiteral("Type alpha as a number between 0 and 0.5, such as 0.05.");
        return std::nullopt;
    }
    s.alpha = *alpha;
    const QString lower = ui.txtLower->text(), upper = ui.txtUpper->text();
    const bool filled = lower == filledLower_ && upper == filledUpper_;
    if (!filled) {
        if (lower.trimmed().isEmpty() || upper.trimmed().isEmpty()) {
            *why = QStringLiteral("Type both bounds, as numbers such as -0.5 and 0.5.");
            return std::nullopt;
        }
        const std::optional<double> l = typedNumber(lower), u = typedNumber(upper);
        if (!l || !u) {
            *why = QStringLiteral("Type each bound as a number, such as -0.5 or 0.5.");
            return std::nullopt;
        }
        s.bounds = settings::Bounds{*l, *u};
    }
    if (ui.chkSdUnits->isChecked()) s.units = settings::BoundUnits::sd;
    if (ui.chkWelch->isChecked()) s.standardError = settings::StandardError::welch;
    if (ui.chkMinimalEffect->isChecked()) s.hypothesis = settings::Hypothesis::minimalEffect;
    return s;
}

void frmReport::settings_Change() {
    if (kept_) {
        kept_->alpha = ui.txtAlpha->text();
        const bool filled =
            ui.txtLower->text() == filledLower_ && ui.txtUpper->text() == filledUpper_;
        kept_->bounds = filled ? std::nullopt
                               : std::optional(std::pair{ui.txtLower->text(), ui.txtUpper->text()});
        kept_->sdUnits = ui.chkSdUnits->isChecked();
        kept_->welch = ui.chkWelch->isChecked();
        kept_->minimalEffect = ui.chkMinimalEffect->isChecked();
    }
    showReport();
}

void frmReport::showReport() {
    QString why;
    report_.reset();
    if (const std::optional<settings::TestSettings> s = typedSettings(&why)) {
        try {
            report_ = report::makeReport(record_, *s);
        } catch (const settings::SettingsError& e) {
            why = QString::fromStdString(e.description());
        }
    }
    const QString runLine = QString::fromStdString(report::runLine(inputs_));
    if (!report_) {
        // A setting that cannot be used gets its sentence, and no number.
        text_.clear();
        ui.lblNotice->setText(why);
        ui.txtReport->setReport(why);
        ui.plot->setVisible(false);
        setAccessibleDescription(runLine + QLatin1Char(' ') + why);
    } else {
        text_ = QString::fromStdString(report::reportText(*report_, inputs_));
        const QString notice = QString::fromStdString(report::settingsNotice(*report_));
        ui.lblNotice->setText(notice);
        ui.plot->setReport(*report_);
        ui.plot->setVisible(true);
        ui.txtReport->setReport(text_);
        // Heard as the window opens: which run this report is of, and
        // whether it asks another question than the calculator's.
        setAccessibleDescription(notice.isEmpty() ? runLine : runLine + QLatin1Char(' ') + notice);
    }
    ui.lblNotice->setVisible(!ui.lblNotice->text().isEmpty());
    for (QPushButton* command : {ui.cmdCopyText, ui.cmdCopyPlot, ui.cmdSave})
        command->setEnabled(report_.has_value());
}

void frmReport::cmdCopyText_Click() {
    if (report_) figure::copyText(text_);
}

void frmReport::cmdCopyPlot_Click() {
    if (!report_) return;
    const QImage image = report::plotImage(*report_, ui.plot->font(), ui.plot->width(),
                                           ui.plot->devicePixelRatioF());
    figure::copyImage(image);
}

void frmReport::cmdSave_Click() {
    if (!report_) return;
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
    const QString failure = report::saveReport(path, *format, *report_, text_, font());
    if (!failure.isEmpty()) {
        platform_.showMessage(this,
                              QStringLiteral("The report could not be saved to ") + path +
                                  QStringLiteral(": ") + failure,
                              MessageIcon::error, QStringLiteral("Tarnwick"));
    }
}

void frmReport::cmdClose_Click() { accept(); }

}  // namespace tarnwick
