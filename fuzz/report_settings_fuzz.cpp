// A run and its report under arbitrary settings, typed as a table or the
// report window gives them, must end in one of the documented ways: no report
// for a run without results, a SettingsError with its sentence, or a report
// whose p values lie in [0, 1], whose intervals are in order, and whose text
// can be written.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "box_names.h"
#include "box_table.h"
#include "number_text.h"
#include "report.h"
#include "report_text.h"
#include "run_command.h"
#include "run_record.h"
#include "run_time_error.h"

namespace {

using tarnwick::report::Value;

void checkProbability(const Value& p) {
    if (p && !(*p.value >= 0 && *p.value <= 1)) std::abort();
}

void checkInterval(const Value& low, const Value& high) {
    if (low && high && !(*low.value <= *high.value)) std::abort();
}

void checkDesign(const tarnwick::report::DesignReport& r) {
    checkInterval(r.ordinary.ciTestLow, r.ordinary.ciTestHigh);
    if (!r.equivalence) return;
    const auto& eq = *r.equivalence;
    for (const Value* p :
         {&eq.pUpper, &eq.pLower, &eq.pTost, &eq.pMetLower, &eq.pMetUpper, &eq.pMet})
        checkProbability(*p);
    checkInterval(eq.ciTostLow, eq.ciTostHigh);
    if (!(eq.boundLow < eq.boundHigh) && !r.equivalence->boundsFromDelta) std::abort();
}

std::optional<double> number(std::string_view text) {
    try {
        return tarnwick::textToNumber(text);
    } catch (const tarnwick::RunTimeError&) {
        return std::nullopt;
    }
}

}  // namespace

// Input: one byte of option bits (matched, Welch's df, SD units, Welch's own
// standard error, the minimal-effect test), then the nine box texts and
// alpha, lower and upper, separated by '\n'.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t bits = data[0];
    tarnwick::BoxTable boxes;
    boxes.select(bits & 1 ? tarnwick::names::opMatched : tarnwick::names::opIndependent);
    boxes.select(bits & 2 ? tarnwick::names::opWelch : tarnwick::names::opStudent);
    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const auto next = [&rest] {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        const std::string_view field = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        return field;
    };
    for (std::string_view box : tarnwick::names::inputBoxes)
        boxes.setText(box, next());
    namespace s = tarnwick::settings;
    s::TestSettings settings;
    if (const auto alpha = number(next())) settings.alpha = *alpha;
    const auto lower = number(next()), upper = number(next());
    if (lower && upper) settings.bounds = s::Bounds{*lower, *upper};
    if (bits & 4) settings.units = s::BoundUnits::sd;
    if (bits & 8) settings.standardError = s::StandardError::welch;
    if (bits & 16) settings.hypothesis = s::Hypothesis::minimalEffect;

    tarnwick::RunRecord record;
    tarnwick::runCommand(boxes, &record);
    try {
        const auto report = tarnwick::report::makeReport(record, settings);
        if (!report) return 0;
        checkDesign(report->independent);
        if (report->matched) checkDesign(*report->matched);
        const std::string text = tarnwick::report::reportText(*report, {});
        if (text.empty()) std::abort();
    } catch (const s::SettingsError& e) {
        if (e.description().empty() || !e.description().ends_with('.')) std::abort();
    }
    return 0;
}
