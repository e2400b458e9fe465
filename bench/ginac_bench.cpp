// SPDX-License-Identifier: MIT
// The GiNaC client against GiNaC's own reader and printer, on ~10 MB of
// random expressions that both take (GinacCorpusC), one per line:
//  - ginac/ours/route: the library reads a line, the client converts it to
//    GiNaC and back (AlgebraicExpressionC::execute), and the library prints
//    the result; each line is one job for the client's worker thread;
//  - ginac/ours/route-on-worker: that route as one job on the worker thread,
//    as the algexpr tool runs it;
//  - ginac/ours/read, ginac/ours/convert, ginac/ours/print: the three steps
//    of that route on their own;
//  - ginac/theirs/read: GiNaC's parser on the same expressions in its infix
//    syntax; ginac/theirs/route: its parser and its printer.
// All GiNaC work, GiNaC's own route included, runs on the client's one
// worker thread, so times are wall-clock times. Lines that either side
// rejects (division by zero, poles) are counted before the benchmarks run.
// After the table come the ratios of the medians (or of single runs).
#include <benchmark/benchmark.h>

#include <ginac/ginac.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "GinacCorpusC.h"
#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/ginac.h"
#include "oss/PointerTC.h"

namespace {

using qorv::math::algexpr::AlgebraicExpressionC;
using qorv::math::algexpr::CASSessionBC;
using qorv::math::algexpr::bench::GinacCorpusC;
using qorv::math::algexpr::ginac::GinacEngineC;
using qorv::math::algexpr::ginac::GinacSessionC;
using qorv::oss::PointerTC;
using Expression = PointerTC<AlgebraicExpressionC>;

std::size_t corpus_size = 10'000'000;  // characters of prefix text; --size=N changes it
constexpr std::uint64_t kSeed = 0x61AC0FFEEull;

std::u16string wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

// GiNaC's parser, made and destroyed on the worker, reading f, g and h as
// the functions the client registered.
struct GinacSide {
    std::unique_ptr<GiNaC::parser> parser;
};

struct Corpus {
    std::vector<std::string> prefix;
    std::vector<std::string> infix;
    std::vector<std::u16string> lines;  // the prefix lines as the library reads them
    std::vector<Expression> trees;      // read once, for the conversion alone
    std::vector<Expression> results;    // converted once, for printing alone
    std::int64_t characters = 0;
    std::size_t ours_rejected = 0;
    std::size_t theirs_rejected = 0;
    GinacSide ginac;
};

struct ParseJob {
    Corpus* corpus;
    bool print;
    std::size_t rejected = 0;
    std::size_t printed = 0;
};

void makeParser(void* context) {
    auto* side = static_cast<GinacSide*>(context);
    GiNaC::prototype_table table = GiNaC::get_default_reader();
    const std::pair<const char*, unsigned> functions[] = {{"f", 1}, {"g", 2}, {"h", 3}};
    for (const auto& [name, arity] : functions) {
        // GiNaC's parser takes a function's serial in place of a reader, marked by the lowest bit.
        const auto serial = static_cast<std::uintptr_t>(GiNaC::function::find_function(name, arity));
        table[{name, arity}] = reinterpret_cast<GiNaC::reader_func>((serial << 1) | 1);
    }
    side->parser = std::make_unique<GiNaC::parser>(GiNaC::symtab(), false, table);
}

void dropParser(void* context) { static_cast<GinacSide*>(context)->parser.reset(); }

void parseAll(void* context) {
    auto* job = static_cast<ParseJob*>(context);
    GiNaC::parser& parser = *job->corpus->ginac.parser;
    std::ostringstream out;
    for (const std::string& line : job->corpus->infix) {
        try {
            const GiNaC::ex e = parser(line);
            if (job->print) {
                out.str(std::string());
                out << e;
                job->printed += out.str().size();
            }
        } catch (const std::exception&) {
            ++job->rejected;
        }
    }
}

Corpus& corpus() {
    static Corpus* data = [] {
        auto* made = new Corpus();
        CASSessionBC::setSession(PointerTC<CASSessionBC>(new GinacSessionC()));
        // Registers f, g and h with GiNaC before its parser is made.
        AlgebraicExpressionC::fromPrefixString(u"plus(f(x),g(x,y),h(x,y,z))")->execute(false, nullptr);
        GinacEngineC::runOnWorker(makeParser, &made->ginac);
        GinacCorpusC(kSeed).lines(corpus_size, made->prefix, made->infix);
        for (const std::string& line : made->prefix) {
            made->lines.push_back(wide(line));
            made->characters += static_cast<std::int64_t>(line.size());
            made->trees.push_back(AlgebraicExpressionC::fromPrefixString(made->lines.back()));
            Expression result = made->trees.back() ? made->trees.back()->execute(false, nullptr) : Expression();
            made->ours_rejected += result ? 0 : 1;
            made->results.push_back(result);
        }
        ParseJob job{made, false};
        GinacEngineC::runOnWorker(parseAll, &job);
        made->theirs_rejected = job.rejected;
        std::printf("corpus: %zu lines, %lld characters; rejected: %zu by the client, %zu by GiNaC's parser\n",
                    made->lines.size(), static_cast<long long>(made->characters), made->ours_rejected,
                    made->theirs_rejected);
        return made;
    }();
    return *data;
}

void routeAll(void* context) {
    for (const std::u16string& line : static_cast<Corpus*>(context)->lines) {
        const Expression read = AlgebraicExpressionC::fromPrefixString(line);
        const Expression result = read ? read->execute(false, nullptr) : Expression();
        if (result) {
            benchmark::DoNotOptimize(result->toPrefixString(0, qorv::math::Standard));
        }
    }
}

void oursRoute(benchmark::State& state) {
    Corpus& data = corpus();
    for (auto _ : state) {
        routeAll(&data);
    }
    state.SetBytesProcessed(state.iterations() * data.characters);
}

// The same route as one job on the worker, as the algexpr tool runs it: the
// evaluations there run at once, without a hand-off each.
void oursRouteOnWorker(benchmark::State& state) {
    Corpus& data = corpus();
    for (auto _ : state) {
        GinacEngineC::runOnWorker(routeAll, &data);
    }
    state.SetBytesProcessed(state.iterations() * data.characters);
}

void oursRead(benchmark::State& state) {
    Corpus& data = corpus();
    std::vector<Expression> trees;
    trees.reserve(data.lines.size());
    for (auto _ : state) {
        for (const std::u16string& line : data.lines) {
            trees.push_back(AlgebraicExpressionC::fromPrefixString(line));
        }
        state.PauseTiming();
        trees.clear();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * data.characters);
}

void oursConvert(benchmark::State& state) {
    Corpus& data = corpus();
    std::vector<Expression> results;
    results.reserve(data.trees.size());
    for (auto _ : state) {
        for (const Expression& tree : data.trees) {
            results.push_back(tree->execute(false, nullptr));
        }
        state.PauseTiming();
        results.clear();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * data.characters);
}

void oursPrint(benchmark::State& state) {
    Corpus& data = corpus();
    for (auto _ : state) {
        for (const Expression& result : data.results) {
            if (result) {
                benchmark::DoNotOptimize(result->toPrefixString(0, qorv::math::Standard));
            }
        }
    }
    state.SetBytesProcessed(state.iterations() * data.characters);
}

void theirs(benchmark::State& state, bool print) {
    Corpus& data = corpus();
    for (auto _ : state) {
        ParseJob job{&data, print};
        GinacEngineC::runOnWorker(parseAll, &job);
        benchmark::DoNotOptimize(job.printed);
    }
    state.SetBytesProcessed(state.iterations() * data.characters);
}

void theirsRead(benchmark::State& state) { theirs(state, false); }
void theirsRoute(benchmark::State& state) { theirs(state, true); }

// The console table, then the ratios of the medians (or single runs).
class SummaryC : public benchmark::ConsoleReporter {
public:
    using ConsoleReporter::ConsoleReporter;

