// SPDX-License-Identifier: MIT
#include "WorkerC.h"

#include <pthread.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <new>
#include <thread>

#include "AllocationHooks.h"
#include "algexpr/ginac/GinacEngineC.h"

namespace qorv::math::algexpr::ginac::detail {

namespace {

enum class StateE { NotStarted, Running, Stopped };

// Everything the worker and its callers share. Made once and never deleted,
// so that it outlives every static object; after a fork the child makes a
// fresh one (the parent's mutexes and condition variable may be in use by a
// thread that the child does not have).
struct Shared {
    std::mutex submit;  // held by a caller for the whole of its job
    std::mutex mutex;   // guards the fields below
    std::condition_variable wake;
    std::condition_variable done;
    StateE state = StateE::NotStarted;
    pthread_t thread{};
    // Written under `mutex`; read without it only while spinning.
    std::atomic<WorkerC::JobF> job{nullptr};
    void* context = nullptr;
    std::atomic<bool> finished{false};
    bool stop = false;
};

// A caller waiting for its job, and the worker waiting for the next one,
// first spin for about this many rounds (tens of microseconds) before they
// sleep: a stream of evaluations then passes from thread to thread without
// a sleep and wake-up in the kernel each time, which costs more than the
// conversion of a typical expression.
constexpr int kSpins = 2000;

template <class Ready>
bool spin(Ready ready) {
    for (int i = 0; i < kSpins; ++i) {
        if (ready()) {
            return true;
        }
        if (i % 64 == 63) {
            std::this_thread::yield();
        }
    }
    return false;
}

Shared* shared_p = nullptr;
Shared* abandoned_p = nullptr;  // the parent's, in a forked child: kept reachable
std::once_flag once;
thread_local bool on_worker = false;

void* loop(void* argument) {
    auto* shared = static_cast<Shared*>(argument);
    on_worker = true;
    installAllocationHooks();
    std::unique_lock<std::mutex> lock(shared->mutex);
    for (;;) {
        shared->wake.wait(lock, [shared] { return shared->job.load() != nullptr || shared->stop; });
        if (shared->job.load() == nullptr) {
            return nullptr;
        }
        const WorkerC::JobF job = shared->job.load();
        void* const context = shared->context;
        lock.unlock();
        job(context);
        lock.lock();
        shared->job.store(nullptr);
        shared->finished.store(true);
        shared->done.notify_one();
        lock.unlock();
        spin([shared] { return shared->job.load(std::memory_order_acquire) != nullptr; });
        lock.lock();
    }
}

// Stops and joins the worker; runs at exit.
void stopWorker() {
    Shared* shared = shared_p;
    std::lock_guard<std::mutex> submit(shared->submit);
    std::unique_lock<std::mutex> lock(shared->mutex);
    if (shared->state != StateE::Running) {
        shared->state = StateE::Stopped;
        return;
    }
    shared->stop = true;
    shared->state = StateE::Stopped;
    shared->wake.notify_one();
    lock.unlock();
    pthread_join(shared->thread, nullptr);
}

void beforeFork() {
    shared_p->submit.lock();
    shared_p->mutex.lock();
}

void afterForkInParent() {
    shared_p->mutex.unlock();
    shared_p->submit.unlock();
}

void afterForkInChild() {
    // The worker thread does not exist here; a fresh state starts a new one
    // on demand. The old state stays allocated (its mutexes are held).
    const StateE state = shared_p->state;
    abandoned_p = shared_p;
    shared_p = new (std::nothrow) Shared();
    if (shared_p == nullptr) {
        shared_p = abandoned_p;
        shared_p->state = StateE::Stopped;
        return;
    }
    shared_p->state = state == StateE::Stopped ? StateE::Stopped : StateE::NotStarted;
}

bool setUp() {
    std::call_once(once, [] {
        shared_p = new (std::nothrow) Shared();
        if (shared_p != nullptr) {
            pthread_atfork(beforeFork, afterForkInParent, afterForkInChild);
            std::atexit(stopWorker);
        }
    });
    return shared_p != nullptr;
}

// With `shared->mutex` held.
bool start(Shared& shared) {
    if (shared.state == StateE::Running) {
        return true;
    }
    if (shared.state == StateE::Stopped) {
        return false;
    }
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) {
        return false;
    }
    bool started = pthread_attr_setstacksize(&attributes, GinacEngineC::kWorkerStackBytes) == 0 &&
                   pthread_create(&shared.thread, &attributes, loop, &shared) == 0;
    pthread_attr_destroy(&attributes);
    if (started) {
        shared.state = StateE::Running;
    }
    return started;
}

}  // namespace

bool WorkerC::run(JobF job, void* context) noexcept {
    if (on_worker) {
        job(context);
        return true;
    }
    if (!setUp()) {
        return false;
    }
    Shared& shared = *shared_p;
    std::lock_guard<std::mutex> submit(shared.submit);
    std::unique_lock<std::mutex> lock(shared.mutex);
    if (!start(shared)) {
        return false;
    }
    shared.context = context;
    shared.finished.store(false);
    shared.job.store(job);
    shared.wake.notify_one();
    lock.unlock();
    if (!spin([&shared] { return shared.finished.load(std::memory_order_acquire); })) {
        lock.lock();
        shared.done.wait(lock, [&shared] { return shared.finished.load(); });
    }
    return true;
}

bool WorkerC::onWorker() noexcept { return on_worker; }

}  // namespace qorv::math::algexpr::ginac::detail
