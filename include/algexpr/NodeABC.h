// SPDX-License-Identifier: MIT
// NodeABC: the root of the expression-tree node hierarchy.
//
//   NodeABC
//     LeafNodeABC:   CoreSymbolNodeC, ExtendedSymbolNodeC, IntegerNodeC, FloatNodeC
//     ParentNodeABC: CoreFunctionNodeC, ExtendedFunctionNodeC
//
// Nodes are not reference counted: each has exactly one owner (its creator,
// then the parent or expression it is handed to), and deleting a node deletes
// its whole subtree. Nodes are not copyable; clone() makes a deep copy
// (cloneOwned() the same, in a std::unique_ptr).
//
// Text: toString() is the node's own name or number, toPrefixString() the
// whole subtree ("f(x,2)"); TreePrint.h has infix, LaTeX and std::ostream.
//
// Every node class carries its own type identity, a castable id, instead of
// the language's run-time type information:
//
//   if (void* p = node->lookUpBase(FloatNodeC::getCastableId())) {
//       FloatNodeC* f = static_cast<FloatNodeC*>(p);   // node is a FloatNodeC
//   }
//
// lookUpBase answers for the class's own id and for those of its bases, and
// compares ids by content, so any string with the same text matches. A class
// derived from a node class gives itself an id of its own (overriding
// qCastableId and lookUpBase): that is how the library tells it apart.
//
// Deep trees are fine: traversal, cloning and destruction use explicit work
// stacks, never recursion, so a tree a million levels deep is handled.
//
// Threads: a tree that no thread changes may be read by any number of threads
// at once (walked, printed, copied, compared, searched, substituted into new
// trees); a change to a tree needs the tree to itself. Nodes hold no locks:
// reading writes nothing another reader could find different (a walk leaves
// its way back up in the tree, the same whoever writes it, atomically), and
// number values are read through their own toString and clone, which must
// bear being called at once, as the ready-made clients' do. Changing a tree
// means adding, replacing or deleting its nodes and setting number values.
#ifndef ALGEXPR_NODEABC_H
#define ALGEXPR_NODEABC_H

#include <memory>
#include <string>

#include "algexpr/NumberDisplayFormatE.h"
#include "algexpr/VisitationOrderE.h"
#include "algexpr/algexpr_export.h"

namespace qorv::math::algexpr {

class NodeVisitorABC;

class ALGEXPR_API NodeABC {
public:
    NodeABC() = default;
    NodeABC(const NodeABC&) = delete;
    NodeABC& operator=(const NodeABC&) = delete;
    virtual ~NodeABC();

    /// A new deep copy, owned by the caller; null when memory runs out.
    virtual NodeABC* clone() const = 0;
    /// The same copy, owned by the returned pointer.
    std::unique_ptr<NodeABC> cloneOwned() const { return std::unique_ptr<NodeABC>(clone()); }

    /// Walks the subtree depth-first, calling the visitor (see NodeVisitorABC).
    /// True when the walk ran to its end, false when a visit stopped it or
    /// memory for the walk ran out.
    virtual bool traverse(NodeVisitorABC& visitor) = 0;

    /// The text of this node alone (a name or a number), without children:
    /// "f" for f(x,2). For the subtree, toPrefixString().
    virtual std::u16string toString() const = 0;

    /// The prefix text of the whole subtree under this node, "f(x,2)", as
    /// PrefixPrintVisitorC writes it; the empty text when memory runs out.
    std::u16string toPrefixString(unsigned long digits = 0,
                                  qorv::math::NumberDisplayFormatE format = qorv::math::Standard) const;

    /// Calls the visitor's operation for this node's class and returns its answer.
    virtual bool acceptVisitor(NodeVisitorABC& visitor, VisitationOrderE order) = 0;

    /// This node's address when it is an instance of the class with the given
    /// castable id (that class or a base of it), null otherwise or for null.
    virtual void* lookUpBase(const char16_t* castable_id) const;

    /// The castable id of this node's own class.
    virtual const char16_t* qCastableId() const;

    static const char16_t* getCastableId();

protected:
    /// True when both zero-terminated ids hold the same code units.
    static bool sameCastableId(const char16_t* a, const char16_t* b);

private:
    static const char16_t* const TheCastableId;
};

}  // namespace qorv::math::algexpr

#endif
