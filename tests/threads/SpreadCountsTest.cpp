// SPDX-License-Identifier: MIT
// Counts spread over thread slots: those of the current session's engine,
// factories, core elements and much-held symbols, which every reading takes
// and drops. Owners taken on one thread and dropped on another still add up,
// nothing spread is freed while its keeper holds it, a count gathered while
// other threads take and drop owners stays exact, the slots have one owner
// in the process, and a flush still removes exactly the symbols nothing else
// holds. Run under ThreadSanitizer by the tsan preset.
#include <gtest/gtest.h>

#include <atomic>
#include <climits>
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
    EXPECT_EQ(keeper->dereference(), ULONG_MAX);  // some remain, uncounted: neither the last nor "one left"
    keeper->reference();
    CountSpreading::gather(*keeper);
    EXPECT_FALSE(CountSpreading::isSpread(*keeper));
    EXPECT_EQ(keeper->references(), 2u);
    keeper = PointerTC<CountedC>();
    EXPECT_EQ(destroyed.load(), 0);
    last = PointerTC<CountedC>();
    EXPECT_EQ(destroyed.load(), 1);
}

// Threads that live at once have slots of their own, whichever library gave
// a thread its slot first (half of them get it inside the library, through a
// symbol lookup, which takes the reader lock of its slot), and a thread that
// ends gives its slot to the next.
TEST(SpreadCountsTest, LiveThreadsHaveSlotsOfTheirOwn) {
    CASSessionBC& current = session();
    for (int round = 0; round < 3; ++round) {
        std::vector<std::size_t> slots(ThreadSlotC::kSlots);
        std::vector<std::size_t> claimed(ThreadSlotC::kSlots);
        slots.back() = ThreadSlotC::ofThisThread();  // alive throughout
        claimed.back() = ThreadSlotC::claim();
        const int threads = static_cast<int>(ThreadSlotC::kSlots) - 1;
        std::atomic<int> asked{0};
        runTogether(threads, [&](int t) {
            if ((t + round) % 2 == 0) {
                current.lookupSymbol(u"slot_probe");
            }
            slots[static_cast<std::size_t>(t)] = ThreadSlotC::ofThisThread();
            claimed[static_cast<std::size_t>(t)] = ThreadSlotC::claim();
            ++asked;
            while (asked.load() < threads) {  // all alive at once
                std::this_thread::yield();
            }
        });
        EXPECT_EQ(slots, claimed);
        EXPECT_EQ(std::set<std::size_t>(slots.begin(), slots.end()).size(), ThreadSlotC::kSlots);
    }
}

// Beyond kSlots live threads, the others share the slots in turn, each slot
// with one of them before any with two; threads that shared a slot give back
// none that another still holds.
TEST(SpreadCountsTest, ThreadsBeyondTheSlotsShare) {
    const std::size_t main_slot = ThreadSlotC::ofThisThread();  // alive throughout
    for (const int threads :
         {2 * static_cast<int>(ThreadSlotC::kSlots) - 1, static_cast<int>(ThreadSlotC::kSlots) - 1}) {
        std::vector<std::size_t> slots(static_cast<std::size_t>(threads));
        std::atomic<int> asked{0};
        runTogether(threads, [&](int t) {
            slots[static_cast<std::size_t>(t)] = ThreadSlotC::ofThisThread();
            ++asked;
            while (asked.load() < threads) {
                std::this_thread::yield();
            }
        });
        slots.push_back(main_slot);
        std::vector<int> users(ThreadSlotC::kSlots);
        for (std::size_t slot : slots) {
            ASSERT_LT(slot, ThreadSlotC::kSlots);
            ++users[slot];
        }
        const int each = static_cast<int>(slots.size() / ThreadSlotC::kSlots);
        EXPECT_EQ(users, std::vector<int>(ThreadSlotC::kSlots, each)) << threads << " threads";
    }
}

