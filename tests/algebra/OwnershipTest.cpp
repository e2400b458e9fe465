// SPDX-License-Identifier: MIT
// The owning forms beside the raw ones, and execute() on an expression that
// no PointerTC holds (one on the stack), which used to delete it.
#include <memory>
#include <string>

#include "AlgebraFixture.h"

namespace algebra_tests {
namespace {

TEST(OwnershipTest, OwningFormsHandTheTreesOn) {
    session();
    Tree tree = read(u"plus(x,times(2,y))");
    std::unique_ptr<NodeABC> copy = tree->cloneOwned();
    EXPECT_TRUE(copy.get() != tree.get() && equalTrees(copy.get(), tree.get()));
    SubstitutionC swap;
    const Tree x = read(u"x"), y = read(u"y");  // lent to the substitution
    ASSERT_TRUE(swap.add(u"x", y.get()) && swap.add(u"y", x.get()));
    std::unique_ptr<NodeABC> swapped = swap.applyOwned(tree.get());
    EXPECT_EQ(text(swapped.get()), "plus(y,times(2,x))");
    EXPECT_EQ(text(SubstVisitorC().substOwned(tree.get(), u"y", x.get()).get()), "plus(x,times(2,x))");
    const int pi = session().lookupCoreElement(u"pi")->getCode();
    EXPECT_EQ(text(SubstVisitorC().substOwned(read(u"sin(pi)").get(), pi, x.get()).get()), "sin(x)");

    PointerTC<AlgebraicExpressionC> held = AlgebraicExpressionC::adopt(std::move(copy));
    ASSERT_TRUE(held);
    EXPECT_EQ(held->references(), 1u);
    EXPECT_EQ(text(held->getNode()), "plus(x,times(2,y))");
    ExprC value = ExprC::adopt(std::move(swapped));
    const NodeABC* root = value.node();
    EXPECT_EQ(value.releaseOwned().get(), root);
    EXPECT_FALSE(value);
    EXPECT_FALSE(ExprC::adopt(nullptr));
}

// The reference execute() takes would be the only one: dropping it deleted
// the expression on the stack.
TEST(OwnershipDeathTest, ExecuteOnAnExpressionNoneHoldsIsRefused) {
    session();
    AlgebraicExpressionC on_stack(read(u"plus(1,2)").release());
    std::u16string why;
#ifdef NDEBUG
    EXPECT_FALSE(on_stack.execute(false, &why));
    EXPECT_EQ(narrow(why), "execute() needs an expression held by a PointerTC");
    EXPECT_FALSE(on_stack.execute(false, nullptr));
    EXPECT_EQ(text(on_stack.getNode()), "plus(1,2)");  // untouched
#else
    EXPECT_DEATH(on_stack.execute(false, &why), "no PointerTC holds");
#endif
    PointerTC<AlgebraicExpressionC> held = AlgebraicExpressionC::adopt(read(u"plus(1,2)"));
    EXPECT_EQ(text(held->execute(false, &why)->getNode()), "3");
    EXPECT_EQ(held->references(), 1u);
}

}  // namespace
}  // namespace algebra_tests
