// SPDX-License-Identifier: MIT
// FailureInjector: while armed, makes the k-th allocation fail (once, or that
// one and every later one), or the k-th call into client code throw
// ClientError. It replaces every form of the global operator new and delete
// of the executable that links it with counting ones.
#ifndef ALGEXPR_TESTS_ALLOC_FAILUREINJECTOR_H
#define ALGEXPR_TESTS_ALLOC_FAILUREINJECTOR_H

/// What a client double throws; `call` is the k it was thrown at.
struct ClientError {
    long call;
};

class FailureInjector {
public:
    enum Mode { None, FailOnce, FailFromThen, ClientThrows };
    /// Armed from construction to destruction, exceptions included.
    struct Armed {
        Armed();
        ~Armed();
    };

    /// Sets the failure for the next armed stretches; None injects nothing.
    static void prepare(Mode mode, long k);
    /// Whether the failure prepared last was injected.
    static bool fired();
    /// The allocations of the whole program not yet freed.
    static long live();
    /// For the client doubles, on entry: throws ClientError at the k-th call.
    static void clientCall();
};

#endif
