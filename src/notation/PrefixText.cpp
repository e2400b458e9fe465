// SPDX-License-Identifier: MIT
// AlgebraicExpressionC's two prefix text operations. They are defined here,
// with the reader and the printer, so that the notation builds on the tree
// and the tree depends on nothing of the notation.
#include <cstddef>
#include <new>
#include <utility>

#include "PrefixParserC.h"
#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/NodeABC.h"
#include "algexpr/PrefixPrintVisitorC.h"
#include "algexpr/PrefixSyntaxCheckC.h"
#include "algexpr/ReadResultC.h"

namespace qorv::math::algexpr {

using qorv::oss::PointerTC;

qorv::oss::PointerTC<AlgebraicExpressionC> AlgebraicExpressionC::fromPrefixString(std::u16string text) {
    PrefixParserC parser;
    return parser.parse(std::move(text));
}

namespace {

bool isWhitespace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

// The index in `text` of the character at `at` in `text` without its
// whitespace; the text's length for the end.
std::size_t placeInText(std::u16string_view text, std::size_t at) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!isWhitespace(text[i]) && kept++ == at) {
            return i;
        }
    }
    return text.size();
}

ReadResultC failureOf(const PrefixParserC::FailureS& failure, std::u16string_view text) {
    using ReasonE = ReadResultC::ReasonE;
    const std::size_t at = placeInText(text, failure.at);
    switch (failure.problem) {
        case PrefixParserC::ProblemE::NoSession:
            break;
        case PrefixParserC::ProblemE::EmptyText:
            return ReadResultC::failure(ReasonE::Syntax, text.size(),
                                        PrefixSyntaxCheckC::getMessage(PrefixSyntaxCheckC::EmptyText));
        case PrefixParserC::ProblemE::NoArguments:
            return ReadResultC::failure(ReasonE::Syntax, at,
                                        PrefixSyntaxCheckC::getMessage(PrefixSyntaxCheckC::NoArguments));
        case PrefixParserC::ProblemE::NumberNotAccepted:
            return ReadResultC::failure(ReasonE::NumberNotAccepted, at, "number not accepted");
        case PrefixParserC::ProblemE::OutOfMemory:
            return ReadResultC::failure(ReasonE::OutOfMemory, at, "out of memory");
    }
    return ReadResultC();
}

}  // namespace

ReadResultC AlgebraicExpressionC::readPrefix(std::u16string_view text, ReadingE reading) {
    if (reading == ReadingE::Strict) {
        const PrefixSyntaxCheckC check(text);
        if (!check.isWellFormed()) {
            return ReadResultC::failure(ReadResultC::ReasonE::Syntax, check.getPosition(), check.getMessage());
        }
    }
    try {
        PrefixParserC::FailureS failure;
        PointerTC<AlgebraicExpressionC> expression = PrefixParserC().parse(std::u16string(text), &failure);
        return expression ? ReadResultC::success(std::move(expression)) : failureOf(failure, text);
    } catch (const std::bad_alloc&) {
        return ReadResultC::failure(ReadResultC::ReasonE::OutOfMemory, ReadResultC::kNoPosition, "out of memory");
    }
}

std::u16string AlgebraicExpressionC::toPrefixString(unsigned long digits,
                                                    qorv::math::NumberDisplayFormatE format) const {
    PrefixPrintVisitorC printer;
    return printer.getExpressionString(node_p, digits, format);
}

// Printing reads the tree; the visitor interface is not const only because
// visitors may change what they visit.
std::u16string NodeABC::toPrefixString(unsigned long digits, qorv::math::NumberDisplayFormatE format) const {
    PrefixPrintVisitorC printer;
    return printer.getExpressionString(const_cast<NodeABC*>(this), digits, format);
}

}  // namespace qorv::math::algexpr
