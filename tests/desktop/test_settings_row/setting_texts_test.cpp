// Every alpha and bound text of data/setting_texts.csv through every reader
// of it: the engine's, the windows' settings row, tarnwick-batch,
// tarnwick-plan and tarnwick-scores. A text the engine reads means what the
// shortest text of its number means in each front end (the same answers);
// a text it refuses is refused everywhere in the engine's own sentence.

#include <gtest/gtest.h>

#include <QApplication>
#include <charconv>
#include <fstream>

#include "batch_process.h"
#include "setting_text.h"
#include "test_settings_row.h"

namespace tarnwick {
namespace {

using batch::testing::Outcome;
using batch::testing::parseCsv;
using batch::testing::run;
using batch::testing::ScratchFolder;
using batch::testing::Table;
using batch::testing::writeFile;

struct TextCase {
    std::string kind;     // alpha, lower, upper or symmetric
    std::string text;     // escapes undone
    std::string outcome;  // a number, "blank", or the name of a SettingsError
    int line = 0;
};

void PrintTo(const TextCase& c, std::ostream* out) { *out << "line " << c.line; }

std::string unescaped(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 't' || text[i + 1] == 'e')) {
            out += text[++i] == 't' ? '\t' : '\x1b';
        } else {
            out += text[i];
        }
    }
    return out;
}

std::vector<TextCase> readCases() {
    std::ifstream in(SETTING_TEXTS);
    std::vector<TextCase> cases;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (line.empty() || line[0] == '#' || line.starts_with("kind,")) continue;
        const std::size_t first = line.find(','), last = line.rfind(',');
        cases.push_back({line.substr(0, first), unescaped(line.substr(first + 1, last - first - 1)),
                         line.substr(last + 1), number});
    }
    return cases;
}

const std::map<std::string, int> errorNumbers = {
    {"alpha", settings::error::alpha},
    {"alphaText", settings::error::alphaText},
    {"bounds", settings::error::bounds},
    {"boundText", settings::error::boundText},
    {"boundNotPositive", settings::error::boundNotPositive},
    {"boundMissing", settings::error::boundMissing},
};

// What the engine's reader makes of a case.
struct Verdict {
    std::optional<double> value;  // read
    int error = 0;                // or refused
    std::string sentence;
};

Verdict engineVerdict(const TextCase& c) {
    Verdict v;
    try {
        if (c.kind == "alpha") {
            v.value = settings::readAlpha(c.text);
        } else if (c.kind == "lower") {
            v.value = settings::readBounds(c.text, "10")->lower;
        } else if (c.kind == "upper") {
            v.value = settings::readBounds("-10", c.text)->upper;
        } else {
            v.value = settings::readBound(c.text, settings::BoundName::symmetric);
        }
    } catch (const settings::SettingsError& e) {
        v.error = e.number();
        v.sentence = e.description();
    }
    return v;
}

bool isBlank(const std::string& text) { return text.find_first_not_of(" \t") == std::string::npos; }

