#include "study_table.h"

#include <algorithm>
#include <map>
#include <optional>
#include <unordered_map>

#include "column_name.h"
#include "quoted_field.h"
#include "score_cell.h"
#include "table_shape.h"

namespace tarnwick::data {
namespace {

using table_io::CsvReader;
using table_io::CsvRecord;
using table_io::InputError;
using table_io::quotedField;

constexpr std::size_t none = static_cast<std::size_t>(-1);

struct Layout {
    std::size_t study = none, group = none, score = none, pair = none;
    std::size_t first = none, second = none;  // wide: the two score columns
    std::vector<std::string> names;
};

std::size_t columnNamed(const std::vector<std::string>& names, std::string_view name,
                        const std::string& file) {
    std::size_t found = none;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] != name) continue;
        // Two columns of one name would leave it to chance which is read.
        if (found != none)
            throw InputError(file, 1, "the column \"" + std::string(name) + "\" appears twice");
        found = i;
    }
    return found;
}

constexpr std::string_view namesRead[] = {"study", "group", "score", "pair"};

// Names that are a name read but for case or spaces (the other programs' rule).
std::vector<std::string> nearMissesOf(const std::vector<std::string>& names) {
    std::vector<std::string> misses;
    for (const std::string& name : names) {
        const std::string folded = table_io::foldedColumnName(name);
        for (std::string_view read : namesRead)
            if (name != read && folded == read) misses.push_back(name);
    }
    return misses;
}

// A refusal of the header, saying which names were meant as names read.
[[noreturn]] void refuseHeader(const std::string& file, const std::string& what,
                               const std::vector<std::string>& names) {
    std::string misses;
    for (const std::string& name : nearMissesOf(names))
        misses += (misses.empty() ? "; " : ", ") + quotedField(name) + " is not \"" +
                  table_io::foldedColumnName(name) + "\"";
    if (!misses.empty()) misses += ": names are read in lower case without spaces";
    throw InputError(file, 1, what + misses);
}

Layout layoutOf(const std::vector<std::string>& names, const std::string& file, Design design) {
    Layout layout;
    layout.names = names;
    layout.study = columnNamed(names, "study", file);
    layout.group = columnNamed(names, "group", file);
    layout.score = columnNamed(names, "score", file);
    layout.pair = columnNamed(names, "pair", file);
    if (layout.group != none || layout.score != none) {
        if (layout.group == none || layout.score == none)
            refuseHeader(file, "a long table needs both a \"group\" and a \"score\" column", names);
        if (design == Design::matched && layout.pair == none)
            refuseHeader(file,
                         "matched scores in a long table need a \"pair\" column naming each pair",
                         names);
        return layout;
    }
    if (layout.pair != none)
        throw InputError(file, 1,
                         "a \"pair\" column belongs to a long table, with \"group\" and "
                         "\"score\"; a wide table pairs its two columns by row");
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i == layout.study) continue;
        if (layout.first == none) {
            layout.first = i;
        } else if (layout.second == none) {
            layout.second = i;
        } else {
            refuseHeader(file,
                         "a wide table has exactly two score columns (and optionally "
                         "\"study\"); a long one names \"group\" and \"score\"",
                         names);
        }
    }
    if (layout.second == none)
        refuseHeader(file,
                     "the header names no two score columns: give \"group\" and \"score\" "
                     "(long) or two score columns (wide)",
                     names);
    return layout;
}

const std::string& cellOf(const CsvRecord& record, std::size_t column) {
    static const std::string empty;
    return column < record.fields.size() ? record.fields[column] : empty;
}

// Trimmed as group names and pair ids are, so that "S" and "S " are one study.
std::string studyName(const CsvRecord& record, const Layout& layout) {
    return layout.study == none ? std::string()
                                : std::string(trimmed(cellOf(record, layout.study)));
}

