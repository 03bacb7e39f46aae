#include "score_sort.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <utility>

namespace tarnwick::score_analysis {
namespace {

constexpr int digitBits = 11;
constexpr int passes = 6;  // 66 bits cover the 64
constexpr std::uint64_t digitMask = (std::uint64_t{1} << digitBits) - 1;
constexpr std::uint64_t signBit = std::uint64_t{1} << 63;

std::uint64_t key(double x) {
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(x);
    return (bits & signBit) ? ~bits : bits | signBit;
}

double value(std::uint64_t key) {
    return std::bit_cast<double>((key & signBit) ? key & ~signBit : ~key);
}

}  // namespace

void sortScores(std::vector<double>& scores) {
    if (scores.size() < 1024) {
        std::sort(scores.begin(), scores.end());
        return;
    }
    std::vector<std::uint64_t> keys(scores.size()), spare(scores.size());
    std::array<std::array<std::size_t, std::size_t{1} << digitBits>, passes> counts{};
    for (std::size_t i = 0; i < scores.size(); ++i) {
        keys[i] = key(scores[i]);
        for (int p = 0; p < passes; ++p)
            ++counts[p][(keys[i] >> (p * digitBits)) & digitMask];
    }
    for (int p = 0; p < passes; ++p) {
        auto& count = counts[p];
        if (std::any_of(count.begin(), count.end(),
                        [&](std::size_t c) { return c == scores.size(); }))
            continue;  // one digit for all: the pass would not move anything
        std::size_t offset = 0;
        for (std::size_t& c : count)
            offset += std::exchange(c, offset);
        for (const std::uint64_t k : keys)
            spare[count[(k >> (p * digitBits)) & digitMask]++] = k;
        keys.swap(spare);
    }
    for (std::size_t i = 0; i < scores.size(); ++i)
        scores[i] = value(keys[i]);
}

}  // namespace tarnwick::score_analysis
