// The closed forms of be_reported.h on the house t distribution.

#include "be_reported.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <numeric>
#include <string>

#include "be_checks.h"
#include "t_distribution.h"

namespace tarnwick::be {
namespace {

[[noreturn]] void refuse(int number, const std::string& sentence) {
    throw plan::PlanError(number, sentence);
}

bool positiveFinite(double x) { return x > 0 && std::isfinite(x); }

double upperTail(double t, double df) {
    const double tail = TDistribution::instance().TailProbability(t, df, 1);
    return t >= 0 ? tail : 1 - tail;
}

double criticalValue(double alpha, double df) {
    return TDistribution::instance().CriticalValue(alpha, df, 1);
}

double totalOf(const std::vector<long>& sizes) {
    return static_cast<double>(std::accumulate(sizes.begin(), sizes.end(), 0L));
}

void checkAlpha(double alpha) {
    if (!(alpha > 0 && alpha < 0.5)) {
        refuse(error::alpha, "Alpha must lie strictly between 0 and 0.5.");
    }
}

// The one test at the margin; the bounds shown are the margin and the
// scale's end on the other side (0 or infinity), whose test p is 0. The
// rule on the rounded ends is the equivalence conclusion's: an end on the
// margin, rounded, counts as within it.
void oneSided(const BeStudy& study, double logEstimate, ReportedInterval& r) {
    const bool above =
        settings::alternativeSide(study.hypothesis, study.better) == settings::Side::above;
    const double t = (logEstimate - std::log(study.margin)) / r.standardError;
    r.pOneSided = upperTail(above ? t : -t, r.df);
    const double marginPercent = percentToTwoDecimals(study.margin);
    r.oneSidedShown = above ? r.lowPercent >= marginPercent : r.highPercent <= marginPercent;
    r.lowerPercent = above ? marginPercent : 0;
    r.upperPercent = above ? std::numeric_limits<double>::infinity() : marginPercent;
    r.pLower = above ? r.pOneSided : 0;
    r.pUpper = above ? 0 : r.pOneSided;
    r.equivalent = r.oneSidedShown;
}

}  // namespace

double percentToTwoDecimals(double ratio) {
    // The digits of the shortest text d1 d2 ... dk and its exponent e
    // (ratio = 0.d1d2...dk 10^e); the percent to two decimals keeps the
    // first e + 4 digits and rounds on the next one.
    char text[32];
    const auto [end, problem] =
        std::to_chars(text, text + sizeof text, std::fabs(ratio), std::chars_format::scientific);
    if (problem != std::errc() || !std::isfinite(ratio)) return ratio * 100;
    const std::string scientific(text, end);
    const std::size_t e = scientific.find('e');
    std::string digits = scientific.substr(0, e);
    digits.erase(std::remove(digits.begin(), digits.end(), '.'), digits.end());
    const int exponent = std::stoi(scientific.substr(e + 1)) + 1;
    const int kept = exponent + 4;
    if (kept < 0) return 0;
    double value = 0;
    for (int i = 0; i < kept; ++i) {
        value = value * 10 + (i < static_cast<int>(digits.size()) ? digits[i] - '0' : 0);
    }
    if (kept < static_cast<int>(digits.size()) && digits[static_cast<std::size_t>(kept)] >= '5') {
        value += 1;
    }
    return std::copysign(value / 100, ratio);
}

ReportedInterval intervalFromReport(const BeStudy& study, double estimate,
                                    const std::vector<long>& sequenceSizes) {
    BeStudy ratioStudy = study;
    ratioStudy.scale = Scale::ratio;
    ratioStudy.ratio0 = 1;  // not used here
    checkStudy(ratioStudy);
    if (!positiveFinite(estimate)) {
        refuse(error::estimate,
               "The point estimate (the ratio of geometric means) must be a "
               "positive finite number.");
    }
    checkSequenceSizes(study.design, sequenceSizes);
    ReportedInterval r;
    r.df = degreesOfFreedom(study.design, static_cast<long>(totalOf(sequenceSizes)));
    r.standardError = logScaleSd(study.cv) * std::sqrt(designConstant(study.design, sequenceSizes));
    const double logEstimate = std::log(estimate);
    const double halfWidth = criticalValue(study.alpha, r.df) * r.standardError;
    r.low = std::exp(logEstimate - halfWidth);
    r.high = std::exp(logEstimate + halfWidth);
    r.pLower = upperTail((logEstimate - std::log(study.lower)) / r.standardError, r.df);
    r.pUpper = upperTail((std::log(study.upper) - logEstimate) / r.standardError, r.df);
    r.lowPercent = percentToTwoDecimals(r.low);
    r.highPercent = percentToTwoDecimals(r.high);
    if (settings::isOneSided(study.hypothesis)) {
        oneSided(study, logEstimate, r);
        return r;
    }
    r.lowerPercent = percentToTwoDecimals(study.lower);
    r.upperPercent = percentToTwoDecimals(study.upper);
    r.equivalent = r.lowPercent >= r.lowerPercent && r.highPercent <= r.upperPercent;
    return r;
}

double cvFromInterval(BeDesign design, double alpha, double low, double high,
                      const std::vector<long>& sequenceSizes) {
    checkAlpha(alpha);
    if (!(positiveFinite(low) && positiveFinite(high) && low < high)) {
        refuse(error::interval,
               "The interval's ends must be positive finite ratios, the lower "
               "below the upper.");
    }
    checkSequenceSizes(design, sequenceSizes);
    const double df = degreesOfFreedom(design, static_cast<long>(totalOf(sequenceSizes)));
    const double se = (std::log(high) - std::log(low)) / (2 * criticalValue(alpha, df));
    // sqrt(exp(x) - 1) without the loss of digits of exp at small x.
    return std::sqrt(std::expm1(se * se / designConstant(design, sequenceSizes)));
}

}  // namespace tarnwick::be
