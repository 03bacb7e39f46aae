#include "bootstrap_analysis.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "ratio_scale.h"
#include "replicate_stream.h"
#include "score_checks.h"
#include "score_error.h"
#include "score_moments.h"
#include "score_reference.h"

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

// Whether every score drawn from `stream` (n of them, the stream as it was
// before the pass) equals `first`: the same draws again, for the rare
// resample whose spread is too small to tell from rounding.
bool allDrawnEqual(const std::vector<double>& c, ReplicateStream stream, double first) {
    const auto n = static_cast<std::uint32_t>(c.size());
    for (std::uint32_t k = 0; k < n; ++k)
        if (c[stream.below(n)] != first) return false;
    return true;
}

// The most that rounding can make of sum(x^2) - sum(x)^2 / n in resample()'s
// pass when all n scores drawn equal v: each of the sums of n terms is off by
// at most gamma(n + 3) times its size, the square and quotient by two
// roundings more, the difference by one, so |result| <= n v^2 gamma(3n + 11)
// < 4 (n + 4) n u v^2 for n < 2^31 (u = 2^-53), doubled here against the
// rounding of this product; the constant term covers underflow, whose
// absolute errors are below n 2^-1074.
double roundingOfConstant(double count, double v) {
    return 8 * (count + 4) * count * 0x1p-53 * (v * v) + (count + 8) * 0x1p-1000;
}

// One pass: the scores are centred at their mean, so the sum of squares
// loses next to nothing to the square of the (small) resampled mean. The
// k-th score drawn goes to partial sum k mod 4, and the four are added as
// (s0 + s1) + (s2 + s3): four independent chains of additions keep the
// processor busy where one would wait on each sum in turn. A resample of
// one score repeated has a variance of exactly 0, not the rounding error of
// the pass: a pass whose result rounding could explain draws its scores
// again to see whether they all are one (comparing every score as it is
// drawn costs a third of the pass).
Resample resample(const std::vector<double>& c, ReplicateStream& stream) {
    const auto n = static_cast<std::uint32_t>(c.size());
    const ReplicateStream start = stream;
    double sum[4] = {0, 0, 0, 0}, squares[4] = {0, 0, 0, 0};
    const double first = c[stream.below(n)];
    sum[0] = first;
    squares[0] = first * first;
    std::uint32_t k = 1;
    const auto add = [&](int lane) {
        const double x = c[stream.below(n)];
        sum[lane] += x;
        squares[lane] += x * x;
    };
    for (; k < 4 && k < n; ++k)
        add(static_cast<int>(k));
    for (; k + 4 <= n; k += 4) {
        add(0);
        add(1);
        add(2);
        add(3);
    }
    for (; k < n; ++k)
        add(static_cast<int>(k % 4));
    const double count = static_cast<double>(n);
    const double total = (sum[0] + sum[1]) + (sum[2] + sum[3]);
    const double totalSquares = (squares[0] + squares[1]) + (squares[2] + squares[3]);
    const double spread = totalSquares - total * total / count;
    if (!(spread > roundingOfConstant(count, first)) && allDrawnEqual(c, start, first))
        return {first, 0};
    return {total / count, std::max(0.0, spread) / (count - 1)};
}

// Calls the progress callback about every 2^16 scores drawn, so that a
// watcher hears often enough however large the groups, at no cost to small ones.
class ProgressCalls {
public:
    ProgressCalls(const BootstrapSettings& bootstrap, double drawsPerReplicate)
        : progress_(bootstrap.progress),
          replicates_(bootstrap.replicates),
          every_(std::max(1L, static_cast<long>(0x1p16 / std::max(1.0, drawsPerReplicate)))) {}
    bool watched() const { return static_cast<bool>(progress_); }
    // Before the caller's replicate `index` of its block, `done` done in all:
    // false when the watcher says stop.
    bool carryOn(long index, long done) const {
        return !progress_ || index % every_ != 0 || progress_(done, replicates_);
    }
    bool carryOn(long done) const { return !progress_ || progress_(done, replicates_); }

private:
    const BootstrapProgress& progress_;
    long replicates_;
    long every_;
};

// What the threads of one bootstrap share: how many replicates are done, and
// whether the watcher has said stop.
struct Watch {
    std::atomic<long> done{0};
    std::atomic<bool> stop{false};
};

double studentised(double difference, double se, long& flat) {
    if (se > 0) return difference / se;
    ++flat;
    return difference > 0 ? HUGE_VAL : difference < 0 ? -HUGE_VAL : 0;
}

