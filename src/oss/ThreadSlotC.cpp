// SPDX-License-Identifier: MIT
#include "oss/ThreadSlotC.h"

#include <atomic>
#include <cstdint>

namespace qorv::oss {

namespace {

// One bit per slot that a live thread holds, and the turn for threads beyond
// kSlots: here alone in the process, whatever library asks.
std::atomic<std::uint32_t> held_slots{0};
std::atomic<std::size_t> next_shared{0};

// A thread's hold on its slot, given back when the thread ends.
class SlotHoldC {
public:
    SlotHoldC() noexcept {
        // One bit per slot (a constant, so kSlots beyond 31 does not build).
        constexpr std::uint32_t all = (std::uint32_t{1} << ThreadSlotC::kSlots) - 1u;
        std::uint32_t held = held_slots.load(std::memory_order_relaxed);
        for (;;) {
            const std::uint32_t free = ~held & all;
            if (free == 0) {
                index = next_shared.fetch_add(1, std::memory_order_relaxed) % ThreadSlotC::kSlots;
                return;
            }
            const std::uint32_t lowest = free & (~free + 1u);
            if (held_slots.compare_exchange_weak(held, held | lowest, std::memory_order_relaxed)) {
                while ((lowest >> index) != 1u) {
                    ++index;
                }
                owned = true;
                return;
            }
        }
    }
    ~SlotHoldC() {
        if (owned) {
            held_slots.fetch_and(~(std::uint32_t{1} << index), std::memory_order_relaxed);
        }
    }
    SlotHoldC(const SlotHoldC&) = delete;
    SlotHoldC& operator=(const SlotHoldC&) = delete;

    std::size_t index = 0;
    bool owned = false;
};

// The answer, kept apart from the hold: trivial, so it outlives the hold, and
// a thread that asks again while it ends (from another thread-local's
// destructor) gets the same slot back instead of touching a destroyed hold.
thread_local std::size_t claimed = ThreadSlotC::kSlots;

}  // namespace

std::size_t ThreadSlotC::claim() noexcept {
    if (claimed == kSlots) {
        thread_local const SlotHoldC hold;
        claimed = hold.index;
    }
    return claimed;
}

}  // namespace qorv::oss
