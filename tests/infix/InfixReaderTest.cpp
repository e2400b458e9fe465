// SPDX-License-Identifier: MIT
// Reading infix text: the pinned examples, precedence, associativity and
// flattening, the negative-number rule, equations and lists, tokens, names
// through the session, errors with their kinds and positions, and depth.
#include <string>
#include <utility>
#include <vector>

#include "InfixFixture.h"

namespace testing_doubles {
namespace {

using Events = std::vector<std::string>;

class InfixReaderTest : public InfixTest {
protected:
    // Each infix text with the prefix text of its tree (or its error).
    static void expectReadings(const std::vector<std::pair<std::u16string, std::string>>& table) {
        for (const auto& [text, expected] : table) {
            EXPECT_EQ(read(text), expected) << narrow(text);
        }
    }
};

TEST_F(InfixReaderTest, PinnedExamples) {
    expectReadings({{u"2*x + sin(pi/6)", "plus(times(2,x),sin(divide(pi,6)))"},
                    {u"-x^2", "neg(power(x,2))"},
                    {u"a-b-c", "minus(minus(a,b),c)"},
                    {u"2^3^2", "power(2,power(3,2))"},
                    {u"x**2", "power(x,2)"},
                    {u"-3*x", "times(-3,x)"},
                    {u"a+(b+c)", "plus(a,plus(b,c))"},
                    {u"2*", "error at 2: expected an operand"}});
}

TEST_F(InfixReaderTest, PrecedenceAssociativityAndFlattening) {
    expectReadings({{u"a+b+c", "plus(a,b,c)"},
                    {u"a*b*c", "times(a,b,c)"},
                    {u"(a+b)+c", "plus(plus(a,b),c)"},
                    {u"a-b+c", "plus(minus(a,b),c)"},
                    {u"a+b-c+d", "plus(minus(plus(a,b),c),d)"},
                    {u"a+b*c+d", "plus(a,times(b,c),d)"},
                    {u"a*b+c*d", "plus(times(a,b),times(c,d))"},
                    {u"a/b/c", "divide(divide(a,b),c)"},
                    {u"a/b*c*d", "times(divide(a,b),c,d)"},
                    {u"a*(b*c)", "times(a,times(b,c))"},
                    {u"-a*b", "times(neg(a),b)"},
                    {u"-(a*b)", "neg(times(a,b))"},
                    {u"a+-b+c", "plus(a,neg(b),c)"},
                    {u"--x", "neg(neg(x))"},
                    {u"+-+x", "neg(x)"},
                    {u"(x)", "x"},
                    {u"a^b*c", "times(power(a,b),c)"},
                    {u"(a^b)^c", "power(power(a,b),c)"},
                    {u"2^-x*4", "times(power(2,neg(x)),4)"},
                    {u"a*-b^2", "times(a,neg(power(b,2)))"},
                    {u"-x^-y^z", "neg(power(x,neg(power(y,z))))"}});
}

// A "-" before a number makes a negative number unless the number is a base;
// the factory gets the sign with the digits, once.
TEST_F(InfixReaderTest, NegativeNumbers) {
    expectReadings({{u"-3", "-3"},
                    {u"2*-3", "times(2,-3)"},
                    {u"-3^2", "neg(power(3,2))"},
                    {u"-3**2", "neg(power(3,2))"},
                    {u"(-3)^2", "power(-3,2)"},
                    {u"-(3)", "neg(3)"},
                    {u"--3", "neg(-3)"},
                    {u"- 3", "-3"},
                    {u"\u22123", "-3"},
                    {u"x^-1", "power(x,-1)"},
                    {u"a-3", "minus(a,3)"},
                    {u"a - -2.5", "minus(a,-2.5)"},
                    {u"f(-3, -x)", "f(-3,neg(x))"}});
    infixSession().logging = true;
    takeEvents();
    PointerTC<AlgebraicExpressionC> e = InfixReaderC().read(u"-12");
    EXPECT_EQ(takeEvents(), (Events{"intf", "int(-12)"}));
}

// "=" binds loosest and does not chain; "[...]" is a list, of equations too.
// "->" stays no token.
TEST_F(InfixReaderTest, EquationsAndLists) {
    expectReadings({{u"a = b", "equal(a,b)"},
                    {u"x^2 - 1 = 0", "equal(minus(power(x,2),1),0)"},
                    {u"-a*b = c/d + 1", "equal(times(neg(a),b),plus(divide(c,d),1))"},
                    {u"x = -1", "equal(x,-1)"},
                    {u"(a = b) = c", "equal(equal(a,b),c)"},
                    {u"a = (b = c)", "equal(a,equal(b,c))"},
                    {u"f(x = 1, y)", "f(equal(x,1),y)"},
                    {u"[a, b, c]", "list(a,b,c)"},
                    {u"[[1], [x = 2, y]]", "list(list(1),list(equal(x,2),y))"},
                    {u"[1, 2]^2 - [a]", "minus(power(list(1,2),2),list(a))"},
                    {u"-[1]", "neg(list(1))"},
                    {u"f([x, y]) = [1, 2]", "equal(f(list(x,y)),list(1,2))"},
                    {u"list(a) + [b]", "plus(list(a),list(b))"}});
    expectReadings({{u"a = b = c", "error at 6: chained '=': put one equation in parentheses"},
                    {u"a = b + c = d", "error at 10: chained '=': put one equation in parentheses"},
                    {u"a == b", "error at 3: expected an operand"},
                    {u"= a", "error at 0: expected an operand"},
                    {u"a =", "error at 3: expected an operand"},
                    {u"a -> b", "error at 3: unexpected character"},
                    {u"[1, 2", "error at 5: unclosed '['"},
                    {u"[", "error at 1: unclosed '['"},
                    {u"([1]", "error at 4: unclosed '('"},
                    {u"[(1]", "error at 3: expected ')'"},
                    {u"f(1]", "error at 3: expected ')'"},
                    {u"[1)", "error at 2: expected ']'"},
                    {u"1]", "error at 1: ']' closes nothing"},
                    {u"[1,]", "error at 3: expected an operand"},
                    {u"[)", "error at 1: expected an operand"},
                    {u"(]", "error at 1: expected an operand"},
                    {u"x[1]", "error at 1: expected an operator"}});
}

// Integer texts go to the integer factory first, every other number to the
// float factory alone, each with its text as written (U+2212 made "-").
TEST_F(InfixReaderTest, NumberTokensReachTheFactories) {
    infixSession().logging = true;
    const std::pair<std::u16string, Events> table[] = {
        {u"12", {"intf", "int(12)"}},
        {u".5", {"floatf", "float(.5)"}},
        {u"5.", {"floatf", "float(5.)"}},
        {u"1e-5", {"floatf", "float(1e-5)"}},
        {u"2.5E3", {"floatf", "float(2.5E3)"}},
        {u"1e\u22125", {"floatf", "float(1e-5)"}},
        {u"1234567890123456789", {"intf", "int(1234567890123456789)", "floatf", "float(1234567890123456789)"}}};
    for (const auto& [text, calls] : table) {
        PointerTC<AlgebraicExpressionC> e = InfixReaderC().read(text);
        EXPECT_TRUE(e) << narrow(text);
        EXPECT_EQ(takeEvents(), calls) << narrow(text);
        e = nullptr;
        takeEvents();
    }
    infixSession().logging = false;
    expectReadings({{u"2e", "error at 1: expected an operator"},  // 2, then the name e
                    {u"1.2.3", "error at 3: expected an operator"},
                    {u"1e5e", "error at 3: expected an operator"},
                    {u"x1e5", "x1e5"},
                    {u".", "error at 0: unexpected character"}});
    floats().decline = true;
    expectReadings({{u"x + 2.5", "error at 4: number not accepted"}, {u"x*-2.5", "error at 2: number not accepted"}});
}

// Names resolve as in prefix: core elements first, then interned symbols; a
// call's name before its arguments; operators' names when met, once.
TEST_F(InfixReaderTest, NamesAndCalls) {
    infixSession().logging = true;
    PointerTC<AlgebraicExpressionC> e = InfixReaderC().read(u"h(k) + q + pi");
    EXPECT_EQ(takeEvents(),
              (Events{"core(h)", "sym(h)", "core(k)", "sym(k)", "core(plus)", "core(q)", "sym(q)", "core(pi)"}));
    EXPECT_EQ(narrow(static_cast<ParentNodeABC*>(e->getNode())->child(2)->qCastableId()), "CoreSymbolNodeC");
    infixSession().logging = false;
    expectReadings({{u"plus(x)", "plus(x)"},
                    {u"times(a, b, c)", "times(a,b,c)"},
                    {u"plus(a, b) + c", "plus(plus(a,b),c)"},
                    {u" \t\r\n f ( x ,\ny ) \n", "f(x,y)"},
                    {u"_a1 + a_b_", "plus(_a1,a_b_)"},
                    {u"x0 - a9_0", "minus(x0,a9_0)"},
                    {u"f(x)^2", "power(f(x),2)"}});
}

// A call spelled the familiar way reads as the core function it stands for
// when the vocabulary has that name and lacks the spelling; names alone, and
// prefix text, stay as written.
TEST_F(InfixReaderTest, FamiliarSpellingsOfCalls) {
    expectReadings({{u"ln(x) + ln", "plus(log(x),ln)"},
                    {u"ln(ln(2))", "log(log(2))"},
                    {u"arcsin(x)", "arcsin(x)"},  // the vocabulary lacks asin
                    {u"Ln(x)", "Ln(x)"}});
    EXPECT_EQ(AlgebraicExpressionC::fromPrefixString(u"ln(x)")->toPrefixString(), u"ln(x)");
    EXPECT_EQ(std::u16string(InfixReaderC::familiarSpelling(u"arctan")), u"atan");
    EXPECT_EQ(std::u16string(InfixReaderC::familiarSpelling(u"im")), u"imag_part");
    EXPECT_EQ(InfixReaderC::familiarSpelling(u"log"), nullptr);
}

// Letters of any script, in and beyond the BMP; no other characters.
TEST_F(InfixReaderTest, UnicodeNames) {
    InfixReaderC reader;
    PointerTC<AlgebraicExpressionC> e = reader.read(u"\u03b1*\u00e9t\u00e9 + \U0001D49C_2");
    ASSERT_TRUE(e);
    EXPECT_EQ(e->toPrefixString(0, qorv::math::Standard), u"plus(times(\u03b1,\u00e9t\u00e9),\U0001D49C_2)");
    // A letter whose low surrogate is the first one, 0xDC00 (U+10000), and a
    // letter above the surrogates (U+F900) are names too, and one-letter
    // names in LaTeX.
    for (const std::u16string name : {u"\U00010000x", u"\uF900"}) {
        e = reader.read(name + u" + 1");
        ASSERT_TRUE(e);
        EXPECT_EQ(e->toPrefixString(0, qorv::math::Standard), u"plus(" + name + u",1)");
    }
    LatexPrintVisitorC latex;
    EXPECT_EQ(latex.getExpressionString(prefix(u"f(\U00010000,\uF900)")->getNode(), 0, qorv::math::Standard),
              u"\\operatorname{f}\\left(\U00010000, \uF900\\right)");
    // A currency sign, a combining accent, a lone surrogate (high, or low
    // after a letter, which it does not pair with), an emoji (a pair that is
    // no letter), a no-break space, an Arabic-Indic digit.
    const std::pair<std::u16string, std::size_t> table[] = {
        {u"x + \u20ac", 4},     {u"x + e\u0301", 5}, {std::u16string(u"x + ") + static_cast<char16_t>(0xD835), 4},
        {std::u16string(u"x + a") + static_cast<char16_t>(0xDC00), 5},
        {u"x + \U0001F600", 4}, {u"x +\u00a0y", 3},  {u"x + y\u0663", 5}};
    for (const auto& [bad, position] : table) {
        EXPECT_FALSE(reader.read(bad));
        EXPECT_EQ(reader.getErrorPosition(), position) << position;
        EXPECT_EQ(std::u16string(reader.getErrorMessage()), u"unexpected character") << position;
    }
}

TEST_F(InfixReaderTest, ErrorsGiveTheirPosition) {
    expectReadings({{u"", "error at 0: empty text"},
                    {u"  \t", "error at 3: empty text"},
                    {u"x + * y", "error at 4: expected an operand"},
                    {u"2***3", "error at 3: expected an operand"},
                    {u"()", "error at 1: expected an operand"},
                    {u"x y", "error at 2: expected an operator"},
                    {u"f(x)(y)", "error at 4: expected an operator"},
                    {u"f(a, (b", "error at 7: unclosed '('"},
                    {u"f(", "error at 2: unclosed '('"},
                    {u"f(a,", "error at 4: expected an operand"},
                    {u"f(a))", "error at 4: ')' closes nothing"},
                    {u"(a, b)", "error at 2: ',' outside a function's arguments"},
                    {u"f(a,)", "error at 4: expected an operand"},
                    {u"a # b", "error at 2: unexpected character"}});
}

// A call without arguments prints in prefix as f(), which prefix reading
// refuses: infix refuses it when read, so no tree read has one.
TEST_F(InfixReaderTest, CallsWithoutArgumentsAreRefused) {
    expectReadings({{u"f() + 1", "error at 2: no arguments"},
                    {u"g(f( ))", "error at 5: no arguments"},
                    {u" [ ] ", "error at 3: no arguments"},
                    {u"[[1], []]", "error at 7: no arguments"},
                    {u"f(x) + [y]", "plus(f(x),list(y))"}});
}

// Each failure has its kind, for callers that tell failures apart, and the
// kind's message.
TEST_F(InfixReaderTest, ErrorKinds) {
    using R = InfixReaderC;
    const std::pair<std::u16string, R::ErrorE> table[] = {
        {u" ", R::EmptyText},          {u"x +", R::ExpectedOperand},         {u"x y", R::ExpectedOperator},
        {u"x # y", R::UnexpectedCharacter}, {u"f(x", R::UnclosedParenthesis}, {u"x)", R::ClosesNothing},
        {u"x, y", R::CommaOutside},    {u"a = b = c", R::ChainedEquation},   {u"[x", R::UnclosedBracket},
        {u"x]", R::BracketClosesNothing}, {u"(x]", R::ExpectedParenthesis}, {u"[x)", R::ExpectedBracket},
        {u"f()", R::NoArguments}};
    R reader;
    EXPECT_EQ(reader.getErrorKind(), R::NoError);
    for (const auto& [text, kind] : table) {
        EXPECT_FALSE(reader.read(text));
        EXPECT_EQ(reader.getErrorKind(), kind) << narrow(text);
        EXPECT_EQ(read(text), "error at " + std::to_string(reader.getErrorPosition()) + ": " +
                                  narrow(reader.getErrorMessage()));
    }
    floats().decline = true;
    EXPECT_FALSE(reader.read(u"2.5"));
    EXPECT_EQ(reader.getErrorKind(), R::NumberNotAccepted);
    EXPECT_TRUE(reader.read(u"x"));
    EXPECT_EQ(reader.getErrorKind(), R::NoError);
}

// A reader reports each call's own outcome.
TEST_F(InfixReaderTest, EachReadStartsAfresh) {
    InfixReaderC reader;
    EXPECT_EQ(std::u16string(reader.getErrorMessage()), u"");
    EXPECT_FALSE(reader.read(u"f(x"));
    EXPECT_EQ(reader.getErrorPosition(), 3u);
    EXPECT_TRUE(reader.read(u"f(x)"));
    EXPECT_EQ(reader.getErrorPosition(), 0u);
    EXPECT_EQ(std::u16string(reader.getErrorMessage()), u"");
}

// A million nested parentheses; deep calls; a long sum appends to one plus.
// (Deep chains of "-" and "^" are read back in the printer's tests.)
TEST_F(InfixReaderTest, DeepNesting) {
    const std::size_t n = 1000000;
    InfixReaderC reader;
    PointerTC<AlgebraicExpressionC> e = reader.read(std::u16string(n, u'(') + u"x" + std::u16string(n, u')'));
    ASSERT_TRUE(e);
    EXPECT_EQ(e->toPrefixString(0, qorv::math::Standard), u"x");
    EXPECT_EQ(read(std::u16string(n, u'(') + u"x"), "error at 1000001: unclosed '('");

    std::u16string calls;
    std::u16string sum = u"x";
    for (std::size_t i = 0; i < n / 10; ++i) {
        calls += u"f(";
        sum += u"+1";
    }
    calls += u"x" + std::u16string(n / 10, u')');
    EXPECT_EQ(reader.read(calls)->toPrefixString(0, qorv::math::Standard), calls);
    EXPECT_EQ(static_cast<ParentNodeABC*>(reader.read(sum)->getNode())->numChildren(), n / 10 + 1);
}

}  // namespace
}  // namespace testing_doubles
