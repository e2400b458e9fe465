// SPDX-License-Identifier: MIT
#include "algexpr/detail/ForkSafeLocksC.h"

#include <new>
#include <thread>

#if defined(__unix__) || defined(__APPLE__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace qorv::math::algexpr::detail {

namespace {

constexpr std::size_t kLine = 64;  // one lock per cache line: no false sharing
constexpr std::size_t kStaticLocks = 64;

// For locks that found no memory of their own.
std::atomic<std::uint32_t> static_locks[kStaticLocks * (kLine / sizeof(std::uint32_t))];

// Memory the kernel hands a forked child zeroed; null when there is none.
unsigned char* wipedMemory(std::size_t bytes) noexcept {
#if defined(MADV_WIPEONFORK)
    void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) {
        return nullptr;
    }
    if (madvise(memory, bytes, MADV_WIPEONFORK) != 0) {
        munmap(memory, bytes);
        return nullptr;
    }
    return static_cast<unsigned char*>(memory);
#else
    (void)bytes;
    return nullptr;
#endif
}

std::size_t pageSize() noexcept {
#if defined(__unix__) || defined(__APPLE__)
    const long size = sysconf(_SC_PAGESIZE);
    return size > 0 ? static_cast<std::size_t>(size) : 4096;
#else
    return 4096;
#endif
}

}  // namespace

ForkSafeLocksC::ForkSafeLocksC(std::size_t count) noexcept
    : memory_p(nullptr), bytes(0), mapped(false), wiped(false) {
    const std::size_t page = pageSize();
    const std::size_t wanted = (count * kLine + page - 1) / page * page;
    memory_p = wipedMemory(wanted);
    if (memory_p != nullptr) {
        bytes = wanted;
        mapped = true;
        wiped = true;
    } else {
        memory_p = static_cast<unsigned char*>(::operator new(count * kLine, std::align_val_t(kLine), std::nothrow));
        bytes = count * kLine;
    }
    for (std::size_t i = 0; memory_p != nullptr && i < count; ++i) {
        new (memory_p + i * kLine) std::atomic<std::uint32_t>(0);
    }
}

ForkSafeLocksC::~ForkSafeLocksC() {
    if (memory_p == nullptr) {
        return;
    }
#if defined(MADV_WIPEONFORK)
    if (mapped) {
        munmap(memory_p, bytes);
        return;
    }
#endif
    ::operator delete(memory_p, std::align_val_t(kLine));
}

std::atomic<std::uint32_t>& ForkSafeLocksC::word(std::size_t index) noexcept {
    if (memory_p == nullptr) {
        return static_locks[(index % kStaticLocks) * (kLine / sizeof(std::uint32_t))];
    }
    return *std::launder(reinterpret_cast<std::atomic<std::uint32_t>*>(memory_p + index * kLine));
}

void ForkSafeLocksC::lock(std::size_t index) noexcept {
    std::atomic<std::uint32_t>& held = word(index);
    for (;;) {
        if (held.exchange(1, std::memory_order_acquire) == 0) {
            return;
        }
        for (int spin = 0; held.load(std::memory_order_relaxed) != 0; ++spin) {
            if (spin >= 100) {
                std::this_thread::yield();  // let a preempted holder finish
                spin = 0;
            }
        }
    }
}

void ForkSafeLocksC::unlock(std::size_t index) noexcept { word(index).store(0, std::memory_order_release); }

}  // namespace qorv::math::algexpr::detail
