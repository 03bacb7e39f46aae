#include "frmScores.h"

#include <QAccessible>
#include <QPainter>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <atomic>

#include "clipboard.h"
#include "enter_on_buttons.h"
#include "figure_files.h"
#include "help_window.h"
#include "method_links.h"
#include "one_sided_words.h"
#include "save_target.h"
#include "score_error.h"
#include "screen_room.h"
#include "setting_text.h"
#include "settled_announcer.h"

namespace tarnwick {

namespace scores_window {

// One run of the analyses, shared by the window and the thread that runs
// it: the window tells it to stop and reads how far the bootstrap is; the
// thread never touches the window, which may be gone before the run ends.
struct AnalysisRun {
    std::atomic<bool> stopped{false};
    std::atomic<long> replicatesDone{-1};  // -1: the bootstrap has not begun
    std::atomic<long> replicates{0};
};

}  // namespace scores_window

namespace {

using scores_window::AnalysisRun;
using scores_window::RunEnd;

// Runs on a pool thread: every analysis, the bootstrap watched so that it
// stops when told. Only the shared run and copies are touched here.
RunEnd runAnalyses(const std::shared_ptr<const ScoresInput>& input,
                   const score_analysis::ScoreSettings& settings,
                   score_analysis::BootstrapSettings bootstrap,
                   const std::shared_ptr<AnalysisRun>& run) {
    if (run->stopped) return {};
    bootstrap.progress = [run](long done, long replicates) {
        run->replicates = replicates;
        run->replicatesDone = done;
        return !run->stopped.load();
    };
    try {
        score_report::ScoreAnswers answers = score_report::analyseScores(
            input->group1, input->group2, input->matched, settings, bootstrap);
        // The answers outlive the run: they keep no hold on it.
        answers.bootstrap.progress = nullptr;
        answers.label1 = input->label1.toStdString();
        answers.label2 = input->label2.toStdString();
        return {std::move(answers), {}};
    } catch (const score_analysis::BootstrapStopped&) {
        return {};
    } catch (const std::exception& failure) {
        // Whatever else goes wrong (memory, most likely) is said, not hidden.
        return {std::nullopt, QStringLiteral("The analyses could not be made: ") +
                                  QString::fromLocal8Bit(failure.what())};
    }
}

QString fromStd(const std::string& text) { return QString::fromStdString(text); }

// The picture is drawn this many line heights wide in the images.
constexpr qreal figureWidthInLines = 48;

}  // namespace

frmScores::frmScores(ScoresInput input, ReportPlatform platform, QWidget* parent,
                     ScoresSettingsTexts* kept, score_analysis::BootstrapSettings bootstrap)
    : QDialog(parent),
      input_(std::make_shared<const ScoresInput>(std::move(input))),
      platform_(std::move(platform)),
      kept_(kept),
      bootstrap_(std::move(bootstrap)),
      announcer_(new SettledAnnouncer(*this)) {
    ui.setupUi(this);
    // Whole on a small screen, frame and all, such as 1366x768 with a panel.
    const QWidget* owner = parent != nullptr ? parent->window() : nullptr;
    resize(sizeWithin(size(), minimumSizeHint(), availableArea(owner), windowFrame(owner)));
    // Raw scores have raw bounds and no pooled standard error to replace.
    ui.settingsRow->setUnitAndErrorChoicesShown(false);
    const ScoresSettingsTexts start = kept ? *kept : ScoresSettingsTexts{};
    ui.settingsRow->setTexts(start.alpha, start.bounds ? start.bounds->first : input_->filledLower,
                             start.bounds ? start.bounds->second : input_->filledUpper);
    ui.settingsRow->setFilledBounds(input_->filledLower, input_->filledUpper);
    ui.settingsRow->setChoices(false, false, start.minimalEffect);
    ui.splitter->setStretchFactor(0, 1);
    ui.splitter->setStretchFactor(1, 1);
    ui.txtReport->setWordWrapMode(QTextOption::WordWrap);
    QPalette working = ui.lblStatus->palette();
    working.setColor(QPalette::WindowText, QColor(0x50, 0x50, 0x50));
    ui.lblStatus->setPalette(working);

    analyseLater_.setSingleShot(true);
    analyseLater_.setInterval(pauseBeforeAnalysing);
    connect(&analyseLater_, &QTimer::timeout, this, &frmScores::analyse);
    connect(&watcher_, &QFutureWatcher<RunEnd>::finished, this, [this] {
        // Answers to settings since replaced are dropped: newer ones are coming.
        if (watcher_.property("generation").toInt() != generation_) return;
        const RunEnd end = watcher_.result();
        stopRun();
        busy_ = false;
        if (end.answers)
            showAnswers(*end.answers);
        else
            showProblem(end.failure);
    });
    progressTick_.setInterval(100);
    connect(&progressTick_, &QTimer::timeout, this, &frmScores::showProgress);
    connect(ui.settingsRow, &TestSettingsRow::changed, this, &frmScores::settings_Change);
    connect(ui.cmdCopyText, &QPushButton::clicked, this, &frmScores::cmdCopyText_Click);
    connect(ui.cmdCopyPlot, &QPushButton::clicked, this, &frmScores::cmdCopyPlot_Click);
    connect(ui.cmdSave, &QPushButton::clicked, this, &frmScores::cmdSave_Click);
    connect(ui.cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui.cmdCancel, &QPushButton::clicked, this, &frmScores::cmdCancel_Click);
    help::offerHelp(*this, help::Page::scores, ui.cmdHelp);
    connect(ui.lblMethods, &QLabel::linkActivated, this, [this](const QString& link) {
        help::showHelp(*this, help::pageUrl(help::Page::scores, QUrl(link).fragment()));
    });
    letEnterPressFocusedButtons(*this);
    analyse();
    ui.cmdClose->setFocus();
}

frmScores::~frmScores() {
    // The window closes at once: the run holds the scores and its own state,
    // stops at the bootstrap's next look, and its answer reaches no one.
    watcher_.disconnect(this);
    stopRun();
}

std::optional<score_analysis::ScoreSettings> frmScores::settingsOf(settings::TestSettings question,
                                                                   QString* why) const {
    // The standard error stays Welch's: this window offers no choice of it.
    question.standardError = settings::StandardError::welch;
    // The calculator's non-trivial difference, where the row was filled
    // with it, sets the usual margin.
    std::optional<double> delta;
    try {
        delta =
            settings::readBound(input_->filledUpper.toStdString(), settings::BoundName::symmetric);
    } catch (const settings::SettingsError&) {
        delta = std::nullopt;
    }
    try {
        const score_analysis::ScoreSettings s = score_analysis::oneSidedQuestion(question, delta);
        score_analysis::checkSettings(s);
        return s;
    } catch (const settings::SettingsError& error) {
        *why = fromStd(error.description());
    } catch (const score_analysis::ScoreError& error) {
        *why = fromStd(error.description());
    }
    return std::nullopt;
}

std::optional<score_analysis::ScoreSettings> frmScores::typedSettings(QString* why) const {
    if (asked_) {
        if (settings::isOneSided(asked_->hypothesis)) return settingsOf(*asked_, why);
        score_analysis::ScoreSettings s =
            score_analysis::scoreSettingsOf(*asked_, asked_->bounds.value_or(settings::Bounds{}));
        s.standardError = settings::StandardError::welch;
        try {
            score_analysis::checkSettings(s);
        } catch (const score_analysis::ScoreError& error) {
            *why = fromStd(error.description());
            return std::nullopt;
        }
        return s;
    }
    const TestSettingsRow& row = *ui.settingsRow;
    const std::optional<double> alpha = row.typedAlpha(why);
    if (!alpha) return std::nullopt;
    if (settings::isOneSided(row.hypothesis())) {
        settings::TestSettings question;
        question.alpha = *alpha;
        question.scale = row.scale();
        question.hypothesis = row.hypothesis();
        question.better = row.better();
        if (!row.typedMargin(&question.margin, why)) return std::nullopt;
        return settingsOf(question, why);
    }
    const std::optional<settings::Bounds> bounds = row.typedBounds(why);
    if (!bounds) return std::nullopt;
    // The standard error stays Welch's: this window offers no choice of it.
    const score_analysis::ScoreSettings s{*alpha, bounds->lower, bounds->upper, row.hypothesis(),
                                          row.scale()};
    try {
        score_analysis::checkSettings(s);
    } catch (const score_analysis::ScoreError& error) {
        *why = fromStd(error.description());
        return std::nullopt;
    }
    return s;
}

void frmScores::keepSettings() {
    if (!kept_) return;
    const TestSettingsRow& row = *ui.settingsRow;
    kept_->alpha = row.alphaText();
    kept_->minimalEffect = row.minimalEffect();
    // Ratio bounds are not difference bounds: only the difference scale's are kept.
    if (row.scale() == settings::Scale::ratio) return;
    const bool filled =
        row.lowerText() == input_->filledLower && row.upperText() == input_->filledUpper;
    kept_->bounds =
        filled ? std::nullopt : std::optional(std::pair{row.lowerText(), row.upperText()});
}

void frmScores::askQuestion(const settings::TestSettings& question) {
    asked_ = question;
    ++generation_;
    analyse();
}

void frmScores::settings_Change() {
    asked_.reset();
    keepSettings();
    ++generation_;
    // The run of the settings replaced is stopped now, not after the pause,
    // so that the next one has the processor to itself.
    stopRun();
    announcer_->withdraw();
    // What is shown is of the settings before: say so until the new answers come.
    setStatus(QStringLiteral("Analysing the scores…"));
    for (QPushButton* command : {ui.cmdCopyText, ui.cmdCopyPlot, ui.cmdSave})
        command->setEnabled(false);
    busy_ = true;
    analyseLater_.start();
}

void frmScores::analyse() {
    analyseLater_.stop();
    QString why;
    const std::optional<score_analysis::ScoreSettings> settings = typedSettings(&why);
    if (!settings) {
        busy_ = false;
        showProblem(why);
        return;
    }
    busy_ = true;
    setStatus(QStringLiteral("Analysing the scores…"));
    for (QPushButton* command : {ui.cmdCopyText, ui.cmdCopyPlot, ui.cmdSave})
        command->setEnabled(false);
    stopRun();
    run_ = std::make_shared<AnalysisRun>();
    runClock_.start();
    progressTick_.start();
    watcher_.setProperty("generation", generation_);
    watcher_.setFuture(QtConcurrent::run(runAnalyses, input_, *settings, bootstrap_, run_));
}

void frmScores::stopRun() {
    if (run_) run_->stopped = true;
    run_.reset();
    progressTick_.stop();
    ui.barProgress->hide();
    ui.cmdCancel->hide();
}

// A long run shows how far the bootstrap is, or that it has not begun.
void frmScores::showProgress() {
    if (!run_ || runClock_.elapsed() < progressAfter) return;
    const long done = run_->replicatesDone, replicates = run_->replicates;
    if (done < 0) {
        ui.barProgress->setRange(0, 0);
    } else {
        ui.barProgress->setRange(0, static_cast<int>(replicates));
        ui.barProgress->setValue(static_cast<int>(done));
    }
    ui.barProgress->show();
    ui.cmdCancel->show();
}

void frmScores::cmdCancel_Click() {
    if (!run_) return;
    ++generation_;
    busy_ = false;
    showProblem(QStringLiteral("The analyses were cancelled; change a setting to run them again."));
}

void frmScores::setStatus(const QString& status) {
    ui.lblStatus->setText(status);
    ui.lblStatus->setAccessibleDescription(status);
    ui.lblStatus->setVisible(!status.isEmpty());
    QAccessibleEvent changed(ui.lblStatus, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

void frmScores::showProblem(const QString& why) {
    stopRun();
    answers_.reset();
    picture_.reset();
    text_.clear();
    setStatus(why);
    ui.lblScores->setText(QString());
    ui.txtReport->setReport(why);
    ui.figure->clear();
    ui.scrollFigure->setVisible(false);
    for (QPushButton* command : {ui.cmdCopyText, ui.cmdCopyPlot, ui.cmdSave})
        command->setEnabled(false);
    setAccessibleDescription(why);
    announcer_->propose(why);
    emit answered();
}

void frmScores::showAnswers(const score_report::ScoreAnswers& answers) {
    answers_ = answers;
    picture_ = scores_window::scoresPicture(answers, input_->group1, input_->group2);
    text_ = fromStd(score_report::scoreReportText(answers));
    const QString line = fromStd(score_report::scoresLine(answers));
    ui.lblScores->setText(line);
    setStatus(QString());
    ui.figure->setPicture(*picture_);
    ui.scrollFigure->setVisible(true);
    // Room beyond the picture's own height goes to the text.
    const int wanted = ui.figure->sizeHint().height() + 2 * ui.scrollFigure->frameWidth();
    ui.scrollFigure->setMaximumHeight(wanted);
    if (!splitterSet_) {
        // The picture as tall as it needs, up to two thirds of the room; the
        // text takes the rest, and the picture scrolls where it must.
        splitterSet_ = true;
        const int room = ui.splitter->height();
        ui.splitter->setSizes(
            {std::min(wanted, 2 * room / 3), room - std::min(wanted, 2 * room / 3)});
    }
    ui.txtReport->setReport(text_);
    // Heard as the window opens: which scores, and the question.
    setAccessibleDescription(line);
    for (QPushButton* command : {ui.cmdCopyText, ui.cmdCopyPlot, ui.cmdSave})
        command->setEnabled(true);
    // Which question, and what the analyses conclude, told once it stands.
    announcer_->propose(line + QLatin1Char(' ') +
                        fromStd(score_report::agreementSentence(answers)));
    emit answered();
}

figure::Figure frmScores::scoresFigure() const {
    figure::Figure f;
    const score_analysis::ScoreSettings& asked = picture_->answers.settings;
    f.title =
        score_analysis::isOneSided(asked)
            ? QStringLiteral("Scores and %1 intervals")
                  .arg(fromStd(std::string(settings::hypothesisTitle(asked.hypothesis))).toLower())
            : QStringLiteral("Scores and equivalence intervals");
    f.pageTitle = QStringLiteral("Tarnwick scores report");
    f.description = QStringLiteral(
                        "Each group's scores over its box plot, and the intervals of the %1 "
                        "analyses against the %2, from Tarnwick")
                        .arg(QString::fromStdString(score_report::analysisAdjectives()),
                             score_analysis::isOneSided(asked) ? QStringLiteral("margin")
                                                               : QStringLiteral("bounds"));
    f.font = font();
    f.widthInLines = figureWidthInLines;
    const scores_window::ScoresPicture picture = *picture_;
    const QFont font = this->font();
    f.height = [picture, font](const QPaintDevice* device) {
        return scores_window::scoresFigureHeight(picture, font, device);
    };
    f.paint = [picture, font](QPainter& painter, const QRectF& area) {
        scores_window::paintScoresFigure(painter, area, picture, font);
    };
    f.page = figure::textAboveFigure(f, text_);
    f.text = text_;
    return f;
}

void frmScores::cmdCopyText_Click() {
    if (answers_ && !busy_) figure::copyText(text_);
}

void frmScores::cmdCopyPlot_Click() {
    if (!picture_ || busy_) return;
    figure::copyImage(
        figure::figureImage(scoresFigure(), ui.figure->width(), ui.figure->devicePixelRatioF()));
}

void frmScores::cmdSave_Click() {
    if (!picture_ || busy_) return;
    report::saveThroughDialog(
        this, platform_, QStringLiteral("Save the scores report"),
        QStringLiteral("The scores report"), [this](const report::SaveTarget& target) {
            return figure::saveFigure(target.path, target.format, scoresFigure());
        });
}

}  // namespace tarnwick
