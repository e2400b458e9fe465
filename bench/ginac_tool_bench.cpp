// SPDX-License-Identifier: MIT
// The GiNaC route as a user runs it, whole processes against whole
// processes: `algexpr eval` on ~10 MB of random expressions in prefix form,
// one a line (GinacCorpusC, the corpus of algexpr_ginac_bench), against
// algexpr_ginac_reference, a small GiNaC program that parses and prints the
// same expressions in GiNaC's infix syntax. Both write to /dev/null; each
// benchmark runs its process once per repetition and reports wall-clock
// time. After the table comes the ratio of the medians, tool over GiNaC.
// The flat/ pair does the same on a corpus of the flat kind (sums and
// products of symbols, small integers and sin, cos, exp and log: nothing for
// the written forms to reduce), of the same size.
//
// Two yardsticks more bound what a route through GiNaC and the tree can
// reach: `algexpr print` (the prefix text read into a tree and written
// back, no engine) and GiNaC's parse alone (the reference with
// --parse-only). Their sum is printed after the ratio, as a share of
// GiNaC's parse and print: the route pays both, and then converts and
// orders GiNaC's result besides.
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
    std::string directory;
    std::string prefix_file;
    std::string infix_file;
    std::string flat_prefix_file;
    std::string flat_infix_file;
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

// Writes a corpus of the given kind to <directory>/<name>.prefix and .infix.
void writeCorpus(Setup& s, GinacCorpusC::KindE kind, const char* name, std::string& prefix_file,
                 std::string& infix_file) {
    std::vector<std::string> prefix;
    std::vector<std::string> infix;
    GinacCorpusC(kSeed, kind).lines(corpus_size, prefix, infix);
    prefix_file = s.directory + "/" + name + ".prefix";
    infix_file = s.directory + "/" + name + ".infix";
    std::ofstream p(prefix_file);
    std::ofstream i(infix_file);
    std::size_t characters = 0;
    for (std::size_t k = 0; k < prefix.size(); ++k) {
        p << prefix[k] << '\n';
        i << infix[k] << '\n';
        characters += prefix[k].size() + 1;
    }
    std::printf("%s corpus (GinacCorpusC, seed 0x%llx): %zu lines, %zu bytes of prefix text\n", name,
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

void toolEval(benchmark::State& state, const std::string* file) {
    runProcess(state, "'" + setup().tool + "' eval < '" + *file + "' > /dev/null 2>&1");
}

void toolPrint(benchmark::State& state, const std::string* file) {
    runProcess(state, "'" + setup().tool + "' print < '" + *file + "' > /dev/null 2>&1");
}

void ginacParsePrint(benchmark::State& state, const std::string* file) {
    runProcess(state, "'" + setup().reference + "' < '" + *file + "' > /dev/null 2>&1");
}

void ginacParse(benchmark::State& state, const std::string* file) {
    runProcess(state, "'" + setup().reference + "' --parse-only < '" + *file + "' > /dev/null 2>&1");
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
        for (const char* corpus : {"tool", "flat"}) {
            const std::string eval = std::string(corpus) + "/algexpr-eval";
            const std::string reference = std::string(corpus) + "/ginac-parse-print";
            if (times.count(eval) == 0 || times.count(reference) == 0) {
                continue;
            }
            const double whole = times[reference].seconds;
            GetOutputStream() << "\n" << corpus << ": algexpr eval / GiNaC parse and print ("
                              << (times[eval].median ? "medians" : "single runs")
                              << "): " << times[eval].seconds / whole << "\n";
            const std::string print = std::string(corpus) + "/algexpr-print";
            const std::string parse = std::string(corpus) + "/ginac-parse";
            if (times.count(print) != 0 && times.count(parse) != 0) {
                GetOutputStream() << corpus << ": algexpr print " << times[print].seconds / whole
                                  << " + GiNaC parse " << times[parse].seconds / whole << " = "
                                  << (times[print].seconds + times[parse].seconds) / whole
                                  << " of GiNaC parse and print\n";
            }
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
    if (!GinacCorpusC::startBenchmarks(argc, argv, corpus_size)) {
        return 1;
    }
    Setup& s = setup();
    s.tool = beside("ALGEXPR_TOOL", argv[0], "algexpr");
    s.reference = beside("ALGEXPR_GINAC_REFERENCE", argv[0], "algexpr_ginac_reference");
    s.directory = "/tmp/algexpr_ginac_tool_bench." + std::to_string(getpid());
    std::system(("mkdir -p " + s.directory).c_str());
    writeCorpus(s, GinacCorpusC::KindE::Mixed, "mixed", s.prefix_file, s.infix_file);
    writeCorpus(s, GinacCorpusC::KindE::Flat, "flat", s.flat_prefix_file, s.flat_infix_file);
    const auto add = [](const char* name, void (*run)(benchmark::State&, const std::string*), const std::string* file) {
        benchmark::RegisterBenchmark(name, run, file)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
    };
    add("tool/algexpr-eval", toolEval, &s.prefix_file);
    add("tool/ginac-parse-print", ginacParsePrint, &s.infix_file);
    add("tool/algexpr-print", toolPrint, &s.prefix_file);
    add("tool/ginac-parse", ginacParse, &s.infix_file);
    add("flat/algexpr-eval", toolEval, &s.flat_prefix_file);
    add("flat/ginac-parse-print", ginacParsePrint, &s.flat_infix_file);
    add("flat/algexpr-print", toolPrint, &s.flat_prefix_file);
    add("flat/ginac-parse", ginacParse, &s.flat_infix_file);
    RatioC reporter(isatty(STDOUT_FILENO) != 0 ? RatioC::OO_Defaults : RatioC::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    for (const std::string* file : {&s.prefix_file, &s.infix_file, &s.flat_prefix_file, &s.flat_infix_file}) {
        std::remove(file->c_str());
    }
    std::remove(s.directory.c_str());
    return 0;
}
