// SPDX-License-Identifier: MIT
// The tool's worker process: an input past --timeout, one past --max-memory
// and one whose worker is killed each fail alone with their own message,
// while every other line comes out right and in its place, and the run ends
// with status 1; a long stream with hostile lines mixed in finishes in time.
// Skipped, naming the package, when the tool was built without GiNaC.
#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "ToolFixture.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define ALGEXPR_TEST_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define ALGEXPR_TEST_SANITIZED 1
#endif
#endif

namespace {

using namespace tool_tests;
using Clock = std::chrono::steady_clock;

#ifdef ALGEXPR_TEST_SANITIZED
constexpr bool kMemoryCapped = false;
#else
constexpr bool kMemoryCapped = true;
#endif
constexpr const char* kNoCap =
    "the tool is built with a sanitizer, which reserves more address space than any cap on it allows, so "
    "--max-memory is not enforced";

// Seconds of work (7 s on a 2-core 2.1 GHz machine), in little memory: the
// sum of 999 fractions 1/(x+k) brought over one denominator, each of the
// 998 steps within the limits.
const std::string kSlowSum = [] {
    std::string sum = "plus(";
    for (int k = 1; k < 1000; ++k) {
        sum += (k == 1 ? "divide(1,plus(x," : ",divide(1,plus(x,") + std::to_string(k) + "))";
    }
    return sum + ")";
}();
const std::string kSlow = "simplify(" + kSlowSum + ")";
// Hundreds of megabytes, growing from the start: past 24 MiB within a few
// tenths of a second.
constexpr const char* kHungry = "expand(power(plus(x,y,z,1),80))";

// Inputs with answers that are the same in every process, and the answers.
std::string goodInput(std::size_t i) {
    const std::string n = std::to_string(i);
    switch (i % 4) {
        case 0:
            return "plus(" + n + ",times(" + std::to_string(i % 97) + ",x))";
        case 1:
            return "expand(power(plus(x," + std::to_string(i % 13 + 1) + "),2))";
        case 2:
            return "diff(power(x," + std::to_string(i % 20 + 2) + "),x)";
        default:
            return "factor(minus(power(x,2)," + std::to_string((i % 30 + 1) * (i % 30 + 1)) + "))";
    }
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> all;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        all.push_back(line);
    }
    return all;
}

// The processes whose parent is `parent`.
std::vector<pid_t> childrenOf(pid_t parent) {
    std::vector<pid_t> children;
    DIR* proc = ::opendir("/proc");
    for (dirent* entry = proc != nullptr ? ::readdir(proc) : nullptr; entry != nullptr; entry = ::readdir(proc)) {
        std::ifstream stat(std::string("/proc/") + entry->d_name + "/stat");
        std::string text;
        if (entry->d_name[0] < '1' || entry->d_name[0] > '9' || !std::getline(stat, text)) {
            continue;
        }
        std::istringstream fields(text.substr(text.rfind(')') + 2));
        char state = 0;
        long ppid = 0;
        if (fields >> state >> ppid && ppid == parent) {
            children.push_back(static_cast<pid_t>(std::atol(entry->d_name)));
        }
    }
    if (proc != nullptr) {
        ::closedir(proc);
    }
    return children;
}

class SupervisionTest : public ToolFixture {
protected:
    SupervisionTest() : ToolFixture({}) {}

    void SetUp() override {
        if (!ALGEXPR_TOOL_HAS_GINAC) {
            GTEST_SKIP() << "the tool was built without GiNaC; install libginac-dev (scripts/install-deps.sh) "
                            "and rebuild to test its worker process";
        }
        ToolFixture::SetUp();
        for (std::size_t i = 1; i <= 7; ++i) {
            const std::string input = i == 4 ? kSlow : goodInput(i);
            stream += input + "\n";
        }
        expected = run({"eval", "--in-process"}, stream_without_4()).out;
    }

    // The stream's good lines and what they give, line 4 left empty.
    std::string stream_without_4() const {
        std::string text;
        for (std::size_t i = 1; i <= 7; ++i) {
            text += i == 4 ? "\n" : goodInput(i) + "\n";
        }
        return text;
    }

    std::string stream;    // lines 1 to 7, line 4 slow
    std::string expected;  // the output with line 4 empty
};

TEST_F(SupervisionTest, AnInputPastTheTimeoutFailsAloneAndTheNextGoesOnAtOnce) {
    ASSERT_EQ(lines(expected).size(), 7u);
    const Clock::time_point begin = Clock::now();
    EXPECT_EQ(run({"--timeout", "1", "eval"}, stream),
              (Result{expected, "algexpr: line 4: evaluation took longer than 1 s (--timeout)\n", 1}));
    EXPECT_EQ(run({"factor", "--timeout=0.5", kSlowSum, "minus(power(x,2),1)"}),
              (Result{"\ntimes(minus(x,1),plus(x,1))\n",
                      "algexpr: argument 1: evaluation took longer than 0.5 s (--timeout)\n", 1}));
    EXPECT_LT(Clock::now() - begin, std::chrono::seconds(10));
}

