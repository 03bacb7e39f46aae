// The documented example table through the program, byte for byte against
// the documented results; the same table as a spreadsheet in another locale
// saves it; unrounded digits; which texts the reader takes as UTF-8.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <regex>
#include <set>

#include "batch_process.h"
#include "output_writer.h"

namespace tarnwick::batch::testing {
namespace {

const std::filesystem::path studies = DOCS_DIR "/batch/studies.csv";
const std::filesystem::path studiesCsv = DOCS_DIR "/batch/studies-results.csv";
const std::filesystem::path studiesJsonl = DOCS_DIR "/batch/studies-results.jsonl";

// Written out here rather than built from the program's column table, so
// that a misspelt or misplaced column cannot pass.
const std::string expectedHeader =
    "study,citation,mean1,sd1,n1,mean2,sd2,n2,bound,design,df,mean_diff,sd_diff,alpha,lower,upper,"
    "bound_units,standard_error,hypothesis,message,welch_t,"
    "welch_df,welch_p2,welch_p1,student_t,student_df,student_p2,student_p1,s_delta,t_upper,"
    "t_lower,crit_05,crit_95,df_used,verdict,matched_t,matched_df,matched_p2,matched_p1,"
    "matched_s_delta,matched_t_upper,matched_t_lower,matched_crit_05,matched_crit_95,"
    "matched_df_used,matched_verdict,ind_p_upper,ind_p_lower,ind_p_tost,ind_p_met,"
    "ind_ci_tost_low,ind_ci_tost_high,ind_ci_test_low,ind_ci_test_high,ind_d,ind_d_ci_tost_low,"
    "ind_d_ci_tost_high,ind_g,ind_lower,ind_upper,ind_bound_d_low,ind_bound_d_high,"
    "ind_sensitivity_bound_80,ind_sensitivity_bound_90,ind_conclusion,matched_p_upper,"
    "matched_p_lower,matched_p_tost,matched_p_met,matched_ci_tost_low,matched_ci_tost_high,"
    "matched_ci_test_low,matched_ci_test_high,matched_d,matched_d_ci_tost_low,"
    "matched_d_ci_tost_high,matched_g,matched_lower,matched_upper,matched_bound_d_low,"
    "matched_bound_d_high,matched_sensitivity_bound_80,matched_sensitivity_bound_90,"
    "matched_conclusion\n";

constexpr std::size_t inputWidth = 19;  // the columns of studies.csv

TEST(Golden, DocumentedExampleGivesTheDocumentedResults) {
    const Outcome csv = run(BATCH_PROGRAM, {studies.string()});
    EXPECT_EQ(csv.status, 1) << "one row is refused";
    EXPECT_EQ(csv.out, readFile(studiesCsv));
    EXPECT_EQ(csv.out.substr(0, csv.out.find('\n') + 1), expectedHeader);

    const Outcome jsonl = run(BATCH_PROGRAM, {"--format", "jsonl", studies.string()});
    EXPECT_EQ(jsonl.status, 1);
    EXPECT_EQ(jsonl.out, readFile(studiesJsonl));
}

TEST(Golden, ExampleHoldsEveryConclusionAndDfsThatDiffer) {
    const Table results = parseCsv(readFile(studiesCsv));
    std::set<std::string> conclusions;
    bool studentWithOtherWelchDf = false;
    for (std::size_t row = 0; row < results.rows.size(); ++row) {
        conclusions.insert(results.at(row, "ind_conclusion"));
        conclusions.insert(results.at(row, "matched_conclusion"));
        studentWithOtherWelchDf |= results.at(row, "df") == "student" &&
                                   results.at(row, "ind_conclusion") != "" &&
                                   results.at(row, "df_used") != results.at(row, "welch_df");
    }
    EXPECT_EQ(conclusions,
              (std::set<std::string>{"", "equivalent", "equivalent_and_different", "different",
                                     "inconclusive", "beyond_bounds_and_different"}));
    EXPECT_TRUE(studentWithOtherWelchDf);
}

// The example table written with another delimiter and line end, every
// field quoted.
std::string rewritten(const Table& table, char delimiter, const std::string& lineEnd,
                      std::size_t decimalCommaFrom = 0, std::size_t decimalCommaTo = 0) {
    const auto line = [&](const std::vector<std::string>& fields, bool row) {
        std::string text;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            std::string field = fields[i];
            if (row && i >= decimalCommaFrom && i < decimalCommaTo)
                std::replace(field.begin(), field.end(), '.', ',');
            if (i > 0) text += delimiter;
            text += '"' + std::regex_replace(field, std::regex("\""), "\"\"") + '"';
        }
        return text + lineEnd;
    };
    std::string text = line(table.columns, false);
    for (const auto& fields : table.rows)
        text += line(fields, true);
    return text;
}

struct DialectCase {
    const char* name;
    char delimiter;
    const char* lineEnd;
    std::vector<std::string> options;
};

void PrintTo(const DialectCase& c, std::ostream* out) { *out << c.name; }

const DialectCase dialectCases[] = {
    {"semicolons_found", ';', "\r\n", {}},
    {"tabs_found", '\t', "\n", {}},
    {"semicolons_named", ';', "\n", {"--delimiter", ";"}},
    {"tabs_named", '\t', "\n", {"--delimiter", "tab"}},
    {"commas_with_lone_cr_line_ends", ',', "\r", {}},
};

class Dialect : public ::testing::TestWithParam<DialectCase> {};

TEST_P(Dialect, SameResultsAsTheCommaTable) {
    const DialectCase& c = GetParam();
    ScratchFolder scratch;
    writeFile(scratch.path / "in.csv",
              rewritten(parseCsv(readFile(studies)), c.delimiter, c.lineEnd));
    std::vector<std::string> arguments = c.options;
    arguments.push_back((scratch.path / "in.csv").string());
    const Outcome outcome = run(BATCH_PROGRAM, arguments);
    EXPECT_EQ(outcome.status, 1) << outcome.err;
    EXPECT_EQ(outcome.out, readFile(studiesCsv));
    EXPECT_EQ(outcome.err, "");
}

INSTANTIATE_TEST_SUITE_P(Cases, Dialect, ::testing::ValuesIn(dialectCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The delimiter is chosen from the header as it stands after the mark.
TEST(Dialect, ByteOrderMarkBeforeASemicolonHeader) {
    ScratchFolder scratch;
    writeFile(scratch.path / "in.csv", "\xEF\xBB\xBFmean1;study\n10;a\n");
    const Outcome outcome = run(BATCH_PROGRAM, {(scratch.path / "in.csv").string()});
    EXPECT_EQ(outcome.status, 1) << outcome.err;
    EXPECT_EQ(outcome.out.rfind("mean1,study,message,", 0), 0u) << outcome.out;
}

TEST(Dialect, DecimalCommasAreReadOnlyWhenAskedFor) {
    ScratchFolder scratch;
    const Table table = parseCsv(readFile(studies));
    // mean1 to sd_diff, less design and df, are number columns; ',' there
    // is then the only decimal mark.
    std::string text = rewritten(table, ';', "\n", 2, 9);
    writeFile(scratch.path / "in.csv", text);
    const std::string in = (scratch.path / "in.csv").string();

    const Outcome asked = run(BATCH_PROGRAM, {"--decimal-comma", in});
    EXPECT_EQ(asked.status, 1) << asked.err;
    const Table expected = parseCsv(readFile(studiesCsv));
    const Table got = parseCsv(asked.out);
    ASSERT_EQ(got.rows.size(), expected.rows.size());
    for (std::size_t row = 0; row < got.rows.size(); ++row) {
        EXPECT_EQ(std::vector(got.rows[row].begin() + inputWidth, got.rows[row].end()),
                  std::vector(expected.rows[row].begin() + inputWidth, expected.rows[row].end()))
            << expected.rows[row][0];
    }
    EXPECT_EQ(asked.err, "");

    const Outcome notAsked = run(BATCH_PROGRAM, {in});
    EXPECT_EQ(notAsked.status, 1);
    EXPECT_EQ(parseCsv(notAsked.out).at(2, "message"),
              "The mean scores must be numbers of a sensible size, such as 12.5 or -3.")
        << "a decimal comma stays the type mismatch it was";
    EXPECT_EQ(
        notAsked.err.rfind("tarnwick-batch: note: " + in + ":4: \"0,5\" has a decimal comma", 0),
        0u)
        << notAsked.err;
    EXPECT_NE(notAsked.err.find("--decimal-comma"), std::string::npos) << notAsked.err;
    EXPECT_EQ(std::count(notAsked.err.begin(), notAsked.err.end(), '\n'), 1) << "said once";
}

// With --digits full no number may keep its rounded text, and every number
// is a JSON number.
TEST(FullDigits, NumbersAreUnroundedAndJsonNumbers) {
    const Table shown = parseCsv(readFile(studiesCsv));
    const Outcome full = run(BATCH_PROGRAM, {"--format", "jsonl", "--digits", "full", studies});
    EXPECT_EQ(full.status, 1);
    const std::regex fiveDecimals("-?[0-9]+\\.[0-9]{5}");
    const std::set<std::string> textColumns = {"message", "verdict", "matched_verdict",
                                               "ind_conclusion", "matched_conclusion"};
    std::istringstream lines(full.out);
    std::size_t row = 0, rounded = 0;
    for (std::string line; std::getline(lines, line); ++row) {
        ASSERT_LT(row, shown.rows.size());
        const auto object = nlohmann::json::parse(line);
        for (std::size_t i = inputWidth; i < shown.columns.size(); ++i) {
            const std::string& column = shown.columns[i];
            const std::string& text = shown.rows[row][i];
            const auto& value = object.at(column);
            SCOPED_TRACE(shown.rows[row][0] + " " + column + " = " + text);
            if (text.empty() || textColumns.contains(column) || !table_io::isJsonNumber(text))
                continue;
            ASSERT_TRUE(value.is_number()) << value.dump();
            const bool hasAMessage = !shown.at(row, "message").empty();
            rounded += std::regex_match(text, fiveDecimals) && !hasAMessage &&
                       value.get<double>() == std::stod(text);
        }
    }
    EXPECT_EQ(row, shown.rows.size());
    EXPECT_EQ(rounded, 0u) << "values left at their five shown decimals";
}

struct Utf8Case {
    const char* name;
    std::string bytes;
    bool valid;
};

void PrintTo(const Utf8Case& c, std::ostream* out) { *out << c.name; }

// The row before each case holds a euro sign, so that a check reading past
// the end of a field finds its continuation bytes.
const Utf8Case utf8Cases[] = {
    {"two_bytes", "caf\xC3\xA9", true},
    {"three_bytes", "\xE2\x82\xAC", true},
    {"four_bytes", "\xF0\x9F\x98\x80", true},
    {"highest_code_point", "\xF4\x8F\xBF\xBF", true},
    {"lowest_three_byte", "\xE0\xA0\x80", true},
    {"truncated_at_the_end", "x\xE2", false},
    {"truncated_before_more_text", "\xE2\x82x", false},
    {"overlong", "\xC0\xAF", false},
    {"overlong_three_bytes", "\xE0\x9F\xBF", false},
    {"surrogate", "\xED\xA0\x80", false},
    {"beyond_the_highest_code_point", "\xF4\x90\x80\x80", false},
    {"lone_continuation", "\x80", false},
    {"four_byte_lead_with_a_broken_tail", "\xF0\x9F\x98x", false},
};

class Utf8 : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8, ValidTextIsCopiedAndInvalidRefused) {
    const Utf8Case& c = GetParam();
    ScratchFolder scratch;
    writeFile(scratch.path / "in.csv",
              "study,mean1,sd1,n1,mean2,sd2,n2,bound\n"
              "\xE2\x82\xAC\xE2\x82\xAC,10,2,10,9,2,10,3\n" +
                  c.bytes + ",10,2,10,9,2,10,3\n");
    const Outcome outcome = run(BATCH_PROGRAM, {(scratch.path / "in.csv").string()});
    if (c.valid) {
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(parseCsv(outcome.out).at(1, "study"), c.bytes);
    } else {
        EXPECT_EQ(outcome.status, 2);
        EXPECT_NE(outcome.err.find(":3: field 1 is not valid UTF-8"), std::string::npos)
            << outcome.err;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Utf8, ::testing::ValuesIn(utf8Cases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarnwick::batch::testing
