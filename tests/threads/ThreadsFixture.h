// SPDX-License-Identifier: MIT
// The numeric client's session for the thread tests, and a way to start
// threads at the same moment.
#ifndef ALGEXPR_TESTS_THREADS_THREADSFIXTURE_H
#define ALGEXPR_TESTS_THREADS_THREADSFIXTURE_H

#include <algorithm>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "algexpr/numeric.h"

namespace threads_tests {

using namespace qorv::math::algexpr;
using qorv::oss::PointerTC;

/// The current session, installing the numeric client's when none is.
inline CASSessionBC& session() {
    if (!CASSessionBC::getSession()) {
        CASSessionBC::setSession(PointerTC<CASSessionBC>(new numeric::NumericSessionC));
    }
    return *CASSessionBC::getSession();
}

inline std::u16string number(long n) {
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
}

/// Runs `work(t)` on `count` threads, t from 0, released together.
inline void runTogether(int count, const std::function<void(int)>& work) {
    std::atomic<int> ready{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < count; ++t) {
        threads.emplace_back([&, t] {
            ++ready;
            while (ready.load() < count) {
                std::this_thread::yield();
            }
            work(t);
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
}

}  // namespace threads_tests

#endif
