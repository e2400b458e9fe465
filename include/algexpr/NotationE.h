// SPDX-License-Identifier: MIT
// NotationE: the three notations the library writes trees in, for the
// printing functions and stream manipulators of TreePrint.h.
#ifndef ALGEXPR_NOTATIONE_H
#define ALGEXPR_NOTATIONE_H

namespace qorv::math::algexpr {

/// Prefix: f(g(x),2) (PrefixPrintVisitorC); Infix: 2*x + 1
/// (InfixPrintVisitorC); Latex: 2 x + 1 (LatexPrintVisitorC).
enum class NotationE : unsigned char { Prefix, Infix, Latex };

}  // namespace qorv::math::algexpr

#endif
