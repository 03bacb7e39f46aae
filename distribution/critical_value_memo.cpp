#include "critical_value_memo.h"

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

// 4096 entries, 128 KiB a thread: a batch's whole df (sizes up to a few
// thousand) and its two alphas fit with few displacements.
constexpr int indexBits = 12;
using Table = std::array<Entry, std::size_t{1} << indexBits>;

// A multiplicative hash of the exact bits of the key.
std::size_t slotOf(double p, double df, std::int16_t tails) {
    const std::uint64_t mixed = std::bit_cast<std::uint64_t>(df) * 0x9E3779B97F4A7C15ULL +
                                std::bit_cast<std::uint64_t>(p) * 0xC2B2AE3D27D4EB4FULL +
                                static_cast<std::uint64_t>(tails);
    return static_cast<std::size_t>((mixed * 0xFF51AFD7ED558CCDULL) >> (64 - indexBits));
}

bool isWhole(double df) { return std::isfinite(df) && std::floor(df) == df; }

}  // namespace

double memoisedCriticalValue(double p, double df, std::int16_t tails) {
    const TDistribution& t = TDistribution::instance();
    if (!isWhole(df)) return t.CriticalValue(p, df, tails);
    thread_local std::unique_ptr<Table> table;
    if (!table) table = std::make_unique<Table>();
    Entry& entry = (*table)[slotOf(p, df, tails)];
    // Compared bit for bit: an entry answers only for exactly the key it was computed for.
    const bool hit = entry.tails == tails &&
                     std::bit_cast<std::uint64_t>(entry.p) == std::bit_cast<std::uint64_t>(p) &&
                     std::bit_cast<std::uint64_t>(entry.df) == std::bit_cast<std::uint64_t>(df);
    if (hit) return entry.value;
    const double value = t.CriticalValue(p, df, tails);  // a throw leaves the entry as it was
    entry = Entry{p, df, tails, value};
    return value;
}

}  // namespace tarnwick
