// SPDX-License-Identifier: MIT
// SupervisorC: runs a command's inputs through a worker process, so that no
// input can stop the stream. The tool reads the inputs and sends them to the
// worker in batches as they come (at most kWindowBytes of them unanswered at
// a time); the worker evaluates them one after the other and sends back the
// answers, which the tool writes in input order, one line per input.
//  - An input still evaluating after the timeout has its worker killed; one
//    whose worker runs out of memory (the worker's cap, set by the body)
//    or dies in any other way, fails alone, with its own message:
//      line 7: evaluation took longer than 10 s (--timeout)
//      line 7: needed more than 2 GiB of memory (--max-memory)
//      line 7: the engine stopped (signal 6)
//  - A new worker, forked from the tool as the first one was, takes the
//    inputs after it, and again those the dead one had answered but not
//    yet sent (evaluation gives the same answer twice).
// The input a worker is at comes from the ProgressC page it marks; a worker
// that dies twice in a row between inputs has the next input blamed, so the
// run always moves on.
//
//   SupervisorC supervisor(settings, input, output, body, context);
//   std::size_t failed = supervisor.run();
// The input, the output and the body's context must outlive the supervisor.
#ifndef ALGEXPR_TOOL_SUPERVISORC_H
#define ALGEXPR_TOOL_SUPERVISORC_H

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "ProgressC.h"
#include "WorkerProcessC.h"

namespace qorv::math::algexpr::cli {

class InputC;
class OutputC;

class SupervisorC {
public:
    /// Runs in each worker, with its end of the socket and the page to mark
    /// its progress in; its exit status (WorkerProtocolC).
    using BodyF = int (*)(int fd, ProgressC& progress, void* context);

    struct SettingsS {
        std::uint64_t timeout_ms = 0;  // 0: none
        std::uint64_t max_memory = 0;  // the workers' cap, for messages; 0: none
        bool one_line_per_input = true;
        bool interactive = false;  // write each answer out at once
    };

    static constexpr std::size_t kWindowBytes = std::size_t{1} << 20;
    static constexpr std::size_t kWindowInputs = std::size_t{1} << 14;

    SupervisorC(const SettingsS& settings, InputC& input, OutputC& output, BodyF body, void* context);
    ~SupervisorC();
    SupervisorC(const SupervisorC&) = delete;
    SupervisorC& operator=(const SupervisorC&) = delete;

    /// Runs until every input is answered; the number of inputs that failed.
    std::size_t run();

private:
    enum class StateE : unsigned char { Waiting, Sent, Answered };
    struct InputS {
        std::uint64_t number;
        std::string text;  // kept until answered, for a new worker
        StateE state;
        bool ok;
        std::string answer;    // the output, or the message
        std::string warnings;  // written out before the answer
    };

    void readInputs();
    void writeAnswers();
    void write(bool ok, std::string_view answer, std::string_view warnings);
    void dropFront();
    bool startWorker();
    void sendRequests();
    void await();
    int pollTimeout();
    void receiveReplies();
    bool takeReplies();
    void checkTime();
    void workerEnded(std::uint64_t culprit, bool timed_out);
    std::string why(const WorkerProcessC::EndS& end, bool timed_out) const;
    void fail(InputS& entry, const std::string& why);
    std::string place(std::uint64_t number) const;
    static int runWorker(int fd, void* self);

    SettingsS settings;
    InputC& input;
    OutputC& output;
    BodyF body;
    void* context;
    ProgressC progress;
    WorkerProcessC worker;

    std::deque<InputS> window;  // numbered one after the other, in order
    std::size_t window_bytes = 0;
    std::size_t unsent = 0;     // the inputs before it are sent or answered
    std::size_t in_flight = 0;  // sent, not yet answered
    bool input_ended = false;
    bool need_read = false;  // the input has no whole line left without a read
    std::string requests;    // to send, from requests_sent on
    std::size_t requests_sent = 0;
    std::string replies;     // received, not yet taken
    int fruitless = 0;       // workers ended in a row at work, without an answer or an input to blame
    std::size_t failures = 0;
};

}  // namespace qorv::math::algexpr::cli

#endif
