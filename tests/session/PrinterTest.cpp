// SPDX-License-Identifier: MIT
// Writing trees as prefix text, and the texts of core nodes under a session.
// (One printer over many trees: the tool prints every line with one.)
#include <memory>
#include <string>

#include "SessionFixture.h"

namespace testing_doubles {
namespace {

class PrinterTest : public SessionTest {};

// What reading never makes (no tree at all: the rootless-expression test).
TEST_F(PrinterTest, AFunctionWithoutChildren) {
    std::unique_ptr<NodeABC> empty(build.fn(u"h", {}));
    EXPECT_EQ(print(empty.get()), u"h()");
}

TEST_F(PrinterTest, DisplayArgumentsReachFloatsOnly) {
    std::unique_ptr<NodeABC> tree(build.fn(u"f", {build.real(0.25), build.integer(3)}));
    EXPECT_EQ(print(tree.get(), 6, qorv::math::Engineering), u"f(0.25|6|3,3)");
    PointerTC<AlgebraicExpressionC> e(new AlgebraicExpressionC(tree.release()));
    EXPECT_EQ(e->toPrefixString(2, static_cast<qorv::math::NumberDisplayFormatE>(-9)), u"f(0.25|2|-9,3)");
}

// A printer whose visit stops the walk gets the text so far (it used to be
// taken for running out of memory and emptied).
TEST_F(PrinterTest, AStoppedWalkKeepsItsText) {
    struct StopAtB : PrefixPrintVisitorC {
        bool visitExtendedSymbolNode(ExtendedSymbolNodeC& node) override {
            return PrefixPrintVisitorC::visitExtendedSymbolNode(node) && node.toString() != u"b";
        }
    } printer;
    EXPECT_EQ(printer.getExpressionString(read(u"f(a,b,c)")->getNode(), 0, qorv::math::Standard), u"f(a,b");
}

// A function visit in an order the printer does not write (LeafOrder, which
// no traversal makes for a function) writes nothing and lets a walk go on.
TEST_F(PrinterTest, OtherVisitOrdersWriteNothing) {
    std::unique_ptr<ExtendedFunctionNodeC> call(build.fn(u"f", {build.sym(u"x")}));
    CoreFunctionNodeC plus(0);
    PrefixPrintVisitorC printer;
    EXPECT_TRUE(printer.visitExtendedFunctionNode(*call, LeafOrder));
    EXPECT_TRUE(printer.visitCoreFunctionNode(plus, LeafOrder));
    EXPECT_TRUE(printer.visitCoreFunctionNode(plus, static_cast<VisitationOrderE>(0)));
    EXPECT_EQ(printer.getExpressionString(call.get(), 0, qorv::math::Standard), u"f(x)");
}

// One printer over trees of every depth about where a walk's first levels
// end (a sibling after each nested call, so that every level is gone back
// to), and over a text longer than the printer keeps between calls: each
// text comes back whole, nothing of the one before it.
TEST_F(PrinterTest, OnePrinterOverTreesOfEveryDepthAndLength) {
    PrefixPrintVisitorC printer;
    const auto nested = [](std::size_t depth) {
        std::u16string text = u"x";
        for (std::size_t i = 0; i < depth; ++i) {
            text = u"f(" + text + u",a" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) + u")";
        }
        return text;
    };
    std::u16string wide = u"g(x";
    for (int i = 0; i < 40000; ++i) {
        wide += u",y";
    }
    wide += u")";
    for (const std::u16string& text :
         {nested(30), nested(31), nested(32), nested(33), nested(34), nested(70), wide, nested(2), wide, nested(33)}) {
        PointerTC<AlgebraicExpressionC> tree = read(text);
        ASSERT_TRUE(tree);
        EXPECT_EQ(printer.getExpressionString(tree->getNode(), 0, qorv::math::Standard), text);
    }
}

TEST_F(PrinterTest, CoreCodesPrintThroughTheCurrentSession) {
    std::unique_ptr<NodeABC> unknown(build.core(7, {new CoreSymbolNodeC(3), new CoreSymbolNodeC(-3)}));
    EXPECT_EQ(print(unknown.get()), u"?<7>?(pi,?<-3>?)");
    PointerTC<AlgebraicExpressionC> back = read(u"?<7>?(x)");  // a name when read back
    EXPECT_EQ(kind(back->getNode()), "ExtendedFunctionNodeC");
    EXPECT_EQ(back->getNode()->toString(), u"?<7>?");
}

}  // namespace
}  // namespace testing_doubles
