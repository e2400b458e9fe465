// SPDX-License-Identifier: MIT
// Infix under a vocabulary that has plus among the operators' names and none
// of the others: an operator is an error naming its core name, and the
// functions that are not core elements are written and read in call form.
#include <memory>

#include "SessionFixture.h"

namespace testing_doubles {
namespace {

class InfixVocabularyTest : public SessionTest {
protected:
    // The text read and printed in prefix, or the error with its position.
    static std::u16string readInfix(const std::u16string& text) {
        InfixReaderC reader;
        PointerTC<AlgebraicExpressionC> e = reader.read(text);
        if (!e) {
            return std::u16string(reader.getErrorMessage()) + u" at " +
                   widen(std::to_string(reader.getErrorPosition()));
        }
        return e->toPrefixString(0, qorv::math::Standard);
    }
};

TEST_F(InfixVocabularyTest, MissingOperatorsAreNamed) {
    EXPECT_EQ(readInfix(u"a*b"), u"the vocabulary has no 'times' for '*' at 1");
    EXPECT_EQ(readInfix(u"a + b/c"), u"the vocabulary has no 'divide' for '/' at 5");
    EXPECT_EQ(readInfix(u"a ** b"), u"the vocabulary has no 'power' for '**' at 2");
    EXPECT_EQ(readInfix(u"a^b"), u"the vocabulary has no 'power' for '^' at 1");
    EXPECT_EQ(readInfix(u"x \u2212 y"), u"the vocabulary has no 'minus' for '\u2212' at 2");
    EXPECT_EQ(readInfix(u"f(-x)"), u"the vocabulary has no 'neg' for '-' at 2");
    EXPECT_EQ(readInfix(u"a + 1 = b"), u"the vocabulary has no 'equal' for '=' at 6");
    EXPECT_EQ(readInfix(u"f([a])"), u"the vocabulary has no 'list' for '[' at 2");
    InfixReaderC reader;
    EXPECT_FALSE(reader.read(u"a*b"));
    EXPECT_EQ(reader.getErrorKind(), InfixReaderC::MissingOperator);
    // What needs none of them.
    EXPECT_EQ(readInfix(u"-3 + +a + sin(_) + g(pi)"), u"plus(-3,a,sin(_),g(pi))");
    EXPECT_EQ(readInfix(u"times(a, neg(b))"), u"times(a,neg(b))");
    EXPECT_EQ(readInfix(u"equal(a, list(b))"), u"equal(a,list(b))");
}

// Only the operators a text holds are looked up, each once, as they come.
TEST_F(InfixVocabularyTest, OperatorNamesAreLookedUpWhenMet) {
    installed().logging = true;
    InfixReaderC reader;
    EXPECT_TRUE(reader.read(u"x + y + 1"));
    EXPECT_EQ(takeEvents(), (std::vector<std::string>{"core(x)", "sym(x)", "core(plus)", "core(y)", "sym(y)", "intf",
                                                      "int(1)", "~Int(1)"}));
}

TEST_F(InfixVocabularyTest, WritingUsesOnlyTheCoreOperators) {
    PointerTC<AlgebraicExpressionC> e = read(u"plus(times(a,b),neg(c),plus(x))");
    InfixPrintVisitorC infix;
    EXPECT_EQ(infix.getExpressionString(e->getNode(), 0, qorv::math::Standard), u"times(a, b) + neg(c) + plus(x)");
    PointerTC<AlgebraicExpressionC> calls = read(u"equal(list(a),b)");
    EXPECT_EQ(infix.getExpressionString(calls->getNode(), 0, qorv::math::Standard), u"equal(list(a), b)");
    LatexPrintVisitorC latex;
    EXPECT_EQ(latex.getExpressionString(e->getNode(), 0, qorv::math::Standard),
              u"\\operatorname{times}\\left(a, b\\right) + \\operatorname{neg}\\left(c\\right) + "
              u"\\operatorname{plus}\\left(x\\right)");
}

}  // namespace
}  // namespace testing_doubles
