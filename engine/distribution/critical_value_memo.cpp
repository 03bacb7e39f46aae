#include "critical_value_memo.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <memory>

#include "t_distribution.h"

namespace tarnwick {
namespace {

struct Entry {
    double p = 0, df = 0;
    std::int16_t tails = 0;  // 0: the entry is empty
    double value = 0;
};

// 1024 sets of 4 entries, 128 KiB a thread, the set chosen by the df alone:
// whole df below 1024 never displace one another, and each df has room for
// four (p, tails) pairs (the analysis and the report ask for two).
constexpr std::size_t setCount = 1024;
constexpr std::size_t ways = 4;
using Set = std::array<Entry, ways>;
using Table = std::array<Set, setCount>;

std::size_t setOf(double df) {
    // Sizes are far below 2^32; larger df only need some spread.
    const std::uint64_t key =
        df < 4294967296.0 ? static_cast<std::uint64_t>(df) : std::bit_cast<std::uint64_t>(df) >> 20;
    return static_cast<std::size_t>(key % setCount);
}

bool isWhole(double df) { return std::isfinite(df) && std::floor(df) == df; }

// Compared bit for bit: an entry answers only for exactly the key it was computed for.
bool holds(const Entry& entry, double p, double df, std::int16_t tails) {
    return entry.tails == tails &&
           std::bit_cast<std::uint64_t>(entry.p) == std::bit_cast<std::uint64_t>(p) &&
           std::bit_cast<std::uint64_t>(entry.df) == std::bit_cast<std::uint64_t>(df);
}

}  // namespace

double memoisedCriticalValue(double p, double df, std::int16_t tails) {
    const TDistribution& t = TDistribution::instance();
    if (!isWhole(df) || !(df > 0)) return t.CriticalValue(p, df, tails);
    thread_local std::unique_ptr<Table> table;
    if (!table) table = std::make_unique<Table>();
    Set& set = (*table)[setOf(df)];
    for (const Entry& entry : set) {
        if (holds(entry, p, df, tails)) return entry.value;
    }
    const double value = t.CriticalValue(p, df, tails);  // a throw leaves the set as it was
    // The newest first; the oldest (last) makes room.
    std::move_backward(set.begin(), set.end() - 1, set.end());
    set.front() = Entry{p, df, tails, value};
    return value;
}

}  // namespace tarnwick
