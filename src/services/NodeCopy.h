// SPDX-License-Identifier: MIT
// Building a copy of a tree bottom-up: a function node copied without its
// arguments, then given the copies of its arguments from the top of a stack.
// Shared by the substitution and the rewriter.
#ifndef ALGEXPR_SRC_SERVICES_NODECOPY_H
#define ALGEXPR_SRC_SERVICES_NODECOPY_H

#include <cstddef>
#include <vector>

#include "algexpr/ParentNodeABC.h"
#include "tree/NodeKind.h"

namespace qorv::math::algexpr::detail {

/// The number of non-null children.
unsigned int argumentCount(const ParentNodeABC& node);

/// A copy of the function node `source` without arguments, except for a
/// client's own class, copied whole by its clone() (its arguments are
/// replaced after). Null when memory runs out.
ParentNodeABC* emptyCopy(const ParentNodeABC& source, NodeKind kind);

/// Gives `copy` the last `count` entries of `built` as its arguments, in
/// order. False when memory runs out (the entries are then freed or still in
/// `built`).
bool adoptArguments(ParentNodeABC& copy, bool whole_clone, std::vector<NodeABC*>& built, unsigned int count);

/// The copies built so far, bottom-up: deleted with the object unless the
/// root is taken.
class BuiltNodesC {
public:
    BuiltNodesC() = default;
    BuiltNodesC(const BuiltNodesC&) = delete;
    BuiltNodesC& operator=(const BuiltNodesC&) = delete;
    ~BuiltNodesC();

    /// The one node left at the end, now the caller's; null when there is
    /// not exactly one.
    NodeABC* takeRoot();
    /// Room for `more` entries, so that pushing them cannot fail.
    void reserve(std::size_t more) {
        if (nodes.size() + more > nodes.capacity()) {
            nodes.reserve(2 * nodes.size() + more + 16);
        }
    }

    std::vector<NodeABC*> nodes;
};

/// A copy of `node`: of a leaf, or of a function that takes the last
/// `entries` of `built` as its arguments. Null when memory runs out.
NodeABC* copyNode(const NodeABC* node, std::vector<NodeABC*>& built, unsigned int entries);

}  // namespace qorv::math::algexpr::detail

#endif
