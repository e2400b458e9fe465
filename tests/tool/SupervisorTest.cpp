// SPDX-License-Identifier: MIT
// SupervisorC with scripted workers instead of an engine: each worker echoes
// its inputs, unless the script has it die before it starts on one, hang,
// abort, run out of memory or answer what was not asked. Every input gets an
// answer in its place, the one to blame (and only that one) fails with the
// reason, and a worker that never works still lets the run end.
#include <sys/mman.h>
#include <unistd.h>

#include <csignal>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "InputC.h"
#include "OutputC.h"
#include "ProgressC.h"
#include "SupervisorC.h"
#include "WorkerProtocolC.h"

using namespace qorv::math::algexpr::cli;

namespace {

// What the workers do, in memory that the forked workers share with the test.
struct ScriptS {
    int starts = 0;             // workers started so far
    int idle_deaths = 0;        // the first this many end before their first input
    std::uint64_t hang_on = 0;  // the first worker sleeps on this input
    std::uint64_t abort_on = 0;
    std::uint64_t exhaust_on = 0;  // ends as out of memory on this input
    bool rogue = false;            // the first worker answers an input never asked
    bool uncapped = false;         // workers say their memory cap could not be set
};

void answer(int fd, std::string& out) {
    if (::write(fd, out.data(), out.size()) != static_cast<ssize_t>(out.size())) {
        ::_exit(1);
    }
    out.clear();
}

// Echoes each input with a newline, as the script allows.
int scriptedWorker(int fd, ProgressC& progress, void* context) {
    auto& script = *static_cast<ScriptS*>(context);
    const int start = ++script.starts;
    if (script.uncapped) {
        progress.setUncapped();
    }
    std::string in, out;
    char buffer[4096];
    for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;) {
        in.append(buffer, static_cast<std::size_t>(got));
        if (start <= script.idle_deaths) {
            ::_exit(3);
        }
        std::size_t at = 0;
        for (WorkerProtocolC::RequestS request; WorkerProtocolC::takeRequest(in, at, request);) {
            progress.begin(request.number);
            const bool first = start == 1;
            if (first && request.number == script.hang_on) {
                ::pause();
            }
            if (request.number == script.abort_on) {
                std::abort();
            }
            if (request.number == script.exhaust_on) {
                ::_exit(WorkerProtocolC::kExitOutOfMemory);
            }
            const std::size_t reply = WorkerProtocolC::startReply(out, first && script.rogue ? 999 : request.number);
            out.append(request.text).append("\n");
            WorkerProtocolC::finishReply(out, reply, true, "", "");
            progress.end();
        }
        in.erase(0, at);
        answer(fd, out);
    }
    return WorkerProtocolC::kExitDone;
}

class SupervisorTest : public ::testing::Test {
protected:
    void SetUp() override {
        void* page = ::mmap(nullptr, sizeof(ScriptS), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        ASSERT_NE(page, MAP_FAILED);
        script = new (page) ScriptS();
        out_file = std::tmpfile();
        ASSERT_NE(out_file, nullptr);
    }

    void TearDown() override {
        ::munmap(script, sizeof(ScriptS));
        std::fclose(out_file);
    }

    // Runs the inputs a..e; what came out, the messages, and the failures.
    void run(SupervisorC::SettingsS settings = SupervisorC::SettingsS()) {
        const std::vector<std::string> inputs{"a", "b", "c", "d", "e"};
        InputC input(inputs, -1);
        std::rewind(out_file);
        ASSERT_EQ(::ftruncate(::fileno(out_file), 0), 0);
        testing::internal::CaptureStderr();
        {
            OutputC output(::fileno(out_file));
            SupervisorC supervisor(settings, input, output, scriptedWorker, script);
            failures = supervisor.run();
        }
        messages = testing::internal::GetCapturedStderr();
        std::rewind(out_file);
        out.clear();
        for (int c; (c = std::fgetc(out_file)) != EOF;) {
            out += static_cast<char>(c);
        }
    }

    ScriptS* script = nullptr;
    std::FILE* out_file = nullptr;
    std::string out, messages;
    std::size_t failures = 0;
};

TEST_F(SupervisorTest, AWorkerThatDiesBetweenInputsCostsNoInput) {
    script->idle_deaths = 1;
    run();
    EXPECT_EQ(out, "a\nb\nc\nd\ne\n");
    EXPECT_EQ(messages, "");
    EXPECT_EQ(failures, 0u);
    EXPECT_EQ(script->starts, 2);
}

TEST_F(SupervisorTest, WorkersThatNeverWorkCostOneInputEachSecondStart) {
    script->idle_deaths = 1000;
    run();
    EXPECT_EQ(out, "\n\n\n\n\n");
    const std::string stopped = ": the engine stopped (exit status 3)\n";
    EXPECT_EQ(messages, "algexpr: argument 1" + stopped + "algexpr: argument 2" + stopped + "algexpr: argument 3" +
                            stopped + "algexpr: argument 4" + stopped + "algexpr: argument 5" + stopped);
    EXPECT_EQ(failures, 5u);
    EXPECT_EQ(script->starts, 10);
}

// While the worker hangs for a second, the tool sleeps: a loop that polls
// without waiting would take a good share of that second even on a busy
// machine, where the test's own work takes a few milliseconds.
TEST_F(SupervisorTest, EachWayOfEndingNamesItsInput) {
    SupervisorC::SettingsS settings;
    settings.timeout_ms = 1000;
    settings.max_memory = std::uint64_t{3} << 29;
    script->hang_on = 2;
    script->abort_on = 3;
    script->exhaust_on = 5;
    const std::clock_t cpu = std::clock();
    run(settings);
    EXPECT_LT(std::clock() - cpu, CLOCKS_PER_SEC / 20);
    EXPECT_EQ(out, "a\n\n\nd\n\n");
    EXPECT_EQ(messages,
              "algexpr: argument 2: evaluation took longer than 1 s (--timeout)\n"
              "algexpr: argument 3: the engine stopped (signal " + std::to_string(SIGABRT) + ")\n"
              "algexpr: argument 5: needed more than 1.5 GiB of memory (--max-memory)\n");
    EXPECT_EQ(failures, 3u);

    // Without a cap, running out of memory is the machine's.
    *script = ScriptS();
    script->exhaust_on = 1;
    run();
    EXPECT_EQ(messages, "algexpr: argument 1: ran out of memory\n");
    EXPECT_EQ(out, "\nb\nc\nd\ne\n");

    // A worker whose cap could not be set names none.
    *script = ScriptS();
    script->exhaust_on = 1;
    script->uncapped = true;
    run(settings);
    EXPECT_EQ(messages, "algexpr: argument 1: ran out of memory (--max-memory could not be enforced)\n");
}

TEST_F(SupervisorTest, AWorkerThatAnswersWhatWasNotAskedIsReplaced) {
    script->rogue = true;
    run();
    EXPECT_EQ(out, "a\nb\nc\nd\ne\n");
    EXPECT_EQ(failures, 0u);
    EXPECT_EQ(script->starts, 2);
}

}  // namespace
