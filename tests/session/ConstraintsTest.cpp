// SPDX-License-Identifier: MIT
// The constraint predicates and the two default questions.
#include <cmath>

#include "SessionFixture.h"

namespace testing_doubles {
namespace {

// The tests are constraints themselves, so that they reach the predicates.
class ConstraintsTest : public SessionTest, public ConstraintsBC {
protected:
    NodeABC* node(const char16_t* text) {
        kept.push_back(read(text));
        return kept.back()->getNode();
    }
    NodeABC* keep(NodeABC* made) {
        kept.push_back(PointerTC<AlgebraicExpressionC>(new AlgebraicExpressionC(made)));
        return made;
    }
    std::vector<PointerTC<AlgebraicExpressionC>> kept;
};

TEST_F(ConstraintsTest, Kinds) {
    // The answers of isFloat, isInteger, isExtendedSymbol, isParentNode,
    // isEmpty and isNumberOrEmpty, in that order.
    const std::pair<NodeABC*, const char*> cases[] = {
        {node(u"1.5"), "100001"},    {node(u"7e0"), "100001"}, {node(u"-7"), "010001"},   {node(u"x"), "001000"},
        {node(u"__"), "001000"},     {node(u"pi"), "000000"},  {node(u"_"), "000000"},    // a core symbol here
        {node(u"sin(x)"), "000100"}, {node(u"f(x)"), "000100"}, {node(u"_(x)"), "000100"},
        {keep(new ExtendedSymbolNodeC(installed().lookupSymbol(u"_"))), "001011"},
        {keep(new ExtendedSymbolNodeC(installed().lookupSymbol(u""))), "001000"},
        {nullptr, "000000"},
    };
    for (const auto& [n, expected] : cases) {
        const bool answers[] = {isFloat(n), isInteger(n), isExtendedSymbol(n), isParentNode(n) != nullptr,
                                isEmpty(n), isNumberOrEmpty(n)};
        std::string got;
        for (bool answer : answers) {
            got += answer ? '1' : '0';
        }
        EXPECT_EQ(got, expected) << (n != nullptr ? narrow(n->toString()) : "null");
    }
}

TEST_F(ConstraintsTest, Names) {
    EXPECT_TRUE(isExtendedSymbol(node(u"x"), u"x"));
    EXPECT_FALSE(isExtendedSymbol(node(u"x"), u"X") || isExtendedSymbol(node(u"pi"), u"pi"));
    EXPECT_TRUE(isCoreSymbol(node(u"pi"), u"pi"));
    EXPECT_FALSE(isCoreSymbol(node(u"x"), u"x"));
    EXPECT_TRUE(isCoreSymbol(keep(new CoreSymbolNodeC(7)), u"?<7>?"));  // the name the session gives it

    NodeABC* sin = node(u"sin(x)");
    NodeABC* f = node(u"Sin(x)");
    EXPECT_EQ(static_cast<NodeABC*>(isCoreFunction(sin, u"sin")), sin);
    EXPECT_EQ(static_cast<NodeABC*>(isExtendedFunction(f, u"Sin")), f);
    EXPECT_FALSE(isCoreFunction(sin, u"Sin") || isCoreFunction(f, u"Sin") || isExtendedFunction(sin, u"sin"));
    EXPECT_FALSE(isExtendedSymbol(nullptr, u"") || isCoreSymbol(nullptr, u"") || isCoreFunction(nullptr, u"") ||
                 isExtendedFunction(nullptr, u""));
}

TEST_F(ConstraintsTest, NumbersCompareAsDoubles) {
    EXPECT_TRUE(isNumber(node(u"3"), 3.0));
    EXPECT_FALSE(isNumber(node(u"3"), 3.5));
    EXPECT_TRUE(isNumber(node(u"0.0"), -0.0));
    EXPECT_TRUE(isNumber(node(u"9007199254740993"), 9007199254740992.0));  // no exact double
    FloatNodeC not_a_number(new TestFloat(std::nan("")));
    EXPECT_FALSE(isNumber(&not_a_number, std::nan("")));
    FloatNodeC valueless(nullptr);
    IntegerNodeC valueless_integer(nullptr);
    EXPECT_FALSE(isNumber(&valueless, 0.0) || isNumber(&valueless_integer, 0.0));
    EXPECT_FALSE(isNumber(node(u"x"), 0.0) || isNumber(nullptr, 0.0));
}

// Kept because nothing else notices a default that answers false, or an
// isAcceptableFinal that answers on its own instead of asking the subclass's
// isAcceptable.
TEST_F(ConstraintsTest, DefaultQuestions) {
    PointerTC<AlgebraicExpressionC> e = read(u"x");
    EXPECT_TRUE(isAcceptable(*e));
    EXPECT_TRUE(isAcceptableFinal(*e));
    struct Strict : ConstraintsBC {
        bool isAcceptable(AlgebraicExpressionC&) override { return false; }
    } strict;
    EXPECT_FALSE(strict.isAcceptableFinal(*e));
}

}  // namespace
}  // namespace testing_doubles
