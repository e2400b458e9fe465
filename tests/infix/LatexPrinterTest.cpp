// SPDX-License-Identifier: MIT
// Writing trees in LaTeX: fractions, powers, roots, bars, function commands,
// names, numbers, where \cdot stands, and the grouping the tree needs.
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

// A call as a base has parentheses of its own: \sin\left(x\right)^{2} would
// read as the argument squared (and \sin^{-1} as the inverse).
TEST_F(LatexPrinterTest, CallsAsBases) {
    expectLatex({{u"power(sin(x),2)", "\\left(\\sin\\left(x\\right)\\right)^{2}"},
                 {u"power(exp(x),-1)", "\\left(\\exp\\left(x\\right)\\right)^{-1}"},
                 {u"power(f(x,y),2)", "\\left(\\operatorname{f}\\left(x, y\\right)\\right)^{2}"},
                 {u"power(plus(x),2)", "\\left(\\operatorname{plus}\\left(x\\right)\\right)^{2}"},
                 {u"power(power(sin(x),2),3)", "\\left(\\left(\\sin\\left(x\\right)\\right)^{2}\\right)^{3}"},
                 {u"neg(power(log(x),2))", "-\\left(\\log\\left(x\\right)\\right)^{2}"}});
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
                 {u"f(omicron,xy,x_1,a#b$c%d&e{f}g~h^i\\j)",
                  "\\operatorname{f}\\left(\\mathrm{omicron}, \\mathrm{xy}, \\mathrm{x\\_1}, "
                  "\\mathrm{a\\#b\\$c\\%d\\&e\\{f\\}g\\sim{}h\\hat{}i\\backslash{}j}\\right)"},
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
                 {u"times(x,power(sin(y),2))", "x \\cdot \\left(\\sin\\left(y\\right)\\right)^{2}"},
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
                 {u"times(x,power(f(y),2),z)",
                  "x \\cdot \\left(\\operatorname{f}\\left(y\\right)\\right)^{2} \\cdot z"},
                 {u"times(times(2,x),y,z)", "\\left(2 x\\right) \\cdot y \\cdot z"},
                 {u"times(x,times(y,2),z)", "x \\cdot \\left(y \\cdot 2\\right) \\cdot z"},
                 {u"plus(times(a,b),times(c,2))", "a b + c \\cdot 2"}});
    // A leading negation shows the end of its operand to the next factor.
    expectLatex({{u"times(neg(exp(y)),x)", "-\\exp\\left(y\\right) \\cdot x"},
                 {u"times(neg(abs(y)),x)", "-\\left| y \\right| \\cdot x"},
                 {u"times(neg(power(sin(y),2)),x)", "-\\left(\\sin\\left(y\\right)\\right)^{2} \\cdot x"},
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

}  // namespace
}  // namespace testing_doubles
