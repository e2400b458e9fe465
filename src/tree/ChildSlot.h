// SPDX-License-Identifier: MIT
// The slots of a function node's children buffer, shared by the node class
// and the cursor that walks trees without a stack.
#ifndef ALGEXPR_SRC_TREE_CHILDSLOT_H
#define ALGEXPR_SRC_TREE_CHILDSLOT_H

#include <atomic>

#include "algexpr/ParentNodeABC.h"

namespace qorv::math::algexpr {

// The children buffer: slot 0 holds the count and capacity, slots 1 and 2
// the way back up, slots 3.. the children. A walk (TreeCursorC) going down
// into a node writes there the buffer that holds the node and the node's
// index in it, and reads them on the way up, so that it needs no stack. That
// is a fact of the tree's shape, the same whoever writes it, and written
// atomically, so walks of one unchanged tree on several threads do not race.
// Destruction keeps its own way back in slot 1 (the emptied slot above).
union ParentNodeABC::Slot {
    struct Header {
        unsigned int size;
        unsigned int capacity;
    };
    NodeABC* node;
    Slot* link;  // in a child's slot while the tree is destroyed
    Header header;
    std::atomic<Slot*> up;             // slot 1
    std::atomic<unsigned int> at;      // slot 2
};

}  // namespace qorv::math::algexpr

#endif
