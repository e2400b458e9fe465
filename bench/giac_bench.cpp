// SPDX-License-Identifier: MIT
// The Giac client against Giac's own text interface, on random expressions
// that both take (GinacCorpusC, whose infix syntax Giac reads too), one per
// line; wall-clock times, since the client evaluates on a worker thread:
//  - giac/route/library: the library reads the prefix line, the client
//    converts the tree to Giac values, Giac evaluates it, the result comes
//    back as a tree (AlgebraicExpressionC::execute) and the library prints it;
//  - giac/route/reference: Giac parses the infix line, evaluates it the same
//    way (eval, then its regroup) and prints the result.
// Lines that either side rejects are counted before the benchmarks run. The
// summary gives the ratio library / reference of the medians.
#include <benchmark/benchmark.h>
#include <giac/config.h>
#include <giac/giac.h>
#include <unistd.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "GinacCorpusC.h"
#include "RatioReporterC.h"
#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/giac.h"
#include "oss/PointerTC.h"

namespace {

using qorv::math::algexpr::AlgebraicExpressionC;
using qorv::math::algexpr::CASSessionBC;
using qorv::math::algexpr::bench::GinacCorpusC;
using qorv::math::algexpr::bench::RatioReporterC;
using qorv::oss::PointerTC;

std::size_t corpus_size = 200'000;  // characters of prefix text; --size=N changes it
constexpr std::uint64_t kSeed = 0x61AC0FFEEull;

struct Corpus {
    std::vector<std::u16string> prefix;
    std::vector<std::string> infix;  // in Giac's spelling
    std::int64_t characters = 0;
    giac::context context;
    std::ostringstream messages;  // Giac's, kept from the console
};

// Giac's spelling of GiNaC's infix: pi for Pi.
std::string forGiac(std::string text) {
    for (std::size_t at = text.find("Pi"); at != std::string::npos; at = text.find("Pi", at)) {
        text.replace(at, 2, "pi");
    }
    return text;
}

Corpus& corpus() {
    static Corpus* data = [] {
        auto* made = new Corpus();
        giac::logptr(&made->messages, &made->context);
        CASSessionBC::setSession(PointerTC<CASSessionBC>(new qorv::math::algexpr::giac::GiacSessionC()));
        std::vector<std::string> prefix;
        std::vector<std::string> infix;
        GinacCorpusC(kSeed).lines(corpus_size, prefix, infix);
        std::size_t ours_rejected = 0;
        std::size_t theirs_rejected = 0;
        for (std::size_t i = 0; i < prefix.size(); ++i) {
            made->prefix.emplace_back(prefix[i].begin(), prefix[i].end());
            made->infix.push_back(forGiac(infix[i]));
            made->characters += static_cast<std::int64_t>(prefix[i].size());
            PointerTC<AlgebraicExpressionC> tree = AlgebraicExpressionC::fromPrefixString(made->prefix.back());
            ours_rejected += tree && tree->execute(false, nullptr) ? 0 : 1;
            try {
                giac::gen parsed(made->infix.back(), &made->context);
                giac::simplifier(parsed.eval(1, &made->context), &made->context);
            } catch (const std::exception&) {
                ++theirs_rejected;
            }
        }
        std::printf("%zu lines, %lld characters; the client refused %zu, Giac %zu\n", prefix.size(),
                    static_cast<long long>(made->characters), ours_rejected, theirs_rejected);
        return made;
    }();
    return *data;
}

void library(benchmark::State& state) {
    Corpus& data = corpus();
    for (auto _ : state) {
        std::size_t printed = 0;
        for (const std::u16string& line : data.prefix) {
            PointerTC<AlgebraicExpressionC> tree = AlgebraicExpressionC::fromPrefixString(line);
            PointerTC<AlgebraicExpressionC> result = tree ? tree->execute(false, nullptr) : tree;
            printed += result ? result->toPrefixString(0, qorv::math::Standard).size() : 0;
        }
        benchmark::DoNotOptimize(printed);
    }
    state.SetBytesProcessed(state.iterations() * data.characters);
}

void reference(benchmark::State& state) {
    Corpus& data = corpus();
    for (auto _ : state) {
        std::size_t printed = 0;
        for (const std::string& line : data.infix) {
            try {
                giac::gen parsed(line, &data.context);
                printed += giac::simplifier(parsed.eval(1, &data.context), &data.context).print(&data.context).size();
            } catch (const std::exception&) {
            }
        }
        benchmark::DoNotOptimize(printed);
    }
    state.SetBytesProcessed(state.iterations() * data.characters);
}

}  // namespace

int main(int argc, char** argv) {
    if (!GinacCorpusC::startBenchmarks(argc, argv, corpus_size)) {
        return 1;
    }
    corpus();
    benchmark::RegisterBenchmark("giac/route/library", library)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
    benchmark::RegisterBenchmark("giac/route/reference", reference)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1);
    RatioReporterC reporter(isatty(STDOUT_FILENO) != 0 ? RatioReporterC::OO_Defaults : RatioReporterC::OO_Tabular,
                            RatioReporterC::ClockE::Wall);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
