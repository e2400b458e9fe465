// SPDX-License-Identifier: MIT
// BoundaryC: where Giac's work runs, and what the host may ask to change
// process-wide for it. Every job runs through the engine's driver
// (support::EngineDriverC) on one persistent worker thread with a stack of
// GiacEngineC::kStackBytes (Giac's algorithms recurse), one at a time (Giac's
// global state is shared between its contexts), while the caller waits;
// forks and exit are safe as support::WorkerThreadC describes.
//
// Nothing process-wide changes unless the host asks (GiacSessionC's
// settings):
//  - throwOnAllocationFailure(): GMP's and FLINT's allocation functions
//    replaced by support/GmpAllocation.h's and poly/FlintAllocation.h's,
//    which throw instead of aborting;
//  - filterStandardStreams(): a filter in front of the buffers of std::cout,
//    std::cerr and std::clog that drops what the worker writes there (a few
//    of Giac's messages bypass its context's log) and passes on, unchanged,
//    what every other thread writes.
// Both are for good: neither can be undone.
#ifndef ALGEXPR_GIAC_SRC_BOUNDARYC_H
#define ALGEXPR_GIAC_SRC_BOUNDARYC_H

#include "EngineDriverC.h"

namespace qorv::math::algexpr::giac::detail {

class BoundaryC {
public:
    /// The engine's driver: its thread and catch ladder, with Giac's
    /// messages. Made on first use, never destroyed.
    static support::EngineDriverC& driver() noexcept;

    /// Installs the allocation functions (on the worker, so that no Giac
    /// work runs meanwhile); false when the worker cannot run.
    static bool throwOnAllocationFailure() noexcept;
    static bool throwsOnAllocationFailure() noexcept;
    /// Puts the filters in front of the standard streams' buffers, once.
    static void filterStandardStreams() noexcept;
    static bool filtersStandardStreams() noexcept;
};

}  // namespace qorv::math::algexpr::giac::detail

#endif
