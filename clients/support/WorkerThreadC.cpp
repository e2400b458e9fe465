// SPDX-License-Identifier: MIT
#include "WorkerThreadC.h"

#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <new>

namespace qorv::math::algexpr::support {

namespace {

enum class StateE {
    NotStarted,
    Running,
    Stopped,  // at exit
    Refused,  // in the child of a fork made while a job ran on another thread
};

thread_local const WorkerThreadC::SharedS* worker_of = nullptr;  // the state whose worker this thread is
thread_local const char16_t* why_not = u"";

// This process's id, without a system call at each evaluation: read at
// first use, and again in the child of each fork.
std::atomic<pid_t> process_id{0};

void renewProcessId() noexcept { process_id.store(::getpid(), std::memory_order_relaxed); }

pid_t processId() noexcept {
    static const bool watched = [] {
        renewProcessId();
        ::pthread_atfork(nullptr, nullptr, renewProcessId);
        return true;
    }();
    (void)watched;
    return process_id.load(std::memory_order_relaxed);
}

}  // namespace

// The worker and its callers, in one process. Made on first use, and again
// by the first use in the child of a fork; never deleted, so that it
// outlives every static object. A child leaves its parent's state alone (its
// mutex may have been held by a thread that the child does not have), but
// keeps it reachable.
struct WorkerThreadC::SharedS {
    SharedS(pid_t owner, SharedS* parent) : owner(owner), parent(parent) {}

    const pid_t owner;
    SharedS* const parent;
    std::atomic<bool> running{false};  // while a job runs; read by the child of a fork

    std::mutex mutex;                   // guards the rest; never held while a job runs
    std::condition_variable wake;       // the worker: a job, or stop
    std::condition_variable done;       // the caller: its job has run
    std::condition_variable available;  // callers: the worker takes a job again
    StateE state = StateE::NotStarted;
    pthread_t thread{};
    JobF job = nullptr;
    void* context = nullptr;
    bool busy = false;  // a caller's job is queued or running, or its caller not yet woken
    bool completed = false;
    bool stop = false;
};

// Stops the workers before the static objects made before them are
// destroyed: made when the first worker starts.
struct ExitGuardS {
    std::mutex mutex;
    WorkerThreadC* first = nullptr;

    void enlist(WorkerThreadC& worker) {
        std::lock_guard<std::mutex> lock(mutex);
        for (WorkerThreadC* w = first; w != nullptr; w = w->next) {
            if (w == &worker) {
                return;
            }
        }
        worker.next = first;
        first = &worker;
    }
    ~ExitGuardS() {
        for (WorkerThreadC* w = first; w != nullptr; w = w->next) {
            w->stop();
        }
    }
};

namespace {

void* loop(void* argument) {
    auto* shared = static_cast<WorkerThreadC::SharedS*>(argument);
    worker_of = shared;
    std::unique_lock<std::mutex> lock(shared->mutex);
    for (;;) {
        shared->wake.wait(lock, [shared] { return shared->job != nullptr || shared->stop; });
        if (shared->job == nullptr) {
            return nullptr;
        }
        const WorkerThreadC::JobF job = shared->job;
        lock.unlock();
        shared->running.store(true);
        job(shared->context);
        shared->running.store(false);
        if (processId() != shared->owner) {
            ::_exit(0);  // the job forked and this is the child: no caller waits for it here
        }
        lock.lock();
        shared->job = nullptr;
        shared->completed = true;
        shared->done.notify_one();
    }
}

}  // namespace

WorkerThreadC::WorkerThreadC(std::size_t stack_bytes, const MessagesS& messages) noexcept
    : stack_bytes(stack_bytes), messages(messages) {}

// The state of this process: made on first use and after a fork.
WorkerThreadC::SharedS* WorkerThreadC::shared() noexcept {
    const pid_t self = processId();
    SharedS* seen = current_p.load(std::memory_order_acquire);
    while (seen == nullptr || seen->owner != self) {
        auto* made = new (std::nothrow) SharedS(self, seen);
        if (made == nullptr) {
            return nullptr;
        }
        // Forked while a job ran elsewhere: the engine may be half-way
        // through a change that no thread here will finish. A job that forked
        // itself left the engine as its own thread sees it.
        if (seen != nullptr && seen->running.load() && worker_of != seen) {
            made->state = StateE::Refused;
        }
        if (current_p.compare_exchange_strong(seen, made, std::memory_order_acq_rel)) {
            return made;
        }
        delete made;  // another thread of this process was first
    }
    return seen;
}

// Stops and joins the worker of this process; at exit.
void WorkerThreadC::stop() noexcept {
    SharedS* shared = current_p.load(std::memory_order_acquire);
    if (shared == nullptr || shared->owner != processId()) {
        return;  // a child that never used the worker: the state is its parent's
    }
    std::unique_lock<std::mutex> lock(shared->mutex);
    const bool joinable = shared->state == StateE::Running && worker_of != shared;
    if (shared->state == StateE::Running || shared->state == StateE::NotStarted) {
        shared->state = StateE::Stopped;
    }
    shared->stop = true;
    shared->wake.notify_one();
    shared->available.notify_all();
    lock.unlock();
    if (joinable) {
        pthread_join(shared->thread, nullptr);  // after the job in progress, if any
    }
}

bool WorkerThreadC::run(JobF job, void* context) noexcept {
    SharedS* const shared = this->shared();
    if (shared == nullptr) {
        why_not = messages.cannot_start;
        return false;
    }
    if (worker_of == shared) {
        job(context);
        return true;
    }
    std::unique_lock<std::mutex> lock(shared->mutex);
    shared->available.wait(lock, [shared] { return !shared->busy || shared->stop; });
    bool started = shared->state == StateE::Running;
    if (!shared->stop && shared->state == StateE::NotStarted) {
        static ExitGuardS guard;
        try {
            guard.enlist(*this);
        } catch (...) {  // a mutex that cannot be locked: the worker is not stopped at exit
        }
        pthread_attr_t attributes;
        if (pthread_attr_init(&attributes) == 0) {
            started = pthread_attr_setstacksize(&attributes, stack_bytes) == 0 &&
                      pthread_create(&shared->thread, &attributes, loop, shared) == 0;
            pthread_attr_destroy(&attributes);
        }
        shared->state = started ? StateE::Running : StateE::NotStarted;
    }
    if (shared->stop || !started) {
        why_not = shared->state == StateE::Stopped   ? messages.stopped
                  : shared->state == StateE::Refused ? messages.forked
                                                     : messages.cannot_start;
        return false;
    }
    shared->busy = true;
    shared->completed = false;
    shared->job = job;
    shared->context = context;
    shared->wake.notify_one();
    shared->done.wait(lock, [shared] { return shared->completed; });
    shared->busy = false;
    shared->available.notify_one();
    return true;
}

const char16_t* WorkerThreadC::whyNot() const noexcept { return why_not; }

bool WorkerThreadC::onWorker() const noexcept {
    const SharedS* shared = current_p.load(std::memory_order_acquire);
    return shared != nullptr && worker_of == shared;
}

}  // namespace qorv::math::algexpr::support
