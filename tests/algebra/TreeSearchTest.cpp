// SPDX-License-Identifier: MIT
// What a tree holds: symbols, core codes, subtrees, the free symbols in order
// and the empty slot, size and depth; deep and wide trees, and a subtree
// search that stays linear where comparing at every node would not.
#include <string>
#include <vector>

#include "AlgebraFixture.h"

namespace algebra_tests {
namespace {

using Names = std::vector<std::u16string>;

TEST(TreeSearchTest, SymbolsAndCodes) {
    Tree tree = read(u"plus(f(x,2),sin(pi),y)");
    EXPECT_TRUE(hasSymbol(tree.get(), u"x") && hasSymbol(tree.get(), u"y"));
    EXPECT_FALSE(hasSymbol(tree.get(), u"f"));   // a function's name is no symbol leaf
    EXPECT_FALSE(hasSymbol(tree.get(), u"pi"));  // nor is a core symbol
    EXPECT_FALSE(hasSymbol(tree.get(), u"X") || hasSymbol(nullptr, u"x"));
    const int plus = session().lookupCoreElement(u"plus")->getCode();
    const int pi = session().lookupCoreElement(u"pi")->getCode();
    const int cos = session().lookupCoreElement(u"cos")->getCode();
    EXPECT_TRUE(hasCoreCode(tree.get(), plus) && hasCoreCode(tree.get(), pi));  // functions and symbols
    EXPECT_FALSE(hasCoreCode(tree.get(), cos) || hasCoreCode(nullptr, plus));
}

TEST(TreeSearchTest, Subtrees) {
    Tree tree = read(u"plus(f(x,2),sin(pi),f(x,3))");
    for (const char16_t* present : {u"f(x,2)", u"f(x,3)", u"pi", u"2", u"plus(f(x,2),sin(pi),f(x,3))"}) {
        EXPECT_TRUE(hasSubtree(tree.get(), read(present).get())) << narrow(present);
    }
    for (const char16_t* absent : {u"f(x)", u"f(x,2.0)", u"sin(x)", u"f(2,x)", u"3.0"}) {
        EXPECT_FALSE(hasSubtree(tree.get(), read(absent).get())) << narrow(absent);
    }
    EXPECT_FALSE(hasSubtree(tree.get(), nullptr));
    EXPECT_FALSE(hasSubtree(nullptr, tree.get()));
    // A subtree of the tree itself, walked while the tree is.
    EXPECT_TRUE(hasSubtree(tree.get(), static_cast<ParentNodeABC*>(tree.get())->child(1)));
}

TEST(TreeSearchTest, FreeSymbolsInOrderOfFirstAppearance) {
    Tree tree = read(u"f(b,g(a,b),sin(c),pi,a,h(d))");
    Names names{u"stale"};
    ASSERT_TRUE(freeSymbols(tree.get(), names));
    EXPECT_EQ(names, (Names{u"b", u"a", u"c", u"d"}));  // no f, g, h, no pi
    ASSERT_TRUE(freeSymbols(nullptr, names));
    EXPECT_TRUE(names.empty());

    // The empty slot "_" is no variable unless asked for.
    Tree slots(function(u"f", {symbol(u"_"), symbol(u"x"), symbol(u"_")}));
    ASSERT_TRUE(freeSymbols(slots.get(), names));
    EXPECT_EQ(names, Names{u"x"});
    ASSERT_TRUE(freeSymbols(slots.get(), names, true));
    EXPECT_EQ(names, (Names{u"_", u"x"}));
    EXPECT_TRUE(hasSymbol(slots.get(), u"_"));

    // One name, several symbol objects (another session's): listed once.
    PointerTC<CASSessionBC> other(new numeric::NumericSessionC);
    Tree mixed(function(u"f", {symbol(u"x"), new ExtendedSymbolNodeC(other->lookupSymbol(u"x"))}));
    ASSERT_TRUE(freeSymbols(mixed.get(), names));
    EXPECT_EQ(names, Names{u"x"});
}

TEST(TreeSearchTest, SizeAndDepth) {
    EXPECT_EQ(treeSize(read(u"f(a,g(b,h(c)),d)").get()), 7u);
    EXPECT_EQ(treeDepth(read(u"f(a,g(b,h(c)),d)").get()), 4u);
    EXPECT_EQ(treeDepth(read(u"x").get()), 1u);
    EXPECT_EQ(treeSize(nullptr) + treeDepth(nullptr), 0u);
    Tree holes = read(u"f(a,b)");
    static_cast<ParentNodeABC*>(holes.get())->replaceChild(0, nullptr);
    EXPECT_EQ(treeSize(holes.get()), 2u);
}

TEST(TreeSearchTest, AMillionDeepAndAMillionWide) {
    const std::size_t n = 1000000;
    Tree deep = deepChain(n);
    EXPECT_EQ(treeSize(deep.get()), n + 1);
    EXPECT_EQ(treeDepth(deep.get()), n + 1);
    EXPECT_TRUE(hasSymbol(deep.get(), u"x"));
    Names names;
    ASSERT_TRUE(freeSymbols(deep.get(), names));
    EXPECT_EQ(names, Names{u"x"});
    // A chain a thousand deep ending in y is no subtree: compared at every
    // node it would cost a thousand steps there, a billion in all.
    EXPECT_FALSE(hasSubtree(deep.get(), deepChain(1000, u"y").get()));
    EXPECT_TRUE(hasSubtree(deep.get(), deepChain(1000).get()));

    Tree wide = wideCall(n, {u"x", u"y", u"z"});
    EXPECT_EQ(treeSize(wide.get()), n + 1);
    EXPECT_EQ(treeDepth(wide.get()), 2u);
    ASSERT_TRUE(freeSymbols(wide.get(), names));
    EXPECT_EQ(names, (Names{u"x", u"y", u"z"}));
    EXPECT_FALSE(hasSubtree(wide.get(), wideCall(1000, {u"x", u"z"}).get()));
}

}  // namespace
}  // namespace algebra_tests
