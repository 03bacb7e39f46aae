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

std::string boundsPhrase(const Answer& answer, bool found, Digits digits) {
    if (answer.lower == -answer.upper) return "±" + boundText(answer.upper, found, digits);
    const auto text = [&](double bound) {
        return bound < 0 ? "-" + boundText(-bound, found, digits) : boundText(bound, found, digits);
    };
    return text(answer.lower) + " and " + text(answer.upper);
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
    const std::string sizes = sizesPhrase(request, answer);
    const std::string power = powerPhrase(answer.power, digits);
    switch (request.question) {
        case Question::size:
            return sizes + ", the fewest reaching " + percentText(request.targetPower) +
                   " power, give " + power + " to show equivalence within " +
                   boundsPhrase(answer, false, digits) + ".";
        case Question::power:
            return sizes + " give " + power + " to show equivalence within " +
                   boundsPhrase(answer, false, digits) + ".";
        case Question::bound:
            return sizes + " give " + power + " to show equivalence within " +
                   boundsPhrase(answer, true, digits) +
                   ", the narrowest symmetric bounds reaching " + percentText(request.targetPower) +
                   " power.";
    }
    return {};
}

}  // namespace tarnwick::planner
