// SPDX-License-Identifier: MIT
// ThreadSlotC: a small number for the calling thread, one of kSlots, that no
// other live thread has while there are at most kSlots of them. Per-thread
// state kept in arrays of kSlots (locks, counts), one cache line each, thus
// is written by one thread only and never passed between processors.
//
// A thread takes the lowest free slot when it first asks and gives it back
// when it ends, so threads made one after another do not come round to the
// slot of one still running. Beyond kSlots live threads share slots in turn:
// correct, only no longer private.
#ifndef QORV_OSS_THREADSLOTC_H
#define QORV_OSS_THREADSLOTC_H

#include <atomic>
#include <cstddef>
#include <cstdint>

#if defined(__GNUC__)
#define QORV_OSS_INITIAL_EXEC __attribute__((tls_model("initial-exec")))
#else
#define QORV_OSS_INITIAL_EXEC
#endif

namespace qorv::oss {

class ThreadSlotC {
public:
    static constexpr std::size_t kSlots = 8;

    /// The calling thread's slot, in [0, kSlots).
    static std::size_t ofThisThread() noexcept {
        // Trivial, so read without a guard; initial-exec, so read without a
        // call (a library loaded later takes it from the spare static space).
        QORV_OSS_INITIAL_EXEC thread_local std::size_t index = kSlots;
        if (index == kSlots) {
            thread_local const ThreadSlotC slot;  // given back when the thread ends
            index = slot.index;
        }
        return index;
    }

    ThreadSlotC(const ThreadSlotC&) = delete;
    ThreadSlotC& operator=(const ThreadSlotC&) = delete;

private:
    ThreadSlotC() noexcept {
        constexpr std::uint32_t all = (1u << kSlots) - 1u;
        std::uint32_t held = taken().load(std::memory_order_relaxed);
        for (;;) {
            const std::uint32_t free = ~held & all;
            if (free == 0) {
                index = shared().fetch_add(1, std::memory_order_relaxed) % kSlots;
                return;
            }
            const std::uint32_t lowest = free & (~free + 1u);
            if (taken().compare_exchange_weak(held, held | lowest, std::memory_order_relaxed)) {
                while ((lowest >> index) != 1u) {
                    ++index;
                }
                owned = true;
                return;
            }
        }
    }
    ~ThreadSlotC() {
        if (owned) {
            taken().fetch_and(~(1u << index), std::memory_order_relaxed);
        }
    }

    static std::atomic<std::uint32_t>& taken() noexcept {
        static std::atomic<std::uint32_t> bits{0};  // one per slot held by a live thread
        return bits;
    }
    static std::atomic<std::size_t>& shared() noexcept {
        static std::atomic<std::size_t> next{0};
        return next;
    }

    std::size_t index = 0;
    bool owned = false;
};

}  // namespace qorv::oss

#endif
