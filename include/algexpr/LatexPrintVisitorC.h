// SPDX-License-Identifier: MIT
// LatexPrintVisitorC: writes a tree as a LaTeX formula for math mode, such
// as "2 x + \sin\left(\frac{\pi}{6}\right)".
//
//   LatexPrintVisitorC printer;
//   std::u16string latex = printer.getExpressionString(node, 0, qorv::math::Standard);
//
// Operators are the core functions plus, minus, times, divide, power, neg,
// equal and list of the current session's vocabulary, with the arguments
// InfixPrintVisitorC writes as operators; the grouping is the infix writer's,
// so a formula keeps its tree:
//   a + b, a - b, -a, a = b  as in infix, with \left( \right) for parentheses
//   a*b                      "a b", or "a \cdot b" where juxtaposition would
//                            mislead: before a number, next to anything
//                            written with parentheses, brackets or bars,
//                            after a float written with an exponent, between
//                            a number and a fraction; a product with one
//                            \cdot has it between all its factors:
//                            3 \cdot 7 \cdot \sqrt{x}
//   a/b                      \frac{a}{b}
//   a^b                      a^{b}; a base that is not an atom in
//                            parentheses, and so is a call,
//                            \left(\log\left(x\right)\right)^{2}, but:
//   f(x)^n                   \sin^{2}\left(x\right), \operatorname{f}^{2}\left(x, y\right):
//                            a power of a call of any function but exp, log
//                            and ln, whose exponent is a number, a name, a
//                            call, a fraction or a power (so never starts
//                            with a sign: \sin^{-1} would be the inverse)
//   [a, b]                   \left[ a, b \right]
// Functions: sqrt(x) is \sqrt{x}, abs(x) is \left| x \right|, order(x) is
// O\left(x\right); sin, cos, tan, cot, sec, csc, sinh, cosh, tanh, coth,
// exp, log and ln are \sin\left(x\right) and so on; asin, acos and atan (and
// arcsin, arccos, arctan) are \arcsin\left(x\right) and so on; any other
// function (and an operator in call form) is \operatorname{f}\left(x, y\right).
// Derivatives: pdiff(f(x),1) is \operatorname{f}'\left(x\right), and nested
// ones count primes (f'', f''', then f^{(4)}) where the function has one
// argument; with several, pdiff(pdiff(g(x,y),1),2) is
// \partial_{2} \partial_{1} \operatorname{g}\left(x, y\right). A pdiff whose
// k is not a positive integer, or whose chain does not end in a call, is a
// call of pdiff. These go by name, whether or not the name is a core element.
// Names: pi is \pi, and so are the other Greek letter names LaTeX has
// (\alpha ... \omega, \Gamma ... \Omega); a one-letter name (e, i, x) is
// written as it is, and so with a subscript after one "_" that is a Greek
// letter's name or letters and digits: x_{1}, \omega_{0}, x_{max},
// \alpha_{\beta}; the name "_" (an empty slot) is \square; any other name is
// \mathrm{name}, with LaTeX's special characters escaped. Numbers: as their
// values print them (floats with the display arguments); a float text with
// an exponent, 2.5e3, is written 2.5 \cdot 10^{3}; a float that is not
// finite is \infty, -\infty or \mathrm{NaN}; a number text that is not a
// number is written upright.
//
// Every tree can be written. The walk is iterative: trees of any depth are
// written, in time linear in their size. Running out of memory gives the
// empty text; nothing else is thrown but the exceptions of the client's own
// code, which pass through. The visits write only during
// getExpressionString. One printer serves one call at a time and can be reused.
#ifndef ALGEXPR_LATEXPRINTVISITORC_H
#define ALGEXPR_LATEXPRINTVISITORC_H

#include <string>

#include "algexpr/NotationPrintVisitorBC.h"

namespace qorv::math::algexpr {

class ALGEXPR_API LatexPrintVisitorC : public NotationPrintVisitorBC {
public:
    LatexPrintVisitorC() noexcept;
    ~LatexPrintVisitorC() override;

    /// The LaTeX text of the subtree under `node`; the empty text for null
    /// and when memory runs out (getErrorMessage() says why). A walk that an
    /// overriding visit stops gives the text written so far.
    std::u16string getExpressionString(NodeABC* node, unsigned long digits, qorv::math::NumberDisplayFormatE format);
};

}  // namespace qorv::math::algexpr

#endif
