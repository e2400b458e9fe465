// SPDX-License-Identifier: MIT
// GMP and CLN abort the process when an allocation fails. These replace
// their allocation functions (process-wide, once) with ones that throw
// std::bad_alloc, which the engine catches at its boundary like any other
// exception. The replacements allocate with malloc like the defaults, so
// memory allocated before they were installed is freed correctly.
#ifndef ALGEXPR_GINAC_SRC_ALLOCATIONHOOKS_H
#define ALGEXPR_GINAC_SRC_ALLOCATIONHOOKS_H

namespace qorv::math::algexpr::ginac::detail {

void installAllocationHooks() noexcept;

}  // namespace qorv::math::algexpr::ginac::detail

#endif
