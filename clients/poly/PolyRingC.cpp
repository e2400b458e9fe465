// SPDX-License-Identifier: MIT
#include "PolyRingC.h"

#include <utility>

namespace qorv::math::algexpr::poly {

// FLINT wants at least one variable.
PolyRingC::PolyRingC(std::vector<support::IdT> generators) : nodes(std::move(generators)) {
    fmpq_mpoly_ctx_init(context, nodes.empty() ? 1 : static_cast<slong>(nodes.size()), ORD_LEX);
}

PolyRingC::~PolyRingC() { fmpq_mpoly_ctx_clear(context); }

}  // namespace qorv::math::algexpr::poly
