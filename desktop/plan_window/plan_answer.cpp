#include "plan_answer.h"

#include <algorithm>
#include <cmath>

#include "apa_format.h"
#include "number_text.h"
#include "shown_digits.h"

namespace tarnwick::planner {
namespace {

bool isMatched(const PlanAnswer& a) { return a.request.study.design == plan::Design::matched; }

// Raw values as every shown number: at least two decimals ("0.50", "1.20"),
// more up to four significant digits ("2.102", "0.125"); zero is "0".
std::string raw(double value) {
    if (value == 0) return "0";
    return report::apa::number(value, report::apa::decimalsToSignificant(value, 2, 4));
}

// Alpha as a manuscript writes it, by the same rule without the leading
// zero: ".05", ".10", ".025".
std::string alphaText(double alpha) {
    std::string text = report::apa::fixed(alpha, report::apa::decimalsToSignificant(alpha, 2, 4));
    if (text.rfind("0.", 0) == 0) text.erase(0, 1);
    return text;
}

// A found bound as every front end writes it: rounded outward to 4
// significant digits, the very number the window's power is computed at.
std::string foundBound(double bound) {
    return bound < 0 ? "-" + plan::boundRoundedOutward(-bound) : plan::boundRoundedOutward(bound);
}

std::string sizesWords(const PlanAnswer& a, const char* unit) {
    if (isMatched(a)) return count(a.sizes.n1) + " pairs";
    const std::string total = " (" + count(a.sizes.n1 + a.sizes.n2) + " in all)";
    if (a.sizes.n1 == a.sizes.n2) return count(a.sizes.n1) + unit + " per group" + total;
    return count(a.sizes.n1) + unit + " in group 1 and " + count(a.sizes.n2) + " in group 2" +
           total;
}

bool inSdUnits(const PlanAnswer& a) { return a.request.units == settings::BoundUnits::sd; }

bool minimalEffect(const PlanAnswer& a) {
    return a.request.study.hypothesis == settings::Hypothesis::minimalEffect;
}

// Bounds typed in SD units are named in both units: as typed, and the raw
// bounds the test uses.
std::string boundsWords(const PlanAnswer& a) {
    const std::string rawPair = raw(a.lower) + " and " + raw(a.upper);
    if (!inSdUnits(a)) return "bounds of " + rawPair + " (raw units)";
    return "bounds of " + raw(a.request.typedLower) + " and " + raw(a.request.typedUpper) +
           " SD (" + rawPair + " in raw units)";
}

// Found bounds, each rounded outward in the units it is written in; raw
// ones say so where the sentence must (a preregistration), not in the answer.
std::string foundBoundsWords(const PlanAnswer& a, bool sayRaw) {
    const std::string rawPair = foundBound(a.lower) + " and " + foundBound(a.upper);
    if (!inSdUnits(a)) return sayRaw ? rawPair + " (raw units)" : rawPair;
    const double sd = a.request.study.sd;
    return foundBound(a.lower / sd) + " and " + foundBound(a.upper / sd) + " SD (" + rawPair +
           " in raw units)";
}

// The minimal-effect test's decision rule, which its name alone does not say.
std::string minimalEffectRule(const PlanAnswer& a) {
    return "the " + targetPercent(1 - 2 * a.request.study.alpha) +
           " interval of the difference wholly below the lower bound or wholly above the upper "
           "one";
}

std::string assumptionWords(const PlanAnswer& a) {
    const plan::Study& s = a.request.study;
    return "assuming a true difference of " + raw(s.difference) +
           (isMatched(a) ? " and an SD of the difference scores of " : " and an SD of ") +
           raw(s.sd);
}

}  // namespace

std::string targetPercent(double power) {
    return numberToText(std::round(power * 100 * 1e9) / 1e9) + "%";
}

std::string percent(double power) { return plan::percentCut(power, 1) + "%"; }

std::string count(long n) {
    std::string digits = std::to_string(n < 0 ? -n : n);
    for (auto i = static_cast<std::ptrdiff_t>(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(static_cast<std::size_t>(i), ",");
    return n < 0 ? "-" + digits : digits;
}

PlanAnswer answer(const PlanRequest& request) {
    PlanAnswer a;
    a.request = request;
    a.lower = request.study.lower;
    a.upper = request.study.upper;
    switch (request.question) {
        case Question::size: {
            const plan::SizeAnswer found =
                plan::smallestSize(request.study, request.targetPower, request.ratio);
            a.sizes = found.sizes;
            a.power = found.power;
            break;
        }
        case Question::power:
            a.sizes = request.sizes;
            a.power = plan::power(request.study, request.sizes);
            break;
        case Question::bound: {
            const plan::BoundAnswer found =
                plan::smallestBound(request.study, request.sizes, request.targetPower);
            const double bound = plan::boundRoundedOutwardValue(found.bound);
            plan::Study study = request.study;
            study.lower = -bound;
            study.upper = bound;
            a.sizes = request.sizes;
            a.lower = -bound;
            a.upper = bound;
            a.power = plan::power(study, request.sizes);
            break;
        }
    }
    return a;
}

std::string answerLine(const PlanAnswer& a) {
    const std::string power = percent(a.power) + " power";
    if (a.request.question == Question::bound) {
        return "Bounds of " + foundBoundsWords(a, false) + " give " + power + " with " +
               sizesWords(a, "");
    }
    return sizesWords(a, "") + " give " + power;
}

std::string preregistrationSentence(const PlanAnswer& a) {
    const plan::Study& s = a.request.study;
    const std::string atAlpha = "at \xCE\xB1 = " + alphaText(s.alpha);
    if (minimalEffect(a)) {
        // The engine asks this test for a size or a power only.
        if (a.request.question == Question::size) {
            return "To have " + targetPercent(a.request.targetPower) +
                   " power to conclude that the difference lies beyond " + boundsWords(a) + " " +
                   atAlpha + " in a minimal-effect test (" + minimalEffectRule(a) + "), " +
                   assumptionWords(a) + ", we will recruit " + sizesWords(a, " participants") + ".";
        }
        return "With " + sizesWords(a, " participants") + ", a minimal-effect test " + atAlpha +
               " with " + boundsWords(a) + " has " + percent(a.power) +
               " power to conclude that the difference lies beyond them (" + minimalEffectRule(a) +
               "), " + assumptionWords(a) + ".";
    }
    switch (a.request.question) {
        case Question::size:
            return "To have " + targetPercent(a.request.targetPower) +
                   " power to conclude equivalence with " + boundsWords(a) + " " + atAlpha +
                   " in two one-sided tests, " + assumptionWords(a) + ", we will recruit " +
                   sizesWords(a, " participants") + ".";
        case Question::power:
            return "With " + sizesWords(a, " participants") + ", two one-sided tests " + atAlpha +
                   " with " + boundsWords(a) + " have " + percent(a.power) +
                   " power to conclude equivalence, " + assumptionWords(a) + ".";
        case Question::bound:
            return "With " + sizesWords(a, " participants") + ", two one-sided tests " + atAlpha +
                   " have " + targetPercent(a.request.targetPower) +
                   " power to conclude equivalence with bounds as narrow as " +
                   foundBoundsWords(a, true) + ", " + assumptionWords(a) + ".";
    }
    return {};
}

}  // namespace tarnwick::planner
