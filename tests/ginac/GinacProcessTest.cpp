// SPDX-License-Identifier: MIT
// The GiNaC client and its host process: memory exhausted inside GMP aborts
// as in any GiNaC program unless the host turns the throwing allocation
// functions on (then evaluations end with "out of memory"), a host's own GMP
// functions stay in place, and fork() and exit() work from any thread at any
// time, inside a job too.
#include <flint/flint.h>
#include <gmp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <new>
#include <string>
#include <thread>

#include "GinacFixture.h"

#if defined(__SANITIZE_ADDRESS__)
#define ALGEXPR_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ALGEXPR_TEST_ASAN 1
#endif
#endif

using namespace ginac_tests;

namespace {

// Runs `job` on the worker (GinacEngineC::runOnWorker takes a plain function).
template <class F>
bool onWorker(F& job) {
    return GinacEngineC::runOnWorker([](void* context) { (*static_cast<F*>(context))(); }, &job);
}

#ifndef ALGEXPR_TEST_ASAN
// The process's address space in bytes.
rlim_t addressSpace() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmSize:", 0) == 0) {
            return static_cast<rlim_t>(std::stoull(line.substr(7))) * 1024;
        }
    }
    return 0;
}

void limitAddressSpace(rlim_t margin) {
    rlimit limit{};
    getrlimit(RLIMIT_AS, &limit);
    limit.rlim_cur = addressSpace() + margin;
    if (setrlimit(RLIMIT_AS, &limit) != 0) {
        std::_Exit(3);
    }
}

// Under a limit a little above what the process uses, big computations run
// out of memory one after the other; each must end as a null result, and the
// engine must work again once memory is back.
void exhaustMemory() {
    if (eval("plus(1,1)") != "2" || !session().setThrowOnAllocationFailure(true)) {
        std::_Exit(2);
    }
    rlimit saved{};
    getrlimit(RLIMIT_AS, &saved);
    limitAddressSpace(24u << 20);
    int out_of_memory = 0;
    const char* big[] = {"power(3,2000000)", "expand(power(plus(x,y,z,1),80))", "expand(power(plus(x,y,z,w,1),30))",
                         "times(power(7,1100000),power(11,900000),power(13,800000))", "power(3,2000000)"};
    for (const char* text : big) {
        const Outcome outcome = run(text);
        if (outcome.text == "null") {
            std::fprintf(stderr, "%s: %s\n", text, outcome.reason.c_str());
            out_of_memory += outcome.reason == "out of memory" ? 1 : 0;
        }
    }
    setrlimit(RLIMIT_AS, &saved);
    std::_Exit(out_of_memory > 0 && eval("plus(1,2)") == "3" ? 0 : 1);
}

int handler_calls = 0;

// GMP asked for a gigabyte under a limit of 16 MiB more than the process
// has: what GMP's allocation functions do then decides how this ends.
void gmpRunsOut(bool throwing) {
    if (eval("plus(1,1)") != "2" || (throwing && !session().setThrowOnAllocationFailure(true))) {
        std::_Exit(2);
    }
    std::set_new_handler([] {
        ++handler_calls;
        std::set_new_handler(nullptr);  // operator new's contract: free memory, throw, end, or step aside
    });
    limitAddressSpace(16u << 20);
    auto job = [] {
        mpz_t z;
        mpz_init(z);
        try {
            mpz_realloc2(z, mp_bitcnt_t{8} << 30);
            std::fputs("GMP allocated a gigabyte\n", stderr);
        } catch (const std::bad_alloc&) {
            std::fprintf(stderr, "std::bad_alloc after %d new-handler call\n", handler_calls);
        }
        mpz_clear(z);
    };
    onWorker(job);
    std::_Exit(0);
}
#endif

TEST(GinacProcessTest, RunningOutOfMemoryGivesNullResultsNotAnAbort) {
#ifdef ALGEXPR_TEST_ASAN
    GTEST_SKIP() << "AddressSanitizer reserves address space beyond any limit worth setting";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(exhaustMemory(), testing::ExitedWithCode(0), "out of memory");
#endif
}

#ifndef ALGEXPR_TEST_ASAN
// FLINT (the polynomial route) asked for a gigabyte under the same limit:
// FLINT aborts unless the host asked for exceptions, which then reach the
// client's boundary as std::bad_alloc.
void flintRunsOut(bool throwing) {
    if (eval("plus(1,1)") != "2" || (throwing && !session().setThrowOnAllocationFailure(true))) {
        std::_Exit(2);
    }
    limitAddressSpace(16u << 20);
    auto job = [] {
        try {
            void* block = flint_malloc(std::size_t{1} << 30);
            std::fputs("FLINT allocated a gigabyte\n", stderr);
            flint_free(block);
        } catch (const std::bad_alloc&) {
            std::fputs("std::bad_alloc from FLINT\n", stderr);
        }
    };
    onWorker(job);
    std::_Exit(0);
}
#endif

TEST(GinacProcessTest, FlintOutOfMemoryAbortsUnlessTheHostAsksForExceptions) {
#ifdef ALGEXPR_TEST_ASAN
    GTEST_SKIP() << "AddressSanitizer reserves address space beyond any limit worth setting";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(flintRunsOut(false), testing::KilledBySignal(SIGABRT), "");
    EXPECT_EXIT(flintRunsOut(true), testing::ExitedWithCode(0), "std::bad_alloc from FLINT");
#endif
}

