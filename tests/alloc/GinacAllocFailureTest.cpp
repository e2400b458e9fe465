// Reading through the GiNaC client's factories with every allocation made to
// fail in turn (once, and from then on): each run gives the whole tree, null,
// or the integer factory's std::bad_alloc, and never an integer read as a
// float because its value could not be made (the float factory takes integer
// texts too); nothing leaks. Reading makes no GiNaC object, so no GiNaC work
// runs under the injector.
#include <gtest/gtest.h>

#include <new>
#include <string>

#include "FailureInjector.h"
#include "algexpr/algexpr.h"
#include "algexpr/ginac.h"

namespace {

using namespace qorv::math::algexpr;
using qorv::oss::PointerTC;
using Injector = FailureInjector;

TEST(GinacAllocFailureTest, AnIntegerIsNeverReadAsAFloat) {
    const std::u16string text = u"plus(123456789012345678901234567890,x,times(-7,2.5))";
    const auto read = [&] {
        PointerTC<AlgebraicExpressionC> e;
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
            CASSessionBC::getSession()->flushUnusedSymbols();  // x, interned by the reading
            EXPECT_EQ(Injector::live(), before) << at << ": leaked";
            if (!Injector::fired() || ::testing::Test::HasFailure()) {
                break;
            }
        }
    }
    EXPECT_GT(thrown, 0);
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    CASSessionBC::setSession(new ginac::GinacSessionC());
    return RUN_ALL_TESTS();
}
