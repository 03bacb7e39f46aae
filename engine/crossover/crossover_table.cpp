#include "crossover_table.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <optional>
#include <unordered_map>

#include "quoted_field.h"
#include "score_cell.h"
#include "table_shape.h"

namespace tarnwick::crossover {
namespace {

using table_io::CsvReader;
using table_io::CsvRecord;
using table_io::InputError;
using table_io::quotedField;

constexpr std::size_t none = static_cast<std::size_t>(-1);
// Crossover studies have a handful of periods; the bound keeps a mistyped
// period (a date, a time) from being read as one.
constexpr int maxPeriod = 99;

struct Layout {
    std::size_t study = none, subject = none, sequence = none, period = none, treatment = none,
                response = none;
    std::vector<std::string> names;
};

std::size_t columnNamed(const std::vector<std::string>& names, const std::string& name,
                        const std::string& file) {
    std::size_t found = none;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (data::trimmed(names[i]) != name) continue;
        // Two columns of one name would leave it to chance which is read.
        if (found != none)
            throw InputError(file, 1, "the column " + quotedField(name) + " appears twice");
        found = i;
    }
    return found;
}

Layout layoutOf(const std::vector<std::string>& names, const std::string& file,
                const CrossoverReadOptions& options) {
    Layout layout;
    layout.names = names;
    layout.study = columnNamed(names, "study", file);
    std::string lacking;
    const auto need = [&](std::size_t& column, const std::string& name) {
        column = columnNamed(names, name, file);
        if (column == none) lacking += (lacking.empty() ? "" : ", ") + quotedField(name);
    };
    need(layout.subject, "subject");
    need(layout.sequence, "sequence");
    need(layout.period, "period");
    need(layout.treatment, options.treatment);
    need(layout.response, options.response);
    if (!lacking.empty())
        throw InputError(file, 1,
                         "a crossover table names the columns \"subject\", \"sequence\", "
                         "\"period\", " +
                             quotedField(options.treatment) +
                             " and the response's (--response); this one lacks " + lacking);
    return layout;
}

const std::string& cellOf(const CsvRecord& record, std::size_t column) {
    static const std::string empty;
    return column < record.fields.size() ? record.fields[column] : empty;
}

std::string nameCell(const CsvRecord& record, const Layout& layout, std::size_t column,
                     const std::string& file) {
    const std::string_view name = data::trimmed(cellOf(record, column));
    if (name.empty())
        throw InputError(file, record.line,
                         "the " + quotedField(layout.names[column]) + " cell is empty");
    return std::string(name);
}

int periodOf(const CsvRecord& record, const Layout& layout, const std::string& file) {
    const std::string_view text = data::trimmed(cellOf(record, layout.period));
    int period = 0;
    const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), period);
    if (text.empty() || fault != std::errc() || end != text.data() + text.size() || period < 1 ||
        period > maxPeriod)
        throw InputError(file, record.line,
                         "the period " + quotedField(cellOf(record, layout.period)) +
                             " is not a whole number from 1 to " + std::to_string(maxPeriod));
    return period;
}

// The response's value, or nothing when it is missing.
std::optional<double> responseOf(const CsvRecord& record, const Layout& layout, char mark,
                                 const std::string& file) {
    const std::string& text = cellOf(record, layout.response);
    const data::ScoreCell cell = data::readScoreCell(text, mark);
    const std::string named = "the response " + quotedField(text);
    switch (cell.kind) {
        case data::CellKind::missing:
            return std::nullopt;
        case data::CellKind::tooLarge:
            throw InputError(file, record.line, named + " is beyond the range of a double");
        case data::CellKind::notANumber:
            throw InputError(file, record.line,
                             named + " is neither a number nor missing (empty, NA, . or NaN)" +
                                 (mark == '.' && text.find(',') != std::string::npos
                                      ? "; --decimal-comma reads a comma as the decimal mark"
                                      : ""));
        case data::CellKind::number:
            break;
    }
    if (!(cell.value > 0))
        throw InputError(file, record.line,
                         named + " is not above 0: responses are analysed on the log scale");
    return cell.value;
}

// A row's width against the header's: a field beyond it is most often a decimal
// comma in a comma-separated table, a field short of it a lost response.
void checkWidth(const CsvRecord& record, std::size_t width, char delimiter,
                const std::string& file) {
    bool wrong = record.fields.size() < width;
    for (std::size_t i = width; i < record.fields.size(); ++i)
        wrong = wrong || !data::trimmed(record.fields[i]).empty();
    if (!wrong) return;
    throw InputError(file, record.line,
                     "the row has " + table_io::countOf(record.fields.size(), "field") +
                         ", the header names " + std::to_string(width) +
                         (delimiter == ',' && record.fields.size() > width
                              ? "; a decimal comma needs a table separated by semicolons or "
                                "tabs, or quotes around the number and --decimal-comma"
                              : ""));
}

struct Row {
    std::size_t subject;
    int period;
    std::size_t treatment;  // into StudyBuild::treatments
    std::optional<double> response;
    long line;
};

