#pragma once
// A uniform index in [0, n) from a 64-bit generator, the same on every
// platform: std::uniform_int_distribution's algorithm is left to each
// standard library, std::mt19937_64's output is fixed by the standard.
//
// Method: rejection, exactly uniform. The 2^64 mod n lowest outputs are
// rejected, so that the rest fall into whole blocks of n, and the index is
// the output mod n. At most half the outputs are rejected (n <= 2^63), for
// the sizes met here a fraction of about n / 2^64.

#include <cstdint>
#include <random>

namespace tarnwick::score_analysis {

inline std::uint64_t uniformIndex(std::mt19937_64& engine, std::uint64_t n) {
    const std::uint64_t rejected = (0 - n) % n;  // 2^64 mod n
    for (;;) {
        const std::uint64_t r = engine();
        if (r >= rejected) return r % n;
    }
}

}  // namespace tarnwick::score_analysis
