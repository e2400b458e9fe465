// SPDX-License-Identifier: MIT
#include "EvaluationWorkerC.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <new>

#include "InputPlaceC.h"
#include "LineHandlerC.h"
#include "ProgressC.h"
#include "WorkerProtocolC.h"

namespace qorv::math::algexpr::cli {

namespace {

constexpr std::size_t kReadSize = std::size_t{1} << 16;

}  // namespace

EvaluationWorkerC::EvaluationWorkerC(int fd, LineHandlerC& handler, ProgressC& progress, const char* kind)
    : fd(fd), handler(handler), progress(progress), kind(kind) {}

int EvaluationWorkerC::run() noexcept {
    try {
        return serve();
    } catch (const std::bad_alloc&) {
        return WorkerProtocolC::kExitOutOfMemory;
    } catch (...) {
        return WorkerProtocolC::kExitFailed;
    }
}

int EvaluationWorkerC::serve() {
    std::size_t at = 0;
    sent_ns = ProgressC::now();
    for (;;) {
        WorkerProtocolC::RequestS request;
        if (!WorkerProtocolC::takeRequest(in, at, request)) {
            in.erase(0, at);
            at = 0;
            if (!send() || !receive()) {
                return in.empty() ? WorkerProtocolC::kExitDone : WorkerProtocolC::kExitFailed;
            }
            continue;
        }
        handleOne(request.number, request.text);  // `in` stays as it is until the next receive()
        if (out.size() >= kBatchBytes || ProgressC::now() - sent_ns >= kBatchNs) {
            if (!send()) {
                return WorkerProtocolC::kExitDone;  // the tool is gone
            }
        }
    }
}

void EvaluationWorkerC::handleOne(std::uint64_t number, std::string_view input) {
    progress.begin(number);
    const std::size_t start = WorkerProtocolC::startReply(out, number);
    std::string message;
    std::string warnings;
    const bool ok = handler.handle(input, InputPlaceC(kind, number), out, message, warnings);
    WorkerProtocolC::finishReply(out, start, ok, message, warnings);
    progress.end();
}

// Reads once, blocking; false at the end of the requests or on an error.
bool EvaluationWorkerC::receive() {
    const std::size_t had = in.size();
    in.resize(had + kReadSize);
    for (;;) {
        const ssize_t got = ::read(fd, &in[had], kReadSize);
        if (got > 0) {
            in.resize(had + static_cast<std::size_t>(got));
            return true;
        }
        if (got < 0 && errno == EINTR) {
            continue;
        }
        in.resize(had);
        return false;
    }
}

// Sends every reply made; false when the tool is gone.
bool EvaluationWorkerC::send() {
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t wrote = ::send(fd, out.data() + done, out.size() - done, MSG_NOSIGNAL);
        if (wrote > 0) {
            done += static_cast<std::size_t>(wrote);
        } else if (!(wrote < 0 && errno == EINTR)) {
            return false;
        }
    }
    out.clear();
    sent_ns = ProgressC::now();
    return true;
}

}  // namespace qorv::math::algexpr::cli
