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
    const NodeABC* root = tree.get();
    std::unique_ptr<NodeABC> copy = root->cloneOwned();
    EXPECT_NE(copy.get(), root);
    EXPECT_TRUE(equalTrees(copy.get(), root));

    SubstitutionC swap;
    const Tree x = read(u"x"), y = read(u"y");  // lent to the substitution
    ASSERT_TRUE(swap.add(u"x", y.get()) && swap.add(u"y", x.get()));
    std::unique_ptr<NodeABC> swapped = swap.applyOwned(root);
    EXPECT_EQ(text(swapped.get()), "plus(y,times(2,x))");
    SubstVisitorC subst;
    Tree one = read(u"1");
    EXPECT_EQ(text(subst.substOwned(tree.get(), u"y", one.get()).get()), "plus(x,times(2,1))");
    const int pi = session().lookupCoreElement(u"pi")->getCode();
    EXPECT_EQ(text(subst.substOwned(read(u"sin(pi)").get(), pi, one.get()).get()), "sin(1)");

    PointerTC<AlgebraicExpressionC> held = AlgebraicExpressionC::adopt(std::move(copy));
    ASSERT_TRUE(held);
    EXPECT_EQ(held->references(), 1u);
    EXPECT_EQ(text(held->getNode()), "plus(x,times(2,y))");
    ExprC value = ExprC::adopt(std::move(swapped));
    const NodeABC* value_root = value.node();
    std::unique_ptr<NodeABC> back = value.releaseOwned();
    EXPECT_EQ(back.get(), value_root);
    EXPECT_FALSE(value);
    EXPECT_FALSE(ExprC::adopt(nullptr));
    EXPECT_FALSE(ExprC::adopt(std::unique_ptr<NodeABC>()));
}

// The reference execute() takes would be the only one: dropping it deleted
// the expression on the stack (and the stack frame with it, later).
TEST(OwnershipDeathTest, ExecuteOnAnExpressionNoneHoldsIsRefused) {
    session();
    AlgebraicExpressionC on_stack(read(u"plus(1,2)").release());
    std::u16string why;
#ifdef NDEBUG
    EXPECT_FALSE(on_stack.execute(false, &why));
    EXPECT_EQ(narrow(why), "execute() needs an expression held by a PointerTC");
    EXPECT_FALSE(on_stack.execute(false, nullptr));
    EXPECT_EQ(text(on_stack.getNode()), "plus(1,2)");  // untouched
    EXPECT_EQ(on_stack.references(), 0u);
#else
    EXPECT_DEATH(on_stack.execute(false, &why), "no PointerTC holds");
#endif
    PointerTC<AlgebraicExpressionC> held = AlgebraicExpressionC::adopt(read(u"plus(1,2)"));
    PointerTC<AlgebraicExpressionC> result = held->execute(false, &why);
    ASSERT_TRUE(result);
    EXPECT_EQ(text(result->getNode()), "3");
    EXPECT_EQ(held->references(), 1u);
}

}  // namespace
}  // namespace algebra_tests
