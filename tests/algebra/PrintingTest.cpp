// SPDX-License-Identifier: MIT
// Trees as text in the three notations and on streams: the same text for a
// node, an expression, a held expression and an ExprC; the stream's sticky
// notation and display arguments; failures; a million levels.
#include <sstream>
#include <string>

#include "AlgebraFixture.h"

namespace algebra_tests {
namespace {

class PrintingTest : public ::testing::Test {
protected:
    const bool installed = (session(), true);
    ExprC x = sym(u"x");
    ExprC e = x + 2 * sin(x) + 0.25;
};

// What `manipulator` then `tree` write to a new stream.
template <class Tree>
std::string streamed(std::ostream& (*manipulator)(std::ostream&), const Tree& tree) {
    std::ostringstream out;
    out << manipulator << tree;
    return out.str();
}

TEST_F(PrintingTest, EveryFormGivesTheSameText) {
    PointerTC<AlgebraicExpressionC> held = e.toExpression();
    const NodeABC* node = e.node();
    EXPECT_EQ(toPrefixUtf8(e), "plus(x,times(2,sin(x)),0.25)");
    EXPECT_EQ(toInfixUtf8(*held), "x + 2*sin(x) + 0.25");
    EXPECT_EQ(toLatexUtf8(node), "x + 2 \\cdot \\sin\\left(x\\right) + 0.25");
    EXPECT_EQ(toInfixString(held), toText(node, NotationE::Infix));
    EXPECT_EQ(toLatexString(*node), toText(node, NotationE::Latex));
    const std::pair<std::ostream& (*)(std::ostream&), NotationE> notations[] = {
        {prefix, NotationE::Prefix}, {infix, NotationE::Infix}, {latex, NotationE::Latex}};
    for (const auto& [manipulator, notation] : notations) {
        const std::string expected = toUtf8Text(node, notation);
        EXPECT_EQ(streamed(manipulator, *node), expected);
        EXPECT_EQ(streamed(manipulator, *held), expected);
        EXPECT_EQ(streamed(manipulator, held), expected);
        EXPECT_EQ(streamed(manipulator, e), expected);
    }
    EXPECT_EQ(toPrefixUtf8(sym(u"\u00e9")), "\xc3\xa9");
    // A node's own text beside its subtree's.
    EXPECT_EQ(narrow(node->toString()), "plus");
    EXPECT_EQ(node->toPrefixString(), held->toPrefixString());
}

// The notation and display arguments set on a stream stay until changed,
// on that stream alone.
TEST_F(PrintingTest, StreamSettingsStay) {
    const std::u16string fixed = e.toExpression()->toPrefixString(3, qorv::math::Fixed);
    EXPECT_NE(fixed, toPrefixString(e));
    EXPECT_EQ(toPrefixString(e, 3, qorv::math::Fixed), fixed);
    EXPECT_EQ(e.node()->toPrefixString(3, qorv::math::Fixed), fixed);
    std::ostringstream out, other;
    out << display(3, qorv::math::Fixed) << e << '|' << display(0) << e << '|' << infix << e << '|' << x + 1
        << '|' << latex << pow(x, 2) << '|' << prefix << x - 1;
    other << x - 1;
    EXPECT_EQ(out.str(), narrow(fixed) + "|plus(x,times(2,sin(x)),0.25)|x + 2*sin(x) + 0.25|x + 1|x^{2}|minus(x,1)");
    EXPECT_EQ(other.str(), "minus(x,1)");
}

TEST_F(PrintingTest, Failures) {
    std::u16string why = u"stale";
    EXPECT_EQ(toText(nullptr, NotationE::Prefix, 0, qorv::math::Standard, &why), u"");
    EXPECT_EQ(narrow(why), "no expression");
    EXPECT_EQ(toText(x.node(), NotationE::Latex, 0, qorv::math::Standard, &why), u"x");
    EXPECT_EQ(why, u"");
    ExprC odd = sym(u"a+b") * 2;
    EXPECT_EQ(toText(odd.node(), NotationE::Infix, 0, qorv::math::Standard, &why), u"");
    EXPECT_EQ(narrow(why), "the name 'a+b' has no infix form");
    EXPECT_EQ(toInfixUtf8(odd), "");
    EXPECT_EQ(toLatexString(ExprC()), u"");

    // No tree: nothing written, the stream stays good. A tree the notation
    // cannot write: nothing written, failbit.
    std::ostringstream out;
    out << ExprC() << PointerTC<AlgebraicExpressionC>() << static_cast<const NodeABC*>(nullptr) << x;
    EXPECT_TRUE(out.good());
    out << infix << odd;
    EXPECT_TRUE(out.fail());
    EXPECT_EQ(out.str(), "x");
}

TEST_F(PrintingTest, AMillionLevels) {
    const std::size_t n = 1000000;
    ExprC deep = ExprC::adopt(deepChain(n));
    std::ostringstream out;
    out << deep;
    EXPECT_EQ(out.str().size(), 3 * n + 1);
    EXPECT_EQ(toInfixString(deep).size(), 3 * n + 1);
}

}  // namespace
}  // namespace algebra_tests
