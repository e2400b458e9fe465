// SPDX-License-Identifier: MIT
#include "services/NodeCopy.h"

#include <new>

#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/ExtendedFunctionNodeC.h"

namespace qorv::math::algexpr::detail {

unsigned int argumentCount(const ParentNodeABC& node) {
    unsigned int count = 0;
    for (const NodeABC* argument : node.children()) {
        count += argument != nullptr ? 1 : 0;
    }
    return count;
}

// A copy of the function node `source` without arguments, except for a
// client's own class, copied whole by its clone() (its arguments are
// replaced after). Null when memory runs out.
ParentNodeABC* emptyCopy(const ParentNodeABC& source, NodeKind kind) {
    if (kind == NodeKind::CoreFunction) {
        return new (std::nothrow) CoreFunctionNodeC(static_cast<const CoreFunctionNodeC&>(source).getCode());
    }
    if (kind == NodeKind::ExtendedFunction) {
        return new (std::nothrow)
            ExtendedFunctionNodeC(static_cast<const ExtendedFunctionNodeC&>(source).getSymbol());
    }
    return static_cast<ParentNodeABC*>(source.clone());
}

// Gives `copy` the last `count` entries of `built` as its arguments, in order.
// False when memory runs out (the entries are then freed or still in `built`).
bool adoptArguments(ParentNodeABC& copy, bool whole_clone, std::vector<NodeABC*>& built, unsigned int count) {
    const std::size_t first = built.size() - count;
    for (unsigned int i = 0; i < count; ++i) {
        NodeABC* argument = built[first + i];
        built[first + i] = nullptr;
        if (whole_clone) {
            if (i >= copy.numChildren()) {
                delete argument;
                return false;
            }
            copy.replaceChild(i, argument);
        } else {
            const unsigned int before = copy.numChildren();
            copy.addChild(argument);  // deletes it when the list cannot grow
            if (copy.numChildren() == before) {
                return false;
            }
        }
    }
    built.resize(first);
    return true;
}

BuiltNodesC::~BuiltNodesC() {
    for (NodeABC* node : nodes) {
        delete node;
    }
}

NodeABC* BuiltNodesC::takeRoot() {
    if (nodes.size() != 1) {
        return nullptr;
    }
    NodeABC* root = nodes.back();
    nodes.pop_back();
    return root;
}

NodeABC* copyNode(const NodeABC* node, std::vector<NodeABC*>& built, unsigned int entries) {
    const ParentNodeABC* parent = asParent(node);
    if (parent == nullptr) {
        return node->clone();
    }
    const NodeKind kind = kindOf(parent);
    ParentNodeABC* function = emptyCopy(*parent, kind);
    const bool whole = kind != NodeKind::CoreFunction && kind != NodeKind::ExtendedFunction;
    if (function != nullptr && !adoptArguments(*function, whole, built, entries)) {
        delete function;
        function = nullptr;
    }
    return function;
}

}  // namespace qorv::math::algexpr::detail
