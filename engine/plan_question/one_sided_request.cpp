#include "one_sided_request.h"

#include <string>

#include "one_sided_words.h"

namespace tarnwick::planner {

double settledMargin(settings::Hypothesis hypothesis, std::optional<double> given,
                     settings::Better better, double alpha, settings::Scale scale,
                     bool boundsGiven) {
    settings::TestSettings s;
    s.alpha = alpha;
    s.hypothesis = hypothesis;
    s.better = better;
    s.scale = scale;
    // Any valid pair: only that bounds were given matters to the check.
    if (boundsGiven) s.bounds = settings::Bounds{0.5, 2};
    s.margin = given ? given : settings::marginOrDefault(s, std::nullopt);
    if (!s.margin) {
        const std::string name = settings::hypothesisNoun(hypothesis);
        throw settings::SettingsError(
            settings::error::marginMissing,
            "A " + name + " question needs a margin, a difference such as -0.5.");
    }
    settings::check(s);
    return *s.margin;
}

void refuseMargin(settings::Hypothesis hypothesis, double alpha) {
    settings::TestSettings s;
    s.alpha = alpha;
    s.hypothesis = hypothesis;
    s.margin = 0;
    settings::check(s);
}

}  // namespace tarnwick::planner
