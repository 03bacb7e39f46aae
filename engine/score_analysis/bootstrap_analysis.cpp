#include "bootstrap_analysis.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "index_draw.h"
#include "score_checks.h"
#include "score_error.h"
#include "score_moments.h"

namespace tarnwick::score_analysis {
namespace {

constexpr long mostReplicates = 10'000'000;

// A group's scores less their mean, scaled by a common power of two so
// that no square overflows: t* does not change with the scale.
std::vector<double> centred(std::span<const double> scores, double mean) {
    std::vector<double> c(scores.size());
    for (std::size_t i = 0; i < scores.size(); ++i)
        c[i] = finiteOrTooLarge(scores[i] - mean, "a deviation from the mean");
    return c;
}

void scale(std::vector<double>& c, int exponent) {
    for (double& x : c)
        x = std::ldexp(x, -exponent);
}

int exponentOfLargest(const std::vector<double>& a, const std::vector<double>& b) {
    double largest = 0;
    for (const double x : a)
        largest = std::max(largest, std::fabs(x));
    for (const double x : b)
        largest = std::max(largest, std::fabs(x));
    int exponent = 0;
    std::frexp(largest, &exponent);
    return exponent;
}

// sqrt(a^2 + b^2) for a, b >= 0 without overflow and with the same bits
// everywhere: std::hypot's last bit is left to each C library, while
// scaling by a power of two is exact and sqrt correctly rounded.
double hypotenuse(double a, double b) {
    const double larger = std::max(a, b);
    if (larger == 0) return 0;
    int exponent = 0;
    std::frexp(larger, &exponent);
    const double sa = std::ldexp(a, -exponent), sb = std::ldexp(b, -exponent);
    return std::ldexp(std::sqrt(sa * sa + sb * sb), exponent);
}

struct Resample {
    double mean = 0;      // of the centred scores drawn, so D* - D is a difference of these
    double variance = 0;  // sample variance of the scores drawn
};

// One pass: the scores are centred at their mean, so the sum of squares
// loses next to nothing to the square of the (small) resampled mean. A
// resample of one score repeated has a variance of exactly 0, not the
// rounding error of the pass.
Resample resample(const std::vector<double>& c, std::mt19937_64& engine) {
    const std::uint64_t n = c.size();
    double sum = 0, squares = 0;
    const double first = c[uniformIndex(engine, n)];
    bool allSame = true;
    sum += first;
    squares += first * first;
    for (std::uint64_t k = 1; k < n; ++k) {
        const double x = c[uniformIndex(engine, n)];
        allSame = allSame && x == first;
        sum += x;
        squares += x * x;
    }
    const double count = static_cast<double>(n);
    if (allSame) return {first, 0};
    return {sum / count, std::max(0.0, squares - sum * sum / count) / (count - 1)};
}

// Calls the progress callback about every 2^16 scores drawn, so that a
// watcher hears often enough however large the groups, at no cost to small ones.
class ProgressCalls {
public:
    ProgressCalls(const BootstrapSettings& bootstrap, std::size_t drawsPerReplicate)
        : progress_(bootstrap.progress),
          replicates_(bootstrap.replicates),
          every_(std::max<std::size_t>(
              1, (std::size_t{1} << 16) / std::max<std::size_t>(1, drawsPerReplicate))) {}
    // Before replicate `done` (counting from 0); throws when told to stop.
    void before(std::size_t done) const {
        if (progress_ && done % every_ == 0 && !progress_(static_cast<long>(done), replicates_))
            throw BootstrapStopped();
    }

private:
    const BootstrapProgress& progress_;
    long replicates_;
    std::size_t every_;
};

double studentised(double difference, double se, long& flat) {
    if (se > 0) return difference / se;
    ++flat;
    return difference > 0 ? HUGE_VAL : difference < 0 ? -HUGE_VAL : 0;
}

// m: the largest count with (m + 1) / (B + 1) < alpha, evaluated as the p
// values are, so that the interval and the tests agree.
long quantileCount(long replicates, double alpha) {
    const auto p = [replicates](long count) {
        return (static_cast<double>(count) + 1) / (static_cast<double>(replicates) + 1);
    };
    long m = static_cast<long>(std::floor(alpha * (static_cast<double>(replicates) + 1))) - 1;
    while (p(m + 1) < alpha)
        ++m;
    while (m >= 0 && !(p(m) < alpha))
        --m;
    return m;
}

void checkBootstrap(const BootstrapSettings& bootstrap, double alpha) {
    if (bootstrap.replicates < 1 || bootstrap.replicates > mostReplicates ||
        quantileCount(bootstrap.replicates, alpha) < 0)
        throw ScoreError(ScoreErrorNumber::invalidSettings,
                         "The bootstrap needs more replicates than " +
                             std::to_string(bootstrap.replicates) +
                             " for this alpha (1 / (B + 1) must be below alpha), and at most " +
                             std::to_string(mostReplicates) + ".");
}

std::string ordinal(long n) {
    const long lastTwo = n % 100, last = n % 10;
    const char* suffix = (lastTwo >= 11 && lastTwo <= 13) ? "th"
                         : last == 1                      ? "st"
                         : last == 2                      ? "nd"
                         : last == 3                      ? "rd"
                                                          : "th";
    return std::to_string(n) + suffix;
}

// The p values, interval and notes from the sorted replicates.
ScoreResult fromReplicates(std::vector<double>& t, double estimate, double se, long flat,
                           const ScoreSettings& settings, const BootstrapSettings& bootstrap) {
    std::sort(t.begin(), t.end());
    const long b = bootstrap.replicates;
    const auto p = [b](std::ptrdiff_t count) {
        return (static_cast<double>(count) + 1) / (static_cast<double>(b) + 1);
    };
    ScoreResult result;
    result.estimate = estimate;
    MethodNotes& notes = result.notes;
    const double tLower = finiteOrTooLarge((estimate - settings.lower) / se, "a t statistic");
    const double tUpper = finiteOrTooLarge((estimate - settings.upper) / se, "a t statistic");
    notes.lower.statistic = tLower;
    notes.upper.statistic = tUpper;
    const auto atLeast = [&](double v) {
        return t.end() - std::lower_bound(t.begin(), t.end(), v);
    };
    const auto atMost = [&](double v) {
        return std::upper_bound(t.begin(), t.end(), v) - t.begin();
    };
    if (settings.hypothesis == Hypothesis::equivalence) {
        result.pLower = p(atLeast(tLower));
        result.pUpper = p(atMost(tUpper));
    } else {
        result.pLower = p(atMost(tLower));
        result.pUpper = p(atLeast(tUpper));
    }
    const long m = quantileCount(b, settings.alpha);
    result.low = estimate - t[static_cast<std::size_t>(b - 1 - m)] * se;
    result.high = estimate - t[static_cast<std::size_t>(m)] * se;
    conclude(settings, result);

    notes.interval = notes.lower.reference = notes.upper.reference = Reference::bootstrap;
    notes.standardError = se;
    notes.replicates = b;
    notes.seed = bootstrap.seed;
    notes.flatReplicates = flat;
    notes.text += "B = " + std::to_string(b) + " replicates, seed " +
                  std::to_string(bootstrap.seed) +
                  "; p values (count + 1) / (B + 1), interval ends at the " + ordinal(m + 1) +
                  " t* from each end";
    if (flat > 0) notes.text += "; " + std::to_string(flat) + " replicates had no spread";
    notes.text += ".";
    return result;
}

}  // namespace

ScoreResult bootstrapIndependent(std::span<const double> group1, std::span<const double> group2,
                                 const ScoreSettings& settings,
                                 const BootstrapSettings& bootstrap) {
    checkSettings(settings);
    checkBootstrap(bootstrap, settings.alpha);
    checkIndependent(group1, group2);
    const Moments m1 = meanAndSd(group1), m2 = meanAndSd(group2);
    const double n1 = static_cast<double>(group1.size()), n2 = static_cast<double>(group2.size());
    const double se = finiteOrTooLarge(hypotenuse(m1.sd / std::sqrt(n1), m2.sd / std::sqrt(n2)),
                                       "the standard error");
    const double estimate = finiteOrTooLarge(m1.mean - m2.mean, "the difference of the means");
    std::vector<double> c1 = centred(group1, m1.mean), c2 = centred(group2, m2.mean);
    const int exponent = exponentOfLargest(c1, c2);
    scale(c1, exponent);
    scale(c2, exponent);

    std::mt19937_64 engine(bootstrap.seed);
    std::vector<double> t(static_cast<std::size_t>(bootstrap.replicates));
    long flat = 0;
    const ProgressCalls progress(bootstrap, group1.size() + group2.size());
    for (std::size_t i = 0; i < t.size(); ++i) {
        progress.before(i);
        double& replicate = t[i];
        const Resample r1 = resample(c1, engine);
        const Resample r2 = resample(c2, engine);
        const double seStar = std::sqrt(r1.variance / n1 + r2.variance / n2);
        replicate = studentised(r1.mean - r2.mean, seStar, flat);
    }
    ScoreResult answer = fromReplicates(t, estimate, se, flat, settings, bootstrap);
    answer.notes.text =
        "Studentised bootstrap of the mean difference, each group resampled with replacement "
        "and each replicate divided by its own Welch standard error: " +
        answer.notes.text;
    return answer;
}

ScoreResult bootstrapMatched(std::span<const double> group1, std::span<const double> group2,
                             const ScoreSettings& settings, const BootstrapSettings& bootstrap) {
    checkSettings(settings);
    checkBootstrap(bootstrap, settings.alpha);
    const std::vector<double> d = matchedDifferences(group1, group2);
    const Moments m = meanAndSd(d);
    const double n = static_cast<double>(d.size());
    const double se = finiteOrTooLarge(m.sd / std::sqrt(n), "the standard error");
    std::vector<double> c = centred(d, m.mean);
    scale(c, exponentOfLargest(c, {}));

    std::mt19937_64 engine(bootstrap.seed);
    std::vector<double> t(static_cast<std::size_t>(bootstrap.replicates));
    long flat = 0;
    const ProgressCalls progress(bootstrap, c.size());
    for (std::size_t i = 0; i < t.size(); ++i) {
        progress.before(i);
        double& replicate = t[i];
        const Resample r = resample(c, engine);
        replicate = studentised(r.mean, std::sqrt(r.variance / n), flat);
    }
    ScoreResult answer = fromReplicates(t, m.mean, se, flat, settings, bootstrap);
    answer.notes.text =
        "Studentised bootstrap of the mean difference, the pairs resampled with replacement and "
        "each replicate divided by its own SD of the differences over the square root of n: " +
        answer.notes.text;
    return answer;
}

}  // namespace tarnwick::score_analysis
