// SPDX-License-Identifier: MIT
// WorkerProcessC: one worker process, as the tool sees it. start() forks the
// tool: the child gets its end of a socket pair, standard input and output
// on /dev/null (its answers go through the socket), death with its parent,
// and a new-handler that ends it with WorkerProtocolC::kExitOutOfMemory; it
// runs the body given and ends with the body's status, without running the
// tool's exit-time code. The parent keeps the child's pid and the other end
// of the socket, non-blocking, until the worker is reaped. The child shares
// whatever the tool had set up before the fork (the session, the command).
//
//   WorkerProcessC worker;
//   worker.start(body, context, problem);  ... worker.fd() ...
//   worker.kill();  WorkerProcessC::EndS end = worker.reap();  // or reap() alone at the end
#ifndef ALGEXPR_TOOL_WORKERPROCESSC_H
#define ALGEXPR_TOOL_WORKERPROCESSC_H

#include <sys/types.h>

#include <string>

namespace qorv::math::algexpr::cli {

class WorkerProcessC {
public:
    /// Runs in the child with its end of the socket; returns its exit status.
    using BodyF = int (*)(int fd, void* context);

    /// How a worker ended: by a signal, or with an exit status.
    struct EndS {
        bool signaled = false;
        int code = 0;  // the signal or the exit status
    };

    WorkerProcessC() = default;
    /// Kills and reaps a worker still there.
    ~WorkerProcessC();
    WorkerProcessC(const WorkerProcessC&) = delete;
    WorkerProcessC& operator=(const WorkerProcessC&) = delete;

    /// False, with `problem` (what failed, and why), when no worker can be made.
    bool start(BodyF body, void* context, std::string& problem);
    /// Whether a worker has been started and not yet reaped.
    bool running() const;
    /// The tool's end of the socket.
    int fd() const;

    /// Sends SIGKILL.
    void kill();
    /// Closes the tool's end of the socket, which tells a worker still at
    /// work that no more requests come, waits for it to end, and forgets it.
    EndS reap();

private:
    pid_t pid = -1;
    int socket_fd = -1;
};

}  // namespace qorv::math::algexpr::cli

#endif
