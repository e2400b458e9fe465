// SPDX-License-Identifier: MIT
// The library's own view of a symbol: its name without a copy and the name's
// hash (see NameHash.h). SymbolC lets this struct in.
#ifndef ALGEXPR_SRC_SUPPORT_SYMBOLACCESS_H
#define ALGEXPR_SRC_SUPPORT_SYMBOLACCESS_H

#include <cstdint>
#include <string>

#include "algexpr/SymbolC.h"

namespace qorv::math::algexpr::detail {

struct SymbolAccess {
    static const std::u16string& name(const SymbolC& symbol) noexcept { return symbol.name; }
    static std::uint64_t hash(const SymbolC& symbol) noexcept { return symbol.name_hash; }
};

}  // namespace qorv::math::algexpr::detail

#endif
