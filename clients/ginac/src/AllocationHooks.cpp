// SPDX-License-Identifier: MIT
#include "AllocationHooks.h"

#include <gmp.h>

#include <cln/malloc.h>
#include <cstdlib>
#include <new>

namespace qorv::math::algexpr::ginac::detail {

namespace {

void* allocate(std::size_t size) {
    void* block = std::malloc(size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}

void* reallocate(void* block, std::size_t, std::size_t size) {
    void* moved = std::realloc(block, size);
    if (moved == nullptr) {
        throw std::bad_alloc();
    }
    return moved;
}

void release(void* block, std::size_t) { std::free(block); }

}  // namespace

void installAllocationHooks() noexcept {
    mp_set_memory_functions(allocate, reallocate, release);
    cln::malloc_hook = allocate;
}

}  // namespace qorv::math::algexpr::ginac::detail
