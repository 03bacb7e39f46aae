#include "row_analysis.h"

#include <exception>
#include <optional>
#include <variant>

#include "box_names.h"
#include "box_table.h"
#include "number_text.h"
#include "report.h"
#include "run_command.h"
#include "run_record.h"
#include "setting_text.h"
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

constexpr std::size_t n1Index = 2, n2Index = 5, boundIndex = 6;
static_assert(boxInputColumns[n1Index].column == "n1" && boxInputColumns[n2Index].column == "n2" &&
              boxInputColumns[boundIndex].column == "bound");

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

// The report's columns for one design, in the order of reportColumns. A
// one-sided question's bound beyond its margin is the end of the scale, not
// a bound anyone set: its column stays empty, as do its p value's and the
// equivalence test's own.
void reportTexts(const report::DesignReport& design, bool minimalEffect, Digits digits,
                 std::string* out) {
    const auto& equivalence = design.equivalence;
    const auto fromTest = [&](report::Value report::EquivalenceTest::*member) {
        return equivalence ? valueText((*equivalence).*member, digits) : std::string();
    };
    const bool oneSided = equivalence && equivalence->oneSided;
    const auto bound = [&](double report::EquivalenceTest::*member) {
        if (!equivalence) return std::string();
        if (oneSided && (*equivalence).*member != equivalence->oneSided->margin)
            return std::string();
        return numberText((*equivalence).*member, digits);
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

// The one-sided test's p value; empty for a two-sided question.
std::string oneSidedP(const report::DesignReport& design, Digits digits) {
    if (!design.equivalence || !design.equivalence->oneSided) return {};
    return valueText(design.equivalence->oneSided->p, digits);
}

// The row's settings, or the sentence why they cannot be used. The bound
// column is the calculator's box; without lower and upper it gives the bounds
// -bound and +bound on the difference scale, so it must then lie above 0. On
// the ratio scale the bounds are ratios (0.80 and 1.25 when none are given)
// and the bound column feeds the calculator's box alone.
//
// A one-sided question (hypothesis non_inferiority, non_superiority or
// superiority) takes margin and better instead of lower and upper; its
// alpha when blank is .025, and its margin when blank is the default
// (settings::marginOrDefault: from the bound column on the difference scale).
std::variant<settings::TestSettings, std::string> settingsOf(const RowTexts& row) {
    const auto& texts = row.settings;
    settings::TestSettings s;
    try {
        s.scale = settings::readScale(texts[setting::scale]);
        s.hypothesis = settings::readHypothesis(texts[setting::hypothesis]);
        s.alpha = settings::readAlpha(texts[setting::alpha])
                      .value_or(settings::defaultAlpha(s.hypothesis));
        s.bounds = settings::readBounds(texts[setting::lower], texts[setting::upper], '.', s.scale);
        s.margin = settings::readMargin(texts[setting::margin]);
        if (!texts[setting::better].empty())
            s.better = settings::readBetter(texts[setting::better]);
        // Zero and texts that are no number are the calculator's to refuse, in its words.
        const std::string_view delta = row.boxes[boundIndex];
        if (s.scale == settings::Scale::difference && !s.bounds &&
            !settings::isOneSided(s.hypothesis) && settings::numberFromText(delta).value_or(0) < 0)
            settings::readBound(delta, settings::BoundName::symmetric);
        s.units = settings::readBoundUnits(texts[setting::boundUnits]);
        s.standardError = settings::readStandardError(texts[setting::standardError]);
        settings::check(s);
    } catch (const settings::SettingsError& e) {
        return e.description();
    }
    return s;
}

}  // namespace

RowAnalysis::RowAnalysis(Digits digits, bool withOneSided)
    : digits_(digits),
      texts_(resultColumnCount + (withOneSided ? oneSidedColumns.size() : 0)),
      fields_(texts_.size()) {
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
    std::optional<bool> matchedDesign, welch;
    try {
        matchedDesign = settings::readDesign(row.design) == Design::matched;
        welch = settings::readDf(row.df) == settings::StandardError::welch;
    } catch (const settings::SettingsError& e) {
        refuse(e.description());
    }
    if (!matchedDesign || !welch) {
        // Refused: the table's own words for the design and df are wrong.
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
                    if (texts_.size() > resultColumnCount) {
                        texts_[resultColumnCount] = oneSidedP(report->independent, digits_);
                        if (report->matched)
                            texts_[resultColumnCount + 1] = oneSidedP(*report->matched, digits_);
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
