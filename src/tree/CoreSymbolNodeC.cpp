// SPDX-License-Identifier: MIT
#include "algexpr/CoreSymbolNodeC.h"

#include <new>

#include "Castable.h"
#include "CoreCodeText.h"
#include "algexpr/NodeVisitorABC.h"

namespace qorv::math::algexpr {

ALGEXPR_DEFINE_CASTABLE(CoreSymbolNodeC, LeafNodeABC, u"CoreSymbolNodeC")

CoreSymbolNodeC::CoreSymbolNodeC(int code) noexcept : code(code) {}

CoreSymbolNodeC::~CoreSymbolNodeC() = default;

NodeABC* CoreSymbolNodeC::clone() const { return new (std::nothrow) CoreSymbolNodeC(code); }

std::u16string CoreSymbolNodeC::toString() const { return coreCodeText(code); }

bool CoreSymbolNodeC::acceptVisitor(NodeVisitorABC& visitor, VisitationOrderE) {
    return visitor.visitCoreSymbolNode(*this);
}

int CoreSymbolNodeC::getCode() const { return code; }

}  // namespace qorv::math::algexpr
