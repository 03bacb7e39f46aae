#include "be_words.h"

#include <cmath>

#include "fixed_text.h"
#include "one_sided_words.h"
#include "plan_words.h"
#include "shortest_text.h"
#include "shown_digits.h"
#include "significant_text.h"
#include "word_rules.h"

namespace tarnwick::planner {
namespace {

using table_io::shortestText;

const BeRequest& beOf(const Answer& a) { return *a.request.be; }
be::BeDesign designOf(const Answer& a) { return beOf(a).study.design; }
bool shown(const Answer& a) { return a.digits == Digits::shown; }
bool onRatioScale(const Answer& a) { return beOf(a).study.scale == be::Scale::ratio; }

// "20 per sequence", "13 and 12 per sequence", "7, 7 and 6 per sequence";
// "12 subjects" in a paired design, "per group" in parallel groups.
std::string perSequence(const Answer& a, bool thousands) {
    const auto number = [&](long n) { return thousands ? count(n) : std::to_string(n); };
    const std::vector<long>& sizes = a.sequenceSizes;
    if (designOf(a) == be::BeDesign::paired) return number(sizes.front()) + " subjects";
    const char* unit = designOf(a) == be::BeDesign::parallel ? " per group" : " per sequence";
    bool equal = true;
    for (const long n : sizes)
        equal = equal && n == sizes.front();
    if (equal) return number(sizes.front()) + unit;
    std::string text;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        if (i > 0) text += i + 1 == sizes.size() ? " and " : ", ";
        text += number(sizes[i]);
    }
    return text + unit;
}

// "20 per sequence (40 in all)", or "12 subjects".
std::string sizesWords(const Answer& a, bool thousands) {
    if (designOf(a) == be::BeDesign::paired) return perSequence(a, thousands);
    const long total = totalSize(a);
    return perSequence(a, thousands) + " (" + (thousands ? count(total) : std::to_string(total)) +
           " in all)";
}

// The CV as a percentage to 6 significant digits: 0.3 is "30%".
std::string cvPercent(double cv) { return number_text::significantText(cv * 100, 6) + "%"; }

// A ratio in percent to two decimals, as the guidelines write the limits.
std::string percentNumber(double ratio) {
    return number_text::fixedText(be::percentToTwoDecimals(ratio), 2);
}
std::string percentTwo(double ratio) { return percentNumber(ratio) + "%"; }

// The acceptance range: "80.00-125.00%".
std::string rangeWords(const be::BeStudy& s) {
    return percentNumber(s.lower) + "-" + percentTwo(s.upper);
}

// The raw scale's bound: T - R in percent of the reference mean, signed.
std::string rawPercent(double ratio) {
    const double percent = be::percentToTwoDecimals(ratio) - 100;
    return (percent > 0 ? "+" : "") + number_text::fixedText(percent, 2) + "%";
}

// How the found sizes are counted: whole sequences, equal groups.
const char* fewestIn(be::BeDesign design) {
    if (design == be::BeDesign::paired) return "";
    return design == be::BeDesign::parallel ? "in equal groups " : "in whole sequences ";
}

std::string programAssumption(const Answer& a) {
    const be::BeStudy& s = beOf(a).study;
    return "if the true ratio is " + shortestText(s.ratio0) + " and the " + cvKind(s.design) +
           " CV " + shortestText(s.cv) +
           (onRatioScale(a) ? "" : " (the SD of T - R in units of the reference mean)");
}

std::string programRule(const Answer& a) {
    const be::BeStudy& s = beOf(a).study;
    const std::string bounds = shortestText(s.lower) + " and " + shortestText(s.upper);
    if (onRatioScale(a)) return "to show the ratio of geometric means within " + bounds;
    return "to show T / R within " + bounds +
           " on the raw scale (the difference T - R in units of the reference mean)";
}

std::string programP(const Answer& a, double p) {
    return shown(a) ? number_text::significantText(p, 4) : shortestText(p);
}

bool oneSided(const Answer& a) { return settings::isOneSided(beOf(a).study.hypothesis); }

words::OneSidedWords oneSidedOf(const Answer& a) {
    return words::oneSidedWords(beOf(a).study.hypothesis, beOf(a).study.better);
}

// "to show non-inferiority (higher is better): the lower end of the 95%
// interval of the ratio of geometric means above 0.8 (the one-sided test at
// alpha 0.025)".
std::string programOneSidedRule(const Answer& a) {
    const be::BeStudy& s = beOf(a).study;
    const words::OneSidedWords w = oneSidedOf(a);
    return "to show " + w.question + " (" + w.better + "): the " + w.end + " end of the " +
           words::programPercent(1 - 2 * s.alpha) + " interval of " +
           (onRatioScale(a) ? "the ratio of geometric means " : "T / R ") + w.beyond + " " +
           shortestText(s.margin) +
           (onRatioScale(a)
                ? ""
                : " on the raw scale (the difference T - R in units of the reference mean)") +
           " (the one-sided test at alpha " + shortestText(s.alpha) + ")";
}

// The conclusion from reported numbers, in the one sentence every report
// uses for a one-sided question, on the ends in percent to two decimals.
std::string oneSidedConclusionWords(const Answer& a) {
    const be::BeStudy& s = beOf(a).study;
    const be::ReportedInterval& r = a.interval;
    settings::TestSettings asked;
    asked.alpha = s.alpha;
    asked.hypothesis = s.hypothesis;
    asked.better = s.better;
    asked.scale = settings::Scale::ratio;
    asked.margin = s.margin;
    const bool above = settings::alternativeSide(s.hypothesis, s.better) == settings::Side::above;
    return settings::oneSidedConclusion(
        asked,
        {percentTwo(s.margin), percentTwo(above ? r.low : r.high), targetPercent(1 - 2 * s.alpha)},
        r.oneSidedShown);
}

std::string conclusionWords(const Answer& a) {
    const be::ReportedInterval& r = a.interval;
    const std::string range = rangeWords(beOf(a).study);
    return std::string(r.equivalent ? "equivalent, as the interval lies within "
                                    : "not equivalent, as the interval does not lie within ") +
           range +
           " on its ends rounded to two decimals in percent (the European guideline's rule)";
}

std::string intervalSentence(const Answer& a) {
    const be::BeStudy& s = beOf(a).study;
    const be::ReportedInterval& r = a.interval;
    const std::string ends = shown(a) ? percentTwo(r.low) + " to " + percentTwo(r.high)
                                      : shortestText(r.low) + " to " + shortestText(r.high);
    const std::string opening = "With " + sizesWords(a, false) + " in " + designWords(s.design) +
                                ", a " + cvKind(s.design) + " CV of " + shortestText(s.cv) +
                                " and a ratio of geometric means of " +
                                shortestText(beOf(a).estimate) + ", the " +
                                words::programPercent(1 - 2 * s.alpha) + " interval is " + ends;
    if (oneSided(a)) {
        const bool above = oneSidedOf(a).beyond == "above";
        return opening + "; p = " + programP(a, r.pOneSided) + " (H0: ratio at or " +
               (above ? "below " : "above ") + shortestText(s.margin) +
               "): " + oneSidedConclusionWords(a) + ".";
    }
    return opening + "; p = " + programP(a, r.pLower) + " (H0: ratio at or below " +
           shortestText(s.lower) + ") and p = " + programP(a, r.pUpper) +
           " (H0: ratio at or above " + shortestText(s.upper) + "): " + conclusionWords(a) + ".";
}

std::string cvSentence(const Answer& a) {
    const be::BeStudy& s = beOf(a).study;
    const std::string cv = shown(a) ? number_text::significantText(a.cv, 4) + " (" +
                                          number_text::fixedText(a.cv * 100, 2) + "%)"
                                    : shortestText(a.cv);
    return "The " + words::programPercent(1 - 2 * s.alpha) + " interval " +
           shortestText(beOf(a).ciLower) + " to " + shortestText(beOf(a).ciUpper) + " of " +
           designWords(s.design) + " with " + sizesWords(a, false) + " implies a " +
           cvKind(s.design) + " CV of " + cv + ".";
}

// The decision rule in a preregistration: "the 90% interval of the ratio of
// geometric means within 80.00-125.00%"; for a one-sided question "the lower
// end of the two-sided 95% interval of the ratio of geometric means above
// 80.00%".
std::string ruleWords(const Answer& a) {
    const be::BeStudy& s = beOf(a).study;
    const std::string level = targetPercent(1 - 2 * s.alpha);
    if (oneSided(a)) {
        const words::OneSidedWords w = oneSidedOf(a);
        const std::string end = "the " + w.end + " end of the two-sided " + level + " interval of ";
        if (onRatioScale(a)) {
            return end + "the ratio of geometric means " + w.beyond + " " + percentTwo(s.margin);
        }
        return end + "the difference T - R " + w.beyond + " " + rawPercent(s.margin) +
               " of the reference mean";
    }
    if (onRatioScale(a)) {
        return "the " + level + " interval of the ratio of geometric means within " + rangeWords(s);
    }
    return "the " + level + " interval of the difference T - R within " + rawPercent(s.lower) +
           " and " + rawPercent(s.upper) + " of the reference mean";
}

std::string assumptionWords(const Answer& a) {
    const be::BeStudy& s = beOf(a).study;
    return "assuming a true ratio of " + words::raw(s.ratio0) + " and a " + cvKind(s.design) +
           " CV of " + cvPercent(s.cv) +
           (onRatioScale(a) ? "" : " (the SD of T - R in units of the reference mean)");
}

}  // namespace

