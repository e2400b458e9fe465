// SPDX-License-Identifier: MIT
// InfixPrintVisitorC: writes a tree in the infix notation that InfixReaderC
// reads, such as "2*x + sin(pi/6)", with the fewest parentheses that keep the
// tree: reading the text back gives the same tree.
//
//   InfixPrintVisitorC printer;
//   std::u16string text = printer.getExpressionString(node, 0, qorv::math::Standard);
//   if (text.empty()) {
//       report(printer.getErrorMessage());   // "the name 'a+b' has no infix form"
//   }
//
// The core functions plus, minus, times, divide, power, neg, equal and list
// of the current session's vocabulary are written as operators: plus and
// times with two or more arguments ("a + b + c", "a*b"), minus, divide,
// power and equal with exactly two ("a - b", "a/b", "a^b", "a = b"), neg
// with one ("-a"), list with any number ("[a, b]", "[]"). Everything else is
// written in call form: f(x, y), and plus(x), minus(a), divide(a, b, c).
// Spaces stand around binary "+", "-" and "=" and after commas. A call
// without arguments, which only a client's code makes (an engine's empty
// list), is written f() or [], which reading refuses, as in prefix.
//
// Parentheses stand where reading needs them ((a + b)*c, a - (b - c),
// (a + b) + c, (a^b)^c, (-3)^2, -(3) for neg(3), (a = b) = c, (a = b) + 1)
// and where a sign would directly follow an operator: x + (-3), 2*(-x),
// x^(-1), -(-x), a + (-b*c); not after "=": x = -1.
//
// Names are written as they are and must be identifiers (a letter or "_",
// then letters, "_" and digits 0-9): a name such as "a+b" or "2x" fails the
// whole call. Numbers are written as their values print them (floats with
// the display arguments, as in prefix) and read back through the same
// factories as prefix text; a number text that infix does not read as one
// number with an optional "-" (such as "nan") fails the call too.
//
// The walk is iterative: trees of any depth are written, in time linear in
// their size. Running out of memory fails the call; nothing else is thrown but
// the exceptions of the client's own code, which pass through. The
// visits write only during getExpressionString. One printer serves one call
// at a time and can be reused.
#ifndef ALGEXPR_INFIXPRINTVISITORC_H
#define ALGEXPR_INFIXPRINTVISITORC_H

#include <string>

#include "algexpr/NotationPrintVisitorBC.h"

namespace qorv::math::algexpr {

class ALGEXPR_API InfixPrintVisitorC : public NotationPrintVisitorBC {
public:
    InfixPrintVisitorC() noexcept;
    ~InfixPrintVisitorC() override;

    /// The infix text of the subtree under `node`; the empty text when it
    /// cannot be written (getErrorMessage() says why, naming the name or
    /// number at fault), for null, and when memory runs out. A walk that an
    /// overriding visit stops gives the text written so far.
    std::u16string getExpressionString(NodeABC* node, unsigned long digits, qorv::math::NumberDisplayFormatE format);
};

}  // namespace qorv::math::algexpr

#endif
