// SPDX-License-Identifier: MIT
// The library's own view of the extended nodes: their symbol lent, without
// the reference that getSymbol() takes (and that threads reading the same
// names would contend for). The node classes let this struct in.
#ifndef ALGEXPR_SRC_SUPPORT_NODEACCESS_H
#define ALGEXPR_SRC_SUPPORT_NODEACCESS_H

#include "algexpr/ExtendedFunctionNodeC.h"
#include "algexpr/ExtendedSymbolNodeC.h"

namespace qorv::math::algexpr::detail {

struct NodeAccess {
    static const SymbolC* symbol(const ExtendedSymbolNodeC& node) noexcept { return node.symbol_p.get(); }
    static const SymbolC* symbol(const ExtendedFunctionNodeC& node) noexcept { return node.symbol_p.get(); }
};

}  // namespace qorv::math::algexpr::detail

#endif
