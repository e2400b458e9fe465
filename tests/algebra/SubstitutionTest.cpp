// SPDX-License-Identifier: MIT
// Several symbols replaced at once: swaps, replacements never searched,
// names and codes, what never matches, failures, the expression's form, and
// trees a million deep and wide.
#include <string>

#include "AlgebraFixture.h"

namespace algebra_tests {
namespace {

// The text of what `substitution` makes of `source`; "null" for null.
std::string applied(const SubstitutionC& substitution, const char16_t* source) {
    Tree tree = read(source);
    Tree result(substitution.apply(tree.get()));
    EXPECT_EQ(text(tree.get()), text(read(source).get()));  // the source stays as it was
    return text(result.get());
}

TEST(SubstitutionTest, AllAtOnce) {
    Tree x = read(u"x");
    Tree y = read(u"y");
    SubstitutionC swap;
    ASSERT_TRUE(swap.add(u"x", y.get()) && swap.add(u"y", x.get()));
    EXPECT_EQ(applied(swap, u"plus(x,times(2,y),f(x))"), "plus(y,times(2,x),f(y))");

    Tree grows = read(u"plus(x,1)");
    SubstitutionC again;
    again.add(u"x", grows.get());  // the replacement holds x: not substituted again
    EXPECT_EQ(applied(again, u"times(x,x)"), "times(plus(x,1),plus(x,1))");
    again.add(u"x", y.get());  // a name given again: the later replacement counts
    EXPECT_EQ(applied(again, u"times(x,x)"), "times(y,y)");
}

TEST(SubstitutionTest, NamesCodesAndWhatNeverMatches) {
    Tree three = read(u"3.14");
    Tree r = read(u"r");
    SubstitutionC substitution;
    substitution.add(session().lookupCoreElement(u"pi")->getCode(), three.get());
    substitution.add(u"f", r.get());
    substitution.add(u"e", r.get());  // a name: the core symbol e is not a symbol of that name
    EXPECT_EQ(applied(substitution, u"f(pi,f,e,sin(pi),2)"), "f(3.14,r,e,sin(3.14),2)");
    EXPECT_EQ(applied(SubstitutionC(), u"f(x,1,0.5)"), "f(x,1,0.5)");  // nothing to replace: a copy

    Tree holes(function(u"f", {symbol(u"a"), symbol(u"b")}));
    static_cast<ParentNodeABC*>(holes.get())->replaceChild(0, nullptr);
    static_cast<ParentNodeABC*>(holes.get())->addChild(new ExtendedSymbolNodeC(nullptr));
    SubstitutionC empty_name;
    empty_name.add(u"", r.get());  // a leaf without a symbol has the empty name
    Tree result(empty_name.apply(holes.get()));
    EXPECT_EQ(text(result.get()), "f(b,r)");
}

TEST(SubstitutionTest, Failures) {
    SubstitutionC missing;
    missing.add(u"x", nullptr);
    Tree tree = read(u"f(y,g(x))");
    EXPECT_EQ(missing.apply(tree.get()), nullptr);  // a leaf needs the null replacement
    EXPECT_EQ(applied(missing, u"f(y)"), "f(y)");  // no leaf needs it
    EXPECT_EQ(missing.apply(nullptr), nullptr);
}

TEST(SubstitutionTest, OnExpressions) {
    session();
    PointerTC<AlgebraicExpressionC> e = AlgebraicExpressionC::fromPrefixString(u"divide(a,b)");
    Tree b = read(u"b");
    Tree a = read(u"a");
    SubstitutionC flip;
    flip.add(u"a", b.get());
    flip.add(u"b", a.get());
    PointerTC<AlgebraicExpressionC> flipped = e->substitute(flip);
    ASSERT_TRUE(flipped);
    EXPECT_EQ(text(flipped->getNode()), "divide(b,a)");
    EXPECT_EQ(text(e->getNode()), "divide(a,b)");
    PointerTC<AlgebraicExpressionC> rootless(new AlgebraicExpressionC(nullptr));
    PointerTC<AlgebraicExpressionC> still = rootless->substitute(flip);
    EXPECT_TRUE(still && still != rootless && still->getNode() == nullptr);
    SubstitutionC missing;
    missing.add(u"a", nullptr);
    EXPECT_FALSE(e->substitute(missing));

    SubstitutionC moved(std::move(flip));
    SubstitutionC assigned;
    assigned = std::move(moved);
    EXPECT_EQ(text(Tree(assigned.apply(e->getNode())).get()), "divide(b,a)");
}

// A client's class derived from a library function is rebuilt as it; one of
// its own is copied by its clone(), its arguments replaced.
TEST(SubstitutionTest, ClientsClasses) {
    auto* bag = new Bag;
    bag->addChild(symbol(u"x"));
    bag->addChild(read(u"g(x)").release());
    Tree tree(function(u"f", {bag}));
    Tree y = read(u"y");
    SubstitutionC substitution;
    substitution.add(u"x", y.get());
    Tree result(substitution.apply(tree.get()));
    ASSERT_NE(result, nullptr);
    const NodeABC* copied = static_cast<ParentNodeABC*>(result.get())->child(0);
    EXPECT_EQ(narrow(copied->qCastableId()), "Bag");
    EXPECT_EQ(text(static_cast<const ParentNodeABC*>(copied)->child(0)), "y");
    EXPECT_EQ(text(static_cast<const ParentNodeABC*>(copied)->child(1)), "g(y)");
}

TEST(SubstitutionTest, AMillionDeepAndAMillionWide) {
    const std::size_t n = 1000000;
    Tree y = read(u"g(y,2)");
    SubstitutionC substitution;
    substitution.add(u"x", y.get());
    Tree deep = deepChain(n);
    Tree result(substitution.apply(deep.get()));
    EXPECT_EQ(treeSize(result.get()), n + 3);
    EXPECT_TRUE(hasSubtree(result.get(), y.get()));
    EXPECT_FALSE(hasSymbol(result.get(), u"x"));

    Tree wide = wideCall(n);
    Tree wide_result(substitution.apply(wide.get()));
    EXPECT_EQ(treeSize(wide_result.get()), n + 1 + n);  // half are x, each now g(y,2): two more nodes
    EXPECT_FALSE(hasSymbol(wide_result.get(), u"x"));
}

}  // namespace
}  // namespace algebra_tests
