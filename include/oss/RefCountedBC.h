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
//    processors. While spread, dereference() never reports zero (the keeper
//    still holds it) and references() adds the slots up.
#ifndef QORV_OSS_REFCOUNTEDBC_H
#define QORV_OSS_REFCOUNTEDBC_H

#include <atomic>
#include <cassert>
#include <new>

#include "oss/ThreadSlotC.h"

namespace qorv::oss {

namespace detail {
struct CountSpreading;
}

class RefCountedBC {
public:
    RefCountedBC() noexcept : count_(0), spread_(nullptr) {}
    RefCountedBC(const RefCountedBC&) noexcept : count_(0), spread_(nullptr) {}
    RefCountedBC& operator=(const RefCountedBC&) noexcept { return *this; }
    ~RefCountedBC() {
        assert(spread_.load(std::memory_order_relaxed) == nullptr && "destroyed while its count is spread");
        assert(count_.load(std::memory_order_relaxed) == 0 && "destroyed while still owned");
    }

    /// Adds one owner.
    void reference() noexcept {
        if (SlotS* slots = spread_.load(std::memory_order_acquire)) {
            slots[ThreadSlotC::ofThisThread()].taken.fetch_add(1, std::memory_order_seq_cst);
            return;
        }
        count_.fetch_add(1, std::memory_order_relaxed);
    }

    /// Removes one owner and returns the count that remains; the caller
    /// destroys the object when it is zero (never while the count is spread).
    unsigned long dereference() noexcept {
        if (SlotS* slots = spread_.load(std::memory_order_acquire)) {
            slots[ThreadSlotC::ofThisThread()].dropped.fetch_add(1, std::memory_order_seq_cst);
            return 1;
        }
        return count_.fetch_sub(1, std::memory_order_acq_rel) - 1;
    }

    /// The current number of owners. While the count is spread and other
    /// threads change it, never fewer than there were at some moment of the
    /// call: drops are read before the count and takings after it, and each
    /// slot's takings and drops only grow.
    unsigned long references() const noexcept {
        const SlotS* slots = spread_.load(std::memory_order_acquire);
        if (slots == nullptr) {
            return count_.load(std::memory_order_acquire);
        }
        unsigned long total = 0;
        for (std::size_t i = 0; i < ThreadSlotC::kSlots; ++i) {
            total -= slots[i].dropped.load(std::memory_order_seq_cst);
        }
        total += count_.load(std::memory_order_seq_cst);
        for (std::size_t i = 0; i < ThreadSlotC::kSlots; ++i) {
            total += slots[i].taken.load(std::memory_order_seq_cst);
        }
        return total;
    }

private:
    friend struct detail::CountSpreading;

    // One thread slot's owners taken and dropped (an owner taken on one
    // thread may be dropped on another), on a cache line of its own.
    struct alignas(64) SlotS {
        std::atomic<unsigned long> taken{0};
        std::atomic<unsigned long> dropped{0};
    };

    std::atomic<unsigned long> count_;
    std::atomic<SlotS*> spread_;  // null: the count is count_ alone
};

namespace detail {

/// Spreads and gathers an object's count. Spread only an object that an
/// owner holds until it is gathered again (or until references() shows that
/// owner alone, when no new owner can come), and gather it only when no
/// other thread takes or drops it: both are for the one who keeps it.
struct CountSpreading {
    static bool isSpread(const RefCountedBC& object) noexcept {
        return object.spread_.load(std::memory_order_relaxed) != nullptr;
    }

    /// False when memory runs out (the count then stays as it is).
    static bool spread(RefCountedBC& object) noexcept {
        if (object.spread_.load(std::memory_order_relaxed) != nullptr) {
            return true;
        }
        auto* slots = new (std::nothrow) RefCountedBC::SlotS[ThreadSlotC::kSlots];
        if (slots == nullptr) {
            return false;
        }
        RefCountedBC::SlotS* none = nullptr;
        if (!object.spread_.compare_exchange_strong(none, slots, std::memory_order_acq_rel)) {
            delete[] slots;  // spread by another thread meanwhile
        }
        return true;
    }

    static void gather(RefCountedBC& object) noexcept {
        RefCountedBC::SlotS* slots = object.spread_.exchange(nullptr, std::memory_order_acq_rel);
        if (slots == nullptr) {
            return;
        }
        unsigned long total = 0;
        for (std::size_t i = 0; i < ThreadSlotC::kSlots; ++i) {
            total += slots[i].taken.load(std::memory_order_acquire) - slots[i].dropped.load(std::memory_order_acquire);
        }
        object.count_.fetch_add(total, std::memory_order_acq_rel);
        delete[] slots;
    }
};

}  // namespace detail

}  // namespace qorv::oss

#endif
