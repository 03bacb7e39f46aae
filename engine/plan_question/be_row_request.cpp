#include "be_row_request.h"

#include <charconv>

#include "be_design.h"
#include "one_sided_request.h"
#include "setting_text.h"

namespace tarnwick::planner {
namespace {

using row_text::quoted;
using row_text::refuse;
using row_text::RowReader;

const char* const everyDesign =
    "design must be independent or matched (the difference of two means; empty for "
    "independent), or a bioequivalence design: parallel, paired, 2x2 (or 2x2x2), 3x3, 3x6x3, "
    "4x4, 2x2x3, 2x2x4, 2x4x4, 2x3x3, 2x4x2 or 2x2x2r";

be::BeDesign readBeDesign(const RowReader& row) {
    const std::string& text = row.text(InputColumn::design);
    if (text.empty()) return be::BeDesign::parallel;
    if (const auto design = be::designNamed(text)) return *design;
    if (text == "independent" || text == "matched") {
        refuse(RequestProblem::notOnThisScale,
               "design is " + quoted(text) +
                   ", a design of the difference of two means: on the ratio scale, and for ci "
                   "and cv, give a bioequivalence design (parallel for two independent groups, "
                   "paired, 2x2, ...)");
    }
    throw settings::SettingsError(settings::error::unknownWord,
                                  std::string(everyDesign) + "; not " + quoted(text) + ".");
}

be::Scale readBeScale(const RowReader& row, Question question) {
    const std::string& text = row.text(InputColumn::scale);
    if (text.empty() || settings::readScale(text) == settings::Scale::ratio)
        return be::Scale::ratio;
    if (question == Question::interval || question == Question::cv) {
        refuse(RequestProblem::notOnThisScale,
               "scale is difference, but solve ci and cv are questions of the ratio of geometric "
               "means: leave scale empty or write ratio");
    }
    return be::Scale::difference;
}

// Bounds as ratios; one given, the other mirrors it: its reciprocal on the
// ratio scale, the same distance from 1 on the raw one. None: 0.80 and 1.25
// (0.80 and 1.20 on the raw scale, the older tables' limits).
void readBeBounds(const RowReader& row, be::BeStudy& study) {
    const auto lower =
        settings::readBound(row.text(InputColumn::lower), settings::BoundName::lower);
    const auto upper =
        settings::readBound(row.text(InputColumn::upper), settings::BoundName::upper);
    const bool ratio = study.scale == be::Scale::ratio;
    const auto mirror = [&](double bound) { return ratio ? 1 / bound : 2 - bound; };
    study.lower = lower ? *lower : upper ? mirror(*upper) : 0.80;
    study.upper = upper ? *upper : lower ? mirror(*lower) : (ratio ? 1.25 : 1.20);
}

// A one-sided question's margin as a ratio (on the raw scale too, in units
// of the reference mean): given, else 0.80 or 1.25 by the question and the
// direction (the raw scale's older tables: 1.20), 1 for superiority.
void readBeMargin(const RowReader& row, be::BeStudy& study, Question question) {
    if (question == Question::cv) {
        row.mustBeEmpty(InputColumn::margin,
                        "solve cv takes ci_lower, ci_upper, sizes or n and alpha");
        return;
    }
    study.better = settings::readBetter(row.text(InputColumn::better));
    const auto given = settings::readMargin(row.text(InputColumn::margin));
    const bool bounds = row.given(InputColumn::lower) || row.given(InputColumn::upper);
    study.margin = settledMargin(study.hypothesis, given, study.better, study.alpha,
                                 settings::Scale::ratio, bounds);
    if (!given && study.scale == be::Scale::difference && study.margin == 1.25) {
        study.margin = 1.20;
    }
}

std::vector<long> readSizeList(const RowReader& row) {
    const std::string& text = row.text(InputColumn::sizes);
    std::vector<long> sizes;
    const auto fail = [&]() {
        refuse(RequestProblem::sizesNotAList,
               "sizes is " + quoted(text) +
                   "; give one whole number per sequence, separated by commas, such as 13,12");
    };
    const char* at = text.data();
    const char* const end = text.data() + text.size();
    while (true) {
        while (at < end && *at == ' ')
            ++at;
        long n = 0;
        const auto [stop, error] = std::from_chars(at, end, n);
        if (error != std::errc() || stop == at) fail();
        sizes.push_back(n);
        at = stop;
        while (at < end && *at == ' ')
            ++at;
        if (at == end) return sizes;
        if (*at != ',') fail();
        ++at;
    }
}

std::vector<long> readSequenceSizes(const RowReader& row, be::BeDesign design) {
    const bool list = row.given(InputColumn::sizes), total = row.given(InputColumn::n);
    if (list && total) {
        refuse(RequestProblem::sizesTwice,
               "sizes and n are both given; give the sizes per sequence or the total, not both");
    }
    if (list) return readSizeList(row);
    if (!total) {
        refuse(RequestProblem::missingValue,
               "sizes and n are empty: give the sizes per sequence (sizes, such as 13,12) or the "
               "total (n)");
    }
    const long n = *row.size(InputColumn::n);
    if (n < 1) {
        throw plan::PlanError(be::error::size, "A study needs at least one subject per sequence.");
    }
    if (n > be::maxTotal) {
        throw plan::PlanError(be::error::sizeAboveMaximum,
                              "A study must not have more than 10,000,000 subjects.");
    }
    return be::evenSplit(design, n);
}

const char* whyUnused(Question question) {
    switch (question) {
        case Question::size:
            return "solve n finds the sizes from cv, ratio0, the bounds and the target power";
        case Question::power:
            return "solve power takes cv, ratio0, the bounds and sizes or n";
        case Question::interval:
            return "solve ci takes estimate, cv, sizes or n, alpha and the bounds";
        case Question::cv:
            return "solve cv takes ci_lower, ci_upper, sizes or n and alpha";
        case Question::bound:
            break;
    }
    return "";
}

}  // namespace

bool isBeQuestion(const RowReader& row, Question question) {
    if (question == Question::interval || question == Question::cv) return true;
    const std::string& scale = row.text(InputColumn::scale);
    if (!scale.empty() && settings::readScale(scale) == settings::Scale::ratio) return true;
    return be::designNamed(row.text(InputColumn::design)).has_value();
}

void readBeRequest(const RowReader& row, Request& whole) {
    const Question question = whole.question;
    BeRequest& request = whole.be.emplace();
    be::BeStudy& study = request.study;
    study.scale = readBeScale(row, question);
    study.design = readBeDesign(row);
    if (question == Question::bound) {
        refuse(RequestProblem::notOnThisScale,
               "solve bound is asked of the independent and matched designs on the difference "
               "scale; for a bioequivalence design ask n, power, ci or cv");
    }
    const std::string ratioColumns =
        "the bioequivalence designs take cv, ratio0, lower and upper (as ratios) and sizes or n";
    for (InputColumn column : {InputColumn::sd, InputColumn::difference, InputColumn::bound,
                               InputColumn::ratio, InputColumn::n1, InputColumn::n2})
        row.mustBeEmpty(column, ratioColumns);
    study.hypothesis = settings::readHypothesis(row.text(InputColumn::hypothesis));
    if (study.hypothesis == settings::Hypothesis::minimalEffect) {
        refuse(RequestProblem::notOnThisScale,
               "hypothesis is minimal_effect, but the bioequivalence designs are planned for "
               "equivalence or a one-sided question");
    }
    const bool oneSided = settings::isOneSided(study.hypothesis);
    if (settings::readBoundUnits(row.text(InputColumn::bound_units)) != settings::BoundUnits::raw) {
        refuse(RequestProblem::notOnThisScale,
               "bound_units is d, but the bounds of the bioequivalence designs are ratios");
    }
    study.alpha = settings::readAlpha(row.text(InputColumn::alpha))
                      .value_or(settings::defaultAlpha(study.hypothesis));
    if (oneSided) {
        readBeMargin(row, study, question);
    } else {
        if (row.given(InputColumn::margin)) refuseMargin(study.hypothesis, study.alpha);
        row.mustBeEmpty(InputColumn::better,
                        "better is the direction of a one-sided question (non_inferiority, "
                        "non_superiority or superiority)");
    }

    const std::string why = whyUnused(question);
    const auto unless = [&](bool used, InputColumn column) {
        if (!used) row.mustBeEmpty(column, why);
    };
    const bool size = question == Question::size, power = question == Question::power,
               interval = question == Question::interval, cv = question == Question::cv;
    unless(size, InputColumn::power);
    unless(size || power, InputColumn::ratio0);
    unless(!cv, InputColumn::cv);
    unless(!cv, InputColumn::lower);
    unless(!cv, InputColumn::upper);
    unless(!size, InputColumn::sizes);
    unless(!size, InputColumn::n);
    unless(interval, InputColumn::estimate);
    unless(cv, InputColumn::ci_lower);
    unless(cv, InputColumn::ci_upper);

    if (!cv) {
        if (!oneSided) readBeBounds(row, study);
        study.cv = row.required(InputColumn::cv,
                                study.design == be::BeDesign::parallel
                                    ? "the total CV as a fraction, such as 0.30"
                                    : "the within-subject CV as a fraction, such as 0.30");
    } else {
        study.cv = 0;
    }
    study.ratio0 = row.number(InputColumn::ratio0, 0.95);
    if (size) whole.targetPower = row.required(InputColumn::power, "the target power, such as 0.8");
    if (!size) request.sequenceSizes = readSequenceSizes(row, study.design);
    if (interval) {
        request.estimate =
            row.required(InputColumn::estimate, "the ratio of geometric means, such as 0.95");
    }
    if (cv) {
        request.ciLower =
            row.required(InputColumn::ci_lower, "the interval's lower end, such as 0.85");
        request.ciUpper =
            row.required(InputColumn::ci_upper, "the interval's upper end, such as 1.06");
    }
}

plan::Design readDifferenceDesign(const std::string& text) {
    try {
        return settings::readDesign(text);
    } catch (const settings::SettingsError&) {
        throw settings::SettingsError(settings::error::unknownWord,
                                      std::string(everyDesign) + "; not " + quoted(text) + ".");
    }
}

void refuseRatioColumns(const RowReader& row) {
    const std::string& scale = row.text(InputColumn::scale);
    if (!scale.empty()) settings::readScale(scale);  // an unknown word is refused as such
    for (InputColumn column :
         {InputColumn::cv, InputColumn::ratio0, InputColumn::sizes, InputColumn::n,
          InputColumn::estimate, InputColumn::ci_lower, InputColumn::ci_upper})
        row.mustBeEmpty(column,
                        "the independent and matched designs take sd, difference and n1 (and n2); "
                        "for a CV give a bioequivalence design (parallel, paired, 2x2, ...)");
}

}  // namespace tarnwick::planner
