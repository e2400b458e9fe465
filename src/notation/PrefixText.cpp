// SPDX-License-Identifier: MIT
// AlgebraicExpressionC's two prefix text operations. They are defined here,
// with the reader and the printer, so that the notation builds on the tree
// and the tree depends on nothing of the notation.
#include <utility>

#include "PrefixParserC.h"
#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/NodeABC.h"
#include "algexpr/PrefixPrintVisitorC.h"

namespace qorv::math::algexpr {

qorv::oss::PointerTC<AlgebraicExpressionC> AlgebraicExpressionC::fromPrefixString(std::u16string text) {
    PrefixParserC parser;
    return parser.parse(std::move(text));
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
