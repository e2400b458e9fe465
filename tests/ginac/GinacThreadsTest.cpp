// SPDX-License-Identifier: MIT
// execute through the GiNaC client from several threads at once, under the
// one session: GiNaC is not thread-safe, so the client runs every call on its
// one worker thread; each caller must get the result of its own expression.
// Run under ThreadSanitizer by the tsan preset too.
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "GinacFixture.h"

namespace ginac_tests {
namespace {

// Several threads make the process's first evaluation at once (ctest runs
// each test in a process of its own): one worker starts, and every caller
// gets its answer from it.
TEST(GinacThreadsTest, FirstUseFromSeveralThreadsAtOnce) {
    session();
    std::atomic<int> waiting{4};
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (--waiting; waiting.load() > 0;) {
                std::this_thread::yield();
            }
            const std::string half = "divide(" + std::to_string(2 * t + 1) + ",2)";
            wrong += eval("plus(" + std::to_string(t) + ",divide(1,2))") == half ? 0 : 1;
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong.load(), 0);
}

TEST(GinacThreadsTest, ExecuteFromSeveralThreadsAtOnce) {
    session();
    // Each thread's expressions use symbols of its own and shared ones; the
    // answers come from a run on this thread alone first.
    const auto texts = [](int t) {
        const std::string own = "s" + std::to_string(t);
        return std::vector<std::string>{"expand(power(plus(" + own + ",x),3))",
                                        "diff(sin(times(" + std::to_string(t + 2) + "," + own + ")),"  + own + ")",
                                        "simplify(divide(minus(power(x,2),1),minus(x,1)))",
                                        "plus(divide(1," + std::to_string(t + 3) + "),power(2,70))"};
    };
    std::vector<std::vector<std::string>> expected;
    for (int t = 0; t < 4; ++t) {
        expected.emplace_back();
        for (const std::string& text : texts(t)) {
            expected.back().push_back(eval(text));
        }
    }
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            const std::vector<std::string> mine = texts(t);
            for (int round = 0; round < 25; ++round) {
                for (std::size_t i = 0; i < mine.size(); ++i) {
                    wrong += eval(mine[i]) == expected[static_cast<std::size_t>(t)][i] ? 0 : 1;
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(expected[1][0], "plus(power(s1,3),times(3,power(s1,2),x),times(3,s1,power(x,2)),power(x,3))");
}

// The settings change from one thread while others evaluate: each evaluation
// sees one whole set of them (the digits of a float are 5 or 30, never
// something torn), and ThreadSanitizer finds no race.
TEST(GinacThreadsTest, SettingsChangeWhileOthersEvaluate) {
    session().setDigits(5);
    std::atomic<bool> done{false};
    std::atomic<int> wrong{0};
    std::thread changer([&] {
        for (int round = 0; !done.load(); ++round) {
            session().setDigits(round % 2 == 0 ? 5 : 30);
            GinacLimitsS limits;
            limits.diff_order = round % 2 == 0 ? 50 : 40;
            session().setLimits(limits);
            session().setRealSymbols(round % 2 == 0 ? std::vector<std::u16string>{u"x"} : std::vector<std::u16string>{});
            wrong += session().getLimits().diff_order % 10 == 0 ? 0 : 1;
        }
    });
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 40; ++i) {
                const std::string third = numeric("divide(1,3)");
                wrong += third == "0.33333" || third == "0." + std::string(30, '3') ? 0 : 1;
                const std::string log = eval("log(exp(x))");
                wrong += log == "x" || log == "log(exp(x))" ? 0 : 1;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    done = true;
    changer.join();
    session().setDigits(GinacEngineC::kDefaultDigits);
    session().setLimits(GinacLimitsS());
    session().setRealSymbols({});
    EXPECT_EQ(wrong.load(), 0);
}

}  // namespace
}  // namespace ginac_tests
