// SPDX-License-Identifier: MIT
// Trees as keys: ExprC in the standard containers, expressions held by
// PointerTC through the named functors; structural, address-free, and fine
// a million levels deep.
#include <set>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "AlgebraFixture.h"

namespace algebra_tests {
namespace {

class ContainersTest : public ::testing::Test {
protected:
    const bool installed = (session(), true);
    ExprC x = sym(u"x");
    ExprC y = sym(u"y");
};

TEST_F(ContainersTest, ExprAsAKey) {
    std::unordered_set<ExprC> seen;
    for (int round = 0; round < 2; ++round) {  // trees built twice: equal, not the same nodes
        seen.insert(x + 1);
        seen.insert(sin(x));
        seen.insert(ExprC::adopt(read(u"plus(x,1)")));
    }
    seen.insert(ExprC());
    seen.insert(ExprC());
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen.count(1 + x), 0u);
    EXPECT_EQ(seen.count(group(x + 1)), 1u);  // the mark is no part of the key
    EXPECT_EQ(std::hash<ExprC>()(x + 1), hashTree(read(u"plus(x,1)").get()));
    EXPECT_TRUE(std::equal_to<ExprC>()(x * y, ExprC::adopt(read(u"times(x,y)"))));
    EXPECT_FALSE(std::equal_to<ExprC>()(x * y, y * x));

    std::set<ExprC> sorted = {sin(x), y, 3, 0.5, x, ExprC(), -1, x};
    std::vector<std::string> order;
    for (const ExprC& e : sorted) {
        order.push_back(toPrefixUtf8(e));
    }
    EXPECT_EQ(order, (std::vector<std::string>{"", "-1", "3", "0.5", "x", "y", "sin(x)"}));
    EXPECT_TRUE(x < y && y > x && x <= x && x >= x && !(y <= x) && !(x >= y));
    std::unordered_map<ExprC, int> counts;
    ++counts[x + y];
    ++counts[x + y];
    EXPECT_EQ(counts.at(x + y), 2);
}

TEST_F(ContainersTest, HeldExpressionsByTheirTrees) {
    using Held = PointerTC<AlgebraicExpressionC>;
    const Held a = AlgebraicExpressionC::fromPrefixString(u"f(x,2)");
    const Held b = AlgebraicExpressionC::fromPrefixString(u"f( x , 2 )");
    const Held c = AlgebraicExpressionC::fromPrefixString(u"f(2,x)");
    const Held rootless(new AlgebraicExpressionC(nullptr));
    ASSERT_TRUE(a && b && c);
    ASSERT_NE(a, b);  // PointerTC's own == compares addresses
    EXPECT_TRUE(ExpressionEqualC()(a, b));
    EXPECT_FALSE(ExpressionEqualC()(a, c));
    EXPECT_TRUE(ExpressionEqualC()(Held(), rootless));
    EXPECT_EQ(ExpressionHashC()(a), ExpressionHashC()(b));
    EXPECT_EQ(ExpressionHashC()(a), a->hash());
    EXPECT_EQ(ExpressionHashC()(Held()), ExpressionHashC()(rootless));
    EXPECT_TRUE(ExpressionLessC()(Held(), a));
    EXPECT_FALSE(ExpressionLessC()(a, Held()));
    EXPECT_EQ(ExpressionLessC()(a, c), a->compare(*c) < 0);
    EXPECT_EQ(ExpressionLessC()(c, a), c->compare(*a) < 0);

    std::unordered_set<Held, ExpressionHashC, ExpressionEqualC> seen = {a, b, c, Held(), rootless};
    EXPECT_EQ(seen.size(), 3u);
    std::set<Held, ExpressionLessC> sorted = {c, a, b, rootless};
    ASSERT_EQ(sorted.size(), 3u);
    EXPECT_EQ(sorted.begin()->get(), rootless.get());
}

TEST_F(ContainersTest, AMillionLevelsDeep) {
    const std::size_t n = 1000000;
    ExprC deep = ExprC::adopt(deepChain(n));
    ExprC other = ExprC::adopt(deepChain(n, u"y"));
    std::unordered_set<ExprC> seen;
    seen.insert(deep);
    seen.insert(deep);
    seen.insert(other);
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_TRUE(deep < other);
}

}  // namespace
}  // namespace algebra_tests
