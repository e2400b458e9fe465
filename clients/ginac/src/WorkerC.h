// SPDX-License-Identifier: MIT
// WorkerC: the one thread on which all GiNaC and CLN work of the process runs
// (GiNaC's reference counts and globals are not thread-safe). Started on
// first use with a stack of GinacEngineC::kWorkerStackBytes, it waits for one
// job at a time; callers block until their job is done. It is stopped and
// joined at exit (an atexit handler registered when it starts, so it runs
// before GiNaC's own static objects are destroyed) and restarted on demand in
// the child of a fork.
#ifndef ALGEXPR_GINAC_SRC_WORKERC_H
#define ALGEXPR_GINAC_SRC_WORKERC_H

namespace qorv::math::algexpr::ginac::detail {

class WorkerC {
public:
    using JobF = void (*)(void* context);

    /// Runs job(context) on the worker and waits; false when the worker
    /// cannot be started (or has been stopped at exit). On the worker itself
    /// the job runs at once. The job must not throw.
    static bool run(JobF job, void* context) noexcept;
    /// Whether the calling thread is the worker.
    static bool onWorker() noexcept;
};

}  // namespace qorv::math::algexpr::ginac::detail

#endif
