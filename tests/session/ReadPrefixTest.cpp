// SPDX-License-Identifier: MIT
// Reading with reasons: readPrefix gives the tree, or why and where a text
// does not read, strict or lax, with the calls fromPrefixString makes; infix
// answers through the same result type.
#include <memory>
#include <new>
#include <tuple>

#include "SessionFixture.h"

namespace testing_doubles {
namespace {

using Events = std::vector<std::string>;
using ReasonE = ReadResultC::ReasonE;
using ReadingE = AlgebraicExpressionC::ReadingE;

class ReadPrefixTest : public SessionTest {
protected:
    static std::string describe(const ReadResultC& result) {
        if (result.ok()) {
            return "ok " + narrow(result.tree()->toPrefixString(0, qorv::math::Standard));
        }
        const std::string at =
            result.position() == ReadResultC::kNoPosition ? "-" : std::to_string(result.position());
        return std::to_string(static_cast<int>(result.reason())) + " " + at + " " + result.message();
    }
    static std::string strict(const std::u16string& text) { return describe(AlgebraicExpressionC::readPrefix(text)); }
    static std::string lax(const std::u16string& text) {
        return describe(AlgebraicExpressionC::readPrefix(text, ReadingE::Lax));
    }
};

constexpr int kSyntax = static_cast<int>(ReasonE::Syntax);
constexpr int kNumber = static_cast<int>(ReasonE::NumberNotAccepted);

std::string failure(int reason, std::size_t at, const char* message) {
    return std::to_string(reason) + " " + std::to_string(at) + " " + message;
}

// Positions are indexes into the text as given, blanks included, also where
// the reader found the fault in the text without them.
TEST_F(ReadPrefixTest, EveryRefusalHasAReasonAndAPlace) {
    const std::tuple<const char16_t*, std::string, std::string> cases[] = {
        // text, strict, lax
        {u"plus(1-2,3)", failure(kNumber, 5, "number not accepted"), failure(kNumber, 5, "number not accepted")},
        {u"f(1.2.3)", failure(kNumber, 2, "number not accepted"), failure(kNumber, 2, "number not accepted")},
        {u" f( x ,  1e )", failure(kNumber, 9, "number not accepted"), failure(kNumber, 9, "number not accepted")},
        {u"g(x,\t- \n)", failure(kNumber, 5, "number not accepted"), failure(kNumber, 5, "number not accepted")},
        {u"f(a,,b)", failure(kSyntax, 4, "empty argument"), failure(kNumber, 4, "number not accepted")},
        {u"f()", failure(kSyntax, 2, "no arguments"), failure(kSyntax, 2, "no arguments")},
        {u"g(x, f ( ) )", failure(kSyntax, 9, "no arguments"), failure(kSyntax, 9, "no arguments")},
        {u" f ( ", failure(kSyntax, 5, "unclosed '('"), failure(kSyntax, 5, "no arguments")},
        {u" \t ", failure(kSyntax, 3, "empty text"), failure(kSyntax, 3, "empty text")},
        {u"si n(x", failure(kSyntax, 2, "space inside a name or number"), "ok sin(x)"},
        {u"plus( x , 2 )", "ok plus(x,2)", "ok plus(x,2)"},
    };
    for (const auto& [text, in_strict, in_lax] : cases) {
        EXPECT_EQ(strict(text), in_strict) << narrow(text);
        EXPECT_EQ(lax(text), in_lax) << narrow(text);
    }
    const ReadResultC read = AlgebraicExpressionC::readPrefix(u"x");
    EXPECT_TRUE(read.ok());
    EXPECT_EQ(read.reason(), ReasonE::None);
    EXPECT_EQ(read.position(), ReadResultC::kNoPosition);
    EXPECT_EQ(read.message(), "");
}

// The factories decline what they do not have: no factory at all declines
// every number.
TEST_F(ReadPrefixTest, AMissingFactoryDeclinesTheNumber) {
    installed().hide_integer_factory = true;
    EXPECT_EQ(strict(u"f(x, 12)"), "ok f(x,12.0)");  // the float factory takes it
    installed().hide_float_factory = true;
    EXPECT_EQ(strict(u"f(x, 12)"), failure(kNumber, 5, "number not accepted"));
    EXPECT_EQ(strict(u"f(x, 1.5)"), failure(kNumber, 5, "number not accepted"));
}

// Strict text is read with the calls fromPrefixString makes, in its order,
// up to the number declined.
TEST_F(ReadPrefixTest, CallsAreThoseOfFromPrefixString) {
    installed().logging = true;
    for (const char16_t* text : {u"f(g(x,1), 2.5)", u"f(g(x,1), 1-2, y)", u"f(a)"}) {
        (void)read(text);
        const Events literal = takeEvents();
        (void)AlgebraicExpressionC::readPrefix(text);
        EXPECT_EQ(takeEvents(), literal) << narrow(text);
    }
}

// Memory that a factory cannot find ends the reading with a reason, not an
// exception, and frees what was built.
TEST_F(ReadPrefixTest, AFactoryOutOfMemoryIsAReason) {
    integerFactory().bad_alloc_at = u"3";
    const int values = TestInteger::live;
    const ReadResultC read = AlgebraicExpressionC::readPrefix(u"f(1,g(x,2),3)");
    EXPECT_FALSE(read.ok());
    EXPECT_FALSE(read.tree());
    EXPECT_EQ(read.reason(), ReasonE::OutOfMemory);
    EXPECT_EQ(read.position(), ReadResultC::kNoPosition);
    EXPECT_EQ(read.message(), "out of memory");
    EXPECT_EQ(TestInteger::live, values);
}

// Infix says the same through the same type; its old accessors still work.
TEST_F(ReadPrefixTest, InfixAnswersWithTheSameType) {
    InfixReaderC reader;
    const ReadResultC missing = reader.readResult(u"a*b");
    EXPECT_EQ(missing.reason(), ReasonE::Vocabulary);
    EXPECT_EQ(missing.position(), 1u);
    EXPECT_EQ(missing.message(), "the vocabulary has no 'times' for '*'");
    EXPECT_EQ(reader.getErrorKind(), InfixReaderC::MissingOperator);
    const ReadResultC syntax = reader.readResult(u"f(x");
    EXPECT_EQ(syntax.reason(), ReasonE::Syntax);
    EXPECT_EQ(syntax.position(), 3u);
    EXPECT_EQ(syntax.message(), "unclosed '('");
    installed().hide_float_factory = true;
    const ReadResultC number = reader.readResult(u"g(x, 1.5)");
    EXPECT_EQ(number.reason(), ReasonE::NumberNotAccepted);
    EXPECT_EQ(number.position(), 5u);
    const ReadResultC read = reader.readResult(u"g(x, \u00e9t\u00e9)");
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.tree()->toPrefixString(0, qorv::math::Standard), u"g(x,\u00e9t\u00e9)");
    EXPECT_EQ(reader.getErrorKind(), InfixReaderC::NoError);
    integerFactory().bad_alloc_at = u"7";
    const ReadResultC memory = reader.readResult(u"g(7)");
    EXPECT_EQ(memory.reason(), ReasonE::OutOfMemory);
    EXPECT_EQ(memory.message(), "out of memory");
}

}  // namespace
}  // namespace testing_doubles
