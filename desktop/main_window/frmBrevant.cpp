#include "frmBrevant.h"

#include <QLineEdit>
#include <QScreen>
#include <algorithm>
#include <functional>

#include "announcer.h"
#include "box_names.h"
#include "colour_meaning.h"
#include "enter_on_buttons.h"
#include "frmCredits.h"
#include "frmData.h"
#include "frmPlan.h"
#include "frmReport.h"
#include "help_window.h"
#include "keystroke_filter.h"
#include "look.h"
#include "main_window_start.h"
#include "run_command.h"
#include "run_summary.h"
#include "widget_boxes.h"

namespace tarnwick {

namespace {

constexpr std::int16_t backspace = 8;
constexpr std::int16_t minusSign = 45;
constexpr std::int16_t decimalPoint = 46;

bool isDigit(std::int16_t KeyAscii) { return KeyAscii >= '0' && KeyAscii <= '9'; }

// The box's text as it will be once a typed character has replaced the
// selection: a point or minus sign inside the selection is about to go, so it
// must not stop the one being typed.
QString textAfterTyping(const QLineEdit& box) {
    QString text = box.text();
    if (box.hasSelectedText()) {
        text.remove(box.selectionStart(), box.selectionLength());
    }
    return text;
}

// Standard deviations and the non-trivial difference: never negative.
void unsignedDecimalOnly(const QLineEdit& box, std::int16_t& KeyAscii) {
    if (KeyAscii != decimalPoint && KeyAscii != backspace && !isDigit(KeyAscii)) {
        KeyAscii = 0;
    }
    if (KeyAscii == decimalPoint && textAfterTyping(box).contains(u'.')) {
        KeyAscii = 0;
    }
}

// Group sizes: whole numbers only.
void wholeNumberOnly(std::int16_t& KeyAscii) {
    if (KeyAscii != backspace && !isDigit(KeyAscii)) {
        KeyAscii = 0;
    }
}

// Where typing would go: the start of the selection, if there is one.
int caretPosition(const QLineEdit& box) {
    return box.hasSelectedText() ? box.selectionStart() : box.cursorPosition();
}

// The whole text selected with the caret at its start, so that the next
// character typed replaces the old value.
void selectWholeText(QLineEdit& box) {
    box.setCursorPosition(0);
    const int length = static_cast<int>(box.text().size());
    box.setSelection(length, -length);
}

void switchOn(QLineEdit& box) {
    box.setEnabled(true);
    setColour(box, QPalette::Base, colours::white);
}

void switchOff(QLineEdit& box) {
    box.setEnabled(false);
    setColour(box, QPalette::Base, colours::buttonFace);
}

QLineEdit& boxNamed(QWidget& window, std::string_view name) {
    auto* box = window.findChild<QLineEdit*>(
        QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    Q_ASSERT(box != nullptr);
    return *box;
}

}  // namespace

frmBrevant::frmBrevant(Platform platform, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      platform_(std::move(platform)),
      announcer_(new Announcer(*this)) {
    ui.setupUi(this);
    setFixedSize(size());
    applyStartColours();
    installKeystrokeFilters();
    connectProcedures();
    letEnterPressFocusedButtons(*this);
    withdrawColourMeaningsOnNewText(*this);
    // F1 only: the form itself keeps the controls it has.
    help::offerHelp(*this, help::Page::calculator);
    if (const QScreen* screen = this->screen()) {
        move(centredTopLeft(frameGeometry().size(), screen->availableGeometry()));
    }
    ui.TxtMean1->setFocus();
}

void frmBrevant::applyStartColours() {
    for (const std::string_view name : names::groupBoxes) {
        setColour(boxNamed(*this, name), QPalette::Base, colours::white);
    }
    setColour(*ui.TxtNotTrivial, QPalette::Base, colours::cyan);
    setColour(*ui.TxtMeanDiff, QPalette::Base, colours::buttonFace);
    setColour(*ui.TxtSDMatched, QPalette::Base, colours::buttonFace);
    for (const std::string_view name : names::resultBoxes) {
        QLineEdit& box = boxNamed(*this, name);
        setColour(box, QPalette::Base, colours::buttonFace);
        setColour(box, QPalette::Text, colours::black);
    }
    for (const std::string_view name : names::initiallyRedResultBoxes) {
        setColour(boxNamed(*this, name), QPalette::Text, colours::red);
    }
}

void frmBrevant::installKeystrokeFilters() {
    auto* filter = new KeystrokeFilter(this);
    filter->watch(*ui.TxtMean1, std::bind_front(&frmBrevant::TxtMean1_KeyPress, this),
                  std::bind_front(&frmBrevant::TxtMean1_GotFocus, this));
    filter->watch(*ui.TxtMean2, std::bind_front(&frmBrevant::TxtMean2_KeyPress, this),
                  std::bind_front(&frmBrevant::TxtMean2_GotFocus, this));
    filter->watch(*ui.TxtSD1, std::bind_front(&frmBrevant::TxtSD1_KeyPress, this),
                  std::bind_front(&frmBrevant::TxtSD1_GotFocus, this));
    filter->watch(*ui.TxtSD2, std::bind_front(&frmBrevant::TxtSD2_KeyPress, this),
                  std::bind_front(&frmBrevant::TxtSD2_GotFocus, this));
    filter->watch(*ui.TxtN1, std::bind_front(&frmBrevant::TxtN1_KeyPress, this),
                  std::bind_front(&frmBrevant::TxtN1_GotFocus, this));
    filter->watch(*ui.TxtN2, std::bind_front(&frmBrevant::TxtN2_KeyPress, this),
                  std::bind_front(&frmBrevant::TxtN2_GotFocus, this));
    filter->watch(*ui.TxtNotTrivial, std::bind_front(&frmBrevant::TxtNotTrivial_KeyPress, this));
    filter->watch(*ui.TxtMeanDiff, std::bind_front(&frmBrevant::TxtMeanDiff_KeyPress, this));
    filter->watch(*ui.TxtSDMatched, std::bind_front(&frmBrevant::TxtSDMatched_KeyPress, this));
}

void frmBrevant::connectProcedures() {
    connect(ui.cmdDoIt, &QPushButton::clicked, this, &frmBrevant::cmdDoIt_Click);
    connect(ui.cmdNew, &QPushButton::clicked, this, &frmBrevant::cmdNew_Click);
    connect(ui.cmdExit, &QPushButton::clicked, this, &frmBrevant::cmdExit_Click);
    connect(ui.cmdCredits, &QPushButton::clicked, this, &frmBrevant::cmdCredits_Click);
    connect(ui.cmdReport, &QPushButton::clicked, this, &frmBrevant::cmdReport_Click);
    connect(ui.cmdData, &QPushButton::clicked, this, &frmBrevant::cmdData_Click);
    connect(ui.cmdPlan, &QPushButton::clicked, this, &frmBrevant::cmdPlan_Click);
    // On selection rather than on click, so that selecting an option from a
    // procedure runs its procedure too, and a click on the option that is
    // already selected runs nothing.
    connect(ui.opIndependent, &QRadioButton::toggled, this, [this](bool selected) {
        if (selected) {
            opIndependent_Click();
        }
    });
    connect(ui.opMatched, &QRadioButton::toggled, this, [this](bool selected) {
        if (selected) {
            opMatched_Click();
        }
    });
}

void frmBrevant::cmdDoIt_Click() {
    WidgetBoxes boxes(*this, platform_.showMessage);
    RunRecord record;
    runCommand(boxes, &record);
    keepReportOf(record);
    // A message box speaks for itself; otherwise say what the run found.
    if (!boxes.showedMessage()) {
        announcer_->announce(runSummary(*this));
    }
}

void frmBrevant::cmdNew_Click() {
    const QList<QLineEdit*> boxes = findChildren<QLineEdit*>();
    for (QLineEdit* box : boxes) {
        // Not the boxes of the data and planning windows, which are children too.
        if (box->window() == this) box->clear();
    }
    ui.opIndependent->setChecked(true);
    switchOff(*ui.TxtSDMatched);
    switchOff(*ui.TxtMeanDiff);
    ui.OpStudent->setChecked(true);
    lastRecord_.reset();
    ui.cmdReport->setEnabled(false);
}

void frmBrevant::cmdExit_Click() { close(); }

void frmBrevant::keepReportOf(const RunRecord& record) {
    if (!record.endedWithResults) {
        lastReportInputs_.latestRunStopped = lastRecord_.has_value();
        return;
    }
    lastRecord_ = record;
    lastReportInputs_ = typedInputs();
    ui.cmdReport->setEnabled(true);
}

report::ReportInputs frmBrevant::typedInputs() const {
    const auto typed = [](const QLineEdit* box) { return box->text().toStdString(); };
    return {typed(ui.TxtMean1),        typed(ui.TxtSD1),       typed(ui.TxtN1),
            typed(ui.TxtMean2),        typed(ui.TxtSD2),       typed(ui.TxtN2),
            typed(ui.TxtNotTrivial),   typed(ui.TxtMeanDiff),  typed(ui.TxtSDMatched),
            ui.opMatched->isChecked(), ui.OpWelch->isChecked()};
}

void frmBrevant::cmdReport_Click() {
    if (!lastRecord_) return;
    // The calculator's form stays as it is specified, results and all, when
    // the boxes change after a run; the report says whose results they are.
    report::ReportInputs inputs = lastReportInputs_;
    report::ReportInputs now = typedInputs();
    now.latestRunStopped = inputs.latestRunStopped;
    inputs.boxesChangedSince = !(now == inputs);
    frmReport report(*lastRecord_, inputs, ReportPlatform{.showMessage = platform_.showMessage},
                     this, &reportSettings_);
    report.exec();
}

void frmBrevant::cmdData_Click() {
    if (!data_) {
        data_ = new frmData(std::make_unique<WidgetBoxes>(*this, platform_.showMessage),
                            platform_.data, this);
        letEnterPressFocusedButtons(*data_);
    }
    data_->prepareToOpen();
    // Heard once the calculator is back: which numbers the data window wrote.
    if (data_->exec() == QDialog::Accepted)
        announcer_->announce(data_->fillNews(), Announcer::Politeness::polite);
}

void frmBrevant::cmdPlan_Click() {
    const planner::MainWindowTexts texts{
        .matched = ui.opMatched->isChecked(),
        .sd1 = ui.TxtSD1->text().toStdString(),
        .n1 = ui.TxtN1->text().toStdString(),
        .sd2 = ui.TxtSD2->text().toStdString(),
        .n2 = ui.TxtN2->text().toStdString(),
        .notTrivial = ui.TxtNotTrivial->text().toStdString(),
        .sdMatched = ui.TxtSDMatched->text().toStdString(),
    };
    const planner::PlanForm calculator = planner::startingForm(texts);
    if (plan_) {
        // Closed or not, it keeps what was typed there and is told what the
        // calculator holds now.
        plan_->setCalculatorNumbers(calculator);
    } else {
        // Not modal: the study's numbers stay within reach while planning.
        plan_ = new frmPlan(calculator, ReportPlatform{.showMessage = platform_.showMessage}, this);
        letEnterPressFocusedButtons(*plan_);
        // Opened beside the command buttons, so that they stay within reach.
        QRect commands;
        for (const QPushButton* button : findChildren<QPushButton*>())
            if (button->window() == this)  // not the buttons of the windows it owns
                commands |= QRect(button->mapToGlobal(QPoint(0, 0)), button->size());
        plan_->openClearOf(commands);
    }
    plan_->show();
    plan_->raise();
    plan_->activateWindow();
}

void frmBrevant::cmdCredits_Click() {
    frmCredits credits(platform_.openUrl, this);
    credits.exec();
}

void frmBrevant::opIndependent_Click() {
    switchOff(*ui.TxtSDMatched);
    switchOff(*ui.TxtMeanDiff);
}

void frmBrevant::opMatched_Click() {
    const QString n1 = ui.TxtN1->text();
    const QString n2 = ui.TxtN2->text();
    // Compared as typed: 10 and 010 are different sizes here.
    if (n1 != n2 && !n1.isEmpty()) {
        platform_.showMessage(
            this,
            QStringLiteral("You cannot have matched samples if your 2 samples have unequal sizes"),
            MessageIcon::information, QString());
        ui.opIndependent->setChecked(true);
        switchOff(*ui.TxtSDMatched);
        return;
    }
    switchOn(*ui.TxtSDMatched);
    switchOn(*ui.TxtMeanDiff);
}

std::int16_t frmBrevant::NumericCharsOnly(const QLineEdit& box, std::int16_t KeyAscii) const {
    std::int16_t result = KeyAscii;
    if (KeyAscii == decimalPoint) {
        if (textAfterTyping(box).contains(u'.')) {
            result = 0;
        }
    } else if (KeyAscii == minusSign) {
        if (textAfterTyping(box).contains(u'-') || caretPosition(box) > 0) {
            result = 0;
        }
    } else if (KeyAscii != backspace && !isDigit(KeyAscii)) {
        result = 0;
    }
    return result;
}

void frmBrevant::TxtMean1_KeyPress(std::int16_t& KeyAscii) {
    KeyAscii = NumericCharsOnly(*ui.TxtMean1, KeyAscii);
}

void frmBrevant::TxtMean2_KeyPress(std::int16_t& KeyAscii) {
    KeyAscii = NumericCharsOnly(*ui.TxtMean2, KeyAscii);
}

void frmBrevant::TxtMeanDiff_KeyPress(std::int16_t& KeyAscii) {
    KeyAscii = NumericCharsOnly(*ui.TxtMeanDiff, KeyAscii);
}

void frmBrevant::TxtSD1_KeyPress(std::int16_t& KeyAscii) {
    unsignedDecimalOnly(*ui.TxtSD1, KeyAscii);
}

void frmBrevant::TxtSD2_KeyPress(std::int16_t& KeyAscii) {
    unsignedDecimalOnly(*ui.TxtSD2, KeyAscii);
}

void frmBrevant::TxtSDMatched_KeyPress(std::int16_t& KeyAscii) {
    unsignedDecimalOnly(*ui.TxtSDMatched, KeyAscii);
}

void frmBrevant::TxtNotTrivial_KeyPress(std::int16_t& KeyAscii) {
    unsignedDecimalOnly(*ui.TxtNotTrivial, KeyAscii);
}

void frmBrevant::TxtN1_KeyPress(std::int16_t& KeyAscii) { wholeNumberOnly(KeyAscii); }

void frmBrevant::TxtN2_KeyPress(std::int16_t& KeyAscii) { wholeNumberOnly(KeyAscii); }

void frmBrevant::TxtMean1_GotFocus() { selectWholeText(*ui.TxtMean1); }

void frmBrevant::TxtMean2_GotFocus() { selectWholeText(*ui.TxtMean2); }

void frmBrevant::TxtSD1_GotFocus() { selectWholeText(*ui.TxtSD1); }

void frmBrevant::TxtSD2_GotFocus() { selectWholeText(*ui.TxtSD2); }

void frmBrevant::TxtN1_GotFocus() { selectWholeText(*ui.TxtN1); }

void frmBrevant::TxtN2_GotFocus() { selectWholeText(*ui.TxtN2); }

QPoint centredTopLeft(QSize window, QRect available) {
    const int left = available.left() + (available.width() - window.width()) / 2;
    const int top = available.top() + (available.height() - window.height()) / 2;
    return {std::max(left, available.left()), std::max(top, available.top())};
}

}  // namespace tarnwick
