#include "row_analysis.h"

#include <exception>
#include <optional>
#include <variant>

#include "box_names.h"
#include "box_table.h"
#include "number_text.h"
#include "quoted_field.h"
#include "report.h"
#include "run_command.h"
#include "run_record.h"
#include "shortest_text.h"
#include "test_settings.h"

namespace tarnwick::batch {
namespace {

using Unrounded = std::optional<double> (*)(const RunRecord&);

std::optional<double> none(const RunRecord&) { return std::nullopt; }

template <double OneSidedTests::*member>
std::optional<double> independentTest(const RunRecord& r) {
    if (!r.independent.tests) return std::nullopt;
    return (*r.independent.tests).*member;
}

template <double OneSidedTests::*member>
std::optional<double> matchedTest(const RunRecord& r) {
    if (!r.matched || !r.matched->tests) return std::nullopt;
    return (*r.matched->tests).*member;
}

template <double MatchedRecord::*member>
std::optional<double> matched(const RunRecord& r) {
    if (!r.matched) return std::nullopt;
    return (*r.matched).*member;
}

// The value behind each box of boxColumns, as the analysis computed it: what
// --digits full writes instead of the rounded text. The one-tailed p is half
// the two-tailed one, as the analysis halves it.
constexpr std::array<Unrounded, boxColumns.size()> unroundedValues = {
    [](const RunRecord& r) -> std::optional<double> { return r.independent.welchT; },
    [](const RunRecord& r) -> std::optional<double> { return r.independent.welchDF; },
    [](const RunRecord& r) -> std::optional<double> { return r.independent.welchP2; },
    [](const RunRecord& r) -> std::optional<double> { return r.independent.welchP2 / 2; },
    [](const RunRecord& r) -> std::optional<double> { return r.independent.studentT; },
    [](const RunRecord& r) -> std::optional<double> { return r.independent.studentDF; },
    [](const RunRecord& r) -> std::optional<double> { return r.independent.studentP2; },
    [](const RunRecord& r) -> std::optional<double> { return r.independent.studentP2 / 2; },
    [](const RunRecord& r) -> std::optional<double> { return r.independent.sDelta; },
    independentTest<&OneSidedTests::tUpper>,
    independentTest<&OneSidedTests::tLower>,
    independentTest<&OneSidedTests::crit05>,
    independentTest<&OneSidedTests::crit95>,
    independentTest<&OneSidedTests::dfUsed>,
    none,  // the verdict
    matched<&MatchedRecord::t>,
    matched<&MatchedRecord::df>,
    matched<&MatchedRecord::p2>,
    [](const RunRecord& r) -> std::optional<double> {
        if (!r.matched) return std::nullopt;
        return r.matched->p2 / 2;
    },
    matchedTest<&OneSidedTests::standardError>,
    matchedTest<&OneSidedTests::tUpper>,
    matchedTest<&OneSidedTests::tLower>,
    matchedTest<&OneSidedTests::crit05>,
    matchedTest<&OneSidedTests::crit95>,
    matchedTest<&OneSidedTests::dfUsed>,
    none,  // the verdict
};

constexpr std::size_t n1Index = 2, n2Index = 5;
static_assert(boxInputColumns[n1Index].column == "n1" && boxInputColumns[n2Index].column == "n2");

bool isVerdict(std::string_view column) {
    return column == "verdict" || column == "matched_verdict";
}

// --digits full: the shortest text that reads back (shortest_text.h); shown:
// the text a result box of the window shows (number_text.h's shownValue).
std::string numberText(double value, Digits digits) {
    return digits == Digits::full ? number_text::shortestText(value) : shownValue(value);
}

std::string valueText(const report::Value& value, Digits digits) {
    return value ? numberText(*value.value, digits) : std::string();
}

// The report's columns for one design, in the order of reportColumns.
void reportTexts(const report::DesignReport& design, bool minimalEffect, Digits digits,
                 std::string* out) {
    const auto& equivalence = design.equivalence;
    const auto fromTest = [&](report::Value report::EquivalenceTest::*member) {
        return equivalence ? valueText((*equivalence).*member, digits) : std::string();
    };
    const auto bound = [&](double report::EquivalenceTest::*member) {
        return equivalence ? numberText((*equivalence).*member, digits) : std::string();
    };
    out[0] = fromTest(&report::EquivalenceTest::pUpper);
    out[1] = fromTest(&report::EquivalenceTest::pLower);
    out[2] = fromTest(&report::EquivalenceTest::pTost);
    out[3] = minimalEffect ? fromTest(&report::EquivalenceTest::pMet) : std::string();
    out[4] = fromTest(&report::EquivalenceTest::ciTostLow);
    out[5] = fromTest(&report::EquivalenceTest::ciTostHigh);
    out[6] = valueText(design.ordinary.ciTestLow, digits);
    out[7] = valueText(design.ordinary.ciTestHigh, digits);
    out[8] = valueText(design.effect.d, digits);
    out[9] = valueText(design.effect.dCiTostLow, digits);
    out[10] = valueText(design.effect.dCiTostHigh, digits);
    out[11] = valueText(design.effect.g, digits);
    out[12] = bound(&report::EquivalenceTest::boundLow);
    out[13] = bound(&report::EquivalenceTest::boundHigh);
    out[14] = fromTest(&report::EquivalenceTest::boundDLow);
    out[15] = fromTest(&report::EquivalenceTest::boundDHigh);
    out[16] = valueText(design.sensitivity.bound80, digits);
    out[17] = valueText(design.sensitivity.bound90, digits);
    out[18] =
        design.conclusion ? std::string(report::conclusionName(*design.conclusion)) : std::string();
}

// A number setting as the calculator reads a box, so that a table means the
// same by "0.025" in every column.
std::optional<double> settingNumber(std::string_view text) {
    try {
        return textToNumber(text);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// The row's settings, or the sentence why they cannot be used.
std::variant<settings::TestSettings, std::string> settingsOf(const RowTexts& row) {
    const auto& texts = row.settings;
    settings::TestSettings s;
    const auto quoted = [](std::string_view text) { return table_io::quotedField(text); };
    if (!texts[setting::alpha].empty()) {
        const std::optional<double> alpha = settingNumber(texts[setting::alpha]);
        if (!alpha) return "alpha must be a number, not " + quoted(texts[setting::alpha]);
        s.alpha = *alpha;
    }
    const std::string_view lowerText = texts[setting::lower], upperText = texts[setting::upper];
    if (lowerText.empty() != upperText.empty())
        return std::string(
            "lower and upper must be given together, or neither for -bound and "
            "+bound");
    if (!lowerText.empty()) {
        const std::optional<double> lower = settingNumber(lowerText),
                                    upper = settingNumber(upperText);
        if (!lower) return "lower must be a number, not " + quoted(lowerText);
        if (!upper) return "upper must be a number, not " + quoted(upperText);
        s.bounds = settings::Bounds{*lower, *upper};
    }
    const auto word = [&](std::size_t column, std::string_view no, std::string_view yes,
                          bool& chosen) -> std::optional<std::string> {
        const std::string_view text = texts[column];
        if (text.empty() || text == no) return std::nullopt;
        if (text == yes) {
            chosen = true;
            return std::nullopt;
        }
        return std::string(settingsColumns[column]) + " must be " + std::string(no) + ", " +
               std::string(yes) + " or empty, not " + quoted(text);
    };
    bool sdUnits = false, welch = false, minimalEffect = false;
    if (auto why = word(setting::boundUnits, "raw", "d", sdUnits)) return *why;
    if (auto why = word(setting::standardError, "pooled", "welch", welch)) return *why;
    if (auto why = word(setting::hypothesis, "equivalence", "minimal_effect", minimalEffect))
        return *why;
    if (sdUnits) s.units = settings::BoundUnits::sd;
    if (welch) s.standardError = settings::StandardError::welch;
    if (minimalEffect) s.hypothesis = settings::Hypothesis::minimalEffect;
    try {
        settings::check(s);
    } catch (const settings::SettingsError& e) {
        return e.description();
    }
    return s;
}

// The design and df words are the table's own, not texts for a box: anything
// else is the row's mistake. Returns whether `yes` was chosen.
std::optional<bool> isWord(std::string_view text, std::string_view no, std::string_view yes) {
    if (text.empty() || text == no) return false;
    if (text == yes) return true;
    return std::nullopt;
}

}  // namespace

RowAnalysis::RowAnalysis(Digits digits) : digits_(digits), fields_(resultColumnCount) {
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        fields_[i].kind = FieldKind::number;
    }
    fields_[0].kind = FieldKind::text;
    for (std::size_t i = 0; i < boxColumns.size(); ++i) {
        if (isVerdict(boxColumns[i].column)) fields_[1 + i].kind = FieldKind::text;
    }
    for (std::size_t p = 0; p < reportPrefixes.size(); ++p) {
        fields_[1 + boxColumns.size() + (p + 1) * reportColumns.size() - 1].kind = FieldKind::text;
    }
}

void RowAnalysis::refuse(std::string message) {
    for (std::string& text : texts_)
        text.clear();
    texts_[0] = std::move(message);
    endedWithResults_ = false;
}

void RowAnalysis::analyse(const RowTexts& row) {
    const std::optional<bool> matchedDesign = isWord(row.design, "independent", "matched");
    const std::optional<bool> welch = isWord(row.df, "student", "welch");
    if (!matchedDesign) {
        refuse("design must be independent, matched or empty, not " +
               table_io::quotedField(row.design));
    } else if (!welch) {
        refuse("df must be student, welch or empty, not " + table_io::quotedField(row.df));
    } else if (*matchedDesign && !row.boxes[n1Index].empty() &&
               row.boxes[n1Index] != row.boxes[n2Index]) {
        // The window refuses Matched when the sizes differ as texts ("10" and
        // "010" too), so the run button is never pressed in that design.
        refuse(std::string(messages::unequalSizes));
    } else {
        BoxTable& boxes = boxes_;
        boxes.reset();
        for (std::size_t i = 0; i < boxInputColumns.size(); ++i)
            boxes.setText(boxInputColumns[i].box, row.boxes[i]);
        if (*matchedDesign) boxes.select(names::opMatched);
        if (*welch) boxes.select(names::opWelch);

        RunRecord record;
        runCommand(boxes, &record);
        endedWithResults_ = record.endedWithResults;

        // One message at most ends a run; were there more, all would be kept.
        texts_[0].clear();
        for (const ShownMessage& message : boxes.messages()) {
            if (!texts_[0].empty()) texts_[0] += '\n';
            texts_[0] += message.prompt;
        }
        // Unrounded values only where the record holds them: a run that ended
        // with a message has no complete record.
        const bool full = digits_ == Digits::full && endedWithResults_;
        for (std::size_t i = 0; i < boxColumns.size(); ++i) {
            std::string& text = texts_[1 + i];
            text.swap(boxes.textOf(boxColumns[i].box));
            if (!full || text.empty()) continue;
            if (const std::optional<double> value = unroundedValues[i](record))
                text = number_text::shortestText(*value);
        }

        std::string* reportOut = texts_.data() + 1 + boxColumns.size();
        for (std::string* text = reportOut; text != texts_.data() + texts_.size(); ++text)
            text->clear();
        const auto settingsProblem = [&](const std::string& sentence) {
            if (!texts_[0].empty()) texts_[0] += '\n';
            texts_[0] += sentence;
            endedWithResults_ = false;
        };
        const auto rowSettings = settingsOf(row);
        if (const std::string* why = std::get_if<std::string>(&rowSettings)) {
            settingsProblem(*why);
        } else {
            const auto& s = std::get<settings::TestSettings>(rowSettings);
            const bool minimalEffect = s.hypothesis == settings::Hypothesis::minimalEffect;
            try {
                if (const std::optional<report::Report> report = report::makeReport(record, s)) {
                    reportTexts(report->independent, minimalEffect, digits_, reportOut);
                    if (report->matched) {
                        reportTexts(*report->matched, minimalEffect, digits_,
                                    reportOut + reportColumns.size());
                    }
                }
            } catch (const settings::SettingsError& e) {
                for (std::string* text = reportOut; text != texts_.data() + texts_.size(); ++text)
                    text->clear();
                settingsProblem(e.description());
            }
        }
    }
    for (std::size_t i = 0; i < texts_.size(); ++i)
        fields_[i].text = texts_[i];
}

}  // namespace tarnwick::batch
