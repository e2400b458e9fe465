// SPDX-License-Identifier: MIT
// GMP and CLN abort the process when an allocation fails. On request
// (GinacSessionC::setThrowOnAllocationFailure), these replace their
// allocation functions, process-wide and for good, with ones that fail as
// operator new does: they call the new-handler while one is installed (it
// may free memory, throw or end the process) and otherwise throw
// std::bad_alloc, which the engine catches at its boundary like any other
// exception. They allocate with malloc like GMP's own, so values allocated
// before they were installed are freed correctly.
#ifndef ALGEXPR_GINAC_SRC_ALLOCATIONHOOKS_H
#define ALGEXPR_GINAC_SRC_ALLOCATIONHOOKS_H

namespace qorv::math::algexpr::ginac::detail {

/// Installs the replacements (once; later calls do nothing). Must run where
/// no GMP or CLN work runs at the same time: on the worker.
void installAllocationHooks() noexcept;
/// Whether they are installed in this process.
bool allocationHooksInstalled() noexcept;

}  // namespace qorv::math::algexpr::ginac::detail

#endif
