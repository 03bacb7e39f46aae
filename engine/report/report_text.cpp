// The report as sentences in the style equivalence tests are written up in:
// every interval says its level (the 90% or the 95% one at alpha = .05), each one-sided
// test is labelled by its null hypothesis, every number says which standard
// error and df it used, and "equivalent and different" is worded so that it
// does not read as a contradiction.

#include "report_text.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "apa_format.h"
#include "one_sided_words.h"
#include "shown_digits.h"

namespace tarnwick::report {
namespace {

using apa::number;

// Statistics (t, d, g) to 2 decimals, as APA writes them.
constexpr int statisticDecimals = 2;

std::string statistic(double value) { return number(value, statisticDecimals); }

// What the report's own settings make of the sentences: alpha, which
// question is asked, and the effect's scale, whose words fill the sentences.
struct Asked {
    double alpha = settings::calculatorAlpha;
    bool minimalEffect = false;
    const EffectScale* scale = &differenceOfMeans();
    settings::TestSettings settings;
    std::string effect() const { return std::string(scale->effect); }    // "difference"
    std::string effects() const { return std::string(scale->effects); }  // "differences"
    std::string the() const { return "the " + effect(); }
    std::string The() const { return "The " + effect(); }
    std::string nullWord() const { return std::string(scale->nullWord); }  // "zero"
    std::string units() const { return std::string(scale->units); }        // "raw units"
    std::string tostLevel() const { return apa::percent(1 - 2 * alpha) + "%"; }
    std::string testLevel() const { return apa::percent(1 - alpha) + "%"; }
};

Asked askedOf(const Report& report) {
    return {report.settings.alpha,
            report.settings.hypothesis == settings::Hypothesis::minimalEffect, report.scale,
            report.settings};
}

std::string couldNotBeComputed(const Value& value) {
    return "could not be computed because " + value.whyMissing;
}

// "[-0.55, 2.55]", both ends with the decimals that keep either off a
// threshold it is not on (a bound, or zero), and the two apart (which
// scientific notation's fewer decimals could merge).
int intervalDecimals(double low, double high, int decimals,
                     std::initializer_list<double> thresholds) {
    return std::max({apa::decimalsApartFrom(low, decimals, thresholds),
                     apa::decimalsApartFrom(high, decimals, thresholds),
                     apa::decimalsApartFrom(low, decimals, {high})});
}

std::string interval(double low, double high, int decimals,
                     std::initializer_list<double> thresholds) {
    const int d = intervalDecimals(low, high, decimals, thresholds);
    return "[" + number(low, d) + ", " + number(high, d) + "]";
}

const Value& firstMissing(const Value& a, const Value& b) { return a ? b : a; }

// "t(18) = -2.24, p = .019"
std::string tTest(double t, double df, const Value& p, double level = apa::significanceLevel) {
    const std::string stat = "t(" + apa::degreesOfFreedom(df) + ") = " + statistic(t);
    return p ? stat + ", " + apa::pValue(*p.value, level) : stat + ", p " + couldNotBeComputed(p);
}

std::string heading(const DesignReport& r) {
    if (r.design == Design::matched) return "Matched samples (paired t)";
    return r.ordinary.welch ? "Independent samples (Welch's t)"
                            : "Independent samples (Student's t)";
}

// d and g are d_z and g_z when standardised by the SD of the difference scores.
std::string effectName(const DesignReport& r, const char* letter) {
    return r.design == Design::matched ? std::string(letter) + "_z" : std::string(letter);
}

std::string differenceSentence(const DesignReport& r, const ReportInputs& in, const Asked& asked,
                               int raw) {
    const EffectScale& scale = *asked.scale;
    const std::string estimate = std::string(scale.symbol) + " = " + number(r.difference, raw);
    if (r.design == Design::matched) {
        return "The " + std::string(scale.matchedEstimate) + " is " + estimate +
               ", with an SD of the difference scores of " + in.sdMatched + " over " + in.n1 +
               " pairs. ";
    }
    const std::string sd =
        r.effect.sd ? "is " + number(*r.effect.sd.value, raw) : couldNotBeComputed(r.effect.sd);
    return "The " + std::string(scale.estimate) + " (" + std::string(scale.comparison) + ") is " +
           estimate + "; the pooled SD " + sd + ". ";
}

// Bounds as entered, to as many decimals as that takes (up to 8).
int boundDecimals(const EquivalenceTest& eq, int raw) {
    // Converted bounds are products, not entries: they get the raw decimals.
    if (eq.boundsConverted) return raw;
    return apa::decimalsForExact(eq.boundHigh, raw);
}

int bothBoundDecimals(const EquivalenceTest& eq, int raw) {
    if (eq.boundsConverted) return raw;
    return std::max(apa::decimalsForExact(eq.boundLow, raw), boundDecimals(eq, raw));
}

std::string standardiserName(const DesignReport& r) {
    return r.design == Design::matched ? "the SD of the difference scores" : "the pooled SD";
}

// Bounds the report's settings gave: raw ones as set, or standardised ones
// with the raw bounds their conversion gives and what that conversion means.
std::string setBoundsSentences(const DesignReport& r, const ReportInputs& in, const Report& rep,
                               int raw) {
    const EquivalenceTest& eq = *r.equivalence;
    const Asked asked = askedOf(rep);
    const int bd = bothBoundDecimals(eq, raw);
    const std::string which =
        asked.minimalEffect ? "The bounds of the minimal-effect test" : "The equivalence bounds";
    const std::string origin =
        eq.boundsFromDelta ? " from the non-trivial difference entered (" + in.notTrivial + ")"
                           : " as set for this report";
    const std::string rawBounds = number(eq.boundLow, bd) + " and " + number(eq.boundHigh, bd);
    if (rep.settings.units == settings::BoundUnits::sd) {
        const settings::Bounds given = rep.settings.bounds
                                           ? *rep.settings.bounds
                                           : settings::Bounds{-eq.boundHigh / *r.effect.sd.value,
                                                              eq.boundHigh / *r.effect.sd.value};
        const int gd = std::max(apa::decimalsForExact(given.lower, statisticDecimals),
                                apa::decimalsForExact(given.upper, statisticDecimals));
        return which + " were given in SD units" + origin + ", " + effectName(r, "d") + " = " +
               number(given.lower, gd) + " and " + number(given.upper, gd) + "; converted with " +
               standardiserName(r) + " (" + number(*r.effect.sd.value, raw) + ") they are " +
               rawBounds + " in " + asked.units() +
               ". Standardised bounds depend on the observed SD: another sample "
               "would give other raw bounds, so the test's error rates are not exactly alpha. ";
    }
    const std::string standardised =
        eq.boundDLow && eq.boundDHigh
            ? "standardised by " + standardiserName(r) + " they are " + effectName(r, "d") + " = " +
                  statistic(*eq.boundDLow.value) + " and " + statistic(*eq.boundDHigh.value) +
                  " (standardised bounds depend on the observed SD)"
            : "standardised by " + standardiserName(r) + " they " +
                  couldNotBeComputed(firstMissing(eq.boundDLow, eq.boundDHigh));
    return which + " are " + rawBounds + " in " + asked.units() + origin + "; " + standardised +
           ". ";
}

std::string boundsSentences(const DesignReport& r, const ReportInputs& in, const Report& rep,
                            int raw) {
    if (!rep.calculatorSettings) return setBoundsSentences(r, in, rep, raw);
    const EquivalenceTest& eq = *r.equivalence;
    const Asked asked = askedOf(rep);
    const int bd = boundDecimals(eq, raw);
    const std::string standardiser = standardiserName(r);
    const std::string standardised =
        eq.boundDLow && eq.boundDHigh
            ? "standardised by " + standardiser + " they are " + effectName(r, "d") + " = " +
                  statistic(*eq.boundDLow.value) + " and " + statistic(*eq.boundDHigh.value) +
                  " (standardised bounds depend on the observed SD)"
            : "standardised by " + standardiser + " they " +
                  couldNotBeComputed(firstMissing(eq.boundDLow, eq.boundDHigh));
    std::string text = "The equivalence bounds are " + number(eq.boundLow, bd) + " and " +
                       number(eq.boundHigh, bd) + " in " + asked.units() +
                       ", from the non-trivial difference entered (" + in.notTrivial + "); " +
                       standardised + ". ";
    if (eq.boundLow > eq.boundHigh) {
        text +=
            "The non-trivial difference entered is negative, so the lower bound lies above the "
            "upper one: no " +
            asked.effect() +
            " can lie between them, and the verdict is non-trivial whatever the data. ";
    } else if (eq.boundLow == eq.boundHigh) {
        text +=
            "A non-trivial difference of 0 leaves no room between the bounds, so the verdict is "
            "non-trivial whatever the data. ";
    }
    return text;
}

// Which standard error and df the tests divide by; `divide` and `use` are
// the verbs with their subject ("Both divide", "use"; "It divides", "uses").
std::string standardErrorSentence(const DesignReport& r, int raw, const std::string& divide,
                                  const std::string& use) {
    const EquivalenceTest& eq = *r.equivalence;
    if (eq.welchStandardError) {
        return divide + " by Welch's standard error, sqrt(SD1^2/n1 + SD2^2/n2) = " +
               number(eq.standardError, raw) + ", and " + use + " Welch's df, " +
               apa::degreesOfFreedom(eq.df) + " (critical t " + number(eq.crit95, 3) + "). ";
    }
    if (r.design == Design::matched) {
        return divide + " by the standard error of the mean difference, SD / sqrt(N) = " +
               number(eq.standardError, raw) + ", and " + use +
               " N - 1 = " + apa::degreesOfFreedom(eq.df) + " df (critical t " +
               number(eq.crit95, 3) + "). ";
    }
    return divide + " by the pooled standard error (s delta = " + number(eq.standardError, raw) +
           ") whatever df option is chosen; the option sets only " +
           (divide.starts_with("Both") ? "their" : "its") + " df, here " +
           (r.ordinary.welch ? "Welch's df, " : "Student's df, ") + apa::degreesOfFreedom(eq.df) +
           " (critical t " + number(eq.crit95, 3) + "). ";
}

std::string methodSentence(const DesignReport& r, const Asked& asked, int raw) {
    const std::string tests =
        asked.minimalEffect
            ? "The minimal-effect test asks whether " + asked.the() +
                  " lies beyond a bound: two one-sided t tests (alpha = " +
                  apa::level(asked.alpha) + " each) compare " + asked.the() +
                  " with each bound, in the reverse direction to the equivalence test's. "
            : "Two one-sided t tests (TOST, alpha = " + apa::level(asked.alpha) + ") compare " +
                  asked.the() + " with each bound. ";
    return tests + standardErrorSentence(r, raw, "Both divide", "use");
}

std::string oneSidedSentences(const EquivalenceTest& eq, const Asked& asked, int raw) {
    const int bd = bothBoundDecimals(eq, raw);
    if (asked.minimalEffect) {
        return "Against the lower bound (H0: " + asked.effect() + " >= " + number(eq.boundLow, bd) +
               "): " + tTest(eq.tLower, eq.df, eq.pMetLower, asked.alpha) +
               ". Against the upper bound (H0: " + asked.effect() +
               " <= " + number(eq.boundHigh, bd) +
               "): " + tTest(eq.tUpper, eq.df, eq.pMetUpper, asked.alpha) + ". ";
    }
    return "Against the upper bound (H0: " + asked.effect() + " >= " + number(eq.boundHigh, bd) +
           "): " + tTest(eq.tUpper, eq.df, eq.pUpper, asked.alpha) +
           ". Against the lower bound (H0: " + asked.effect() + " <= " + number(eq.boundLow, bd) +
           "): " + tTest(eq.tLower, eq.df, eq.pLower, asked.alpha) + ". ";
}

// The minimal-effect test is the reversed test with the smaller p; its
// interval says on which side of the bounds the difference lies.
std::string minimalEffectSentence(const EquivalenceTest& eq, const Asked& asked, int raw) {
    const bool lowerHasSmallerP =
        !eq.pMetUpper || (eq.pMetLower && *eq.pMetLower.value <= *eq.pMetUpper.value);
    const std::string test = lowerHasSmallerP ? tTest(eq.tLower, eq.df, eq.pMetLower, asked.alpha)
                                              : tTest(eq.tUpper, eq.df, eq.pMetUpper, asked.alpha);
    const std::string opening =
        "The minimal-effect test (the reversed one-sided test with the "
        "smaller p, against the " +
        std::string(lowerHasSmallerP ? "lower" : "upper") + " bound) is " +
        (eq.beyondBounds ? "significant, " : "not significant, ") + test;
    const std::string rejected = asked.effects() + " within the bounds can be rejected";
    const std::string name = "the " + asked.tostLevel() + " CI of " + asked.the();
    if (!eq.ciTostLow || !eq.ciTostHigh) {
        const std::string why =
            name + " " + couldNotBeComputed(firstMissing(eq.ciTostLow, eq.ciTostHigh)) + ". ";
        return opening + (eq.beyondBounds ? ", so " + rejected + "; " : "; ") + why;
    }
    const std::string ci =
        interval(*eq.ciTostLow.value, *eq.ciTostHigh.value,
                 std::max(raw, bothBoundDecimals(eq, raw)), {eq.boundLow, eq.boundHigh});
    if (eq.beyondBounds) {
        const std::string side =
            eq.tLower < eq.crit05 ? "lies below the lower bound" : "lies above the upper bound";
        return opening + ": " + name + ", " + ci + ", " + side + ", so " + rejected + ". ";
    }
    return opening + ": " + name + ", " + ci + ", does not lie beyond either bound. ";
}

std::string equivalenceSentence(const EquivalenceTest& eq, const Asked& asked, int raw) {
    if (asked.minimalEffect) return minimalEffectSentence(eq, asked, raw);
    const bool upperHasLargerP = !eq.pLower || (eq.pUpper && *eq.pUpper.value >= *eq.pLower.value);
    const std::string test = upperHasLargerP ? tTest(eq.tUpper, eq.df, eq.pUpper, asked.alpha)
                                             : tTest(eq.tLower, eq.df, eq.pLower, asked.alpha);
    const std::string opening =
        "The equivalence test (the one-sided test with the larger p, "
        "against the " +
        std::string(upperHasLargerP ? "upper" : "lower") + " bound) is " +
        (eq.trivial ? "significant, " : "not significant, ") + test;
    const std::string rejected = asked.effects() + " as large as the bounds can be rejected";
    const std::string name = "the " + asked.tostLevel() + " CI of " + asked.the();
    if (!eq.ciTostLow || !eq.ciTostHigh) {
        const std::string why =
            name + " " + couldNotBeComputed(firstMissing(eq.ciTostLow, eq.ciTostHigh)) + ". ";
        return opening + (eq.trivial ? ", so " + rejected + "; " : "; ") + why;
    }
    const std::string ci =
        interval(*eq.ciTostLow.value, *eq.ciTostHigh.value,
                 std::max(raw, bothBoundDecimals(eq, raw)), {eq.boundLow, eq.boundHigh});
    if (eq.trivial) {
        return opening + ": " + name + ", " + ci + ", lies inside the bounds, so " + rejected +
               ". ";
    }
    return opening + ": " + name + ", " + ci + ", does not lie inside the bounds. ";
}

std::string ordinarySentence(const DesignReport& r, const Asked& asked, int raw) {
    const OrdinaryTest& o = r.ordinary;
    const std::string kind =
        r.design == Design::matched
            ? "the paired t test"
            : (o.welch ? "Welch's t test, unpooled standard error and Welch's df"
                       : "Student's t test, pooled standard error and n1 + n2 - 2 df");
    const std::string ci = o.ciTestLow && o.ciTestHigh
                               ? ", " + asked.testLevel() + " CI of " + asked.the() + " " +
                                     interval(*o.ciTestLow.value, *o.ciTestHigh.value, raw, {0.0})
                               : "; the " + asked.testLevel() + " CI of " + asked.the() + " " +
                                     couldNotBeComputed(firstMissing(o.ciTestLow, o.ciTestHigh));
    const std::string sign =
        o.tSignFromNegativeSd ? "; its t has the opposite sign to " + asked.the() +
                                    " because the SD of the difference scores entered is negative"
                              : "";
    return "The ordinary test of " + std::string(asked.scale->noEffect) + " (" + kind + ") is " +
           (o.p2 < asked.alpha ? "significant, " : "not significant, ") +
           tTest(o.t, o.df, Value::of(o.p2), asked.alpha) + ci + sign + ". ";
}

std::string effectSentence(const DesignReport& r, const Asked& asked) {
    const EffectSize& e = r.effect;
    std::string text = "Cohen's " + effectName(r, "d");
    if (!e.d) {
        text += " " + couldNotBeComputed(e.d);
    } else if (e.dCiTostLow && e.dCiTostHigh) {
        text += " = " + statistic(*e.d.value) + ", " + asked.tostLevel() + " CI [" +
                statistic(*e.dCiTostLow.value) + ", " + statistic(*e.dCiTostHigh.value) + "]";
    } else {
        text += " = " + statistic(*e.d.value) + " (its " + asked.tostLevel() + " CI " +
                couldNotBeComputed(firstMissing(e.dCiTostLow, e.dCiTostHigh)) + ")";
    }
    text += "; Hedges' " + effectName(r, "g");
    text += e.g ? " = " + statistic(*e.g.value) : " " + couldNotBeComputed(e.g);
    return text + ". ";
}

// What the design could detect, said so that it cannot be read as the power
// to detect the observed difference. The bounds are found ones, so they are
// rounded outward as every planning answer is: never narrower than found.
std::string sensitivitySentence(const DesignReport& r, const Asked& asked) {
    const Sensitivity& s = r.sensitivity;
    const std::string lead =
        "Sensitivity (what this design could detect, not post-hoc power of the observed " +
        asked.effect() + "): ";
    if (!s.bound80 || !s.bound90) {
        return lead + "the smallest bounds with 80% and 90% power to conclude equivalence " +
               couldNotBeComputed(firstMissing(s.bound80, s.bound90)) + ". ";
    }
    // With Welch's df the bounds are still Student's (see report.h), and the
    // sentence says so, since the tests above took Welch's.
    const std::string sizes =
        r.design == Design::matched ? "these pairs and the observed SD of the difference scores"
        : r.ordinary.welch
            ? "these group sizes and the pooled SD (with Student's n1 + n2 - 2 df, not the "
              "Welch df of the tests above)"
            : "these group sizes and the pooled SD";
    const auto bounds = [&](double bound) {
        const std::string outward = plan::boundRoundedOutward(bound);
        return "-" + outward + " and " + outward;
    };
    // The minimal-effect test has no such bounds (report.h): the sentence
    // names the test they belong to, so they are not read as its own.
    const std::string tests = asked.minimalEffect ? "the equivalence test's two one-sided tests"
                                                  : "the two one-sided tests";
    return lead + "with " + sizes + ", " + tests + " at alpha = " + apa::level(asked.alpha) +
           " would have 80% power to conclude equivalence within bounds of " +
           bounds(*s.bound80.value) + ", and 90% power within " + bounds(*s.bound90.value) +
           ", if the true " + asked.effect() + " were " + std::string(asked.scale->nullNumber) +
           (asked.minimalEffect
                ? " (the minimal-effect test has no such bounds: at a true " + asked.effect() +
                      " of " + std::string(asked.scale->nullNumber) + " its null hypothesis holds)"
                : "") +
           ". ";
}

// A one-sided question's conclusion names its margin and the end of the
// interval that decides (`numbers`, as the report printed them), in the
// words every report shares (one_sided_words.h).
std::string conclusionSentence(Conclusion conclusion, const Asked& asked,
                               const settings::OneSidedShown* numbers = nullptr) {
    const std::string fromNull = "different from " + asked.nullWord();
    switch (conclusion) {
        case Conclusion::equivalent:
            return "Conclusion: equivalent and not " + fromNull + ". " + asked.The() +
                   " is statistically smaller than the bounds (equivalent), and it is not "
                   "statistically " +
                   fromNull + ".";
        case Conclusion::equivalentAndDifferent:
            return "Conclusion: equivalent, and " + fromNull + ". " + asked.The() +
                   " is statistically smaller than the bounds (equivalent), and it is also "
                   "statistically " +
                   fromNull + ": a real but negligible " + asked.effect() + ".";
        case Conclusion::different:
            return "Conclusion: " + fromNull + " and not equivalent. " + asked.The() +
                   " is statistically " + fromNull + ", and " + asked.effects() +
                   " as large as the bounds cannot be rejected.";
        case Conclusion::inconclusive:
            return "Conclusion: inconclusive. " + asked.The() +
                   " is neither statistically smaller than the bounds nor statistically " +
                   fromNull + ".";
        case Conclusion::beyondBoundsAndDifferent:
            return "Conclusion: beyond the bounds, and " + fromNull + ". " + asked.The() +
                   " lies statistically beyond the bounds (a " + asked.effect() +
                   " that matters), and it is statistically " + fromNull + ".";
        case Conclusion::beyondBounds:
            return "Conclusion: beyond the bounds, but not " + fromNull + ". " + asked.The() +
                   " is statistically beyond a bound, yet the ordinary test does not find it "
                   "statistically " +
                   fromNull + ".";
        case Conclusion::differentNotBeyondBounds:
            return "Conclusion: " + fromNull + ", but not beyond the bounds. " + asked.The() +
                   " is statistically " + fromNull + ", and " + asked.effects() +
                   " within the bounds cannot be rejected.";
        case Conclusion::nonInferior:
        case Conclusion::notShownNonInferior:
        case Conclusion::nonSuperior:
        case Conclusion::notShownNonSuperior:
        case Conclusion::superior:
        case Conclusion::notShownSuperior:
            if (!numbers) return "Conclusion: " + conclusionLabel(conclusion, *asked.scale) + ".";
            return "Conclusion: " + conclusionLabel(conclusion, *asked.scale) + ". " +
                   capitalised(
                       settings::oneSidedConclusion(asked.settings, *numbers,
                                                    conclusion == Conclusion::nonInferior ||
                                                        conclusion == Conclusion::nonSuperior ||
                                                        conclusion == Conclusion::superior)) +
                   ".";
    }
    return {};
}

// The inconclusive sentence of the minimal-effect test names its own question.
std::string minimalEffectInconclusive(const Asked& asked) {
    return "Conclusion: inconclusive. " + asked.The() +
           " is neither statistically beyond the bounds nor statistically different from " +
           asked.nullWord() + ".";
}

// The ratio scale's sentences: ratios to 3 decimals (bounds as entered),
// each also in percent of group 2's mean to 2 decimals, and Fieller's
// interval named with its shape when it is not one bounded interval.
constexpr int ratioDecimals = 3;

std::string inPercent(double ratio) { return number(100 * ratio, 2) + "%"; }

std::string ratioNumber(double ratio) { return number(ratio, ratioDecimals); }

std::string ratioBounds(const EquivalenceTest& eq) {
    const int bd =
        std::max(apa::decimalsForExact(eq.boundLow, 2), apa::decimalsForExact(eq.boundHigh, 2));
    return number(eq.boundLow, bd) + " and " + number(eq.boundHigh, bd) + " (" +
           inPercent(eq.boundLow) + " and " + inPercent(eq.boundHigh) + " of the mean of group 2)";
}

// "[0.912, 1.104] (91.20% to 110.40%)", or what the interval is when unbounded.
std::string ratioInterval(const fieller::Interval& shape, const Value& low, const Value& high,
                          std::initializer_list<double> thresholds, const std::string& name) {
    if (shape.shape != fieller::Shape::bounded)
        return name + " " + fieller::unboundedSentence(shape, ratioNumber);
    if (!low || !high) return name + " " + couldNotBeComputed(firstMissing(low, high));
    const std::string ends = interval(*low.value, *high.value, ratioDecimals, thresholds);
    return name + " is " + ends + " (" + inPercent(*low.value) + " to " + inPercent(*high.value) +
           ")";
}

std::string ratioEstimateSentence(const DesignReport& r, const Report& rep) {
    const EffectScale& scale = *rep.scale;
    std::string text = "The " + std::string(scale.estimate) + " (" + std::string(scale.comparison) +
                       ") is " + std::string(scale.symbol) + " = " + ratioNumber(r.difference) +
                       " (" + inPercent(r.difference) + ")";
    if (r.design == Design::matched) text += ", from the means of the two groups of scores";
    const EquivalenceTest& eq = *r.equivalence;
    const std::string which = rep.settings.hypothesis == settings::Hypothesis::minimalEffect
                                  ? "The bounds of the minimal-effect test"
                                  : "The equivalence bounds";
    return text + ". " + which + " are " + ratioBounds(eq) +
           (settings::ratioBounds(rep.settings) == settings::defaultRatioBounds
                ? ", the usual ones. "
                : ", as set for this report. ");
}

// The standard error of m1 - theta m2 and its df, as the ratio's method
// sentences name them.
std::string ratioStandardErrorName(const DesignReport& r) {
    const EquivalenceTest& eq = *r.equivalence;
    return r.design == Design::matched ? "from the two SDs and the SD of the difference scores, "
                                         "sqrt((SD1^2 + theta^2 SD2^2 - "
                                         "theta (SD1^2 + SD2^2 - SDd^2)) / N); N - 1 = " +
                                             apa::degreesOfFreedom(eq.df) + " df"
           : eq.welchStandardError
               ? "Welch's, sqrt(SD1^2/n1 + theta^2 SD2^2/n2); Welch's df at the estimate, " +
                     apa::degreesOfFreedom(eq.df)
               : "from the pooled variance, sqrt(sp^2 (1/n1 + theta^2/n2)); n1 + n2 - 2 = " +
                     apa::degreesOfFreedom(eq.df) + " df";
}

std::string ratioMethodSentence(const DesignReport& r, const Asked& asked) {
    const EquivalenceTest& eq = *r.equivalence;
    const std::string se = ratioStandardErrorName(r);
    const std::string direction =
        asked.minimalEffect ? ", in the reverse direction to the equivalence test's" : "";
    return "Fieller's interval for the ratio of means: two one-sided t tests (alpha = " +
           apa::level(asked.alpha) +
           " each) compare the ratio with each bound theta through m1 - theta m2" + direction +
           ", divided by its standard error at that bound (" + se + "; critical t " +
           number(eq.crit95, 3) + "): " + ratioNumber(eq.standardErrorLower) +
           " at the lower bound and " + ratioNumber(eq.standardError) + " at the upper. ";
}

std::string ratioIntervalSentence(const EquivalenceTest& eq, const Asked& asked) {
    const std::string name = "the " + asked.tostLevel() + " CI of the ratio (Fieller's)";
    const std::string ci = ratioInterval(eq.ciTostShape, eq.ciTostLow, eq.ciTostHigh,
                                         {eq.boundLow, eq.boundHigh}, name);
    if (asked.minimalEffect) {
        const bool lowerHasSmallerP =
            !eq.pMetUpper || (eq.pMetLower && *eq.pMetLower.value <= *eq.pMetUpper.value);
        const std::string test = lowerHasSmallerP
                                     ? tTest(eq.tLower, eq.df, eq.pMetLower, asked.alpha)
                                     : tTest(eq.tUpper, eq.df, eq.pMetUpper, asked.alpha);
        return "The minimal-effect test (the reversed one-sided test with the smaller p, against "
               "the " +
               std::string(lowerHasSmallerP ? "lower" : "upper") + " bound) is " +
               (eq.beyondBounds ? "significant, " : "not significant, ") + test + ": " + ci +
               (eq.beyondBounds ? ", so ratios within the bounds can be rejected. "
                                : ", and ratios within the bounds cannot be rejected. ");
    }
    const bool upperHasLargerP = !eq.pLower || (eq.pUpper && *eq.pUpper.value >= *eq.pLower.value);
    const std::string test = upperHasLargerP ? tTest(eq.tUpper, eq.df, eq.pUpper, asked.alpha)
                                             : tTest(eq.tLower, eq.df, eq.pLower, asked.alpha);
    return "The equivalence test (the one-sided test with the larger p, against the " +
           std::string(upperHasLargerP ? "upper" : "lower") + " bound) is " +
           (eq.trivial ? "significant, " : "not significant, ") + test + ": " + ci +
           (eq.trivial ? ", so ratios as large as the bounds can be rejected. "
                       : ", and ratios as large as the bounds cannot be rejected. ");
}

std::string ratioOrdinarySentence(const DesignReport& r, const Asked& asked) {
    const OrdinaryTest& o = r.ordinary;
    const std::string kind =
        r.design == Design::matched
            ? "the paired t test of the two groups' means"
            : (o.welch ? "Welch's t test, unpooled standard error and Welch's df"
                       : "Student's t test, pooled standard error and n1 + n2 - 2 df");
    const std::string ci =
        ratioInterval(o.ciTestShape, o.ciTestLow, o.ciTestHigh, {1.0},
                      "the " + asked.testLevel() + " CI of the ratio (Fieller's)");
    return "The ordinary test of a ratio of 1, that is of equal means (" + kind + "), is " +
           (o.p2 < asked.alpha ? "significant, " : "not significant, ") +
           tTest(o.t, o.df, Value::of(o.p2), asked.alpha) + "; " + ci + ". ";
}

// The words of a one-sided question's report, on either scale.
std::string lowerFirst(std::string_view words) {
    std::string text(words);
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z')
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    return text;
}

// "The non-inferiority margin"
std::string marginName(const Report& rep) {
    return "The " + lowerFirst(settings::hypothesisTitle(rep.settings.hypothesis)) + " margin";
}

// "Larger differences are better."
std::string directionSentence(const Asked& asked) {
    return std::string(asked.settings.better == settings::Better::higher ? "Larger " : "Smaller ") +
           asked.effects() + " are better. ";
}

// "(H0: difference <= -0.5)"
std::string marginNull(const MarginTest& m, const Asked& asked, const std::string& margin) {
    return "(H0: " + asked.effect() + (m.side == settings::Side::above ? " <= " : " >= ") + margin +
           ")";
}

std::string marginTestOpening(const MarginTest& m, const EquivalenceTest& eq, const Asked& asked,
                              const std::string& margin) {
    const bool significant = m.side == settings::Side::above ? m.t > eq.crit95 : m.t < eq.crit05;
    const std::string opening =
        "The one-sided test against the margin " + marginNull(m, asked, margin) + " is ";
    // Fieller's T can pass its critical value at a margin that his interval
    // has no end beside (group 2's mean not clearly away from 0): no
    // conclusion rests on that.
    if (significant && !m.shown) {
        return opening + "significant by itself, " + tTest(m.t, eq.df, m.p, asked.alpha) +
               ", but shows nothing while the interval has no " +
               (m.side == settings::Side::above ? "lower" : "upper") + " end";
    }
    return opening + (m.shown ? "significant, " : "not significant, ") +
           tTest(m.t, eq.df, m.p, asked.alpha);
}

// The margin of a difference as entered, or with the raw decimals when it
// was converted from SD units.
int marginDecimals(const EquivalenceTest& eq, int raw) {
    return eq.boundsConverted ? raw : apa::decimalsForExact(eq.oneSided->margin, raw);
}

std::string marginSentences(const DesignReport& r, const ReportInputs& in, const Report& rep,
                            int raw) {
    const EquivalenceTest& eq = *r.equivalence;
    const MarginTest& m = *eq.oneSided;
    const Asked asked = askedOf(rep);
    const std::string origin =
        m.fromDelta           ? " from the non-trivial difference entered (" + in.notTrivial + ")"
        : rep.settings.margin ? " as set for this report"
                              : ", no effect (the default)";
    const std::string margin = number(m.margin, marginDecimals(eq, raw));
    if (rep.settings.units == settings::BoundUnits::sd) {
        const double given =
            rep.settings.margin ? *rep.settings.margin : m.margin / *r.effect.sd.value;
        return marginName(rep) + " was given in SD units" + origin + ", " + effectName(r, "d") +
               " = " + number(given, apa::decimalsForExact(given, statisticDecimals)) +
               "; converted with " + standardiserName(r) + " (" + number(*r.effect.sd.value, raw) +
               ") it is " + margin + " in " + asked.units() +
               ". A standardised margin depends on the observed SD: another sample would give "
               "another raw margin, so the test's error rate is not exactly alpha. " +
               directionSentence(asked);
    }
    const Value& d = m.side == settings::Side::above ? eq.boundDLow : eq.boundDHigh;
    const std::string standardised =
        d ? "standardised by " + standardiserName(r) + " it is " + effectName(r, "d") + " = " +
                statistic(*d.value) + " (a standardised margin depends on the observed SD)"
          : "standardised by " + standardiserName(r) + " it " + couldNotBeComputed(d);
    return marginName(rep) + " is " + margin + " in " + asked.units() + origin + "; " +
           standardised + ". " + directionSentence(asked);
}

// The test at the margin and the interval, and the numbers the conclusion
// names, as printed.
std::string marginTestSentences(const DesignReport& r, const Asked& asked, int raw,
                                settings::OneSidedShown& numbers) {
    const EquivalenceTest& eq = *r.equivalence;
    const MarginTest& m = *eq.oneSided;
    const int md = marginDecimals(eq, raw);
    numbers.margin = number(m.margin, md);
    numbers.level = asked.tostLevel();
    const std::string lead = "A one-sided t test (alpha = " + apa::level(asked.alpha) +
                             ") compares " + asked.the() + " with the margin. " +
                             standardErrorSentence(r, raw, "It divides", "uses");
    const std::string opening = marginTestOpening(m, eq, asked, numbers.margin);
    const std::string name = "the " + asked.tostLevel() + " CI of " + asked.the();
    if (!eq.ciTostLow || !eq.ciTostHigh) {
        return lead + opening + "; " + name + " " +
               couldNotBeComputed(firstMissing(eq.ciTostLow, eq.ciTostHigh)) + ". ";
    }
    const double low = *eq.ciTostLow.value, high = *eq.ciTostHigh.value;
    const int d = intervalDecimals(low, high, std::max(raw, md), {m.margin});
    numbers.end = number(m.side == settings::Side::above ? low : high, d);
    return lead + opening + ": " + name + " is [" + number(low, d) + ", " + number(high, d) + "]. ";
}

std::string oneSidedDesignText(const DesignReport& r, const ReportInputs& in, const Report& rep,
                               const auto& line) {
    const Asked asked = askedOf(rep);
    const int raw = apa::rawDecimals(r.ordinary.standardError);
    settings::OneSidedShown numbers;
    std::string text =
        line(differenceSentence(r, in, asked, raw) + marginSentences(r, in, rep, raw));
    text += line(marginTestSentences(r, asked, raw, numbers));
    text += line(ordinarySentence(r, asked, raw) + effectSentence(r, asked));
    if (r.conclusion) text += line(conclusionSentence(*r.conclusion, asked, &numbers));
    return text;
}

// Two lines: the estimate and the margin; the test and the interval.
std::pair<std::string, std::string> ratioMarginSentences(const DesignReport& r, const Report& rep,
                                                         const Asked& asked,
                                                         settings::OneSidedShown& numbers) {
    const EquivalenceTest& eq = *r.equivalence;
    const MarginTest& m = *eq.oneSided;
    const EffectScale& scale = *rep.scale;
    numbers.margin = number(m.margin, apa::decimalsForExact(m.margin, 2));
    numbers.level = asked.tostLevel();
    std::string estimate = "The " + std::string(scale.estimate) + " (" +
                           std::string(scale.comparison) + ") is " + std::string(scale.symbol) +
                           " = " + ratioNumber(r.difference) + " (" + inPercent(r.difference) + ")";
    if (r.design == Design::matched) estimate += ", from the means of the two groups of scores";
    const std::string origin = rep.settings.margin ? ", as set for this report"
                               : rep.settings.hypothesis == settings::Hypothesis::superiority
                                   ? ", no effect (the default)"
                                   : ", the usual one";
    const std::string first = estimate + ". " + marginName(rep) + " is " + numbers.margin + " (" +
                              inPercent(m.margin) + " of the mean of group 2)" + origin + ". " +
                              directionSentence(asked);
    const std::string method =
        "Fieller's test of the ratio against the margin: a one-sided t test (alpha = " +
        apa::level(asked.alpha) +
        ") compares the ratio with the margin theta through m1 - theta m2, divided by its "
        "standard error at the margin (" +
        ratioStandardErrorName(r) + "; critical t " + number(eq.crit95, 3) +
        "): " + ratioNumber(eq.standardError) + ". ";
    const fieller::Interval& shape = eq.ciTostShape;
    const bool above = m.side == settings::Side::above;
    const std::string name = "the " + asked.tostLevel() + " CI of the ratio (Fieller's)";
    if (shape.shape == fieller::Shape::bounded && eq.ciTostLow && eq.ciTostHigh) {
        const int d = intervalDecimals(shape.low, shape.high, ratioDecimals, {m.margin});
        numbers.end = number(above ? shape.low : shape.high, d);
    } else if (shape.shape == (above ? fieller::Shape::fromLow : fieller::Shape::toHigh)) {
        numbers.end = ratioNumber(above ? shape.low : shape.high);
    }
    const std::string ci = eq.oneSided->p
                               ? ratioInterval(shape, eq.ciTostLow, eq.ciTostHigh, {m.margin}, name)
                               : name + " " + couldNotBeComputed(eq.oneSided->p);
    return {first, method + marginTestOpening(m, eq, asked, numbers.margin) + ": " + ci + ". "};
}

std::string ratioDesignText(const DesignReport& r, const Report& rep) {
    const Asked asked = askedOf(rep);
    const auto line = [](std::string sentences) {
        while (sentences.ends_with(' ') || sentences.ends_with(','))
            sentences.pop_back();
        return sentences + "\n";
    };
    const std::string heading = r.design == Design::matched ? "Matched samples (paired t)"
                                : r.equivalence->welchStandardError || r.ordinary.welch
                                    ? "Independent samples (Welch's t)"
                                    : "Independent samples (Student's t)";
    std::string text = heading + "\n";
    if (r.equivalence && r.equivalence->oneSided) {
        settings::OneSidedShown numbers;
        const auto [estimate, test] = ratioMarginSentences(r, rep, asked, numbers);
        text += line(estimate);
        text += line(test);
        text += line(ratioOrdinarySentence(r, asked));
        if (r.conclusion) text += line(conclusionSentence(*r.conclusion, asked, &numbers));
        return text;
    }
    text += line(ratioEstimateSentence(r, rep));
    text += line(ratioMethodSentence(r, asked) + oneSidedSentences(*r.equivalence, asked, 2) +
                 ratioIntervalSentence(*r.equivalence, asked));
    text += line(ratioOrdinarySentence(r, asked));
    if (r.conclusion) {
        text += line(asked.minimalEffect && *r.conclusion == Conclusion::inconclusive
                         ? minimalEffectInconclusive(asked)
                         : conclusionSentence(*r.conclusion, asked));
    }
    return text;
}

std::string designText(const DesignReport& r, const ReportInputs& in, const Report& rep) {
    if (rep.settings.scale == settings::Scale::ratio) return ratioDesignText(r, rep);
    const Asked asked = askedOf(rep);
    const int raw = apa::rawDecimals(r.ordinary.standardError);
    // One line for each step of the argument, so that a reader of the window
    // can find each; each line is whole sentences, ready to paste.
    const auto line = [](std::string sentences) {
        while (sentences.ends_with(' '))
            sentences.pop_back();
        return sentences + "\n";
    };
    std::string text = heading(r) + "\n";
    if (r.equivalence && r.equivalence->oneSided)
        return text + oneSidedDesignText(r, in, rep, line);
    if (r.equivalence) {
        text += line(differenceSentence(r, in, asked, raw) + boundsSentences(r, in, rep, raw));
        text += line(methodSentence(r, asked, raw) + oneSidedSentences(*r.equivalence, asked, raw) +
                     equivalenceSentence(*r.equivalence, asked, raw));
    } else {
        text += line(differenceSentence(r, in, asked, raw) + r.whyNoEquivalence);
    }
    text += line(ordinarySentence(r, asked, raw) + effectSentence(r, asked));
    text += line(sensitivitySentence(r, asked));
    if (r.conclusion) {
        text += line(asked.minimalEffect && *r.conclusion == Conclusion::inconclusive
                         ? minimalEffectInconclusive(asked)
                         : conclusionSentence(*r.conclusion, asked));
    }
    return text;
}

}  // namespace

std::string inputsLine(const ReportInputs& in) {
    std::string line = "Inputs: group 1 mean " + in.mean1 + ", SD " + in.sd1 + ", n " + in.n1 +
                       "; group 2 mean " + in.mean2 + ", SD " + in.sd2 + ", n " + in.n2 +
                       "; non-trivial difference " +
                       (in.notTrivial.empty() ? std::string("not entered") : in.notTrivial);
    if (in.matched) {
        line += "; matched samples, mean of the difference scores " + in.meanDiff +
                ", SD of the difference scores " + in.sdMatched;
    } else {
        line += "; independent samples";
    }
    return line + "; " + (in.welch ? "Welch's" : "Student's") + " df option.";
}

std::string runLine(const ReportInputs& in) {
    if (in.latestRunStopped)
        return "This is the report of an earlier run; the latest run stopped with a message.";
    if (in.boxesChangedSince)
        return "Report of the last run that ended with results. The boxes have been changed "
               "since: the calculator's results and verdict are still those of this run, whose "
               "inputs follow.";
    return "Report of the last run that ended with results.";
}

std::string settingsNotice(const Report& report) {
    if (report.calculatorSettings) return {};
    const settings::TestSettings& s = report.settings;
    std::vector<std::string> parts;
    if (s.alpha != settings::calculatorAlpha) parts.push_back("alpha = " + apa::level(s.alpha));
    const auto exact = [](double x) { return apa::number(x, apa::decimalsForExact(x, 0)); };
    const bool sdUnits = s.units == settings::BoundUnits::sd;
    if (settings::isOneSided(s.hypothesis)) {
        const std::string question = lowerFirst(settings::hypothesisTitle(s.hypothesis));
        const std::string effects = s.scale == settings::Scale::ratio ? "ratios" : "differences";
        const std::string margin =
            s.margin ? "a margin of " + exact(*s.margin) + (sdUnits ? " in SD units" : "")
            : s.scale == settings::Scale::ratio || s.hypothesis == settings::Hypothesis::superiority
                ? "the default margin"
                : "a margin from the non-trivial difference" +
                      std::string(sdUnits ? " in SD units" : "");
        parts.push_back(std::string(s.scale == settings::Scale::ratio
                                        ? "the ratio of the means (group 1 over group 2), "
                                        : "") +
                        "the " + question + " question against " + margin + " (" +
                        (s.better == settings::Better::higher ? "larger " : "smaller ") + effects +
                        " better)");
    } else if (s.scale == settings::Scale::ratio) {
        const settings::Bounds b = settings::ratioBounds(s);
        parts.push_back("the ratio of the means (group 1 over group 2) against bounds of " +
                        exact(b.lower) + " and " + exact(b.upper));
    } else if (s.bounds) {
        parts.push_back("bounds of " + exact(s.bounds->lower) + " and " + exact(s.bounds->upper) +
                        (sdUnits ? " in SD units" : ""));
    } else if (sdUnits) {
        parts.push_back("bounds of minus and plus the non-trivial difference in SD units");
    }
    if (s.standardError == settings::StandardError::welch)
        parts.push_back("Welch's standard error and df for independent samples");
    if (s.hypothesis == settings::Hypothesis::minimalEffect)
        parts.push_back("the minimal-effect test");
    std::string list;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        list += (i == 0 ? "" : i + 1 == parts.size() ? " and " : ", ") + parts[i];
    }
    return "This report's settings differ from the calculator's: " + list +
           ". The calculator's boxes and verdict are for alpha = .05 and bounds of minus and "
           "plus the non-trivial difference.";
}