// A score's value, or nothing when the cell is missing.
std::optional<double> scoreOf(const CsvRecord& record, std::size_t column, char decimalMark,
                              const Layout& layout, const std::string& file) {
    const ScoreCell cell = readScoreCell(cellOf(record, column), decimalMark);
    switch (cell.kind) {
        case CellKind::number:
            return cell.value;
        case CellKind::missing:
            return std::nullopt;
        case CellKind::tooLarge:
            throw InputError(file, record.line,
                             "the score " + quotedField(cellOf(record, column)) + " in column " +
                                 quotedField(layout.names[column]) +
                                 " is beyond the range of a double");
        case CellKind::notANumber:
            break;
    }
    throw InputError(
        file, record.line,
        "the score " + quotedField(cellOf(record, column)) + " in column " +
            quotedField(layout.names[column]) + " is neither a number nor missing (empty, " +
            "NA, . or NaN)" +
            (decimalMark == '.' && cellOf(record, column).find(',') != std::string::npos
                 ? "; --decimal-comma reads a comma as the decimal mark"
                 : ""));
}

// Gathers the rows of each study, in order of first appearance.
class StudyIndex {
public:
    Study& at(const std::string& name, long line) {
        const auto [where, added] = index_.try_emplace(name, studies_.size());
        if (added) {
            studies_.emplace_back();
            studies_.back().name = name;
            studies_.back().firstLine = line;
        }
        return studies_[where->second];
    }
    std::vector<Study>& all() { return studies_; }
    std::size_t position(const std::string& name) const { return index_.at(name); }
    bool holdsOther(const std::string& name) const {
        return !studies_.empty() && !index_.contains(name);
    }

private:
    std::unordered_map<std::string, std::size_t> index_;
    std::vector<Study> studies_;
};

// Adds rows to their studies one by one, so that a table whose decimal mark
// is known before its rows never needs its rows kept as text.
class StudyBuilder {
public:
    // With `ready`, the rows of each study stand together: a study is handed
    // over complete when a row of the next one comes.
    StudyBuilder(const Layout& layout, Design design, const std::string& file,
                 std::function<void(Study&&)> ready)
        : layout_(layout), design_(design), file_(file), ready_(std::move(ready)) {}

    // Hands every study gathered over to `ready`, and forgets them.
    void handOver() {
        for (Study& study : finish())
            ready_(std::move(study));
        studies_ = StudyIndex();
        pairs_.clear();
        pairIndex_.clear();
    }

    void add(const CsvRecord& record, char mark) {
        if (layout_.group == none) {
            addWide(record, mark);
        } else {
            addLong(record, mark);
        }
    }

    std::vector<Study> finish() {
        std::vector<Study>& gathered = studies_.all();
        for (std::size_t at = 0; at < gathered.size() && at < pairs_.size(); ++at) {
            Study& study = gathered[at];
            for (const PairSlot& slot : pairs_[at]) {
                if (slot.score[0] && slot.score[1]) {
                    study.group1.push_back(*slot.score[0]);
                    study.group2.push_back(*slot.score[1]);
                } else {
                    study.missing1 += !slot.score[0];
                    study.missing2 += !slot.score[1];
                }
            }
        }
        return std::move(gathered);
    }

private:
    struct PairSlot {
        std::optional<double> score[2];
        bool seen[2] = {false, false};
        long line[2] = {0, 0};
    };

    void addWide(const CsvRecord& record, char mark) {
        Study& study = studyOf(studyName(record, layout_), record.line);
        study.label1 = layout_.names[layout_.first];
        study.label2 = layout_.names[layout_.second];
        const auto x = scoreOf(record, layout_.first, mark, layout_, file_);
        const auto y = scoreOf(record, layout_.second, mark, layout_, file_);
        if (design_ == Design::matched) {
            // Only a complete pair enters; a score whose partner is missing is counted
            // with the missing ones, as the data window does.
            if (x && y) {
                study.group1.push_back(*x);
                study.group2.push_back(*y);
            } else {
                study.missing1 += !x;
                study.missing2 += !y;
            }
            return;
        }
        if (x) {
            study.group1.push_back(*x);
        } else {
            ++study.missing1;
        }
        if (y) {
            study.group2.push_back(*y);
        } else {
            ++study.missing2;
        }
    }

