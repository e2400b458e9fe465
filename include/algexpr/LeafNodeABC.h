// SPDX-License-Identifier: MIT
// LeafNodeABC: the base of the nodes without children (symbols and numbers).
// A leaf's traversal is a single visit with LeafOrder.
#ifndef ALGEXPR_LEAFNODEABC_H
#define ALGEXPR_LEAFNODEABC_H

#include "algexpr/NodeABC.h"

namespace qorv::math::algexpr {

class ALGEXPR_API LeafNodeABC : public NodeABC {
public:
    LeafNodeABC() = default;
    ~LeafNodeABC() override;

    /// One visit: acceptVisitor(visitor, LeafOrder); the mask is not consulted.
    bool traverse(NodeVisitorABC& visitor) override;
    void* lookUpBase(const char16_t* castable_id) const override;
    const char16_t* qCastableId() const override;

    static const char16_t* getCastableId();

private:
    static const char16_t* const TheCastableId;
};

}  // namespace qorv::math::algexpr

#endif
