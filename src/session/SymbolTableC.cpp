// SPDX-License-Identifier: MIT
#include "algexpr/detail/SymbolTableC.h"

#include <atomic>
#include <new>
#include <utility>

#include "oss/ThreadSlotC.h"
#include "support/NameHash.h"
#include "support/SymbolAccess.h"

// Each shard has a lock for each of kReaders readers. A lookup takes its
// thread's reader lock, so threads that read the same names hold locks of
// their own and do not pass a lock's memory back and forth; a change (a new
// symbol, a flush) takes all of the shard's locks, in order.
//
// Every change to a shard is made under its locks and published by a single
// store: a new slot's hash is written before its symbol, a removal replaces
// the symbol by the tombstone before the symbol is released, a new block is
// filled before it replaces the old one. A fork() that cuts a change short
// (see ForkSafeLocksC) thus leaves the child a shard it can use; at worst a
// symbol or a block is never freed there. The counts only steer rebuilding,
// and stay far from a full block even when one is off by one.

namespace qorv::math::algexpr {

using qorv::oss::PointerTC;

namespace {

const char kTombstoneMarker = 0;

constexpr std::uint32_t kSmallestBlock = 8;
constexpr std::uint32_t kLargestBlock = 1u << 30;
constexpr unsigned kShardBits = 6;  // 64 shards, by the hash's top bits

std::size_t shardOf(std::uint64_t hash) { return static_cast<std::size_t>(hash >> (64 - kShardBits)); }

}  // namespace

static_assert(std::size_t{1} << kShardBits == 64, "one lock per shard");

SymbolC* SymbolTableC::tombstone() noexcept {
    return reinterpret_cast<SymbolC*>(const_cast<char*>(&kTombstoneMarker));
}

SymbolTableC::SymbolTableC() noexcept : locks(kShards * kReaders) {}

SymbolTableC::WritingGuardC::WritingGuardC(detail::ForkSafeLocksC& locks, std::size_t first) noexcept
    : locks(locks), first(first) {
    for (std::size_t i = 0; i < kReaders; ++i) {
        locks.lock(first + i);
    }
}

SymbolTableC::WritingGuardC::~WritingGuardC() {
    for (std::size_t i = kReaders; i > 0; --i) {
        locks.unlock(first + i - 1);
    }
}

SymbolTableC::~SymbolTableC() {
    for (Shard& shard : shards) {
        if (shard.block == nullptr) {
            continue;
        }
        const std::uint64_t capacity = shard.block[0].hash;
        for (std::uint64_t i = 1; i <= capacity; ++i) {
            SymbolC* symbol = shard.block[i].symbol;
            if (symbol == nullptr || symbol == tombstone()) {
                continue;
            }
            qorv::oss::detail::CountSpreading::gather(*symbol);
            if (symbol->dereference() == 0) {
                delete symbol;
            }
        }
        ::operator delete(shard.block);
    }
}

// The first slot from the hash's home that is empty or removed. (A block is
// never more than half full, so there is one; the probes stop after one
// round all the same.)
SymbolTableC::Entry* SymbolTableC::slotFor(const Shard& shard, std::uint64_t hash) noexcept {
    const std::uint64_t capacity = shard.block[0].hash;
    for (std::uint64_t probe = 0, i = hash & (capacity - 1); probe < capacity; ++probe, i = (i + 1) & (capacity - 1)) {
        Entry& slot = shard.block[1 + i];
        if (slot.symbol == nullptr || slot.symbol == tombstone()) {
            return &slot;
        }
    }
    return nullptr;
}

SymbolC* SymbolTableC::find(const Shard& shard, std::uint64_t hash, const std::u16string& name) noexcept {
    const std::uint64_t capacity = shard.block != nullptr ? shard.block[0].hash : 0;
    for (std::uint64_t probe = 0, i = hash & (capacity - 1); probe < capacity; ++probe, i = (i + 1) & (capacity - 1)) {
        const Entry& slot = shard.block[1 + i];
        if (slot.symbol == nullptr) {
            return nullptr;
        }
        if (slot.symbol != tombstone() && slot.hash == hash && detail::SymbolAccess::name(*slot.symbol) == name) {
            return slot.symbol;
        }
    }
    return nullptr;
}

// A block for the live symbols and one more at a quarter full at most,
// without removed slots. False when memory runs out or the shard is full.
bool SymbolTableC::rebuild(Shard& shard) noexcept {
    std::uint32_t capacity = kSmallestBlock;
    while (capacity < kLargestBlock && capacity / 4 < shard.live + 1) {
        capacity *= 2;
    }
    if (capacity / 4 < shard.live + 1) {
        return false;
    }
    auto* block = static_cast<Entry*>(::operator new(sizeof(Entry) * (std::size_t{capacity} + 1), std::nothrow));
    if (block == nullptr) {
        return false;
    }
    block[0] = Entry{capacity, nullptr};
    for (std::uint32_t i = 1; i <= capacity; ++i) {
        block[i] = Entry{0, nullptr};
    }
    Shard fresh{block, 0, 0};
    if (shard.block != nullptr) {
        for (std::uint64_t i = 1; i <= shard.block[0].hash; ++i) {
            const Entry& slot = shard.block[i];
            if (slot.symbol != nullptr && slot.symbol != tombstone()) {
                *slotFor(fresh, slot.hash) = slot;
                ++fresh.live;
            }
        }
    }
    Entry* old = shard.block;
    shard.block = block;
    shard.removed = 0;
    shard.live = fresh.live;
    ::operator delete(old);
    return true;
}

PointerTC<SymbolC> SymbolTableC::insert(Shard& shard, std::uint64_t hash, const std::u16string& name) {
    const std::uint64_t capacity = shard.block != nullptr ? shard.block[0].hash : 0;
    if ((std::uint64_t{shard.live} + shard.removed + 1) * 2 > capacity && !rebuild(shard)) {
        return PointerTC<SymbolC>();
    }
    PointerTC<SymbolC> symbol;
    try {
        symbol = PointerTC<SymbolC>(new (std::nothrow) SymbolC(name));
    } catch (const std::bad_alloc&) {  // copying the name
        return PointerTC<SymbolC>();
    }
    if (!symbol) {
        return symbol;
    }
    Entry* slot = slotFor(shard, hash);
    if (slot == nullptr) {
        return PointerTC<SymbolC>();
    }
    const bool reused = slot->symbol == tombstone();
    slot->hash = hash;
    symbol->reference();  // the table's own
    slot->symbol = symbol.get();
    ++shard.live;
    shard.removed -= reused ? 1 : 0;
    return symbol;
}

// A thread's reader lock of each shard: its thread slot, so that threads
// living at once read under locks of their own.
std::size_t SymbolTableC::readerOfThisThread() noexcept {
    static_assert(kReaders == qorv::oss::ThreadSlotC::kSlots, "a reader lock per thread slot");
    return qorv::oss::ThreadSlotC::ofThisThread();
}

PointerTC<SymbolC> SymbolTableC::lookupSymbol(const std::u16string& name) {
    const std::uint64_t hash = detail::hashName(name.data(), name.size());
    const std::size_t index = shardOf(hash);
    Shard& shard = shards[index];
    {
        detail::ForkSafeLocksC::GuardC reading(locks, index * kReaders + readerOfThisThread());
        if (SymbolC* found = find(shard, hash, name)) {
            using qorv::oss::detail::CountSpreading;
            if (spreading.load(std::memory_order_relaxed) && !CountSpreading::isSpread(*found) &&
                found->references() >= kManyOwners) {
                CountSpreading::spread(*found);
            }
            return PointerTC<SymbolC>(found);
        }
    }
    WritingGuardC writing(locks, index * kReaders);
    if (SymbolC* found = find(shard, hash, name)) {  // entered meanwhile
        return PointerTC<SymbolC>(found);
    }
    return insert(shard, hash, name);
}

void SymbolTableC::flush(Shard& shard) noexcept {
    if (shard.block == nullptr) {
        return;
    }
    for (std::uint64_t i = 1; i <= shard.block[0].hash; ++i) {
        Entry& slot = shard.block[i];
        SymbolC* symbol = slot.symbol;
        if (symbol == nullptr || symbol == tombstone() || symbol->references() != 1) {
            continue;
        }
        slot.symbol = tombstone();
        --shard.live;
        ++shard.removed;
        // The table alone holds it and no lookup can reach it: no thread
        // counts it any more.
        qorv::oss::detail::CountSpreading::gather(*symbol);
        if (symbol->dereference() == 0) {
            delete symbol;
        }
    }
    if (shard.live == 0) {
        Entry* old = shard.block;
        shard.block = nullptr;
        shard.removed = 0;
        ::operator delete(old);
    }
}

void SymbolTableC::flushUnusedSymbols() {
    for (std::size_t index = 0; index < kShards; ++index) {
        WritingGuardC writing(locks, index * kReaders);
        flush(shards[index]);
    }
}

void SymbolTableC::spreadCounts() noexcept { spreading.store(true, std::memory_order_relaxed); }

void SymbolTableC::gatherCounts() noexcept {
    spreading.store(false, std::memory_order_relaxed);
    for (std::size_t index = 0; index < kShards; ++index) {
        WritingGuardC writing(locks, index * kReaders);
        const Shard& shard = shards[index];
        for (std::uint64_t i = 1; shard.block != nullptr && i <= shard.block[0].hash; ++i) {
            SymbolC* symbol = shard.block[i].symbol;
            if (symbol != nullptr && symbol != tombstone()) {
                qorv::oss::detail::CountSpreading::gather(*symbol);
            }
        }
    }
}

}  // namespace qorv::math::algexpr
