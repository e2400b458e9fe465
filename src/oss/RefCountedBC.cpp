// SPDX-License-Identifier: MIT
#include "oss/RefCountedBC.h"

#include <new>
#include <thread>

// Gathering, and why no owner is lost or counted twice: each slot counter's
// changes happen one after another, so an owner taken or dropped through a
// slot either comes before the gathering closed that counter (and is in the
// value it read) or after (and sees kClosed in what its change returned).
// The latter waits until spread_ says "gathered", which is stored only after
// count_ holds every slot's owners, and then counts on count_. The slots are
// freed with the object, never before: a thread that read their address
// before the gathering may reach them long after it.

namespace qorv::oss {

void RefCountedBC::awaitGathered() const noexcept {
    while ((spread_.load(std::memory_order_acquire) & kGathered) == 0) {
        std::this_thread::yield();
    }
}

void RefCountedBC::freeSlots(std::uintptr_t spread) noexcept { delete[] reinterpret_cast<SlotS*>(spread & ~kGathered); }

namespace detail {

bool CountSpreading::spread(RefCountedBC& object) noexcept {
    std::uintptr_t before = object.spread_.load(std::memory_order_acquire);
    if (before == 0) {
        auto* slots = new (std::nothrow) RefCountedBC::SlotS[ThreadSlotC::kSlots];
        if (slots == nullptr) {
            return false;
        }
        if (object.spread_.compare_exchange_strong(before, reinterpret_cast<std::uintptr_t>(slots),
                                                   std::memory_order_acq_rel)) {
            return true;
        }
        delete[] slots;  // spread by another thread meanwhile
    }
    return (before & RefCountedBC::kGathered) == 0;
}

void CountSpreading::gather(RefCountedBC& object) noexcept {
    RefCountedBC::SlotS* slots = object.spreadSlots();
    if (slots == nullptr) {
        return;
    }
    constexpr unsigned long kClosed = RefCountedBC::kClosed;
    // The first counter closed tells whether another gatherer came first.
    unsigned long total = slots[0].taken.fetch_or(kClosed, std::memory_order_seq_cst);
    if ((total & kClosed) != 0) {
        object.awaitGathered();
        return;
    }
    total -= slots[0].dropped.fetch_or(kClosed, std::memory_order_seq_cst);
    for (std::size_t i = 1; i < ThreadSlotC::kSlots; ++i) {
        total += slots[i].taken.fetch_or(kClosed, std::memory_order_seq_cst);
        total -= slots[i].dropped.fetch_or(kClosed, std::memory_order_seq_cst);
    }
    object.count_.fetch_add(total, std::memory_order_acq_rel);
    object.spread_.store(reinterpret_cast<std::uintptr_t>(slots) | RefCountedBC::kGathered, std::memory_order_release);
}

}  // namespace detail

}  // namespace qorv::oss
