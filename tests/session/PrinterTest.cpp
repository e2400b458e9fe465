// SPDX-License-Identifier: MIT
// Writing trees as prefix text, and the texts of core nodes under a session.
// (One printer over many trees: the tool prints every line with one.)
#include <memory>

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

TEST_F(PrinterTest, CoreCodesPrintThroughTheCurrentSession) {
    std::unique_ptr<NodeABC> unknown(build.core(7, {new CoreSymbolNodeC(3), new CoreSymbolNodeC(-3)}));
    EXPECT_EQ(print(unknown.get()), u"?<7>?(pi,?<-3>?)");
    PointerTC<AlgebraicExpressionC> back = read(u"?<7>?(x)");  // a name when read back
    EXPECT_EQ(kind(back->getNode()), "ExtendedFunctionNodeC");
    EXPECT_EQ(back->getNode()->toString(), u"?<7>?");
}

}  // namespace
}  // namespace testing_doubles
