// SPDX-License-Identifier: MIT
// RefCountedBC: the intrusive reference count shared by every object that
// several owners hold (sessions, engines, factories, expressions, symbols...).
//
// Owners never call reference()/dereference() themselves; they hold the object
// through qorv::oss::PointerTC, which destroys it when the last owner lets go.
//
//   class Engine : public qorv::oss::RefCountedBC { public: virtual ~Engine(); };
//   qorv::oss::PointerTC<Engine> e(new Engine);   // count 1; destroyed with e
//
// Choices made here:
//  - The count is atomic, so objects may be shared between threads (the
//    objects themselves are not made thread-safe by this).
//  - A new object starts at zero: the first PointerTC that takes it owns it.
//  - A copy starts at zero too (a copy has no owners yet), and assignment
//    leaves the target's count unchanged: owners belong to an object, not to
//    its value.
//  - The class has no virtual functions; every derived class that is deleted
//    through a PointerTC declares a virtual destructor of its own.
//  - An object that an owner keeps alive for a long time and many threads
//    take and drop (the current session's factories and core elements) can
//    have its count spread over per-thread slots (detail::CountSpreading),
//    so that threads counting at once do not pass one cache line between
//    processors. Gathering it back onto one count is safe while other
//    threads still take and drop it, and loses none of their owners. The
//    slots belong to the object and go with it.
//
// What the counts say: references() is the number of owners (see there for
// one that other threads change meanwhile). dereference() returns the number
// that remain, zero exactly when the caller let go of the last owner and must
// destroy the object. While the count is spread that number could only be
// had by reading every thread's slot, so dereference() returns ULONG_MAX
// instead: "some remain, not counted" (the keeper holds one, so it is never
// the last). Ask "was that the last owner?" by comparing with zero; ask "how
// many are there?" with references().
#ifndef QORV_OSS_REFCOUNTEDBC_H
#define QORV_OSS_REFCOUNTEDBC_H

#include <atomic>
#include <cassert>
#include <climits>
#include <cstddef>
#include <cstdint>

#include "algexpr/algexpr_export.h"
#include "oss/ThreadSlotC.h"

namespace qorv::oss {

namespace detail {
struct CountSpreading;
}

class RefCountedBC {
public:
    RefCountedBC() noexcept : count_(0), spread_(0) {}
    RefCountedBC(const RefCountedBC&) noexcept : count_(0), spread_(0) {}
    RefCountedBC& operator=(const RefCountedBC&) noexcept { return *this; }
    ~RefCountedBC() {
        const std::uintptr_t spread = spread_.load(std::memory_order_relaxed);
        assert((spread == 0 || (spread & kGathered) != 0) && "destroyed while its count is spread");
        assert(count_.load(std::memory_order_relaxed) == 0 && "destroyed while still owned");
        if (spread != 0) {
            freeSlots(spread);
        }
    }

    /// Adds one owner.
    void reference() noexcept {
        if (SlotS* slots = spreadSlots()) {
            const unsigned long before =
                slots[ThreadSlotC::ofThisThread()].taken.fetch_add(1, std::memory_order_seq_cst);
            if ((before & kClosed) == 0) {
                return;
            }
            awaitGathered();  // too late for the slot: counted on count_ once gathered
        }
        count_.fetch_add(1, std::memory_order_relaxed);
    }

    /// Removes one owner and returns the number that remain: zero when that
    /// was the last, and the caller then destroys the object; ULONG_MAX while
    /// the count is spread (some remain, not counted).
    unsigned long dereference() noexcept {
        if (SlotS* slots = spreadSlots()) {
            const unsigned long before =
                slots[ThreadSlotC::ofThisThread()].dropped.fetch_add(1, std::memory_order_seq_cst);
            if ((before & kClosed) == 0) {
                return ULONG_MAX;
            }
            awaitGathered();
        }
        return count_.fetch_sub(1, std::memory_order_acq_rel) - 1;
    }

    /// The current number of owners. While the count is spread and other
    /// threads change it, never fewer than there were at some moment of the
    /// call: drops are read before the count and takings after it, and each
    /// slot's takings and drops only grow. Met with a gathering under way, it
    /// waits for the gathered count.
    unsigned long references() const noexcept {
        if (const SlotS* slots = spreadSlots()) {
            unsigned long total = 0;
            unsigned long closed = 0;
            for (std::size_t i = 0; i < ThreadSlotC::kSlots; ++i) {
                const unsigned long dropped = slots[i].dropped.load(std::memory_order_seq_cst);
                closed |= dropped;
                total -= dropped;
            }
            total += count_.load(std::memory_order_seq_cst);
            for (std::size_t i = 0; i < ThreadSlotC::kSlots; ++i) {
                const unsigned long taken = slots[i].taken.load(std::memory_order_seq_cst);
                closed |= taken;
                total += taken;
            }
            if ((closed & kClosed) == 0) {
                return total;
            }
            awaitGathered();
        }
        return count_.load(std::memory_order_acquire);
    }

private:
    friend struct detail::CountSpreading;

    // One thread slot's owners taken and dropped (an owner taken on one
    // thread may be dropped on another), on a cache line of its own. Both
    // only grow; gathering sets kClosed in each, and an owner counted after
    // that is counted on count_ instead.
    struct alignas(64) SlotS {
        std::atomic<unsigned long> taken{0};
        std::atomic<unsigned long> dropped{0};
    };
    static constexpr unsigned long kClosed = ~(ULONG_MAX >> 1);
    // spread_: 0 while the count is count_ alone; the slots' address while
    // spread; that address with kGathered once gathered (the slots stay,
    // closed, for a thread that read their address before, until the object
    // goes).
    static constexpr std::uintptr_t kGathered = 1;

    SlotS* spreadSlots() const noexcept {
        const std::uintptr_t spread = spread_.load(std::memory_order_acquire);
        return (spread & kGathered) == 0 ? reinterpret_cast<SlotS*>(spread) : nullptr;
    }
    // Returns once the gathering under way has made count_ exact.
    ALGEXPR_API void awaitGathered() const noexcept;
    static ALGEXPR_API void freeSlots(std::uintptr_t spread) noexcept;

    std::atomic<unsigned long> count_;
    std::atomic<std::uintptr_t> spread_;
};

namespace detail {

/// Spreads and gathers an object's count. Spread only an object that an
/// owner (its keeper) holds until it is gathered again, or until
/// references() shows that owner alone, when no new owner can come: while
/// spread, dereference() never reports zero. Gather is for the keeper, on
/// any thread, while other threads still take and drop the object; it counts
/// every owner once. A count is spread at most once: gathered, it stays on
/// one count.
struct ALGEXPR_API CountSpreading {
    static bool isSpread(const RefCountedBC& object) noexcept { return object.spreadSlots() != nullptr; }

    /// True when the count is spread from now on; false when memory runs
    /// out or the count was gathered before (the count then stays as it is).
    static bool spread(RefCountedBC& object) noexcept;

    /// Counts the owners of every slot onto the one count. Another thread's
    /// gathering of the same object meanwhile is waited for.
    static void gather(RefCountedBC& object) noexcept;
};

}  // namespace detail

}  // namespace qorv::oss

#endif
