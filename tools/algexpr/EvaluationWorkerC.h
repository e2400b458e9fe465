// SPDX-License-Identifier: MIT
// EvaluationWorkerC: the worker process's loop. It reads requests from its
// socket as they come, handles each input with the LineHandlerC, marking it
// in the ProgressC while it runs, and sends the replies back in batches:
// when no whole request is left to handle, when they fill kBatchBytes, and
// kBatchNs after the last batch, so that the tool sees a slow input's
// predecessors answered. Uses what it is given, which must outlive it; does
// not own the socket.
#ifndef ALGEXPR_TOOL_EVALUATIONWORKERC_H
#define ALGEXPR_TOOL_EVALUATIONWORKERC_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qorv::math::algexpr::cli {

class LineHandlerC;
class ProgressC;

class EvaluationWorkerC {
public:
    static constexpr std::size_t kBatchBytes = std::size_t{1} << 16;
    static constexpr std::int64_t kBatchNs = 20000000;

    /// `kind` names the inputs in messages ("line"); a string literal.
    EvaluationWorkerC(int fd, LineHandlerC& handler, ProgressC& progress, const char* kind);

    /// Runs until the tool closes its end of the socket; the exit status
    /// (WorkerProtocolC::kExitDone, kExitOutOfMemory or kExitFailed).
    int run() noexcept;

private:
    int serve();
    void handleOne(std::uint64_t number, std::string_view text);
    bool receive();
    bool send();

    int fd;
    LineHandlerC& handler;
    ProgressC& progress;
    const char* kind;
    std::string in;
    std::string out;
    std::int64_t sent_ns = 0;
};

}  // namespace qorv::math::algexpr::cli

#endif
