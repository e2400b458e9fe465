// SPDX-License-Identifier: MIT
// The session that the first test of this executable installs, and helpers to
// read and print through it.
#ifndef ALGEXPR_TESTS_SESSION_SESSIONFIXTURE_H
#define ALGEXPR_TESTS_SESSION_SESSIONFIXTURE_H

#include <gtest/gtest.h>

#include "support/Doubles.h"

namespace testing_doubles {

// Codes 0 to 5; code 7 names nothing.
inline const char16_t* const kCoreNames[] = {u"sin", u"plus", u"g", u"pi", u"_", u"cos", u""};

inline TestSession& installed() {
    static TestSession* session = [] {
        PointerTC<TestSession> made = makeSession(kCoreNames);
        CASSessionBC::setSession(made);
        return made.get();
    }();
    return *session;
}

class SessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestSession& session = installed();
        session.logging = false;
        session.hide_integer_factory = false;
        session.hide_float_factory = false;
        static_cast<TestFloatFactory*>(session.CASSessionBC::getFloatValueFactory().get())->accept_empty = false;
        integerFactory().bad_alloc_at = u"none";
        takeEvents();
    }

    static TestIntegerFactory& integerFactory() {
        return *static_cast<TestIntegerFactory*>(installed().CASSessionBC::getIntegerValueFactory().get());
    }

    static PointerTC<AlgebraicExpressionC> read(const std::u16string& text) {
        return AlgebraicExpressionC::fromPrefixString(text);
    }

    // The text read and printed back, or "null" when it does not read.
    static std::string reprint(const std::u16string& text) {
        PointerTC<AlgebraicExpressionC> e = read(text);
        return e ? narrow(e->toPrefixString(0, qorv::math::Standard)) : "null";
    }

    static std::string kind(const NodeABC* node) { return node != nullptr ? narrow(node->qCastableId()) : "null"; }

    TreeBuilder build{installed().getSession()};
};

}  // namespace testing_doubles

#endif
