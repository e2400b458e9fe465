// SPDX-License-Identifier: MIT
// EngineDriverC: the one way an engine client evaluates: on the engine's own
// thread (a WorkerThreadC with the engine's stack, made on first use and
// never deleted), inside one catch ladder, with one outcome: the tree the
// evaluation made (the caller's), or null and the reason. Each backend keeps
// only planning, building, converting and its numbers. A client makes one
// driver (of()) and never destroys it:
//
//   EngineDriverC& driver = EngineDriverC::of<GinacEngineC>(kStackBytes, {{u"no thread...", ...}, u"GiNaC failed"}, messageOf);
//   std::u16string reason;
//   NodeABC* tree = driver.evaluate([&](std::u16string& why) { return buildAndWrite(root, why); }, reason);
//
// The ladder: a RefusalC's reason; the engine's exceptions (std::exception
// and what derives from it) as message_of(what()); std::bad_alloc anywhere
// as "out of memory" (an empty reason when not even that can be stored);
// anything else as the engine's "failed" text. Nothing is thrown out.
// evaluateChecked() adds the one check of answers every engine gets
// (AnswerCheckC) after the ladder, and says what came of it by kind
// (OutcomeE).
#ifndef ALGEXPR_CLIENTS_SUPPORT_ENGINEDRIVERC_H
#define ALGEXPR_CLIENTS_SUPPORT_ENGINEDRIVERC_H

#include <cstddef>
#include <mutex>
#include <new>
#include <string>
#include <type_traits>
#include <utility>

#include "AnswerCheckC.h"
#include "OutcomeS.h"
#include "WorkerThreadC.h"
#include "algexpr/NodeABC.h"

namespace qorv::math::algexpr::support {

class EngineDriverC {
public:
    using JobF = WorkerThreadC::JobF;
    using MessageF = std::u16string (*)(const char* what);

    struct MessagesS {
        WorkerThreadC::MessagesS thread;  // why the thread cannot run a job
        const char16_t* failed;           // an exception of no known kind: "GiNaC failed"
    };

    /// Nothing is started until the first job.
    EngineDriverC(std::size_t stack_bytes, const MessagesS& messages, MessageF message_of) noexcept;

    /// The driver of the client that `TagT` names, made on the first call in
    /// static storage and never destroyed (it outlives the static objects
    /// that evaluate at exit); making it allocates nothing.
    template <class TagT>
    static EngineDriverC& of(std::size_t stack_bytes, const MessagesS& messages, MessageF message_of) noexcept {
        alignas(EngineDriverC) static unsigned char storage[sizeof(EngineDriverC)];
        static EngineDriverC* const made = new (storage) EngineDriverC(stack_bytes, messages, message_of);
        return *made;
    }
    EngineDriverC(const EngineDriverC&) = delete;
    EngineDriverC& operator=(const EngineDriverC&) = delete;

    /// Runs body(reason) on the engine's thread inside the ladder and waits:
    /// the tree it answers, with the reason it gives (an engine's reason
    /// beside a tree, such as "x: free symbol"), or null with the reason.
    /// body takes std::u16string& and returns NodeABC*. A null tree's kind
    /// (Refused or OutOfMemory) goes to `kind` when it is given.
    template <class BodyT>
    NodeABC* evaluate(BodyT&& body, std::u16string& reason, OutcomeE* kind = nullptr) noexcept {
        using Body = std::remove_reference_t<BodyT>;
        struct CallS {
            EngineDriverC* driver;
            Body* body;
            OutcomeS outcome;
        } call{this, &body, OutcomeS()};
        const bool ran = run(
            [](void* context) noexcept {
                auto* c = static_cast<CallS*>(context);
                c->driver->guard(
                    c->outcome,
                    [](void* b, std::u16string& why) -> NodeABC* { return (*static_cast<Body*>(b))(why); },
                    c->body);
            },
            &call);
        return finish(ran, call.outcome, reason, kind);
    }

