// SPDX-License-Identifier: MIT
#include "EngineDriverC.h"

#include <exception>
#include <mutex>
#include <new>

#include "RefusalC.h"
#include "algexpr/NodeABC.h"

namespace qorv::math::algexpr::support {

EngineDriverC::EngineDriverC(std::size_t stack_bytes, const MessagesS& messages, MessageF message_of) noexcept
    : stack_bytes(stack_bytes), messages(messages), message_of(message_of) {}

WorkerThreadC* EngineDriverC::thread() noexcept {
    try {
        std::call_once(once, [this] { thread_p = new (std::nothrow) WorkerThreadC(stack_bytes, messages.thread); });
    } catch (...) {  // call_once could not run: no thread
    }
    return thread_p;
}

bool EngineDriverC::run(JobF job, void* context) noexcept {
    WorkerThreadC* worker = thread();
    return worker != nullptr && worker->run(job, context);
}

const char16_t* EngineDriverC::whyNot() noexcept {
    WorkerThreadC* worker = thread();
    return worker == nullptr ? messages.thread.cannot_start : worker->whyNot();
}

bool EngineDriverC::onThread() noexcept {
    WorkerThreadC* worker = thread();
    return worker != nullptr && worker->onWorker();
}

void EngineDriverC::guard(OutcomeS& outcome, NodeABC* (*call)(void*, std::u16string&), void* body) noexcept {
    try {
        try {
            outcome.tree = call(body, outcome.reason);
        } catch (const RefusalC& refusal) {
            outcome.reason = refusal.reason();
        } catch (const std::bad_alloc&) {
            outcome.out_of_memory = true;
        } catch (const std::exception& exception) {
            outcome.reason = message_of(exception.what());
        } catch (...) {
            outcome.reason = messages.failed;
        }
    } catch (...) {  // no memory left even for the reason
        outcome.out_of_memory = true;
    }
    if (outcome.tree != nullptr && outcome.out_of_memory) {
        delete outcome.tree;
        outcome.tree = nullptr;
    }
}

NodeABC* EngineDriverC::finish(bool ran, OutcomeS& outcome, std::u16string& reason, OutcomeE* kind) noexcept {
    if (kind != nullptr && outcome.tree == nullptr) {
        *kind = ran && outcome.out_of_memory ? OutcomeE::OutOfMemory : OutcomeE::Refused;
    }
    try {
        if (!ran) {
            reason = whyNot();
            return nullptr;
        }
        if (outcome.out_of_memory) {
            reason = u"out of memory";
            return nullptr;
        }
    } catch (const std::bad_alloc&) {
        reason.clear();
        return nullptr;
    }
    reason.swap(outcome.reason);
    return outcome.tree;
}

}  // namespace qorv::math::algexpr::support
