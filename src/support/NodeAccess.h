// SPDX-License-Identifier: MIT
// The library's own view of the nodes: the extended nodes' symbol lent,
// without the reference that getSymbol() takes (and that threads reading the
// same names would contend for), and a child taken out of its function node
// without deleting it. The node classes let this struct in.
#ifndef ALGEXPR_SRC_SUPPORT_NODEACCESS_H
#define ALGEXPR_SRC_SUPPORT_NODEACCESS_H

#include "algexpr/ExtendedFunctionNodeC.h"
#include "algexpr/ExtendedSymbolNodeC.h"
#include "algexpr/ParentNodeABC.h"

namespace qorv::math::algexpr::detail {

struct NodeAccess {
    static const SymbolC* symbol(const ExtendedSymbolNodeC& node) noexcept { return node.symbol_p.get(); }
    static const SymbolC* symbol(const ExtendedFunctionNodeC& node) noexcept { return node.symbol_p.get(); }
    /// The child at `index`, now the caller's, a null child left in its
    /// place; null for an index past the end.
    static NodeABC* release(ParentNodeABC& parent, unsigned int index) noexcept;
};

}  // namespace qorv::math::algexpr::detail

#endif
