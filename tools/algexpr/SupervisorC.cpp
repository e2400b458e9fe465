// SPDX-License-Identifier: MIT
#include "SupervisorC.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "InputC.h"
#include "InputPlaceC.h"
#include "OutputC.h"
#include "ResourceLimitsC.h"
#include "WorkerProtocolC.h"

namespace qorv::math::algexpr::cli {

namespace {

constexpr std::size_t kReadSize = std::size_t{1} << 16;

}  // namespace

SupervisorC::SupervisorC(const SettingsS& settings, InputC& input, OutputC& output, BodyF body, void* context)
    : settings(settings), input(input), output(output), body(body), context(context) {
    // A parent that ignores SIGCHLD would have the workers reaped unseen,
    // and how each one ended lost.
    struct sigaction action {};
    if (::sigaction(SIGCHLD, nullptr, &action) == 0 && action.sa_handler == SIG_IGN) {
        ::signal(SIGCHLD, SIG_DFL);
    }
}

SupervisorC::~SupervisorC() = default;

std::size_t SupervisorC::run() {
    for (;;) {
        writeAnswers();
        readInputs();
        if (input_ended && window.empty()) {
            break;
        }
        sendRequests();
        await();
    }
    worker.reap();  // the worker sees the end of the requests and ends
    return failures;
}

// ---- Inputs in, answers out ------------------------------------------------

// Takes the inputs that have been read, while the window has room.
void SupervisorC::readInputs() {
    while (!input_ended && !need_read && window_bytes < kWindowBytes && window.size() < kWindowInputs) {
        std::string_view text;
        std::size_t number = 0;
        switch (input.take(text, number)) {
            case InputC::TakenE::Line:
                window.push_back(InputS{number, std::string(text), StateE::Waiting, false, std::string(), std::string()});
                window_bytes += text.size();
                break;
            case InputC::TakenE::NeedRead:
                need_read = true;
                break;
            case InputC::TakenE::End:
                input_ended = true;
                break;
        }
    }
}

// Writes the answers at the front of the window, in order.
void SupervisorC::writeAnswers() {
    while (!window.empty() && window.front().state == StateE::Answered) {
        write(window.front().ok, window.front().answer, window.front().warnings);
        dropFront();
    }
}

// Writes an input's answer out: its warnings, then its output or its message.
void SupervisorC::write(bool ok, std::string_view answer, std::string_view warnings) {
    output.warn(warnings);
    if (ok) {
        output.text() += answer;
        output.commit(settings.interactive);
    } else {
        ++failures;
        output.fail(std::string(answer), settings.one_line_per_input);
    }
}

void SupervisorC::dropFront() {
    window_bytes -= window.front().text.size();
    window.pop_front();
    unsent -= unsent > 0 ? 1 : 0;
}

void SupervisorC::fail(InputS& entry, const std::string& why) {
    entry.state = StateE::Answered;
    entry.ok = false;
    entry.answer = place(entry.number) + ": " + why;
}

std::string SupervisorC::place(std::uint64_t number) const {
    return input.place(static_cast<std::size_t>(number)).describe();
}

// ---- The worker ----------------------------------------------------------------

int SupervisorC::runWorker(int fd, void* self) {
    auto* supervisor = static_cast<SupervisorC*>(self);
    return supervisor->body(fd, supervisor->progress, supervisor->context);
}

// A worker for the waiting inputs; when none can be made, the first of them
// fails with the reason, so that the run moves on.
bool SupervisorC::startWorker() {
    std::string problem;
    if (progress.valid() && worker.start(runWorker, this, problem)) {
        return true;
    }
    if (!progress.valid()) {
        problem = std::string("cannot share memory with the worker process: ") + std::strerror(errno);
    }
    for (InputS& entry : window) {
        if (entry.state == StateE::Waiting) {
            fail(entry, problem);
            break;
        }
    }
    return false;
}

// Puts the waiting inputs into the requests, and sends what the socket takes.
void SupervisorC::sendRequests() {
    while (unsent < window.size() && window[unsent].state != StateE::Waiting) {
        ++unsent;
    }
    if (unsent < window.size() && !worker.running() && !startWorker()) {
        return;
    }
    for (; unsent < window.size(); ++unsent) {
        InputS& entry = window[unsent];
        if (entry.state == StateE::Waiting) {
            WorkerProtocolC::appendRequest(requests, entry.number, entry.text);
            entry.state = StateE::Sent;
            ++in_flight;
        }
    }
    while (requests_sent < requests.size()) {
        const ssize_t sent = ::send(worker.fd(), requests.data() + requests_sent, requests.size() - requests_sent,
                                    MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent > 0) {
            requests_sent += static_cast<std::size_t>(sent);
        } else if (!(sent < 0 && errno == EINTR)) {
            break;  // full, or the worker has gone: poll() tells which
        }
    }
    if (requests_sent == requests.size() || requests_sent > requests.size() / 2) {  // each byte moved once at most
        requests.erase(0, requests_sent);
        requests_sent = 0;
    }
}

// Waits for input to read, replies, room for requests, or the time limit.
void SupervisorC::await() {
    pollfd fds[2];
    nfds_t count = 0;
    const bool reading = need_read && !input_ended && window_bytes < kWindowBytes && window.size() < kWindowInputs;
    if (reading) {
        fds[count++] = pollfd{input.fd(), POLLIN, 0};
    }
    const nfds_t socket = count;
    if (worker.running()) {
        const bool more = requests_sent < requests.size();
        fds[count++] = pollfd{worker.fd(), static_cast<short>(POLLIN | (more ? POLLOUT : 0)), 0};
    }
    if (count == 0) {
        return;
    }
    if (::poll(fds, count, pollTimeout()) < 0) {
        return;  // EINTR: the loop comes back here
    }
    if (reading && fds[0].revents != 0) {
        input.fill();
        need_read = false;
    }
    if (socket < count && (fds[socket].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
        receiveReplies();
    }
    checkTime();
}

// Milliseconds until the input in progress runs out of time; -1 for none.
int SupervisorC::pollTimeout() {
    if (settings.timeout_ms == 0 || in_flight == 0) {
        return -1;
    }
    const ProgressC::MarkS mark = progress.read();
    std::int64_t left_ns = static_cast<std::int64_t>(settings.timeout_ms) * 1000000;
    if (mark.number != 0) {
        left_ns += mark.started_ns - ProgressC::now();
    }
    // An input that starts while the tool sleeps has its whole time left
    // when the sleep ends; the check then comes again.
    const std::int64_t ms = left_ns <= 0 ? 0 : (left_ns + 999999) / 1000000;
    return ms > 1000000 ? 1000000 : static_cast<int>(ms);
}

void SupervisorC::checkTime() {
    if (settings.timeout_ms == 0 || !worker.running()) {
        return;
    }
    const ProgressC::MarkS mark = progress.read();
    if (mark.number != 0 &&
        ProgressC::now() - mark.started_ns >= static_cast<std::int64_t>(settings.timeout_ms) * 1000000) {
        worker.kill();
        workerEnded(mark.number, true);
    }
}

// Reads what the worker has sent; at its end, the worker has ended.
void SupervisorC::receiveReplies() {
    ssize_t got = 0;
    do {
        const std::size_t had = replies.size();
        replies.resize(had + kReadSize);
        got = ::read(worker.fd(), &replies[had], kReadSize);
        replies.resize(had + (got > 0 ? static_cast<std::size_t>(got) : 0));
    } while (got > 0 || (got < 0 && errno == EINTR));
    const bool ended = got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
    if (!takeReplies()) {
        worker.kill();  // it answers what was not asked: it cannot be trusted
        workerEnded(progress.read().number, false);
    } else if (ended) {
        workerEnded(progress.read().number, false);
    }
}

// The whole replies received, each to its input; false for a reply that
// answers no input waiting for one.
bool SupervisorC::takeReplies() {
    std::size_t at = 0;
    WorkerProtocolC::ReplyS reply;
    bool matched = true;
    while (matched && WorkerProtocolC::takeReply(replies, at, reply)) {
        const std::uint64_t index = window.empty() ? ~std::uint64_t{0} : reply.number - window.front().number;
        matched = index < window.size() && window[index].state == StateE::Sent;
        if (matched) {
            --in_flight;
            fruitless = 0;
            if (index == 0) {  // the usual case: straight out
                write(reply.ok, reply.text, reply.warnings);
                dropFront();
                continue;
            }
            InputS& entry = window[index];
            entry.state = StateE::Answered;
            entry.ok = reply.ok;
            entry.answer.assign(reply.text);
            entry.warnings.assign(reply.warnings);
        }
    }
    replies.erase(0, at);
    return matched;
}

// The worker has ended (or been killed): `culprit` (0 for none) fails with
// the reason, the other inputs sent to it wait for the next one.
void SupervisorC::workerEnded(std::uint64_t culprit, bool timed_out) {
    const WorkerProcessC::EndS end = worker.reap();
    progress.end();
    requests.clear();
    requests_sent = 0;
    replies.clear();
    const std::string reason = why(end, timed_out);
    if (culprit == 0 && in_flight > 0 && ++fruitless >= 2) {
        for (const InputS& entry : window) {
            if (entry.state == StateE::Sent) {
                culprit = entry.number;  // ends the worker before it starts on it
                break;
            }
        }
    }
    for (InputS& entry : window) {
        if (entry.state == StateE::Sent) {
            entry.state = StateE::Waiting;
            if (entry.number == culprit) {
                fail(entry, reason);
                fruitless = 0;
            }
        }
    }
    in_flight = 0;
    unsent = 0;
}

std::string SupervisorC::why(const WorkerProcessC::EndS& end, bool timed_out) const {
    if (timed_out) {
        return "evaluation took longer than " + ResourceLimitsC::describeSeconds(settings.timeout_ms) + " (--timeout)";
    }
    if (end.signaled) {
        return "the engine stopped (signal " + std::to_string(end.code) + ")";
    }
    if (end.code == WorkerProtocolC::kExitOutOfMemory) {
        if (settings.max_memory != 0 && progress.uncapped()) {
            return "ran out of memory (--max-memory could not be enforced)";
        }
        return settings.max_memory == 0
                   ? std::string("ran out of memory")
                   : "needed more than " + ResourceLimitsC::describeSize(settings.max_memory) + " of memory (--max-memory)";
    }
    return "the engine stopped (exit status " + std::to_string(end.code) + ")";
}

}  // namespace qorv::math::algexpr::cli
