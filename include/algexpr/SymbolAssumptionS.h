// SPDX-License-Identifier: MIT
// SymbolAssumptionS: one fact a session is told about a symbol, by name: it
// is real, positive (> 0), non-negative (>= 0), negative (< 0), an integer or
// not zero. Facts about one name add up (positive and integer: a positive
// integer). Engines that honour some facts and not others refuse the rest
// (see the sessions' setAssumptions); the library itself only carries them.
#ifndef ALGEXPR_SYMBOLASSUMPTIONS_H
#define ALGEXPR_SYMBOLASSUMPTIONS_H

#include <string>
#include <utility>

namespace qorv::math::algexpr {

struct SymbolAssumptionS {
    enum class KindE : unsigned char { Real, Positive, NonNegative, Negative, Integer, NonZero };

    SymbolAssumptionS() = default;
    SymbolAssumptionS(std::u16string name, KindE kind) : name(std::move(name)), kind(kind) {}

    std::u16string name;
    KindE kind = KindE::Real;

    bool operator==(const SymbolAssumptionS& other) const { return kind == other.kind && name == other.name; }
    bool operator!=(const SymbolAssumptionS& other) const { return !(*this == other); }
};

}  // namespace qorv::math::algexpr

#endif
