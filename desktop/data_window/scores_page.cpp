#include "scores_page.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLocale>
#include <QSignalBlocker>
#include <QTextBlock>
#include <algorithm>
#include <utility>

#include "crossover_table.h"
#include "data_error.h"
#include "scores_box.h"
#include "shown_text.h"

namespace tarnwick::data_window {
namespace {

using data::DataError;
using data::DataErrorNumber;
using data::Layout;

constexpr int previewRows = 8;
// The layout combo's data for a crossover study, beside data::Layout's values.
constexpr int crossoverLayout = 100;
// The crossover layout's columns, by place; the engine's reader names them
// in its refusals.
const std::vector<std::string> crossoverColumns = {"subject", "sequence", "period", "formulation",
                                                   "response"};
// A pasted text this long takes a noticeable time to read (200,000 rows take
// most of a second), so it is read once typing pauses rather than after every
// keystroke.
constexpr int longText = 100'000;        // characters
constexpr int pauseBeforeReading = 300;  // milliseconds

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

// What the box would count: UTF-8 continuation bytes start no character.
// (A character beyond the Basic Multilingual Plane counts two there, one
// here: too few of them in a table of scores to matter.)
qsizetype utf8Characters(const std::string& bytes) {
    return static_cast<qsizetype>(std::count_if(bytes.begin(), bytes.end(), [](char byte) {
        return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
    }));
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

}  // namespace

ScoresPage::ScoresPage(Ui::frmData& form, QWidget& owner, const DataPlatform& platform,
                       std::function<void()> changed)
    : ui(form), owner_(owner), platform_(platform), changed_(std::move(changed)) {
    readLater_.setSingleShot(true);
    readLater_.setInterval(pauseBeforeReading);
    ui.cboLayout->addItem(QStringLiteral("Independent: two columns side by side"),
                          static_cast<int>(Layout::sideBySide));
    ui.cboLayout->addItem(QStringLiteral("Matched: two columns paired by row"),
                          static_cast<int>(Layout::matched));
    ui.cboLayout->addItem(QStringLiteral("Independent: a group column and a score column"),
                          static_cast<int>(Layout::longFormat));
    ui.cboLayout->addItem(
        QStringLiteral("Crossover (subject, sequence, period, formulation, response)"),
        crossoverLayout);
}

bool ScoresPage::crossoverChosen() const {
    return ui.cboLayout->currentData().toInt() == crossoverLayout;
}

void ScoresPage::start() {
    connect(ui.txtScores, &QPlainTextEdit::textChanged, this, &ScoresPage::scoresEdited);
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
        connect(choice, &QComboBox::currentIndexChanged, this, &ScoresPage::updateSummaries);
    connect(ui.cmdOpen, &QPushButton::clicked, this, &ScoresPage::openFile);
    ui.txtScores->refused = [this](qsizetype characters) {
        showRefusal(tooLongForTheBox(characters));
    };
    showLayoutCaptions();
    readScores();
}

bool ScoresPage::isEmpty() const { return ui.txtScores->document()->isEmpty(); }

// Scores for the design the calculator is set to are the likeliest ones.
void ScoresPage::followDesign(bool matched) {
    const Layout layout = matched ? Layout::matched : Layout::sideBySide;
    ui.cboLayout->setCurrentIndex(ui.cboLayout->findData(static_cast<int>(layout)));
}

const FillPlan* ScoresPage::plan() const { return plan_ ? &*plan_ : nullptr; }

void ScoresPage::openFile() {
    const QString path =
        platform_.chooseOpenFile(&owner_, QStringLiteral("Open a table of scores"),
                                 QStringLiteral("Tables (*.csv *.tsv *.txt *.dat);;All files (*)"));
    if (path.isEmpty()) return;
    const QString fileName = QFileInfo(path).fileName();
    std::string bytes;
    try {
        bytes = data::readFileBytes(QFile::encodeName(path).toStdString());
        // Before it is read as a table, which would take a while and the
        // memory of several copies.
        const qsizetype characters = utf8Characters(bytes);
        if (characters > ScoresBox::maxCharacters) {
            showRefusal(fileName + QStringLiteral(": ") + tooLongForTheBox(characters));
            return;
        }
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
            showRefusal(fileName + QStringLiteral(": ") + fromStd(error.description()));
            return;
        }
    }
    if (!replacesWhatWasPasted(fileName)) return;
    headerChoice_.reset();
    ui.txtScores->setPlainText(
        QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

// Beside the box, which keeps what it held.
void ScoresPage::showRefusal(QString text) {
    if (!ui.txtScores->document()->isEmpty())
        text += QStringLiteral(" The scores in the box are kept.");
    showText(*ui.lblTableError, text);
    ui.lblTableError->show();
}

// Scores typed or pasted by hand are not replaced by a file's without asking.
bool ScoresPage::replacesWhatWasPasted(const QString& fileName) {
    const QTextDocument& pasted = *ui.txtScores->document();
    if (pasted.isEmpty()) return true;
    // A last line break leaves an empty line that holds nothing.
    const int lines = pasted.blockCount() - (pasted.lastBlock().text().isEmpty() ? 1 : 0);
    return platform_.askYesNo(
        &owner_,
        QStringLiteral("The box holds %1 %2 of scores. Replace them with the scores in %3?")
            .arg(QLocale(QLocale::English, QLocale::UnitedStates).toString(lines),
                 lines == 1 ? QStringLiteral("line") : QStringLiteral("lines"), fileName));
}

void ScoresPage::scoresEdited() {
    if (ui.txtScores->document()->isEmpty()) headerChoice_.reset();
    if (ui.txtScores->document()->characterCount() < longText) {
        readScores();
        return;
    }
    // Until the text is read, nothing shown may be taken for its summaries.
    plan_.reset();
    scores_.reset();
    ui.lblChoiceError->hide();
    showText(*ui.lblSummaries, QStringLiteral("Reading the scores…"));
    changed_();
    readLater_.start();
}

// The line of the pasted text that holds a bad cell, shaded, so that the
// error below the text has its cause in view.
void ScoresPage::markRow(long row) {
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

void ScoresPage::readScores() {
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

void ScoresPage::showTable() {
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

void ScoresPage::showColumnChoices() {
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

void ScoresPage::showGroupChoices() {
    if (crossoverChosen()) {
        showReferenceChoices();
        return;
    }
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

void ScoresPage::showLayoutCaptions() {
    // The crossover layout reads its columns by place, and the first value
    // choice names the reference formulation.
    const bool crossover = crossoverChosen();
    ui.cboColumn1->setEnabled(!crossover);
    ui.cboColumn2->setEnabled(!crossover);
    ui.lblColumn1->setEnabled(!crossover);
    ui.lblColumn2->setEnabled(!crossover);
    ui.lblGroup1->setText(crossover ? QStringLiteral("Reference formula&tion:")
                                    : QStringLiteral("Group 1 &value:"));
    ui.cboGroup1->setAccessibleName(crossover ? QStringLiteral("Reference formulation")
                                              : QStringLiteral("Group 1 value"));
    if (crossover) {
        ui.txtScores->setPlaceholderText(
            QStringLiteral("subject\tsequence\tperiod\tformulation\tresponse\n"
                           "1\tTR\t1\tT\t541.8\n1\tTR\t2\tR\t656.1\n"
                           "2\tRT\t1\tR\t549.0\n2\tRT\t2\tT\t623.8"));
        return;
    }
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

void ScoresPage::updateSummaries() {
    if (readLater_.isActive()) return;  // the text is read, and summarised, once typing pauses
    plan_.reset();
    scores_.reset();
    study_.reset();
    ui.lblChoiceError->hide();
    showText(*ui.lblSummaries, QString());
    if (table_ && crossoverChosen()) {
        readCrossover();
    } else if (table_) {
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
            plan_ = planFromSummaries(summaries);
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
    changed_();
}

// The formulations named in the fourth column; the reference is "R" when
// there is one, else the choice kept, else the second name.
void ScoresPage::showReferenceChoices() {
    std::vector<std::string> values;
    if (table_ && table_->columnNames.size() >= 4) values = data::groupValues(*table_, 3);
    const QString wanted = ui.cboGroup1->currentText();
    const QSignalBlocker quiet(ui.cboGroup1);
    ui.cboGroup1->clear();
    for (const std::string& value : values)
        ui.cboGroup1->addItem(fromStd(value));
    int chosen = ui.cboGroup1->findText(wanted);
    if (chosen < 0) chosen = ui.cboGroup1->findText(QStringLiteral("R"));
    if (chosen < 0) chosen = std::min<int>(1, static_cast<int>(values.size()) - 1);
    ui.cboGroup1->setCurrentIndex(chosen);
    ui.cboGroup1->setEnabled(true);
    ui.lblGroup1->setEnabled(true);
    {
        const QSignalBlocker quietToo(ui.cboGroup2);
        ui.cboGroup2->clear();
    }
    ui.cboGroup2->setEnabled(false);
    ui.lblGroup2->setEnabled(false);
}

// The table read by the engine's crossover reader, its columns by place;
// what it refuses is said with its row, which is shaded.
void ScoresPage::readCrossover() {
    ui.lblTableError->hide();
    markRow(0);
    std::vector<table_io::CsvRecord> rows;
    rows.reserve(table_->rows.size());
    for (const data::TableRow& row : table_->rows)
        rows.push_back({row.row, row.cells});
    crossover::CrossoverReadOptions options;
    options.reference = ui.cboGroup1->currentText().toStdString();
    options.response = crossoverColumns[4];
    options.treatment = crossoverColumns[3];
    options.decimalComma = table_->decimalMark == ',';
    crossover::CrossoverStudy study;
    try {
        crossover::CrossoverTable read = crossover::crossoverTableOf(
            crossoverColumns, std::move(rows), "text", options, table_->delimiter);
        study = std::move(read.studies.at(0));
    } catch (const table_io::InputError& error) {
        showText(*ui.lblTableError,
                 QStringLiteral("Row %1: %2.").arg(error.line()).arg(fromStd(error.description())));
        ui.lblTableError->show();
        markRow(error.line());
        return;
    }
    if (!study.problem.empty()) {
        QString problem = fromStd(study.problem);
        problem[0] = problem[0].toUpper();
        showText(*ui.lblChoiceError, problem + QLatin1Char('.'));
        ui.lblChoiceError->show();
        return;
    }
    QStringList sequences;
    for (const std::string& sequence : study.sequences)
        sequences << fromStd(sequence);
    QStringList lines;
    lines << QStringLiteral("%1 subjects in the sequences %2; %3 against the reference %4")
                 .arg(study.subjects.size())
                 .arg(sequences.join(QStringLiteral(", ")), fromStd(study.testName),
                      fromStd(study.referenceName));
    lines << QStringLiteral("%1 responses%2")
                 .arg(study.observations.size())
                 .arg(missingNote(study.missing));
    lines << QStringLiteral(
        "A crossover study has no two groups' summaries for the boxes: \"Analyse the "
        "scores...\" reports it.");
    showText(*ui.lblSummaries, lines.join(u'\n'));
    study_ = std::move(study);
}

}  // namespace tarnwick::data_window
