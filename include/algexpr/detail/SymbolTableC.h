// SPDX-License-Identifier: MIT
// SymbolTableC: a session's interned symbols, one SymbolC per distinct name.
// Internal to the library: clients reach it through CASSessionBC::lookupSymbol
// and CASSessionBC::flushUnusedSymbols. Not guarded for use from two threads.
#ifndef ALGEXPR_DETAIL_SYMBOLTABLEC_H
#define ALGEXPR_DETAIL_SYMBOLTABLEC_H

#include <map>
#include <string>

#include "algexpr/SymbolC.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr {

class SymbolTableC {
public:
    SymbolTableC();
    SymbolTableC(const SymbolTableC&) = delete;
    SymbolTableC& operator=(const SymbolTableC&) = delete;
    /// Releases every symbol once; symbols held elsewhere survive.
    virtual ~SymbolTableC();

    /// The symbol of that exact name, created and entered on first request;
    /// null (and no entry) when memory runs out.
    qorv::oss::PointerTC<SymbolC> lookupSymbol(std::u16string name);

    /// Removes the symbols that only the table holds.
    void flushUnusedSymbols();

private:
    // Names ordered code unit by code unit as unsigned 16-bit numbers.
    std::map<std::u16string, qorv::oss::PointerTC<SymbolC>> symbol_map;
};

}  // namespace qorv::math::algexpr

#endif
