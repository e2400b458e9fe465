// SPDX-License-Identifier: MIT
#include "algexpr/ExtendedSymbolNodeC.h"

#include <new>
#include <utility>

#include "Castable.h"
#include "algexpr/NodeVisitorABC.h"

namespace qorv::math::algexpr {

ALGEXPR_DEFINE_CASTABLE(ExtendedSymbolNodeC, LeafNodeABC, u"ExtendedSymbolNodeC")

ExtendedSymbolNodeC::ExtendedSymbolNodeC(qorv::oss::PointerTC<SymbolC> symbol) noexcept : symbol_p(std::move(symbol)) {}

ExtendedSymbolNodeC::~ExtendedSymbolNodeC() = default;

NodeABC* ExtendedSymbolNodeC::clone() const { return new (std::nothrow) ExtendedSymbolNodeC(symbol_p); }

std::u16string ExtendedSymbolNodeC::toString() const { return symbol_p ? symbol_p->getName() : std::u16string(); }

bool ExtendedSymbolNodeC::acceptVisitor(NodeVisitorABC& visitor, VisitationOrderE) {
    return visitor.visitExtendedSymbolNode(*this);
}

qorv::oss::PointerTC<SymbolC> ExtendedSymbolNodeC::getSymbol() const { return symbol_p; }

}  // namespace qorv::math::algexpr
