// SPDX-License-Identifier: MIT
// PrefixSyntaxCheckC: tells whether a prefix text is written in the strict
// form (its grammar is in AlgebraicExpressionC.h, after the reading rules) and,
// if not, where it first departs from it and why. The reader itself stays
// lax; this is for clients that want to refuse what it would read anyway.
//
//   PrefixSyntaxCheckC check(u"f(a,,b)");
//   if (!check.isWellFormed()) {
//       report(check.getPosition(), check.getMessage());   // 4, "empty argument"
//   }
//
// The check runs in the constructor and keeps only its verdict, not the
// text. It needs no session and no memory, takes time linear in the text and
// copes with any depth of nesting.
#ifndef ALGEXPR_PREFIXSYNTAXCHECKC_H
#define ALGEXPR_PREFIXSYNTAXCHECKC_H

#include <cstddef>
#include <string_view>

#include "algexpr/algexpr_export.h"

namespace qorv::math::algexpr {

class ALGEXPR_API PrefixSyntaxCheckC final {
public:
    /// What is wrong with a text. Where several things are, the first one met
    /// reading from left to right is reported.
    enum ProblemE {
        NoProblem = 0,
        EmptyText,             ///< "empty text": nothing but whitespace; at the end
        UnclosedParenthesis,   ///< "unclosed '('": the text ends inside an argument list; at the end
        ClosesNothing,         ///< "')' closes nothing": a ")" outside every argument list
        CommaOutside,          ///< "',' outside parentheses": a "," outside every argument list
        TextAfterExpression,   ///< "text after the expression": a name or "(" after a complete application
        EmptyArgument,         ///< "empty argument": a "," or ")" where an argument should be, as in f(a,,b)
        NoArguments,           ///< "no arguments": a ")" right after the "(", as in f()
        MissingName,           ///< "a function needs a name": a "(" where an expression should start
        SpaceInsideToken,      ///< "space inside a name or number": at the first whitespace between two names
    };

    /// Checks `text` (UTF-16 code units; nothing is kept).
    explicit PrefixSyntaxCheckC(std::u16string_view text) noexcept;

    /// True when the text is strict: one expression, nothing else.
    bool isWellFormed() const noexcept;

    /// NoProblem, or what is wrong.
    ProblemE getProblem() const noexcept;

    /// The code-unit index of the first character where the text stops
    /// fitting; the text's length for the end of the text and for a
    /// well-formed text.
    std::size_t getPosition() const noexcept;

    /// The problem's message: short, plain ASCII, in static storage; the
    /// empty text for NoProblem.
    const char* getMessage() const noexcept;
    static const char* getMessage(ProblemE problem) noexcept;

    /// True when a leaf text reads as a number, by the reader's rules (made of
    /// "0123456789.-+", U+2013 and U+2212, with at most one "e" or "E" after
    /// the first character; the empty text too). Such a leaf goes to the
    /// number factories, never to the tables, so it cannot name a symbol.
    /// The reader itself decides its leaves with this function.
    static bool readsAsNumber(std::u16string_view text) noexcept;

private:
    ProblemE problem;
    std::size_t position;
};

}  // namespace qorv::math::algexpr

#endif
