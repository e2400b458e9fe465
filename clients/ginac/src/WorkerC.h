// SPDX-License-Identifier: MIT
// WorkerC: the one thread on which all GiNaC and CLN work of a process runs
// (GiNaC's reference counts and globals are not thread-safe): the client's
// support::WorkerThreadC, started on first use with a stack of
// GinacEngineC::kWorkerStackBytes. It runs one job
// at a time; callers block until their job is done. A caller that wants many
// evaluations without a hand-off between threads each runs them all as one
// job (GinacEngineC::runOnWorker): work asked for from the worker runs at once.
//
// Nothing process-wide is installed: no fork handlers, no signal handlers.
// No lock is held while a job runs, so from any thread at any time:
//  - fork() never waits for the worker. The child notices the fork when it
//    first uses the worker and starts one of its own. When the fork came from
//    another thread while a job ran, GiNaC's state may be half-changed in the
//    child, so there every call answers false; a job that forks may go on
//    using the worker in its child. That child ends with _exit(0) when the
//    job returns (the caller it would return to does not exist there), as
//    a child of a threaded process should: nothing is flushed or destroyed.
//  - exit() waits for the job in progress (a static object's destructor, run
//    before GiNaC's own statics are destroyed), then stops the worker; later
//    calls answer false. Called inside a job, it stops the worker at once:
//    the static objects are then destroyed on the worker itself.
#ifndef ALGEXPR_GINAC_SRC_WORKERC_H
#define ALGEXPR_GINAC_SRC_WORKERC_H

namespace qorv::math::algexpr::ginac::detail {

class WorkerC {
public:
    using JobF = void (*)(void* context);

    /// Runs job(context) on the worker and waits; false when the worker
    /// cannot run it (see whyNot). On the worker itself the job runs at once.
    /// The job must not throw.
    static bool run(JobF job, void* context) noexcept;
    /// Why run() answered false, for messages: a static string.
    static const char16_t* whyNot() noexcept;
};

}  // namespace qorv::math::algexpr::ginac::detail

#endif
