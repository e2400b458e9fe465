// SPDX-License-Identifier: MIT
// TreeCursorC: a position in a walk over every node of a tree, in pre-order
// (a node before its arguments) or post-order (its arguments first), left to
// right. The ranges of TreeWalk.h are built on it; use it directly when the
// depth of each node matters too:
//
//   for (TreeCursorC c(tree, PreOrder); c.node() != nullptr; c.next()) {
//       indent(c.depth());   // 0 for the tree's root
//       show(c.node()->toString());
//   }
//
// The walk needs no stack and allocates nothing, whatever the tree's depth or
// width: going down into a function node it leaves in that node's list of
// children the way back up (the list that holds the node, and where). That
// way back is a fact of the tree's shape, the same whichever walk writes it,
// and written atomically, so walks may nest (a walk of a subtree inside a
// walk of the whole tree) and any number of threads may walk one tree that
// no thread changes (see NodeABC.h). Null children are skipped, as traversal
// skips them.
//
// Changing the tree during a walk, on the walking thread while no other
// thread reads the tree: the node the cursor stands at may be given
// new children (replaceChild, addChild) and number values may change
// anywhere; in pre-order the walk then goes down into the new children, in
// post-order it has passed them already. Anything else (the node's siblings
// or ancestors) must stay as it is until the walk ends.
//
// Nodes are lent: the cursor owns nothing, and the tree must outlive it.
#ifndef ALGEXPR_TREECURSORC_H
#define ALGEXPR_TREECURSORC_H

#include <cstddef>

#include "algexpr/ParentNodeABC.h"
#include "algexpr/VisitationOrderE.h"
#include "algexpr/algexpr_export.h"

namespace qorv::math::algexpr {

class ALGEXPR_API TreeCursorC final {
public:
    /// A cursor at the end of a walk.
    TreeCursorC() noexcept = default;
    /// At the first node of `tree` in the order given: PostOrder walks in
    /// post-order, every other value in pre-order. At the end for a null tree.
    TreeCursorC(const NodeABC* tree, VisitationOrderE order) noexcept;

    /// The node the cursor stands at, lent; null at the end.
    const NodeABC* node() const noexcept { return node_p; }
    /// How many function nodes lie between the node and the tree's root: 0
    /// for the root, 1 for its arguments, ...
    std::size_t depth() const noexcept { return level; }
    /// Moves to the next node of the walk; at the end it stays there.
    void next() noexcept;

private:
    using Slot = ParentNodeABC::Slot;

    static const Slot* childrenOf(const NodeABC* node) noexcept;
    static unsigned int firstChild(const Slot* buffer, unsigned int from) noexcept;
    void down(const Slot* children, unsigned int index) noexcept;
    bool nextSibling() noexcept;
    void up() noexcept;
    void leftmostLeaf() noexcept;
    void nextPreOrder() noexcept;
    void nextPostOrder() noexcept;

    const NodeABC* root_p = nullptr;
    const Slot* root_children_p = nullptr;  // the root's children while the walk is below it
    const NodeABC* node_p = nullptr;
    const Slot* siblings_p = nullptr;  // the children buffer that holds node_p; null at the root
    unsigned int index = 0;            // node_p's index in siblings_p
    std::size_t level = 0;
    bool post_order = false;
};

}  // namespace qorv::math::algexpr

#endif
