// SPDX-License-Identifier: MIT
// A fork() while another thread holds a lock of the session's tables: the
// child, where that thread does not exist, must still read, intern, flush
// and fill the tables. The other thread is held inside a table's lock by
// making an allocation there wait (this executable replaces operator new):
// a new symbol is allocated under its shard's lock, a new vocabulary
// snapshot under the core element table's lock. A child that hangs is ended
// by an alarm and fails the test.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <thread>

#include "ThreadsFixture.h"

namespace {

// The allocation that waits: the `wait_at`-th one (from 1) of the thread that
// armed it, until `release` is set.
thread_local long armed_countdown = 0;
std::atomic<bool> waiting{false};
std::atomic<bool> release{false};

void* allocate(std::size_t size) {
    if (armed_countdown > 0 && --armed_countdown == 0) {
        waiting.store(true);
        while (!release.load()) {
            std::this_thread::yield();
        }
    }
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

namespace threads_tests {
namespace {

struct Refilling : numeric::NumericSessionC {
    void refill(const char16_t* const* names) { initCoreElementTable(names); }
};

// What a child does with the session after the fork; its exit status is 0
// when every answer was right.
int useInChild(Refilling& refilling) {
    alarm(20);
    int wrong = 0;  // a bit for each check that fails
    PointerTC<SymbolC> fresh = refilling.lookupSymbol(u"held");  // the very shard held in the parent
    wrong |= fresh && fresh->getName() == u"held" ? 0 : 1;
    for (long i = 0; i < 2000; ++i) {
        wrong |= refilling.lookupSymbol(u"child" + number(i))->getName() == u"child" + number(i) ? 0 : 2;
    }
    refilling.flushUnusedSymbols();
    static const char16_t* const more[] = {u"extra", u""};
    refilling.refill(more);
    wrong |= refilling.lookupCoreElement(u"extra") && refilling.lookupCoreElement(0)->getName() == u"extra" ? 0 : 4;
    PointerTC<AlgebraicExpressionC> e = AlgebraicExpressionC::fromPrefixString(u"f(held,sin(child7),2.5)");
    wrong |= e && e->toPrefixString(0, qorv::math::Standard) == u"f(held,sin(child7),2.5)" ? 0 : 8;
    return wrong;
}

// Holds a lock in another thread through `hold`, forks, and checks the child.
template <class Hold>
void forkWhileHeld(Refilling& refilling, long allocation, Hold hold) {
    waiting.store(false);
    release.store(false);
    std::thread holder([&] {
        armed_countdown = allocation;
        hold();
        armed_countdown = 0;
    });
    while (!waiting.load()) {
        std::this_thread::yield();
    }
    const pid_t child = fork();
    if (child == 0) {
        _exit(useInChild(refilling));
    }
    release.store(true);
    holder.join();
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status)) << "the child hung or crashed: " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
}

TEST(ForkTest, WhileAnotherThreadHoldsAShardOfTheSymbols) {
    PointerTC<Refilling> refilling(new Refilling);
    CASSessionBC::setSession(refilling);
    // The new symbol is the first allocation of the lookup, under the lock
    // (a short name needs no memory of its own).
    forkWhileHeld(*refilling, 1, [&] { refilling->lookupSymbol(u"held"); });
}

TEST(ForkTest, WhileAnotherThreadFillsTheVocabulary) {
    PointerTC<Refilling> refilling(new Refilling);
    CASSessionBC::setSession(refilling);  // (when this test runs alone)
    static const char16_t* const names[] = {u"plus", u""};
    // Before the lock: the list's vector and its one element; the third
    // allocation is the new snapshot, under the lock.
    forkWhileHeld(*refilling, 3, [&] { refilling->refill(names); });
}

}  // namespace
}  // namespace threads_tests
