// SPDX-License-Identifier: MIT
// What the algexpr tool's worker process costs: `algexpr eval` run as a
// whole process on ~10 MB of random expressions, one per line
// (GinacCorpusC, the GiNaC corpus: sums, products, quotients, powers, the
// elementary functions, f/1, g/2, h/3, symbols, integers, floats), standard
// output to /dev/null:
//  - tool/eval/in-process: --in-process, every input evaluated in the tool's
//    own process as one job on the GiNaC client's worker thread;
//  - tool/eval/supervised: the default, the inputs sent in batches to a
//    worker process held to --timeout and --max-memory, the answers back.
// Wall-clock times, and the processor time of the tool and its workers
// (cpu_s, which a busy machine disturbs less); after the table come
// supervised / in-process of both, of the medians with
// --benchmark_repetitions (5 is the figure to quote). --size=N sets the
// characters of prefix text.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "GinacCorpusC.h"

extern char** environ;

namespace {

using qorv::math::algexpr::bench::GinacCorpusC;

std::size_t corpus_size = 10'000'000;
constexpr std::uint64_t kSeed = 0x61AC0FFEEull;

struct Corpus {
    std::string file;
    std::int64_t characters = 0;
};

Corpus& corpus() {
    static Corpus* made = [] {
        auto* c = new Corpus();
        std::vector<std::string> prefix, infix;
        GinacCorpusC(kSeed).lines(corpus_size, prefix, infix);
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp != nullptr ? tmp : "/tmp") + "/algexpr-corpus-XXXXXX";
        const int fd = ::mkstemp(pattern.data());
        std::FILE* out = fd >= 0 ? ::fdopen(fd, "w") : nullptr;
        for (const std::string& line : prefix) {
            if (out != nullptr) {
                std::fprintf(out, "%s\n", line.c_str());
            }
            c->characters += static_cast<std::int64_t>(line.size());
        }
        if (out == nullptr || std::fclose(out) != 0) {
            std::fprintf(stderr, "cannot write the corpus to %s\n", pattern.c_str());
            std::exit(1);
        }
        c->file = pattern;
        std::printf("corpus: %zu lines, %lld characters, in %s\n", prefix.size(),
                    static_cast<long long>(c->characters), c->file.c_str());
        return c;
    }();
    return *made;
}

// Runs the tool on the corpus, adding the processor time of the tool and its
// workers to `cpu_s`; false when it could not be run, or was stopped by a
// signal.
bool runTool(std::vector<std::string> words, double& cpu_s) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, corpus().file.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    words.insert(words.begin(), ALGEXPR_TOOL);
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    int status = 0;
    rusage usage{};  // the tool's, with that of the workers it waited for
    const bool ran = posix_spawn(&pid, ALGEXPR_TOOL, &actions, nullptr, argv.data(), environ) == 0 &&
                     ::wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status);
    posix_spawn_file_actions_destroy(&actions);
    cpu_s += static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
             static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
    return ran;
}

void evalTool(benchmark::State& state, const std::vector<std::string>& words) {
    double cpu_s = 0;
    for (auto _ : state) {
        if (!runTool(words, cpu_s)) {
            state.SkipWithError("the tool did not run to its end");
        }
    }
    state.SetBytesProcessed(state.iterations() * corpus().characters);
    state.counters["cpu_s"] = benchmark::Counter(cpu_s, benchmark::Counter::kAvgIterations);
}

void evalInProcess(benchmark::State& state) { evalTool(state, {"eval", "--in-process"}); }
void evalSupervised(benchmark::State& state) { evalTool(state, {"eval"}); }

// The table, then supervised / in-process of the wall-clock medians (of
// single runs without repetitions).
class SupervisionReporterC : public benchmark::ConsoleReporter {
public:
    using ConsoleReporter::ConsoleReporter;

    void ReportRuns(const std::vector<Run>& reports) override {
        ConsoleReporter::ReportRuns(reports);
        for (const Run& run : reports) {
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median") {
                const auto cpu = run.counters.find("cpu_s");
                Times& times = run.run_type == Run::RT_Iteration ? single : median;
                times[run.run_name.function_name] = {run.GetAdjustedRealTime(),
                                                     cpu != run.counters.end() ? cpu->second.value : 0};
            }
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        const Times& times = median.empty() ? single : median;
        const auto supervised = times.find("tool/eval/supervised");
        const auto in_process = times.find("tool/eval/in-process");
        if (supervised != times.end() && in_process != times.end()) {
            std::printf("\ntool/eval/supervised / tool/eval/in-process (%s): %.3f wall-clock, %.3f processor\n",
                        median.empty() ? "single runs" : "medians", supervised->second.first / in_process->second.first,
                        supervised->second.second / in_process->second.second);
        }
    }

private:
    using Times = std::map<std::string, std::pair<double, double>>;  // wall-clock, processor
    Times single;
    Times median;
};

}  // namespace

int main(int argc, char** argv) {
    if (!GinacCorpusC::startBenchmarks(argc, argv, corpus_size)) {
        return 1;
    }
    benchmark::RegisterBenchmark("tool/eval/in-process", evalInProcess)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1);
    benchmark::RegisterBenchmark("tool/eval/supervised", evalSupervised)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1);
    SupervisionReporterC reporter(::isatty(STDOUT_FILENO) != 0 ? SupervisionReporterC::OO_Defaults
                                                                : SupervisionReporterC::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (!corpus().file.empty()) {
        ::unlink(corpus().file.c_str());
    }
    return 0;
}
