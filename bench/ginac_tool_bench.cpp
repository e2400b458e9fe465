// SPDX-License-Identifier: MIT
// The GiNaC route as a user runs it, whole processes against whole
// processes: `algexpr eval` on ~10 MB of random expressions in prefix form,
// one a line (GinacCorpusC, the corpus of algexpr_ginac_bench), against
// algexpr_ginac_reference, a small GiNaC program that parses and prints the
// same expressions in GiNaC's infix syntax. Both write to /dev/null; each
// benchmark runs its process once per repetition and reports wall-clock
// time. After the table comes the ratio of the medians, tool over GiNaC.
//
//   algexpr_ginac_tool_bench --benchmark_repetitions=5 [--size=N]
//
// The tool and the reference program are found beside this program (the
// build puts all three in its bin directory) or as ALGEXPR_TOOL and
// ALGEXPR_GINAC_REFERENCE name them.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "GinacCorpusC.h"

namespace {

using qorv::math::algexpr::bench::GinacCorpusC;

std::size_t corpus_size = 10'000'000;  // characters of prefix text; --size=N changes it
constexpr std::uint64_t kSeed = 0x61AC0FFEEull;  // algexpr_ginac_bench's corpus

struct Setup {
    std::string tool;
    std::string reference;
    std::string prefix_file;
    std::string infix_file;
};

std::string beside(const char* variable, const std::string& program, const char* name) {
    const char* given = std::getenv(variable);
    if (given != nullptr) {
        return given;
    }
    const std::size_t slash = program.rfind('/');
    return (slash == std::string::npos ? std::string(".") : program.substr(0, slash)) + "/" + name;
}

Setup& setup() {
    static Setup made;
    return made;
}

void writeCorpus(Setup& s) {
    std::vector<std::string> prefix;
    std::vector<std::string> infix;
    GinacCorpusC(kSeed).lines(corpus_size, prefix, infix);
    const std::string directory = "/tmp/algexpr_ginac_tool_bench." + std::to_string(getpid());
    std::system(("mkdir -p " + directory).c_str());
    s.prefix_file = directory + "/prefix.txt";
    s.infix_file = directory + "/infix.txt";
    std::ofstream p(s.prefix_file);
    std::ofstream i(s.infix_file);
    std::size_t characters = 0;
    for (std::size_t k = 0; k < prefix.size(); ++k) {
        p << prefix[k] << '\n';
        i << infix[k] << '\n';
        characters += prefix[k].size() + 1;
    }
    std::printf("corpus (GinacCorpusC, seed 0x%llx): %zu lines, %zu bytes of prefix text\n",
                static_cast<unsigned long long>(kSeed), prefix.size(), characters);
}

void runProcess(benchmark::State& state, const std::string& command) {
    for (auto _ : state) {
        const int status = std::system(command.c_str());
        if (status == -1 || !WIFEXITED(status) || (WEXITSTATUS(status) != 0 && WEXITSTATUS(status) != 1)) {
            state.SkipWithError(("failed: " + command).c_str());
        }
    }
}

void toolEval(benchmark::State& state) {
    runProcess(state, "'" + setup().tool + "' eval < '" + setup().prefix_file + "' > /dev/null 2>&1");
}

void ginacParsePrint(benchmark::State& state) {
    runProcess(state, "'" + setup().reference + "' < '" + setup().infix_file + "' > /dev/null 2>&1");
}

class RatioC : public benchmark::ConsoleReporter {
public:
    using ConsoleReporter::ConsoleReporter;

    void ReportRuns(const std::vector<Run>& reports) override {
        ConsoleReporter::ReportRuns(reports);
        for (const Run& run : reports) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Iteration || median) {
                Time& time = times[run.run_name.function_name];
                if (median || !time.median) {
                    time.seconds = run.GetAdjustedRealTime();
                    time.median = median;
                }
            }
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        if (times.count("tool/algexpr-eval") != 0 && times.count("tool/ginac-parse-print") != 0) {
            GetOutputStream() << "\nalgexpr eval / GiNaC parse and print ("
                              << (times["tool/algexpr-eval"].median ? "medians" : "single runs")
                              << "): " << times["tool/algexpr-eval"].seconds / times["tool/ginac-parse-print"].seconds
                              << "\n";
        }
    }

private:
    struct Time {
        double seconds = 0;
        bool median = false;
    };
    std::map<std::string, Time> times;
};

}  // namespace

int main(int argc, char** argv) {
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]).rfind("--size=", 0) == 0) {
            corpus_size = std::stoul(std::string(argv[i]).substr(7));
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    Setup& s = setup();
    s.tool = beside("ALGEXPR_TOOL", argv[0], "algexpr");
    s.reference = beside("ALGEXPR_GINAC_REFERENCE", argv[0], "algexpr_ginac_reference");
    writeCorpus(s);
    benchmark::RegisterBenchmark("tool/algexpr-eval", toolEval)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
    benchmark::RegisterBenchmark("tool/ginac-parse-print", ginacParsePrint)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1);
    RatioC reporter(isatty(STDOUT_FILENO) != 0 ? RatioC::OO_Defaults : RatioC::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::remove(s.prefix_file.c_str());
    std::remove(s.infix_file.c_str());
    return 0;
}
