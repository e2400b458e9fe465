// SPDX-License-Identifier: MIT
// The hash of a name (a string of 16-bit code units) that the symbol and core
// element tables index by and that tree hashes mix in, and the mixing step
// for the trees. FNV-1a over the code units, then a finaliser so that low
// and high bits are both usable; the same in every process.
#ifndef ALGEXPR_SRC_SUPPORT_NAMEHASH_H
#define ALGEXPR_SRC_SUPPORT_NAMEHASH_H

#include <cstddef>
#include <cstdint>

namespace qorv::math::algexpr::detail {

/// Spreads every bit of `x` over the whole word (the splitmix64 finaliser).
constexpr std::uint64_t mixBits(std::uint64_t x) noexcept {
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

constexpr std::uint64_t hashName(const char16_t* text, std::size_t length) noexcept {
    std::uint64_t hash = 0xCBF29CE484222325ull;
    for (std::size_t i = 0; i < length; ++i) {
        hash = (hash ^ text[i]) * 0x100000001B3ull;
    }
    return mixBits(hash);
}

/// `hash` with `value` folded in; the order of the values matters.
constexpr std::uint64_t combineHash(std::uint64_t hash, std::uint64_t value) noexcept {
    return mixBits(hash ^ (mixBits(value) + 0x9E3779B97F4A7C15ull + (hash << 6) + (hash >> 2)));
}

}  // namespace qorv::math::algexpr::detail

#endif
