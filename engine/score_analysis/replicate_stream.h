#pragma once
// The random numbers of one bootstrap replicate: a stream of its own,
// derived from the seed and the replicate's index alone, so that replicates
// can be drawn on any number of threads in any order and still give the
// same numbers bit for bit on every platform.
//
// Generator: xoshiro256** (Blackman and Vigna 2018), whose 256-bit state is
// the four SplitMix64 outputs number 4b + 1 to 4b + 4 after the seed for
// replicate b (SplitMix64: add 0x9e3779b97f4a7c15, then mix), the seeding
// its authors recommend; distinct replicates start from distinct states.
// Each 64-bit output gives two 32-bit words, its high half first (a group
// holds fewer than 2^31 scores). Bounded draws by Lemire's method (2019):
// the high half of the 64-bit product w n is the index, exactly uniform
// because the rare low halves below 2^32 mod n are rejected; the division
// that finds 2^32 mod n is made only when a low half falls below n (a
// chance of n / 2^32 per draw, 2.3e-5 for 100,000 scores).

#include <cstdint>

namespace tarnwick::score_analysis {

class ReplicateStream {
public:
    ReplicateStream(std::uint64_t seed, std::uint64_t replicate) {
        std::uint64_t x = seed + 4 * replicate * golden;
        for (std::uint64_t& word : s_)
            word = splitMix(x += golden);
    }

    std::uint64_t next() {
        const std::uint64_t result = rotate(s_[1] * 5, 7) * 9;
        const std::uint64_t t = s_[1] << 17;
        s_[2] ^= s_[0];
        s_[3] ^= s_[1];
        s_[1] ^= s_[2];
        s_[0] ^= s_[3];
        s_[2] ^= t;
        s_[3] = rotate(s_[3], 45);
        return result;
    }

    // The next 32 bits: the high half of an output, then its low half.
    std::uint32_t word() {
        if (spare_) {
            spare_ = false;
            return low_;
        }
        const std::uint64_t r = next();
        low_ = static_cast<std::uint32_t>(r);
        spare_ = true;
        return static_cast<std::uint32_t>(r >> 32);
    }

    // Uniform on [0, n), 1 <= n < 2^32, from one word (two words in the
    // rare rejection).
    std::uint32_t below(std::uint32_t n) {
        std::uint64_t product = static_cast<std::uint64_t>(word()) * n;
        auto low = static_cast<std::uint32_t>(product);
        if (low < n) {
            const std::uint32_t rejected = (0u - n) % n;  // 2^32 mod n
            while (low < rejected) {
                product = static_cast<std::uint64_t>(word()) * n;
                low = static_cast<std::uint32_t>(product);
            }
        }
        return static_cast<std::uint32_t>(product >> 32);
    }

private:
    static constexpr std::uint64_t golden = 0x9e3779b97f4a7c15;

    static std::uint64_t rotate(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    static std::uint64_t splitMix(std::uint64_t z) {
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9;
        z = (z ^ (z >> 27)) * 0x94d049bb133111eb;
        return z ^ (z >> 31);
    }

    std::uint64_t s_[4];
    std::uint32_t low_ = 0;
    bool spare_ = false;
};

}  // namespace tarnwick::score_analysis
