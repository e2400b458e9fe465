// SPDX-License-Identifier: MIT
#include "algexpr/detail/SymbolTableC.h"

#include <new>
#include <utility>

namespace qorv::math::algexpr {

using qorv::oss::PointerTC;

SymbolTableC::SymbolTableC() = default;

SymbolTableC::~SymbolTableC() = default;

PointerTC<SymbolC> SymbolTableC::lookupSymbol(std::u16string name) {
    auto place = symbol_map.lower_bound(name);
    if (place != symbol_map.end() && place->first == name) {
        return place->second;
    }
    try {
        // The symbol exists before its entry does, so a failure leaves no
        // entry without a symbol behind.
        PointerTC<SymbolC> symbol(new (std::nothrow) SymbolC(name));
        if (symbol) {
            symbol_map.emplace_hint(place, std::move(name), symbol);
        }
        return symbol;
    } catch (const std::bad_alloc&) {
        return PointerTC<SymbolC>();
    }
}

void SymbolTableC::flushUnusedSymbols() {
    for (auto entry = symbol_map.begin(); entry != symbol_map.end();) {
        auto current = entry++;
        if (current->second->references() == 1) {
            symbol_map.erase(current);
        }
    }
}

}  // namespace qorv::math::algexpr
