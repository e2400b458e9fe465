// SPDX-License-Identifier: MIT
// Every node of a tree in range-for, in pre-order (a function before its
// arguments) or post-order (the arguments first), left to right:
//
//   for (NodeABC* node : preOrder(expression->getNode())) { ... }
//   for (const NodeABC* node : postOrder(const_tree)) { ... }
//
// The ranges walk the tree itself, with no copy, no recursion and no memory
// of their own (see TreeCursorC, which also gives each node's depth, and what
// may change during a walk). A null tree gives an empty range. Nodes are
// lent; the const forms lend them const. A function template and a class
// template for one facility: the header is named after it, as NodeCast.h is.
#ifndef ALGEXPR_TREEWALK_H
#define ALGEXPR_TREEWALK_H

#include <cstddef>
#include <iterator>
#include <type_traits>

#include "algexpr/NodeABC.h"
#include "algexpr/TreeCursorC.h"
#include "algexpr/VisitationOrderE.h"

namespace qorv::math::algexpr {

/// The nodes of a tree in one order; its iterator is an input iterator whose
/// elements are `NodeT*`.
template <class NodeT>
class TreeRangeTC {
public:
    class IteratorC {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = NodeT*;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = NodeT*;

        IteratorC() = default;
        NodeT* operator*() const { return const_cast<NodeT*>(cursor.node()); }
        IteratorC& operator++() {
            cursor.next();
            return *this;
        }
        IteratorC operator++(int) {
            IteratorC before = *this;
            cursor.next();
            return before;
        }
        // A walk meets each node once, so the node tells positions apart.
        friend bool operator==(const IteratorC& a, const IteratorC& b) { return a.cursor.node() == b.cursor.node(); }
        friend bool operator!=(const IteratorC& a, const IteratorC& b) { return !(a == b); }

    private:
        friend class TreeRangeTC;
        explicit IteratorC(const TreeCursorC& start) : cursor(start) {}

        TreeCursorC cursor;
    };

    TreeRangeTC(NodeT* tree, VisitationOrderE order) : tree_p(tree), order(order) {}
    IteratorC begin() const { return IteratorC(TreeCursorC(tree_p, order)); }
    IteratorC end() const { return IteratorC(TreeCursorC()); }

private:
    NodeT* tree_p;
    VisitationOrderE order;
};

/// Every node of `tree`, each function node before its arguments.
inline TreeRangeTC<NodeABC> preOrder(NodeABC* tree) { return TreeRangeTC<NodeABC>(tree, PreOrder); }
inline TreeRangeTC<const NodeABC> preOrder(const NodeABC* tree) { return TreeRangeTC<const NodeABC>(tree, PreOrder); }

/// Every node of `tree`, each function node after its arguments.
inline TreeRangeTC<NodeABC> postOrder(NodeABC* tree) { return TreeRangeTC<NodeABC>(tree, PostOrder); }
inline TreeRangeTC<const NodeABC> postOrder(const NodeABC* tree) {
    return TreeRangeTC<const NodeABC>(tree, PostOrder);
}

}  // namespace qorv::math::algexpr

#endif
