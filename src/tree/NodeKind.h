// SPDX-License-Identifier: MIT
// What kind of node a node is, told by its castable id: pointer comparisons
// for the library's own classes, lookUpBase for classes that clients derive
// (a class derived from ExtendedSymbolNodeC is an extended symbol). Shared by
// the walks, the order of trees and the search.
#ifndef ALGEXPR_SRC_TREE_NODEKIND_H
#define ALGEXPR_SRC_TREE_NODEKIND_H

namespace qorv::math::algexpr {

class NodeABC;
class ParentNodeABC;

namespace detail {

// In the order in which trees sort (see TreeOrder.h): numbers, symbols,
// functions, then nodes of other classes.
enum class NodeKind : unsigned char { Integer, Float, CoreSymbol, ExtendedSymbol, CoreFunction, ExtendedFunction, Other };

NodeKind kindOf(const NodeABC* node) noexcept;

/// The node as a parent node (any function node, or a client's class derived
/// from ParentNodeABC), or null.
const ParentNodeABC* asParent(const NodeABC* node) noexcept;

}  // namespace detail
}  // namespace qorv::math::algexpr

#endif
