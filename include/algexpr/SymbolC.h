// SPDX-License-Identifier: MIT
// SymbolC: a name of the expression language as a shared object. Each session
// interns its symbols: while a symbol is alive and in the session's table,
// every lookup of its name (CASSessionBC::lookupSymbol) returns that same
// object. Only the table creates symbols; hold them through PointerTC.
#ifndef ALGEXPR_SYMBOLC_H
#define ALGEXPR_SYMBOLC_H

#include <cstdint>
#include <string>

#include "algexpr/algexpr_export.h"
#include "oss/RefCountedBC.h"

namespace qorv::math::algexpr {

class SymbolTableC;
class CoreElementTableC;
class SubstVisitorC;
namespace detail {
struct SymbolAccess;
}

class ALGEXPR_API SymbolC : public qorv::oss::RefCountedBC {
public:
    SymbolC(const SymbolC&) = delete;
    SymbolC& operator=(const SymbolC&) = delete;
    virtual ~SymbolC();

    /// A copy of the name (the empty text if memory for it runs out).
    std::u16string getName() const;

private:
    friend class SymbolTableC;
    friend class CoreElementTableC;
    friend class SubstVisitorC;
    friend struct detail::SymbolAccess;
    explicit SymbolC(std::u16string name);   // only the symbol table creates symbols

    const std::u16string name;
    const std::uint64_t name_hash;  // of the name, for the table and for hashes of trees
};

}  // namespace qorv::math::algexpr

#endif
