#include "frmData.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTextBlock>
#include <cmath>

#include "apa_format.h"
#include "data_error.h"
#include "number_text.h"
#include "run_time_error.h"
#include "score_cell.h"
#include "summaries.h"

namespace tarnwick {
namespace {

using data::DataError;
using data::DataErrorNumber;
using data::Layout;

constexpr int previewRows = 8;
// A pasted text this long takes a noticeable time to read (200,000 rows take
// most of a second), so it is read once typing pauses rather than after every
// keystroke.
constexpr int longText = 100'000;        // characters
constexpr int pauseBeforeReading = 300;  // milliseconds

QString fromStd(const std::string& text) { return QString::fromStdString(text); }

// The one rule for numbers read on screen; the boxes get every digit.
QString shown(double value) { return fromStd(report::apa::readable(value)); }

// A screen reader names a label by its accessible name, which says what the
// label is for; what it shows now is its description, announced as changed.
void showText(QLabel& label, const QString& text) {
    label.setText(text);
    label.setAccessibleDescription(text);
    QAccessibleEvent changed(&label, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

// A message box breaks lines only between words: a 309-digit decimal would
// run off the screen without a place to break it.
QString breakable(const QString& text) {
    constexpr int longestRun = 40;
    QString result;
    int run = 0;
    for (const QChar c : text) {
        result += c;
        run = c.isSpace() ? 0 : run + 1;
        if (run == longestRun) {
            result += QChar(0x200B);  // zero width space: a break, nothing shown
            run = 0;
        }
    }
    return result;
}

// Errors in the table or one of its cells belong beside the pasted scores;
// the others are about the choices of columns and groups.
bool isAboutTheScores(DataErrorNumber number) {
    switch (number) {
        case DataErrorNumber::unreadable:
        case DataErrorNumber::notUtf8Text:
        case DataErrorNumber::malformedTable:
        case DataErrorNumber::noScores:
        case DataErrorNumber::notANumber:
        case DataErrorNumber::numberTooLarge:
            return true;
        default:
            return false;
    }
}

QString summaryLine(const QString& name, const data::GroupSummary& group, const QString& note) {
    return name +
           QStringLiteral(": N = %1, mean = %2, SD = %3")
               .arg(group.n)
               .arg(shown(group.mean), shown(group.sd)) +
           note;
}

QString missingNote(long missing) {
    if (missing == 0) return {};
    return QStringLiteral("; %1 missing %2 skipped")
        .arg(missing)
        .arg(missing == 1 ? QStringLiteral("value") : QStringLiteral("values"));
}

// The number in a box of the correlation page: empty is "not yet", anything
// else that is not a number is an error naming the box.
std::optional<double> typedNumber(const QLineEdit& box, QStringList& problems) {
    const QString text = box.text().trimmed();
    if (text.isEmpty()) return std::nullopt;
    const data::ScoreCell cell = data::readScoreCell(text.toStdString());
    if (cell.kind == data::CellKind::number) return cell.value;
    problems << QStringLiteral("%1: \"%2\" is not a number.").arg(box.accessibleName(), text);
    return std::nullopt;
}

bool sameNumber(const QString& boxText, const std::string& planned) {
    try {
        return textToNumber(boxText.toStdString()) == textToNumber(planned);
    } catch (const RunTimeError&) {
        return false;
    }
}

}  // namespace

frmData::frmData(QWidget& calculator, DataPlatform platform, QWidget* parent)
    : QDialog(parent), calculator_(calculator), platform_(std::move(platform)) {
    ui.setupUi(this);
    readLater_.setSingleShot(true);
    readLater_.setInterval(pauseBeforeReading);
    for (QLabel* error : {ui.lblTableError, ui.lblChoiceError, ui.lblCorrError, ui.lblFillError}) {
        QPalette palette = error->palette();
        palette.setColor(QPalette::WindowText, QColor(0xB0, 0, 0));
        error->setPalette(palette);
        // The fill message stays in place, empty, to keep the buttons at the right.
        if (error != ui.lblFillError) error->hide();
    }
    ui.cboLayout->addItem(QStringLiteral("Independent: two columns side by side"),
                          static_cast<int>(Layout::sideBySide));
    ui.cboLayout->addItem(QStringLiteral("Matched: two columns paired by row"),
                          static_cast<int>(Layout::matched));
    ui.cboLayout->addItem(QStringLiteral("Independent: a group column and a score column"),
                          static_cast<int>(Layout::longFormat));
    takeCalculatorsSummaries();
    followCalculatorsDesign();
    connectControls();
    showLayoutCaptions();
    readScores();
    updateCorrelation();
    ui.txtScores->setFocus();
}

void frmData::prepareToOpen() {
    if (ui.txtScores->document()->isEmpty()) followCalculatorsDesign();
    takeCalculatorsSummaries();
    updateFillButton();
    ui.txtScores->setFocus();
}

bool frmData::calculatorIsMatched() const {
    const auto* matched = calculator_.findChild<QRadioButton*>(QStringLiteral("opMatched"));
    return matched != nullptr && matched->isChecked();
}

// Scores for the design the calculator is set to are the likeliest ones.
void frmData::followCalculatorsDesign() {
    const Layout layout = calculatorIsMatched() ? Layout::matched : Layout::sideBySide;
    ui.cboLayout->setCurrentIndex(ui.cboLayout->findData(static_cast<int>(layout)));
}

void frmData::connectControls() {
    connect(ui.txtScores, &QPlainTextEdit::textChanged, this, &frmData::scoresEdited);
    connect(&readLater_, &QTimer::timeout, this, [this] {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        readScores();
        QApplication::restoreOverrideCursor();
    });
    connect(ui.chkHeader, &QCheckBox::toggled, this, [this](bool checked) {
        headerChoice_ = checked;
        readScores();
    });
    connect(ui.cboLayout, &QComboBox::currentIndexChanged, this, [this] {
        showLayoutCaptions();
        showGroupChoices();
        updateSummaries();
    });
    connect(ui.cboColumn1, &QComboBox::currentIndexChanged, this, [this] {
        showGroupChoices();
        updateSummaries();
    });
    for (QComboBox* choice : {ui.cboColumn2, ui.cboGroup1, ui.cboGroup2})
        connect(choice, &QComboBox::currentIndexChanged, this, &frmData::updateSummaries);
    for (QLineEdit* box : {ui.txtCorrMean1, ui.txtCorrSD1, ui.txtCorrMean2, ui.txtCorrSD2,
                           ui.txtCorrPairs, ui.txtCorrR})
        connect(box, &QLineEdit::textChanged, this, &frmData::updateCorrelation);
    connect(ui.tabs, &QTabWidget::currentChanged, this, &frmData::updateFillButton);
    connect(ui.cmdOpen, &QPushButton::clicked, this, &frmData::cmdOpen_Click);
    connect(ui.cmdFill, &QPushButton::clicked, this, &frmData::cmdFill_Click);
    connect(ui.cmdAnalyse, &QPushButton::clicked, this, &frmData::cmdAnalyse_Click);
    connect(ui.cmdClose, &QPushButton::clicked, this, &QDialog::reject);
}

// The correlation page starts from what the calculator's boxes hold, so a
// user who has typed the group summaries adds only r; what was typed on the
// page itself is kept.
void frmData::takeCalculatorsSummaries() {
    const std::pair<const char*, QLineEdit*> sources[] = {{"TxtMean1", ui.txtCorrMean1},
                                                          {"TxtSD1", ui.txtCorrSD1},
                                                          {"TxtMean2", ui.txtCorrMean2},
                                                          {"TxtSD2", ui.txtCorrSD2},
                                                          {"TxtN1", ui.txtCorrPairs}};
    for (const auto& [name, field] : sources) {
        const auto* box = calculator_.findChild<QLineEdit*>(QString::fromLatin1(name));
        if (box != nullptr && field->text().isEmpty()) field->setText(box->text());
    }
}

void frmData::cmdOpen_Click() {
    const QString path =
        platform_.chooseOpenFile(this, QStringLiteral("Open a table of scores"),
                                 QStringLiteral("Tables (*.csv *.tsv *.txt *.dat);;All files (*)"));
    if (path.isEmpty()) return;
    const QString fileName = QFileInfo(path).fileName();
    std::string bytes;
    try {
        bytes = data::readFileBytes(QFile::encodeName(path).toStdString());
        // Only text that reads as a table goes into the text area: a binary
        // or UTF-16 file would show as garbage there, and an empty one would
        // wipe out what was pasted.
        (void)data::readScoreTable(bytes);
    } catch (const DataError& error) {
        const bool kept = error.number() == DataErrorNumber::unreadable ||
                          error.number() == DataErrorNumber::notUtf8Text ||
                          error.number() == DataErrorNumber::malformedTable ||
                          error.number() == DataErrorNumber::noScores;
        if (kept) {
            QString text = fileName + QStringLiteral(": ") + fromStd(error.description());
            if (!ui.txtScores->document()->isEmpty())
                text += QStringLiteral(" The scores in the box are kept.");
            showText(*ui.lblTableError, text);
            ui.lblTableError->show();
            return;
        }
    }
    if (!replacesWhatWasPasted(fileName)) return;
    headerChoice_.reset();
    ui.txtScores->setPlainText(
        QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

// Scores typed or pasted by hand are not replaced by a file's without asking.
bool frmData::replacesWhatWasPasted(const QString& fileName) {
    const QTextDocument& pasted = *ui.txtScores->document();
    if (pasted.isEmpty()) return true;
    // A last line break leaves an empty line that holds nothing.
    const int lines = pasted.blockCount() - (pasted.lastBlock().text().isEmpty() ? 1 : 0);
    return platform_.askYesNo(
        this, QStringLiteral("The box holds %1 %2 of scores. Replace them with the scores in %3?")
                  .arg(QLocale(QLocale::English, QLocale::UnitedStates).toString(lines),
                       lines == 1 ? QStringLiteral("line") : QStringLiteral("lines"), fileName));
}

void frmData::scoresEdited() {
    if (ui.txtScores->document()->isEmpty()) headerChoice_.reset();
    if (ui.txtScores->document()->characterCount() < longText) {
        readScores();
        return;
    }
    // Until the text is read, nothing shown may be taken for its summaries.
    scoresPlan_.reset();
    scores_.reset();
    ui.lblChoiceError->hide();
    showText(*ui.lblSummaries, QStringLiteral("Reading the scores…"));
    updateFillButton();
    readLater_.start();
}

// The line of the pasted text that holds a bad cell, shaded, so that the
// error below the text has its cause in view.
void frmData::markRow(long row) {
    QList<QTextEdit::ExtraSelection> marks;
    const QTextBlock block = ui.txtScores->document()->findBlockByNumber(static_cast<int>(row) - 1);
    if (row > 0 && block.isValid()) {
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(block);
        mark.format.setBackground(QColor(0xFF, 0xD8, 0xD8));
        mark.format.setProperty(QTextFormat::FullWidthSelection, true);
        marks << mark;
    }
    ui.txtScores->setExtraSelections(marks);
}

void frmData::readScores() {
    readLater_.stop();
    table_.reset();
    markRow(0);
    ui.lblTableError->hide();
    const QString text = ui.txtScores->toPlainText();
    if (!text.trimmed().isEmpty()) {
        const data::HeaderRow header = !headerChoice_   ? data::HeaderRow::detect
                                       : *headerChoice_ ? data::HeaderRow::present
                                                        : data::HeaderRow::absent;
        try {
            table_ = data::readScoreTable(text.toUtf8().toStdString(), header);
        } catch (const DataError& error) {
            showText(*ui.lblTableError, fromStd(error.description()));
            ui.lblTableError->show();
            markRow(error.row());
        }
    }
    showTable();
    showColumnChoices();
    showGroupChoices();
    updateSummaries();
}

void frmData::showTable() {
    QTableWidget& preview = *ui.tblPreview;
    preview.clear();
    preview.setRowCount(0);
    preview.setColumnCount(0);
    {
        const QSignalBlocker quiet(ui.chkHeader);
        ui.chkHeader->setChecked(table_ && table_->hasHeader);
    }
    if (!table_) return;
    const int columns = static_cast<int>(table_->columnNames.size());
    const int rows = std::min<int>(previewRows, static_cast<int>(table_->rows.size()));
    preview.setColumnCount(columns);
    preview.setRowCount(rows);
    QStringList names;
    for (const std::string& name : table_->columnNames)
        names << fromStd(name);
    preview.setHorizontalHeaderLabels(names);
    QStringList rowNumbers;
    for (int row = 0; row < rows; ++row) {
        const data::TableRow& source = table_->rows[static_cast<std::size_t>(row)];
        rowNumbers << QString::number(source.row);
        for (int column = 0; column < columns; ++column)
            preview.setItem(
                row, column,
                new QTableWidgetItem(fromStd(source.cells[static_cast<std::size_t>(column)])));
    }
    preview.setVerticalHeaderLabels(rowNumbers);
    preview.verticalHeader()->setDefaultSectionSize(preview.fontMetrics().height() + 6);
    preview.resizeColumnsToContents();
}

void frmData::showColumnChoices() {
    const std::size_t count = table_ ? table_->columnNames.size() : 0;
    const std::size_t previousCount = static_cast<std::size_t>(ui.cboColumn1->count());
    const int wanted[] = {ui.cboColumn1->currentIndex(), ui.cboColumn2->currentIndex()};
    QComboBox* choosers[] = {ui.cboColumn1, ui.cboColumn2};
    for (int which = 0; which < 2; ++which) {
        QComboBox& chooser = *choosers[which];
        const QSignalBlocker quiet(chooser);
        chooser.clear();
        for (std::size_t column = 0; column < count; ++column)
            chooser.addItem(
                QStringLiteral("%1: %2").arg(column + 1).arg(fromStd(table_->columnNames[column])));
        // Keep the user's choice while the table keeps its columns; a table
        // of another width starts again from the first two. A table of one
        // column leaves the second choice empty, so that the summaries say a
        // second column is missing rather than "both choices are column 1".
        const int keep = count == previousCount                    ? wanted[which]
                         : static_cast<std::size_t>(which) < count ? which
                                                                   : -1;
        chooser.setCurrentIndex(keep);
    }
}

void frmData::showGroupChoices() {
    const bool longFormat =
        ui.cboLayout->currentData().toInt() == static_cast<int>(Layout::longFormat);
    std::vector<std::string> values;
    if (table_ && longFormat && ui.cboColumn1->currentIndex() >= 0)
        values =
            data::groupValues(*table_, static_cast<std::size_t>(ui.cboColumn1->currentIndex()));
    QComboBox* choosers[] = {ui.cboGroup1, ui.cboGroup2};
    for (int which = 0; which < 2; ++which) {
        QComboBox& chooser = *choosers[which];
        const QString wanted = chooser.currentText();
        const QSignalBlocker quiet(chooser);
        chooser.clear();
        for (const std::string& value : values)
            chooser.addItem(fromStd(value));
        const int kept = chooser.findText(wanted);
        chooser.setCurrentIndex(
            kept >= 0 ? kept : std::min<int>(which, static_cast<int>(values.size()) - 1));
        chooser.setEnabled(longFormat);
    }
    ui.lblGroup1->setEnabled(longFormat);
    ui.lblGroup2->setEnabled(longFormat);
}

void frmData::showLayoutCaptions() {
    const bool longFormat =
        ui.cboLayout->currentData().toInt() == static_cast<int>(Layout::longFormat);
    ui.lblColumn1->setText(longFormat ? QStringLiteral("&Group column:")
                                      : QStringLiteral("Group &1 column:"));
    ui.lblColumn2->setText(longFormat ? QStringLiteral("Score colu&mn:")
                                      : QStringLiteral("Group &2 column:"));
    ui.cboColumn1->setAccessibleName(longFormat ? QStringLiteral("Group column")
                                                : QStringLiteral("Group 1 column"));
    ui.cboColumn2->setAccessibleName(longFormat ? QStringLiteral("Score column")
                                                : QStringLiteral("Group 2 column"));
    const Layout layout = static_cast<Layout>(ui.cboLayout->currentData().toInt());
    ui.txtScores->setPlaceholderText(
        layout == Layout::longFormat ? QStringLiteral("group\tscore\nA\t12.5\nB\t13.1\nA\t11.0")
        : layout == Layout::matched  ? QStringLiteral("before\tafter\n12.5\t13.1\n11.0\t12.4")
                                     : QStringLiteral("control\ttreated\n12.5\t13.1\n11.0\t12.4"));
}

void frmData::updateSummaries() {
    if (readLater_.isActive()) return;  // the text is read, and summarised, once typing pauses
    scoresPlan_.reset();
    scores_.reset();
    ui.lblChoiceError->hide();
    showText(*ui.lblSummaries, QString());
    if (table_) {
        // The table was read, so a problem shown beside it came from the
        // summaries of other choices.
        ui.lblTableError->hide();
        markRow(0);
        data::Selection selection;
        selection.layout = static_cast<Layout>(ui.cboLayout->currentData().toInt());
        // No choice is the column that would be first or second.
        const auto chosen = [](const QComboBox& chooser, int orElse) {
            return static_cast<std::size_t>(chooser.currentIndex() >= 0 ? chooser.currentIndex()
                                                                        : orElse);
        };
        selection.first = chosen(*ui.cboColumn1, 0);
        selection.second = chosen(*ui.cboColumn2, 1);
        selection.group1 = ui.cboGroup1->currentText().toStdString();
        selection.group2 = ui.cboGroup2->currentText().toStdString();
        try {
            const data::Summaries summaries = data::summarise(*table_, selection);
            const bool matched = summaries.differences.has_value();
            const auto name = [&](int which) {
                if (selection.layout == Layout::longFormat)
                    return QStringLiteral("Group %1 (%2)")
                        .arg(which)
                        .arg(which == 1 ? ui.cboGroup1->currentText()
                                        : ui.cboGroup2->currentText());
                const std::size_t column = which == 1 ? selection.first : selection.second;
                return QStringLiteral("Group %1 (%2)")
                    .arg(which)
                    .arg(fromStd(table_->columnNames[column]));
            };
            QStringList lines;
            // Matched: what was skipped is counted in pairs, on the differences' line.
            lines << summaryLine(name(1), summaries.group1,
                                 matched ? QString() : missingNote(summaries.group1.missing))
                  << summaryLine(name(2), summaries.group2,
                                 matched ? QString() : missingNote(summaries.group2.missing));
            if (matched) {
                QString dropped;
                if (summaries.pairsDropped > 0)
                    dropped = QStringLiteral("; %1 %2 with a missing score dropped")
                                  .arg(summaries.pairsDropped)
                                  .arg(summaries.pairsDropped == 1 ? QStringLiteral("pair")
                                                                   : QStringLiteral("pairs"));
                lines << summaryLine(QStringLiteral("Differences, group 1 minus group 2"),
                                     *summaries.differences, dropped);
                lines << QStringLiteral("The group summaries are of the complete pairs.");
            }
            showText(*ui.lblSummaries, lines.join(u'\n'));
            scoresPlan_ = data_window::planFromSummaries(summaries);
            ScoresInput scores;
            scores.group1 = summaries.scores1;
            scores.group2 = summaries.scores2;
            scores.matched = matched;
            const auto label = [&](int which) {
                if (selection.layout == Layout::longFormat)
                    return which == 1 ? ui.cboGroup1->currentText() : ui.cboGroup2->currentText();
                return fromStd(
                    table_->columnNames[which == 1 ? selection.first : selection.second]);
            };
            scores.label1 = label(1);
            scores.label2 = label(2);
            // Scores without spread leave every analysis without a standard error.
            const bool spread = matched ? summaries.differences->sd > 0
                                        : summaries.group1.sd > 0 || summaries.group2.sd > 0;
            if (spread) scores_ = std::move(scores);
        } catch (const DataError& error) {
            QLabel& beside =
                isAboutTheScores(error.number()) ? *ui.lblTableError : *ui.lblChoiceError;
            QString text = fromStd(error.description());
            const int groupColumnLayout =
                ui.cboLayout->findData(static_cast<int>(Layout::longFormat));
            if (error.number() == DataErrorNumber::notANumber &&
                selection.layout != Layout::longFormat && error.column() > 0 &&
                data::holdsNoNumbers(*table_, static_cast<std::size_t>(error.column() - 1)))
                text += QStringLiteral(
                            " If this column names each row's group, choose the layout "
                            "\"%1\".")
                            .arg(ui.cboLayout->itemText(groupColumnLayout));
            showText(beside, text);
            beside.show();
            markRow(error.row());
        }
    }
    updateFillButton();
}

void frmData::updateCorrelation() {
    correlationPlan_.reset();
    showText(*ui.lblCorrResult, QString());
    QStringList problems;
    const auto mean1 = typedNumber(*ui.txtCorrMean1, problems);
    const auto sd1 = typedNumber(*ui.txtCorrSD1, problems);
    const auto mean2 = typedNumber(*ui.txtCorrMean2, problems);
    const auto sd2 = typedNumber(*ui.txtCorrSD2, problems);
    const auto pairs = typedNumber(*ui.txtCorrPairs, problems);
    const auto r = typedNumber(*ui.txtCorrR, problems);
    if (pairs && (*pairs != std::floor(*pairs) || *pairs > 1e15)) {
        problems << QStringLiteral("Number of pairs: a whole number is needed.");
    }
    if (problems.isEmpty() && mean1 && sd1 && mean2 && sd2 && pairs && r) {
        try {
            correlationPlan_ = data_window::planFromCorrelation(
                {*mean1, *sd1, *mean2, *sd2, static_cast<long>(*pairs), *r});
            const auto& boxes = correlationPlan_->boxes;
            showText(*ui.lblCorrResult,
                     QStringLiteral("Mean difference = %1, SD of the differences = %2")
                         .arg(shown(boxes[boxes.size() - 2].value), shown(boxes.back().value)));
        } catch (const DataError& error) {
            problems << fromStd(error.description());
        }
    }
    showText(*ui.lblCorrError, problems.join(u'\n'));
    ui.lblCorrError->setVisible(!problems.isEmpty());
    updateFillButton();
}

const data_window::FillPlan* frmData::currentPlan() const {
    const auto& plan =
        ui.tabs->currentWidget() == ui.pgCorrelation ? correlationPlan_ : scoresPlan_;
    return plan ? &*plan : nullptr;
}

void frmData::updateFillButton() {
    showText(*ui.lblFillError, QString());
    ui.cmdFill->setEnabled(currentPlan() != nullptr);
    updateAnalyseButton();
}

// Only the scores page has scores to analyse.
void frmData::updateAnalyseButton() {
    ui.cmdAnalyse->setEnabled(scores_.has_value() && ui.tabs->currentWidget() == ui.pgScores);
}

void frmData::cmdAnalyse_Click() {
    if (!scores_ || ui.tabs->currentWidget() != ui.pgScores) return;
    ScoresInput input = *scores_;
    // The bounds start as the calculator's, -delta and +delta, when it has one.
    if (const auto* delta = calculator_.findChild<QLineEdit*>(QStringLiteral("TxtNotTrivial"))) {
        try {
            const double value = textToNumber(delta->text().toStdString());
            if (value > 0 && std::isfinite(value)) {
                input.filledLower = fromStd(numberToText(-value));
                input.filledUpper = fromStd(numberToText(value));
            }
        } catch (const RunTimeError&) {
            // No number in the box: the bounds start empty, and the report asks for them.
        }
    }
    frmScores scores(std::move(input), platform_.scoresReport, this, &scoresSettings_);
    scores.exec();
}

QStringList frmData::boxesThatWouldChange(const data_window::FillPlan& plan) const {
    QStringList changed;
    for (const data_window::BoxText& planned : plan.boxes) {
        const auto* box = calculator_.findChild<QLineEdit*>(fromStd(planned.box));
        if (box == nullptr || box->text().isEmpty() || sameNumber(box->text(), planned.text))
            continue;
        changed << QStringLiteral("%1: %2 becomes %3")
                       .arg(box->accessibleName(), breakable(box->text()), shown(planned.value));
    }
    return changed;
}

QString frmData::fillQuestion(const data_window::FillPlan& plan, const QStringList& changed) const {
    QString question = QStringLiteral("These boxes already hold other numbers:\n") +
                       changed.join(u'\n') + QStringLiteral("\n\n");
    if (plan.matched != calculatorIsMatched())
        question +=
            plan.matched
                ? QStringLiteral("The design switches from independent to matched samples.\n\n")
                : QStringLiteral("The design switches from matched to independent samples.\n\n");
    return question + QStringLiteral("Replace them with the numbers from the data?");
}

void frmData::cmdFill_Click() {
    const data_window::FillPlan* plan = currentPlan();
    if (plan == nullptr) return;
    const QStringList changed = boxesThatWouldChange(*plan);
    if (!changed.isEmpty() && !platform_.askYesNo(this, fillQuestion(*plan, changed))) {
        showText(*ui.lblFillError,
                 QStringLiteral("Nothing was filled; the boxes keep their numbers."));
        return;
    }
    fill(*plan);
    accept();
}

void frmData::fill(const data_window::FillPlan& plan) {
    for (const data_window::BoxText& planned : plan.boxes) {
        auto* box = calculator_.findChild<QLineEdit*>(fromStd(planned.box));
        // A box that already reads as this number keeps the user's own text,
        // except a matched design's sizes: the calculator compares them as
        // typed, and would take "04" and "4" for different sizes.
        const bool matchedSize = plan.matched && (planned.box == "TxtN1" || planned.box == "TxtN2");
        if (box == nullptr ||
            (!matchedSize && !box->text().isEmpty() && sameNumber(box->text(), planned.text)))
            continue;
        box->setText(fromStd(planned.text));
        // From its start: a sign or the first digits hidden past the left
        // edge would misread the number.
        box->setCursorPosition(0);
    }
    // Selected as a click selects it, so the calculator switches the matched
    // boxes on or off itself; the sizes are written first, as a matched
    // design needs them equal.
    auto* option = calculator_.findChild<QRadioButton*>(
        plan.matched ? QStringLiteral("opMatched") : QStringLiteral("opIndependent"));
    if (option != nullptr && !option->isChecked()) option->click();
}

}  // namespace tarnwick
