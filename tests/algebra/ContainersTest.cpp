// SPDX-License-Identifier: MIT
// Trees as keys: ExprC in the standard containers, expressions held by
// PointerTC through the named functors; structural, and fine a million
// levels deep.
#include <set>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "AlgebraFixture.h"

namespace algebra_tests {
namespace {

TEST(ContainersTest, ExprAsAKey) {
    session();
    const ExprC x = sym(u"x"), y = sym(u"y");
    // Equal trees built apart (or read) are one key; no tree is a key too.
    std::unordered_set<ExprC> seen = {x + 1, x + 1, ExprC::adopt(read(u"plus(x,1)")), sin(x), ExprC(), ExprC()};
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen.count(1 + x), 0u);
    EXPECT_EQ(seen.count(group(x + 1)), 1u);  // the mark is no part of the key
    EXPECT_EQ(std::hash<ExprC>()(x * y), hashTree(read(u"times(x,y)").get()));
    EXPECT_FALSE(std::equal_to<ExprC>()(x * y, y * x));
    std::unordered_map<ExprC, int> counts;
    counts[x + y] += 2;
    EXPECT_EQ(counts.at(x + y), 2);

    std::vector<std::string> order;
    for (const ExprC& e : std::set<ExprC>{sin(x), y, 3, 0.5, x, ExprC(), -1, x}) {
        order.push_back(toPrefixUtf8(e));
    }
    EXPECT_EQ(order, (std::vector<std::string>{"", "-1", "3", "0.5", "x", "y", "sin(x)"}));
    EXPECT_TRUE(x < y && y > x && x <= x && x >= x && !(y <= x) && !(x >= y));
}

TEST(ContainersTest, HeldExpressionsByTheirTrees) {
    using Held = PointerTC<AlgebraicExpressionC>;
    session();
    const Held a = AlgebraicExpressionC::fromPrefixString(u"f(x,2)");
    const Held b = AlgebraicExpressionC::fromPrefixString(u"f( x , 2 )");
    const Held c = AlgebraicExpressionC::fromPrefixString(u"f(2,x)");
    const Held rootless(new AlgebraicExpressionC(nullptr));
    ASSERT_NE(a, b);  // PointerTC's own == compares addresses
    EXPECT_EQ(ExpressionHashC()(a), a->hash());
    EXPECT_EQ(ExpressionHashC()(Held()), ExpressionHashC()(rootless));
    EXPECT_TRUE(ExpressionLessC()(Held(), a) && !ExpressionLessC()(a, Held()));
    EXPECT_EQ(ExpressionLessC()(a, c), a->compare(*c) < 0);
    EXPECT_EQ(ExpressionLessC()(c, a), c->compare(*a) < 0);
    std::unordered_set<Held, ExpressionHashC, ExpressionEqualC> seen = {a, b, c, Held(), rootless};
    EXPECT_EQ(seen.size(), 3u);
    std::set<Held, ExpressionLessC> sorted = {c, a, b, rootless};
    ASSERT_EQ(sorted.size(), 3u);
    EXPECT_EQ(sorted.begin()->get(), rootless.get());
}

TEST(ContainersTest, AMillionLevelsDeep) {
    const std::size_t n = 1000000;
    ExprC deep = ExprC::adopt(deepChain(n));
    std::unordered_set<ExprC> seen = {deep, deep, ExprC::adopt(deepChain(n, u"y"))};
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_TRUE(deep < *seen.find(ExprC::adopt(deepChain(n, u"y"))));
}

}  // namespace
}  // namespace algebra_tests
