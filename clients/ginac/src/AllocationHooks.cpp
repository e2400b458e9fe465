// SPDX-License-Identifier: MIT
#include "AllocationHooks.h"

#include <cln/malloc.h>

#include "FlintAllocation.h"
#include "GmpAllocation.h"

namespace qorv::math::algexpr::ginac::detail {

// GMP and FLINT (the polynomial layer) get the functions every client
// installs; CLN's own hook the same allocation, which fails as operator new
// does.
void installAllocationHooks() noexcept {
    if (!support::gmp::installed()) {
        support::gmp::install();
        poly::flint::install();
        cln::malloc_hook = support::gmp::allocate;
    }
}

bool allocationHooksInstalled() noexcept { return support::gmp::installed(); }

}  // namespace qorv::math::algexpr::ginac::detail
