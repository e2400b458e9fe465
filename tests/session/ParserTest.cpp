// Reading prefix text: the tree, the calls made on the way, the failures, and
// deep or wide texts.
#include <memory>

#include "SessionFixture.h"

namespace testing_doubles {
namespace {

using Events = std::vector<std::string>;

class ParserTest : public SessionTest {};

TEST_F(ParserTest, WorkedReadingMakesItsCallsInTextOrder) {
    installed().logging = true;
    PointerTC<AlgebraicExpressionC> e = read(u"f(g(x,1), 2.5)");
    installed().logging = false;
    ASSERT_TRUE(e);
    EXPECT_EQ(takeEvents(), (Events{"core(f)", "sym(f)", "core(g)", "core(x)", "sym(x)", "intf", "int(1)", "floatf",
                                    "float(2.5)"}));
    auto* f = static_cast<ParentNodeABC*>(e->getNode());
    EXPECT_EQ(kind(f), "ExtendedFunctionNodeC");
    ASSERT_EQ(f->numChildren(), 2u);
    auto* g = static_cast<CoreFunctionNodeC*>(f->child(0));
    EXPECT_EQ(kind(g), "CoreFunctionNodeC");
    EXPECT_EQ(g->getCode(), 2);
    EXPECT_EQ(kind(g->child(0)), "ExtendedSymbolNodeC");
    EXPECT_EQ(kind(g->child(1)), "IntegerNodeC");
    EXPECT_EQ(kind(f->child(1)), "FloatNodeC");
    EXPECT_EQ(e->toPrefixString(0, qorv::math::Standard), u"f(g(x,1),2.5)");
}

TEST_F(ParserTest, ShapesOfText) {
    const std::pair<const char16_t*, const char*> cases[] = {
        {u"f(x,y)", "f(x,y)"},
        {u" f ( a ,\tb\n)\r", "f(a,b)"},
        {u"co s ( x )", "cos(x)"},
        {u"1 000", "1000"},
        {u"(x)", "(x)"},
        {u"a,b", "a,b"},              // nothing splits the root
        {u"f(a,(b,c))", "f(a,(b,c))"},
        {u"f(g(a,b),c)", "f(g(a,b),c)"},
        {u"f(x", "f(x)"},              // missing ")"
        {u"f(x)y", "f(x)"},            // text after the last ")" is dropped
        {u"x)", "x)"},                 // a leaf may hold ")"
        {u"f(x))", "f(x))"},           // f of the leaf "x)"
        {u"f(a),b)", "f(a),b)"},       // f of the leaf "a),b": the depth went negative
        {u"f(a)(b)", "f(a)(b))"},      // f of the function "a)" applied to b
        {u"f()", "null"},
        {u"f(", "null"},
        {u"f(g())", "null"},
        {u"", "null"},
        {u" \t\r\n", "null"},
        {u"\u00a0", "\xa0"},           // only four characters count as whitespace
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(reprint(text), expected) << narrow(text);
    }
    PointerTC<AlgebraicExpressionC> tricky = read(u"f(a),b)");
    auto* f = static_cast<ParentNodeABC*>(tricky->getNode());
    ASSERT_EQ(f->numChildren(), 1u);
    EXPECT_EQ(f->child(0)->toString(), u"a),b");
    PointerTC<AlgebraicExpressionC> nameless = read(u"(x)");
    EXPECT_EQ(kind(nameless->getNode()), "ExtendedFunctionNodeC");
    EXPECT_EQ(nameless->getNode()->toString(), u"");
}

TEST_F(ParserTest, NamesAndNumbersAreToldApart) {
    const std::pair<const char16_t*, const char*> kinds[] = {
        {u"x", "ExtendedSymbolNodeC"}, {u"pi", "CoreSymbolNodeC"},   {u"e", "ExtendedSymbolNodeC"},
        {u"E5", "ExtendedSymbolNodeC"}, {u"x2", "ExtendedSymbolNodeC"}, {u"2x", "ExtendedSymbolNodeC"},
        {u"1e5e", "ExtendedSymbolNodeC"}, {u"2e5x", "ExtendedSymbolNodeC"}, {u"15", "IntegerNodeC"},
        {u"-15", "IntegerNodeC"},        {u"1e5", "FloatNodeC"},        {u"1.5", "FloatNodeC"},
        {u"2.5E-3", "FloatNodeC"},       {u"4E2", "FloatNodeC"},
    };
    for (const auto& [text, expected] : kinds) {
        PointerTC<AlgebraicExpressionC> e = read(text);
        ASSERT_TRUE(e) << narrow(text);
        EXPECT_EQ(kind(e->getNode()), expected) << narrow(text);
    }
    takeEvents();
    for (const char16_t* text : {u"-e", u"+E", u"1e", u"+", u"1-2"}) {  // number texts no factory takes
        EXPECT_FALSE(read(text)) << narrow(text);
    }
    EXPECT_EQ(takeEvents(), (Events{"float(-e)", "float(+E)", "float(1e)", "int(+)", "float(+)", "int(1-2)",
                                    "float(1-2)"}));
}

TEST_F(ParserTest, FactoriesAreAskedInTurn) {
    PointerTC<AlgebraicExpressionC> big = read(u"12345678901234567890");  // too long for the integer factory
    ASSERT_TRUE(big);
    EXPECT_EQ(kind(big->getNode()), "FloatNodeC");
    EXPECT_EQ(takeEvents(), (Events{"int(12345678901234567890)", "float(12345678901234567890)"}));

    EXPECT_FALSE(read(u"\u22125"));  // the minus sign reaches the factories unchanged
    EXPECT_EQ(takeEvents(), (Events{"int(\x12" "5)", "float(\x12" "5)"}));
    EXPECT_FALSE(read(u"\u20135"));  // and so does the en dash
    EXPECT_EQ(takeEvents(), (Events{"int(\x13" "5)", "float(\x13" "5)"}));

    EXPECT_EQ(reprint(u"f(a,,b)"), "null");
    EXPECT_EQ(takeEvents(), (Events{"int()", "float()"}));
    static_cast<TestFloatFactory*>(installed().CASSessionBC::getFloatValueFactory().get())->accept_empty = true;
    EXPECT_EQ(reprint(u"f(a,,b)"), "f(a,0.0,b)");
    EXPECT_EQ(reprint(u"f(,)"), "f(0.0,0.0)");
}

TEST_F(ParserTest, MissingFactories) {
    installed().hide_integer_factory = true;
    PointerTC<AlgebraicExpressionC> e = read(u"42");
    ASSERT_TRUE(e);
    EXPECT_EQ(kind(e->getNode()), "FloatNodeC");
    installed().hide_float_factory = true;
    EXPECT_FALSE(read(u"42"));
    installed().hide_integer_factory = false;
    EXPECT_TRUE(read(u"42"));
    EXPECT_FALSE(read(u"4.2"));
}

TEST_F(ParserTest, FailureFreesEverythingBuilt) {
    EXPECT_FALSE(read(u"f(g(1,2.5,h(3)),k(4),1.2.3)"));
    EXPECT_EQ(TestInteger::live, 0);
    EXPECT_EQ(TestFloat::live, 0);
}

// A million levels of nesting, and commas deep enough that a 16-bit depth
// counter would wrap and split at them. The dropped tail makes it take the
// general reading rather than the one-pass reading of plainly written texts.
TEST_F(ParserTest, DeepText) {
    const std::size_t depth = 1000000;
    std::u16string text = std::u16string(depth, u'(') + u"a,b" + std::u16string(depth, u')');
    text = u"f(" + text + u")";
    PointerTC<AlgebraicExpressionC> e = read(text + u"dropped");
    ASSERT_TRUE(e);
    auto* f = static_cast<ParentNodeABC*>(e->getNode());
    EXPECT_EQ(f->numChildren(), 1u);
    EXPECT_EQ(e->toPrefixString(0, qorv::math::Standard), text);
}

TEST_F(ParserTest, WideText) {
    const unsigned int width = 1000000;
    std::u16string text = u"plus(";
    for (unsigned int i = 0; i < width; ++i) {
        text += i % 2 != 0 ? u"x," : u"7,";
    }
    text.back() = u')';
    for (const std::u16string& variant : {text, text + u"dropped"}) {  // both readings
        PointerTC<AlgebraicExpressionC> e = read(variant);
        ASSERT_TRUE(e);
        EXPECT_EQ(static_cast<ParentNodeABC*>(e->getNode())->numChildren(), width);
        EXPECT_EQ(e->toPrefixString(0, qorv::math::Standard), text);
    }
}

}  // namespace
}  // namespace testing_doubles
