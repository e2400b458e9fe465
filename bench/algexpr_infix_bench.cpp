// SPDX-License-Identifier: MIT
// Infix and LaTeX against prefix, on the same trees:
//  - flat/...: the ~10 MB of random expressions of algexpr_bench, one per
//    line, read from prefix and from infix text and written in prefix, infix
//    and LaTeX;
//  - deep/...: plus(plus(...plus(x,1)...),1) n deep, which infix writes
//    with n-1 nested parentheses, and f(f(...f(x)...)), the same text in
//    both notations; for n of 1e5, 2e5 and 1e6.
// After the table: t(infix)/t(prefix) (and t(latex)/t(prefix)) for each
// operation, and t(2n)/t(n), t(10n)/t(n) for the deep ones, from the median
// CPU times.
//
// Every infix text is checked once before it is timed: it must read back to
// a tree whose prefix text is that of the tree it was written from.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "BenchSessionC.h"
#include "ExpressionGeneratorC.h"
#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/InfixPrintVisitorC.h"
#include "algexpr/InfixReaderC.h"
#include "algexpr/LatexPrintVisitorC.h"
#include "algexpr/NodeABC.h"
#include "algexpr/PrefixPrintVisitorC.h"
#include "oss/PointerTC.h"

namespace {

using namespace qorv::math::algexpr;
using qorv::math::algexpr::bench::BenchSessionC;
using qorv::math::algexpr::bench::ExpressionGeneratorC;
using qorv::oss::PointerTC;
using Expression = PointerTC<AlgebraicExpressionC>;

constexpr std::size_t kFlatSize = 10'000'000;
constexpr std::uint64_t kSeed = 0x5EED0F1A7F11E5ull;  // algexpr_bench's corpus
constexpr qorv::math::NumberDisplayFormatE kFormat = qorv::math::Standard;
const std::int64_t kDeepSizes[] = {100'000, 200'000, 1'000'000};

void installSession() {
    static const bool installed = [] {
        CASSessionBC::setSession(PointerTC<CASSessionBC>(new BenchSessionC));
        return true;
    }();
    (void)installed;
}

// The texts of a set of trees in both notations, and the trees.
struct Corpus {
    std::vector<std::u16string> prefix;
    std::vector<std::u16string> infix;
    std::vector<Expression> trees;
    std::int64_t prefix_characters = 0;
    std::int64_t infix_characters = 0;
    std::string error;