    void addLong(const CsvRecord& record, char mark) {
        const std::string name = studyName(record, layout_);
        Study& study = studyOf(name, record.line);
        const std::string_view group = trimmed(cellOf(record, layout_.group));
        if (group.empty()) throw InputError(file_, record.line, "the \"group\" cell is empty");
        int which = 0;
        if (study.label1.empty()) {
            study.label1 = group;
        } else if (group == study.label1) {
            which = 0;
        } else if (study.label2.empty()) {
            study.label2 = group;
            which = 1;
        } else if (group == study.label2) {
            which = 1;
        } else {
            // Which two groups to compare is the user's choice; it is not made here.
            if (study.problem.empty())
                study.problem = "the study has more than two groups (" + quotedField(study.label1) +
                                ", " + quotedField(study.label2) + ", " + quotedField(group) +
                                ", line " + std::to_string(record.line) +
                                "); give each comparison a study of its own";
            return;
        }
        const auto score = scoreOf(record, layout_.score, mark, layout_, file_);
        if (design_ == Design::independent) {
            if (score) {
                (which == 0 ? study.group1 : study.group2).push_back(*score);
            } else {
                ++(which == 0 ? study.missing1 : study.missing2);
            }
            return;
        }
        // Matched: each study's pairs by id, in order of first appearance.
        const std::size_t at = studies_.position(name);
        if (at >= pairs_.size()) {
            pairs_.resize(at + 1);
            pairIndex_.resize(at + 1);
        }
        const std::string id(trimmed(cellOf(record, layout_.pair)));
        if (id.empty()) throw InputError(file_, record.line, "the \"pair\" cell is empty");
        const auto [where, added] = pairIndex_[at].try_emplace(id, pairs_[at].size());
        if (added) pairs_[at].emplace_back();
        PairSlot& slot = pairs_[at][where->second];
        if (slot.seen[which])
            throw InputError(file_, record.line,
                             "pair " + quotedField(id) + " has a second score in group " +
                                 quotedField(group) + " (the first is on line " +
                                 std::to_string(slot.line[which]) + ")");
        slot.seen[which] = true;
        slot.line[which] = record.line;
        slot.score[which] = score;
    }

    Study& studyOf(const std::string& name, long line) {
        if (ready_ && studies_.holdsOther(name)) handOver();
        return studies_.at(name, line);
    }

    const Layout& layout_;
    Design design_;
    const std::string& file_;
    std::function<void(Study&&)> ready_;
    StudyIndex studies_;
    std::vector<std::map<std::string, std::size_t>> pairIndex_;
    std::vector<std::vector<PairSlot>> pairs_;
};

// A first row holding a number is data, never names: the data window's first
// rule for a header (table_shape.h). Either decimal mark counts where a decimal
// comma is possible, as the mark is not known yet.
bool firstRowIsData(const std::vector<std::string>& row, char delimiter) {
    return holdsANumber(row, '.') || (delimiter != ',' && holdsANumber(row, ','));
}

// The row's width against the header's. A field beyond the header is most often a
// decimal comma in a comma-separated table: "1,5" read as the scores 1 and 5 would be
// silently wrong. Empty trailing fields, as spreadsheets save them, are harmless. A
// row short of fields is refused too: its last scores are not missing, they are lost.
void checkWidth(const CsvRecord& record, std::size_t width, char delimiter,
                const std::string& file) {
    bool wrong = record.fields.size() < width;
    for (std::size_t i = width; i < record.fields.size(); ++i)
        wrong = wrong || !trimmed(record.fields[i]).empty();
    if (!wrong) return;
    throw InputError(file, record.line,
                     "the row has " + table_io::countOf(record.fields.size(), "field") +
                         ", the header names " + std::to_string(width) +
                         (delimiter == ',' && record.fields.size() > width
                              ? "; a decimal comma needs a table separated by "
                                "semicolons or tabs, or quotes around the number and "
                                "--decimal-comma"
                              : ""));
}

// Whether the input is a file whose rows of each study stand together: read
// once through, the study cell's hash at the start of each run of rows, and no
// hash twice (a collision only keeps every study, as a pipe's). The input is
// put back at its start. Any fault in the table is left to the reading proper.
bool studiesStandTogether(std::FILE* input, const std::string& fileName, char delimiter) {
    const long start = std::ftell(input);
    if (start < 0 || std::fseek(input, start, SEEK_SET) != 0) return false;
    std::vector<std::size_t> runs;
    try {
        CsvReader reader(input, fileName);
        reader.setDelimiter(delimiter != 0 ? delimiter
                                           : detectDelimiter(std::string(reader.peekFirstLine())));
        CsvRecord record;
        std::size_t column = none;
        if (reader.next(record)) {
            for (std::size_t i = 0; i < record.fields.size(); ++i)
                if (record.fields[i] == "study") column = i;
        }
        std::string previous;
        bool first = true;
        while (column != none && reader.next(record)) {
            const std::string_view name = trimmed(cellOf(record, column));
            if (first || name != previous) runs.push_back(std::hash<std::string_view>{}(name));
            previous = name;
            first = false;
        }
        if (column == none) runs.clear();
    } catch (const InputError&) {
        runs.clear();
    }
    std::clearerr(input);
    if (std::fseek(input, start, SEEK_SET) != 0)
        throw InputError(fileName, 1, "the input cannot be read again from its start");
    if (runs.size() < 2) return false;
    std::sort(runs.begin(), runs.end());
    return std::adjacent_find(runs.begin(), runs.end()) == runs.end();
}

}  // namespace

