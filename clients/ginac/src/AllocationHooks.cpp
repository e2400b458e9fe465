// SPDX-License-Identifier: MIT
#include "AllocationHooks.h"

#include <gmp.h>

#include <atomic>
#include <cln/malloc.h>
#include <cstdlib>
#include <new>

namespace qorv::math::algexpr::ginac::detail {

namespace {

std::atomic<bool> installed{false};

// operator new's loop: the new-handler gets a chance after each failure.
void outOfMemory() {
    const std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) {
        throw std::bad_alloc();
    }
    handler();
}

void* allocate(std::size_t size) {
    for (;;) {
        void* block = std::malloc(size != 0 ? size : 1);
        if (block != nullptr) {
            return block;
        }
        outOfMemory();
    }
}

void* reallocate(void* block, std::size_t, std::size_t size) {
    for (;;) {
        void* moved = std::realloc(block, size != 0 ? size : 1);
        if (moved != nullptr) {
            return moved;
        }
        outOfMemory();
    }
}

void release(void* block, std::size_t) { std::free(block); }

}  // namespace

void installAllocationHooks() noexcept {
    if (!installed.exchange(true)) {
        mp_set_memory_functions(allocate, reallocate, release);
        cln::malloc_hook = allocate;
    }
}

bool allocationHooksInstalled() noexcept { return installed.load(); }

}  // namespace qorv::math::algexpr::ginac::detail