std::string designWords(be::BeDesign design) {
    switch (design) {
        case be::BeDesign::parallel:
            return "a parallel-group design";
        case be::BeDesign::paired:
            return "a paired design";
        case be::BeDesign::crossover2x2:
            return "a 2x2 crossover (TR/RT)";
        case be::BeDesign::latin3x3:
            return "a 3x3 Latin square crossover";
        case be::BeDesign::williams3x6x3:
            return "a 3x6x3 Williams crossover";
        case be::BeDesign::latin4x4:
            return "a 4x4 Latin square crossover";
        case be::BeDesign::replicate2x2x3:
            return "a 2x2x3 replicate crossover (TRT/RTR)";
        case be::BeDesign::replicate2x2x4:
            return "a 2x2x4 replicate crossover (TRTR/RTRT)";
        case be::BeDesign::replicate2x4x4:
            return "a 2x4x4 replicate crossover (TRTR/RTRT/TRRT/RTTR)";
        case be::BeDesign::partial2x3x3:
            return "a 2x3x3 partial replicate crossover (TRR/RTR/RRT)";
        case be::BeDesign::balaam2x4x2:
            return "a 2x4x2 Balaam design (TR/RT/TT/RR)";
        case be::BeDesign::repeated2x2x2r:
            return "a repeated 2x2 crossover (2x2x2r)";
    }
    return {};
}

