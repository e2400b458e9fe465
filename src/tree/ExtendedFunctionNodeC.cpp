// SPDX-License-Identifier: MIT
#include "algexpr/ExtendedFunctionNodeC.h"

#include <memory>
#include <new>
#include <utility>

#include "Castable.h"
#include "algexpr/NodeVisitorABC.h"

namespace qorv::math::algexpr {

ALGEXPR_DEFINE_CASTABLE(ExtendedFunctionNodeC, ParentNodeABC, u"ExtendedFunctionNodeC")

ExtendedFunctionNodeC::ExtendedFunctionNodeC(qorv::oss::PointerTC<SymbolC> symbol) noexcept
    : symbol_p(std::move(symbol)) {}

ExtendedFunctionNodeC::~ExtendedFunctionNodeC() = default;

NodeABC* ExtendedFunctionNodeC::clone() const {
    std::unique_ptr<ExtendedFunctionNodeC> copy(new (std::nothrow) ExtendedFunctionNodeC(symbol_p));
    return copy && cloneChildrenInto(*copy) ? copy.release() : nullptr;
}

std::u16string ExtendedFunctionNodeC::toString() const { return symbol_p ? symbol_p->getName() : std::u16string(); }

bool ExtendedFunctionNodeC::acceptVisitor(NodeVisitorABC& visitor, VisitationOrderE order) {
    return visitor.visitExtendedFunctionNode(*this, order);
}

qorv::oss::PointerTC<SymbolC> ExtendedFunctionNodeC::getSymbol() const { return symbol_p; }

}  // namespace qorv::math::algexpr
