// SPDX-License-Identifier: MIT
#include "WorkerC.h"

#include <new>

#include "WorkerThreadC.h"
#include "algexpr/ginac/GinacEngineC.h"

namespace qorv::math::algexpr::ginac::detail {

namespace {

const char16_t* const kCannotStart = u"the GiNaC worker thread cannot be started";

// Made once and never deleted; null when there was no memory for it.
support::WorkerThreadC* worker() noexcept {
    static const support::WorkerThreadC::MessagesS messages{
        kCannotStart, u"the GiNaC worker has stopped: the process is exiting",
        u"this process was forked while GiNaC was at work on another thread; GiNaC cannot be used in it"};
    static auto* made = new (std::nothrow) support::WorkerThreadC(GinacEngineC::kWorkerStackBytes, messages);
    return made;
}

thread_local bool without_worker = false;  // the last run() found no worker object

}  // namespace

bool WorkerC::run(JobF job, void* context) noexcept {
    support::WorkerThreadC* w = worker();
    without_worker = w == nullptr;
    return w != nullptr && w->run(job, context);
}

const char16_t* WorkerC::whyNot() noexcept {
    support::WorkerThreadC* w = worker();
    return without_worker || w == nullptr ? kCannotStart : w->whyNot();
}

}  // namespace qorv::math::algexpr::ginac::detail