std::string cvKind(be::BeDesign design) {
    return design == be::BeDesign::parallel ? "total" : "within-subject";
}

std::array<std::string, 6> beAnswerFields(const Answer& a) {
    const bool cv = a.request.question == Question::cv;
    const bool planned =
        a.request.question == Question::size || a.request.question == Question::power;
    return {
        std::string(),
        std::string(),
        std::to_string(totalSize(a)),
        !planned   ? std::string()
        : shown(a) ? plan::powerCut(a.power, 4)
                   : shortestText(a.power),
        cv || !std::isfinite(a.lower) ? std::string() : shortestText(a.lower),
        cv || !std::isfinite(a.upper) ? std::string() : shortestText(a.upper),
    };
}

std::array<std::string, 7> beRatioFields(const Answer& a) {
    std::array<std::string, 7> fields;
    for (std::size_t i = 0; i < a.sequenceSizes.size(); ++i)
        fields[0] += (i > 0 ? "," : "") + std::to_string(a.sequenceSizes[i]);
    const auto number = [&](double value, int digits) {
        return shown(a) ? number_text::significantText(value, digits) : shortestText(value);
    };
    if (a.request.question == Question::interval) {
        const be::ReportedInterval& r = a.interval;
        const auto end = [&](double ratio) {
            return shown(a) ? number_text::fixedText(be::percentToTwoDecimals(ratio) / 100, 4)
                            : shortestText(ratio);
        };
        fields[1] = end(r.low);
        fields[2] = end(r.high);
        // A one-sided question has one test: the open end's p is left empty.
        const bool above = !oneSided(a) || oneSidedOf(a).beyond == "above";
        const bool below = !oneSided(a) || !above;
        fields[3] = above ? number(r.pLower, 4) : "";
        fields[4] = below ? number(r.pUpper, 4) : "";
        fields[5] = oneSided(a)    ? std::string(decisionName(settings::oneSidedDecision(
                                         beOf(a).study.hypothesis, r.oneSidedShown)))
                    : r.equivalent ? "equivalent"
                                   : "not equivalent";
    }
    if (a.request.question == Question::cv) fields[6] = number(a.cv, 4);
    return fields;
}

