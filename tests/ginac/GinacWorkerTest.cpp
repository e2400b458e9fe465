// SPDX-License-Identifier: MIT
// The one worker thread: jobs from many threads run one at a time, in full,
// on the same thread; a job that asks for the worker runs at once.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "algexpr/ginac.h"

using qorv::math::algexpr::ginac::GinacEngineC;

namespace {

struct Record {
    std::atomic<int> inside{0};
    std::atomic<int> overlaps{0};
    std::atomic<int> runs{0};
    std::atomic<std::thread::id> worker{};
    std::atomic<int> other_threads{0};
};

void job(void* context) {
    auto* record = static_cast<Record*>(context);
    if (record->inside.fetch_add(1) != 0) {
        ++record->overlaps;
    }
    std::thread::id expected{};
    if (!record->worker.compare_exchange_strong(expected, std::this_thread::get_id()) &&
        expected != std::this_thread::get_id()) {
        ++record->other_threads;
    }
    std::this_thread::yield();
    ++record->runs;
    --record->inside;
}

TEST(GinacWorkerTest, JobsFromManyThreadsRunOneAtATimeOnOneThread) {
    Record record;
    std::vector<std::thread> callers;
    for (int t = 0; t < 4; ++t) {
        callers.emplace_back([&record] {
            for (int i = 0; i < 200; ++i) {
                EXPECT_TRUE(GinacEngineC::runOnWorker(job, &record));
            }
        });
    }
    for (std::thread& caller : callers) {
        caller.join();
    }
    EXPECT_EQ(record.runs.load(), 800);
    EXPECT_EQ(record.overlaps.load(), 0);
    EXPECT_EQ(record.other_threads.load(), 0);
    EXPECT_NE(record.worker.load(), std::this_thread::get_id());
}

TEST(GinacWorkerTest, AJobThatAsksForTheWorkerRunsAtOnce) {
    struct Nested {
        int depth = 0;
        bool same_thread = true;
        std::thread::id first{};
    } nested;
    auto inner = [](void* context) {
        auto* n = static_cast<Nested*>(context);
        n->same_thread = n->same_thread && n->first == std::this_thread::get_id();
        ++n->depth;
    };
    struct Outer {
        Nested* nested;
        void (*inner)(void*);
    } outer{&nested, inner};
    ASSERT_TRUE(GinacEngineC::runOnWorker(
        [](void* context) {
            auto* o = static_cast<Outer*>(context);
            o->nested->first = std::this_thread::get_id();
            ++o->nested->depth;
            GinacEngineC::runOnWorker(o->inner, o->nested);
        },
        &outer));
    EXPECT_EQ(nested.depth, 2);
    EXPECT_TRUE(nested.same_thread);
}

}  // namespace
