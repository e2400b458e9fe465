// SPDX-License-Identifier: MIT
// SymbolTableC: a session's interned symbols, one SymbolC per distinct name.
// Internal to the library: clients reach it through CASSessionBC::lookupSymbol
// and CASSessionBC::flushUnusedSymbols.
//
// Threads: one session serves every thread at once; a tree that no thread
// changes may be read by any number of threads at once (walked, printed,
// copied, compared, searched, substituted into new trees); a change to a
// tree needs the tree to itself. Here: lookups and flushes may run on
// any number of threads at once. The names are spread by hash over 64
// shards, each an open-addressing table with locks of its own
// (ForkSafeLocksC): one per reader, so that threads finding the same names do
// not contend, and all of them for a change. A fork() while a thread holds a
// shard's lock leaves the child a usable table.
#ifndef ALGEXPR_DETAIL_SYMBOLTABLEC_H
#define ALGEXPR_DETAIL_SYMBOLTABLEC_H

#include <atomic>
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

    /// From spreadCounts() on, a symbol that many owners hold has its count
    /// spread over thread slots (see oss/RefCountedBC.h) when it is looked
    /// up: for the current session, whose common names every reading takes.
    /// gatherCounts() gathers them all back, also while other threads count.
    void spreadCounts() noexcept;
    void gatherCounts() noexcept;

private:
    static constexpr std::size_t kShards = 64;
    static constexpr std::size_t kReaders = 8;  // reader locks per shard; threads share them beyond that

    // Holds all the locks of one shard.
    class WritingGuardC {
    public:
        WritingGuardC(detail::ForkSafeLocksC& locks, std::size_t first) noexcept;
        WritingGuardC(const WritingGuardC&) = delete;
        WritingGuardC& operator=(const WritingGuardC&) = delete;
        ~WritingGuardC();

    private:
        detail::ForkSafeLocksC& locks;
        std::size_t first;
    };

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

    static std::size_t readerOfThisThread() noexcept;
    static SymbolC* tombstone() noexcept;
    static bool rebuild(Shard& shard) noexcept;
    static Entry* slotFor(const Shard& shard, std::uint64_t hash) noexcept;
    static SymbolC* find(const Shard& shard, std::uint64_t hash, const std::u16string& name) noexcept;
    static qorv::oss::PointerTC<SymbolC> insert(Shard& shard, std::uint64_t hash, const std::u16string& name);
    static void flush(Shard& shard) noexcept;

    static constexpr unsigned long kManyOwners = 8;  // a symbol held that often is spread

    Shard shards[kShards];
    detail::ForkSafeLocksC locks;  // kReaders per shard, shard by shard
    std::atomic<bool> spreading{false};
};

}  // namespace qorv::math::algexpr

#endif
