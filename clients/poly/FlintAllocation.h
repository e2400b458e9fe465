// SPDX-License-Identifier: MIT
// FLINT aborts the process when an allocation fails (flint_malloc and its
// kin call flint_abort on a null block), and on a few internal errors. On
// the host's request, with the same session setting that installs
// GmpAllocation.h's functions for GMP (FLINT's big integers are GMP's), an
// engine client replaces, process-wide and for good, FLINT's allocation
// functions with these, which fail as operator new does (the new-handler
// while one is installed, otherwise std::bad_alloc, caught at the client's
// boundary), and FLINT's abort with one that throws std::bad_alloc too (its
// other aborts are exponent overflows and the like, which the polynomial
// layer's bounds keep it from). Throwing through FLINT's C frames leaves
// what FLINT was building unreclaimed: a leak on a path that was a crash.
// They allocate with malloc as FLINT's own do, so blocks from before them
// are freed correctly.
//
// One rule for every client in a process, as for GMP: each installs exactly
// these (header only: the copies differ in address only), never restores
// earlier ones, and installs no others.
#ifndef ALGEXPR_CLIENTS_POLY_FLINTALLOCATION_H
#define ALGEXPR_CLIENTS_POLY_FLINTALLOCATION_H

#include <flint/flint.h>

#include "GmpAllocation.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace qorv::math::algexpr::poly::flint {

// malloc's and realloc's loops are GMP's (operator new's); calloc's is FLINT's own.
using support::gmp::allocate;
using support::gmp::outOfMemory;

inline void* allocateZeroed(std::size_t count, std::size_t size) {
    for (;;) {
        if (void* block = std::calloc(count != 0 ? count : 1, size != 0 ? size : 1)) {
            return block;
        }
        outOfMemory();
    }
}

inline void* reallocate(void* block, std::size_t size) { return support::gmp::reallocate(block, 0, size); }

inline void release(void* block) { std::free(block); }

// FLINT wants a noreturn function in its own (GNU) spelling, which is part
// of the pointer type for clang.
FLINT_NORETURN inline void failed() { throw std::bad_alloc(); }

inline std::atomic<bool>& installedHere() {
    static std::atomic<bool> installed{false};
    return installed;
}

/// Installs them (once; later calls do nothing). Must run where no FLINT
/// work of the client runs at the same time.
inline void install() noexcept {
    if (!installedHere().exchange(true)) {
        __flint_set_memory_functions(allocate, allocateZeroed, reallocate, release);
        flint_set_abort(failed);
    }
}

inline bool installed() noexcept { return installedHere().load(); }

}  // namespace qorv::math::algexpr::poly::flint

#endif
