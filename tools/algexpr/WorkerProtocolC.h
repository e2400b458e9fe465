// SPDX-License-Identifier: MIT
// WorkerProtocolC: what the tool and its worker process say to each other
// over their socket, in batches of any size. The tool sends requests, each an
// input's number and text; the worker answers each, in the same order, with
// the number, whether it succeeded, the output (or the message that names
// the input), and the warnings that go out before it. Numbers and lengths are in the machine's own byte order:
// both ends are the same program. Also the exit codes that tell the tool why
// a worker ended on its own.
//
//   std::string batch;
//   WorkerProtocolC::appendRequest(batch, 7, "plus(1,2)");
//   std::size_t at = 0;  RequestS request;
//   while (WorkerProtocolC::takeRequest(batch, at, request)) { ... }
#ifndef ALGEXPR_TOOL_WORKERPROTOCOLC_H
#define ALGEXPR_TOOL_WORKERPROTOCOLC_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qorv::math::algexpr::cli {

class WorkerProtocolC {
public:
    /// A worker's exit codes: the end of the requests, memory exhausted
    /// (the allocation that failed ends the worker), anything else that went
    /// wrong in it (a request that does not read, an exception).
    static constexpr int kExitDone = 0;
    static constexpr int kExitOutOfMemory = 99;
    static constexpr int kExitFailed = 98;

    struct RequestS {
        std::uint64_t number = 0;
        std::string_view text;  // into the buffer taken from
    };
    struct ReplyS {
        std::uint64_t number = 0;
        bool ok = false;
        std::string_view text;      // the output, or the message; into the buffer
        std::string_view warnings;  // as they go to standard error; into the buffer
    };

    static void appendRequest(std::string& buffer, std::uint64_t number, std::string_view text);
    /// The request at `at` in `buffer`, moving `at` past it; false (and
    /// `at` unmoved) when it is not all there yet.
    static bool takeRequest(std::string_view buffer, std::size_t& at, RequestS& request);

    /// Starts a reply at the end of `buffer`: its output is appended to the
    /// buffer directly, then finishReply closes it. Answers where it starts.
    static std::size_t startReply(std::string& buffer, std::uint64_t number);
    /// Closes the reply started at `start`: a success with what was appended
    /// since, or a failure with `message` (what was appended is dropped);
    /// either way with the input's `warnings`.
    static void finishReply(std::string& buffer, std::size_t start, bool ok, std::string_view message,
                            std::string_view warnings);
    /// As takeRequest, for replies.
    static bool takeReply(std::string_view buffer, std::size_t& at, ReplyS& reply);
};

}  // namespace qorv::math::algexpr::cli

#endif
