// SPDX-License-Identifier: MIT
// Counts spread over thread slots: those of the current session's engine,
// factories, core elements and much-held symbols, which every reading takes
// and drops. Owners taken on one thread and dropped on another still add up,
// nothing spread is freed while its keeper holds it, and a flush still
// removes exactly the symbols nothing else holds. Run under ThreadSanitizer
// by the tsan preset.
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "ThreadsFixture.h"

namespace threads_tests {
namespace {

using qorv::oss::ThreadSlotC;
using qorv::oss::detail::CountSpreading;

class CountedC : public qorv::oss::RefCountedBC {
public:
    explicit CountedC(std::atomic<int>& destroyed) : destroyed(destroyed) {}
    virtual ~CountedC() { ++destroyed; }

private:
    std::atomic<int>& destroyed;
};

// Owners taken on each thread and dropped on the next: while spread the
// count adds up and never reaches zero; gathered, it is exact again and the
// last owner frees the object.
TEST(SpreadCountsTest, OwnersAddUpAcrossThreads) {
    std::atomic<int> destroyed{0};
    PointerTC<CountedC> keeper(new CountedC(destroyed));
    ASSERT_TRUE(CountSpreading::spread(*keeper));
    ASSERT_TRUE(CountSpreading::spread(*keeper));  // once is enough
    EXPECT_TRUE(CountSpreading::isSpread(*keeper));
    EXPECT_EQ(keeper->references(), 1u);

    constexpr int kThreads = 4;
    constexpr int kOwners = 1000;
    std::vector<std::vector<PointerTC<CountedC>>> owners(kThreads);
    runTogether(kThreads, [&](int t) { owners[static_cast<std::size_t>(t)].assign(kOwners, keeper); });
    EXPECT_EQ(keeper->references(), 1u + kThreads * kOwners);
    runTogether(kThreads, [&](int t) { owners[static_cast<std::size_t>((t + 1) % kThreads)].clear(); });
    EXPECT_EQ(keeper->references(), 1u);

    PointerTC<CountedC> last = keeper;
    EXPECT_EQ(keeper->dereference(), 1u);  // never zero while spread
    keeper->reference();
    CountSpreading::gather(*keeper);
    EXPECT_FALSE(CountSpreading::isSpread(*keeper));
    EXPECT_EQ(keeper->references(), 2u);
    keeper = PointerTC<CountedC>();
    EXPECT_EQ(destroyed.load(), 0);
    last = PointerTC<CountedC>();
    EXPECT_EQ(destroyed.load(), 1);
}

// Threads that live at once have slots of their own, and a thread that ends
// gives its slot to the next.
TEST(SpreadCountsTest, LiveThreadsHaveSlotsOfTheirOwn) {
    for (int round = 0; round < 3; ++round) {
        std::vector<std::size_t> slots(ThreadSlotC::kSlots);
        slots.back() = ThreadSlotC::ofThisThread();  // alive throughout
        const int threads = static_cast<int>(ThreadSlotC::kSlots) - 1;
        std::atomic<int> asked{0};
        runTogether(threads, [&](int t) {
            slots[static_cast<std::size_t>(t)] = ThreadSlotC::ofThisThread();
            ++asked;
            while (asked.load() < threads) {  // all alive at once
                std::this_thread::yield();
            }
        });
        EXPECT_EQ(std::set<std::size_t>(slots.begin(), slots.end()).size(), ThreadSlotC::kSlots);
    }
}

// The current session's engine, factories and core elements, and a symbol
// that many hold, count across threads; the symbol, once nothing but the
// table holds it, goes at the next flush.
TEST(SpreadCountsTest, CurrentSessionObjectsCountAcrossThreads) {
    CASSessionBC& current = session();
    PointerTC<IntegerValueFactoryABC> integers = current.getIntegerValueFactory();
    PointerTC<CoreElementC> element = current.lookupCoreElement(u"plus");
    ASSERT_TRUE(integers && element);
    EXPECT_TRUE(CountSpreading::isSpread(*integers));
    EXPECT_TRUE(CountSpreading::isSpread(*element));
    const unsigned long factory_owners = integers->references();
    const unsigned long element_owners = element->references();

    std::vector<PointerTC<SymbolC>> held;
    for (int i = 0; i < 16; ++i) {
        held.push_back(current.lookupSymbol(u"spread_probe"));
    }
    ASSERT_TRUE(CountSpreading::isSpread(*held.front()));
    const unsigned long symbol_owners = held.front()->references();
    EXPECT_EQ(symbol_owners, 17u);  // the table's and ours

    std::vector<std::vector<PointerTC<SymbolC>>> symbols(4);
    runTogether(4, [&](int t) {
        for (int i = 0; i < 100; ++i) {
            symbols[static_cast<std::size_t>(t)].push_back(current.lookupSymbol(u"spread_probe"));
            PointerTC<CoreElementC> plus = current.lookupCoreElement(u"plus");
            PointerTC<IntegerValueFactoryABC> factory = current.getIntegerValueFactory();
            PointerTC<AlgebraicExpressionC> read = AlgebraicExpressionC::fromPrefixString(u"plus(spread_probe,1)");
        }
    });
    EXPECT_EQ(integers->references(), factory_owners);
    EXPECT_EQ(element->references(), element_owners);
    EXPECT_EQ(held.front()->references(), symbol_owners + 400u);

    current.flushUnusedSymbols();  // held: stays
    EXPECT_EQ(current.lookupSymbol(u"spread_probe"), held.front());
    runTogether(4, [&](int t) { symbols[static_cast<std::size_t>((t + 1) % 4)].clear(); });
    held.clear();
    current.flushUnusedSymbols();  // the table's alone: removed, and a new one made
    PointerTC<SymbolC> again = current.lookupSymbol(u"spread_probe");
    EXPECT_FALSE(CountSpreading::isSpread(*again));
    EXPECT_EQ(again->references(), 2u);
}

// Much-held symbols flushed while threads take and drop them: a lookup
// always finds the object the thread holds.
TEST(SpreadCountsTest, FlushWhileSpreadSymbolsChangeHands) {
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
        std::vector<PointerTC<SymbolC>> held(12, current.lookupSymbol(u"hand" + number(t)));
        for (int i = 0; i < 5000; ++i) {
            const std::u16string name = u"hand" + number((t + i) % 3);
            std::vector<PointerTC<SymbolC>> passing(10, current.lookupSymbol(name));
            wrong += passing.front()->getName() == name ? 0 : 1;
            wrong += current.lookupSymbol(u"hand" + number(t)) == held.front() ? 0 : 1;
        }
        if (t == 0) {
            done.store(true);
        }
    });
    EXPECT_EQ(wrong.load(), 0);
}

}  // namespace
}  // namespace threads_tests
