// SPDX-License-Identifier: MIT
// Writing trees in LaTeX: fractions, powers, powers of functions, roots,
// bars, function commands, derivatives, names and subscripts, numbers,
// equations and lists, where \cdot stands, and the grouping the tree needs.
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "InfixFixture.h"

namespace testing_doubles {
namespace {

class LatexPrinterTest : public InfixTest {
protected:
    static void expectLatex(const std::vector<std::pair<std::u16string, std::string>>& table) {
        for (const auto& [prefix_text, expected] : table) {
            EXPECT_EQ(write<LatexPrintVisitorC>(prefix_text), expected) << narrow(prefix_text);
        }
    }
};

TEST_F(LatexPrinterTest, OperatorsAndGrouping) {
    expectLatex({{u"plus(times(2,x),sin(divide(pi,6)))", "2 x + \\sin\\left(\\frac{\\pi}{6}\\right)"},
                 {u"divide(1,x)", "\\frac{1}{x}"},
                 {u"divide(plus(a,b),times(c,d))", "\\frac{a + b}{c d}"},
                 {u"divide(divide(a,b),c)", "\\frac{\\frac{a}{b}}{c}"},
                 {u"minus(a,minus(b,c))", "a - \\left(b - c\\right)"},
                 {u"times(plus(a,b),c)", "\\left(a + b\\right) \\cdot c"},
                 {u"neg(neg(x))", "-\\left(-x\\right)"},
                 {u"neg(3)", "-\\left(3\\right)"},
                 {u"neg(divide(a,b))", "-\\frac{a}{b}"},
                 {u"plus(a,times(-3,x))", "a + \\left(-3 x\\right)"},
                 {u"plus(a,times(-2.5e30,x))", "a + \\left(-2.5 \\cdot 10^{30} \\cdot x\\right)"},
                 {u"plus(a,times(2.5e30,x))", "a + 2.5 \\cdot 10^{30} \\cdot x"},
                 {u"power(x,plus(a,b))", "x^{a + b}"},
                 {u"power(x,-1)", "x^{-1}"},
                 {u"power(2,power(3,2))", "2^{3^{2}}"},
                 {u"power(power(a,b),c)", "\\left(a^{b}\\right)^{c}"},
                 {u"power(divide(a,b),2)", "\\left(\\frac{a}{b}\\right)^{2}"},
                 {u"power(-3,2)", "\\left(-3\\right)^{2}"},
                 {u"power(sqrt(x),2)", "\\sqrt{x}^{2}"},
                 {u"power(abs(x),2)", "\\left| x \\right|^{2}"},
                 {u"power(x,sin(y))", "x^{\\sin\\left(y\\right)}"},
                 {u"plus(x)", "\\operatorname{plus}\\left(x\\right)"},
                 {u"divide(a,b,c)", "\\operatorname{divide}\\left(a, b, c\\right)"}});
}

// A fraction whose numerator has a sign shows it before the bar, and then
// stands where neg(divide(...)) would; the numerator keeps no parentheses.
TEST_F(LatexPrinterTest, NegativeFractionsHaveTheirSignInFront) {
    expectLatex({{u"divide(-1,5)", "-\\frac{1}{5}"},
                 {u"divide(neg(x),5)", "-\\frac{x}{5}"},
                 {u"divide(neg(2),5)", "-\\frac{2}{5}"},
                 {u"divide(neg(plus(a,b)),5)", "-\\frac{a + b}{5}"},
                 {u"divide(neg(neg(x)),2)", "-\\frac{-x}{2}"},
                 {u"plus(x,divide(-1,5))", "x + \\left(-\\frac{1}{5}\\right)"},
                 {u"times(2,divide(-1,5))", "2 \\cdot \\left(-\\frac{1}{5}\\right)"},
                 {u"times(divide(-1,5),x)", "-\\frac{1}{5} x"},
                 {u"power(divide(-1,5),2)", "\\left(-\\frac{1}{5}\\right)^{2}"},
                 {u"power(sin(x),divide(-1,2))", "\\left(\\sin\\left(x\\right)\\right)^{-\\frac{1}{2}}"},
                 {u"divide(3,divide(-1,5))", "\\frac{3}{-\\frac{1}{5}}"},
                 {u"divide(1,-5)", "\\frac{1}{-5}"}});
}

// equal(a,b) is a = b, loosest of all and never chained; a list stands in
// brackets, its elements never in parentheses.
TEST_F(LatexPrinterTest, EquationsAndLists) {
    expectLatex({{u"equal(minus(power(x,2),1),0)", R"(x^{2} - 1 = 0)"},
                 {u"equal(divide(1,x),neg(2))", R"(\frac{1}{x} = -\left(2\right))"},
                 {u"equal(equal(a,b),c)", R"(\left(a = b\right) = c)"},
                 {u"equal(a,equal(b,c))", R"(a = \left(b = c\right))"},
                 {u"plus(equal(a,b),c)", R"(\left(a = b\right) + c)"},
                 {u"power(x,equal(a,b))", R"(x^{a = b})"},
                 {u"divide(equal(a,b),2)", R"(\frac{a = b}{2})"},
                 {u"equal(a)", R"(\operatorname{equal}\left(a\right))"},
                 {u"list(1,2)", R"(\left[ 1, 2 \right])"},
                 {u"list(equal(x,1),list(plus(a,b)))", R"(\left[ x = 1, \left[ a + b \right] \right])"},
                 {u"times(2,list(x))", R"(2 \cdot \left[ x \right])"},
                 {u"f(list(x),equal(a,b))", R"(\operatorname{f}\left(\left[ x \right], a = b\right))"}});
    std::unique_ptr<NodeABC> empty(build.core(17, {}));
    EXPECT_EQ(write<LatexPrintVisitorC>(empty.get()), R"(\left[ \right])");
}

// A power of a call is \sin^{2}\left(x\right) where that reads as the tree:
// for functions other than exp and the logarithms (\log^{2} would read as
// the logarithm taken twice), with an exponent that starts with no sign
// (\sin^{-1} is the inverse) and fits there. Otherwise the call as a base has
// parentheses of its own: \log\left(x\right)^{2} would read as the argument
// squared.
TEST_F(LatexPrinterTest, PowersOfCalls) {
    expectLatex({{u"power(sin(x),2)", R"(\sin^{2}\left(x\right))"},
                 {u"power(atan(x),2)", R"(\arctan^{2}\left(x\right))"},
                 {u"power(f(x,y),2)", R"(\operatorname{f}^{2}\left(x, y\right))"},
                 {u"power(plus(x),2)", R"(\operatorname{plus}^{2}\left(x\right))"},
                 {u"power(sin(x),y)", R"(\sin^{y}\left(x\right))"},
                 {u"power(sin(x),divide(1,2))", R"(\sin^{\frac{1}{2}}\left(x\right))"},
                 {u"power(sin(x),power(2,n))", R"(\sin^{2^{n}}\left(x\right))"},
                 {u"power(sin(x),sqrt(2))", R"(\sin^{\sqrt{2}}\left(x\right))"},
                 {u"power(power(sin(x),2),3)", R"(\left(\sin^{2}\left(x\right)\right)^{3})"},
                 {u"power(sin(power(cos(x),2)),power(tan(y),3))",
                  R"(\sin^{\tan^{3}\left(y\right)}\left(\cos^{2}\left(x\right)\right))"},
                 {u"times(power(sin(x),2),power(cos(x),2))", R"(\sin^{2}\left(x\right) \cdot \cos^{2}\left(x\right))"},
                 {u"plus(power(f(x),2),1)", R"(\operatorname{f}^{2}\left(x\right) + 1)"}});
    expectLatex({{u"power(sin(x),-1)", R"(\left(\sin\left(x\right)\right)^{-1})"},
                 {u"power(sin(x),neg(n))", R"(\left(\sin\left(x\right)\right)^{-n})"},
                 {u"power(sin(x),plus(a,b))", R"(\left(\sin\left(x\right)\right)^{a + b})"},
                 {u"power(sin(x),2.5e30)", R"(\left(\sin\left(x\right)\right)^{2.5 \cdot 10^{30}})"},
                 {u"power(sin(x),list(2))", R"(\left(\sin\left(x\right)\right)^{\left[ 2 \right]})"},
                 {u"power(exp(x),2)", R"(\left(\exp\left(x\right)\right)^{2})"},
                 {u"power(exp(x),-1)", R"(\left(\exp\left(x\right)\right)^{-1})"},
                 {u"power(log(x),2)", R"(\left(\log\left(x\right)\right)^{2})"},
                 {u"power(order(x),2)", R"(\left(O\left(x\right)\right)^{2})"},
                 {u"neg(power(log(x),2))", R"(-\left(\log\left(x\right)\right)^{2})"}});
    std::unique_ptr<NodeABC> bare(build.core(4, {build.fn(u"f", {}), build.integer(2)}));
    EXPECT_EQ(write<LatexPrintVisitorC>(bare.get()), R"(\left(\operatorname{f}\left(\right)\right)^{2})");
    // Every function with a command of its own, one way or the other.
    const std::pair<const char*, const char*> commands[] = {
        {"sin", "sin"},       {"cos", "cos"},       {"tan", "tan"},       {"cot", "cot"},     {"sec", "sec"},
        {"csc", "csc"},       {"asin", "arcsin"},   {"acos", "arccos"},   {"atan", "arctan"}, {"arcsin", "arcsin"},
        {"arccos", "arccos"}, {"arctan", "arctan"}, {"sinh", "sinh"},     {"cosh", "cosh"},   {"tanh", "tanh"},
        {"coth", "coth"}};
    for (const auto& [name, command] : commands) {
        EXPECT_EQ(write<LatexPrintVisitorC>(u"power(" + widen(name) + u"(x),2)"),
                  "\\" + std::string(command) + "^{2}\\left(x\\right)");
    }
    for (const char* name : {"exp", "log", "ln"}) {
        EXPECT_EQ(write<LatexPrintVisitorC>(u"power(" + widen(name) + u"(x),2)"),
                  "\\left(\\" + std::string(name) + "\\left(x\\right)\\right)^{2}");
    }
}

// pdiff(f(x),1) is f'(x); a chain of them over a function of one argument
// counts primes; over several, each is \partial_{k}. What is no such chain
// (k not a positive integer, no call at the bottom) is a call of pdiff.
TEST_F(LatexPrinterTest, Derivatives) {
    expectLatex({{u"pdiff(f(x),1)", R"(\operatorname{f}'\left(x\right))"},
                 {u"pdiff(pdiff(f(x),1),1)", R"(\operatorname{f}''\left(x\right))"},
                 {u"pdiff(pdiff(pdiff(f(x),1),1),1)", R"(\operatorname{f}'''\left(x\right))"},
                 {u"pdiff(pdiff(pdiff(pdiff(f(x),1),1),1),1)", R"(\operatorname{f}^{(4)}\left(x\right))"},
                 {u"pdiff(sin(x),1)", R"(\sin'\left(x\right))"},
                 {u"pdiff(g(x,y),2)", R"(\partial_{2} \operatorname{g}\left(x, y\right))"},
                 {u"pdiff(pdiff(g(x,y),1),2)", R"(\partial_{2} \partial_{1} \operatorname{g}\left(x, y\right))"},
                 {u"pdiff(f(x),2)", R"(\partial_{2} \operatorname{f}\left(x\right))"},
                 {u"times(2,pdiff(f(times(2,x)),1))", R"(2 \cdot \operatorname{f}'\left(2 x\right))"},
                 {u"power(pdiff(f(x),1),2)", R"(\left(\operatorname{f}'\left(x\right)\right)^{2})"}});
    expectLatex({{u"pdiff(f(x),x)", R"(\operatorname{pdiff}\left(\operatorname{f}\left(x\right), x\right))"},
                 {u"pdiff(f(x),0)", R"(\operatorname{pdiff}\left(\operatorname{f}\left(x\right), 0\right))"},
                 {u"pdiff(f(x),-1)", R"(\operatorname{pdiff}\left(\operatorname{f}\left(x\right), -1\right))"},
                 {u"pdiff(sqrt(x),1)", R"(\operatorname{pdiff}\left(\sqrt{x}, 1\right))"},
                 {u"pdiff(f(x),1,2)", R"(\operatorname{pdiff}\left(\operatorname{f}\left(x\right), 1, 2\right))"},
                 {u"pdiff(pdiff(x,1),1)", R"(\operatorname{pdiff}\left(\operatorname{pdiff}\left(x, 1\right), 1\right))"},
                 {u"pdiff(pdiff(f(x),1,2),1)",
                  R"(\operatorname{pdiff}\left(\operatorname{pdiff}\left(\operatorname{f}\left(x\right), 1, 2\right), 1\right))"},
                 {u"pdiff(pdiff(pdiff(f(x),1),y),1)",
                  R"(\operatorname{pdiff}\left(\operatorname{pdiff}\left(\operatorname{f}'\left(x\right), y\right), 1\right))"}});
    std::unique_ptr<NodeABC> bare(build.fn(u"pdiff", {build.fn(u"f", {}), build.integer(1)}));
    EXPECT_EQ(write<LatexPrintVisitorC>(bare.get()), R"(\operatorname{pdiff}\left(\operatorname{f}\left(\right), 1\right))");
}

TEST_F(LatexPrinterTest, FunctionsAndNames) {
    expectLatex({{u"sqrt(plus(x,1))", "\\sqrt{x + 1}"},
                 {u"abs(x)", "\\left| x \\right|"},
                 {u"f(sin(x),cos(x),tan(x),exp(x),log(x,2))",
                  "\\operatorname{f}\\left(\\sin\\left(x\\right), \\cos\\left(x\\right), \\tan\\left(x\\right), "
                  "\\exp\\left(x\\right), \\log\\left(x, 2\\right)\\right)"},
                 {u"sqrt(x,y)", "\\operatorname{sqrt}\\left(x, y\\right)"},
                 {u"my_f(x)", "\\operatorname{my\\_f}\\left(x\\right)"},
                 {u"f(pi,e,i,x,alpha,omega,Omega,Pi)",
                  "\\operatorname{f}\\left(\\pi, e, i, x, \\alpha, \\omega, \\Omega, \\Pi\\right)"},
                 {u"f(asin(x),acos(x),atan(x),sinh(x),cosh(x),tanh(x))",
                  R"(\operatorname{f}\left(\arcsin\left(x\right), \arccos\left(x\right), \arctan\left(x\right), )"
                  R"(\sinh\left(x\right), \cosh\left(x\right), \tanh\left(x\right)\right))"},
                 {u"f(cot(x),coth(x),sec(x),csc(x),ln(x),arctan(x))",
                  R"(\operatorname{f}\left(\cot\left(x\right), \coth\left(x\right), \sec\left(x\right), )"
                  R"(\csc\left(x\right), \ln\left(x\right), \arctan\left(x\right)\right))"},
                 {u"plus(x,order(power(x,6)))", R"(x + O\left(x^{6}\right))"},
                 {u"f(order(x,2),asinh(x))",
                  R"(\operatorname{f}\left(\operatorname{order}\left(x, 2\right), \operatorname{asinh}\left(x\right)\right))"},
                 {u"f(omicron,xy,a#b$c%d&e{f}g~h^i\\j)",
                  "\\operatorname{f}\\left(\\mathrm{omicron}, \\mathrm{xy}, "
                  "\\mathrm{a\\#b\\$c\\%d\\&e\\{f\\}g\\sim{}h\\hat{}i\\backslash{}j}\\right)"},
                 // A letter's name with a subscript after one "_"; "_" alone is an empty slot.
                 {u"f(x_1,omega_0,x_max,alpha_beta,Omega_12,_)",
                  R"(\operatorname{f}\left(x_{1}, \omega_{0}, x_{max}, \alpha_{\beta}, \Omega_{12}, \square\right))"},
                 {u"f(x_1_2,my_var,_x,x_,x__,x_+,omicron_1)",
                  R"(\operatorname{f}\left(\mathrm{x\_1\_2}, \mathrm{my\_var}, \mathrm{\_x}, \mathrm{x\_}, )"
                  R"(\mathrm{x\_\_}, \mathrm{x\_+}, \mathrm{omicron\_1}\right))"},
                 {u"f(a+b)", "\\operatorname{f}\\left(\\mathrm{a+b}\\right)"}});
    std::unique_ptr<NodeABC> greek(build.fn(u"f", {build.sym(u"\u03b1"), build.sym(u"")}));
    LatexPrintVisitorC printer;
    EXPECT_EQ(printer.getExpressionString(greek.get(), 0, qorv::math::Standard),
              u"\\operatorname{f}\\left(\u03b1, \\mathrm{}\\right)");
}

// \cdot where juxtaposition would mislead: before a number, next to anything
// written with parentheses or bars, after a float with an exponent, between
// a number and a fraction. A product with one \cdot has it between all its
// factors.
TEST_F(LatexPrinterTest, WhereTheDotStands) {
    expectLatex({{u"times(2,x)", "2 x"},
                 {u"times(2,pi,r)", "2 \\pi r"},
                 {u"times(x,2)", "x \\cdot 2"},
                 {u"times(2,power(x,2))", "2 x^{2}"},
                 {u"times(x,power(2,y))", "x \\cdot 2^{y}"},
                 {u"times(x,power(sin(y),2))", R"(x \cdot \sin^{2}\left(y\right))"},
                 {u"times(x,power(log(y),2))", R"(x \cdot \left(\log\left(y\right)\right)^{2})"},
                 {u"times(x,power(plus(a,b),2))", "x \\cdot \\left(a + b\\right)^{2}"},
                 {u"times(x,sqrt(y))", "x \\sqrt{y}"},
                 {u"times(2,sin(x))", "2 \\cdot \\sin\\left(x\\right)"},
                 {u"times(sin(x),y)", "\\sin\\left(x\\right) \\cdot y"},
                 {u"times(x,abs(y))", "x \\cdot \\left| y \\right|"},
                 {u"times(x,-3)", "x \\cdot \\left(-3\\right)"},
                 {u"times(-3,x)", "-3 x"},
                 {u"times(neg(a),b)", "-a b"},
                 {u"times(2,divide(1,2))", "2 \\cdot \\frac{1}{2}"},
                 {u"times(-2,divide(1,2))", "-2 \\cdot \\frac{1}{2}"},
                 {u"times(x,divide(1,2))", "x \\frac{1}{2}"},
                 {u"times(2.5e30,x)", "2.5 \\cdot 10^{30} \\cdot x"},
                 {u"times(x,2.5e30)", "x \\cdot \\left(2.5 \\cdot 10^{30}\\right)"},
                 {u"times(times(a,b),c)", "\\left(a b\\right) \\cdot c"}});
    expectLatex({{u"times(3,7,sqrt(x))", "3 \\cdot 7 \\cdot \\sqrt{x}"},
                 {u"times(2,x,sqrt(y))", "2 x \\sqrt{y}"},
                 {u"times(a,power(x,2),b)", "a x^{2} b"},
                 {u"times(a,b,sin(x),c)", "a \\cdot b \\cdot \\sin\\left(x\\right) \\cdot c"},
                 {u"times(2,x,divide(1,2))", "2 x \\frac{1}{2}"},
                 {u"times(2,divide(1,2),x)", "2 \\cdot \\frac{1}{2} \\cdot x"},
                 {u"times(x,y,2.5e30)", "x \\cdot y \\cdot \\left(2.5 \\cdot 10^{30}\\right)"},
                 {u"times(2.5e30,x,y)", "2.5 \\cdot 10^{30} \\cdot x \\cdot y"},
                 {u"times(x,power(f(y),2),z)", R"(x \cdot \operatorname{f}^{2}\left(y\right) \cdot z)"},
                 {u"times(times(2,x),y,z)", "\\left(2 x\\right) \\cdot y \\cdot z"},
                 {u"times(x,times(y,2),z)", "x \\cdot \\left(y \\cdot 2\\right) \\cdot z"},
                 {u"plus(times(a,b),times(c,2))", "a b + c \\cdot 2"}});
    // A leading negation shows the end of its operand to the next factor.
    expectLatex({{u"times(neg(exp(y)),x)", "-\\exp\\left(y\\right) \\cdot x"},
                 {u"times(neg(abs(y)),x)", "-\\left| y \\right| \\cdot x"},
                 {u"times(neg(power(sin(y),2)),x)", R"(-\sin^{2}\left(y\right) \cdot x)"},
                 {u"times(neg(power(exp(y),2)),x)", R"(-\left(\exp\left(y\right)\right)^{2} \cdot x)"},
                 {u"times(neg(neg(y)),x)", "-\\left(-y\\right) \\cdot x"},
                 {u"times(neg(power(y,2)),x)", "-y^{2} x"},
                 {u"times(neg(sqrt(y)),x)", "-\\sqrt{y} x"}});
}

// Floats with an exponent as a product with a power of ten, grouped as one;
// values that are not finite as such; number texts that are no numbers, and
// display arguments, upright.
TEST_F(LatexPrinterTest, Numbers) {
    expectLatex({{u"2.5e30", "2.5 \\cdot 10^{30}"},
                 {u"1e-7", "1 \\cdot 10^{-7}"},
                 {u"plus(x,-1e21)", "x + \\left(-1 \\cdot 10^{21}\\right)"},
                 {u"neg(1e21)", "-\\left(1 \\cdot 10^{21}\\right)"},
                 {u"power(1e21,2)", "\\left(1 \\cdot 10^{21}\\right)^{2}"},
                 {u"power(x,1e21)", "x^{1 \\cdot 10^{21}}"},
                 {u"plus(12,-12,2.5)", "12 + \\left(-12\\right) + 2.5"},
                 {u"plus(1e999,-1e999)", "\\infty + \\left(-\\infty\\right)"},
                 {u"power(-1e999,2)", "\\left(-\\infty\\right)^{2}"}});
    std::unique_ptr<NodeABC> tree(build.fn(u"f", {new FloatNodeC(new ShortestFloat(0.0 / 0.0)), build.real(0.25)}));
    EXPECT_EQ(write<LatexPrintVisitorC>(tree.get()), "\\operatorname{f}\\left(\\mathrm{NaN}, 0.25\\right)");
    EXPECT_EQ(write<LatexPrintVisitorC>(tree.get(), 6),
              "\\operatorname{f}\\left(\\mathrm{NaN}, \\mathrm{0.25|6|0}\\right)");
    EXPECT_EQ(write<LatexPrintVisitorC>(static_cast<NodeABC*>(nullptr)), "error: no expression");
}

// Long chains of derivatives and of powers of calls, in time linear in
// their size: the chain below a pdiff is looked at once, and an exponent
// written before the arguments it follows costs no copying.
TEST_F(LatexPrinterTest, DeepDerivativesAndPowers) {
    const std::size_t n = 200000;
    const auto chain = [&](NodeABC* bottom, const std::function<NodeABC*(NodeABC*)>& wrap) {
        NodeABC* tree = bottom;
        for (std::size_t i = 0; i < n; ++i) {
            tree = wrap(tree);
        }
        return PointerTC<AlgebraicExpressionC>(new AlgebraicExpressionC(tree));
    };
    const auto pdiff = [&](NodeABC* inner) { return build.fn(u"pdiff", {inner, build.integer(1)}); };
    EXPECT_EQ(write<LatexPrintVisitorC>(chain(build.fn(u"f", {build.sym(u"x")}), pdiff)->getNode()),
              R"(\operatorname{f}^{(200000)}\left(x\right))");
    std::u16string calls;
    for (std::size_t i = 0; i < n; ++i) {
        calls += u"\\operatorname{pdiff}\\left(";
    }
    calls += u"x";
    for (std::size_t i = 0; i < n; ++i) {
        calls += u", 1\\right)";
    }
    LatexPrintVisitorC latex;
    EXPECT_EQ(latex.getExpressionString(chain(build.sym(u"x"), pdiff)->getNode(), 0, qorv::math::Standard), calls);

    // sin(sin(...)^2)^2 and sin(x)^(sin(x)^(...)).
    const auto repeated = [&](const char16_t* before, const char16_t* middle, const char16_t* after) {
        std::u16string expected;
        for (std::size_t i = 0; i < n; ++i) {
            expected += before;
        }
        expected += middle;
        for (std::size_t i = 0; i < n; ++i) {
            expected += after;
        }
        return expected;
    };
    const auto squared = [&](NodeABC* inner) { return build.core(4, {build.core(6, {inner}), build.integer(2)}); };
    EXPECT_EQ(latex.getExpressionString(chain(build.sym(u"x"), squared)->getNode(), 0, qorv::math::Standard),
              repeated(u"\\sin^{2}\\left(", u"x", u"\\right)"));
    const auto raised = [&](NodeABC* inner) { return build.core(4, {build.core(6, {build.sym(u"x")}), inner}); };
    EXPECT_EQ(latex.getExpressionString(chain(build.integer(3), raised)->getNode(), 0, qorv::math::Standard),
              repeated(u"\\sin^{", u"3", u"}\\left(x\\right)"));
}

}  // namespace
}  // namespace testing_doubles
