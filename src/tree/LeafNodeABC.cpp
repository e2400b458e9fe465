// SPDX-License-Identifier: MIT
#include "algexpr/LeafNodeABC.h"

#include "Castable.h"

namespace qorv::math::algexpr {

ALGEXPR_DEFINE_CASTABLE(LeafNodeABC, NodeABC, u"LeafNodeABC")

LeafNodeABC::~LeafNodeABC() = default;

bool LeafNodeABC::traverse(NodeVisitorABC& visitor) { return acceptVisitor(visitor, LeafOrder); }

}  // namespace qorv::math::algexpr
