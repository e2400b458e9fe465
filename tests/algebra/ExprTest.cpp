// SPDX-License-Identifier: MIT
// Building trees with ExprC: the same trees as reading their prefix text,
// infix grouping of sums and products, numbers through the factories,
// failures and their reasons, copies and moves, crossing to and from
// AlgebraicExpressionC without a second copy, substitution, and big trees.
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "AlgebraFixture.h"

namespace algebra_tests {
namespace {

// The built tree equals the one read from `prefix` and prints as it.
void expectReads(const ExprC& built, const char16_t* prefix) {
    ASSERT_TRUE(built) << narrow(built.error());
    Tree read_back = read(prefix);
    EXPECT_EQ(text(built.node()), text(read_back.get()));
    EXPECT_TRUE(equalTrees(built.node(), read_back.get())) << narrow(prefix);
}

class ExprTest : public ::testing::Test {
protected:
    const bool installed = (session(), true);  // before the symbols
    ExprC x = sym(u"x");
    ExprC y = sym(u"y");
    ExprC z = sym(u"z");
};

TEST_F(ExprTest, TheTreesReadingGives) {
    expectReads(x + 2 * sin(x), u"plus(x,times(2,sin(x)))");
    expectReads(call(u"f", x, y), u"f(x,y)");
    expectReads(call(u"f", x, pow(x, 2), 0.5), u"f(x,power(x,2),0.5)");
    expectReads(call(u"sin", x), u"sin(x)");  // a core name makes a core function
    expectReads(sym(u"pi") * cos(exp(log(sqrt(tan(y))))), u"times(pi,cos(exp(log(sqrt(tan(y))))))");
    expectReads(x / y - -x, u"minus(divide(x,y),neg(x))");
    expectReads(ExprC(-3) + -ExprC(3), u"plus(-3,neg(3))");
    expectReads(num(u"123") + num(u"1.5e3"), u"plus(123,1.5e3)");
}

// What would not read back from its prefix text is refused when built.
TEST_F(ExprTest, WhatWouldNotReadBackIsRefused) {
    EXPECT_EQ(narrow(call(u"g").error()), "a call without arguments does not read back: 'g()'");
    EXPECT_EQ(narrow(sym(u"").error()), "an empty name does not read back");
    EXPECT_EQ(narrow(call(u"", x).error()), "an empty name does not read back");
    EXPECT_EQ(narrow(sym(u"a b").error()), "a name that does not read back: 'a b'");
    for (const char16_t* name : {u"a b", u"a\tb", u"f(x", u"x)", u"a,b", u"\n"}) {
        EXPECT_FALSE(sym(name)) << narrow(name);
        EXPECT_FALSE(call(name, x)) << narrow(name);
    }
    for (const char16_t* number : {u"2", u"-1.5", u"1e5", u"+", u"--"}) {
        EXPECT_EQ(narrow(sym(number).error()), "a symbol's name that reads as a number: '" + narrow(number) + "'");
    }
    expectReads(call(u"1", x), u"1(x)");  // a function's name is never a number
    expectReads(sym(u"a+b") + sym(u"e2"), u"plus(a+b,e2)");
    // NaN has no number text; the numeric client writes infinities as 1e999,
    // which reads back.
    EXPECT_EQ(narrow(ExprC(std::numeric_limits<double>::quiet_NaN()).error()),
              "a float whose text does not read back: 'nan'");
    expectReads(ExprC(-std::numeric_limits<double>::infinity()), u"-1e999");
}

// + and * append to a left operand whose root is their own function, however
// it was made, unless it is marked as a group; the right one never opens.
TEST_F(ExprTest, SumsAndProductsGroupAsInfixReads) {
    expectReads(x + y + z, u"plus(x,y,z)");
    expectReads(x * y * z * 2, u"times(x,y,z,2)");
    expectReads(2 * x * y + 3 * z, u"plus(times(2,x,y),times(3,z))");
    expectReads(x - y - z, u"minus(minus(x,y),z)");
    expectReads(x / y / z, u"divide(divide(x,y),z)");
    expectReads(x + (y + z), u"plus(x,plus(y,z))");
    expectReads(x - y + z, u"plus(minus(x,y),z)");
    expectReads(x * y + z, u"plus(times(x,y),z)");
    expectReads(pow(x + y, 2) + 1, u"plus(power(plus(x,y),2),1)");
    expectReads(-(x + y) + z, u"plus(neg(plus(x,y)),z)");
    // Named, copied, moved, returned or read: the same sum.
    ExprC sum = x + y;
    const auto made = [&] {
        ExprC s = x + y;
        return s;
    };
    for (ExprC left : {sum, ExprC(sum), made(), ExprC::adopt(read(u"plus(x,y)"))}) {
        expectReads(std::move(left) + z, u"plus(x,y,z)");
    }
    expectReads(sum + z, u"plus(x,y,z)");
    expectReads(ExprC::adopt(read(u"times(x,y)")) * z, u"times(x,y,z)");
    // A group stays one through copies and moves; what is built from it is
    // not one. Equality ignores the mark.
    ExprC grouped = group(x + y);
    ExprC copied = grouped;
    expectReads(copied * 2 * z, u"times(plus(x,y),2,z)");
    ExprC assigned;
    assigned = std::move(copied);
    EXPECT_TRUE(assigned.isGroup());
    EXPECT_FALSE(copied.isGroup());  // moved from: no tree, no mark
    ExprC again = std::move(grouped) + z;
    EXPECT_FALSE(again.isGroup() || grouped.isGroup());
    expectReads(again + 1, u"plus(plus(x,y),z,1)");
    expectReads(group(x * y) * z, u"times(times(x,y),z)");
    EXPECT_FALSE(group(ExprC()).isGroup());
    EXPECT_TRUE(group(x + y) == x + y);
    // Only the core plus: not a function of another kind named plus.
    EXPECT_EQ(text((ExprC::adopt(function(u"plus", {symbol(u"x")})) + z).node()), "plus(plus(x),z)");
}

// Numbers as reading makes them: shortest texts, integers first.
TEST_F(ExprTest, Numbers) {
    expectReads(ExprC(0.5), u"0.5");
    expectReads(ExprC(2.0), u"2.0");  // a float stays a float
    expectReads(ExprC(1e300), u"1e300");
    expectReads(ExprC(0.1f), u"0.10000000149011612");
    expectReads(ExprC(std::numeric_limits<std::int64_t>::min()), u"-9223372036854775808");
    expectReads(ExprC(18446744073709551615ull), u"18446744073709551615");  // the integer factory declines it
    expectReads(ExprC(short{7}) + ExprC(7u), u"plus(7,7)");
    ExprC infinite(std::numeric_limits<double>::infinity());
    ASSERT_TRUE(infinite);
    EXPECT_EQ(narrow(infinite.toPrefixString()), "1e999");  // how the numeric client writes it
    EXPECT_EQ(narrow(num(u"1-2-3").error()), "no number factory takes '1-2-3'");
}

TEST_F(ExprTest, FailuresCarryTheirReason) {
    ExprC missing = ExprC::apply(u"digamma", false, nullptr, 0);
    EXPECT_FALSE(missing);
    EXPECT_EQ(narrow(missing.error()), "the session has no core element named 'digamma'");
    ExprC spread = (x + missing) * call(u"f", missing) - 1;
    EXPECT_EQ(spread.error(), missing.error());
    EXPECT_EQ(spread.node(), nullptr);
    EXPECT_FALSE(spread.toExpression());
    EXPECT_EQ(spread.toPrefixString(), u"");
    EXPECT_EQ(narrow(ExprC().error()), "no expression");
    EXPECT_EQ(x.error(), u"");
    EXPECT_EQ(narrow(x.subs({{x + 1, y}}).error()), "a key to substitute is not a symbol");
    EXPECT_EQ(x.subs({{x, missing}}).error(), missing.error());
}

TEST_F(ExprTest, CopiesMovesAndExpressions) {
    ExprC e = x + 1;
    ExprC copy = e;
    EXPECT_NE(copy.node(), e.node());
    EXPECT_EQ(copy, e);
    ExprC& same = copy;
    copy = same;  // assigning a value to itself keeps it
    EXPECT_EQ(copy, e);
    ExprC moved = std::move(copy);
    EXPECT_FALSE(copy);  // a moved-from value has no tree
    EXPECT_EQ(moved, e);
    EXPECT_NE(moved, x);

    // To an expression: moved without a copy, or copied once.
    const NodeABC* root = moved.node();
    PointerTC<AlgebraicExpressionC> held = std::move(moved).toExpression();
    ASSERT_TRUE(held);
    EXPECT_EQ(held->getNode(), root);
    EXPECT_FALSE(moved);
    PointerTC<AlgebraicExpressionC> copied = e.toExpression();
    EXPECT_NE(copied->getNode(), e.node());
    EXPECT_TRUE(copied->equals(*held));

    // From an expression: one copy, independent of it.
    ExprC back(*held);
    EXPECT_NE(back.node(), held->getNode());
    expectReads(back * 2, u"times(plus(x,1),2)");
    EXPECT_EQ(text(held->getNode()), "plus(x,1)");
    EXPECT_FALSE(ExprC(AlgebraicExpressionC(nullptr)));

    NodeABC* released = e.release();
    EXPECT_FALSE(e);
    ExprC adopted = ExprC::adopt(released);
    EXPECT_EQ(adopted.node(), released);
}

TEST_F(ExprTest, Substitution) {
    ExprC e = x + 2 * y;
    expectReads(e.subs({{x, y}, {y, x}}), u"plus(y,times(2,x))");
    expectReads(e.subs({{x, x + 1}}), u"plus(plus(x,1),times(2,y))");
    expectReads((sym(u"pi") * x).subs({{sym(u"pi"), 3.14}}), u"times(3.14,x)");
    EXPECT_FALSE(ExprC().subs({{x, y}}));
}

TEST_F(ExprTest, AMillionTermsAndAMillionLevels) {
    const std::size_t n = 1000000;
    ExprC sum = x + 1;
    for (std::size_t i = 2; i < n; ++i) {
        sum = std::move(sum) + x;
    }
    EXPECT_EQ(treeSize(sum.node()), n + 1);
    EXPECT_EQ(treeDepth(sum.node()), 2u);
    ExprC chain = x;
    for (std::size_t i = 0; i < n; ++i) {
        chain = sin(std::move(chain));
    }
    std::u16string prefix;
    for (std::size_t i = 0; i < n; ++i) {
        prefix += u"sin(";
    }
    prefix += u"x" + std::u16string(n, u')');
    EXPECT_TRUE(equalTrees(chain.node(), read(prefix).get()));
}

}  // namespace
}  // namespace algebra_tests