// factor's static degree limit, for what the polynomial route leaves to
// GiNaC (x^60 - sqrt(2): sqrt(2) is bound to 2), gives way to the timeout
// where there is one; polynomials go to FLINT, which has no degree limit.
TEST_F(SupervisionTest, TheTimeoutRaisesTheDegreeFactorTakes) {
    const std::string refused = "algexpr: argument 1: cannot evaluate: factor: the polynomial has degree 60";
    for (const char* timeout : {"--timeout=0", "--in-process"}) {
        EXPECT_EQ(run({"factor", timeout, "minus(power(x,60),sqrt(2))"}),
                  (Result{"\n", refused + "; factor is limited to degree 40\n", 1}))
            << timeout;
    }
    // Under the timeout GiNaC goes on, and finds it has two variables.
    EXPECT_EQ(run({"factor", "--timeout=30", "minus(power(x,60),sqrt(2))"}).err,
              refused + " in 2 symbols; in several symbols factor is limited to degree 20\n");
    for (const char* timeout : {"--timeout=0", "--in-process", "--timeout=30"}) {
        const Result factored = run({"factor", timeout, "minus(power(x,60),1)"});
        EXPECT_EQ(factored.err, "");
        EXPECT_EQ(factored.out.rfind("times(", 0), 0u) << factored.out;
    }
}

TEST_F(SupervisionTest, AnInputPastTheMemoryCapFailsAlone) {
    if (!kMemoryCapped) {
        GTEST_SKIP() << kNoCap;
    }
    std::string input = stream;
    input.replace(input.find(kSlow), kSlow.size(), kHungry);
    EXPECT_EQ(run({"eval", "--max-memory", "32M", "--timeout", "0"}, input),
              (Result{expected, "algexpr: line 4: needed more than 32 MiB of memory (--max-memory)\n", 1}));
    // Inputs that fit in the cap are answered as without it.
    EXPECT_EQ(run({"eval", "--max-memory", "32M"}, stream_without_4()), (Result{expected, "", 0}));
}

TEST_F(SupervisionTest, AWorkerKilledMidStreamCostsOnlyItsLine) {
    const pid_t tool = start({"eval", "--timeout", "600"}, stream);
    std::vector<pid_t> workers;
    for (int tries = 0; tries < 1000 && workers.empty(); ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        workers = childrenOf(tool);
    }
    ASSERT_EQ(workers.size(), 1u);
    // Lines 1 to 3 take milliseconds; line 4 seconds.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    ::kill(workers[0], SIGKILL);
    EXPECT_EQ(collect(tool), (Result{expected, "algexpr: line 4: the engine stopped (signal 9)\n", 1}));
}

// 10,000 lines, every 100th from the 50th hostile: one in ten of those slow,
// the others hungry for memory. Each hostile line costs about a second at
// most (the timeout, or less to run out of memory, and a new worker), so the
// run must end within kBound, while the slow lines alone would take two
// minutes. (Sanitizer builds start workers several times slower, and have no
// cap: there every hostile line takes the whole second.)
TEST_F(SupervisionTest, TenThousandLinesWithAHundredHostileOnesKeepTheirPlaces) {
    constexpr std::size_t kLines = 10000;
    constexpr auto kBound = std::chrono::seconds(kMemoryCapped ? 100 * 3 / 2 + 30 : 100 * 2 + 30);
    std::string input, good;
    std::vector<std::string> hostile(kLines + 1);
    for (std::size_t i = 1; i <= kLines; ++i) {
        if (i % 100 == 50) {
            hostile[i] = i % 1000 == 50 ? kSlow : kHungry;
            input += hostile[i] + "\n";
        } else {
            input += goodInput(i) + "\n";
            good += goodInput(i) + "\n";
        }
    }
    const std::vector<std::string> reference = lines(run({"eval", "--in-process"}, good).out);
    ASSERT_EQ(reference.size(), kLines - 100);

    const Clock::time_point begin = Clock::now();
    const Result r = run(kMemoryCapped ? std::vector<std::string>{"eval", "--timeout", "1", "--max-memory", "24M"}
                                       : std::vector<std::string>{"eval", "--timeout", "1"},
                         input);
    EXPECT_LT(Clock::now() - begin, kBound);
    EXPECT_EQ(r.status, 1);
    const std::vector<std::string> out = lines(r.out);
    const std::vector<std::string> messages = firstLines(r.err);
    ASSERT_EQ(out.size(), kLines);
    ASSERT_EQ(messages.size(), 100u) << r.err.substr(0, 2000);
    std::size_t next_good = 0, next_message = 0;
    for (std::size_t i = 1; i <= kLines; ++i) {
        if (hostile[i].empty()) {
            ASSERT_EQ(out[i - 1], reference[next_good++]) << "line " << i;
            continue;
        }
        EXPECT_EQ(out[i - 1], "") << "line " << i;
        const std::string place = "algexpr: line " + std::to_string(i) + ": ";
        const std::string timed_out = place + "evaluation took longer than 1 s (--timeout)";
        const std::string message = messages[next_message++];
        if (hostile[i] == kSlow || !kMemoryCapped) {
            EXPECT_EQ(message, timed_out);
        } else {  // on a loaded machine the second may pass before the memory does
            EXPECT_TRUE(message == place + "needed more than 24 MiB of memory (--max-memory)" || message == timed_out)
                << message;
        }
    }
}

}  // namespace
