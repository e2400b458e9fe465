// SPDX-License-Identifier: MIT
// The Giac client and its host process: one persistent worker thread for all
// evaluations (jobs one at a time, on one thread with the stack asked for,
// safe across fork), and GMP's allocation functions left as the host set them
// unless it asks for the throwing ones.
#include <gmp.h>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <thread>
#include <vector>

#include "GiacFixture.h"
#include "WorkerThreadC.h"

#if defined(__SANITIZE_ADDRESS__)
#define ALGEXPR_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ALGEXPR_TEST_ASAN 1
#endif
#endif

using namespace giac_tests;
using qorv::math::algexpr::support::WorkerThreadC;

namespace {

constexpr WorkerThreadC::MessagesS kMessages{u"cannot start", u"stopped", u"forked"};

struct RecordS {
    WorkerThreadC* worker = nullptr;
    std::atomic<int> inside{0};
    std::atomic<int> overlaps{0};
    std::atomic<int> runs{0};
    std::atomic<int> other_threads{0};
    std::atomic<int> nested{0};
    std::atomic<std::size_t> stack{0};
    pthread_t first{};
    std::atomic<bool> seen{false};
};

void nestedJob(void* context) { ++static_cast<RecordS*>(context)->nested; }

void job(void* context) {
    auto* record = static_cast<RecordS*>(context);
    if (record->inside.fetch_add(1) != 0) {
        ++record->overlaps;
    }
    if (!record->seen.exchange(true)) {
        record->first = pthread_self();
        pthread_attr_t attributes;
        if (pthread_getattr_np(pthread_self(), &attributes) == 0) {
            std::size_t size = 0;
            pthread_attr_getstacksize(&attributes, &size);
            record->stack = size;
            pthread_attr_destroy(&attributes);
        }
    } else if (!pthread_equal(record->first, pthread_self())) {
        ++record->other_threads;
    }
    // Asked for from the worker itself, a job runs at once.
    if (record->worker->onWorker() && record->worker->run(nestedJob, context)) {
        std::this_thread::yield();
    }
    ++record->runs;
    --record->inside;
}

TEST(GiacProcessTest, WorkerRunsJobsOneAtATimeOnOneThreadWithItsStack) {
    // Made once and never deleted, as a client keeps its worker.
    WorkerThreadC& worker = *new WorkerThreadC(std::size_t{8} << 20, kMessages);
    RecordS record;
    record.worker = &worker;
    std::vector<std::thread> threads;
    std::atomic<int> refused{0};
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int k = 0; k < 50; ++k) {
                refused += worker.run(job, &record) ? 0 : 1;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(refused.load(), 0);
    EXPECT_EQ(record.runs.load(), 200);
    EXPECT_EQ(record.nested.load(), 200);
    EXPECT_EQ(record.overlaps.load(), 0);
    EXPECT_EQ(record.other_threads.load(), 0);
    EXPECT_GE(record.stack.load(), std::size_t{8} << 20);
    EXPECT_FALSE(worker.onWorker());
}

TEST(GiacProcessTest, AForkedChildEvaluatesOnAWorkerOfItsOwn) {
    ASSERT_EQ(eval("integrate(times(2,x),x)"), "power(x,2)");
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        const bool same = eval("integrate(times(3,power(x,2)),x)") == "power(x,3)" && eval("plus(1,1)") == "2";
        std::_Exit(same ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(eval("limit(divide(sin(x),x),x,0)"), "1");
}

std::atomic<int> host_allocations{0};

void* hostAllocate(std::size_t size) {
    ++host_allocations;
    return std::malloc(size);
}
void* hostReallocate(void* block, std::size_t, std::size_t size) { return std::realloc(block, size); }
void hostRelease(void* block, std::size_t) { std::free(block); }

TEST(GiacProcessTest, GmpFunctionsStayTheHostsUnlessItAsks) {
    // The host's own functions, set before any GMP value exists here.
    mp_set_memory_functions(hostAllocate, hostReallocate, hostRelease);
    EXPECT_EQ(eval("minus(power(3,5000),power(3,5000))"), "0");
    EXPECT_GT(host_allocations.load(), 0);
    EXPECT_FALSE(session().getThrowOnAllocationFailure());
    EXPECT_TRUE(session().setThrowOnAllocationFailure(false));
    void* (*now)(std::size_t) = nullptr;
    mp_get_memory_functions(&now, nullptr, nullptr);
    EXPECT_EQ(now, hostAllocate);

    // Asked for (in a child, so that the other tests keep the host's), the
    // throwing functions take their place for good: GMP running out of
    // memory throws std::bad_alloc instead of aborting.
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        if (!session().setThrowOnAllocationFailure(true) || !session().getThrowOnAllocationFailure() ||
            session().setThrowOnAllocationFailure(false)) {
            std::_Exit(2);
        }
        mp_get_memory_functions(&now, nullptr, nullptr);
        if (now == hostAllocate) {
            std::_Exit(3);
        }
        int code = 0;
#ifndef ALGEXPR_TEST_ASAN
        rlimit limit{};
        getrlimit(RLIMIT_AS, &limit);
        limit.rlim_cur = rlim_t{4} << 30;
        setrlimit(RLIMIT_AS, &limit);
        mpz_t z;
        mpz_init(z);
        code = 4;
        try {
            mpz_realloc2(z, mp_bitcnt_t{64} << 30);  // 8 GiB
        } catch (const std::bad_alloc&) {
            code = 0;
        }
        mpz_clear(z);
#endif
        std::_Exit(code == 0 && eval("plus(1,2)") == "3" ? 0 : 5);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
