// SPDX-License-Identifier: MIT
#include "WorkerC.h"

#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <new>

#include "algexpr/ginac/GinacEngineC.h"

namespace qorv::math::algexpr::ginac::detail {

namespace {

enum class StateE {
    NotStarted,
    Running,
    Stopped,  // at exit
    Refused,  // in the child of a fork made while a job ran on another thread
};

// The worker and its callers, in one process. Made on first use, and again
// by the first use in the child of a fork; never deleted, so that it
// outlives every static object. A child leaves its parent's state alone
// (its mutex may have been held by a thread that the child does not have),
// but keeps it reachable.
struct Shared {
    Shared(pid_t owner, Shared* parent) : owner(owner), parent(parent) {}

    const pid_t owner;
    Shared* const parent;
    // While a job runs on the worker; read by the child of a fork.
    std::atomic<bool> running{false};

    std::mutex mutex;  // guards the rest; never held while a job runs
    std::condition_variable wake;  // the worker: a job, or stop
    std::condition_variable done;  // the caller: its job has run
    std::condition_variable available;  // callers: the worker takes a job again
    StateE state = StateE::NotStarted;
    pthread_t thread{};
    WorkerC::JobF job = nullptr;
    void* context = nullptr;
    bool busy = false;  // a caller's job is queued or running, or its caller not yet woken
    bool completed = false;
    bool stop = false;
};

std::atomic<Shared*> current_p{nullptr};
thread_local Shared* worker_of = nullptr;  // the state whose worker this thread is
thread_local const char16_t* why_not = u"";

void stopWorker();

// Stops the worker before GiNaC's static objects are destroyed: made when
// the first worker starts, so destroyed before the statics made earlier.
struct ExitGuard {
    ~ExitGuard() { stopWorker(); }
};

// The state of this process: made on first use and after a fork.
Shared* shared() noexcept {
    const pid_t self = ::getpid();
    Shared* seen = current_p.load(std::memory_order_acquire);
    while (seen == nullptr || seen->owner != self) {
        auto* made = new (std::nothrow) Shared(self, seen);
        if (made == nullptr) {
            return nullptr;
        }
        // Forked while a job ran elsewhere: GiNaC may be half-way through a
        // change that no thread here will finish. A job that forked itself
        // left GiNaC as its own thread sees it.
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

void* loop(void* argument) {
    auto* shared = static_cast<Shared*>(argument);
    worker_of = shared;
    std::unique_lock<std::mutex> lock(shared->mutex);
    for (;;) {
        shared->wake.wait(lock, [shared] { return shared->job != nullptr || shared->stop; });
        if (shared->job == nullptr) {
            return nullptr;
        }
        const WorkerC::JobF job = shared->job;
        lock.unlock();
        shared->running.store(true);
        job(shared->context);
        shared->running.store(false);
        if (::getpid() != shared->owner) {
            ::_exit(0);  // the job forked and this is the child: no caller waits for it here
        }
        lock.lock();
        shared->job = nullptr;
        shared->completed = true;
        shared->done.notify_one();
    }
}

// Stops and joins the worker of this process; at exit.
void stopWorker() {
    Shared* shared = current_p.load(std::memory_order_acquire);
    if (shared == nullptr || shared->owner != ::getpid()) {
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

// With `shared.mutex` held.
bool start(Shared& shared) {
    if (shared.state != StateE::NotStarted) {
        return shared.state == StateE::Running;
    }
    static ExitGuard guard;
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) {
        return false;
    }
    const bool started = pthread_attr_setstacksize(&attributes, GinacEngineC::kWorkerStackBytes) == 0 &&
                         pthread_create(&shared.thread, &attributes, loop, &shared) == 0;
    pthread_attr_destroy(&attributes);
    if (started) {
        shared.state = StateE::Running;
    }
    return started;
}

const char16_t* describe(StateE state) {
    switch (state) {
        case StateE::Stopped:
            return u"the GiNaC worker has stopped: the process is exiting";
        case StateE::Refused:
            return u"this process was forked while GiNaC was at work on another thread; GiNaC cannot be used in it";
        case StateE::NotStarted:
        case StateE::Running:
            break;
    }
    return u"the GiNaC worker thread cannot be started";
}

}  // namespace

bool WorkerC::run(JobF job, void* context) noexcept {
    Shared* const shared = detail::shared();
    if (shared == nullptr) {
        why_not = describe(StateE::NotStarted);
        return false;
    }
    if (worker_of == shared) {
        job(context);
        return true;
    }
    std::unique_lock<std::mutex> lock(shared->mutex);
    shared->available.wait(lock, [shared] { return !shared->busy || shared->stop; });
    if (shared->stop || !start(*shared)) {
        why_not = describe(shared->state);
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

const char16_t* WorkerC::whyNot() noexcept { return why_not; }

}  // namespace qorv::math::algexpr::ginac::detail
