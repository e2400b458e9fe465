// SPDX-License-Identifier: MIT
#include "algexpr/TreeCursorC.h"

#include <atomic>

#include "ChildSlot.h"
#include "NodeKind.h"

namespace qorv::math::algexpr {

// The cursor stands at node_p, which is the child `index` of the buffer
// siblings_p (or the root, with siblings_p null). Going down into a node
// writes into the node's own children buffer where the node itself stands
// (siblings_p, index), in slots 1 and 2; going up reads them back. The root's
// buffer is never written: the walk knows it is back at the root when it
// leaves root_children_p, and a walk of the whole tree may stand below this
// root and rely on what its own descent wrote there.

TreeCursorC::TreeCursorC(const NodeABC* tree, VisitationOrderE order) noexcept
    : root_p(tree), node_p(tree), post_order(order == PostOrder) {
    if (post_order && node_p != nullptr) {
        leftmostLeaf();
    }
}

void TreeCursorC::next() noexcept {
    if (node_p == nullptr) {
        return;
    }
    if (post_order) {
        nextPostOrder();
    } else {
        nextPreOrder();
    }
}

const TreeCursorC::Slot* TreeCursorC::childrenOf(const NodeABC* node) noexcept {
    const ParentNodeABC* parent = detail::asParent(node);
    return parent != nullptr ? parent->children_p : nullptr;
}

// The index of the first non-null child at `from` or after it; the number of
// children when there is none. A null buffer has no children.
unsigned int TreeCursorC::firstChild(const Slot* buffer, unsigned int from) noexcept {
    if (buffer == nullptr) {
        return 0;
    }
    const unsigned int size = buffer[0].header.size;
    while (from < size && buffer[ParentNodeABC::kHeaderSlots + from].node == nullptr) {
        ++from;
    }
    return from;
}

// Goes down from node_p to its child `index`, which exists.
void TreeCursorC::down(const Slot* children, unsigned int child) noexcept {
    if (node_p == root_p) {
        root_children_p = children;
    } else {
        Slot* writable = const_cast<Slot*>(children);
        writable[1].up.store(const_cast<Slot*>(siblings_p), std::memory_order_relaxed);
        writable[2].at.store(index, std::memory_order_relaxed);
    }
    siblings_p = children;
    index = child;
    node_p = children[ParentNodeABC::kHeaderSlots + child].node;
    ++level;
}

void TreeCursorC::leftmostLeaf() noexcept {
    for (;;) {
        const Slot* children = childrenOf(node_p);
        const unsigned int child = firstChild(children, 0);
        if (children == nullptr || child == children[0].header.size) {
            return;
        }
        down(children, child);
    }
}

// Moves to the next non-null sibling of node_p, if there is one.
bool TreeCursorC::nextSibling() noexcept {
    const unsigned int sibling = firstChild(siblings_p, index + 1);
    if (sibling == siblings_p[0].header.size) {
        return false;
    }
    index = sibling;
    node_p = siblings_p[ParentNodeABC::kHeaderSlots + sibling].node;
    return true;
}

// Moves from node_p, which is not the root, to its parent.
void TreeCursorC::up() noexcept {
    --level;
    if (siblings_p == root_children_p) {
        node_p = root_p;
        siblings_p = nullptr;
        index = 0;
        return;
    }
    index = siblings_p[2].at.load(std::memory_order_relaxed);
    siblings_p = siblings_p[1].up.load(std::memory_order_relaxed);
    node_p = siblings_p[ParentNodeABC::kHeaderSlots + index].node;
}

void TreeCursorC::nextPreOrder() noexcept {
    const Slot* children = childrenOf(node_p);
    const unsigned int child = firstChild(children, 0);
    if (children != nullptr && child < children[0].header.size) {
        down(children, child);
        return;
    }
    // Up past the parents, met already, to the first that has a next argument.
    while (siblings_p != nullptr) {
        if (nextSibling()) {
            return;
        }
        up();
    }
    node_p = nullptr;  // back at the root: the walk is over
}

void TreeCursorC::nextPostOrder() noexcept {
    if (siblings_p == nullptr) {  // the root comes last
        node_p = nullptr;
    } else if (nextSibling()) {
        leftmostLeaf();
    } else {
        up();
    }
}

}  // namespace qorv::math::algexpr
