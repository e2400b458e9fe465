// What needs a current session while none is installed.
#include <gtest/gtest.h>

#include <memory>

#include "support/Doubles.h"

namespace {

using namespace testing_doubles;

TEST(NoSessionTest, NothingIsReadOrExecuted) {
    EXPECT_FALSE(CASSessionBC::getSession());
    CASSessionBC::setSession(nullptr);
    EXPECT_FALSE(CASSessionBC::getSession());
    EXPECT_FALSE(AlgebraicExpressionC::fromPrefixString(u"f(x)"));

    PointerTC<AlgebraicExpressionC> e(new AlgebraicExpressionC(new CoreFunctionNodeC(4)));
    std::u16string text;
    EXPECT_FALSE(e->execute(true, &text));
    EXPECT_FALSE(e->getCASSession());
    EXPECT_FALSE(e->getCASEngine());
    EXPECT_EQ(e->references(), 1u);
    EXPECT_EQ(e->toPrefixString(0, qorv::math::Standard), u"<4>()");
}

TEST(NoSessionTest, ExpressionCloneAndTraverse) {
    auto session = makeSession(nullptr);
    TreeBuilder build(session);
    PointerTC<AlgebraicExpressionC> e(new AlgebraicExpressionC(build.fn(u"f", {build.sym(u"x"), build.integer(2)})));
    PointerTC<AlgebraicExpressionC> copy = e->clone();
    ASSERT_TRUE(copy);
    EXPECT_NE(copy->getNode(), e->getNode());
    e = nullptr;
    EXPECT_EQ(copy->toPrefixString(0, qorv::math::Standard), u"f(x,2)");

    RecordingVisitor direct(7);
    RecordingVisitor through(7);
    EXPECT_TRUE(copy->getNode()->traverse(direct));
    EXPECT_TRUE(copy->traverse(through));
    EXPECT_EQ(direct.visits, through.visits);

    PointerTC<AlgebraicExpressionC> rootless(new AlgebraicExpressionC(nullptr));
    PointerTC<AlgebraicExpressionC> rootless_copy = rootless->clone();
    ASSERT_TRUE(rootless_copy);
    EXPECT_EQ(rootless_copy->getNode(), nullptr);
    EXPECT_TRUE(rootless->traverse(through));
    EXPECT_EQ(rootless->toPrefixString(0, qorv::math::Standard), u"");
}

}  // namespace