std::string shortest(double value) {
    char buffer[32];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

// The row's fields but the one that copies the text typed.
std::vector<std::string> answerOf(const Table& table, std::string_view copied) {
    std::vector<std::string> fields;
    for (std::size_t i = 0; i < table.columns.size(); ++i)
        if (table.columns[i] != copied) fields.push_back(table.rows.at(0).at(i));
    return fields;
}

class SettingText : public ::testing::TestWithParam<TextCase> {
protected:
    // Whether the programs answer as they would for a number: one the engine
    // read, or the default alpha for a blank one.
    static bool answered(const TextCase& c, const Verdict& v) {
        return v.value || (c.kind == "alpha" && isBlank(c.text));
    }
    // The text that must give the same answers: the number's shortest text.
    static std::string canonical(const Verdict& v) {
        return v.value ? shortest(*v.value) : std::string("0.05");
    }
};

TEST_P(SettingText, TheEngineReadsItAsTheTableSays) {
    const TextCase& c = GetParam();
    const Verdict v = engineVerdict(c);
    if (c.outcome == "blank") {
        EXPECT_FALSE(v.value || v.error) << v.sentence;
    } else if (const auto known = errorNumbers.find(c.outcome); known != errorNumbers.end()) {
        EXPECT_EQ(v.error, known->second) << v.sentence;
        EXPECT_EQ(v.sentence.find('\x1b'), std::string::npos) << "escaped";
    } else {
        ASSERT_TRUE(v.value) << v.sentence;
        EXPECT_EQ(*v.value, std::stod(c.outcome));
    }
}

TEST_P(SettingText, TheSettingsRowReadsItSo) {
    const TextCase& c = GetParam();
    if (c.kind == "symmetric") GTEST_SKIP() << "the row has a lower and an upper bound";
    const Verdict v = engineVerdict(c);
    TestSettingsRow row;
    const QString text = QString::fromStdString(c.text);
    row.setTexts(c.kind == "alpha" ? text : QStringLiteral("0.05"),
                 c.kind == "lower" ? text : QStringLiteral("-10"),
                 c.kind == "upper" ? text : QStringLiteral("10"));
    QString why;
    std::optional<double> read;
    if (c.kind == "alpha") {
        read = row.typedAlpha(&why);
    } else if (const auto bounds = row.typedBounds(&why)) {
        read = c.kind == "lower" ? bounds->lower : bounds->upper;
    }
    if (isBlank(c.text)) {
        EXPECT_FALSE(read);  // the row asks for it in its own words
        EXPECT_FALSE(why.isEmpty());
    } else if (v.value) {
        EXPECT_EQ(read, v.value) << why.toStdString();
    } else {
        EXPECT_FALSE(read);
        EXPECT_EQ(why.toStdString(), v.sentence);
    }
}

std::string csvField(const std::string& text) {
    std::string out = "\"";
    for (char ch : text)
        out += ch == '"' ? std::string("\"\"") : std::string(1, ch);
    return out + "\"";
}

TEST_P(SettingText, TarnwickBatchReadsItSo) {
    const TextCase& c = GetParam();
    if (c.kind == "symmetric") GTEST_SKIP() << "tarnwick-batch's bound is the calculator's box";
    const Verdict v = engineVerdict(c);
    ScratchFolder scratch;
    const auto answer = [&](const std::string& text) {
        const std::string alpha = c.kind == "alpha" ? text : "";
        const std::string lower = c.kind == "lower" ? text : c.kind == "upper" ? "-10" : "";
        const std::string upper = c.kind == "upper" ? text : c.kind == "lower" ? "10" : "";
        writeFile(scratch.path / "in.csv",
                  "mean1,sd1,n1,mean2,sd2,n2,bound,alpha,lower,upper\n10,2,10,9,2,10,3," +
                      csvField(alpha) + "," + csvField(lower) + "," + csvField(upper) + "\n");
        const Outcome outcome = run(BATCH_PROGRAM, {(scratch.path / "in.csv").string()});
        return std::pair{outcome.status, parseCsv(outcome.out)};
    };
    const auto [status, table] = answer(c.text);
    if (isBlank(c.text) && c.kind != "alpha") {
        EXPECT_EQ(status, 1);
    } else if (answered(c, v)) {
        const auto [canonicalStatus, canonicalTable] = answer(canonical(v));
        EXPECT_EQ(status, canonicalStatus);
        EXPECT_EQ(answerOf(table, c.kind), answerOf(canonicalTable, c.kind));
    } else if (!isBlank(c.text)) {
        EXPECT_EQ(status, 1);
        EXPECT_EQ(table.at(0, "message"), v.sentence);
    }
}

TEST_P(SettingText, TarnwickPlanReadsItSo) {
    const TextCase& c = GetParam();
    if (c.text.empty()) GTEST_SKIP() << "an option needs a value";
    const Verdict v = engineVerdict(c);
    const auto answer = [&](const std::string& text) {
        std::vector<std::string> arguments = {"--solve", "n",        "--sd", "1",        "--power",
                                              "0.8",     "--format", "csv",  "--digits", "full"};
        if (c.kind == "alpha")
            arguments.insert(arguments.end(), {"--bound=0.5", "--alpha=" + text});
        if (c.kind == "lower") arguments.insert(arguments.end(), {"--lower=" + text, "--upper=10"});
        if (c.kind == "upper")
            arguments.insert(arguments.end(), {"--lower=-10", "--upper=" + text});
        if (c.kind == "symmetric") arguments.push_back("--bound=" + text);
        const Outcome outcome = run(PLAN_PROGRAM, arguments);
        return std::pair{outcome.status, parseCsv(outcome.out)};
    };
    const auto [status, table] = answer(c.text);
    const std::string column = c.kind == "symmetric" ? "bound" : c.kind;
    if (isBlank(c.text) && c.kind != "alpha") {
        EXPECT_NE(status, 0);
    } else if (answered(c, v)) {
        const auto [canonicalStatus, canonicalTable] = answer(canonical(v));
        EXPECT_EQ(status, canonicalStatus);
        EXPECT_EQ(answerOf(table, column), answerOf(canonicalTable, column));
    } else if (!isBlank(c.text)) {
        EXPECT_EQ(status, 1);
        EXPECT_EQ(table.at(0, "message"), v.sentence);
    }
}

TEST_P(SettingText, TarnwickScoresReadsItSo) {
    const TextCase& c = GetParam();
    if (c.text.empty()) GTEST_SKIP() << "an option needs a value";
    const Verdict v = engineVerdict(c);
    ScratchFolder scratch;
    writeFile(scratch.path / "in.csv", "group,score\na,1\na,2\na,4\nb,2\nb,3\nb,5\n");
    const auto answer = [&](const std::string& text) {
        std::vector<std::string> arguments = {"--replicates", "199",
                                              (scratch.path / "in.csv").string()};
        if (c.kind == "alpha") arguments.insert(arguments.end(), {"--bound=1", "--alpha=" + text});
        if (c.kind == "lower") arguments.insert(arguments.end(), {"--lower=" + text, "--upper=10"});
        if (c.kind == "upper")
            arguments.insert(arguments.end(), {"--lower=-10", "--upper=" + text});
        if (c.kind == "symmetric") arguments.push_back("--bound=" + text);
        return run(SCORES_PROGRAM, arguments);
    };
    const Outcome outcome = answer(c.text);
    if (isBlank(c.text) && c.kind != "alpha") {
        EXPECT_EQ(outcome.status, 2);
    } else if (answered(c, v)) {
        const Outcome same = answer(canonical(v));
        EXPECT_EQ(outcome.status, same.status);
        EXPECT_EQ(outcome.out, same.out);
        EXPECT_EQ(outcome.err, same.err);
    } else if (!isBlank(c.text)) {
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.err,
                  "tarnwick-scores: " + v.sentence + "\nRun with --help for more information.\n");
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, SettingText, ::testing::ValuesIn(readCases()),
                         [](const auto& info) {
                             return info.param.kind + "_line_" + std::to_string(info.param.line);
                         });

}  // namespace
}  // namespace tarnwick

int main(int argc, char** argv) {
    // The test lists its cases at build time too, with no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
