// SPDX-License-Identifier: MIT
// ExprValueC: an expression as Python holds it, an immutable view of a
// subtree. The whole tree is shared (std::shared_ptr of its root); a view of
// an argument aliases the same owner, so .args, iteration and match bindings
// cost no copy. Operators copy their operands into the tree they build.
#ifndef ALGEXPR_PYTHON_EXPRVALUEC_H
#define ALGEXPR_PYTHON_EXPRVALUEC_H

#include <memory>
#include <utility>

#include "algexpr/ExprC.h"
#include "algexpr/NodeABC.h"

namespace qorv::math::algexpr::python {

class ExprValueC {
public:
    ExprValueC() = default;
    /// Takes a tree of its own (not null).
    explicit ExprValueC(NodeABC* tree) : shared(tree) {}
    /// The tree `shared` points to, owned with whatever holds it.
    explicit ExprValueC(std::shared_ptr<const NodeABC> tree) : shared(std::move(tree)) {}
    /// A view of `node`, which lives inside the tree `owner` holds.
    ExprValueC(const ExprValueC& owner, const NodeABC* node) : shared(owner.shared, node) {}

    const NodeABC* node() const noexcept { return shared.get(); }
    bool isGroup() const noexcept { return group_mark; }
    ExprValueC grouped() const {
        ExprValueC copy = *this;
        copy.group_mark = true;
        return copy;
    }

private:
    std::shared_ptr<const NodeABC> shared;
    bool group_mark = false;
};

}  // namespace qorv::math::algexpr::python

#endif
