// SPDX-License-Identifier: MIT
#include "algexpr/InfixPrintVisitorC.h"

namespace qorv::math::algexpr {

InfixPrintVisitorC::InfixPrintVisitorC() noexcept : NotationPrintVisitorBC(NotationE::Infix) {}

InfixPrintVisitorC::~InfixPrintVisitorC() = default;

std::u16string InfixPrintVisitorC::getExpressionString(NodeABC* node, unsigned long digits,
                                                       qorv::math::NumberDisplayFormatE format) {
    return write(node, digits, format);
}

}  // namespace qorv::math::algexpr
