// SPDX-License-Identifier: MIT
// ThreadSlotC: a small number for the calling thread, one of kSlots, that no
// other live thread of the process has while there are at most kSlots of
// them. Per-thread state kept in arrays of kSlots (locks, counts), one cache
// line each, thus is written by one thread only and never passed between
// processors.
//
//   std::size_t mine = ThreadSlotC::ofThisThread();   // in [0, kSlots)
//
// The slots have one owner, the algexpr library: every other library and the
// program ask it through claim(), once per thread, and keep the answer in a
// thread-local copy of their own. A thread takes the lowest free slot when it
// first asks and gives it back when it ends, so threads made one after
// another do not come round to the slot of one still running. Beyond kSlots
// live threads share slots in turn: correct, only no longer private.
#ifndef QORV_OSS_THREADSLOTC_H
#define QORV_OSS_THREADSLOTC_H

#include <cstddef>

#include "algexpr/algexpr_export.h"

#if defined(__GNUC__)
#define QORV_OSS_INITIAL_EXEC __attribute__((tls_model("initial-exec")))
#else
#define QORV_OSS_INITIAL_EXEC
#endif

namespace qorv::oss {

class ThreadSlotC {
public:
    static constexpr std::size_t kSlots = 8;

    ThreadSlotC() = delete;

    /// The calling thread's slot, in [0, kSlots).
    static std::size_t ofThisThread() noexcept {
        // This library's copy of the answer. Trivial, so read without a
        // guard; initial-exec, so read without a call (a library loaded later
        // takes it from the spare static space).
        QORV_OSS_INITIAL_EXEC thread_local std::size_t index = kSlots;
        if (index == kSlots) {
            index = claim();
        }
        return index;
    }

    /// The calling thread's slot as its owner hands it out, taken on the
    /// thread's first call; the same for every library that asks.
    static ALGEXPR_API std::size_t claim() noexcept;
};

}  // namespace qorv::oss

#endif
