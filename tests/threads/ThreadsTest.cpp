// SPDX-License-Identifier: MIT
// One session shared by threads, each working on its own trees: installing
// the session from several threads at once, interning the same names,
// flushing while others look up, and refilling the core vocabulary while
// others read it. (Reading, printing, substituting and comparing at once:
// the stress test.) Run under ThreadSanitizer by the tsan preset.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ThreadsFixture.h"

namespace threads_tests {
namespace {

// The first test of this executable: eight sessions offered at once; the
// first one wins, the others are destroyed with their last owner.
TEST(ThreadsTest, SessionsInstalledAtOnce) {
    if (CASSessionBC::getSession()) {
        GTEST_SKIP() << "a session was installed by an earlier test";
    }
    std::atomic<int> destroyed{0};
    struct CountedSession : numeric::NumericSessionC {
        explicit CountedSession(std::atomic<int>& destroyed) : destroyed(destroyed) {}
        ~CountedSession() override { ++destroyed; }
        std::atomic<int>& destroyed;
    };
    std::vector<CASSessionBC*> offered(8);
    std::vector<CASSessionBC*> seen(8);
    runTogether(8, [&](int t) {
        PointerTC<CASSessionBC> mine(new CountedSession(destroyed));
        offered[t] = mine.get();
        CASSessionBC::setSession(mine);
        seen[t] = CASSessionBC::getSession().get();
    });
    CASSessionBC* current = CASSessionBC::getSession().get();
    EXPECT_NE(current, nullptr);
    EXPECT_EQ(seen, std::vector<CASSessionBC*>(8, current));
    EXPECT_EQ(std::count(offered.begin(), offered.end(), current), 1);
    EXPECT_EQ(destroyed.load(), 7);
    EXPECT_EQ(current->references(), 1u);  // the current pointer's own
}

TEST(ThreadsTest, OneNameOneSymbolWhateverTheThread) {
    CASSessionBC& current = session();
    const int names = 2000;
    std::vector<std::vector<const SymbolC*>> found(4, std::vector<const SymbolC*>(names));
    std::vector<PointerTC<SymbolC>> held(names);  // keeps the symbols from a flush meanwhile
    runTogether(4, [&](int t) {
        for (int i = 0; i < names; ++i) {
            const int n = t % 2 == 0 ? i : names - 1 - i;  // from both ends
            PointerTC<SymbolC> symbol = current.lookupSymbol(u"shared" + number(n));
            found[t][n] = symbol.get();
            if (t == 0) {
                held[n] = symbol;
            }
        }
    });
    for (int t = 1; t < 4; ++t) {
        EXPECT_EQ(found[t], found[0]) << t;
    }
    for (int n = 0; n < names; ++n) {
        ASSERT_EQ(held[n]->getName(), u"shared" + number(n));
    }
}

// Threads drop and look up names while another flushes: a held symbol stays
// the one object of its name; a dropped one may go and come back new.
TEST(ThreadsTest, FlushWhileOthersLookUp) {
    CASSessionBC& current = session();
    std::atomic<bool> done{false};
    std::atomic<int> wrong{0};
    runTogether(4, [&](int t) {
        if (t == 3) {
            while (!done.load()) {
                current.flushUnusedSymbols();
            }
            return;
        }
        PointerTC<SymbolC> kept = current.lookupSymbol(u"kept" + number(t));
        for (int i = 0; i < 20000; ++i) {
            const std::u16string name = u"passing" + number(i % 50);
            PointerTC<SymbolC> passing = current.lookupSymbol(name);
            wrong += passing->getName() == name ? 0 : 1;
            wrong += current.lookupSymbol(u"kept" + number(t)) == kept ? 0 : 1;
        }
        if (t == 0) {
            done.store(true);
        }
    });
    EXPECT_EQ(wrong.load(), 0);
}

// A session that enters its vocabulary again while threads read it.
TEST(ThreadsTest, CoreVocabularyRefilledWhileRead) {
    struct Refilling : numeric::NumericSessionC {
        void refill() { initCoreElementTable(numeric::NumericEngineC::builtinCoreNames()); }
    };
    PointerTC<Refilling> refilling(new Refilling);
    const int plus = refilling->lookupCoreElement(u"plus")->getCode();
    std::atomic<bool> done{false};
    std::atomic<int> wrong{0};
    runTogether(3, [&](int t) {
        if (t == 0) {
            for (int i = 0; i < 300; ++i) {
                refilling->refill();
            }
            done.store(true);
            return;
        }
        while (!done.load()) {
            PointerTC<CoreElementC> by_name = refilling->lookupCoreElement(u"plus");
            PointerTC<CoreElementC> by_code = refilling->lookupCoreElement(plus);
            wrong += by_name && by_code && by_name->getCode() == plus && by_code->getName() == u"plus" ? 0 : 1;
        }
    });
    EXPECT_EQ(wrong.load(), 0);
}

}  // namespace
}  // namespace threads_tests
