// SPDX-License-Identifier: MIT
// Reading any text as infix, and what a tree read must then satisfy: reading
// is deterministic, failures included; the tree writes in infix (unless a
// float of it has no number text, such as "inf"), with no sign directly
// after an operator, and the text reads back to a tree with the same prefix
// text, whose infix text is the same again;
// LaTeX writes it. The session has the six operators, equal and list in its
// vocabulary, so that every operator, equation and list reads.
//
// Input: the text as FuzzEnvironmentC::decode reads it, from the first byte
// on (this target sets no factory flags).
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzEnvironmentC.h"
#include "algexpr/algexpr.h"
#include "support/Doubles.h"

namespace {

using namespace testing_doubles;

const char16_t* const kNames[] = {u"plus", u"minus", u"times", u"divide", u"power", u"neg",
                                  u"equal", u"list",  u"sin",   u"pi",     u""};

using algexpr_fuzz::FuzzEnvironmentC;

void check(bool condition, const char* what) { FuzzEnvironmentC::check(condition, what); }

std::u16string prefix(const AlgebraicExpressionC& expression) {
    return expression.toPrefixString(0, qorv::math::Standard);
}

void checkRead(const std::u16string& text) {
    InfixReaderC reader;
    InfixReaderC second;
    PointerTC<AlgebraicExpressionC> expression = reader.read(text);
    PointerTC<AlgebraicExpressionC> twice = second.read(text);
    check(static_cast<bool>(expression) == static_cast<bool>(twice), "a second reading differs in success");
    check(reader.getErrorPosition() == second.getErrorPosition() &&
              std::u16string(reader.getErrorMessage()) == second.getErrorMessage() &&
              reader.getErrorKind() == second.getErrorKind(),
          "a second reading fails differently");
    if (!expression) {
        check(reader.getErrorPosition() <= text.size(), "the error is beyond the text");
        check(reader.getErrorMessage()[0] != 0, "a failure without a message");
        check(reader.getErrorKind() != InfixReaderC::NoError, "a failure without a kind");
        return;
    }
    const std::u16string expected = prefix(*expression);
    check(prefix(*twice) == expected, "a second reading differs");

    InfixPrintVisitorC infix;
    const std::u16string written = infix.getExpressionString(expression->getNode(), 0, qorv::math::Standard);
    if (written.empty()) {
        check(std::u16string(infix.getErrorMessage()).rfind(u"the number '", 0) == 0,
              "a tree read from infix does not write, and not for a number");
    } else {
        for (const char16_t* signs : {u"+ -", u"- -", u"*-", u"/-", u"^-", u"--"}) {
            check(written.find(signs) == std::u16string::npos, "a sign directly after an operator");
        }
        PointerTC<AlgebraicExpressionC> back = reader.read(written);
        check(static_cast<bool>(back), "the written text does not read");
        check(prefix(*back) == expected, "the written text reads as another tree");
        check(infix.getExpressionString(back->getNode(), 0, qorv::math::Standard) == written,
              "writing is not a fixed point");
    }
    LatexPrintVisitorC latex;
    check(!latex.getExpressionString(expression->getNode(), 0, qorv::math::Standard).empty(), "LaTeX fails");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool installed = [] {
        CASSessionBC::setSession(makeSession(kNames));
        recording = false;
        return true;
    }();
    (void)installed;
    std::u16string text;
    FuzzEnvironmentC::decode(data, size, text);
    checkRead(text);
    check(TestInteger::live == 0 && TestFloat::live == 0, "a number value outlived its tree");
    CASSessionBC::getSession()->flushUnusedSymbols();
    return 0;
}