TEST(GinacProcessTest, GmpOutOfMemoryAbortsAsInGinacUnlessTheHostAsksForExceptions) {
#ifdef ALGEXPR_TEST_ASAN
    GTEST_SKIP() << "AddressSanitizer reserves address space beyond any limit worth setting";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(gmpRunsOut(false), testing::KilledBySignal(SIGABRT), "GNU MP: Cannot allocate memory");
    EXPECT_EXIT(gmpRunsOut(true), testing::ExitedWithCode(0), "std::bad_alloc after 1 new-handler call");
#endif
}

// Counting allocation functions of the host's own, in place before the
// session is made.
std::atomic<long> host_allocations{0};
void* hostAllocate(std::size_t size) {
    ++host_allocations;
    return std::malloc(size);
}
void* hostReallocate(void* block, std::size_t, std::size_t size) {
    ++host_allocations;
    return std::realloc(block, size);
}
void hostFree(void* block, std::size_t) { std::free(block); }

TEST(GinacProcessTest, AHostsOwnGmpFunctionsStayUnlessItAsks) {
    void* (*allocate)(std::size_t) = nullptr;
    void* (*reallocate)(void*, std::size_t, std::size_t) = nullptr;
    void (*release)(void*, std::size_t) = nullptr;
    mp_get_memory_functions(&allocate, &reallocate, &release);
    mp_set_memory_functions(hostAllocate, hostReallocate, hostFree);
    mpz_t made_before;
    mpz_init_set_ui(made_before, 7);
    mpz_pow_ui(made_before, made_before, 5000);

    EXPECT_EQ(eval("minus(power(3,5000),power(3,5000))"), "0");
    EXPECT_GT(host_allocations.load(), 0);
    EXPECT_FALSE(session().getThrowOnAllocationFailure());
    EXPECT_TRUE(session().setThrowOnAllocationFailure(false));
    void* (*now)(std::size_t) = nullptr;
    mp_get_memory_functions(&now, nullptr, nullptr);
    EXPECT_EQ(now, hostAllocate);

    // Asked for, the replacement takes their place for good (in a child, so
    // that the other tests keep GMP's own); what they made before is freed
    // by free(), as they allocated with malloc.
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        const bool on = session().setThrowOnAllocationFailure(true) && session().getThrowOnAllocationFailure() &&
                        !session().setThrowOnAllocationFailure(false);
        mp_get_memory_functions(&now, nullptr, nullptr);
        mpz_clear(made_before);
        std::_Exit(on && now != hostAllocate && eval("power(2,100)") == "1267650600228229401496703205376" ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    mpz_clear(made_before);
    mp_set_memory_functions(allocate, reallocate, release);
}

TEST(GinacProcessTest, TheChildOfAForkGetsAWorkerOfItsOwn) {
    ASSERT_EQ(eval("plus(x,x)"), "times(2,x)");
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        std::_Exit(eval("diff(power(x,2),x)") == "times(2,x)" ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(eval("minus(y,x)"), "plus(neg(x),y)");
}

// A job that holds the worker until it is let go, or ten seconds pass.
struct HeldJob {
    std::atomic<bool> running{false};
    std::atomic<bool> let_go{false};
    bool timed_out = false;

    void operator()() {
        running = true;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!let_go && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        timed_out = !let_go;
    }
};

TEST(GinacProcessTest, AForkWhileAJobRunsDoesNotWaitForIt) {
    ASSERT_EQ(eval("plus(1,1)"), "2");
    HeldJob held;
    std::thread caller([&held] { EXPECT_TRUE(onWorker(held)); });
    while (!held.running) {
        std::this_thread::yield();
    }
    const pid_t child = fork();  // blocked until the job ended, it would time out
    if (child == 0) {
        // GiNaC was at work on a thread this process does not have: refused.
        const Outcome outcome = run("plus(1,1)");
        std::_Exit(outcome.text == "null" && outcome.reason.find("forked") != std::string::npos ? 0 : 1);
    }
    held.let_go = true;
    caller.join();
    EXPECT_FALSE(held.timed_out);
    ASSERT_NE(child, -1);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(eval("times(3,x,x)"), "times(3,power(x,2))");
}

// The child evaluates on a worker of its own, then returns from the job: it
// ends there, though that worker's thread is still waiting for work.
TEST(GinacProcessTest, AJobThatForksHasAChildThatEvaluates) {
    int status = -1;
    auto job = [&status] {
        const pid_t child = fork();
        if (child == 0 && eval("diff(power(x,3),x)") != "times(3,power(x,2))") {
            std::_Exit(1);
        }
        if (child > 0 && waitpid(child, &status, 0) != child) {
            status = -1;
        }
    };
    ASSERT_TRUE(onWorker(job));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(eval("plus(x,1,x)"), "plus(times(2,x),1)");
}

void exitInsideAJob() {
    eval("plus(1,1)");
    auto job = [] { std::exit(3); };
    onWorker(job);
    std::_Exit(1);
}

// exit() on one thread while a job runs on the worker waits for the job.
void exitDuringAJob() {
    eval("plus(1,1)");
    auto job = [] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        std::fputs("the job ended\n", stderr);
    };
    std::atomic<bool> submitted{false};
    std::thread caller([&] {
        submitted = true;
        onWorker(job);
    });
    caller.detach();
    while (!submitted) {
        std::this_thread::yield();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::exit(4);
}

TEST(GinacProcessTest, ExitFromAnyThreadAtAnyTime) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(exitInsideAJob(), testing::ExitedWithCode(3), "");
    EXPECT_EXIT(exitDuringAJob(), testing::ExitedWithCode(4), "the job ended");
}

}  // namespace
