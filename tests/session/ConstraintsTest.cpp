// The constraint predicates and the two default questions.
#include <cmath>
#include <limits>

#include "SessionFixture.h"

namespace testing_doubles {
namespace {

struct Predicates : ConstraintsBC {
    using ConstraintsBC::isCoreFunction;
    using ConstraintsBC::isCoreSymbol;
    using ConstraintsBC::isEmpty;
    using ConstraintsBC::isExtendedFunction;
    using ConstraintsBC::isExtendedSymbol;
    using ConstraintsBC::isFloat;
    using ConstraintsBC::isInteger;
    using ConstraintsBC::isNumber;
    using ConstraintsBC::isNumberOrEmpty;
    using ConstraintsBC::isParentNode;
};

class ConstraintsTest : public SessionTest {
protected:
    NodeABC* node(const char16_t* text) {
        kept.push_back(read(text));
        return kept.back()->getNode();
    }
    NodeABC* keep(NodeABC* made) {
        kept.push_back(PointerTC<AlgebraicExpressionC>(new AlgebraicExpressionC(made)));
        return made;
    }
    Predicates is;
    std::vector<PointerTC<AlgebraicExpressionC>> kept;
};

TEST_F(ConstraintsTest, KindsAndNames) {
    EXPECT_TRUE(is.isFloat(node(u"1.5")));
    EXPECT_FALSE(is.isFloat(node(u"1")));
    EXPECT_TRUE(is.isInteger(node(u"1")));
    EXPECT_TRUE(is.isExtendedSymbol(node(u"x")));
    EXPECT_FALSE(is.isExtendedSymbol(node(u"pi")));
    EXPECT_TRUE(is.isExtendedSymbol(node(u"x"), u"x"));
    EXPECT_FALSE(is.isExtendedSymbol(node(u"x"), u"X"));
    EXPECT_TRUE(is.isCoreSymbol(node(u"pi"), u"pi"));
    EXPECT_FALSE(is.isCoreSymbol(node(u"x"), u"x"));
    EXPECT_TRUE(is.isCoreSymbol(keep(new CoreSymbolNodeC(7)), u"?<7>?"));  // the name the session gives it
    EXPECT_TRUE(is.isParentNode(node(u"sin(x)")) && is.isParentNode(node(u"f(x)")));
    EXPECT_FALSE(is.isParentNode(node(u"x")));

    NodeABC* sin = node(u"sin(x)");
    NodeABC* f = node(u"Sin(x)");
    EXPECT_EQ(static_cast<NodeABC*>(is.isCoreFunction(sin, u"sin")), sin);
    EXPECT_EQ(is.isCoreFunction(sin, u"Sin"), nullptr);
    EXPECT_EQ(is.isCoreFunction(f, u"Sin"), nullptr);
    EXPECT_EQ(static_cast<NodeABC*>(is.isExtendedFunction(f, u"Sin")), f);
    EXPECT_EQ(is.isExtendedFunction(sin, u"sin"), nullptr);

    EXPECT_TRUE(is.isEmpty(keep(new ExtendedSymbolNodeC(installed().lookupSymbol(u"_")))));
    EXPECT_FALSE(is.isEmpty(node(u"_")));  // a core symbol here
    EXPECT_FALSE(is.isEmpty(node(u"__")));
    EXPECT_FALSE(is.isEmpty(keep(new ExtendedSymbolNodeC(installed().lookupSymbol(u"")))));
    EXPECT_FALSE(is.isEmpty(node(u"_(x)")));
    EXPECT_TRUE(is.isNumberOrEmpty(node(u"-7")));
    EXPECT_TRUE(is.isNumberOrEmpty(node(u"7e0")));
    EXPECT_TRUE(is.isNumberOrEmpty(keep(new ExtendedSymbolNodeC(installed().lookupSymbol(u"_")))));
    EXPECT_FALSE(is.isNumberOrEmpty(node(u"y")));
}

TEST_F(ConstraintsTest, NumbersCompareAsDoubles) {
    EXPECT_TRUE(is.isNumber(node(u"3"), 3.0));
    EXPECT_FALSE(is.isNumber(node(u"3"), 3.5));
    EXPECT_TRUE(is.isNumber(node(u"0.0"), -0.0));
    EXPECT_TRUE(is.isNumber(node(u"9007199254740993"), 9007199254740992.0));  // no exact double
    EXPECT_FALSE(is.isNumber(node(u"nan"), std::nan("")));  // a name here
    FloatNodeC not_a_number(new TestFloat(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(is.isNumber(&not_a_number, std::numeric_limits<double>::quiet_NaN()));
    FloatNodeC valueless(nullptr);
    EXPECT_FALSE(is.isNumber(&valueless, 0.0));
    IntegerNodeC valueless_integer(nullptr);
    EXPECT_FALSE(is.isNumber(&valueless_integer, 0.0));
    EXPECT_FALSE(is.isNumber(node(u"x"), 0.0));
}

TEST_F(ConstraintsTest, NullNodesAndDefaults) {
    EXPECT_FALSE(is.isFloat(nullptr) || is.isInteger(nullptr) || is.isExtendedSymbol(nullptr) ||
                 is.isExtendedSymbol(nullptr, u"") || is.isCoreSymbol(nullptr, u"") || is.isEmpty(nullptr) ||
                 is.isNumberOrEmpty(nullptr) || is.isNumber(nullptr, 0.0));
    EXPECT_EQ(is.isParentNode(nullptr), nullptr);
    EXPECT_EQ(is.isCoreFunction(nullptr, u""), nullptr);
    EXPECT_EQ(is.isExtendedFunction(nullptr, u""), nullptr);

    PointerTC<AlgebraicExpressionC> e = read(u"x");
    EXPECT_TRUE(is.isAcceptable(*e));
    EXPECT_TRUE(is.isAcceptableFinal(*e));
    struct Strict : ConstraintsBC {
        bool isAcceptable(AlgebraicExpressionC&) override { return false; }
    } strict;
    EXPECT_FALSE(strict.isAcceptableFinal(*e));
}

}  // namespace
}  // namespace testing_doubles
