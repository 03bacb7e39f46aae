#pragma once
// The question a test of two means is asked: at which alpha, against which
// bounds (in raw or standardised units), with which standard error, and in
// which direction. The defaults are the calculator's: alpha = .05, bounds of
// -delta and +delta from the non-trivial difference in raw units, the pooled
// standard error, and the equivalence test. Standard C++ only, so that the
// report, the planner and every front end share one type.

#include <optional>
#include <string>

#include "conclusion.h"
#include "numbered_error.h"

namespace tarnwick::settings {

enum class BoundUnits {
    raw,  // the bounds are differences in the scores' units
    sd,   // the bounds are multiples of the SD that standardises d
};

enum class StandardError {
    pooled,  // the calculator's: s delta, with the df the df option chose
    welch,   // Welch's own: sqrt(SD1^2/n1 + SD2^2/n2) with Welch's df (independent samples)
};

enum class Hypothesis {
    equivalence,    // H0: the difference lies outside the bounds (the two one-sided tests)
    minimalEffect,  // H0: the difference lies within the bounds
    // The one-sided questions: one margin, and the direction in which larger
    // or smaller effects are better (Better). With larger better:
    nonInferiority,  // H1: the effect lies above the margin (worse by less than it)
    nonSuperiority,  // H1: the effect lies below the margin (better by less than it)
    superiority,     // H1: the effect lies above the margin (better by at least it)
};

// The direction in which an effect is better, for the one-sided questions:
// with `lower`, every "above" of Hypothesis reads "below" and the reverse.
enum class Better {
    higher,
    lower,
};

// Which side of the margin a one-sided question's alternative lies on.
enum class Side {
    above,  // H1: effect > margin; the lower one-sided test of the pair, at the margin
    below,  // H1: effect < margin; the upper one-sided test, at the margin
};

constexpr bool isOneSided(Hypothesis hypothesis) {
    return hypothesis == Hypothesis::nonInferiority || hypothesis == Hypothesis::nonSuperiority ||
           hypothesis == Hypothesis::superiority;
}

constexpr Side alternativeSide(Hypothesis hypothesis, Better better) {
    const bool aboveWhenHigher = hypothesis != Hypothesis::nonSuperiority;
    return aboveWhenHigher == (better == Better::higher) ? Side::above : Side::below;
}

// The scale the effect is measured on. On the ratio scale the bounds are
// ratios (0 < lower < upper, 0.80 and 1.25 when none are given) and the test
// runs on the logs; the difference scale is the calculator's own.
enum class Scale {
    difference,  // mean 1 minus mean 2, bounds in the scores' units
    ratio,       // mean 1 over mean 2, bounds as ratios
};

struct Bounds {
    double lower = 0, upper = 0;
    friend bool operator==(const Bounds&, const Bounds&) = default;
};

inline constexpr double calculatorAlpha = 0.05;
// A one-sided question's alpha when none is given: the regulators' .025,
// whose decision is read off the two-sided 95% interval.
inline constexpr double oneSidedAlpha = 0.025;

// The alpha a question takes when none is given.
constexpr double defaultAlpha(Hypothesis hypothesis) {
    return isOneSided(hypothesis) ? oneSidedAlpha : calculatorAlpha;
}

struct TestSettings {
    double alpha = calculatorAlpha;  // each one-sided test's level, 0 < alpha < 0.5
    // Absent: -delta and +delta from the non-trivial difference.
    std::optional<Bounds> bounds = std::nullopt;
    BoundUnits units = BoundUnits::raw;
    StandardError standardError = StandardError::pooled;
    Hypothesis hypothesis = Hypothesis::equivalence;
    Scale scale = Scale::difference;
    // A one-sided question's margin, in the bounds' units (a ratio on the
    // ratio scale); absent: marginOrDefault() says which. Two-sided
    // questions take bounds and no margin.
    std::optional<double> margin = std::nullopt;
    Better better = Better::higher;
    friend bool operator==(const TestSettings&, const TestSettings&) = default;
};

// The numbers of SettingsError, one per kind of setting that cannot be used;
// the test settings' own range, 201 to 299, shared by no other room.
namespace error {
constexpr int alpha = 201;             // alpha not above 0 and below 0.5
constexpr int bounds = 202;            // a bound not finite, or lower >= upper
constexpr int sd = 203;                // bounds in SD units where that SD is not positive
constexpr int alphaText = 204;         // alpha typed as something other than a number
constexpr int boundText = 205;         // a bound typed as something other than a finite number
constexpr int boundNotPositive = 206;  // a symmetric bound E (-E and +E) not above 0
constexpr int boundMissing = 207;      // one bound of a pair given without the other
constexpr int unknownWord = 208;       // a column's word that is none of its choices
constexpr int ratioBound = 209;        // a ratio bound not above 0
constexpr int ratioUnits = 210;        // ratio bounds in SD units
constexpr int ratioReference = 211;    // a ratio of means where group 2's mean is not above 0
constexpr int ratioSds = 212;          // matched SDs that no correlation in [-1, 1] fits
constexpr int marginSide = 213;        // a margin on the wrong side of no effect for the question
constexpr int marginText = 214;        // a margin typed as something other than a finite number
constexpr int marginMissing = 215;     // a one-sided question with no margin and none to default to
constexpr int marginOrBounds = 216;  // a margin with a two-sided question, bounds with a one-sided
}  // namespace error

// A setting that cannot be used: a number for programs, one sentence for people.
class SettingsError : public NumberedError<int> {
public:
    using NumberedError::NumberedError;
};

// Throws SettingsError when alpha or the given bounds cannot be used. On the
// ratio scale the bounds are ratios: finite, 0 < lower < upper, and in the
// units they are given in (never SD units). A one-sided question takes a
// margin and no bounds, a two-sided one bounds and no margin (marginOrBounds);
// the margin is finite (marginText), above 0 on the ratio scale (ratioBound),
// and on its question's side of no effect (marginSide): non-inferiority's on
// the worse side, non-superiority's on the better, superiority's on the
// better side or at no effect.
void check(const TestSettings& settings);

// The effect of no difference on the scale: 0 for a difference, 1 for a ratio.
constexpr double noEffect(Scale scale) { return scale == Scale::ratio ? 1.0 : 0.0; }

// A one-sided question's margin: the one given, else the default. The
// default lies on the side of no effect the question needs: superiority's
// is no effect itself; non-inferiority's and non-superiority's are the
// usual 0.80 or 1.25 on the ratio scale and -delta or +delta on the
// difference scale (absent when no delta was entered). Nullopt for a
// two-sided question.
std::optional<double> marginOrDefault(const TestSettings& settings, std::optional<double> delta);

// The bounds a one-sided question is tested with by an analysis that runs
// the two one-sided tests: the margin, and the other bound at the end of
// the scale (+-infinity, or 0 and +infinity on the ratio scale), so that
// only the margin's test can decide. The margin is in the units the
// analysis tests in.
Bounds oneSidedBounds(double margin, Side side, Scale scale);

// The one-sided decision's names: the hypothesis shown, or not shown.
TostDecision oneSidedDecision(Hypothesis hypothesis, bool shown);

// The ratio bounds when none are given: 80% and 125% of group 2's mean.
inline constexpr Bounds defaultRatioBounds{0.80, 1.25};

// The ratio scale's bounds: the given ones, else defaultRatioBounds.
Bounds ratioBounds(const TestSettings& settings);

// The sentence of error::alpha, naming the alpha given as `shown`.
std::string alphaSentence(const std::string& shown);

// The raw bounds for a standardiser: the bounds times sd in SD units, the
// bounds themselves in raw units. `sdName` names the SD in the sentence of
// the SettingsError (error::sd) thrown when sd is not positive and finite.
Bounds rawBounds(const TestSettings& settings, Bounds given, double sd, const std::string& sdName);

// Whether these settings ask exactly the calculator's question of a run
// whose non-trivial difference was `delta` (absent when none was entered):
// bounds given as -delta and +delta are the calculator's own.
bool areTheCalculators(const TestSettings& settings, std::optional<double> delta);

}  // namespace tarnwick::settings