// t* of replicates [first, last) into t, each from its own stream; returns
// how many had no spread. Only the caller's thread is given `calls`: the
// progress callback is heard on the thread that runs the analysis.
template <class Replicate>
long replicateRange(std::vector<double>& t, long first, long last, std::uint64_t seed,
                    const Replicate& replicate, Watch& watch, const ProgressCalls* calls) {
    long flat = 0;
    for (long b = first; b < last; ++b) {
        if (watch.stop.load(std::memory_order_relaxed)) break;
        if (calls != nullptr && !calls->carryOn(b - first, watch.done.load())) {
            watch.stop = true;
            break;
        }
        ReplicateStream stream(seed, static_cast<std::uint64_t>(b));
        t[static_cast<std::size_t>(b)] = replicate(stream, flat);
        watch.done.fetch_add(1, std::memory_order_relaxed);
    }
    return flat;
}

// The replicates shared among the processor's cores in contiguous blocks:
// each replicate's numbers depend on the seed and its index alone, so the
// result is the same whatever the number of threads.
template <class Replicate>
std::vector<double> allReplicates(const BootstrapSettings& bootstrap, double drawsEach, long& flat,
                                  const Replicate& replicate) {
    const long replicates = bootstrap.replicates;
    const std::uint64_t seed = bootstrap.seed;
    std::vector<double> t(static_cast<std::size_t>(replicates));
    // Below about a million draws (a millisecond or two) a thread costs more
    // than it saves: small studies, of which a table may hold a million, stay
    // on the caller's thread unless threads are asked for.
    const bool worthThreads = drawsEach * static_cast<double>(replicates) >= 0x1p20;
    const long cores = bootstrap.threads > 0 ? static_cast<long>(bootstrap.threads)
                       : worthThreads
                           ? std::max(1L, static_cast<long>(std::thread::hardware_concurrency()))
                           : 1L;
    const long threads = std::clamp(replicates, 1L, std::min(cores, 64L));
    std::vector<long> flats(static_cast<std::size_t>(threads), 0);
    std::vector<std::thread> workers;
    const auto blockStart = [&](long i) { return replicates * i / threads; };
    const ProgressCalls calls(bootstrap, drawsEach);
    Watch watch;
    for (long i = 1; i < threads; ++i)
        workers.emplace_back([&, i] {
            flats[static_cast<std::size_t>(i)] = replicateRange(t, blockStart(i), blockStart(i + 1),
                                                                seed, replicate, watch, nullptr);
        });
    flats[0] = replicateRange(t, 0, blockStart(1), seed, replicate, watch, &calls);
    // The caller's block done, the watcher still hears how the others go.
    while (calls.watched() && !watch.stop && watch.done.load() < replicates) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (!calls.carryOn(watch.done.load())) watch.stop = true;
    }
    for (std::thread& worker : workers)
        worker.join();
    if (watch.stop) throw BootstrapStopped();
    flat = 0;
    for (const long f : flats)
        flat += f;
    return t;
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

// An end of the interval: D - q SE, where the t* quantile q is infinite only
// when more replicates than the count m had no spread, and the interval
// then has no end on that side (infinity with the sign of the side); a
// finite q whose end overflows is refused as every analysis refuses it.
double intervalEnd(double estimate, double q, double se, double unbounded, const char* what) {
    if (std::isinf(q)) return unbounded;
    return finiteOrTooLarge(estimate - q * se, what);
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
    const double tLower = tStatistic(estimate, settings.lower, se, "lower");
    const double tUpper = tStatistic(estimate, settings.upper, se, "upper");
    notes.lower.statistic = tLower;
    notes.upper.statistic = tUpper;
    const auto atLeast = [&](double v) {
        return t.end() - std::lower_bound(t.begin(), t.end(), v);
    };
    const auto atMost = [&](double v) {
        return std::upper_bound(t.begin(), t.end(), v) - t.begin();
    };
    if (!reversedTests(settings)) {
        result.pLower = p(atLeast(tLower));
        result.pUpper = p(atMost(tUpper));
    } else {
        result.pLower = p(atMost(tLower));
        result.pUpper = p(atLeast(tUpper));
    }
    const long m = quantileCount(b, settings.alpha);
    const double qHigh = t[static_cast<std::size_t>(b - 1 - m)],
                 qLow = t[static_cast<std::size_t>(m)];
    result.low = intervalEnd(estimate, qHigh, se, -HUGE_VAL, "the interval's lower end");
    result.high = intervalEnd(estimate, qLow, se, HUGE_VAL, "the interval's upper end");
    if (std::isinf(qHigh) || std::isinf(qLow))
        notes.unbounded = "More than " + std::to_string(m) + " of the " + std::to_string(b) +
                          " replicates had no spread and an infinite t*, so the interval has no " +
                          (std::isinf(qHigh) && std::isinf(qLow) ? "end on either side"
                           : std::isinf(qHigh)                   ? "lower end"
                                                                 : "upper end") +
                          ".";
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
    if (!notes.unbounded.empty()) notes.text += " " + notes.unbounded;
    return result;
}

