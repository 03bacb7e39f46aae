#include "one_sided_words.h"

namespace tarnwick::settings {
namespace {

// "by more than 0.5" on the difference scale, where the margin's size is
// what a person says; "beyond the margin 0.8" on the ratio scale, where a
// ratio has no size of its own. Empty for superiority at no effect.
std::string byTheMargin(const TestSettings& settings, const std::string& margin) {
    const bool atNoEffect =
        settings.margin.value_or(noEffect(settings.scale)) == noEffect(settings.scale);
    if (settings.hypothesis == Hypothesis::superiority && atNoEffect) return "";
    if (settings.scale == Scale::ratio) return " beyond the margin " + margin;
    return " by more than " + (margin.starts_with('-') ? margin.substr(1) : margin);
}

}  // namespace

std::string_view hypothesisWord(Hypothesis hypothesis) {
    switch (hypothesis) {
        case Hypothesis::equivalence:
            return "equivalence";
        case Hypothesis::minimalEffect:
            return "minimal_effect";
        case Hypothesis::nonInferiority:
            return "non_inferiority";
        case Hypothesis::nonSuperiority:
            return "non_superiority";
        case Hypothesis::superiority:
            return "superiority";
    }
    return "equivalence";
}

std::string_view betterWord(Better better) { return better == Better::lower ? "lower" : "higher"; }

std::string_view hypothesisTitle(Hypothesis hypothesis) {
    switch (hypothesis) {
        case Hypothesis::equivalence:
            return "Equivalence";
        case Hypothesis::minimalEffect:
            return "Minimal effect";
        case Hypothesis::nonInferiority:
            return "Non-inferiority";
        case Hypothesis::nonSuperiority:
            return "Non-superiority";
        case Hypothesis::superiority:
            return "Superiority";
    }
    return "Equivalence";
}

std::string hypothesisNoun(Hypothesis hypothesis) {
    std::string noun(hypothesisTitle(hypothesis));
    noun[0] = static_cast<char>(noun[0] - 'A' + 'a');
    return noun;
}

std::string oneSidedConclusion(const TestSettings& settings, const OneSidedShown& numbers,
                               bool shown) {
    const Side side = alternativeSide(settings.hypothesis, settings.better);
    const std::string endName = side == Side::above ? "lower" : "upper";
    const std::string beyond = side == Side::above ? "above" : "below";
    std::string claim;
    switch (settings.hypothesis) {
        case Hypothesis::nonSuperiority:
            claim = "not superior";
            break;
        case Hypothesis::superiority:
            claim = "superior";
            break;
        case Hypothesis::nonInferiority:
        case Hypothesis::equivalence:
        case Hypothesis::minimalEffect:
            claim = "not inferior";
            break;
    }
    claim += byTheMargin(settings, numbers.margin);
    const std::string interval = "the " + numbers.level + " interval";
    if (numbers.end.empty()) {
        return (shown ? claim : "not shown to be " + claim) + ": " + interval + " has no " +
               endName + " end";
    }
    const std::string end = "the " + endName + " end of " + interval + ", " + numbers.end + ", ";
    if (shown) return claim + ": " + end + "lies " + beyond + " " + numbers.margin;
    return "not shown to be " + claim + ": " + end + "does not lie " + beyond + " " +
           numbers.margin;
}

}  // namespace tarnwick::settings
