// SPDX-License-Identifier: MIT
// Cloning of the number nodes: the value object clones itself first, then a
// new node takes the copy. A node without a value clones to one without; a
// value whose clone comes back null (out of memory) makes the clone null.
#ifndef ALGEXPR_SRC_TREE_CLONENUMBERNODE_H
#define ALGEXPR_SRC_TREE_CLONENUMBERNODE_H

#include <memory>
#include <new>

namespace qorv::math::algexpr {

class NodeABC;

template <class Node, class Value>
NodeABC* cloneNumberNode(Value* value) {
    std::unique_ptr<Value> copy;
    if (value != nullptr) {
        copy.reset(value->clone());
        if (!copy) {
            return nullptr;
        }
    }
    Node* node = new (std::nothrow) Node(copy.get());
    if (node != nullptr) {
        copy.release();
    }
    return node;
}

}  // namespace qorv::math::algexpr

#endif
