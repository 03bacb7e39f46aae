#include "test_settings.h"

#include <cmath>
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

void check(const TestSettings& settings) {
    if (!(settings.alpha > 0 && settings.alpha < 0.5))
        throw SettingsError(error::alpha, alphaSentence(text(settings.alpha)));
    const bool ratio = settings.scale == Scale::ratio;
    if (ratio && settings.units == BoundUnits::sd) {
        throw SettingsError(error::ratioUnits,
                            "Bounds on the ratio scale are ratios of the means, not SD units.");
    }
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
