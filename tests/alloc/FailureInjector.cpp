// SPDX-License-Identifier: MIT
#include "FailureInjector.h"

#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

FailureInjector::Mode mode = FailureInjector::None;
long target = 0;
long counted = 0;
bool armed = false;
bool injected = false;
long live_allocations = 0;

bool failAllocation() {
    if (!armed || (mode != FailureInjector::FailOnce && mode != FailureInjector::FailFromThen)) {
        return false;
    }
    ++counted;
    const bool fail = mode == FailureInjector::FailOnce ? counted == target : counted >= target;
    injected = injected || fail;
    return fail;
}

void* allocate(std::size_t size, std::size_t alignment) noexcept {
    void* p = nullptr;
    if (failAllocation()) {
        return nullptr;
    } else if (alignment == 0) {
        p = std::malloc(size != 0 ? size : 1);
    } else if (posix_memalign(&p, alignment, size != 0 ? size : 1) != 0) {
        p = nullptr;
    }
    live_allocations += p != nullptr ? 1 : 0;
    return p;
}

void* allocateOrThrow(std::size_t size, std::size_t alignment) {
    if (void* p = allocate(size, alignment)) {
        return p;
    }
    throw std::bad_alloc();
}

void release(void* p) noexcept {
    if (p != nullptr) {
        --live_allocations;
        std::free(p);
    }
}

}  // namespace

void FailureInjector::prepare(Mode m, long k) {
    mode = m;
    target = k;
    counted = 0;
    injected = false;
}

FailureInjector::Armed::Armed() { armed = true; }
FailureInjector::Armed::~Armed() { armed = false; }

bool FailureInjector::fired() { return injected; }

long FailureInjector::live() { return live_allocations; }

void FailureInjector::clientCall() {
    if (armed && mode == ClientThrows && ++counted == target) {
        injected = true;
        throw ClientError{target};
    }
}

using std::align_val_t;
using std::nothrow_t;
using std::size_t;

void* operator new(size_t n) { return allocateOrThrow(n, 0); }
void* operator new[](size_t n) { return allocateOrThrow(n, 0); }
void* operator new(size_t n, const nothrow_t&) noexcept { return allocate(n, 0); }
void* operator new[](size_t n, const nothrow_t&) noexcept { return allocate(n, 0); }
void* operator new(size_t n, align_val_t a) { return allocateOrThrow(n, static_cast<size_t>(a)); }
void* operator new[](size_t n, align_val_t a) { return allocateOrThrow(n, static_cast<size_t>(a)); }
void* operator new(size_t n, align_val_t a, const nothrow_t&) noexcept { return allocate(n, static_cast<size_t>(a)); }
void* operator new[](size_t n, align_val_t a, const nothrow_t&) noexcept { return allocate(n, static_cast<size_t>(a)); }
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, size_t) noexcept { release(p); }
void operator delete[](void* p, size_t) noexcept { release(p); }
void operator delete(void* p, const nothrow_t&) noexcept { release(p); }
void operator delete[](void* p, const nothrow_t&) noexcept { release(p); }
void operator delete(void* p, align_val_t) noexcept { release(p); }
void operator delete[](void* p, align_val_t) noexcept { release(p); }
void operator delete(void* p, size_t, align_val_t) noexcept { release(p); }
void operator delete[](void* p, size_t, align_val_t) noexcept { release(p); }
void operator delete(void* p, align_val_t, const nothrow_t&) noexcept { release(p); }
void operator delete[](void* p, align_val_t, const nothrow_t&) noexcept { release(p); }
