// SPDX-License-Identifier: MIT
// PolyRingC: the FLINT context of polynomials over the rationals in the
// generators of one computation, in lexicographic order (generator 0 the
// most significant: the variable of quo and rem), and the graph node each
// generator stands for. Owns the context; FlintPolyC values refer to it.
#ifndef ALGEXPR_CLIENTS_POLY_POLYRINGC_H
#define ALGEXPR_CLIENTS_POLY_POLYRINGC_H

#include <flint/fmpq_mpoly.h>

#include <vector>

#include "ResultGraphC.h"

namespace qorv::math::algexpr::poly {

class PolyRingC {
public:
    /// `generators`: the graph node of each generator, in ring order.
    explicit PolyRingC(std::vector<support::IdT> generators);
    ~PolyRingC();
    PolyRingC(const PolyRingC&) = delete;
    PolyRingC& operator=(const PolyRingC&) = delete;

    const fmpq_mpoly_ctx_struct* get() const { return context; }
    fmpq_mpoly_ctx_struct* get() { return context; }
    const fmpz_mpoly_ctx_struct* integers() const { return context->zctx; }
    const std::vector<support::IdT>& generators() const { return nodes; }
    std::size_t size() const { return nodes.size(); }

private:
    std::vector<support::IdT> nodes;
    fmpq_mpoly_ctx_t context;
};

}  // namespace qorv::math::algexpr::poly

#endif
