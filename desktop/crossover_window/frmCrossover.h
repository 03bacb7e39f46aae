#pragma once
// The crossover report: a crossover study pasted or opened in the data
// window, analysed for the ratio T/R against the limits of the settings row
// (alpha and the limits as ratios, 0.80 and 1.25 unless typed), drawn (each
// subject's ratio by sequence, the interval against the limits) and written
// out in the engine's words (crossover_report.h), with commands to copy
// either, save them, and close. Modal, resizable; Esc closes. The analysis
// runs away from the window's thread, as the scores report's do, and an
// answer to settings since replaced is dropped.

#include <QDialog>
#include <QFutureWatcher>
#include <QTimer>
#include <memory>
#include <optional>

#include "crossover_analysis.h"
#include "crossover_figure.h"
#include "figure_files.h"
#include "report_platform.h"
#include "subject_ratio.h"
#include "ui_frmCrossover.h"

namespace tarnwick {

// The limits as typed, kept by whoever opens the window so that the next
// opening starts with them while the program runs. Empty limits are the
// usual 0.80 and 1.25.
struct CrossoverSettingsTexts {
    QString alpha = QStringLiteral("0.05");
    QString lower, upper;
};

class SettledAnnouncer;

namespace crossover_window {
// What the analysis of one set of settings ends with.
struct RunEnd {
    std::optional<crossover::CrossoverResult> result;
    std::vector<crossover::SubjectRatio> ratios;
    crossover::CrossoverSettings settings;
    QString failure;  // why there is no result
};
}  // namespace crossover_window

class frmCrossover final : public QDialog {
    Q_OBJECT

public:
    frmCrossover(crossover::CrossoverStudy study, ReportPlatform platform = {},
                 QWidget* parent = nullptr, CrossoverSettingsTexts* kept = nullptr);
    ~frmCrossover() override;

    void cmdCopyText_Click();
    void cmdCopyPlot_Click();
    void cmdSave_Click();
    void settings_Change();

    // While the analysis of the latest settings is running.
    bool busy() const { return busy_; }
    // The answer shown; absent while the settings or the study have none.
    const std::optional<crossover::CrossoverResult>& shownResult() const { return result_; }
    const QString& text() const { return text_; }

    // Typing waits this long for the next keystroke before the analysis runs.
    static constexpr int pauseBeforeAnalysing = 250;  // milliseconds

signals:
    // A new answer is shown, or the sentence why there is none.
    void answered();

private:
    std::optional<crossover::CrossoverSettings> typedSettings(QString* why) const;
    void analyse();
    void showAnswer(const crossover_window::RunEnd& end);
    void showProblem(const QString& why);
    void setStatus(const QString& status);
    figure::Figure crossoverFigure() const;

    Ui::frmCrossover ui;
    // Shared with the runs, which read the study without a copy of their own.
    std::shared_ptr<const crossover::CrossoverStudy> study_;
    ReportPlatform platform_;
    CrossoverSettingsTexts* kept_;
    std::optional<crossover::CrossoverResult> result_;
    std::optional<crossover_window::CrossoverPicture> picture_;
    QString text_;
    QTimer analyseLater_;
    QFutureWatcher<crossover_window::RunEnd> watcher_;
    SettledAnnouncer* announcer_;
    int generation_ = 0;  // of the settings last asked; older answers are dropped
    bool busy_ = false;
    bool splitterSet_ = false;
};

}  // namespace tarnwick
