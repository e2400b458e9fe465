// SPDX-License-Identifier: MIT
// FlintPolyC: one FLINT polynomial with rational coefficients (fmpq_mpoly)
// in a ring of PolyRingC, cleared when it goes. The ring must outlive it.
//
//   FlintPolyC p(ring);
//   fmpq_mpoly_gen(p.get(), 0, ring.get());   // p = the first generator
#ifndef ALGEXPR_CLIENTS_POLY_FLINTPOLYC_H
#define ALGEXPR_CLIENTS_POLY_FLINTPOLYC_H

#include <flint/fmpq_mpoly.h>

#include <utility>

#include "PolyRingC.h"

namespace qorv::math::algexpr::poly {

class FlintPolyC {
public:
    explicit FlintPolyC(const PolyRingC& ring) : ring(&ring) { fmpq_mpoly_init(value, ring.get()); }
    ~FlintPolyC() { fmpq_mpoly_clear(value, ring->get()); }
    FlintPolyC(const FlintPolyC&) = delete;
    FlintPolyC& operator=(const FlintPolyC&) = delete;

    fmpq_mpoly_struct* get() { return value; }
    const fmpq_mpoly_struct* get() const { return value; }
    void swap(FlintPolyC& other) { fmpq_mpoly_swap(value, other.value, ring->get()); }
    bool isZero() const { return fmpq_mpoly_is_zero(value, ring->get()) != 0; }
    bool isOne() const { return fmpq_mpoly_is_one(value, ring->get()) != 0; }
    long terms() const { return fmpq_mpoly_length(value, ring->get()); }

private:
    const PolyRingC* ring;
    fmpq_mpoly_t value;
};

}  // namespace qorv::math::algexpr::poly

#endif
