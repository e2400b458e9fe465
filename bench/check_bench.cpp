// SPDX-License-Identifier: MIT
// What the check of answers costs: the same operations with the check on
// (`.../library`) and off (`.../reference`), so that the summary's
// yardstick, t(library)/t(reference), is the time with the check over the
// time without it.
//  - check/ginac/<op>: each line of the GiNaC corpus (GinacCorpusC, seed
//    0x61AC0FFEE, 100,000 characters unless --size=N says otherwise) as
//    <op>(line) for simplify, expand and factor, through the GiNaC session;
//  - check/giac/integrate: the first 200 lines holding x as integrate(line,x)
//    through the Giac session (where the build has it), whose antiderivatives
//    the check differentiates back.
// Both engines evaluate on worker threads: wall-clock times.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "GinacCorpusC.h"
#include "RatioReporterC.h"
#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/ginac.h"
#include "oss/PointerTC.h"
#ifdef ALGEXPR_BENCH_WITH_GIAC
#include "algexpr/giac.h"
#endif

namespace {

using qorv::math::algexpr::AlgebraicExpressionC;
using qorv::math::algexpr::CASSessionBC;
using qorv::math::algexpr::bench::GinacCorpusC;
using qorv::math::algexpr::bench::RatioReporterC;
using qorv::math::algexpr::ginac::GinacLimitsS;
using qorv::math::algexpr::ginac::GinacSessionC;
using qorv::oss::PointerTC;

std::size_t corpus_size = 100'000;  // characters of prefix text; --size=N changes it
constexpr std::uint64_t kSeed = 0x61AC0FFEEull;
constexpr std::size_t kIntegrals = 200;

struct Corpus {
    std::vector<std::string> lines;
    PointerTC<CASSessionBC> ginac;
    PointerTC<CASSessionBC> giac;
};

Corpus& corpus() {
    static Corpus* data = [] {
        auto* made = new Corpus();
        std::vector<std::string> infix;
        GinacCorpusC(kSeed).lines(corpus_size, made->lines, infix);
        made->ginac = PointerTC<CASSessionBC>(new GinacSessionC());
        CASSessionBC::setSession(made->ginac);  // reading needs a current session's numbers
#ifdef ALGEXPR_BENCH_WITH_GIAC
        made->giac = PointerTC<CASSessionBC>(new qorv::math::algexpr::giac::GiacSessionC());
#endif
        std::printf("%zu lines\n", made->lines.size());
        return made;
    }();
    return *data;
}

void checking(CASSessionBC& session, bool on) {
    if (auto* ginac = dynamic_cast<GinacSessionC*>(&session)) {
        GinacLimitsS limits = ginac->getLimits();
        limits.check_answers = on;
        ginac->setLimits(limits);
    }
#ifdef ALGEXPR_BENCH_WITH_GIAC
    if (auto* giac = dynamic_cast<qorv::math::algexpr::giac::GiacSessionC*>(&session)) {
        auto limits = giac->getLimits();
        limits.check_answers = on;
        giac->setLimits(limits);
    }
#endif
}

// Each line as `op(line)`, or `op(line,x)` for integrate (those holding x,
// the first kIntegrals of them).
std::vector<std::u16string> wrapped(const std::string& op) {
    std::vector<std::u16string> out;
    for (const std::string& line : corpus().lines) {
        if (op == "integrate") {
            if (line.find('x') == std::string::npos) {
                continue;
            }
            const std::string text = op + "(" + line + ",x)";
            out.emplace_back(text.begin(), text.end());
            if (out.size() == kIntegrals) {
                break;
            }
        } else {
            const std::string text = op + "(" + line + ")";
            out.emplace_back(text.begin(), text.end());
        }
    }
    return out;
}

void run(benchmark::State& state, const PointerTC<CASSessionBC>& session, const std::string& op, bool on) {
    if (!session) {
        state.SkipWithError("the engine is not built");
        return;
    }
    const std::vector<std::u16string> lines = wrapped(op);
    checking(*session, on);
    for (auto _ : state) {
        std::size_t answered = 0;
        for (const std::u16string& line : lines) {
            PointerTC<AlgebraicExpressionC> tree = AlgebraicExpressionC::fromPrefixString(line);
            std::u16string reason;
            answered += tree && tree->execute(session, false, &reason) ? 1 : 0;
        }
        state.counters["answered"] = static_cast<double>(answered);
    }
    state.counters["lines"] = static_cast<double>(lines.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (!GinacCorpusC::startBenchmarks(argc, argv, corpus_size)) {
        return 1;
    }
    corpus();
    const auto add = [](const std::string& name, const PointerTC<CASSessionBC>& session, const std::string& op) {
        for (const bool on : {true, false}) {
            benchmark::RegisterBenchmark(
                (name + (on ? "/library" : "/reference")).c_str(),
                [session, op, on](benchmark::State& state) { run(state, session, op, on); })
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime()
                ->Iterations(1);
        }
    };
    for (const char* op : {"simplify", "expand", "factor"}) {
        add(std::string("check/ginac/") + op, corpus().ginac, op);
    }
#ifdef ALGEXPR_BENCH_WITH_GIAC
    add("check/giac/integrate", corpus().giac, "integrate");
#endif
    RatioReporterC reporter(isatty(STDOUT_FILENO) != 0 ? RatioReporterC::OO_Defaults : RatioReporterC::OO_Tabular,
                            RatioReporterC::ClockE::Wall);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
