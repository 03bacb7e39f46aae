// The program on a table, as a user runs it: every input column copied, the
// answers equal to the planning engine called directly with the row's values
// and the documented defaults, refused rows with their message and status 1,
// full digits that read back exactly, JSON numbers in JSON Lines.

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>

#include "batch_process.h"
#include "csv_reader.h"
#include "plan.h"
#include "plan_columns.h"

namespace tarnwick::planner {
namespace {

using batch::testing::Outcome;
using batch::testing::parseCsv;
using batch::testing::readFile;
using batch::testing::run;
using batch::testing::ScratchFolder;
using batch::testing::Table;
using batch::testing::writeFile;

const std::string rowsFile = TEST_DATA_DIR "/rows.csv";

double exactly(const std::string& text) {
    double value = std::nan("");
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

double valueOr(const std::string& text, double fallback) {
    return text.empty() ? fallback : std::stod(text);
}

// The answer the engine gives for a row of rows.csv, read by the rules the
// manual page states.
struct Expected {
    plan::Sizes sizes;
    double power, lower, upper;
};

Expected engineAnswer(const Table& table, std::size_t row) {
    const auto text = [&](std::string_view column) -> const std::string& {
        return table.at(row, column);
    };
    plan::Study study;
    const bool matched = text("design") == "matched";
    study.design = matched ? plan::Design::matched : plan::Design::independent;
    study.alpha = valueOr(text("alpha"), 0.05);
    study.difference = valueOr(text("difference"), 0);
    study.sd = std::stod(text("sd"));
    if (!text("bound").empty()) {
        study.lower = -std::stod(text("bound"));
        study.upper = std::stod(text("bound"));
    } else if (!text("lower").empty()) {
        study.lower = std::stod(text("lower"));
        study.upper = std::stod(text("upper"));
    }
    const double ratio = valueOr(text("ratio"), 1);
    plan::Sizes given;
    if (!text("n1").empty()) {
        given.n1 = std::stol(text("n1"));
        given.n2 = matched               ? 0
                   : !text("n2").empty() ? std::stol(text("n2"))
                                         : static_cast<long>(std::ceil(ratio * given.n1 - 1e-9));
    }
    if (text("solve") == "n") {
        const auto found = plan::smallestSize(study, std::stod(text("power")), ratio);
        return {found.sizes, found.power, study.lower, study.upper};
    }
    if (text("solve") == "power")
        return {given, plan::power(study, given), study.lower, study.upper};
    const auto found = plan::smallestBound(study, given, std::stod(text("power")));
    return {given, found.power, -found.bound, found.bound};
}

const std::vector<std::string_view> numberColumns = {"plan_n1",    "plan_n2",    "plan_total",
                                                     "plan_power", "plan_lower", "plan_upper"};

TEST(PlanTable, FullDigitsAreTheEnginesAnswersExactly) {
    const Outcome outcome = run(PLAN_PROGRAM, {"--digits", "full", rowsFile});
    EXPECT_EQ(outcome.status, 1) << "some rows are refused";
    EXPECT_EQ(outcome.err, "");
    const Table input = parseCsv(readFile(rowsFile));
    const Table output = parseCsv(outcome.out);
    ASSERT_EQ(output.rows.size(), input.rows.size());
    std::vector<std::string> columns = input.columns;
    columns.insert(columns.end(), answerColumnNames.begin(), answerColumnNames.end());
    EXPECT_EQ(output.columns, columns);

    for (std::size_t row = 0; row < input.rows.size(); ++row) {
        SCOPED_TRACE(input.at(row, "case"));
        for (std::size_t i = 0; i < input.columns.size(); ++i)
            EXPECT_EQ(output.rows[row][i], input.rows[row][i]) << "copied unchanged";
        const std::string& refusal = input.at(row, "refusal");
        const std::string& message = output.at(row, "message");
        if (!refusal.empty()) {
            EXPECT_NE(message.find(refusal), std::string::npos) << message;
            for (std::string_view column : numberColumns)
                EXPECT_EQ(output.at(row, column), "") << column;
            continue;
        }
        EXPECT_EQ(message, "");
        const Expected expected = engineAnswer(input, row);
        const bool matched = input.at(row, "design") == "matched";
        EXPECT_EQ(output.at(row, "plan_n1"), std::to_string(expected.sizes.n1));
        EXPECT_EQ(output.at(row, "plan_n2"), matched ? "" : std::to_string(expected.sizes.n2));
        EXPECT_EQ(output.at(row, "plan_total"),
                  std::to_string(expected.sizes.n1 + (matched ? 0 : expected.sizes.n2)));
        EXPECT_EQ(exactly(output.at(row, "plan_power")), expected.power);
        EXPECT_EQ(exactly(output.at(row, "plan_lower")), expected.lower);
        EXPECT_EQ(exactly(output.at(row, "plan_upper")), expected.upper);
    }
}

TEST(PlanTable, ShownDigitsNeverClaimMoreThanFull) {
    const Table shown = parseCsv(run(PLAN_PROGRAM, {rowsFile}).out);
    const Table full = parseCsv(run(PLAN_PROGRAM, {"--digits", "full", rowsFile}).out);
    ASSERT_EQ(shown.rows.size(), full.rows.size());
    for (std::size_t row = 0; row < shown.rows.size(); ++row) {
        SCOPED_TRACE(shown.at(row, "case"));
        if (!shown.at(row, "message").empty()) {
            EXPECT_EQ(shown.rows[row], full.rows[row]);
            continue;
        }
        for (std::string_view column : {"plan_n1", "plan_n2", "plan_total"})
            EXPECT_EQ(shown.at(row, column), full.at(row, column));
        const double power = exactly(full.at(row, "plan_power"));
        EXPECT_LE(std::stod(shown.at(row, "plan_power")), power);
        EXPECT_GE(std::stod(shown.at(row, "plan_power")) + 1e-4, power);
        EXPECT_LT(std::stod(shown.at(row, "plan_power")), 1) << "no finite study is certain";
        const double upper = exactly(full.at(row, "plan_upper"));
        if (shown.at(row, "solve") == "bound") {
            EXPECT_GE(std::stod(shown.at(row, "plan_upper")), upper);
            EXPECT_LT(std::stod(shown.at(row, "plan_upper")), upper * (1 + 1e-3));
            EXPECT_EQ(shown.at(row, "plan_lower"), "-" + shown.at(row, "plan_upper"));
        } else {
            EXPECT_EQ(shown.at(row, "plan_upper"), full.at(row, "plan_upper")) << "as read";
        }
    }
}

TEST(PlanTable, JsonLinesHaveNumbersForTheAnswerAndTextForTheInput) {
    const Table csv = parseCsv(run(PLAN_PROGRAM, {"--digits", "full", rowsFile}).out);
    const Outcome jsonl = run(PLAN_PROGRAM, {"--format", "jsonl", "--digits", "full", rowsFile});
    EXPECT_EQ(jsonl.status, 1);
    std::istringstream lines(jsonl.out);
    std::size_t row = 0;
    for (std::string line; std::getline(lines, line); ++row) {
        ASSERT_LT(row, csv.rows.size());
        SCOPED_TRACE(csv.at(row, "case"));
        const auto object = nlohmann::json::parse(line);
        ASSERT_EQ(object.size(), csv.columns.size());
        const auto firstAnswerColumn = csv.columns.size() - answerColumnNames.size();
        for (std::size_t i = 0; i < csv.columns.size(); ++i) {
            const auto& value = object.at(csv.columns[i]);
            const std::string& text = csv.rows[row][i];
            if (text.empty()) {
                EXPECT_TRUE(value.is_null()) << csv.columns[i];
            } else if (i < firstAnswerColumn || csv.columns[i] == "message") {
                EXPECT_EQ(value, text) << csv.columns[i];
            } else {
                ASSERT_TRUE(value.is_number()) << csv.columns[i];
                EXPECT_EQ(value.get<double>(), exactly(text)) << csv.columns[i];
            }
        }
        if (csv.at(row, "message").empty()) {
            EXPECT_TRUE(object.at("plan_n1").is_number_integer());
        }
    }
    EXPECT_EQ(row, csv.rows.size());
}

// The ratio scale's answers keep one JSON type a column, whatever the row:
// the sizes ("19" as well as "12,12") and the conclusion are words, every
// other answer a number.
TEST(OneCase, RatioAnswersInJsonKeepOneTypeAColumn) {
    const std::vector<std::string> cases[] = {
        {"--solve", "n", "--design", "paired", "--cv", "0.2", "--power", "0.8"},
        {"--solve", "power", "--design", "parallel", "--cv", "0.2", "--n", "24"},
        {"--solve", "ci", "--design", "paired", "--estimate", "0.95", "--cv", "0.2", "--sizes",
         "12"},
        {"--solve", "ci", "--design", "2x2", "--estimate", "0.95", "--cv", "0.2", "--sizes",
         "12,12"}};
    for (std::vector<std::string> arguments : cases) {
        SCOPED_TRACE(arguments.at(1) + " " + arguments.back());
        arguments.insert(arguments.end(), {"--format", "jsonl"});
        const Outcome outcome = run(PLAN_PROGRAM, arguments);
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        const auto object = nlohmann::json::parse(outcome.out);
        ASSERT_TRUE(object.at("plan_sizes").is_string());
        std::size_t answers = 0;
        for (const auto& [column, value] : object.items()) {
            if (column.rfind("plan_", 0) != 0 || value.is_null()) continue;
            ++answers;
            const bool word = column == "plan_sizes" || column == "plan_conclusion";
            EXPECT_EQ(value.is_string(), word) << column << " " << value;
            EXPECT_EQ(value.is_number(), !word) << column << " " << value;
        }
        EXPECT_GE(answers, 5u);
    }
}

TEST(PlanTable, StatusZeroWhenEveryRowIsAnsweredReadFromStandardInput) {
    std::istringstream lines(readFile(rowsFile));
    std::string answered;
    for (std::string line; std::getline(lines, line);) {
        if (line.find(",refused_") == std::string::npos && line.rfind("refused_", 0) != 0)
            answered += line + "\n";
    }
    ScratchFolder scratch;
    writeFile(scratch.path / "answered.csv", answered);
    const Outcome outcome = run(PLAN_PROGRAM, {"-"}, scratch.path / "answered.csv");
    EXPECT_EQ(outcome.status, 0) << outcome.out;
    EXPECT_EQ(parseCsv(outcome.out).rows.size(), 12u);
}

// The same table as `delimiter`-separated text.
std::string withDelimiter(const Table& table, char delimiter) {
    const auto line = [&](const std::vector<std::string>& fields) {
        std::string text;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i > 0) text += delimiter;
            if (fields[i].find_first_of(std::string("\"\n") + delimiter) == std::string::npos) {
                text += fields[i];
                continue;
            }
            text += '"';
            for (char c : fields[i])
                text += c == '"' ? std::string("\"\"") : std::string(1, c);
            text += '"';
        }
        return text + "\n";
    };
    std::string text = line(table.columns);
    for (const auto& row : table.rows)
        text += line(row);
    return text;
}

TEST(PlanTable, SemicolonAndTabTablesGiveTheSameAnswers) {
    const Outcome commas = run(PLAN_PROGRAM, {rowsFile});
    const Table input = parseCsv(readFile(rowsFile));
    ScratchFolder scratch;
    for (const char delimiter : {';', '\t'}) {
        SCOPED_TRACE(delimiter == ';' ? "semicolons" : "tabs");
        writeFile(scratch.path / "rows.txt", withDelimiter(input, delimiter));
        const Outcome chosen = run(PLAN_PROGRAM, {(scratch.path / "rows.txt").string()});
        EXPECT_EQ(chosen.status, commas.status);
        EXPECT_EQ(chosen.out, commas.out);
    }
    const Outcome forced =
        run(PLAN_PROGRAM, {"--delimiter", ",", (scratch.path / "rows.txt").string()});
    EXPECT_EQ(forced.status, 2) << "a tab table read as commas has no column solve";
}

// A spreadsheet saved with decimal commas: read only when asked, and then
// every answer is the one the decimal points give; the copied columns stay as
// they stood.
TEST(PlanTable, DecimalCommasAreReadOnlyWhenAsked) {
    const Outcome points = run(PLAN_PROGRAM, {rowsFile});
    Table input = parseCsv(readFile(rowsFile));
    std::vector<bool> hadAComma;  // "1,2", refused as not a number, is 1.2 when asked
    for (auto& row : input.rows) {
        hadAComma.push_back(false);
        for (std::size_t i = 0; i < input.columns.size(); ++i) {
            if (!isInputColumn(input.columns[i])) continue;
            if (row[i].find(',') != std::string::npos) hadAComma.back() = true;
            std::replace(row[i].begin(), row[i].end(), '.', ',');
        }
    }
    ScratchFolder scratch;
    writeFile(scratch.path / "commas.csv", withDelimiter(input, ';'));
    const std::string commas = (scratch.path / "commas.csv").string();

    const Outcome read = run(PLAN_PROGRAM, {"--decimal-comma", commas});
    EXPECT_EQ(read.status, points.status);
    const Table expected = parseCsv(points.out), got = parseCsv(read.out);
    ASSERT_EQ(got.rows.size(), expected.rows.size());
    for (std::size_t row = 0; row < got.rows.size(); ++row) {
        SCOPED_TRACE(got.at(row, "case"));
        if (hadAComma[row]) {
            EXPECT_EQ(got.at(row, "message"), "");
            continue;
        }
        for (std::string_view column : answerColumnNames)
            EXPECT_EQ(got.at(row, column), expected.at(row, column)) << column;
        EXPECT_EQ(got.at(row, "bound"), input.at(row, "bound"));
    }

    const Outcome notRead = run(PLAN_PROGRAM, {commas});
    EXPECT_EQ(notRead.status, 1);
    const std::string note = "has a decimal comma";
    const auto first = notRead.err.find(note);
    EXPECT_NE(first, std::string::npos) << notRead.err;
    EXPECT_EQ(notRead.err.find(note, first + 1), std::string::npos) << "said once";
}

TEST(OneCase, OptionsAsAOneRowTableOrASentence) {
    const std::vector<std::string> options = {"--solve", "power", "--n1", "40",
                                              "--bound", "0.5",   "--sd", "1.2"};
    std::vector<std::string> asCsv = options;
    asCsv.insert(asCsv.end(), {"--format", "csv"});
    const Outcome csv = run(PLAN_PROGRAM, asCsv);
    EXPECT_EQ(csv.status, 0);
    const Table table = parseCsv(csv.out);
    std::vector<std::string> columns = {"solve", "bound", "sd", "n1"};
    columns.insert(columns.end(), answerColumnNames.begin(), answerColumnNames.end());
    EXPECT_EQ(table.columns, columns);
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(table.at(0, "plan_n2"), "40");

    const Outcome sentence = run(PLAN_PROGRAM, options);
    EXPECT_EQ(sentence.status, 0);
    EXPECT_EQ(sentence.out.rfind("40 per group (80 in all) give ", 0), 0u) << sentence.out;

    // The power is 1 - 4e-17 or so, 1 as a double: still below 1 when shown.
    const Outcome allButCertain =
        run(PLAN_PROGRAM, {"--solve", "power", "--n1", "1233", "--bound", "1.362", "--difference",
                           "0.1362", "--sd", "1.829"});
    EXPECT_EQ(allButCertain.out,
              "1233 per group (2466 in all) give 99.9% power to show equivalence within "
              "\u00b11.362.\n");

    const Outcome refused =
        run(PLAN_PROGRAM, {"--solve", "n", "--bound", "0.5", "--sd", "0", "--power", "0.8"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out.rfind("not answered: ", 0), 0u) << refused.out;
}

}  // namespace
}  // namespace tarnwick::planner