// One study as its rows arrive; the checks that need all of them (the
// sequences' order, their treatments) run in finish(), in the table's order.
class StudyBuild {
public:
    StudyBuild(std::string name, long line) {
        study_.name = std::move(name);
        study_.firstLine = line;
    }

    void add(const CsvRecord& record, const Layout& layout, char mark, const std::string& file) {
        const std::string subject = nameCell(record, layout, layout.subject, file);
        const std::string sequence = nameCell(record, layout, layout.sequence, file);
        const int period = periodOf(record, layout, file);
        const std::string treatment = nameCell(record, layout, layout.treatment, file);
        const std::optional<double> response = responseOf(record, layout, mark, file);

        const auto [sequenceAt, newSequence] =
            sequenceIndex_.try_emplace(sequence, study_.sequences.size());
        if (newSequence) {
            study_.sequences.push_back(sequence);
            sequenceLine_.push_back(record.line);
            sequenceAnswered_.push_back(false);
        }
        const auto [subjectAt, newSubject] =
            subjectIndex_.try_emplace(subject, study_.subjects.size());
        if (newSubject) {
            study_.subjects.push_back({subject, sequenceAt->second, record.line});
        } else {
            const Subject& known = study_.subjects[subjectAt->second];
            if (known.sequence != sequenceAt->second)
                throw InputError(file, record.line,
                                 "subject " + quotedField(subject) + " is in sequence " +
                                     quotedField(sequence) + " here and in " +
                                     quotedField(study_.sequences[known.sequence]) + " on line " +
                                     std::to_string(known.line));
        }
        const auto [slot, newSlot] =
            periodLine_.try_emplace({subjectAt->second, period}, record.line);
        if (!newSlot)
            throw InputError(file, record.line,
                             "subject " + quotedField(subject) + " has a second row for period " +
                                 std::to_string(period) + " (the first is on line " +
                                 std::to_string(slot->second) + ")");
        std::size_t which =
            std::find(treatments_.begin(), treatments_.end(), treatment) - treatments_.begin();
        if (which == treatments_.size()) {
            if (treatments_.size() == 2)
                throw InputError(file, record.line,
                                 "a third treatment, " + quotedField(treatment) + ", beside " +
                                     quotedField(treatments_[0]) + " and " +
                                     quotedField(treatments_[1]) +
                                     " in one study: a crossover here compares two formulations");
            treatments_.push_back(treatment);
        }
        if (response) sequenceAnswered_[sequenceAt->second] = true;
        rows_.push_back({subjectAt->second, period, which, response, record.line});
    }

    CrossoverStudy finish(const std::string& reference, const std::string& file) {
        for (std::size_t s = 0; s < study_.sequences.size(); ++s) {
            if (!sequenceAnswered_[s])
                throw InputError(file, sequenceLine_[s],
                                 "sequence " + quotedField(study_.sequences[s]) +
                                     " has no subject with a response");
        }
        const bool spelled = spelledOrder();
        spelled ? checkSpelledOrder(file) : checkSharedOrder(file);
        nameTreatments(reference);

        std::vector<long> responses(study_.subjects.size(), 0);
        for (const Row& row : rows_) {
            if (!row.response) {
                ++study_.missing;
                continue;
            }
            ++responses[row.subject];
            study_.observations.push_back({row.subject, row.period,
                                           treatments_[row.treatment] != reference,
                                           std::log(*row.response)});
        }
        // A subject lacks periods when it has fewer responses than its sequence
        // has periods: the label's length, or the periods its subjects were seen in.
        std::vector<std::map<int, bool>> periodsSeen(study_.sequences.size());
        for (const Row& row : rows_)
            periodsSeen[study_.subjects[row.subject].sequence][row.period] = true;
        for (std::size_t i = 0; i < study_.subjects.size(); ++i) {
            const Subject& subject = study_.subjects[i];
            const std::size_t periods = spelled ? study_.sequences[subject.sequence].size()
                                                : periodsSeen[subject.sequence].size();
            if (static_cast<std::size_t>(responses[i]) < periods)
                study_.incomplete.push_back(subject.name);
        }
        return std::move(study_);
    }

private:
    // Every label made of the first letters of the two treatments' names.
    bool spelledOrder() const {
        if (treatments_.size() != 2 || treatments_[0][0] == treatments_[1][0]) return false;
        for (const std::string& label : study_.sequences) {
            for (const char letter : label) {
                if (letter != treatments_[0][0] && letter != treatments_[1][0]) return false;
            }
        }
        return true;
    }

