// SPDX-License-Identifier: MIT
// SymbolTableC: a session's interned symbols, one SymbolC per distinct name.
// Internal to the library: clients reach it through CASSessionBC::lookupSymbol
// and CASSessionBC::flushUnusedSymbols.
//
// Threads: one session serves every thread at once (reading, printing,
// substituting, comparing and building, each thread on its own trees); a
// tree is used by one thread at a time. Here: lookups and flushes may run on
// any number of threads at once. The names are spread by hash over 64
// shards, each an open-addressing table with a lock of its own
// (ForkSafeLocksC), so threads reading different names rarely meet, and a
// fork() while a thread holds a shard's lock leaves the child a usable table.
#ifndef ALGEXPR_DETAIL_SYMBOLTABLEC_H
#define ALGEXPR_DETAIL_SYMBOLTABLEC_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "algexpr/SymbolC.h"
#include "algexpr/detail/ForkSafeLocksC.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr {

class SymbolTableC {
public:
    SymbolTableC() noexcept;
    SymbolTableC(const SymbolTableC&) = delete;
    SymbolTableC& operator=(const SymbolTableC&) = delete;
    /// Releases every symbol once; symbols held elsewhere survive.
    virtual ~SymbolTableC();

    /// The symbol of that exact name, created and entered on first request;
    /// null (and no entry) when memory runs out.
    qorv::oss::PointerTC<SymbolC> lookupSymbol(const std::u16string& name);

    /// Removes the symbols that only the table holds.
    void flushUnusedSymbols();

private:
    static constexpr std::size_t kShards = 64;

    // A slot: empty (null symbol), a removed entry (the tombstone marker), or
    // a symbol the table holds one reference to, with its name's hash.
    struct Entry {
        std::uint64_t hash;
        SymbolC* symbol;
    };
    // The slots live in one block whose first entry holds their number (a
    // power of two) in `hash`: a new block is published with one store.
    struct Shard {
        Entry* block = nullptr;  // null while the shard is empty
        std::uint32_t live = 0;
        std::uint32_t removed = 0;
    };

    static SymbolC* tombstone() noexcept;
    static bool rebuild(Shard& shard) noexcept;
    static Entry* slotFor(const Shard& shard, std::uint64_t hash) noexcept;
    static SymbolC* find(const Shard& shard, std::uint64_t hash, const std::u16string& name) noexcept;
    static qorv::oss::PointerTC<SymbolC> insert(Shard& shard, std::uint64_t hash, const std::u16string& name);
    static void flush(Shard& shard) noexcept;

    Shard shards[kShards];
    detail::ForkSafeLocksC locks;  // one per shard
};

}  // namespace qorv::math::algexpr

#endif