namespace tarnwick::planner {
namespace {

// A table that names margin gets the answer column p before message, filled
// for solve ci of a one-sided question only; one that names neither margin
// nor better may keep a column of its own called p, and one that does may
// not (it would be written twice).
TEST(OneSidedTable, PComesWithMarginAndIsAnAnswerColumnThen) {
    ScratchFolder scratch;
    writeFile(scratch.path / "one_sided.csv",
              "solve,design,hypothesis,margin,cv,n,estimate,sd,power\n"
              "ci,2x2,non_inferiority,0.8,0.3,24,1.02,,\n"
              "n,,non_inferiority,-0.5,,,,1,0.9\n");
    const Outcome outcome = run(PLAN_PROGRAM, {(scratch.path / "one_sided.csv").string()});
    EXPECT_EQ(outcome.status, 0) << outcome.out << outcome.err;
    const Table table = parseCsv(outcome.out);
    ASSERT_EQ(table.rows.size(), 2u);
    const auto column = [&](const std::string& name) {
        return static_cast<std::size_t>(
            std::find(table.columns.begin(), table.columns.end(), name) - table.columns.begin());
    };
    ASSERT_EQ(column("p") + 1, column("message"));
    EXPECT_EQ(table.rows[0][column("p")], "0.004481");
    EXPECT_EQ(table.rows[0][column("plan_p_lower")], "0.004481");
    EXPECT_EQ(table.rows[0][column("plan_conclusion")], "non_inferior");
    EXPECT_EQ(table.rows[1][column("p")], "");
    EXPECT_EQ(table.rows[1][column("plan_lower")], "-0.5");
    EXPECT_EQ(table.rows[1][column("plan_upper")], "");

    writeFile(scratch.path / "own_p.csv", "solve,sd,bound,power,p\nn,1,0.5,0.9,keep me\n");
    const Outcome own = run(PLAN_PROGRAM, {(scratch.path / "own_p.csv").string()});
    EXPECT_EQ(own.status, 0) << own.err;
    EXPECT_NE(own.out.find("keep me"), std::string::npos);

    writeFile(scratch.path / "clash.csv", "solve,sd,margin,power,p\nn,1,-0.5,0.9,x\n");
    const Outcome clash = run(PLAN_PROGRAM, {(scratch.path / "clash.csv").string()});
    EXPECT_EQ(clash.status, 2);
    EXPECT_NE(clash.err.find("\"p\" has the name of an answer column"), std::string::npos)
        << clash.err;
}

}  // namespace
}  // namespace tarnwick::planner
