// SPDX-License-Identifier: MIT
// Reading prefix text: the tree, the calls made on the way, the failures, and
// deep or wide texts.
#include <algorithm>
#include <memory>
#include <new>
#include <tuple>

#include "SessionFixture.h"

namespace testing_doubles {
namespace {

using Events = std::vector<std::string>;

class ParserTest : public SessionTest {};

TEST_F(ParserTest, WorkedReadingMakesItsCallsInTextOrder) {
    installed().logging = true;
    PointerTC<AlgebraicExpressionC> e = read(u"f(g(x,1), 2.5)");
    ASSERT_TRUE(e);
    EXPECT_EQ(takeEvents(), (Events{"core(f)", "sym(f)", "core(g)", "core(x)", "sym(x)", "intf", "int(1)", "floatf",
                                    "float(2.5)"}));
    EXPECT_EQ(e->toPrefixString(0, qorv::math::Standard), u"f(g(x,1),2.5)");
}

TEST_F(ParserTest, ShapesOfText) {
    const std::pair<const char16_t*, const char*> cases[] = {
        {u"f(g(x),y)", "f(g(x),y)"},     {u"sin(plus(pi,x,_))", "sin(plus(pi,x,_))"}, {u"q", "q"},
        {u"f(1,-2,0.5)", "f(1,-2,0.5)"}, {u" f ( a ,\tb\n)\r", "f(a,b)"},             {u"co s ( x )", "cos(x)"},
        {u"1 000", "1000"},              {u"(x)", "(x)"},                             {u"f(a,(b,c))", "f(a,(b,c))"},
        {u"a,b", "a,b"},              // nothing splits the root
        {u"f(x", "f(x)"},              // missing ")"
        {u"f(x)y", "f(x)"},            // text after the last ")" is dropped
        {u"g(f(a)x,b)", "g(f(a),b)"},  // within an argument too
        {u"f(a,g(b),c", "f(a,g(b))"},  // unclosed: the arguments still end at the last ")"
        {u"x)", "x)"},                 // a leaf may hold ")"
        {u"g(f(a)x)", "g(f(a))"},      // (the "x" is not a separator)
        {u"f(a)(b)", "f(a)(b))"},      // f of the function "a)" applied to b
        {u"f()", "null"},                {u"f(", "null"},                             {u"f(g())", "null"},
        {u"", "null"},                   {u" \t\r\n", "null"},
        {u"\u00a0", "\xa0"},           // only four characters count as whitespace
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(reprint(text), expected) << narrow(text);
    }
    EXPECT_EQ(kind(read(u"(x)")->getNode()), "ExtendedFunctionNodeC");
}

// Texts with a stray ")", whose printed form hides where the arguments split,
// checked by the visits of their trees: "f<" before f's arguments, "f,"
// between two, "f>" after them.
TEST_F(ParserTest, StrayClosingParentheses) {
    const std::pair<const char16_t*, const char*> cases[] = {
        {u"f(x))", "f< x) f>"},
        {u"f(a),b)", "f< a),b f>"},                 // the depth went negative: no split
        {u"f(a)x(b,c)", "f< a)x< b a)x> f, c f>"},  // until a "(" brings it back to 0
        {u"f(a,b)x)", "f< a f, b)x f>"},
        {u"f(g(a),h(b))x)", "f< g< a g> f, h< b) h> f>"},
    };
    for (const auto& [text, expected] : cases) {
        RecordingVisitor visitor(kEveryParentVisit);
        read(text)->traverse(visitor);
        std::string visits;
        for (const std::string& visit : visitor.visits) {
            visits += (visits.empty() ? "" : " ") + visit;
        }
        EXPECT_EQ(visits, expected) << narrow(text);
    }
}

TEST_F(ParserTest, NamesNumbersAndFunctionsAreToldApart) {
    const std::pair<const char16_t*, const char*> kinds[] = {
        {u"x", "ExtendedSymbolNodeC"}, {u"pi", "CoreSymbolNodeC"},   {u"e", "ExtendedSymbolNodeC"},
        {u"E5", "ExtendedSymbolNodeC"}, {u"x2", "ExtendedSymbolNodeC"}, {u"2x", "ExtendedSymbolNodeC"},
        {u"1e5e", "ExtendedSymbolNodeC"}, {u"2e5x", "ExtendedSymbolNodeC"}, {u"15", "IntegerNodeC"},
        {u"-15", "IntegerNodeC"},        {u"1e5", "FloatNodeC"},        {u"1.5", "FloatNodeC"},
        {u"2.5E-3", "FloatNodeC"},       {u"4E2", "FloatNodeC"},        {u"g(x)", "CoreFunctionNodeC"},
    };
    for (const auto& [text, expected] : kinds) {
        PointerTC<AlgebraicExpressionC> e = read(text);
        EXPECT_EQ(kind(e ? e->getNode() : nullptr), expected) << narrow(text);
    }
}

// Number texts go to the integer factory and, when it declines, to the float
// factory, unchanged; one that no factory takes fails the whole reading.
TEST_F(ParserTest, FactoriesAreAskedInTurn) {
    const std::tuple<const char16_t*, const char*, Events> cases[] = {
        {u"12345678901234567890", "FloatNodeC", {"int(12345678901234567890)", "float(12345678901234567890)"}},
        {u"\u22125", "null", {"int(\0225)", "float(\0225)"}},  // the minus sign
        {u"\u20135", "null", {"int(\0235)", "float(\0235)"}},  // the en dash
        {u"-e", "null", {"float(-e)"}}, {u"+E", "null", {"float(+E)"}}, {u"1e", "null", {"float(1e)"}},
        {u"+", "null", {"int(+)", "float(+)"}}, {u"1-2", "null", {"int(1-2)", "float(1-2)"}},
        {u"f(a,,b)", "null", {"int()", "float()"}},
    };
    for (const auto& [text, expected, asked] : cases) {
        takeEvents();  // the destruction of the case before
        PointerTC<AlgebraicExpressionC> e = read(text);
        EXPECT_EQ(kind(e ? e->getNode() : nullptr), expected) << narrow(text);
        EXPECT_EQ(takeEvents(), asked) << narrow(text);
    }

    static_cast<TestFloatFactory*>(installed().CASSessionBC::getFloatValueFactory().get())->accept_empty = true;
    EXPECT_EQ(reprint(u"f(a,,b)"), "f(a,0.0,b)");
    EXPECT_EQ(reprint(u"f(,)"), "f(0.0,0.0)");
    EXPECT_EQ(reprint(u"f()"), "null");  // no arguments is not one empty argument
    EXPECT_EQ(reprint(u"f(g(),x)"), "null");
    EXPECT_EQ(reprint(u"g(f(a,)x,b)"), "g(f(a,0.0),b)");  // the "x" after ")" is dropped, not a separator
    installed().hide_integer_factory = true;
    EXPECT_EQ(reprint(u"42"), "42.0");
    installed().hide_float_factory = true;
    EXPECT_EQ(reprint(u"42"), "null");
    installed().hide_integer_factory = false;
    EXPECT_EQ(reprint(u"42"), "42");
    EXPECT_EQ(reprint(u"4.2"), "null");
}

// The way out of memory that the factory's header advises: std::bad_alloc
// from the integer factory passes through the reader, which frees what it
// built, and the text never goes on to the float factory.
TEST_F(ParserTest, AnIntegerFactoryOutOfMemoryThrowsThroughTheReader) {
    integerFactory().bad_alloc_at = u"3";
    for (const char16_t* text : {u"f(1,g(x,2),3,4)", u"f(1,g(x,2),3,4)dropped"}) {  // both readings
        const int values = TestInteger::live;
        EXPECT_THROW(read(text), std::bad_alloc) << narrow(text);
        EXPECT_EQ(TestInteger::live, values) << narrow(text);
        const Events events = takeEvents();
        EXPECT_EQ(std::count(events.begin(), events.end(), "float(3)"), 0) << narrow(text);
        EXPECT_EQ(events.back(), "~Int(2)") << narrow(text);  // the nodes built are freed
    }
    integerFactory().bad_alloc_at = u"none";
    EXPECT_EQ(reprint(u"f(1,g(x,2),3,4)"), "f(1,g(x,2),3,4)");
}

// A million levels of nesting, and commas deep enough that a 16-bit depth
// counter would wrap and split at them. The dropped tail makes it take the
// general reading rather than the one-pass reading of plainly written texts.
// The tree is cloned, printed and destroyed without recursion.
TEST_F(ParserTest, DeepText) {
    const std::size_t depth = 1000000;
    std::u16string text = std::u16string(depth, u'(') + u"a,b" + std::u16string(depth, u')');
    text = u"f(" + text + u")";
    PointerTC<AlgebraicExpressionC> e = read(text + u"dropped");
    ASSERT_TRUE(e);
    auto* f = static_cast<ParentNodeABC*>(e->getNode());
    EXPECT_EQ(f->numChildren(), 1u);
    PointerTC<AlgebraicExpressionC> copy = e->clone();
    e = nullptr;
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->toPrefixString(0, qorv::math::Standard), text);
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