    void checkSpelledOrder(const std::string& file) const {
        for (const Row& row : rows_) {
            const std::string& label = study_.sequences[study_.subjects[row.subject].sequence];
            const std::string& took = treatments_[row.treatment];
            if (static_cast<std::size_t>(row.period) > label.size())
                throw InputError(file, row.line,
                                 "period " + std::to_string(row.period) + " of subject " +
                                     quotedField(study_.subjects[row.subject].name) +
                                     " lies beyond sequence " + quotedField(label) + "'s " +
                                     std::to_string(label.size()) + " periods");
            if (label[row.period - 1] != took[0])
                throw InputError(file, row.line,
                                 "subject " + quotedField(study_.subjects[row.subject].name) +
                                     " took " + quotedField(took) + " in period " +
                                     std::to_string(row.period) + ", which sequence " +
                                     quotedField(label) + " gives to " +
                                     quotedField(treatments_[treatments_[0][0] == took[0]]));
        }
    }

    void checkSharedOrder(const std::string& file) const {
        struct Given {
            std::size_t treatment;
            long line;
        };
        std::map<std::pair<std::size_t, int>, Given> order;
        for (const Row& row : rows_) {
            const std::size_t sequence = study_.subjects[row.subject].sequence;
            const auto [given, added] =
                order.try_emplace({sequence, row.period}, Given{row.treatment, row.line});
            if (added || given->second.treatment == row.treatment) continue;
            throw InputError(file, row.line,
                             "subject " + quotedField(study_.subjects[row.subject].name) +
                                 " took " + quotedField(treatments_[row.treatment]) +
                                 " in period " + std::to_string(row.period) + ", but sequence " +
                                 quotedField(study_.sequences[sequence]) + " gave " +
                                 quotedField(treatments_[given->second.treatment]) +
                                 " in that period on line " + std::to_string(given->second.line));
        }
    }

    void nameTreatments(const std::string& reference) {
        const auto at = std::find(treatments_.begin(), treatments_.end(), reference);
        std::string named;
        for (const std::string& name : treatments_)
            named += (named.empty() ? "" : " and ") + quotedField(name);
        if (at == treatments_.end()) {
            study_.problem = "no treatment is named " + quotedField(reference) +
                             " (the reference, --reference); the study's are " + named;
        } else if (treatments_.size() < 2) {
            study_.problem = "the study has one treatment, " + named + "; a crossover compares two";
        } else {
            study_.referenceName = *at;
            study_.testName = treatments_[at == treatments_.begin() ? 1 : 0];
        }
    }

    CrossoverStudy study_;
    std::unordered_map<std::string, std::size_t> sequenceIndex_, subjectIndex_;
    std::vector<long> sequenceLine_;
    std::vector<bool> sequenceAnswered_;
    std::map<std::pair<std::size_t, int>, long> periodLine_;
    std::vector<std::string> treatments_;
    std::vector<Row> rows_;
};

}  // namespace

CrossoverTable crossoverTableOf(const std::vector<std::string>& header, std::vector<CsvRecord> rows,
                                const std::string& fileName, const CrossoverReadOptions& options,
                                char delimiter) {
    const Layout layout = layoutOf(header, fileName, options);
    CrossoverTable table;
    table.delimiter = delimiter;
    table.hasStudyColumn = layout.study != none;
    for (const CsvRecord& record : rows)
        checkWidth(record, header.size(), delimiter, fileName);
    // A comma-separated table reads "." as its decimal mark, and --decimal-comma
    // says ","; otherwise the mark is chosen from every response.
    if (options.decimalComma) {
        table.decimalMark = ',';
    } else if (delimiter != ',') {
        std::vector<std::vector<std::string>> cells;
        cells.reserve(rows.size());
        for (const CsvRecord& record : rows)
            cells.push_back({cellOf(record, layout.response)});
        table.decimalMark = data::detectDecimalMark(cells, delimiter);
    }

    std::vector<StudyBuild> builds;
    std::unordered_map<std::string, std::size_t> index;
    for (const CsvRecord& record : rows) {
        std::string name = layout.study == none
                               ? std::string()
                               : std::string(data::trimmed(cellOf(record, layout.study)));
        const auto [at, added] = index.try_emplace(name, builds.size());
        if (added) builds.emplace_back(std::move(name), record.line);
        builds[at->second].add(record, layout, table.decimalMark, fileName);
    }
    for (StudyBuild& build : builds)
        table.studies.push_back(build.finish(options.reference, fileName));
    return table;
}

CrossoverTable readCrossoverTable(std::FILE* input, const std::string& fileName,
                                  const CrossoverReadOptions& options) {
    CsvReader reader(input, fileName);
    const char delimiter = options.delimiter != 0
                               ? options.delimiter
                               : data::detectDelimiter(std::string(reader.peekFirstLine()));
    reader.setDelimiter(delimiter);
    CsvRecord header;
    if (!reader.next(header))
        throw InputError(fileName, 1, "the input is empty; its first row must name the columns");
    std::vector<CsvRecord> rows;
    for (CsvRecord record; reader.next(record);)
        rows.push_back(std::move(record));
    if (rows.empty()) throw InputError(fileName, 1, "the table has a header and no rows");
    return crossoverTableOf(header.fields, std::move(rows), fileName, options, delimiter);
}

}  // namespace tarnwick::crossover