ScoreResult independent(std::span<const double> group1, std::span<const double> group2,
                        const ScoreSettings& settings, const BootstrapSettings& bootstrap) {
    checkSettings(settings);
    checkBootstrap(bootstrap, settings.alpha);
    checkIndependent(group1, group2);
    const double reference = commonReference(group1, group2);
    const std::vector<double> x = lessReference(group1, reference),
                              y = lessReference(group2, reference);
    const Moments m1 = meanAndSd(x), m2 = meanAndSd(y);
    const double n1 = static_cast<double>(x.size()), n2 = static_cast<double>(y.size());
    const double se = finiteOrTooLarge(hypotenuse(m1.sd / std::sqrt(n1), m2.sd / std::sqrt(n2)),
                                       "the standard error");
    const double estimate = finiteOrTooLarge(m1.mean - m2.mean, "the difference of the means");
    std::vector<double> c1 = centred(x, m1.mean), c2 = centred(y, m2.mean);
    const int exponent = exponentOfLargest(c1, c2);
    scale(c1, exponent);
    scale(c2, exponent);

    long flat = 0;
    std::vector<double> t =
        allReplicates(bootstrap, n1 + n2, flat, [&](ReplicateStream& stream, long& flats) {
            const Resample r1 = resample(c1, stream);
            const Resample r2 = resample(c2, stream);
            return studentised(r1.mean - r2.mean, std::sqrt(r1.variance / n1 + r2.variance / n2),
                               flats);
        });
    ScoreResult answer = fromReplicates(t, estimate, se, flat, settings, bootstrap);
    answer.notes.text =
        "Studentised bootstrap of the mean difference, each group resampled with replacement "
        "and each replicate divided by its own Welch standard error: " +
        answer.notes.text;
    return answer;
}

ScoreResult matched(std::span<const double> group1, std::span<const double> group2,
                    const ScoreSettings& settings, const BootstrapSettings& bootstrap) {
    checkSettings(settings);
    checkBootstrap(bootstrap, settings.alpha);
    const std::vector<double> d = matchedDifferences(group1, group2);
    const Moments m = meanAndSd(d);
    const double n = static_cast<double>(d.size());
    const double se = finiteOrTooLarge(m.sd / std::sqrt(n), "the standard error");
    std::vector<double> c = centred(d, m.mean);
    scale(c, exponentOfLargest(c, {}));

    long flat = 0;
    std::vector<double> t =
        allReplicates(bootstrap, n, flat, [&](ReplicateStream& stream, long& flats) {
            const Resample r = resample(c, stream);
            return studentised(r.mean, std::sqrt(r.variance / n), flats);
        });
    ScoreResult answer = fromReplicates(t, m.mean, se, flat, settings, bootstrap);
    answer.notes.text =
        "Studentised bootstrap of the mean difference, the pairs resampled with replacement and "
        "each replicate divided by its own SD of the differences over the square root of n: " +
        answer.notes.text;
    return answer;
}

}  // namespace

ScoreResult bootstrapIndependent(std::span<const double> group1, std::span<const double> group2,
                                 const ScoreSettings& settings,
                                 const BootstrapSettings& bootstrap) {
    return onItsScale(group1, group2, settings,
                      [&](auto x, auto y, auto& s) { return independent(x, y, s, bootstrap); });
}

ScoreResult bootstrapMatched(std::span<const double> group1, std::span<const double> group2,
                             const ScoreSettings& settings, const BootstrapSettings& bootstrap) {
    return onItsScale(group1, group2, settings,
                      [&](auto x, auto y, auto& s) { return matched(x, y, s, bootstrap); });
}

}  // namespace tarnwick::score_analysis
