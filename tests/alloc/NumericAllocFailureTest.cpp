// SPDX-License-Identifier: MIT
// The numeric client's evaluation with every allocation made to fail in turn
// (once, and from then on), through the engine and through the session: the
// result is the full one, or null with the reason "out of memory" (empty only
// when nothing at all can be allocated any more); nothing is thrown and
// nothing leaks. Reading through its factories, likewise.
#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <string>

#include "FailureInjector.h"
#include "ReadingUnderFailures.h"
#include "algexpr/algexpr.h"
#include "algexpr/numeric/FloatValueFactoryC.h"
#include "algexpr/numeric/IntegerValueFactoryC.h"
#include "algexpr/numeric/NumericEngineC.h"
#include "algexpr/numeric/NumericSessionC.h"

namespace {

using namespace qorv::math::algexpr;
using namespace qorv::math::algexpr::numeric;
using qorv::oss::PointerTC;
using Injector = FailureInjector;

std::string narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

std::string print(const NodeABC* node) {
    return node != nullptr ? narrow(AlgebraicExpressionC(node->clone()).toPrefixString(0, qorv::math::Standard))
                           : "null";
}

struct Outcome {
    std::string result;  // printed, or "null"
    std::string reason;
};

// Runs `evaluate` (which arms the injector itself) undisturbed, then with each
// allocation failing in turn in both modes until a run no longer reaches the
// failure. Returns the number of failure points seen.
template <class Evaluate>
long injectEach(const std::string& what, Evaluate evaluate) {
    Injector::prepare(Injector::None, 0);
    const Outcome expected = evaluate();
    long points = 0;
    for (auto mode : {Injector::FailOnce, Injector::FailFromThen}) {
        for (long k = 1;; ++k) {
            const std::string at = what + ", mode " + std::to_string(mode) + ", k " + std::to_string(k);
            const long before = Injector::live();
            Injector::prepare(mode, k);
            {
                bool threw = false;
                Outcome got;
                try {
                    got = evaluate();
                } catch (...) {
                    threw = true;
                }
                EXPECT_FALSE(threw) << at;
                if (got.result != "null" || !Injector::fired()) {
                    EXPECT_EQ(got.result, expected.result) << at;
                    EXPECT_EQ(got.reason, expected.reason) << at;
                } else if (got.reason.empty()) {
                    EXPECT_EQ(mode, Injector::FailFromThen) << at << ": no reason";
                } else {
                    EXPECT_EQ(got.reason, "out of memory") << at;
                }
            }
            EXPECT_EQ(Injector::live(), before) << at << ": leaked";
            if (!Injector::fired() || ::testing::Test::HasFailure()) {
                points += k - 1;
                break;
            }
        }
    }
    return points;
}

class NumericAllocFailureTest : public ::testing::TestWithParam<const char16_t*> {
protected:
    PointerTC<AlgebraicExpressionC> source = AlgebraicExpressionC::fromPrefixString(GetParam());
    std::string name(const char* route, bool strict) const {
        return std::string(route) + (strict ? " strict " : " lenient ") + narrow(GetParam());
    }
};

TEST_P(NumericAllocFailureTest, Engine) {
    ASSERT_TRUE(source);
    const NumericEngineC engine(NumericEngineC::builtinCoreNames());
    IntegerValueFactoryC integers;
    FloatValueFactoryC floats;
    for (const bool strict : {false, true}) {
        const long points = injectEach(name("engine", strict), [&] {
            std::u16string reason = u"stale";
            std::unique_ptr<NodeABC> result;
            {
                Injector::Armed armed;
                result.reset(engine.evaluate(*source->getNode(), integers, floats, strict, reason));
            }
            return Outcome{print(result.get()), narrow(reason)};
        });
        EXPECT_GT(points, 0);
    }
}

TEST_P(NumericAllocFailureTest, Session) {
    ASSERT_TRUE(source);
    for (const bool strict : {false, true}) {
        const long points = injectEach(name("session", strict), [&] {
            std::u16string reason = u"stale";
            PointerTC<AlgebraicExpressionC> result;
            {
                Injector::Armed armed;
                result = source->execute(strict, &reason);
            }
            return Outcome{print(result ? result->getNode() : nullptr), narrow(reason)};
        });
        EXPECT_GT(points, 0);
    }
}

// Reading through the numeric session's factories (see ReadingUnderFailures.h).
TEST(NumericAllocFailureReadingTest, AnIntegerIsNeverReadAsAFloat) {
    expectReadingUnderFailures(u"plus(42,x,times(-7,2.5))");
}

// A number; folding around what stays (a copy of a leaf, a rebuilt call, a
// reason naming a node); more arguments than the walk's first blocks hold;
// and depth.
INSTANTIATE_TEST_SUITE_P(Texts, NumericAllocFailureTest,
                         ::testing::Values(u"divide(1,3)", u"plus(x,times(2,3),f(1,sin(0)),2.5)",
                                           u"plus(1,x,2,x,3,x,4,x,5,x,6,x,7,x,8,x,9,x,10,x,11,x,12,x,13,x,14,x,15,x)",
                                           u"neg(neg(neg(neg(neg(neg(neg(neg(neg(neg(neg(neg(neg(neg(neg(neg("
                                           u"g(y))))))))))))))))"));

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    CASSessionBC::setSession(new NumericSessionC());
    return RUN_ALL_TESTS();
}
