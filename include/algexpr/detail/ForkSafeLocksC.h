// SPDX-License-Identifier: MIT
// ForkSafeLocksC: a row of small spin locks for the session's tables, which a
// fork() leaves unlocked in the child even when another thread of the parent
// held one at that moment (that thread does not exist in the child, and would
// never unlock it).
//
// The lock words live in memory of their own that the kernel hands to a
// forked child zeroed (Linux's MADV_WIPEONFORK), and zero means unlocked. The
// tables keep their data valid at every step of a change (each change is
// published by a single store), so a child that finds a change cut short
// finds a table it can use; at worst something allocated for the change is
// lost. Nothing process-wide is touched: no fork handlers are installed.
// Where the kernel has no such memory, the locks live in ordinary memory and
// only the fork guarantee is lost.
//
// The locks are meant for sections of a few hundred instructions that call
// no client code. A waiter spins briefly, then yields its processor, so a
// holder that was preempted gets to finish. Internal to the library: the
// session's tables hold it by value, so it is declared here.
#ifndef ALGEXPR_DETAIL_FORKSAFELOCKSC_H
#define ALGEXPR_DETAIL_FORKSAFELOCKSC_H

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace qorv::math::algexpr::detail {

class ForkSafeLocksC {
public:
    /// `count` locks, all unlocked. Never fails: without memory of its own
    /// it shares a row of static locks (correct, only more contended).
    explicit ForkSafeLocksC(std::size_t count) noexcept;
    ForkSafeLocksC(const ForkSafeLocksC&) = delete;
    ForkSafeLocksC& operator=(const ForkSafeLocksC&) = delete;
    ~ForkSafeLocksC();

    void lock(std::size_t index) noexcept;
    void unlock(std::size_t index) noexcept;

    /// Whether a fork leaves these locks unlocked in the child.
    bool wipedOnFork() const noexcept { return wiped; }

    /// Holds one lock for its scope.
    class GuardC {
    public:
        GuardC(ForkSafeLocksC& locks, std::size_t index) noexcept : locks(locks), index(index) { locks.lock(index); }
        GuardC(const GuardC&) = delete;
        GuardC& operator=(const GuardC&) = delete;
        ~GuardC() { locks.unlock(index); }

    private:
        ForkSafeLocksC& locks;
        std::size_t index;
    };

private:
    std::atomic<std::uint32_t>& word(std::size_t index) noexcept;

    unsigned char* memory_p;  // the words, one per cache line; null: the static row
    std::size_t bytes;        // mapped (with `mapped`) or allocated
    bool mapped;
    bool wiped;
};

}  // namespace qorv::math::algexpr::detail

#endif
