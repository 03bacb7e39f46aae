#include "frmReport.h"

#include "clipboard.h"
#include "enter_on_buttons.h"
#include "help_window.h"
#include "number_text.h"
#include "report_files.h"
#include "save_target.h"
#include "settled_announcer.h"

namespace tarnwick {

frmReport::frmReport(const RunRecord& record, const report::ReportInputs& inputs,
                     ReportPlatform platform, QWidget* parent, ReportSettingsTexts* kept)
    : QDialog(parent),
      record_(record),
      inputs_(inputs),
      platform_(std::move(platform)),
      kept_(kept),
      announcer_(new SettledAnnouncer(*this)) {
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
    ui.settingsRow->setTexts(start.alpha, start.bounds ? start.bounds->first : filledLower_,
                             start.bounds ? start.bounds->second : filledUpper_);
    ui.settingsRow->setFilledBounds(filledLower_, filledUpper_);
    ui.settingsRow->setChoices(start.sdUnits, start.welch, false);
    if (start.scale == settings::Scale::ratio)
        ui.settingsRow->setScale(start.scale, start.ratioBounds.first, start.ratioBounds.second);
    ui.settingsRow->setQuestion(start.hypothesis, start.better);
    // A one-sided question's margin sits in the lower bound's box.
    if (settings::isOneSided(start.hypothesis))
        ui.settingsRow->setTexts(start.alpha, start.margin, ui.settingsRow->upperText());
    // The plot as tall as it needs; the text takes the rest.
    ui.splitter->setStretchFactor(0, 0);
    ui.splitter->setStretchFactor(1, 1);
    // Break lines only between words; the view keeps a number such as ".019" whole.
    ui.txtReport->setWordWrapMode(QTextOption::WordWrap);
    showReport();
    // The first report is read with the window; only later ones are news.
    announcer_->takeAsSaid(news());
    ui.splitter->setSizes({ui.plot->sizeHint().height(), height()});
    connect(ui.settingsRow, &TestSettingsRow::changed, this, &frmReport::settings_Change);
    connect(ui.cmdCopyText, &QPushButton::clicked, this, &frmReport::cmdCopyText_Click);
    connect(ui.cmdCopyPlot, &QPushButton::clicked, this, &frmReport::cmdCopyPlot_Click);
    connect(ui.cmdSave, &QPushButton::clicked, this, &frmReport::cmdSave_Click);
    connect(ui.cmdClose, &QPushButton::clicked, this, &frmReport::cmdClose_Click);
    help::offerHelp(*this, help::Page::report, ui.cmdHelp);
    letEnterPressFocusedButtons(*this);
    ui.cmdClose->setFocus();
}

std::optional<settings::TestSettings> frmReport::typedSettings(QString* why) const {
    const TestSettingsRow& row = *ui.settingsRow;
    settings::TestSettings s;
    const std::optional<double> alpha = row.typedAlpha(why);
    if (!alpha) return std::nullopt;
    s.alpha = *alpha;
    s.scale = row.scale();
    const bool ratio = s.scale == settings::Scale::ratio;
    const bool filled = row.lowerText() == filledLower_ && row.upperText() == filledUpper_;
    s.hypothesis = row.hypothesis();
    s.better = row.better();
    if (settings::isOneSided(s.hypothesis)) {
        std::optional<double> margin;
        if (!row.typedMargin(&margin, why)) return std::nullopt;
        s.margin = margin;
    } else if (ratio || !filled) {
        const std::optional<settings::Bounds> bounds = row.typedBounds(why);
        if (!bounds) return std::nullopt;
        s.bounds = *bounds;
    }
    if (row.sdUnits()) s.units = settings::BoundUnits::sd;
    if (row.welch()) s.standardError = settings::StandardError::welch;
    return s;
}

void frmReport::settings_Change() {
    if (kept_) {
        const TestSettingsRow& row = *ui.settingsRow;
        kept_->alpha = row.alphaText();
        kept_->scale = row.scale();
        kept_->hypothesis = row.hypothesis();
        kept_->better = row.better();
        if (settings::isOneSided(kept_->hypothesis)) {
            kept_->margin = row.lowerText();
        } else if (kept_->scale == settings::Scale::ratio) {
            kept_->ratioBounds = {row.lowerText(), row.upperText()};
        } else {
            const bool filled = row.lowerText() == filledLower_ && row.upperText() == filledUpper_;
            kept_->bounds =
                filled ? std::nullopt : std::optional(std::pair{row.lowerText(), row.upperText()});
        }
        kept_->sdUnits = row.sdUnits();
        kept_->welch = row.welch();
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
    why_ = report_ ? QString() : why;
    announcer_->propose(news());
}

// The conclusion of each design as the plot labels it, or the sentence
// why the settings cannot be used.
QString frmReport::news() const {
    if (!report_) return why_;
    QString said = QStringLiteral("Independent samples: ") +
                   QString::fromStdString(
                       report::conclusionLabel(report_->independent.conclusion, *report_->scale));
    if (report_->matched)
        said += QStringLiteral("; matched samples: ") +
                QString::fromStdString(
                    report::conclusionLabel(report_->matched->conclusion, *report_->scale));
    return said + QLatin1Char('.');
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
    report::saveThroughDialog(
        this, platform_, QStringLiteral("Save the report"), QStringLiteral("The report"),
        [this](const report::SaveTarget& target) {
            return report::saveReport(target.path, target.format, *report_, text_, font());
        });
}

void frmReport::cmdClose_Click() { accept(); }

}  // namespace tarnwick
