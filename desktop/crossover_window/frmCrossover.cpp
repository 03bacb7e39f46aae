#include "frmCrossover.h"

#include <QAccessible>
#include <QFontDatabase>
#include <QKeySequence>
#include <QPainter>
#include <QShortcut>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

#include "clipboard.h"
#include "crossover_error.h"
#include "crossover_report.h"
#include "enter_on_buttons.h"
#include "figure_files.h"
#include "help_window.h"
#include "save_target.h"
#include "screen_room.h"
#include "settled_announcer.h"

namespace tarnwick {
namespace {

using crossover_window::RunEnd;

QString fromStd(const std::string& text) { return QString::fromStdString(text); }

// Runs on a pool thread; touches only the shared study and copies.
RunEnd runAnalysis(const std::shared_ptr<const crossover::CrossoverStudy>& study,
                   const crossover::CrossoverSettings& settings) {
    RunEnd end;
    end.settings = settings;
    try {
        end.result = crossover::analyseCrossover(*study, settings);
        end.ratios = crossover::subjectRatios(*study);
    } catch (const NumberedError<int>& error) {
        // The study's refusals (CrossoverError) and the settings' (SettingsError).
        end.failure = fromStd(error.description());
    } catch (const std::exception& failure) {
        // Whatever else goes wrong (memory, most likely) is said, not hidden.
        end.failure = QStringLiteral("The study could not be analysed: ") +
                      QString::fromLocal8Bit(failure.what());
    }
    return end;
}

// The picture is drawn this many line heights wide in the images.
constexpr qreal figureWidthInLines = 48;

}  // namespace

frmCrossover::frmCrossover(crossover::CrossoverStudy study, ReportPlatform platform,
                           QWidget* parent, CrossoverSettingsTexts* kept)
    : QDialog(parent),
      study_(std::make_shared<const crossover::CrossoverStudy>(std::move(study))),
      platform_(std::move(platform)),
      kept_(kept),
      announcer_(new SettledAnnouncer(*this)) {
    ui.setupUi(this);
    const QWidget* owner = parent != nullptr ? parent->window() : nullptr;
    resize(sizeWithin(size(), minimumSizeHint(), availableArea(owner), windowFrame(owner)));
    // A crossover study asks of the ratio T/R, with limits as ratios.
    ui.settingsRow->setRatioOnly();
    const CrossoverSettingsTexts start = kept ? *kept : CrossoverSettingsTexts{};
    ui.settingsRow->setTexts(start.alpha, start.lower, start.upper);
    ui.splitter->setStretchFactor(0, 1);
    ui.splitter->setStretchFactor(1, 1);
    // The report's tables line up in a font of one width.
    ui.txtReport->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    ui.txtReport->setWordWrapMode(QTextOption::WordWrap);
    QPalette working = ui.lblStatus->palette();
    working.setColor(QPalette::WindowText, QColor(0x50, 0x50, 0x50));
    ui.lblStatus->setPalette(working);

    analyseLater_.setSingleShot(true);
    analyseLater_.setInterval(pauseBeforeAnalysing);
    connect(&analyseLater_, &QTimer::timeout, this, &frmCrossover::analyse);
    connect(&watcher_, &QFutureWatcher<RunEnd>::finished, this, [this] {
        if (watcher_.property("generation").toInt() != generation_) return;
        busy_ = false;
        const RunEnd end = watcher_.result();
        if (end.result)
            showAnswer(end);
        else
            showProblem(end.failure);
    });
    connect(ui.settingsRow, &TestSettingsRow::changed, this, &frmCrossover::settings_Change);
    connect(ui.cmdCopyText, &QPushButton::clicked, this, &frmCrossover::cmdCopyText_Click);
    connect(ui.cmdCopyPlot, &QPushButton::clicked, this, &frmCrossover::cmdCopyPlot_Click);
    connect(ui.cmdSave, &QPushButton::clicked, this, &frmCrossover::cmdSave_Click);
    connect(ui.cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    // The data window's page has the crossover layout's section.
    const auto help = [this] {
        help::showHelp(*this, help::pageUrl(help::Page::data, QStringLiteral("crossover")));
    };
    connect(ui.cmdHelp, &QPushButton::clicked, this, help);
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this, help);
    letEnterPressFocusedButtons(*this);
    analyse();
    ui.cmdClose->setFocus();
}

frmCrossover::~frmCrossover() {
    // A run still going reaches no one; it holds the study itself.
    watcher_.disconnect(this);
}

std::optional<crossover::CrossoverSettings> frmCrossover::typedSettings(QString* why) const {
    const std::optional<double> alpha = ui.settingsRow->typedAlpha(why);
    if (!alpha) return std::nullopt;
    const std::optional<settings::Bounds> bounds = ui.settingsRow->typedBounds(why);
    if (!bounds) return std::nullopt;
    const crossover::CrossoverSettings s{*alpha, *bounds};
    try {
        crossover::checkSettings(s);
    } catch (const settings::SettingsError& error) {
        *why = fromStd(error.description());
        return std::nullopt;
    }
    return s;
}

void frmCrossover::settings_Change() {
    if (kept_)
        *kept_ = {ui.settingsRow->alphaText(), ui.settingsRow->lowerText(),
                  ui.settingsRow->upperText()};
    ++generation_;
    announcer_->withdraw();
    // What is shown is of the settings before: say so until the new answer comes.
    setStatus(QStringLiteral("Analysing the study…"));
    for (QPushButton* command : {ui.cmdCopyText, ui.cmdCopyPlot, ui.cmdSave})
        command->setEnabled(false);
    busy_ = true;
    analyseLater_.start();
}

void frmCrossover::analyse() {
    analyseLater_.stop();
    QString why;
    const std::optional<crossover::CrossoverSettings> settings = typedSettings(&why);
    if (!settings) {
        busy_ = false;
        showProblem(why);
        return;
    }
    busy_ = true;
    setStatus(QStringLiteral("Analysing the study…"));
    for (QPushButton* command : {ui.cmdCopyText, ui.cmdCopyPlot, ui.cmdSave})
        command->setEnabled(false);
    watcher_.setProperty("generation", generation_);
    watcher_.setFuture(QtConcurrent::run(runAnalysis, study_, *settings));
}

void frmCrossover::setStatus(const QString& status) {
    ui.lblStatus->setText(status);
    ui.lblStatus->setAccessibleDescription(status);
    ui.lblStatus->setVisible(!status.isEmpty());
    QAccessibleEvent changed(ui.lblStatus, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

void frmCrossover::showProblem(const QString& why) {
    result_.reset();
    picture_.reset();
    text_.clear();
    setStatus(why);
    ui.lblStudy->setText(QString());
    ui.lblStudy->setAccessibleDescription(QString());
    ui.txtReport->setReport(why);
    ui.figure->clear();
    ui.scrollFigure->setVisible(false);
    for (QPushButton* command : {ui.cmdCopyText, ui.cmdCopyPlot, ui.cmdSave})
        command->setEnabled(false);
    setAccessibleDescription(why);
    announcer_->propose(why);
    emit answered();
}

void frmCrossover::showAnswer(const RunEnd& end) {
    const crossover::CrossoverResult& result = *end.result;
    result_ = result;
    picture_ = crossover_window::crossoverPicture(*study_, result, end.settings, end.ratios);
    text_ = fromStd(crossover_report::reportText(*study_, result, end.settings));
    const QString line = fromStd(crossover_report::studyLine(*study_, result));
    ui.lblStudy->setText(line);
    ui.lblStudy->setAccessibleDescription(line);
    setStatus(QString());
    ui.figure->setPicture(*picture_);
    ui.scrollFigure->setVisible(true);
    const int wanted = ui.figure->sizeHint().height() + 2 * ui.scrollFigure->frameWidth();
    ui.scrollFigure->setMaximumHeight(wanted);
    if (!splitterSet_) {
        // The picture as tall as it needs, up to two thirds of the room;
        // the text takes the rest, and the picture scrolls where it must.
        splitterSet_ = true;
        const int room = ui.splitter->height();
        ui.splitter->setSizes(
            {std::min(wanted, 2 * room / 3), room - std::min(wanted, 2 * room / 3)});
    }
    ui.txtReport->setReport(text_);
    setAccessibleDescription(line);
    for (QPushButton* command : {ui.cmdCopyText, ui.cmdCopyPlot, ui.cmdSave})
        command->setEnabled(true);
    announcer_->propose(line + QStringLiteral(": ") +
                        fromStd(crossover_report::answerLine(result, end.settings)));
    emit answered();
}

figure::Figure frmCrossover::crossoverFigure() const {
    figure::Figure f;
    f.title = QStringLiteral("Subjects' ratios and the equivalence interval");
    f.pageTitle = QStringLiteral("Tarnwick crossover report");
    f.description = fromStd(picture_->words.title) + QStringLiteral(", from Tarnwick");
    f.font = font();
    f.widthInLines = figureWidthInLines;
    const crossover_window::CrossoverPicture picture = *picture_;
    const QFont font = this->font();
    f.height = [picture, font](const QPaintDevice* device) {
        return crossover_window::crossoverFigureHeight(picture, font, device);
    };
    f.paint = [picture, font](QPainter& painter, const QRectF& area) {
        crossover_window::paintCrossoverFigure(painter, area, picture, font);
    };
    f.page = figure::textAboveFigure(f, text_);
    f.text = text_;
    return f;
}

void frmCrossover::cmdCopyText_Click() {
    if (result_ && !busy_) figure::copyText(text_);
}

void frmCrossover::cmdCopyPlot_Click() {
    if (!picture_ || busy_) return;
    figure::copyImage(
        figure::figureImage(crossoverFigure(), ui.figure->width(), ui.figure->devicePixelRatioF()));
}

void frmCrossover::cmdSave_Click() {
    if (!picture_ || busy_) return;
    report::saveThroughDialog(
        this, platform_, QStringLiteral("Save the crossover report"),
        QStringLiteral("The crossover report"), [this](const report::SaveTarget& target) {
            return figure::saveFigure(target.path, target.format, crossoverFigure());
        });
}

}  // namespace tarnwick