std::string reportText(const Report& report, const ReportInputs& inputs) {
    std::string text = "Tarnwick report, alpha = " + apa::level(report.settings.alpha) + "\n" +
                       inputsLine(inputs) + "\n";
    const std::string notice = settingsNotice(report);
    if (!notice.empty()) text += notice + "\n";
    text += "\n" + designText(report.independent, inputs, report);
    if (report.matched) text += "\n" + designText(*report.matched, inputs, report);
    return text;
}

std::string conclusionLabel(const std::optional<Conclusion>& conclusion, const EffectScale& scale) {
    if (!conclusion) return "no bounds";
    const std::string fromNull = "different from " + std::string(scale.nullWord);
    switch (*conclusion) {
        case Conclusion::equivalent:
            return "equivalent";
        case Conclusion::equivalentAndDifferent:
            return "equivalent, but " + fromNull;
        case Conclusion::different:
            return "different, not equivalent";
        case Conclusion::inconclusive:
            return "inconclusive";
        case Conclusion::beyondBoundsAndDifferent:
            return "beyond the bounds, and " + fromNull;
        case Conclusion::beyondBounds:
            return "beyond the bounds, not " + fromNull;
        case Conclusion::differentNotBeyondBounds:
            return "different, not beyond the bounds";
        case Conclusion::nonInferior:
            return "not inferior";
        case Conclusion::notShownNonInferior:
            return "not shown to be not inferior";
        case Conclusion::nonSuperior:
            return "not superior";
        case Conclusion::notShownNonSuperior:
            return "not shown to be not superior";
        case Conclusion::superior:
            return "superior";
        case Conclusion::notShownSuperior:
            return "not shown to be superior";
    }
    return {};
}

}  // namespace tarnwick::report
