// SPDX-License-Identifier: MIT
// InfixReaderC: reads ordinary infix notation, such as "2*x + sin(pi/6)",
// into a new AlgebraicExpressionC, or says where and why the text does not
// read. The caller owns the expression it returns (through PointerTC).
//
//   InfixReaderC reader;
//   PointerTC<AlgebraicExpressionC> e = reader.read(u"-x^2 + f(y, 2.5)");
//   if (!e) {
//       report(reader.getErrorPosition(), reader.getErrorMessage());
//   }
//
// Tokens, with whitespace (space, tab, LF, CR) allowed between them:
//   number      digits with an optional fraction and an optional exponent:
//               12  2.5  .5  5.  1e-5  2.5E3  (an "e" without digits after
//               it ends the number)
//   name        a Unicode letter or "_", then letters, "_" and digits 0-9
//   operators   + - * / ^ ** =  ( ) [ ] ,    U+2212 (minus sign) reads as "-"
//
// Grammar, from the loosest binding to the tightest:
//   equation   := expression [ "=" expression ]              "=" does not chain
//   expression := product { ("+" | "-") product }           left-associative
//   product    := unary { ("*" | "/") unary }                left-associative
//   unary      := ("-" | "+") unary | power
//   power      := primary [ ("^" | "**") unary ]             right-associative
//   primary    := number | name | name "(" arguments ")" | "(" equation ")"
//               | "[" arguments "]"
//   arguments  := equation { "," equation }
// So -a*b is times(neg(a),b), -x^2 is neg(power(x,2)), 2^3^2 is
// power(2,power(3,2)), x^-1 is power(x,-1) and x^2 - 1 = 0 is
// equal(minus(power(x,2),1),0). a = b = c is an error: write (a = b) = c or
// a = (b = c). ("->" is no token: a "-" followed by ">" does not read.)
//
// Mapping to the tree: a+b+c is plus(a,b,c) and a*b*c is times(a,b,c); a-b is
// minus(a,b) and a-b-c is minus(minus(a,b),c); a/b is divide(a,b); a^b is
// power(a,b); -a is neg(a) and +a is a; a = b is equal(a,b); [a, b, c] is
// list(a,b,c). f() and [] are errors, as a call without arguments is in
// prefix text, where it would not read back. An operator chains only into the same
// operator written without parentheses: a+(b+c) is plus(a,plus(b,c)) and
// a-b+c is plus(minus(a,b),c). The operators' functions are the core
// elements of those eight names in the current session; an operator whose
// name the vocabulary lacks is an error that names it.
//
// A "-" followed by a number makes a negative number, unless the number is
// the base of "^": -3 is the integer -3 (the factory gets "-3"), 2*-3 is
// times(2,-3), -3^2 is neg(power(3,2)), (-3)^2 is power(-3,2) and -(3) is
// neg(3).
//
// Names and numbers become nodes as in prefix reading: a name is a core
// element of the session (a core node) or else an interned symbol, a call's
// name is resolved before its arguments, so plus(x) is the core plus with
// one argument; a call whose name the vocabulary lacks but spells a core
// function the familiar way (familiarSpelling: ln, arcsin, arccos, arctan,
// re, im) is a call of that function, so that ln(x) reads as log(x) and is
// written back so (names alone, and prefix reading, stay as they are); a number text without ".", "e" or "E" goes to the integer
// factory and, if declined, to the float factory; other numbers go to the
// float factory alone.
//
// Reading is iterative and linear in the text: any nesting depth reads.
// Nothing is thrown (running out of memory is an error like the others);
// exceptions from the client's session or factories pass through. One reader
// serves one call at a time and can be reused.
#ifndef ALGEXPR_INFIXREADERC_H
#define ALGEXPR_INFIXREADERC_H

#include <cstddef>
#include <string>
#include <string_view>

#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/ReadResultC.h"
#include "algexpr/algexpr_export.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr {

class ALGEXPR_API InfixReaderC {
public:
    /// Why a read failed, for callers that tell failures apart; each kind
    /// has its message (getErrorMessage), which may name what is at fault.
    enum ErrorE {
        NoError = 0,          ///< the last read succeeded (or none was made)
        EmptyText,            ///< "empty text": nothing but whitespace; at the end
        ExpectedOperand,      ///< "expected an operand"
        ExpectedOperator,     ///< "expected an operator"
        UnexpectedCharacter,  ///< "unexpected character": no token starts there
        UnclosedParenthesis,  ///< "unclosed '('": at the end
        ClosesNothing,        ///< "')' closes nothing"
        CommaOutside,         ///< "',' outside a function's arguments"
        NumberNotAccepted,    ///< "number not accepted": every factory asked declined it
        MissingOperator,      ///< "the vocabulary has no 'times' for '*'"
        ChainedEquation,      ///< "chained '=': put one equation in parentheses": at the second "="
        UnclosedBracket,      ///< "unclosed '['": at the end
        BracketClosesNothing, ///< "']' closes nothing"
        ExpectedParenthesis,  ///< "expected ')'": a "]" where a "(" is open
        ExpectedBracket,      ///< "expected ']'": a ")" where a "[" is open
        NoSession,            ///< "no session is current"; no position
        OutOfMemory,          ///< "out of memory"; the position is where reading stood
        NoArguments,          ///< "no arguments": f() or [], at the ")" or "]"
    };

    InfixReaderC() noexcept;
    InfixReaderC(const InfixReaderC&) = delete;
    InfixReaderC& operator=(const InfixReaderC&) = delete;
    virtual ~InfixReaderC();

    /// The expression read from `text`, or null when the text does not read
    /// (the error accessors then say where and why), no session is current,
    /// or memory runs out.
    qorv::oss::PointerTC<AlgebraicExpressionC> read(const std::u16string& text);

    /// The same reading, answered as prefix reading answers (ReadResultC):
    /// the expression, or the reason (NumberNotAccepted, Vocabulary for
    /// MissingOperator, NoSession and OutOfMemory as named, Syntax for the
    /// others), the position (none for NoSession) and the message. The
    /// error accessors say the same afterwards.
    ReadResultC readResult(const std::u16string& text);

    /// The core name that a function's familiar spelling stands for where
    /// the vocabulary lacks the spelling: "log" for "ln", "asin", "acos" and
    /// "atan" for "arcsin", "arccos" and "arctan", "real_part" and
    /// "imag_part" for "re" and "im"; null for other names.
    static const char16_t* familiarSpelling(std::u16string_view name) noexcept;

    /// After a failed read: the code-unit index in the text where it goes
    /// wrong (the text's length for its end). 0 after a successful one.
    std::size_t getErrorPosition() const noexcept;
    /// After a failed read: a short message, such as "expected an operand"
    /// or "the vocabulary has no 'times' for '*'". The empty text after a
    /// successful one. Never null; valid until the next read.
    const char16_t* getErrorMessage() const noexcept;
    /// After a failed read: what kind of failure it was; NoError after a
    /// successful one.
    ErrorE getErrorKind() const noexcept;

private:
    void fail(ErrorE kind, std::size_t position) noexcept;
    static const char16_t* messageOf(ErrorE kind) noexcept;

    ErrorE error_kind;
    std::size_t error_position;
    const char16_t* error_message_p;  // a literal, or error_text's
    std::u16string error_text;
};

}  // namespace qorv::math::algexpr

#endif
