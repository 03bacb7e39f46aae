#include "plan_words.h"

#include <cmath>

#include "apa_format.h"
#include "be_words.h"
#include "number_text.h"
#include "one_sided_words.h"
#include "shortest_text.h"
#include "shown_digits.h"
#include "significant_text.h"
#include "word_rules.h"

namespace tarnwick::planner {

// The rules the bioequivalence words share (word_rules.h).
namespace words {

std::string programPercent(double proportion) {
    return number_text::significantText(proportion * 100, 10) + "%";
}

std::string programPower(const Answer& a) {
    if (a.digits != Digits::shown) return "a power of " + table_io::shortestText(a.power);
    if (a.power > 0 && a.power < 0.001) return "under 0.1% power";
    return plan::percentCut(a.power, 1) + "% power";
}

std::string raw(double value) {
    if (value == 0) return "0";
    return report::apa::number(value, report::apa::decimalsToSignificant(value, 2, 4));
}

std::string alphaText(double alpha) {
    std::string text = report::apa::fixed(alpha, report::apa::decimalsToSignificant(alpha, 2, 4));
    if (text.rfind("0.", 0) == 0) text.erase(0, 1);
    return text;
}

OneSidedWords oneSidedWords(settings::Hypothesis hypothesis, settings::Better better) {
    const std::string question = settings::hypothesisNoun(hypothesis);
    const bool above = settings::alternativeSide(hypothesis, better) == settings::Side::above;
    return {question, above ? "lower" : "upper", above ? "above" : "below",
            std::string(settings::betterWord(better)) + " is better"};
}

}  // namespace words

namespace {

using table_io::shortestText;
using words::alphaText;
using words::programPercent;
using words::programPower;
using words::raw;

bool isMatched(const Answer& a) { return a.request.study.design == plan::Design::matched; }
bool inSdUnits(const Answer& a) { return a.request.units == settings::BoundUnits::sd; }
bool minimalEffect(const Answer& a) {
    return a.request.study.hypothesis == settings::Hypothesis::minimalEffect;
}
bool shown(const Answer& a) { return a.digits == Digits::shown; }

// A found bound as the answer wrote it, with its sign.
std::string signedFound(const std::string& bound, bool negative) {
    return negative ? "-" + bound : bound;
}

// ---- A program's words: numbers as read, or as the shortest text. ----

std::string programSizes(const Answer& a) {
    const auto size = [](long n) { return std::to_string(n); };
    if (isMatched(a)) return size(a.sizes.n1) + " pairs";
    const std::string total = " (" + size(totalSize(a)) + " in all)";
    if (a.sizes.n1 == a.sizes.n2) return size(a.sizes.n1) + " per group" + total;
    return size(a.sizes.n1) + " in group 1 and " + size(a.sizes.n2) + " in group 2" + total;
}

// "±0.5", or "-0.3 and 0.5".
std::string programPair(double lower, double upper) {
    if (lower == -upper) return "±" + shortestText(upper);
    return shortestText(lower) + " and " + shortestText(upper);
}

// Bounds typed in SD units are named in both units: what was typed, and the
// raw bounds the test uses; found ones in SD units are the root's, divided.
std::string programBounds(const Answer& a) {
    if (a.request.question == Question::bound) {
        const std::string raw = "±" + a.foundBound;
        return inSdUnits(a) ? "±" + a.foundBoundInSd + " SD (" + raw + " in raw units)" : raw;
    }
    const std::string raw = programPair(a.lower, a.upper);
    if (!inSdUnits(a)) return raw;
    return programPair(a.request.typedLower, a.request.typedUpper) + " SD (" + raw +
           " in raw units)";
}

// The minimal-effect test, which its name alone does not explain: its
// levels, what it rejects and the difference the power is for.
std::string programMinimalEffect(const Answer& a) {
    const double alpha = a.request.study.alpha;
    std::string text = "With " + programSizes(a);
    if (a.request.question == Question::size) {
        text += ", the fewest reaching " + programPercent(a.request.targetPower) + " power";
    }
    return text + ", the minimal-effect test has " + programPower(a) +
           " to show that the difference lies beyond " + programBounds(a) + " if it is " +
           shortestText(a.request.study.difference) + (inSdUnits(a) ? " in raw units" : "") +
           ": it concludes so when the " + programPercent(1 - 2 * alpha) +
           " interval of the difference lies wholly below the lower bound or wholly above the "
           "upper one (each one-sided test at alpha " +
           shortestText(alpha) + ").";
}

bool oneSided(const Answer& a) { return settings::isOneSided(a.request.study.hypothesis); }

words::OneSidedWords oneSidedOf(const Answer& a) {
    return words::oneSidedWords(a.request.study.hypothesis, a.request.study.better);
}

// A one-sided question: its name, the direction, the difference the power
// is for, and the rule that decides, with the one test's level.
std::string programOneSided(const Answer& a) {
    const plan::Study& s = a.request.study;
    const words::OneSidedWords w = oneSidedOf(a);
    std::string text = programSizes(a);
    if (a.request.question == Question::size) {
        text += ", the fewest reaching " + programPercent(a.request.targetPower) + " power,";
    }
    return text + " give " + programPower(a) + " to show " + w.question + " (" + w.better +
           ") if the difference is " + shortestText(s.difference) + ": the " + w.end +
           " end of the " + programPercent(1 - 2 * s.alpha) + " interval of the difference " +
           w.beyond + " " + shortestText(s.margin) + " (the one-sided test at alpha " +
           shortestText(s.alpha) + ").";
}

// ---- The window's words: numbers as a manuscript writes them. ----

std::string sizesWords(const Answer& a, const char* unit) {
    if (isMatched(a)) return count(a.sizes.n1) + " pairs";
    const std::string total = " (" + count(a.sizes.n1 + a.sizes.n2) + " in all)";
    if (a.sizes.n1 == a.sizes.n2) return count(a.sizes.n1) + unit + " per group" + total;
    return count(a.sizes.n1) + unit + " in group 1 and " + count(a.sizes.n2) + " in group 2" +
           total;
}

// Given bounds are named in both units when typed in SD units: as typed, and
// the raw bounds the test uses.
std::string boundsWords(const Answer& a) {
    const std::string rawPair = raw(a.lower) + " and " + raw(a.upper);
    if (!inSdUnits(a)) return "bounds of " + rawPair + " (raw units)";
    return "bounds of " + raw(a.request.typedLower) + " and " + raw(a.request.typedUpper) +
           " SD (" + rawPair + " in raw units)";
}

// Found bounds as the answer wrote them; raw ones say so where the sentence
// must (a preregistration), not in the answer line.
std::string foundBoundsWords(const Answer& a, bool sayRaw) {
    const std::string rawPair =
        signedFound(a.foundBound, true) + " and " + signedFound(a.foundBound, false);
    if (!inSdUnits(a)) return sayRaw ? rawPair + " (raw units)" : rawPair;
    return signedFound(a.foundBoundInSd, true) + " and " + signedFound(a.foundBoundInSd, false) +
           " SD (" + rawPair + " in raw units)";
}

// The minimal-effect test's decision rule, which its name alone does not say.
std::string minimalEffectRule(const Answer& a) {
    return "the " + targetPercent(1 - 2 * a.request.study.alpha) +
           " interval of the difference wholly below the lower bound or wholly above the upper "
           "one";
}

std::string assumptionWords(const Answer& a) {
    const plan::Study& s = a.request.study;
    return "assuming a true difference of " + raw(s.difference) +
           (isMatched(a) ? " and an SD of the difference scores of " : " and an SD of ") +
           raw(s.sd);
}

// "non-inferiority, the lower end of the two-sided 95% interval of the
// difference above -0.50".
std::string oneSidedRule(const Answer& a) {
    const words::OneSidedWords w = oneSidedOf(a);
    return w.question + ", the " + w.end + " end of the two-sided " +
           targetPercent(1 - 2 * a.request.study.alpha) + " interval of the difference " +
           w.beyond + " " + raw(a.request.study.margin);
}

std::string oneSidedSentence(const Answer& a, const std::string& atAlpha) {
    const std::string better = oneSidedOf(a).better;
    if (a.request.question == Question::size) {
        return "To have " + targetPercent(a.request.targetPower) + " power to conclude " +
               oneSidedRule(a) + " (a one-sided test " + atAlpha + ", " + better + "), " +
               assumptionWords(a) + ", we will recruit " + sizesWords(a, " participants") + ".";
    }
    return "With " + sizesWords(a, " participants") + ", a one-sided test " + atAlpha + " has " +
           percent(a.power) + " power to conclude " + oneSidedRule(a) + " (" + better + "), " +
           assumptionWords(a) + ".";
}

std::string minimalEffectSentence(const Answer& a, const std::string& atAlpha) {
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

}  // namespace

std::array<std::string, 6> answerFields(const Answer& a) {
    if (a.request.be) return beAnswerFields(a);
    const bool found = a.request.question == Question::bound;
    const auto bound = [&](double value) {
        if (!std::isfinite(value)) return std::string();  // a one-sided question's open end
        return found ? signedFound(a.foundBound, value < 0) : shortestText(value);
    };
    return {
        std::to_string(a.sizes.n1),
        isMatched(a) ? std::string() : std::to_string(a.sizes.n2),
        std::to_string(totalSize(a)),
        shown(a) ? plan::powerCut(a.power, 4) : shortestText(a.power),
        bound(a.lower),
        bound(a.upper),
    };
}

std::array<std::string, 7> ratioAnswerFields(const Answer& a) {
    if (a.request.be) return beRatioFields(a);
    return {};
}

std::string oneSidedPField(const Answer& a) { return a.request.be ? beOneSidedP(a) : ""; }

std::string answerSentence(const Answer& a) {
    if (a.request.be) return beAnswerSentence(a);
    if (minimalEffect(a)) return programMinimalEffect(a);
    if (oneSided(a)) return programOneSided(a);
    const std::string sizes = programSizes(a);
    const std::string power = programPower(a);
    switch (a.request.question) {
        case Question::size:
            return sizes + ", the fewest reaching " + programPercent(a.request.targetPower) +
                   " power, give " + power + " to show equivalence within " + programBounds(a) +
                   ".";
        case Question::power:
            return sizes + " give " + power + " to show equivalence within " + programBounds(a) +
                   ".";
        case Question::bound:
            return sizes + " give " + power + " to show equivalence within " + programBounds(a) +
                   ", the narrowest symmetric bounds reaching " +
                   programPercent(a.request.targetPower) + " power.";
        case Question::interval:
        case Question::cv:
            break;  // a bioequivalence design's questions, worded above
    }
    return {};
}

std::string answerLine(const Answer& a) {
    if (a.request.be) return beAnswerLine(a);
    const std::string power = percent(a.power) + " power";
    if (a.request.question == Question::bound) {
        return "Bounds of " + foundBoundsWords(a, false) + " give " + power + " with " +
               sizesWords(a, "");
    }
    return sizesWords(a, "") + " give " + power;
}

std::string preregistrationSentence(const Answer& a) {
    if (a.request.be) return bePreregistrationSentence(a);
    const std::string atAlpha = "at \xCE\xB1 = " + alphaText(a.request.study.alpha);
    if (minimalEffect(a)) return minimalEffectSentence(a, atAlpha);
    if (oneSided(a)) return oneSidedSentence(a, atAlpha);
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
        case Question::interval:
        case Question::cv:
            break;
    }
    return {};
}

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

}  // namespace tarnwick::planner
