// SPDX-License-Identifier: MIT
// Reading through a client's factories with every allocation made to fail in
// turn (once, and from then on): each run gives the whole tree, null, or the
// integer factory's std::bad_alloc, and never an integer read as a float
// because its value could not be made (the float factories take integer
// texts too); nothing leaks. For the tests of each client's factories.
#ifndef ALGEXPR_TESTS_ALLOC_READINGUNDERFAILURES_H
#define ALGEXPR_TESTS_ALLOC_READINGUNDERFAILURES_H

#include <gtest/gtest.h>

#include <new>
#include <string>

#include "FailureInjector.h"
#include "algexpr/algexpr.h"

inline void expectReadingUnderFailures(const std::u16string& text) {
    using namespace qorv::math::algexpr;
    using Injector = FailureInjector;
    const auto read = [&] {
        qorv::oss::PointerTC<AlgebraicExpressionC> e;
        {
            Injector::Armed armed;
            e = AlgebraicExpressionC::fromPrefixString(text);
        }
        return e ? Utf8C::toUtf8(e->toPrefixString(0, qorv::math::Standard)) : "null";
    };
    Injector::prepare(Injector::None, 0);
    const std::string expected = read();
    ASSERT_EQ(expected, Utf8C::toUtf8(text));
    int thrown = 0;
    for (auto mode : {Injector::FailOnce, Injector::FailFromThen}) {
        for (long k = 1;; ++k) {
            const std::string at = "mode " + std::to_string(mode) + ", k " + std::to_string(k);
            CASSessionBC::getSession()->flushUnusedSymbols();
            const long before = Injector::live();
            Injector::prepare(mode, k);
            {
                std::string got = "null";
                try {
                    got = read();
                } catch (const std::bad_alloc&) {
                    ++thrown;
                }
                EXPECT_TRUE(got == "null" || got == expected) << at << ": " << got;
            }
            CASSessionBC::getSession()->flushUnusedSymbols();  // symbols interned by the reading
            EXPECT_EQ(Injector::live(), before) << at << ": leaked";
            if (!Injector::fired() || ::testing::Test::HasFailure()) {
                break;
            }
        }
    }
    EXPECT_GT(thrown, 0) << "the integer factory never let std::bad_alloc through";
}

#endif
