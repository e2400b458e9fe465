// SPDX-License-Identifier: MIT
#include "BoundaryC.h"

#include <gmp.h>
#include <pthread.h>

#include <cstdlib>
#include <iostream>
#include <mutex>
#include <new>
#include <streambuf>

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

thread_local bool on_boundary = false;  // a thread that runs Giac's work

// In front of a standard stream's buffer: drops what the boundary's threads
// write (a few of Giac's messages bypass its log, e.g. "sym2rxroot error"
// from some limits) and passes everything else on to the buffer it wraps.
class FilterC : public std::streambuf {
public:
    explicit FilterC(std::streambuf* inner) : inner(inner) {}

protected:
    int overflow(int c) override {
        if (on_boundary || c == traits_type::eof()) {
            return traits_type::not_eof(c);
        }
        return inner == nullptr ? traits_type::eof() : inner->sputc(static_cast<char>(c));
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        if (on_boundary) {
            return count;
        }
        return inner == nullptr ? 0 : inner->sputn(text, count);
    }
    int sync() override { return on_boundary || inner == nullptr ? 0 : inner->pubsync(); }

private:
    std::streambuf* inner;
};

// Puts the filters in front of std::cout's, std::cerr's and std::clog's
// buffers, once; they stay for the life of the process (made once, never
// deleted, so that they outlive every static object).
void filterStandardStreams() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (std::ostream* stream : {&std::cout, &std::cerr, &std::clog}) {
            auto* filter = new (std::nothrow) FilterC(stream->rdbuf());
            if (filter != nullptr) {
                stream->rdbuf(filter);
            }
        }
    });
}

struct LaunchS {
    BoundaryC::JobF job;
    void* context;
};

void* start(void* argument) {
    static std::once_flag hooks;
    std::call_once(hooks, [] { mp_set_memory_functions(allocate, reallocate, release); });
    on_boundary = true;
    const LaunchS* launch = static_cast<const LaunchS*>(argument);
    launch->job(launch->context);
    return nullptr;
}

}  // namespace

bool BoundaryC::run(JobF job, void* context) noexcept {
    static std::mutex turns;
    std::lock_guard<std::mutex> turn(turns);
    filterStandardStreams();
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
