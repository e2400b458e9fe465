// SPDX-License-Identifier: MIT
// Writing trees in infix: operators and call forms, the fewest parentheses
// that keep the tree, equations and lists, signs, numbers, names that cannot
// be written, depth.
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "InfixFixture.h"

namespace testing_doubles {
namespace {

class InfixPrinterTest : public InfixTest {
protected:
    // Each prefix text with its infix text (or error); every infix text must
    // read back to the prefix text.
    static void expectWritings(const std::vector<std::pair<std::u16string, std::string>>& table) {
        for (const auto& [prefix_text, expected] : table) {
            PointerTC<AlgebraicExpressionC> tree = prefix(prefix_text);
            const std::string written = write(tree->getNode());
            EXPECT_EQ(written, expected) << narrow(prefix_text);
            if (written.rfind("error", 0) != 0) {
                EXPECT_EQ(read(widen(written)), narrow(tree->toPrefixString(0, qorv::math::Standard))) << written;
            }
        }
    }
};

TEST_F(InfixPrinterTest, OperatorsAndCallForms) {
    expectWritings({{u"plus(times(2,x),sin(divide(pi,6)))", "2*x + sin(pi/6)"},
                    {u"plus(a,b,c)", "a + b + c"},
                    {u"times(a,b,c)", "a*b*c"},
                    {u"minus(a,b)", "a - b"},
                    {u"divide(a,b)", "a/b"},
                    {u"power(a,b)", "a^b"},
                    {u"neg(a)", "-a"},
                    {u"f(x,g(y),2)", "f(x, g(y), 2)"},
                    {u"plus(plus(x),minus(a),times(x))", "plus(x) + minus(a) + times(x)"},
                    {u"f(minus(a,b,c),divide(a),divide(a,b,c),power(a,b,c),neg(a,b))",
                     "f(minus(a, b, c), divide(a), divide(a, b, c), power(a, b, c), neg(a, b))"}});
    std::unique_ptr<NodeABC> bare(build.fn(u"f", {build.core(0, {})}));
    EXPECT_EQ(write(bare.get()), "f(plus())");
    EXPECT_EQ(read(u"f(plus())"), "error at 7: no arguments");  // prefix cannot read plus() back
}

TEST_F(InfixPrinterTest, TheFewestParenthesesThatKeepTheTree) {
    expectWritings({{u"plus(plus(a,b),c)", "(a + b) + c"},
                    {u"plus(a,plus(b,c))", "a + (b + c)"},
                    {u"plus(minus(a,b),c)", "a - b + c"},
                    {u"minus(plus(a,b),c)", "a + b - c"},
                    {u"minus(minus(a,b),c)", "a - b - c"},
                    {u"minus(a,minus(b,c))", "a - (b - c)"},
                    {u"plus(a,times(b,c),divide(d,e))", "a + b*c + d/e"},
                    {u"times(plus(a,b),minus(c,d))", "(a + b)*(c - d)"},
                    {u"times(times(a,b),c)", "(a*b)*c"},
                    {u"times(a,times(b,c))", "a*(b*c)"},
                    {u"times(divide(a,b),c)", "a/b*c"},
                    {u"divide(times(a,b),c)", "a*b/c"},
                    {u"divide(divide(a,b),c)", "a/b/c"},
                    {u"divide(a,divide(b,c))", "a/(b/c)"},
                    {u"power(2,power(3,2))", "2^3^2"},
                    {u"power(power(2,3),2)", "(2^3)^2"},
                    {u"power(times(a,b),plus(c,d))", "(a*b)^(c + d)"},
                    {u"times(power(a,b),power(c,d))", "a^b*c^d"},
                    {u"power(f(x),2)", "f(x)^2"}});
}

// equal(a,b) is "a = b", loosest of all; "=" does not chain, so an equation
// as an operand of anything but a call or a list is in parentheses. A sign
// may follow "=". list(...) is "[a, b]", its elements never in parentheses.
TEST_F(InfixPrinterTest, EquationsAndLists) {
    expectWritings({{u"equal(minus(power(x,2),1),0)", "x^2 - 1 = 0"},
                    {u"equal(a,-1)", "a = -1"},
                    {u"equal(neg(a),times(-2,b))", "-a = -2*b"},
                    {u"equal(equal(a,b),c)", "(a = b) = c"},
                    {u"equal(a,equal(b,c))", "a = (b = c)"},
                    {u"plus(equal(a,b),c)", "(a = b) + c"},
                    {u"plus(c,equal(a,b))", "c + (a = b)"},
                    {u"minus(c,equal(a,b))", "c - (a = b)"},
                    {u"times(equal(a,b),c)", "(a = b)*c"},
                    {u"divide(c,equal(a,b))", "c/(a = b)"},
                    {u"neg(equal(a,b))", "-(a = b)"},
                    {u"power(equal(a,b),2)", "(a = b)^2"},
                    {u"power(2,equal(a,b))", "2^(a = b)"},
                    {u"f(equal(a,b),c)", "f(a = b, c)"},
                    {u"equal(a)", "equal(a)"},
                    {u"equal(a,b,c)", "equal(a, b, c)"},
                    {u"list(1,2)", "[1, 2]"},
                    {u"list(equal(x,1),list(plus(a,b)),-3)", "[x = 1, [a + b], -3]"},
                    {u"power(list(1),2)", "[1]^2"},
                    {u"minus(list(a),neg(b))", "[a] - (-b)"},
                    {u"equal(list(x,y),list(1,2))", "[x, y] = [1, 2]"}});
    std::unique_ptr<NodeABC> empty(build.core(17, {}));
    EXPECT_EQ(write(empty.get()), "[]");
    EXPECT_EQ(read(u"[]"), "error at 1: no arguments");
}

// A sign never directly follows an operator, and a negative number never
// stands where reading would take its "-" for neg.
TEST_F(InfixPrinterTest, Signs) {
    expectWritings({{u"-3", "-3"},
                    {u"neg(neg(x))", "-(-x)"},
                    {u"neg(3)", "-(3)"},
                    {u"neg(-3)", "-(-3)"},
                    {u"power(-3,2)", "(-3)^2"},
                    {u"neg(power(3,2))", "-3^2"},
                    {u"neg(power(-3,2))", "-(-3)^2"},
                    {u"power(neg(x),2)", "(-x)^2"},
                    {u"power(neg(3),2)", "(-(3))^2"},
                    {u"plus(x,-3)", "x + (-3)"},
                    {u"minus(x,-3)", "x - (-3)"},
                    {u"plus(-3,x)", "-3 + x"},
                    {u"times(2,-3)", "2*(-3)"},
                    {u"times(-3,x)", "-3*x"},
                    {u"times(neg(3),x)", "-(3)*x"},
                    {u"times(neg(a),b)", "-a*b"},
                    {u"neg(times(a,b))", "-(a*b)"},
                    {u"plus(neg(a),neg(b))", "-a + (-b)"},
                    {u"power(x,-1)", "x^(-1)"},
                    {u"divide(-1,-2.5)", "-1/(-2.5)"},
                    {u"f(-3,neg(x),neg(3))", "f(-3, -x, -(3))"},
                    // a product after "+" or "-" whose first factor is signed, however deep
                    {u"plus(a,times(-3,x))", "a + (-3*x)"},
                    {u"minus(a,divide(divide(neg(x),y),z))", "a - (-x/y/z)"},
                    {u"plus(a,times(power(-3,2),x))", "a + (-3)^2*x"},
                    {u"plus(a,times(plus(-3,x),y))", "a + (-3 + x)*y"}});
}

// Numbers as their values print them, display arguments included; infinity
// prints as 1e999, which reads back as infinity. Names that are not
// identifiers, and number texts that infix does not read as one number, fail
// the whole call and are named.
TEST_F(InfixPrinterTest, NumbersAndWhatInfixCannotWrite) {
    expectWritings({{u"plus(12,2.5,1e21,1e-07)", "12 + 2.5 + 1e+21 + 1e-07"},
                    {u"power(1e5,2)", "1e+05^2"},
                    {u"f(1e999,-1e999)", "f(1e999, -1e999)"},
                    {u"f(a+b)", "error: the name 'a+b' has no infix form"},
                    {u"plus(x,2x)", "error: the name '2x' has no infix form"},
                    {u"f((x))", "error: the name '' has no infix form"}});
    std::unique_ptr<NodeABC> tree(build.fn(u"f", {new FloatNodeC(new ShortestFloat(0.25)), build.integer(7)}));
    EXPECT_EQ(write(tree.get(), 6), "error: the number '0.25|6|0' has no infix form");
    std::unique_ptr<NodeABC> unnamed(build.core(99, {build.sym(u"x")}));
    EXPECT_EQ(write(unnamed.get()), "error: the name '?<99>?' has no infix form");
    struct Spelled : TestInteger {
        explicit Spelled(const char16_t* text) : TestInteger(0), text(text) {}
        std::u16string toString() override { return text; }
        const char16_t* text;
    };
    for (const char16_t* text : {u"nan", u"+3", u"1e", u"--3", u"\u22123", u"", u"3 "}) {
        std::unique_ptr<NodeABC> odd(build.fn(u"f", {new IntegerNodeC(new Spelled(text))}));
        EXPECT_EQ(write(odd.get()), "error: the number '" + narrow(text) + "' has no infix form") << narrow(text);
    }
    EXPECT_EQ(write(static_cast<NodeABC*>(nullptr)), "error: no expression");
}

// One printer for several calls, and a walk that an overriding visit stops.
TEST_F(InfixPrinterTest, CallsAreIndependent) {
    InfixPrintVisitorC printer;
    EXPECT_EQ(std::u16string(printer.getErrorMessage()), u"");
    EXPECT_EQ(printer.getExpressionString(prefix(u"f(a+b)")->getNode(), 0, qorv::math::Standard), u"");
    EXPECT_NE(std::u16string(printer.getErrorMessage()), u"");
    EXPECT_EQ(printer.getExpressionString(prefix(u"plus(a,b)")->getNode(), 0, qorv::math::Standard), u"a + b");
    EXPECT_EQ(std::u16string(printer.getErrorMessage()), u"");

    struct StopAtB : InfixPrintVisitorC {
        bool visitExtendedSymbolNode(ExtendedSymbolNodeC& node) override {
            return InfixPrintVisitorC::visitExtendedSymbolNode(node) && node.toString() != u"b";
        }
    } stopping;
    EXPECT_EQ(stopping.getExpressionString(prefix(u"times(a,b,c)")->getNode(), 0, qorv::math::Standard), u"a*b");
    // Outside a call the visits write nothing and let the walk go on.
    PointerTC<AlgebraicExpressionC> every_kind = prefix(u"f(a,2,2.5,pi,sin(x))");
    EXPECT_TRUE(every_kind->traverse(stopping));
    LatexPrintVisitorC latex;
    EXPECT_TRUE(every_kind->traverse(latex));
}

// Deep chains written in both forms and read back: plus(plus(...(x,x)...),x)
// a million deep puts every inner sum in parentheses; neg(neg(...x)) writes
// "-(" at every level, power(x,power(x,...)) needs none.
TEST_F(InfixPrinterTest, DeepChains) {
    const auto x = [this] { return build.sym(u"x"); };
    struct Chain {
        std::size_t depth;
        std::function<NodeABC*(NodeABC*)> wrap;
        std::size_t head;        // code units before the first x in infix
        std::size_t latex_head;  // in LaTeX, where "(" is "\\left("
    };
    const std::size_t n = 1000000;
    const std::size_t m = 100000;
    const Chain chains[] = {{n,
                             [&](NodeABC* inner) {
                                 return build.core(0, {inner, x()});
                             },
                             n - 1, 6 * (n - 1)},
                            {m, [&](NodeABC* inner) { return build.core(5, {inner}); }, 2 * m - 1, 7 * m - 6},
                            {m,
                             [&](NodeABC* inner) {
                                 return build.core(4, {x(), inner});
                             },
                             0, 0}};
    for (const Chain& chain : chains) {
        NodeABC* tree = x();
        for (std::size_t i = 0; i < chain.depth; ++i) {
            tree = chain.wrap(tree);
        }
        PointerTC<AlgebraicExpressionC> e(new AlgebraicExpressionC(tree));
        InfixPrintVisitorC printer;
        const std::u16string text = printer.getExpressionString(tree, 0, qorv::math::Standard);
        EXPECT_EQ(text.find(u'x'), chain.head);
        InfixReaderC reader;
        PointerTC<AlgebraicExpressionC> back = reader.read(text);
        ASSERT_TRUE(back) << chain.head;
        EXPECT_EQ(back->toPrefixString(0, qorv::math::Standard), e->toPrefixString(0, qorv::math::Standard));
        LatexPrintVisitorC latex;
        EXPECT_EQ(latex.getExpressionString(tree, 0, qorv::math::Standard).find(u'x'), chain.latex_head);
    }
}

}  // namespace
}  // namespace testing_doubles
