// SPDX-License-Identifier: MIT
// WorkerThreadC: one persistent thread on which all of an engine's work in a
// process runs, for engines whose state is not thread-safe or that need a
// large stack. Started on first use with the stack size given, it runs one
// job at a time; callers block until their job is done. A client keeps one
// object for the life of the process (made once and never deleted):
//
//   static WorkerThreadC& worker() {
//       static auto* made = new WorkerThreadC(64 << 20, kWorkerMessages);
//       return *made;
//   }
//   worker().run(job, &data);   // false: worker().whyNot() says why
//
// Nothing process-wide is installed: no fork handlers, no signal handlers.
// No lock is held while a job runs, so from any thread at any time:
//  - fork() never waits for the worker. The child notices the fork when it
//    first uses the worker and starts one of its own. When the fork came from
//    another thread while a job ran, the engine's state may be half-changed
//    in the child, so there every call answers false; a job that forks may go
//    on using the worker in its child. That child ends with _exit(0) when the
//    job returns (the caller it would return to does not exist there).
//  - exit() waits for the job in progress (a static object's destructor, run
//    before the statics made before the worker started are destroyed), then
//    stops the worker; later calls answer false. Called inside a job, it
//    stops the worker at once.
// The object owns its state; states left behind by forks stay reachable.
#ifndef ALGEXPR_CLIENTS_SUPPORT_WORKERTHREADC_H
#define ALGEXPR_CLIENTS_SUPPORT_WORKERTHREADC_H

#include <atomic>
#include <cstddef>

namespace qorv::math::algexpr::support {

class WorkerThreadC {
public:
    using JobF = void (*)(void* context);

    /// What whyNot() answers in each case: static strings.
    struct MessagesS {
        const char16_t* cannot_start;  // no thread (or no memory for its state)
        const char16_t* stopped;       // the process is exiting
        const char16_t* forked;        // forked while a job ran on another thread
    };

    WorkerThreadC(std::size_t stack_bytes, const MessagesS& messages) noexcept;
    WorkerThreadC(const WorkerThreadC&) = delete;
    WorkerThreadC& operator=(const WorkerThreadC&) = delete;

    /// Runs job(context) on the worker and waits; false when the worker
    /// cannot run it (see whyNot). On the worker itself the job runs at once.
    /// The job must not throw.
    bool run(JobF job, void* context) noexcept;
    /// Why run() last answered false on the calling thread: a static string.
    const char16_t* whyNot() const noexcept;
    /// Whether the calling thread is this worker.
    bool onWorker() const noexcept;

    struct SharedS;  // the state of one process; internal

private:
    friend struct ExitGuardS;

    SharedS* shared() noexcept;
    void stop() noexcept;

    const std::size_t stack_bytes;
    const MessagesS messages;
    std::atomic<SharedS*> current_p{nullptr};
    WorkerThreadC* next = nullptr;  // in the list stopped at exit
};

}  // namespace qorv::math::algexpr::support

#endif
