// SPDX-License-Identifier: MIT
#include "ProgressC.h"

#include <sys/mman.h>

#include <atomic>
#include <ctime>
#include <new>

namespace qorv::math::algexpr::cli {

// Lock-free atomics work across processes in shared memory.
struct ProgressC::PageS {
    std::atomic<std::uint64_t> number;
    std::atomic<std::int64_t> started_ns;
    std::atomic<std::uint64_t> uncapped;  // 1 once a worker could not cap its memory
};
static_assert(std::atomic<std::uint64_t>::is_always_lock_free && std::atomic<std::int64_t>::is_always_lock_free);

ProgressC::ProgressC() : page_p(nullptr) {
    void* page = ::mmap(nullptr, sizeof(PageS), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (page != MAP_FAILED) {
        page_p = new (page) PageS{{0}, {0}, {0}};
    }
}

ProgressC::~ProgressC() {
    if (page_p != nullptr) {
        ::munmap(page_p, sizeof(PageS));
    }
}

bool ProgressC::valid() const { return page_p != nullptr; }

void ProgressC::begin(std::uint64_t number) {
    page_p->started_ns.store(now());
    page_p->number.store(number);
}

void ProgressC::end() { page_p->number.store(0); }

void ProgressC::setUncapped() { page_p->uncapped.store(1); }

bool ProgressC::uncapped() const { return page_p->uncapped.load() != 0; }

ProgressC::MarkS ProgressC::read() const {
    MarkS mark;
    mark.number = page_p->number.load();
    mark.started_ns = page_p->started_ns.load();
    if (page_p->number.load() != mark.number) {  // moved on meanwhile: the next input has just started
        mark.number = page_p->number.load();
        mark.started_ns = now();
    }
    return mark;
}

std::int64_t ProgressC::now() {
    timespec time{};
    ::clock_gettime(CLOCK_MONOTONIC, &time);
    return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

}  // namespace qorv::math::algexpr::cli
