// SPDX-License-Identifier: MIT
// GMP aborts the process when an allocation fails. On the host's request
// (each engine client's session has a setting for it, off by default), an
// engine client replaces GMP's allocation functions, process-wide and for
// good, with these, which fail as operator new does: they call the
// new-handler while one is installed (it may free memory, throw or end the
// process) and otherwise throw std::bad_alloc, which the client catches at
// its boundary. They allocate with malloc as GMP's own do, so values
// allocated before they were installed are freed correctly.
//
// One rule for every client in a process: each installs exactly these
// functions (this header is compiled into each client, so the copies differ
// in address only), never restores earlier ones, and never installs others.
// Whichever client installs them first or last, GMP behaves the same.
//
// Header only, so that the support objects of a client without GMP need no
// GMP: include it only where <gmp.h> is available.
#ifndef ALGEXPR_CLIENTS_SUPPORT_GMPALLOCATION_H
#define ALGEXPR_CLIENTS_SUPPORT_GMPALLOCATION_H

#include <gmp.h>

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace qorv::math::algexpr::support::gmp {

// operator new's loop: the new-handler gets a chance after each failure.
inline void outOfMemory() {
    const std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) {
        throw std::bad_alloc();
    }
    handler();
}

inline void* allocate(std::size_t size) {
    for (;;) {
        void* block = std::malloc(size != 0 ? size : 1);
        if (block != nullptr) {
            return block;
        }
        outOfMemory();
    }
}

inline void* reallocate(void* block, std::size_t, std::size_t size) {
    for (;;) {
        void* moved = std::realloc(block, size != 0 ? size : 1);
        if (moved != nullptr) {
            return moved;
        }
        outOfMemory();
    }
}

inline void release(void* block, std::size_t) { std::free(block); }

inline std::atomic<bool>& installedHere() {
    static std::atomic<bool> installed{false};
    return installed;
}

/// Installs them (once; later calls do nothing). Must run where no GMP work
/// of the client runs at the same time.
inline void install() noexcept {
    if (!installedHere().exchange(true)) {
        mp_set_memory_functions(allocate, reallocate, release);
    }
}

/// Whether this client installed them in this process.
inline bool installed() noexcept { return installedHere().load(); }

}  // namespace qorv::math::algexpr::support::gmp

#endif