    void ReportRuns(const std::vector<Run>& reports) override {
        ConsoleReporter::ReportRuns(reports);
        for (const Run& run : reports) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Iteration || median) {
                Time& time = times[run.run_name.function_name];
                if (median || !time.median) {
                    time.seconds = run.GetAdjustedRealTime() * 1e-3;  // milliseconds
                    time.median = median;
                }
            }
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::ostream& out = GetOutputStream();
        const auto ratio = [&](const char* a, const char* b) {
            if (times.count(a) != 0 && times.count(b) != 0) {
                out << "  " << a << " / " << b << ": " << times[a].seconds / times[b].seconds << "\n";
            }
        };
        out << "\nRatios of wall-clock times (" << (times.empty() || !times.begin()->second.median ? "single runs" : "medians")
            << "):\n";
        ratio("ginac/ours/route", "ginac/theirs/read");
        ratio("ginac/ours/route", "ginac/theirs/route");
        ratio("ginac/ours/route-on-worker", "ginac/theirs/read");
        ratio("ginac/ours/route-on-worker", "ginac/theirs/route");
        ratio("ginac/ours/read", "ginac/ours/route");
        ratio("ginac/ours/convert", "ginac/ours/route");
        ratio("ginac/ours/print", "ginac/ours/route");
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
    const std::pair<const char*, void (*)(benchmark::State&)> benchmarks[] = {
        {"ginac/ours/route", oursRoute},   {"ginac/ours/route-on-worker", oursRouteOnWorker},
        {"ginac/ours/read", oursRead},     {"ginac/ours/convert", oursConvert},
        {"ginac/ours/print", oursPrint},   {"ginac/theirs/read", theirsRead}, {"ginac/theirs/route", theirsRoute}};
    for (const auto& [name, function] : benchmarks) {
        benchmark::RegisterBenchmark(name, function)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
    }
    SummaryC reporter(isatty(STDOUT_FILENO) != 0 ? SummaryC::OO_Defaults : SummaryC::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    GinacEngineC::runOnWorker(dropParser, &corpus().ginac);
    return 0;
}
