// SPDX-License-Identifier: MIT
// Installing the current session. Executing through it is the reference
// client's test.
#include "SessionFixture.h"

namespace testing_doubles {
namespace {

class CurrentSessionTest : public SessionTest {};

TEST_F(CurrentSessionTest, TheFirstSessionStays) {
    PointerTC<CASSessionBC> current = CASSessionBC::getSession();
    ASSERT_EQ(current.get(), &installed());
    const unsigned long references = current->references();
    CASSessionBC::setSession(nullptr);
    CASSessionBC::setSession(current);
    EXPECT_EQ(current->references(), references);

    CASSessionBC::setSession(makeSession(nullptr));  // not installed, and nothing else holds it
    EXPECT_EQ(takeEvents(), (std::vector<std::string>{"~Session", "~FloatFactory", "~IntFactory"}));
    EXPECT_EQ(CASSessionBC::getSession(), current);

    PointerTC<AlgebraicExpressionC> e = read(u"f(x)");
    EXPECT_EQ(e->getCASSession(), current);
    EXPECT_FALSE(e->getCASEngine());  // the session has none
}

}  // namespace
}  // namespace testing_doubles