    void add(std::u16string prefix_text) {
        Expression tree = AlgebraicExpressionC::fromPrefixString(prefix_text);
        InfixPrintVisitorC printer;
        std::u16string infix_text = tree ? printer.getExpressionString(tree->getNode(), 0, kFormat) : u"";
        InfixReaderC reader;
        Expression back = reader.read(infix_text);
        if (error.empty() && (!back || back->toPrefixString(0, kFormat) != prefix_text)) {
            error = "line " + std::to_string(prefix.size() + 1) + " does not come back through infix";
        }
        prefix_characters += static_cast<std::int64_t>(prefix_text.size());
        infix_characters += static_cast<std::int64_t>(infix_text.size());
        prefix.push_back(std::move(prefix_text));
        infix.push_back(std::move(infix_text));
        trees.push_back(std::move(tree));
    }
};

const Corpus& flat() {
    static const std::unique_ptr<Corpus> corpus = [] {
        installSession();
        auto made = std::make_unique<Corpus>();
        ExpressionGeneratorC generator(kSeed);
        const std::u16string text = generator.lines(kFlatSize);
        for (std::size_t start = 0; start < text.size();) {
            const std::size_t end = text.find(u'\n', start);
            made->add(text.substr(start, end - start));
            start = end + 1;
        }
        return made;
    }();
    return *corpus;
}

enum class ShapeE { Sums, Calls };

const Corpus& deep(ShapeE shape, std::int64_t n) {
    static std::map<std::pair<ShapeE, std::int64_t>, std::unique_ptr<Corpus>> corpora;
    std::unique_ptr<Corpus>& corpus = corpora[{shape, n}];
    if (!corpus) {
        installSession();
        corpus = std::make_unique<Corpus>();
        const auto count = static_cast<std::size_t>(n);
        std::u16string text;
        for (std::size_t i = 0; i < count; ++i) {
            text += shape == ShapeE::Sums ? u"plus(" : u"f(";
        }
        text += u"x";
        for (std::size_t i = 0; i < count; ++i) {
            text += shape == ShapeE::Sums ? u",1)" : u")";
        }
        corpus->add(std::move(text));
    }
    return *corpus;
}

enum class NotationE { Prefix, Infix, Latex };

void read(benchmark::State& state, const Corpus& corpus, NotationE notation) {
    if (!corpus.error.empty()) {
        state.SkipWithError(corpus.error.c_str());
        return;
    }
    const std::vector<std::u16string>& texts = notation == NotationE::Prefix ? corpus.prefix : corpus.infix;
    InfixReaderC reader;
    std::vector<Expression> trees;
    trees.reserve(texts.size());
    const auto once = [&] {
        for (const std::u16string& text : texts) {
            trees.push_back(notation == NotationE::Prefix ? AlgebraicExpressionC::fromPrefixString(text)
                                                          : reader.read(text));
        }
    };
    once();  // untimed, so that the heap has grown before the timed passes
    trees.clear();
    for (auto _ : state) {
        once();
        state.PauseTiming();
        trees.clear();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() *
                            (notation == NotationE::Prefix ? corpus.prefix_characters : corpus.infix_characters));
}

void write(benchmark::State& state, const Corpus& corpus, NotationE notation) {
    if (!corpus.error.empty()) {
        state.SkipWithError(corpus.error.c_str());
        return;
    }
    PrefixPrintVisitorC prefix;
    InfixPrintVisitorC infix;
    LatexPrintVisitorC latex;
    std::int64_t characters = 0;
    for (auto _ : state) {
        for (const Expression& tree : corpus.trees) {
            NodeABC* node = tree->getNode();
            const std::u16string text = notation == NotationE::Prefix  ? prefix.getExpressionString(node, 0, kFormat)
                                        : notation == NotationE::Infix ? infix.getExpressionString(node, 0, kFormat)
                                                                       : latex.getExpressionString(node, 0, kFormat);
            characters += static_cast<std::int64_t>(text.size());
        }
    }
    state.SetBytesProcessed(characters);
}

// The console table, then the ratios from the median CPU times.
class InfixReporterC : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.error_occurred || (run.run_type == Run::RT_Aggregate && !median)) {
                continue;
            }
            std::string name = run.run_name.function_name;
            if (!run.run_name.args.empty()) {
                name += "/" + run.run_name.args;
            }
            if (median || times.count(name) == 0) {
                times[name] = run.GetAdjustedCPUTime();
            }
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\nagainst prefix (median CPU time):\n");
        for (const auto& [name, seconds] : times) {
            for (const char* notation : {"/infix", "/latex"}) {
                const std::size_t at = name.find(notation);
                if (at == std::string::npos) {
                    continue;
                }
                const std::string base =
                    name.substr(0, at) + "/prefix" + name.substr(at + std::string(notation).size());
                if (times.count(base) != 0) {
                    std::printf("  %-40s %6.2f\n", name.c_str(), seconds / times.at(base));
                }
            }
        }
        std::printf("\ngrowth t(2n)/t(n), t(10n)/t(n) (linear: 2, 10):\n");
        for (const auto& [name, seconds] : times) {
            const std::string suffix = "/100000";
            if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
                const std::string stem = name.substr(0, name.size() - suffix.size());
                if (times.count(stem + "/200000") != 0 && times.count(stem + "/1000000") != 0) {
                    std::printf("  %-40s %6.2f %6.2f\n", stem.c_str(), times.at(stem + "/200000") / seconds,
                                times.at(stem + "/1000000") / seconds);
                }
            }
        }
    }

private:
    std::map<std::string, double> times;
};

void registerAll() {
    const std::pair<const char*, NotationE> notations[] = {
        {"prefix", NotationE::Prefix}, {"infix", NotationE::Infix}, {"latex", NotationE::Latex}};
    for (const auto& [label, notation] : notations) {
        const NotationE n = notation;
        if (n != NotationE::Latex) {
            benchmark::RegisterBenchmark((std::string("flat/read/") + label).c_str(), [n](benchmark::State& s) {
                read(s, flat(), n);
            })->Unit(benchmark::kMillisecond);
        }
        benchmark::RegisterBenchmark((std::string("flat/write/") + label).c_str(), [n](benchmark::State& s) {
            write(s, flat(), n);
        })->Unit(benchmark::kMillisecond);
    }
    for (const auto& [shape_label, shape] : {std::pair{"sums", ShapeE::Sums}, std::pair{"calls", ShapeE::Calls}}) {
        for (const auto& [label, notation] : notations) {
            for (std::int64_t size : kDeepSizes) {
                const ShapeE s = shape;
                const NotationE n = notation;
                const std::string stem = std::string("deep/") + shape_label;
                if (n != NotationE::Latex) {
                    benchmark::RegisterBenchmark((stem + "/read/" + label + "/" + std::to_string(size)).c_str(),
                                                 [s, n, size](benchmark::State& st) { read(st, deep(s, size), n); })
                        ->Unit(benchmark::kMillisecond);
                }
                benchmark::RegisterBenchmark((stem + "/write/" + label + "/" + std::to_string(size)).c_str(),
                                             [s, n, size](benchmark::State& st) { write(st, deep(s, size), n); })
                    ->Unit(benchmark::kMillisecond);
            }
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
    InfixReporterC reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
