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
                 {u"plus(x)", "\\operatorname{plus}\\left(x\\right)"},
                 {u"divide(a,b,c)", "\\operatorname{divide}\\left(a, b, c\\right)"}});
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
// a number and a fraction.
TEST_F(LatexPrinterTest, WhereTheDotStands) {
    expectLatex({{u"times(2,x)", "2 x"},
                 {u"times(2,pi,r)", "2 \\pi r"},
                 {u"times(x,2)", "x \\cdot 2"},
                 {u"times(2,power(x,2))", "2 x^{2}"},
                 {u"times(x,power(2,y))", "x \\cdot 2^{y}"},
                 {u"times(x,power(sin(y),2))", "x \\cdot \\sin\\left(y\\right)^{2}"},
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
