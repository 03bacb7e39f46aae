// The batch program against the window's own logic: every row of a table is
// fed to tarnwick-batch and, as a fresh window, to the box driver; the
// message and the 26 box texts must agree. Rows the batch refuses by itself
// name the message they expect in the column "refusal".

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <nlohmann/json.hpp>

#include "batch_process.h"
#include "columns.h"
#include "number_text.h"

namespace tarnwick::batch::testing {
namespace {

const std::filesystem::path rowsFile = TEST_DATA_DIR "/rows.csv";

struct WindowRun {
    std::string message;
    std::map<std::string, std::string, std::less<>> boxes;
};

// The same row pressed in a fresh window of the box driver.
WindowRun runInWindow(const Table& table, std::size_t row) {
    std::string script;
    for (const InputColumn& input : boxInputColumns)
        script += "set\t" + std::string(input.box) + "\t" + table.at(row, input.column) + "\n";
    if (table.at(row, "design") == "matched") script += "select\topMatched\n";
    if (table.at(row, "df") == "welch") script += "select\tOpWelch\n";
    script += "run\n";
    ScratchFolder scratch;
    writeFile(scratch.path / "script", script);
    const Outcome outcome = run(BOX_DRIVER, {}, scratch.path / "script");
    EXPECT_EQ(outcome.status, 0) << outcome.err;

    WindowRun result;
    std::istringstream lines(outcome.out);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> parts;
        std::istringstream fields(line);
        for (std::string part; std::getline(fields, part, '\t');)
            parts.push_back(part);
        if (parts.at(0) == "message") {
            if (!result.message.empty()) result.message += '\n';
            result.message += parts.at(3);
        } else if (parts.at(0) == "box") {
            result.boxes[parts.at(1)] = parts.size() > 2 ? parts.at(2) : "";
        }
    }
    return result;
}

std::vector<std::string> reportColumnNames() {
    std::vector<std::string> names;
    for (std::string_view prefix : reportPrefixes) {
        for (std::string_view column : reportColumns)
            names.push_back(std::string(prefix) + std::string(column));
    }
    return names;
}

TEST(BatchAgreesWithWindow, EveryRowGivesTheWindowsMessageAndBoxes) {
    const Outcome outcome = run(BATCH_PROGRAM, {rowsFile.string()});
    EXPECT_EQ(outcome.status, 1) << "some rows end with a message";
    const Table input = parseCsv(readFile(rowsFile));
    const Table output = parseCsv(outcome.out);
    ASSERT_EQ(output.rows.size(), input.rows.size());
    ASSERT_EQ(output.columns.size(), input.columns.size() + resultColumnCount);

    for (std::size_t row = 0; row < output.rows.size(); ++row) {
        SCOPED_TRACE(input.at(row, "case"));
        for (std::size_t i = 0; i < input.columns.size(); ++i)
            EXPECT_EQ(output.rows[row][i], input.rows[row][i]) << "copied unchanged";
        const std::string& refusal = input.at(row, "refusal");
        const WindowRun window = refusal.empty() ? runInWindow(input, row) : WindowRun{refusal, {}};
        const std::string& message = output.at(row, "message");
        EXPECT_EQ(message, window.message);
        for (const BoxColumn& box : boxColumns) {
            const auto expected = window.boxes.find(box.box);
            EXPECT_EQ(output.at(row, box.column),
                      expected == window.boxes.end() ? "" : expected->second)
                << box.column;
        }
        // The report exactly for the runs that ended with results.
        const bool hasBound = !input.at(row, "bound").empty();
        EXPECT_EQ(output.at(row, "ind_conclusion").empty(), !message.empty() || !hasBound);
        if (!message.empty()) {
            for (const std::string& column : reportColumnNames())
                EXPECT_EQ(output.at(row, column), "") << column;
        }
    }
}

TEST(BatchAgreesWithWindow, ByteOrderMarkAndCrlfLineEndsChangeNothing) {
    std::string windowsText = "\xEF\xBB\xBF";
    for (char c : readFile(rowsFile))
        windowsText += c == '\n' ? std::string("\r\n") : std::string(1, c);
    ScratchFolder scratch;
    writeFile(scratch.path / "windows.csv", windowsText);

    const Outcome plain = run(BATCH_PROGRAM, {rowsFile.string()});
    const Outcome windows = run(BATCH_PROGRAM, {"-"}, scratch.path / "windows.csv");
    EXPECT_EQ(windows.status, plain.status);
    // Only the line break inside the quoted study name keeps its CR.
    std::string normalised = windows.out;
    for (std::size_t at; (at = normalised.find("\r\n")) != std::string::npos;)
        normalised.erase(at, 1);
    EXPECT_EQ(normalised, plain.out);
}

TEST(BatchOutput, JsonLinesHoldTheSameValuesAsCsv) {
    const Table csv = parseCsv(run(BATCH_PROGRAM, {rowsFile.string()}).out);
    const Outcome jsonl = run(BATCH_PROGRAM, {"--format", "jsonl", rowsFile.string()});
    EXPECT_EQ(jsonl.status, 1);
    std::istringstream lines(jsonl.out);
    std::size_t row = 0;
    for (std::string line; std::getline(lines, line); ++row) {
        const auto object = nlohmann::json::parse(line);
        ASSERT_LT(row, csv.rows.size());
        ASSERT_EQ(object.size(), csv.columns.size());
        for (std::size_t i = 0; i < csv.columns.size(); ++i) {
            const std::string& text = csv.rows[row][i];
            const auto& value = object.at(csv.columns[i]);
            SCOPED_TRACE(csv.columns[i] + " = " + text);
            if (text.empty()) {
                EXPECT_TRUE(value.is_null());
            } else if (value.is_number()) {
                EXPECT_GE(i, csv.columns.size() - resultColumnCount) << "input stays text";
                EXPECT_EQ(value.get<double>(), std::stod(text));
            } else {
                EXPECT_EQ(value.get<std::string>(), text);
            }
        }
    }
    EXPECT_EQ(row, csv.rows.size());
    EXPECT_NE(jsonl.out.find("\"welch_t\":1.11803,"), std::string::npos) << "shown text, unquoted";
}

TEST(BatchOutput, FullDigitsRoundToTheShownTexts) {
    const Table shown = parseCsv(run(BATCH_PROGRAM, {rowsFile.string()}).out);
    const Table full = parseCsv(run(BATCH_PROGRAM, {"--digits", "full", rowsFile.string()}).out);
    ASSERT_EQ(full.rows.size(), shown.rows.size());
    std::size_t compared = 0;
    for (std::size_t row = 0; row < shown.rows.size(); ++row) {
        SCOPED_TRACE(shown.at(row, "case"));
        if (!shown.at(row, "message").empty()) {
            EXPECT_EQ(full.rows[row], shown.rows[row]) << "a row with a message keeps its texts";
            continue;
        }
        for (std::size_t i = shown.columns.size() - resultColumnCount; i < shown.columns.size();
             ++i) {
            const std::string& column = shown.columns[i];
            const std::string& text = shown.rows[row][i];
            double value = 0;
            try {
                value = std::stod(full.rows[row][i]);
            } catch (const std::invalid_argument&) {
                EXPECT_EQ(full.rows[row][i], text) << column << ": text stays text";
                continue;
            }
            const bool unrounded = column == "student_df" || column == "matched_df";
            EXPECT_EQ(unrounded ? numberToText(value) : shownValue(value), text) << column;
            ++compared;
        }
    }
    EXPECT_GT(compared, 100u);
}

TEST(BatchExitStatus, ZeroWhenEveryRowHasResultsReadFromStandardInput) {
    ScratchFolder scratch;
    writeFile(scratch.path / "good.csv", "mean1,sd1,n1,mean2,sd2,n2,bound\n10,2,10,9,2,10,3\n");
    const Outcome outcome = run(BATCH_PROGRAM, {}, scratch.path / "good.csv");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(parseCsv(outcome.out).at(0, "ind_conclusion"), "equivalent");
}

}  // namespace
}  // namespace tarnwick::batch::testing
