// SPDX-License-Identifier: MIT
// Equality, a total order and a hash of trees, by their structure and
// contents: what a client would otherwise get by comparing prefix texts, at a
// fraction of the cost and exactly.
//
//   if (equalTrees(a->getNode(), b->getNode())) { ... }
//   std::map<const NodeABC*, int, TreeLessC> counts;          // trees as keys
//   std::unordered_set<const NodeABC*, TreeHashC, TreeEqualC> seen;
//   std::unordered_set<ExprC> built;                           // ExprC.h
//   std::unordered_set<PointerTC<AlgebraicExpressionC>, ExpressionHashC, ExpressionEqualC> held;
//
// Two trees are equal when they have the same shape (null children left out,
// as printing leaves them out) and their nodes, pairwise, are equal:
//  - of the same kind: integer, float, core symbol, extended symbol, core
//    function, extended function (a client's class derived from one of these
//    counts as that kind; a node of any other class compares by its castable
//    id's text and its toString());
//  - core nodes: the same code (whatever the current session calls it);
//  - extended nodes: the same name (symbols of different sessions or flushed
//    and made again compare by name; a null symbol counts as the empty name);
//  - integers: the same getValue() and the same text (toString()), so that
//    integers beyond 64 bits, whose getValue() saturates or wraps, still
//    compare exactly;
//  - floats: the same getValue() and the same text. So 0 and -0 differ (their
//    texts do), two NaNs of the same text are equal (a tree equals itself),
//    and a client whose floats carry more digits than a double compares them
//    by all of them;
//  - a number node without a value object equals only another such node.
//
// The order: first the kind, in the order listed above; then core codes by
// value, names code unit by code unit, integers by getValue() with ties (the
// saturated values beyond 64 bits) broken by their decimal texts, floats by
// getValue() with NaN last and ties (0 and -0) broken by text; then the
// arguments, in turn, a shorter list first when one is the beginning of the
// other. compareTrees is 0 exactly when equalTrees holds, and equal trees
// hash alike. Hashes do not depend on addresses: the
// same tree hashes alike in every process (but never let output depend on
// hash order anyway).
//
// All three walk the trees with TreeCursorC: no recursion, no memory, time
// linear in the trees (integers and floats whose values tie cost a text each).
// Exceptions from the client's number values pass through. Null compares
// equal to null and before every tree. The trees are only read.
#ifndef ALGEXPR_TREEORDER_H
#define ALGEXPR_TREEORDER_H

#include <cstddef>

#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/NodeABC.h"
#include "algexpr/algexpr_export.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr {

/// Whether the two trees are equal (see above).
ALGEXPR_API bool equalTrees(const NodeABC* a, const NodeABC* b);
/// Negative when `a` comes first, 0 when the trees are equal, positive when
/// `b` comes first.
ALGEXPR_API int compareTrees(const NodeABC* a, const NodeABC* b);
/// A hash of the tree, equal for equal trees.
ALGEXPR_API std::size_t hashTree(const NodeABC* tree);

/// The two nodes alone, without their arguments: kind and code, name or
/// number, in the order above. For matchers that walk trees themselves.
ALGEXPR_API int compareHeads(const NodeABC* a, const NodeABC* b);
/// Whether compareHeads(a, b) is 0, sooner.
ALGEXPR_API bool equalHeads(const NodeABC* a, const NodeABC* b);

/// Function objects for containers keyed by trees (`const NodeABC*`).
struct TreeEqualC {
    bool operator()(const NodeABC* a, const NodeABC* b) const { return equalTrees(a, b); }
};
struct TreeLessC {
    bool operator()(const NodeABC* a, const NodeABC* b) const { return compareTrees(a, b) < 0; }
};
struct TreeHashC {
    std::size_t operator()(const NodeABC* tree) const { return hashTree(tree); }
};

/// The same for expressions held by PointerTC, whose own == compares
/// addresses: these compare trees (a null pointer and an expression without
/// a root both count as no tree).
///
///   std::unordered_set<PointerTC<AlgebraicExpressionC>, ExpressionHashC, ExpressionEqualC> seen;
///   std::set<PointerTC<AlgebraicExpressionC>, ExpressionLessC> sorted;
struct ExpressionEqualC {
    bool operator()(const qorv::oss::PointerTC<AlgebraicExpressionC>& a,
                    const qorv::oss::PointerTC<AlgebraicExpressionC>& b) const {
        return equalTrees(a ? a->getNode() : nullptr, b ? b->getNode() : nullptr);
    }
};
struct ExpressionLessC {
    bool operator()(const qorv::oss::PointerTC<AlgebraicExpressionC>& a,
                    const qorv::oss::PointerTC<AlgebraicExpressionC>& b) const {
        return compareTrees(a ? a->getNode() : nullptr, b ? b->getNode() : nullptr) < 0;
    }
};
struct ExpressionHashC {
    std::size_t operator()(const qorv::oss::PointerTC<AlgebraicExpressionC>& e) const {
        return hashTree(e ? e->getNode() : nullptr);
    }
};

}  // namespace qorv::math::algexpr

#endif