    /// evaluate() of body(root, reason), then the answer checked against
    /// the input `root` (AnswerCheckC, on the calling thread). An answer
    /// that fails is deleted; the input rewritten (AnswerCheckC::rewritten,
    /// such as x^(-1/2) as 1/sqrt(x)) is evaluated once more, and its answer
    /// given when it passes; otherwise null, and the reason says what
    /// failed. `kind` says what came of it: Number or NotANumber (the
    /// engine's reason empty or not), Unchecked with "unchecked: ..." (or
    /// Refused when the check's context says so), CheckFailed, Refused,
    /// OutOfMemory. The body may set `kind` to Unchecked, with its reason
    /// "unchecked: ...", for a doubt of the engine's own; the check's doubt
    /// is then added to it.
    /// body takes NodeABC& and std::u16string& and returns NodeABC*.
    template <class BodyT>
    NodeABC* evaluateChecked(NodeABC& root, const AnswerCheckC::ContextS& check, BodyT&& body,
                             std::u16string& reason, OutcomeE& kind) noexcept {
        kind = OutcomeE::Number;
        NodeABC* tree = evaluate([&](std::u16string& why) { return body(root, why); }, reason, &kind);
        if (tree == nullptr) {
            return nullptr;
        }
        NodeABC* again = nullptr;
        tree = checked(root, tree, check, reason, kind, again);
        if (again == nullptr) {
            return tree;
        }
        std::u16string refused;
        refused.swap(reason);
        kind = OutcomeE::Number;
        NodeABC* other = evaluate([&](std::u16string& why) { return body(*again, why); }, reason, &kind);
        NodeABC* passed = other != nullptr ? passedAgain(root, other, check) : nullptr;
        discard(again);
        if (passed == nullptr) {
            reason.swap(refused);
            kind = OutcomeE::CheckFailed;
        } else if (kind != OutcomeE::Unchecked) {
            kind = reason.empty() ? OutcomeE::Number : OutcomeE::NotANumber;
        }
        return passed;
    }

    /// Runs job(context) on the engine's thread and waits; false when the
    /// thread cannot run it (whyNot() says why). On the thread itself the job
    /// runs at once. The job must not throw.
    bool run(JobF job, void* context) noexcept;
    /// Why run() last answered false on the calling thread: a static string.
    const char16_t* whyNot() noexcept;
    /// Whether the calling thread is the engine's.
    bool onThread() noexcept;

private:
    struct OutcomeS {
        NodeABC* tree = nullptr;
        std::u16string reason;
        bool out_of_memory = false;
    };

    // On the thread: call(body) inside the ladder, into `outcome`.
    void guard(OutcomeS& outcome, NodeABC* (*call)(void*, std::u16string&), void* body) noexcept;
    // After the job: the tree, or null with the reason and its kind.
    NodeABC* finish(bool ran, OutcomeS& outcome, std::u16string& reason, OutcomeE* kind) noexcept;
    WorkerThreadC* thread() noexcept;
    // The tree when it passes or goes unchecked, else null with the reason,
    // and `again` the rewritten input to try (null when there is none);
    // `kind` as evaluateChecked says.
    static NodeABC* checked(NodeABC& root, NodeABC* tree, const AnswerCheckC::ContextS& check,
                            std::u16string& reason, OutcomeE& kind, NodeABC*& again) noexcept;
    // Deletes a tree (where NodeABC is complete).
    static void discard(NodeABC* tree) noexcept;
    // The second answer when it passes its check, else null (deleted).
    static NodeABC* passedAgain(NodeABC& root, NodeABC* tree, const AnswerCheckC::ContextS& check) noexcept;

    const std::size_t stack_bytes;
    const MessagesS messages;
    const MessageF message_of;
    std::once_flag once;
    WorkerThreadC* thread_p = nullptr;  // made on first use, never deleted; null when there was no memory
};

}  // namespace qorv::math::algexpr::support

#endif