std::string beAnswerSentence(const Answer& a) {
    const std::string design = designWords(designOf(a));
    const bool planned =
        a.request.question == Question::size || a.request.question == Question::power;
    const std::string rule = !planned ? "" : oneSided(a) ? programOneSidedRule(a) : programRule(a);
    switch (a.request.question) {
        case Question::size:
            return sizesWords(a, false) + " in " + design + ", the fewest " +
                   fewestIn(designOf(a)) + "reaching " +
                   words::programPercent(a.request.targetPower) + " power, give " +
                   words::programPower(a) + " " + rule + " " + programAssumption(a) + ".";
        case Question::power:
            return sizesWords(a, false) + " in " + design + " give " + words::programPower(a) +
                   " " + rule + " " + programAssumption(a) + ".";
        case Question::interval:
            return intervalSentence(a);
        case Question::cv:
            return cvSentence(a);
        case Question::bound:
            break;
    }
    return {};
}

std::string beAnswerLine(const Answer& a) {
    switch (a.request.question) {
        case Question::interval:
            return targetPercent(1 - 2 * beOf(a).study.alpha) + " interval " +
                   percentTwo(a.interval.low) + " to " + percentTwo(a.interval.high) + ": " +
                   (a.interval.equivalent ? "equivalent" : "not equivalent");
        case Question::cv:
            return "A " + cvKind(designOf(a)) + " CV of " + number_text::fixedText(a.cv * 100, 2) +
                   "%";
        default:
            return sizesWords(a, true) + " give " + percent(a.power) + " power";
    }
}

std::string beOneSidedP(const Answer& a) {
    if (a.request.question != Question::interval || !oneSided(a)) return {};
    return programP(a, a.interval.pOneSided);
}

std::string bePreregistrationSentence(const Answer& a) {
    const be::BeStudy& s = beOf(a).study;
    const std::string atAlpha = " at \xCE\xB1 = " + words::alphaText(s.alpha);
    const std::string tests = oneSided(a)
                                  ? "a one-sided test" + atAlpha + ", " + oneSidedOf(a).better
                                  : "two one-sided tests" + atAlpha;
    const std::string claim = oneSided(a) ? oneSidedOf(a).question : "bioequivalence";
    const std::string in = " in " + designWords(s.design);
    const std::string subjects =
        designOf(a) == be::BeDesign::paired
            ? count(totalSize(a)) + " subjects"
            : count(totalSize(a)) + " subjects (" + perSequence(a, true) + ")";
    switch (a.request.question) {
        case Question::size:
            return "To have " + targetPercent(a.request.targetPower) + " power to conclude " +
                   claim + in + ", " + ruleWords(a) + " (" + tests + "), " + assumptionWords(a) +
                   ", we will recruit " + subjects + ".";
        case Question::power:
            if (oneSided(a)) {
                return "With " + subjects + in + ", a one-sided test" + atAlpha + " has " +
                       percent(a.power) + " power to conclude " + claim + ", " + ruleWords(a) +
                       " (" + oneSidedOf(a).better + "), " + assumptionWords(a) + ".";
            }
            return "With " + subjects + in + ", " + tests + " have " + percent(a.power) +
                   " power to conclude bioequivalence, " + ruleWords(a) + ", " +
                   assumptionWords(a) + ".";
        default:
            return beAnswerSentence(a);
    }
}

}  // namespace tarnwick::planner
