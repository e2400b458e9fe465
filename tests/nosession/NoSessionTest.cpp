// What needs a current session while none is installed.
#include <gtest/gtest.h>

#include <climits>

#include "support/Doubles.h"

namespace {

using namespace testing_doubles;

TEST(NoSessionTest, NothingIsReadOrExecuted) {
    CASSessionBC::setSession(nullptr);
    EXPECT_FALSE(CASSessionBC::getSession());
    EXPECT_FALSE(AlgebraicExpressionC::fromPrefixString(u"f(x)"));

    PointerTC<AlgebraicExpressionC> e(new AlgebraicExpressionC(new CoreFunctionNodeC(4)));
    std::u16string text;
    EXPECT_FALSE(e->execute(true, &text));
    EXPECT_FALSE(e->getCASSession() || e->getCASEngine());
    EXPECT_EQ(e->references(), 1u);
    EXPECT_EQ(e->toPrefixString(0, qorv::math::Standard), u"<4>()");
    EXPECT_EQ(CoreSymbolNodeC(-1).toString(), u"<-1>");
    EXPECT_EQ(CoreFunctionNodeC(INT_MIN).toString(), u"<-2147483648>");
}

TEST(NoSessionTest, ExpressionCloneAndTraverse) {
    TreeBuilder build(makeSession(nullptr));
    PointerTC<AlgebraicExpressionC> e(new AlgebraicExpressionC(build.fn(u"f", {build.sym(u"x"), build.integer(2)})));
    PointerTC<AlgebraicExpressionC> copy = e->clone();
    ASSERT_TRUE(copy);
    EXPECT_NE(copy->getNode(), e->getNode());
    e = nullptr;  // the copy is independent of its source
    RecordingVisitor visitor(7);
    EXPECT_TRUE(copy->traverse(visitor));
    EXPECT_EQ(visitor.visits, (std::vector<std::string>{"f<", "x", "f,", "2", "f>"}));

    PointerTC<AlgebraicExpressionC> rootless(new AlgebraicExpressionC(nullptr));
    PointerTC<AlgebraicExpressionC> rootless_copy = rootless->clone();
    EXPECT_TRUE(rootless_copy && rootless_copy->getNode() == nullptr);
    EXPECT_TRUE(rootless->traverse(visitor));
    EXPECT_EQ(rootless->toPrefixString(0, qorv::math::Standard), u"");
}

}  // namespace
