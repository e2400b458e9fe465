// SPDX-License-Identifier: MIT
#include "algexpr/ParentNodeABC.h"
#include "support/NodeAccess.h"

#include <atomic>
#include <climits>
#include <cstddef>
#include <memory>
#include <new>
#include <vector>

#include "Castable.h"
#include "ChildSlot.h"
#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/ExtendedFunctionNodeC.h"
#include "algexpr/NodeVisitorABC.h"
#include "support/OutOfMemory.h"

namespace qorv::math::algexpr {

namespace {

// The node when it is one of the library's own function node classes, whose
// children the walks below take over; null for leaves and for classes that
// clients derive (told apart by their own castable ids), which are left to
// their own virtual operations.
ParentNodeABC* asLibraryParent(const NodeABC* node) {
    const char16_t* id = node->qCastableId();
    if (id == CoreFunctionNodeC::getCastableId() || id == ExtendedFunctionNodeC::getCastableId()) {
        return static_cast<ParentNodeABC*>(const_cast<NodeABC*>(node));
    }
    return nullptr;
}

// Whether a buffer of `kHeaderSlots` header and `children` slots has a size
// in bytes. Only a size_t no wider than unsigned int can fall short.
template <std::size_t kSlotSize, unsigned int kHeaderSlots>
bool fitsInAddressSpace(unsigned int children) {
    if constexpr (sizeof(std::size_t) > sizeof(unsigned int)) {
        return true;
    } else {
        return children <= static_cast<std::size_t>(-1) / kSlotSize - kHeaderSlots;
    }
}

}  // namespace

ALGEXPR_DEFINE_CASTABLE(ParentNodeABC, NodeABC, u"ParentNodeABC")

// Destruction walks the tree without recursion and without allocating: each
// parent's buffer is taken from it before the parent is deleted, and the
// emptied slot of the buffer being walked remembers where to come back to
// (Deutsch-Schorr-Waite style). The order is that of the recursive definition:
// children in index order, each parent's own destructor before its children's.
ParentNodeABC::~ParentNodeABC() {
    Slot* buffer = children_p;
    children_p = nullptr;
    if (buffer == nullptr) {
        return;
    }
    buffer[1].up.store(nullptr, std::memory_order_relaxed);
    unsigned int next = 0;
    for (;;) {
        if (next < buffer[0].header.size) {
            Slot* slot = &buffer[kHeaderSlots + next];
            NodeABC* node = slot->node;
            ++next;
            if (node == nullptr) {
                continue;
            }
            ParentNodeABC* parent = asLibraryParent(node);
            Slot* inner = nullptr;
            if (parent != nullptr) {
                inner = parent->children_p;
                parent->children_p = nullptr;
            }
            delete node;
            if (inner == nullptr) {
                continue;
            }
            slot->link = buffer;  // the emptied slot remembers its own buffer
            inner[1].up.store(slot, std::memory_order_relaxed);
            buffer = inner;
            next = 0;
        } else {
            Slot* back = buffer[1].up.load(std::memory_order_relaxed);
            ::operator delete(buffer);
            if (back == nullptr) {
                return;
            }
            buffer = back->link;
            next = static_cast<unsigned int>(back - (buffer + kHeaderSlots)) + 1;
        }
    }
}

// Iterative walk with the visit order of the recursive definition. A null
// child is skipped, with no in-order visit beside it.
bool ParentNodeABC::traverse(NodeVisitorABC& visitor) {
    struct Frame {
        ParentNodeABC* node;
        unsigned int next;
        bool visited_child;
    };
    if (visitor.interestedInVisit(PreOrder) && !acceptVisitor(visitor, PreOrder)) {
        return false;
    }
    // The first levels live here, deeper ones in `deeper`: most trees are
    // shallow, and their walks then allocate nothing.
    constexpr std::size_t kNear = 32;
    Frame near[kNear];
    std::size_t depth = 0;
    std::vector<Frame> deeper;
    Frame frame{this, 0, false};
    for (;;) {
        ParentNodeABC* node = frame.node;
        if (frame.next < node->numChildren()) {
            NodeABC* child = node->child(frame.next++);
            if (child == nullptr) {
                continue;
            }
            if (frame.visited_child && visitor.interestedInVisit(InOrder) && !node->acceptVisitor(visitor, InOrder)) {
                return false;
            }
            frame.visited_child = true;
            ParentNodeABC* parent = asLibraryParent(child);
            if (parent == nullptr) {
                if (!child->traverse(visitor)) {
                    return false;
                }
                continue;
            }
            if (visitor.interestedInVisit(PreOrder) && !parent->acceptVisitor(visitor, PreOrder)) {
                return false;
            }
            if (depth < kNear) {
                near[depth] = frame;
            } else {
                try {
                    deeper.push_back(frame);
                } catch (const std::bad_alloc&) {
                    detail::noteOutOfMemory();
                    return false;
                }
            }
            ++depth;
            frame = Frame{parent, 0, false};
        } else {
            if (visitor.interestedInVisit(PostOrder) && !node->acceptVisitor(visitor, PostOrder)) {
                return false;
            }
            if (depth == 0) {
                return true;
            }
            --depth;
            if (depth < kNear) {
                frame = near[depth];
            } else {
                frame = deeper.back();
                deeper.pop_back();
            }
        }
    }
}

void ParentNodeABC::addChild(NodeABC* node) {
    if (node != nullptr && !append(node)) {
        delete node;
    }
}

void ParentNodeABC::addChildrenFromStack(std::stack<NodeABC*>& stack, unsigned int count) {
    if (count == 0 || stack.size() < count) {
        return;
    }
    unsigned int size = numChildren();
    if (count > UINT_MAX - size || !reserve(size + count)) {
        return;
    }
    Slot* first = children_p + kHeaderSlots + size;
    for (unsigned int i = count; i > 0; --i) {
        first[i - 1].node = stack.top();
        stack.pop();
    }
    children_p[0].header.size = size + count;
}

NodeABC* ParentNodeABC::child(unsigned int index) const {
    return index < numChildren() ? children_p[kHeaderSlots + index].node : nullptr;
}

unsigned int ParentNodeABC::numChildren() const { return children_p != nullptr ? children_p[0].header.size : 0; }

void ParentNodeABC::replaceChild(unsigned int index, NodeABC* node) {
    if (index >= numChildren()) {
        delete node;
        return;
    }
    NodeABC* old = children_p[kHeaderSlots + index].node;
    if (old == node) {
        return;
    }
    children_p[kHeaderSlots + index].node = node;
    delete old;
}

namespace {

// A new function node of the same library class and name as `source`,
// without children.
ParentNodeABC* copyFunctionNode(const ParentNodeABC& source) {
    if (source.qCastableId() == CoreFunctionNodeC::getCastableId()) {
        return new (std::nothrow) CoreFunctionNodeC(static_cast<const CoreFunctionNodeC&>(source).getCode());
    }
    return new (std::nothrow) ExtendedFunctionNodeC(static_cast<const ExtendedFunctionNodeC&>(source).getSymbol());
}

}  // namespace

bool ParentNodeABC::cloneChildrenInto(ParentNodeABC& copy) const {
    struct Frame {
        const ParentNodeABC* source;
        ParentNodeABC* copy;
        unsigned int next;
    };
    std::vector<Frame> stack;
    Frame frame{this, &copy, 0};
    for (;;) {
        if (frame.next >= frame.source->numChildren()) {
            if (stack.empty()) {
                return true;
            }
            frame = stack.back();
            stack.pop_back();
            continue;
        }
        NodeABC* child = frame.source->child(frame.next++);
        if (child == nullptr) {
            continue;
        }
        const ParentNodeABC* parent = asLibraryParent(child);
        if (parent == nullptr) {  // a leaf, or a class that copies itself
            NodeABC* node = child->clone();
            if (node == nullptr || !frame.copy->append(node)) {
                delete node;
                return false;
            }
            continue;
        }
        ParentNodeABC* node = copyFunctionNode(*parent);
        if (node == nullptr || !frame.copy->append(node)) {
            delete node;
            return false;
        }
        try {
            stack.push_back(frame);
        } catch (const std::bad_alloc&) {
            return false;
        }
        frame = Frame{parent, node, 0};
    }
}

bool ParentNodeABC::append(NodeABC* node) {
    unsigned int size = numChildren();
    if (size == UINT_MAX || !reserve(size + 1)) {
        return false;
    }
    children_p[kHeaderSlots + size].node = node;
    children_p[0].header.size = size + 1;
    return true;
}

bool ParentNodeABC::reserve(unsigned int wanted) {
    unsigned int capacity = children_p != nullptr ? children_p[0].header.capacity : 0;
    if (wanted <= capacity) {
        return true;
    }
    unsigned int grown = capacity < 2 ? 2 : (capacity > UINT_MAX / 2 ? UINT_MAX : capacity * 2);
    if (grown < wanted) {
        grown = wanted;
    }
    if (!fitsInAddressSpace<sizeof(Slot), kHeaderSlots>(grown)) {
        return false;
    }
    const std::size_t slots = static_cast<std::size_t>(grown) + kHeaderSlots;
    auto* buffer = static_cast<Slot*>(::operator new(slots * sizeof(Slot), std::nothrow));
    if (buffer == nullptr) {
        return false;
    }
    unsigned int size = numChildren();
    for (unsigned int i = 0; i < size; ++i) {
        buffer[kHeaderSlots + i].node = children_p[kHeaderSlots + i].node;
    }
    buffer[0].header = Slot::Header{size, grown};
    buffer[1].up.store(nullptr, std::memory_order_relaxed);
    buffer[2].at.store(0, std::memory_order_relaxed);
    ::operator delete(children_p);
    children_p = buffer;
    return true;
}

}  // namespace qorv::math::algexpr

namespace qorv::math::algexpr::detail {

NodeABC* NodeAccess::release(ParentNodeABC& parent, unsigned int index) noexcept {
    if (index >= parent.numChildren()) {
        return nullptr;
    }
    NodeABC*& slot = parent.children_p[ParentNodeABC::kHeaderSlots + index].node;
    NodeABC* child = slot;
    slot = nullptr;
    return child;
}

}  // namespace qorv::math::algexpr::detail
