// SPDX-License-Identifier: MIT
// Building in C++ under the test session: numbers through the factories as
// reading sends them (factories hidden, declined texts), core names, and
// operators whose names this vocabulary lacks.
#include "SessionFixture.h"

namespace testing_doubles {
namespace {

class BuildingTest : public SessionTest {};

TEST_F(BuildingTest, NumbersGoWhereReadingSendsThem) {
    EXPECT_EQ(kind(ExprC(42).node()), "IntegerNodeC");
    installed().hide_integer_factory = true;  // the float factory gets "42", as when reading
    ExprC as_float(42);
    EXPECT_EQ(kind(as_float.node()), "FloatNodeC");
    EXPECT_TRUE(equalTrees(as_float.node(), read(u"42")->getNode()));
    installed().hide_float_factory = true;
    EXPECT_EQ(narrow(ExprC(42).error()), "no number factory takes '42'");
    EXPECT_EQ(narrow(ExprC(1.0 / 0.0).error()), "no number factory takes 'a non-finite float'");
    installed().hide_integer_factory = false;
    installed().hide_float_factory = false;
    // Made from the double, and refused: "-inf" would read back as a symbol.
    EXPECT_EQ(narrow(ExprC(-1.0 / 0.0).error()), "a float whose text does not read back: '-inf'");
}

TEST_F(BuildingTest, NamesAndMissingOperators) {
    EXPECT_EQ(kind(sym(u"pi").node()), "CoreSymbolNodeC");
    EXPECT_EQ(kind(call(u"g", 1).node()), "CoreFunctionNodeC");
    EXPECT_EQ(reprint(u"plus(sin(x),g(y),1)"), narrow((sin(sym(u"x")) + call(u"g", sym(u"y")) + 1).toPrefixString()));
    ExprC x = sym(u"x");
    EXPECT_EQ(narrow((x * 2).error()), "the session has no core element named 'times'");
    EXPECT_EQ(narrow(pow(x, 2).error()), "the session has no core element named 'power'");
    EXPECT_EQ(narrow(cos(x).toPrefixString()), "cos(x)");
    EXPECT_EQ(narrow(exp(x).error()), "the session has no core element named 'exp'");
}

TEST_F(BuildingTest, AssigningAndSubstituting) {
    ExprC a = sym(u"a");
    ExprC b;
    b = a;
    EXPECT_TRUE(b == a && b.node() != a.node());
    ExprC failed = ExprC::apply(u"missing", false, nullptr, 0);
    b = failed;
    EXPECT_EQ(b.error(), failed.error());
    // A symbol without a symbol object is the empty name; the key of a
    // substitution may be one.
    ExprC blank = ExprC::adopt(new ExtendedSymbolNodeC(nullptr));
    EXPECT_EQ(narrow(call(u"f", blank, sym(u"pi")).subs({{blank, a}, {sym(u"pi"), 3}}).toPrefixString()), "f(a,3)");
    EXPECT_EQ(a.subs({{failed, a}}).error(), failed.error());
}

}  // namespace
}  // namespace testing_doubles
