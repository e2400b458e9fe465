// SPDX-License-Identifier: MIT
// Questions about what a tree holds, each one walk over it:
//
//   hasSymbol(tree, u"x")            an extended symbol leaf named x
//   hasCoreCode(tree, 4)             a core node (symbol or function) of code 4
//   hasSubtree(tree, pattern)        a subtree equal to pattern (TreeOrder.h)
//   freeSymbols(tree, names)         the names of its symbols, each once
//   treeSize(tree), treeDepth(tree)  its nodes, its levels
//
// Free symbols are the names of the extended symbol leaves, in the order in
// which they first appear in the text (pre-order, left to right), each once.
// Function names are not symbols (f in f(x)), nor are core symbols (pi: the
// session's vocabulary). The empty slot "_" of the constraint predicates
// (ConstraintsBC::isEmpty) marks a place still to fill, not a variable, so it
// is left out unless asked for; hasSymbol(tree, u"_") finds it either way.
//
// All walk the tree with TreeCursorC (no recursion), skip null children as
// printing does, and only read the tree. A null tree holds nothing. Two
// allocate: freeSymbols for its answer and the names seen, hasSubtree for the
// sizes of the subtrees along the way down, so that it compares only
// subtrees of the pattern's size and stays linear (without memory it
// compares at every node instead, and is right all the same).
#ifndef ALGEXPR_TREESEARCH_H
#define ALGEXPR_TREESEARCH_H

#include <cstddef>
#include <string>
#include <vector>

#include "algexpr/NodeABC.h"
#include "algexpr/algexpr_export.h"

namespace qorv::math::algexpr {

/// Whether the tree has an extended symbol leaf of exactly that name (a
/// function of that name does not count).
ALGEXPR_API bool hasSymbol(const NodeABC* tree, const std::u16string& name);
/// Whether the tree has a core symbol or core function node of that code.
ALGEXPR_API bool hasCoreCode(const NodeABC* tree, int code);
/// Whether some subtree of the tree, the tree itself included, is equal to
/// `subtree` (equalTrees). Nothing holds a null subtree.
ALGEXPR_API bool hasSubtree(const NodeABC* tree, const NodeABC* subtree);

/// Replaces `names` with the tree's free symbols (see above); with
/// `with_empty_slot`, "_" counts too. False, with `names` empty, when memory
/// runs out.
ALGEXPR_API bool freeSymbols(const NodeABC* tree, std::vector<std::u16string>& names, bool with_empty_slot = false);

/// The number of nodes (null children not counted); 0 for a null tree.
ALGEXPR_API std::size_t treeSize(const NodeABC* tree);
/// The number of nodes on the longest path from the root down: 1 for a
/// leaf, 2 for f(x), 0 for a null tree.
ALGEXPR_API std::size_t treeDepth(const NodeABC* tree);

}  // namespace qorv::math::algexpr

#endif
