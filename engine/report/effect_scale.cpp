#include "effect_scale.h"

#include <cmath>

namespace tarnwick::report {
namespace {

double identity(double x) { return x; }
double logarithm(double x) { return std::log(x); }
double exponential(double x) { return std::exp(x); }

}  // namespace

const EffectScale& differenceOfMeans() {
    static const EffectScale scale{
        .name = "difference",
        .toTestScale = identity,
        .fromTestScale = identity,
        .nullValue = 0,
        .effect = "difference",
        .effects = "differences",
        .symbol = "D",
        .estimate = "difference between the means",
        .comparison = "group 1 minus group 2",
        .matchedEstimate = "mean of the difference scores",
        .nullWord = "zero",
        .nullNumber = "0",
        .noEffect = "no difference",
        .units = "raw units",
    };
    return scale;
}

const EffectScale& ratioOfMeans() {
    static const EffectScale scale{
        .name = "ratio",
        .toTestScale = logarithm,
        .fromTestScale = exponential,
        .nullValue = 1,
        .effect = "ratio",
        .effects = "ratios",
        .symbol = "R",
        .estimate = "ratio of the means",
        .comparison = "group 1 over group 2",
        .matchedEstimate = "ratio of the means of the pairs' scores",
        .nullWord = "one",
        .nullNumber = "1",
        .noEffect = "a ratio of 1",
        .units = "percent of the mean of group 2",
    };
    return scale;
}

std::string capitalised(std::string_view words) {
    std::string text(words);
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

}  // namespace tarnwick::report
