// SPDX-License-Identifier: MIT
// BoundaryC: where Giac's work runs. Each job runs on a thread of its own,
// started for it with a stack of GiacEngineC::kStackBytes (Giac's algorithms
// recurse), while the caller waits; the jobs of the whole process take turns
// (Giac's global state is shared between its contexts). The first job
// replaces GMP's allocation functions, once, by ones that throw
// std::bad_alloc instead of aborting, and puts a filter in front of the
// buffers of std::cout, std::cerr and std::clog that drops what these threads
// write there and passes on what any other thread writes (Giac writes a few
// messages there instead of to its context's log). A thread per job keeps no
// state alive
// between evaluations, so a process that forks between them has nothing to
// mend.
#ifndef ALGEXPR_GIAC_SRC_BOUNDARYC_H
#define ALGEXPR_GIAC_SRC_BOUNDARYC_H

namespace qorv::math::algexpr::giac::detail {

class BoundaryC {
public:
    using JobF = void (*)(void* context);

    /// Runs job(context) on a new thread and waits for it; false when no
    /// thread can be started. The job must not throw.
    static bool run(JobF job, void* context) noexcept;
};

}  // namespace qorv::math::algexpr::giac::detail

#endif
