#include "answer_text.h"

#include <cstdio>

#include "shortest_text.h"
#include "shown_digits.h"

namespace tarnwick::planner {
namespace {

using table_io::shortestText;

std::string sizeText(long size) { return std::to_string(size); }

bool isMatched(const Request& request) { return request.study.design == plan::Design::matched; }

std::string numberText(double value) { return shortestText(value); }

std::string percentText(double proportion) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.10g%%", proportion * 100);
    return buffer;
}

std::string sizesPhrase(const Request& request, const Answer& answer) {
    const plan::Sizes& sizes = answer.sizes;
    if (isMatched(request)) return sizeText(sizes.n1) + " pairs";
    const std::string total = " (" + sizeText(totalSize(answer)) + " in all)";
    if (sizes.n1 == sizes.n2) return sizeText(sizes.n1) + " per group" + total;
    return sizeText(sizes.n1) + " in group 1 and " + sizeText(sizes.n2) + " in group 2" + total;
}

std::string powerPhrase(double power, Digits digits) {
    if (digits == Digits::full) return "a power of " + shortestText(power);
    if (power > 0 && power < 0.001) return "under 0.1% power";
    return plan::percentCut(power, 1) + "% power";
}

std::string boundText(double bound, bool found, Digits digits) {
    return found && digits == Digits::shown ? plan::boundRoundedOutward(bound) : numberText(bound);
}

std::string pairPhrase(double lower, double upper, bool found, Digits digits) {
    if (lower == -upper) return "±" + boundText(upper, found, digits);
    const auto text = [&](double bound) {
        return bound < 0 ? "-" + boundText(-bound, found, digits) : boundText(bound, found, digits);
    };
    return text(lower) + " and " + text(upper);
}

// Bounds typed in SD units are named in both units: what was typed, and the
// raw bounds the test uses.
std::string boundsPhrase(const Request& request, const Answer& answer, bool found, Digits digits) {
    const std::string raw = pairPhrase(answer.lower, answer.upper, found, digits);
    if (request.units != settings::BoundUnits::sd) return raw;
    const double sd = request.study.sd;
    const std::string d = found ? pairPhrase(answer.lower / sd, answer.upper / sd, true, digits)
                                : pairPhrase(request.typedLower, request.typedUpper, false, digits);
    return d + " SD (" + raw + " in raw units)";
}

// A sentence to preregister: the test, its levels, what it rejects and the
// difference the power is for.
std::string minimalEffectSentence(const Request& request, const Answer& answer, Digits digits) {
    const double alpha = request.study.alpha;
    std::string text = "With " + sizesPhrase(request, answer);
    if (request.question == Question::size) {
        text += ", the fewest reaching " + percentText(request.targetPower) + " power";
    }
    const bool inSd = request.units == settings::BoundUnits::sd;
    return text + ", the minimal-effect test has " + powerPhrase(answer.power, digits) +
           " to show that the difference lies beyond " +
           boundsPhrase(request, answer, false, digits) + " if it is " +
           numberText(request.study.difference) + (inSd ? " in raw units" : "") +
           ": it concludes so when the " + percentText(1 - 2 * alpha) +
           " interval of the difference lies wholly below the lower bound or wholly above the "
           "upper one (each one-sided test at alpha " +
           numberText(alpha) + ").";
}

}  // namespace

std::array<std::string, 6> answerFields(const Request& request, const Answer& answer,
                                        Digits digits) {
    const bool found = request.question == Question::bound;
    const auto bound = [&](double value) {
        if (!found || digits == Digits::full) return numberText(value);
        return value < 0 ? "-" + plan::boundRoundedOutward(-value)
                         : plan::boundRoundedOutward(value);
    };
    return {
        sizeText(answer.sizes.n1),
        isMatched(request) ? std::string() : sizeText(answer.sizes.n2),
        sizeText(totalSize(answer)),
        digits == Digits::full ? shortestText(answer.power) : plan::powerCut(answer.power, 4),
        bound(answer.lower),
        bound(answer.upper),
    };
}

std::string answerSentence(const Request& request, const Answer& answer, Digits digits) {
    if (request.study.hypothesis == settings::Hypothesis::minimalEffect) {
        return minimalEffectSentence(request, answer, digits);
    }
    const std::string sizes = sizesPhrase(request, answer);
    const std::string power = powerPhrase(answer.power, digits);
    switch (request.question) {
        case Question::size:
            return sizes + ", the fewest reaching " + percentText(request.targetPower) +
                   " power, give " + power + " to show equivalence within " +
                   boundsPhrase(request, answer, false, digits) + ".";
        case Question::power:
            return sizes + " give " + power + " to show equivalence within " +
                   boundsPhrase(request, answer, false, digits) + ".";
        case Question::bound:
            return sizes + " give " + power + " to show equivalence within " +
                   boundsPhrase(request, answer, true, digits) +
                   ", the narrowest symmetric bounds reaching " + percentText(request.targetPower) +
                   " power.";
    }
    return {};
}

}  // namespace tarnwick::planner
