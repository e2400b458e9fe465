// SPDX-License-Identifier: MIT
// FlintRationalC: a FLINT rational (fmpq_t) that clears itself; for the
// scalars the polynomial layer computes with. Owns its value.
#ifndef ALGEXPR_CLIENTS_POLY_FLINTRATIONALC_H
#define ALGEXPR_CLIENTS_POLY_FLINTRATIONALC_H

#include <flint/fmpq.h>

namespace qorv::math::algexpr::poly {

struct FlintRationalC {
    FlintRationalC() { fmpq_init(value); }
    ~FlintRationalC() { fmpq_clear(value); }
    FlintRationalC(const FlintRationalC&) = delete;
    FlintRationalC& operator=(const FlintRationalC&) = delete;
    fmpq_t value;
};

}  // namespace qorv::math::algexpr::poly

#endif
