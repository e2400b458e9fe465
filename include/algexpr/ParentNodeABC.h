// SPDX-License-Identifier: MIT
// ParentNodeABC: the base of the function nodes, which hold an ordered list
// of children (their arguments), index 0 first.
//
// The parent owns its children: a node handed to addChild or replaceChild
// belongs to the parent from the call on and is deleted with it. Build trees
// bottom-up, or reach a node you handed on through child(): when the list
// cannot grow for want of memory, addChild deletes the node at once.
//
//   auto* f = new ExtendedFunctionNodeC(session->lookupSymbol(u"f"));
//   f->addChild(new ExtendedSymbolNodeC(session->lookupSymbol(u"x")));
//   delete f;   // deletes x too
//
// Null children: only replaceChild with null, or a null entry taken from a
// stack, make one. A null child counts as absent: traversal gives it no visit
// and puts no in-order visit beside it (in-order visits fall between
// consecutive non-null children), and a clone leaves it out, so f(a,null,b)
// prints as f(a,b).
//
// Memory: when the list cannot grow, addChild deletes the node it was given,
// and addChildrenFromStack changes nothing (the entries stay on the stack).
//
// Depth: traversal, cloning and destruction walk with explicit work stacks
// (destruction needs no memory at all), so chains of any depth are fine; they
// keep the order of the recursive definitions (children in index order, a
// parent's own destructor before its children's). Nodes of classes that
// clients derive from the node classes are traversed, cloned and deleted
// through their own virtual operations, so a chain of those nests calls.
#ifndef ALGEXPR_PARENTNODEABC_H
#define ALGEXPR_PARENTNODEABC_H

#include <cstddef>
#include <deque>
#include <iterator>
#include <stack>
#include <type_traits>

#include "algexpr/NodeABC.h"

namespace qorv::math::algexpr {

class TreeCursorC;
namespace detail {
struct NodeAccess;
}

class ALGEXPR_API ParentNodeABC : public NodeABC {
public:
    ParentNodeABC() = default;
    /// Deletes every non-null child, in index order, then the list.
    ~ParentNodeABC() override;

    /// Depth-first walk: pre-order visit, the children with in-order visits
    /// between them, post-order visit, as far as the visitor's mask asks; the
    /// first false answer ends the whole walk. The number of children is asked
    /// afresh after each child, so children a visit appends are walked too.
    bool traverse(NodeVisitorABC& visitor) override;
    void* lookUpBase(const char16_t* castable_id) const override;
    const char16_t* qCastableId() const override;

    static const char16_t* getCastableId();

    /// Appends the node as the last child; null is ignored.
    void addChild(NodeABC* node);

    /// Moves the top `count` entries of the stack to the end of the children,
    /// in the order in which they were pushed. Does nothing when the stack
    /// holds fewer than `count` entries.
    void addChildrenFromStack(std::stack<NodeABC*>& stack, unsigned int count);

    /// The child at `index`, lent; null when index >= numChildren().
    NodeABC* child(unsigned int index) const;

    unsigned int numChildren() const;

    template <class NodeT>
    class ChildRangeTC;
    /// The children in index order, for range-for (null entries included):
    ///
    ///   for (NodeABC* argument : function->children()) { ... }
    ///
    /// The range reads each child through child() when the loop reaches it,
    /// so children replaced during the loop are seen as they are then; it
    /// ends at the number of children there were when the loop began. Lent
    /// nodes, as with child(); the const form lends them const.
    ChildRangeTC<NodeABC> children();
    ChildRangeTC<const NodeABC> children() const;

    /// Deletes the child at `index`, subtree and all, and stores `node` (which
    /// may be null) in its place. With index >= numChildren() the node is
    /// deleted and the children stay as they are; given the very child
    /// already there, nothing changes.
    ///
    /// Never pass a node from inside the child being replaced (to lift a
    /// grandchild into its place, say): it is deleted with that child, and
    /// this node is left holding a deleted node. Pass a copy instead:
    ///   parent->replaceChild(i, grandchild->clone());
    void replaceChild(unsigned int index, NodeABC* node);

protected:
    /// Appends clones of this node's non-null children (deep, without
    /// recursion) to `copy`, which must have no children yet. False when
    /// memory ran out; `copy` then holds whatever was copied so far.
    bool cloneChildrenInto(ParentNodeABC& copy) const;

private:
    friend class TreeCursorC;
    friend struct detail::NodeAccess;  // a child taken out without deleting it
    union Slot;
    // Slots before the children in the buffer: count and capacity, and the
    // way back up that walks leave (see TreeCursorC).
    static constexpr unsigned int kHeaderSlots = 3;

    bool append(NodeABC* node);
    bool reserve(unsigned int wanted);

    // Children buffer: a header (count, capacity, and the way back up for
    // walks and destruction) followed by the child pointers; null while empty.
    Slot* children_p = nullptr;

    static const char16_t* const TheCastableId;
};

/// The light range that children() returns: the parent and nothing else. Its
/// iterator is an input iterator whose elements are `NodeT*`.
template <class NodeT>
class ParentNodeABC::ChildRangeTC {
    using Parent = std::conditional_t<std::is_const_v<NodeT>, const ParentNodeABC, ParentNodeABC>;

public:
    class IteratorC {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = NodeT*;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = NodeT*;

        IteratorC() = default;
        NodeT* operator*() const { return parent_p->child(index); }
        IteratorC& operator++() {
            ++index;
            return *this;
        }
        IteratorC operator++(int) {
            IteratorC before = *this;
            ++index;
            return before;
        }
        friend bool operator==(const IteratorC& a, const IteratorC& b) { return a.index == b.index; }
        friend bool operator!=(const IteratorC& a, const IteratorC& b) { return a.index != b.index; }

    private:
        friend class ChildRangeTC;
        IteratorC(Parent* parent, unsigned int index) : parent_p(parent), index(index) {}

        Parent* parent_p = nullptr;
        unsigned int index = 0;
    };

    explicit ChildRangeTC(Parent* parent) : parent_p(parent) {}
    IteratorC begin() const { return IteratorC(parent_p, 0); }
    IteratorC end() const { return IteratorC(parent_p, parent_p->numChildren()); }
    unsigned int size() const { return parent_p->numChildren(); }
    bool empty() const { return size() == 0; }

private:
    Parent* parent_p;
};

inline ParentNodeABC::ChildRangeTC<NodeABC> ParentNodeABC::children() { return ChildRangeTC<NodeABC>(this); }

inline ParentNodeABC::ChildRangeTC<const NodeABC> ParentNodeABC::children() const {
    return ChildRangeTC<const NodeABC>(this);
}

}  // namespace qorv::math::algexpr

#endif
