#pragma once
// The scores report: every analysis of the scores pasted or opened in the
// data window (normal theory, rank-based, trimmed means, bootstrap-t) asked
// the question of the settings row, drawn (the scores over their box plots,
// each analysis's interval against the bounds) and written out, with
// commands to copy either, save them, and close. Modal, resizable; Esc
// closes. The analyses run away from the window's thread, so that a
// bootstrap of many scores leaves the window answering; the window says
// while it works, shows the bootstrap's progress on a long run and offers to
// cancel it. A run whose settings were replaced, or whose window closed, is
// stopped and dropped: nobody waits for it.

#include <QDialog>
#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QTimer>
#include <memory>
#include <optional>
#include <vector>

#include "figure_files.h"
#include "report_platform.h"
#include "score_report.h"
#include "scores_figure.h"
#include "test_settings_row.h"
#include "ui_frmScores.h"

namespace tarnwick {

// The scores as the data window read them, and what names them.
struct ScoresInput {
    std::vector<double> group1, group2;  // matched: pairs by position
    bool matched = false;
    QString label1 = QStringLiteral("group 1"), label2 = QStringLiteral("group 2");
    // The bounds the row starts with when none were typed: the calculator's
    // non-trivial difference, as -delta and +delta. Empty when none.
    QString filledLower, filledUpper;
};

// The settings as typed, kept by whoever opens the window so that the next
// opening starts with them while the program runs.
struct ScoresSettingsTexts {
    QString alpha = QStringLiteral("0.05");
    // Bounds typed over the filled ones; absent while they are the filled ones.
    std::optional<std::pair<QString, QString>> bounds;
    bool minimalEffect = false;
};

class SettledAnnouncer;

namespace scores_window {
struct AnalysisRun;
// What a run of the analyses ends with: the answers, or nothing when it was
// stopped, or the sentence why it failed.
struct RunEnd {
    std::optional<score_report::ScoreAnswers> answers;
    QString failure;
};
}  // namespace scores_window

class frmScores final : public QDialog {
    Q_OBJECT

public:
    frmScores(ScoresInput input, ReportPlatform platform = {}, QWidget* parent = nullptr,
              ScoresSettingsTexts* kept = nullptr,
              score_analysis::BootstrapSettings bootstrap = {});
    ~frmScores() override;

    void cmdCopyText_Click();
    void cmdCopyPlot_Click();
    void cmdSave_Click();
    void cmdCancel_Click();
    void settings_Change();

    // Asks `question` of the scores instead of the row's settings, until a
    // setting of the row changes: a question the row cannot type (a
    // one-sided one), from whoever opens the window. A one-sided question
    // without a margin takes the usual one (-delta or +delta from the
    // filled bounds, 0.80 or 1.25 on the ratio scale).
    void askQuestion(const settings::TestSettings& question);

    // While the analyses of the latest settings are running.
    bool busy() const { return busy_; }
    // The answers shown; absent while the settings cannot be used.
    const std::optional<score_report::ScoreAnswers>& shownAnswers() const { return answers_; }
    const QString& text() const { return text_; }

    // Typing waits this long for the next keystroke before the analyses run.
    static constexpr int pauseBeforeAnalysing = 250;  // milliseconds
    // A run longer than this shows its progress and a Cancel button.
    static constexpr int progressAfter = 500;  // milliseconds

signals:
    // New answers are shown, or the sentence why there are none.
    void answered();

private:
    std::optional<score_analysis::ScoreSettings> typedSettings(QString* why) const;
    std::optional<score_analysis::ScoreSettings> settingsOf(settings::TestSettings question,
                                                            QString* why) const;
    void keepSettings();
    void analyse();
    void stopRun();
    void showProgress();
    void showAnswers(const score_report::ScoreAnswers& answers);
    void showProblem(const QString& why);
    void setStatus(const QString& status);
    figure::Figure scoresFigure() const;

    Ui::frmScores ui;
    // Shared with the runs, which read the scores without a copy of their own.
    std::shared_ptr<const ScoresInput> input_;
    ReportPlatform platform_;
    ScoresSettingsTexts* kept_;
    score_analysis::BootstrapSettings bootstrap_;
    std::optional<score_report::ScoreAnswers> answers_;
    std::optional<settings::TestSettings> asked_;  // askQuestion's, over the row's
    std::optional<scores_window::ScoresPicture> picture_;
    QString text_;
    QTimer analyseLater_;
    QFutureWatcher<scores_window::RunEnd> watcher_;
    std::shared_ptr<scores_window::AnalysisRun> run_;  // the one running, if any
    QTimer progressTick_;
    QElapsedTimer runClock_;
    SettledAnnouncer* announcer_;
    int generation_ = 0;  // of the settings last asked; older answers are dropped
    bool busy_ = false;
    bool splitterSet_ = false;
};

}  // namespace tarnwick