// Two threads spread the count at once and take and drop owners through the
// slots; meanwhile the keeper gathers it, a second thread at the same moment,
// and then lets go of its own: every owner is counted once, whenever it
// came, and the object goes with the last of the others' owners (the current
// session at unload, when threads still hold it). Round after round, so that
// a gathering meets owners in every step of their counting.
TEST(SpreadCountsTest, GatheredWhileOtherThreadsCount) {
    constexpr int kRounds = 60;
    int wrong = 0;
    for (int round = 0; round < kRounds; ++round) {
        std::atomic<int> destroyed{0};
        PointerTC<CountedC> keeper(new CountedC(destroyed));
        std::vector<std::vector<PointerTC<CountedC>>> kept(2);
        std::atomic<int> counting{0};
        std::atomic<bool> gathered{false};
        std::atomic<int> wrong_here{0};
        runTogether(4, [&](int t) {
            if (t >= 2) {
                PointerTC<CountedC> mine = t == 3 ? keeper : PointerTC<CountedC>();
                while (counting.load() < 2 * 64) {
                    std::this_thread::yield();
                }
                CountSpreading::gather(mine ? *mine : *keeper);
                wrong_here += CountSpreading::isSpread(*keeper) ? 1 : 0;
                if (t == 2) {
                    gathered.store(true);
                }
                return;
            }
            std::vector<PointerTC<CountedC>>& mine = kept[static_cast<std::size_t>(t)];
            mine.push_back(keeper);
            // Both spread it at once; a late one finds it gathered, and it stays
            // so (a gatherer may also come between the spreading and the look).
            const bool spread = CountSpreading::spread(*keeper);
            wrong_here += !spread && CountSpreading::isSpread(*keeper) ? 1 : 0;
            for (int i = 0; !gathered.load() || i < 500; ++i) {
                PointerTC<CountedC> passing = mine.front();
                PointerTC<CountedC> again = passing;
                if (i % 16 == 0) {
                    mine.push_back(again);
                    const unsigned long seen = passing->references();
                    // At least these three; far fewer than a count gone below
                    // zero (a thread that waits long for the gatherers keeps
                    // adding owners meanwhile, so no closer bound holds).
                    wrong_here += seen >= 3 && seen < (1UL << 40) ? 0 : 1;
                }
                ++counting;
            }
        });
        keeper = PointerTC<CountedC>();  // the keeper lets go; the others' owners remain
        const unsigned long others = kept[0].size() + kept[1].size();
        wrong += wrong_here.load();
        wrong += kept[0].front()->references() == others ? 0 : 1;
        kept[0].clear();
        wrong += destroyed.load() == 0 && kept[1].front()->references() == kept[1].size() ? 0 : 1;
        kept[1].clear();
        wrong += destroyed.load() == 1 ? 0 : 1;
    }
    EXPECT_EQ(wrong, 0);
}

// Two threads spread one count at the same moment, then gather it at the
// same moment, round after round: it is spread once, each gatherer returns
// only once the count is gathered, and the owners are counted once.
TEST(SpreadCountsTest, TwoGatherersAtOnce) {
    int wrong = 0;
    for (int round = 0; round < 200; ++round) {
        std::atomic<int> destroyed{0};
        PointerTC<CountedC> keeper(new CountedC(destroyed));
        std::vector<PointerTC<CountedC>> owners(5, keeper);
        std::atomic<int> early{0};
        std::atomic<int> at_start{0};
        runTogether(2, [&](int) {
            ++at_start;
            for (int spins = 0; at_start.load() < 2; ++spins) {  // closer together than runTogether's start
                if (spins > 1000) {
                    std::this_thread::yield();
                }
            }
            early += CountSpreading::spread(*keeper) ? 0 : 1;
        });
        runTogether(2, [&](int) {
            CountSpreading::gather(*keeper);
            early += CountSpreading::isSpread(*keeper) ? 1 : 0;
        });
        wrong += early.load() + (keeper->references() == 6u ? 0 : 1);
        owners.clear();
        wrong += keeper->dereference() == 0u ? 0 : 1;
        keeper->reference();
    }
    EXPECT_EQ(wrong, 0);
}

// A count is spread once: gathered, it stays on one count, exact.
TEST(SpreadCountsTest, GatheredCountStaysGathered) {
    std::atomic<int> destroyed{0};
    PointerTC<CountedC> keeper(new CountedC(destroyed));
    ASSERT_TRUE(CountSpreading::spread(*keeper));
    PointerTC<CountedC> other = keeper;
    CountSpreading::gather(*keeper);
    CountSpreading::gather(*keeper);  // nothing left to gather
    EXPECT_FALSE(CountSpreading::spread(*keeper));
    EXPECT_FALSE(CountSpreading::isSpread(*keeper));
    EXPECT_EQ(keeper->references(), 2u);
    PointerTC<CountedC> third = other;
    EXPECT_EQ(keeper->references(), 3u);
    EXPECT_EQ(keeper->dereference(), 2u);  // exact again
    keeper->reference();
    keeper = other = third = PointerTC<CountedC>();
    EXPECT_EQ(destroyed.load(), 1);
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
