// SPDX-License-Identifier: MIT
#include "BoundaryC.h"

#include <atomic>
#include <iostream>
#include <mutex>
#include <new>
#include <streambuf>
#include <string>

#include "FlintAllocation.h"
#include "GmpAllocation.h"
#include "algexpr/Utf8C.h"
#include "algexpr/giac/GiacEngineC.h"

namespace qorv::math::algexpr::giac::detail {

namespace {

// Giac's messages end with its category ("... Error: Bad Argument Value").
std::u16string messageOf(const char* what) {
    std::string text = what;
    const std::size_t category = text.find(" Error: ");
    if (category != std::string::npos && category > 0) {
        text.erase(category);
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return text.empty() ? u"Giac failed" : u"Giac: " + Utf8C::toUtf16(text);
}

// Whether the calling thread is the one that runs Giac's work.
bool onBoundary() noexcept { return BoundaryC::driver().onThread(); }

// In front of a standard stream's buffer: drops what the worker writes (a
// few of Giac's messages bypass its log, e.g. "sym2rxroot error" from some
// limits) and passes everything else on to the buffer it wraps.
class FilterC : public std::streambuf {
public:
    explicit FilterC(std::streambuf* inner) : inner(inner) {}

protected:
    int overflow(int c) override {
        if (c == traits_type::eof() || onBoundary()) {
            return traits_type::not_eof(c);
        }
        return inner == nullptr ? traits_type::eof() : inner->sputc(static_cast<char>(c));
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        if (onBoundary()) {
            return count;
        }
        return inner == nullptr ? 0 : inner->sputn(text, count);
    }
    int sync() override { return inner == nullptr || onBoundary() ? 0 : inner->pubsync(); }

private:
    std::streambuf* inner;
};

std::atomic<bool> filtered{false};

}  // namespace

support::EngineDriverC& BoundaryC::driver() noexcept {
    static const support::EngineDriverC::MessagesS messages{
        {u"no thread can be started for Giac", u"the Giac worker has stopped: the process is exiting",
         u"this process was forked while Giac was at work on another thread; Giac cannot be used in it"},
        u"Giac failed"};
    return support::EngineDriverC::of<GiacEngineC>(GiacEngineC::kStackBytes, messages, messageOf);
}

bool BoundaryC::throwOnAllocationFailure() noexcept {
    return driver().run(
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