StudyTable readStudyTable(std::FILE* input, const std::string& fileName,
                          const StudyReadOptions& options) {
    const bool streamed = options.ready && studiesStandTogether(input, fileName, options.delimiter);
    CsvReader reader(input, fileName);
    StudyTable table;
    table.delimiter = options.delimiter != 0 ? options.delimiter
                                             : detectDelimiter(std::string(reader.peekFirstLine()));
    reader.setDelimiter(table.delimiter);
    CsvRecord first;
    if (!reader.next(first))
        throw InputError(fileName, 1, "the input is empty; its first row must name the columns");
    const bool hasHeader = !firstRowIsData(first.fields, table.delimiter);
    std::vector<std::string> names = first.fields;
    if (!hasHeader) {
        // The data window's names for the columns of a table without a header.
        for (std::size_t i = 0; i < names.size(); ++i)
            names[i] = "Column " + std::to_string(i + 1);
    }
    const Layout layout = layoutOf(names, fileName, options.design);
    table.wide = layout.group == none;
    table.hasStudyColumn = layout.study != none;
    StudyBuilder studies(layout, options.design, fileName,
                         streamed ? options.ready : std::function<void(Study &&)>());

    table.nearMisses = nearMissesOf(names);
    // A comma-separated table reads "." as its decimal mark, and --decimal-comma
    // says ","; otherwise the first score that reads as a number with a decimal
    // point makes it ".", and "," is chosen at the end when some score reads
    // with a comma. Rows wait from the first score that could read either way.
    bool markKnown = options.decimalComma || table.delimiter == ',';
    table.decimalMark = options.decimalComma ? ',' : '.';
    std::vector<CsvRecord> waiting;
    const auto flush = [&] {
        for (const CsvRecord& record : waiting)
            studies.add(record, table.decimalMark);
        waiting.clear();
    };
    // Whether the row must wait for the mark: not once a score reads with a
    // decimal point (the mark is then "."); yes when a score holds a comma or
    // a point, or rows wait already, so that the rows keep their order.
    const auto open = [&](const CsvRecord& record) {
        bool eitherWay = false;
        for (const std::size_t column : {layout.first, layout.second, layout.score}) {
            if (column == none) continue;
            const std::string& cell = cellOf(record, column);
            if (cell.find('.') != std::string::npos &&
                readScoreCell(cell, '.').kind == CellKind::number) {
                markKnown = true;
                return false;
            }
            if (cell.find(',') != std::string::npos &&
                readScoreCell(cell, ',').kind == CellKind::number && table.guessedCommaLine == 0) {
                table.guessedCommaLine = record.line;
                table.guessedCommaCell = cell;
            }
            eitherWay = eitherWay || cell.find_first_of(".,") != std::string::npos;
        }
        return eitherWay || !waiting.empty();
    };
    const auto take = [&](CsvRecord&& record) {
        checkWidth(record, names.size(), table.delimiter, fileName);
        if (!markKnown) {
            if (open(record)) {
                waiting.push_back(std::move(record));
                return;
            }
            flush();
        }
        studies.add(record, table.decimalMark);
    };
    if (!hasHeader) take(std::move(first));
    for (CsvRecord record; reader.next(record);)
        take(std::move(record));
    if (!markKnown && table.guessedCommaLine != 0) {
        table.decimalMark = ',';
    } else {
        table.guessedCommaLine = 0;
        table.guessedCommaCell.clear();
    }
    flush();
    if (streamed) {
        studies.handOver();
    } else {
        table.studies = studies.finish();
    }
    return table;
}

}  // namespace tarnwick::data
