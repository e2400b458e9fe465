// SPDX-License-Identifier: MIT
#include "BoundaryC.h"

#include <gmp.h>
#include <pthread.h>

#include <cstdlib>
#include <mutex>
#include <new>

#include "algexpr/giac/GiacEngineC.h"

namespace qorv::math::algexpr::giac::detail {

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

struct LaunchS {
    BoundaryC::JobF job;
    void* context;
};

void* start(void* argument) {
    static std::once_flag hooks;
    std::call_once(hooks, [] { mp_set_memory_functions(allocate, reallocate, release); });
    const LaunchS* launch = static_cast<const LaunchS*>(argument);
    launch->job(launch->context);
    return nullptr;
}

}  // namespace

bool BoundaryC::run(JobF job, void* context) noexcept {
    static std::mutex turns;
    std::lock_guard<std::mutex> turn(turns);
    LaunchS launch{job, context};
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) {
        return false;
    }
    pthread_t thread;
    const bool started = pthread_attr_setstacksize(&attributes, GiacEngineC::kStackBytes) == 0 &&
                         pthread_create(&thread, &attributes, start, &launch) == 0;
    pthread_attr_destroy(&attributes);
    if (started) {
        pthread_join(thread, nullptr);
    }
    return started;
}

}  // namespace qorv::math::algexpr::giac::detail
