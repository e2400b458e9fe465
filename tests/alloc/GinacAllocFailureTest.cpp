// SPDX-License-Identifier: MIT
// Reading through the GiNaC client's factories with every allocation made to
// fail in turn (see ReadingUnderFailures.h). Reading makes no GiNaC object, so
// no GiNaC work runs under the injector.
#include <gtest/gtest.h>

#include "ReadingUnderFailures.h"
#include "algexpr/algexpr.h"
#include "algexpr/ginac.h"

namespace {

using namespace qorv::math::algexpr;

TEST(GinacAllocFailureTest, AnIntegerIsNeverReadAsAFloat) {
    expectReadingUnderFailures(u"plus(123456789012345678901234567890,x,times(-7,2.5))");
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    CASSessionBC::setSession(new ginac::GinacSessionC());
    return RUN_ALL_TESTS();
}
