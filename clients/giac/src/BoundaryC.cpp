// SPDX-License-Identifier: MIT
#include "BoundaryC.h"

#include <atomic>
#include <iostream>
#include <mutex>
#include <new>
#include <streambuf>

#include "FlintAllocation.h"
#include "GmpAllocation.h"
#include "WorkerThreadC.h"
#include "algexpr/giac/GiacEngineC.h"

namespace qorv::math::algexpr::giac::detail {

namespace {

thread_local bool on_boundary = false;  // the thread that runs Giac's work

// Made once and never deleted; null when there was no memory for it.
support::WorkerThreadC* worker() {
    static const support::WorkerThreadC::MessagesS messages{
        u"no thread can be started for Giac", u"the Giac worker has stopped: the process is exiting",
        u"this process was forked while Giac was at work on another thread; Giac cannot be used in it"};
    static auto* made = new (std::nothrow) support::WorkerThreadC(GiacEngineC::kStackBytes, messages);
    return made;
}

// In front of a standard stream's buffer: drops what the worker writes (a
// few of Giac's messages bypass its log, e.g. "sym2rxroot error" from some
// limits) and passes everything else on to the buffer it wraps.
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

std::atomic<bool> filtered{false};

struct LaunchS {
    BoundaryC::JobF job;
    void* context;
};

void launch(void* argument) {
    on_boundary = true;
    const auto* what = static_cast<const LaunchS*>(argument);
    what->job(what->context);
}

}  // namespace

bool BoundaryC::run(JobF job, void* context) noexcept {
    support::WorkerThreadC* w = worker();
    if (w == nullptr) {
        return false;
    }
    LaunchS what{job, context};
    return w->run(launch, &what);
}

const char16_t* BoundaryC::whyNot() noexcept {
    support::WorkerThreadC* w = worker();
    return w == nullptr ? u"no thread can be started for Giac" : w->whyNot();
}

bool BoundaryC::throwOnAllocationFailure() noexcept {
    return run(
        [](void*) {
            support::gmp::install();
            poly::flint::install();  // the polynomial layer's FLINT
        },
        nullptr);
}

bool BoundaryC::throwsOnAllocationFailure() noexcept { return support::gmp::installed(); }

// The filters stay for the life of the process: made once, never deleted,
// so that they outlive every static object that writes to the streams.
void BoundaryC::filterStandardStreams() noexcept {
    static std::once_flag once;
    try {
        std::call_once(once, [] {
            for (std::ostream* stream : {&std::cout, &std::cerr, &std::clog}) {
                auto* filter = new (std::nothrow) FilterC(stream->rdbuf());
                if (filter != nullptr) {
                    stream->rdbuf(filter);
                }
            }
            filtered.store(true);
        });
    } catch (...) {  // call_once could not run: nothing changed
    }
}

bool BoundaryC::filtersStandardStreams() noexcept { return filtered.load(); }

}  // namespace qorv::math::algexpr::giac::detail
