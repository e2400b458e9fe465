// SPDX-License-Identifier: MIT
#include "algexpr/LatexPrintVisitorC.h"

namespace qorv::math::algexpr {

LatexPrintVisitorC::LatexPrintVisitorC() noexcept : NotationPrintVisitorBC(NotationE::Latex) {}

LatexPrintVisitorC::~LatexPrintVisitorC() = default;

std::u16string LatexPrintVisitorC::getExpressionString(NodeABC* node, unsigned long digits,
                                                       qorv::math::NumberDisplayFormatE format) {
    return write(node, digits, format);
}

}  // namespace qorv::math::algexpr
