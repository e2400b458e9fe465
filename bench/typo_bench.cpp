// SPDX-License-Identifier: MIT
// What the algexpr tool's typo check costs on top of reading: each
// benchmark reads every text with the tool's strict prefix reader, and the
// "library" one also hands each expression to TypoCheckC (which walks it and
// looks at its unknown names), the "reference" one does not.
//  - flat/...: the ~10 MB of random expressions of algexpr_bench, one per
//    line (their names are no typos: the check finds nothing);
//  - deep/...: f(f(...f(x)...)) n deep, for n of 1e5, 2e5 and 1e6, one text.
// After the table: t(library)/t(reference) for each, and t(2n)/t(n),
// t(10n)/t(n) for the deep ones, from the median CPU times.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include <unistd.h>

#include "BenchSessionC.h"
#include "ExpressionGeneratorC.h"
#include "InputPlaceC.h"
#include "PrefixReaderC.h"
#include "RatioReporterC.h"
#include "TypoCheckC.h"
#include "algexpr/CASSessionBC.h"

namespace {

using namespace qorv::math::algexpr;
using qorv::math::algexpr::bench::BenchSessionC;
using qorv::math::algexpr::bench::ExpressionGeneratorC;
using qorv::math::algexpr::bench::RatioReporterC;

constexpr std::size_t kFlatSize = 10'000'000;
constexpr std::uint64_t kSeed = 0x5EED0F1A7F11E5ull;  // algexpr_bench's corpus
const std::int64_t kDeepSizes[] = {100000, 200000, 1000000};

std::vector<std::u16string> lines(const std::u16string& text) {
    std::vector<std::u16string> out;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find(u'\n', start);
        out.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

const std::vector<std::u16string>& flat() {
    static const std::vector<std::u16string> texts = [] {
        CASSessionBC::setSession(qorv::oss::PointerTC<CASSessionBC>(new BenchSessionC));
        return lines(ExpressionGeneratorC(kSeed).lines(kFlatSize));
    }();
    return texts;
}

// Reads every text, and checks each for typos when `check`.
void run(benchmark::State& state, const std::vector<std::u16string>& texts, bool check) {
    cli::PrefixReaderC reader(false);
    cli::TypoCheckC typos;
    const cli::InputPlaceC place("line", 1);
    std::size_t warnings = 0;
    std::int64_t bytes = 0;
    for (const std::u16string& text : texts) {
        bytes += static_cast<std::int64_t>(text.size());
    }
    for (auto _ : state) {
        for (const std::u16string& text : texts) {
            cli::ReadErrorC error;
            qorv::oss::PointerTC<AlgebraicExpressionC> expression = reader.read(text, error);
            if (check && expression) {
                warnings += typos.warnings(*expression, text, reader, place).size();
            }
            benchmark::DoNotOptimize(expression.get());
        }
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["warnings"] = static_cast<double>(warnings);
}

void registerAll() {
    for (const bool check : {true, false}) {
        const std::string side = check ? "library" : "reference";
        benchmark::RegisterBenchmark(("flat/read+typos/" + side).c_str(), [check](benchmark::State& s) {
            run(s, flat(), check);
        })->Unit(benchmark::kMillisecond);
        for (const std::int64_t size : kDeepSizes) {
            benchmark::RegisterBenchmark(("deep/read+typos/" + side + "/" + std::to_string(size)).c_str(),
                                         [check, size](benchmark::State& s) {
                                             flat();  // the session
                                             run(s, {ExpressionGeneratorC::deep(static_cast<std::size_t>(size))},
                                                 check);
                                         })
                ->Unit(benchmark::kMillisecond);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    registerAll();
    RatioReporterC reporter(isatty(STDOUT_FILENO) != 0 ? RatioReporterC::OO_Defaults : RatioReporterC::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
