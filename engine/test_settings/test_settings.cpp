#include "test_settings.h"

#include <cmath>
#include <limits>
#include <utility>

#include "shortest_text.h"

namespace tarnwick::settings {
namespace {

// The setting named as it was given (shortest_text.h).
std::string text(double value) { return number_text::shortestText(value); }

}  // namespace

std::string alphaSentence(const std::string& shown) {
    return "Alpha must lie above 0 and below 0.5 (it is each one-sided test's level), not " +
           shown + ".";
}

namespace {

const char* questionName(Hypothesis hypothesis) {
    switch (hypothesis) {
        case Hypothesis::nonInferiority:
            return "non-inferiority";
        case Hypothesis::nonSuperiority:
            return "non-superiority";
        case Hypothesis::superiority:
            return "superiority";
        case Hypothesis::equivalence:
        case Hypothesis::minimalEffect:
            break;
    }
    return "two-sided";
}

// Whether the margin lies on the side of no effect the question needs:
// non-inferiority's on the worse side, non-superiority's on the better side,
// superiority's on the better side or at no effect itself.
bool marginOnItsSide(const TestSettings& settings, double margin) {
    const double none = noEffect(settings.scale);
    const double better = settings.better == Better::higher ? margin - none : none - margin;
    switch (settings.hypothesis) {
        case Hypothesis::nonInferiority:
            return better < 0;
        case Hypothesis::nonSuperiority:
            return better > 0;
        case Hypothesis::superiority:
            return better >= 0;
        case Hypothesis::equivalence:
        case Hypothesis::minimalEffect:
            break;
    }
    return true;
}

// The question's sentence for a margin on the wrong side: what its margin
// means, and the margin or the question the person may have meant. Asked,
// never flipped: a sign typed wrongly and a question chosen wrongly look alike.
std::string marginSideSentence(const TestSettings& settings, double margin) {
    const bool ratio = settings.scale == Scale::ratio;
    const std::string none = ratio ? "1" : "0";
    const bool higher = settings.better == Better::higher;
    const std::string betterSide = higher ? "above" : "below";
    const std::string worseSide = higher ? "below" : "above";
    const std::string larger = higher ? "larger" : "smaller";
    const std::string given = text(margin);
    const bool atNone = margin == noEffect(settings.scale);
    const std::string mirror = atNone ? "" : text(ratio ? 1 / margin : -margin);
    const std::string name = questionName(settings.hypothesis);
    std::string sentence = "A " + name + " margin lies ";
    switch (settings.hypothesis) {
        case Hypothesis::nonInferiority:
            sentence += worseSide + " " + none + " when " + larger +
                        " effects are better (how much worse the effect may be), and " + given +
                        " does not: ";
            return sentence +
                   (atNone ? "for any improvement at all ask superiority."
                           : "did you mean " + mirror + ", or superiority by " + given + "?");
        case Hypothesis::nonSuperiority:
            sentence += betterSide + " " + none + " when " + larger +
                        " effects are better (how much better the effect may be), and " + given +
                        " does not: ";
            return sentence +
                   (atNone ? "give how much better the effect may be."
                           : "did you mean " + mirror + ", or non-inferiority by " + given + "?");
        case Hypothesis::superiority:
            sentence += "at or " + betterSide + " " + none + " when " + larger +
                        " effects are better (how much better the effect must be), and " + given +
                        " does not: did you mean " + mirror + ", or non-inferiority by " + given +
                        "?";
            return sentence;
        case Hypothesis::equivalence:
        case Hypothesis::minimalEffect:
            break;
    }
    return sentence;
}

void checkMargin(const TestSettings& settings) {
    const bool oneSided = isOneSided(settings.hypothesis);
    if (oneSided && settings.bounds) {
        throw SettingsError(error::marginOrBounds,
                            std::string("A ") + questionName(settings.hypothesis) +
                                " question takes one margin, not a lower and an upper bound.");
    }
    if (!oneSided && settings.margin) {
        throw SettingsError(error::marginOrBounds,
                            "A margin belongs to a one-sided question (non-inferiority, "
                            "non-superiority or superiority); this question takes a lower and "
                            "an upper bound.");
    }
    if (!settings.margin) return;
    const double margin = *settings.margin;
    if (!std::isfinite(margin)) {
        throw SettingsError(error::marginText,
                            "The margin must be a finite number, not " + text(margin) + ".");
    }
    if (settings.scale == Scale::ratio && !(margin > 0)) {
        throw SettingsError(
            error::ratioBound,
            "A ratio margin must lie above 0, and the margin is " + text(margin) + ".");
    }
    if (!marginOnItsSide(settings, margin))
        throw SettingsError(error::marginSide, marginSideSentence(settings, margin));
}

}  // namespace

void check(const TestSettings& settings) {
    if (!(settings.alpha > 0 && settings.alpha < 0.5))
        throw SettingsError(error::alpha, alphaSentence(text(settings.alpha)));
    const bool ratio = settings.scale == Scale::ratio;
    if (ratio && settings.units == BoundUnits::sd) {
        throw SettingsError(error::ratioUnits,
                            "Bounds on the ratio scale are ratios of the means, not SD units.");
    }
    checkMargin(settings);
    if (!settings.bounds) return;
    const Bounds& b = *settings.bounds;
    for (const auto& [value, name] : {std::pair{b.lower, "lower"}, std::pair{b.upper, "upper"}}) {
        if (!std::isfinite(value)) {
            throw SettingsError(error::bounds, std::string("The ") + name +
                                                   " bound must be a finite number, not " +
                                                   text(value) + ".");
        }
    }
    if (ratio) {
        for (const auto& [value, name] :
             {std::pair{b.lower, "lower"}, std::pair{b.upper, "upper"}}) {
            if (!(value > 0)) {
                throw SettingsError(error::ratioBound,
                                    std::string("A ratio bound must lie above 0, and the ") + name +
                                        " bound is " + text(value) + ".");
            }
        }
    }
    if (!(b.lower < b.upper)) {
        throw SettingsError(error::bounds,
                            "The lower bound must lie below the upper bound; the "
                            "lower bound is " +
                                text(b.lower) + " and the upper bound " + text(b.upper) + ".");
    }
}

Bounds rawBounds(const TestSettings& settings, Bounds given, double sd, const std::string& sdName) {
    if (settings.units == BoundUnits::raw) return given;
    if (!(sd > 0) || !std::isfinite(sd)) {
        throw SettingsError(error::sd,
                            "Bounds in SD units need a positive SD to convert them "
                            "with, and " +
                                sdName + " is " + text(sd) + ".");
    }
    const Bounds raw{given.lower * sd, given.upper * sd};
    if (!std::isfinite(raw.lower) || !std::isfinite(raw.upper)) {
        throw SettingsError(error::bounds, "The bounds in SD units times " + sdName + " overflow.");
    }
    return raw;
}

std::optional<double> marginOrDefault(const TestSettings& settings, std::optional<double> delta) {
    if (!isOneSided(settings.hypothesis)) return std::nullopt;
    if (settings.margin) return settings.margin;
    const bool ratio = settings.scale == Scale::ratio;
    if (settings.hypothesis == Hypothesis::superiority) return noEffect(settings.scale);
    // Non-inferiority's margin lies on the worse side, non-superiority's on the better.
    const bool aboveNoEffect =
        (settings.hypothesis == Hypothesis::nonSuperiority) == (settings.better == Better::higher);
    if (ratio) return aboveNoEffect ? defaultRatioBounds.upper : defaultRatioBounds.lower;
    if (!delta) return std::nullopt;
    return aboveNoEffect ? std::abs(*delta) : -std::abs(*delta);
}

Bounds oneSidedBounds(double margin, Side side, Scale scale) {
    constexpr double infinity = std::numeric_limits<double>::infinity();
    if (side == Side::above) return Bounds{margin, infinity};
    return Bounds{scale == Scale::ratio ? 0.0 : -infinity, margin};
}

TostDecision oneSidedDecision(Hypothesis hypothesis, bool shown) {
    switch (hypothesis) {
        case Hypothesis::nonSuperiority:
            return shown ? TostDecision::nonSuperior : TostDecision::notShownNonSuperior;
        case Hypothesis::superiority:
            return shown ? TostDecision::superior : TostDecision::notShownSuperior;
        case Hypothesis::nonInferiority:
        case Hypothesis::equivalence:
        case Hypothesis::minimalEffect:
            break;
    }
    return shown ? TostDecision::nonInferior : TostDecision::notShownNonInferior;
}

Bounds ratioBounds(const TestSettings& settings) {
    return settings.bounds ? *settings.bounds : defaultRatioBounds;
}

bool areTheCalculators(const TestSettings& settings, std::optional<double> delta) {
    if (settings.scale != Scale::difference || settings.alpha != calculatorAlpha ||
        settings.units != BoundUnits::raw || settings.standardError != StandardError::pooled ||
        settings.hypothesis != Hypothesis::equivalence) {
        return false;
    }
    if (!settings.bounds) return true;
    return delta && settings.bounds->lower == -*delta && settings.bounds->upper == *delta;
}

}  // namespace tarnwick::settings
